// The one way the program writes a file: the table, every picture, the
// settings file. Plain C++ on the POSIX calls, so the table-only program
// uses it without Qt.
//
// The file is given as the bytes of its name, kept as they are (a name that
// is not valid UTF-8 is written under exactly that name). Then:
//   - a symbolic link is followed to the file it names; a link that names
//     nothing yet creates that file;
//   - a regular file (or a missing one) is replaced: the bytes go to a new
//     file beside it in the same folder, are flushed to the disk and checked,
//     and only then is the new file renamed over the old one. Any failure,
//     or a kill at any moment, leaves the old file as it was;
//   - an existing file without any write permission is refused, even for a
//     user whom the system would let write it;
//   - anything else that is not a folder (a pipe, a terminal, /dev/null) is
//     written in place: it cannot be replaced, and replacing it would break
//     whoever reads it.
#pragma once

#include "QrvErrors.h"

#include <string>
#include <string_view>

namespace qrv
{

// A file that could not be written. The message is "Cannot create file %s"
// with the name as given; the system's reason is kept for the callers that
// show it instead.
class EFileWrite : public Exception
{
public:
    EFileWrite(const std::string& fileName, int systemError)
        : Exception(Msg::CannotCreateFile, {fileName}), systemError_(systemError)
    {
    }
    // The errno of the call that failed.
    int SystemError() const noexcept { return systemError_; }
    // The system's description of it ("No space left on device").
    std::string SystemReason() const;

private:
    int systemError_;
};

// Makes `bytes` the whole content of the file `fileName`, as described
// above. Raises EFileWrite on any failure.
void WriteWholeFile(const std::string& fileName, std::string_view bytes);

// The file a name finally refers to after following symbolic links (at
// most 40 of them, as the system does); the name itself when it is no link.
// A link that names a missing file gives that file's name.
std::string FollowLinks(const std::string& fileName);

} // namespace qrv
