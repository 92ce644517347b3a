// The document file's round trip: any bytes are read as a document; one
// that is refused is refused with a message naming the file, and one that is
// accepted is written, read again and written again: the two texts must be
// equal, and so must the two documents.
#include "QrvDocumentFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace
{

const std::string kFile = "fuzz.qurvia";

[[noreturn]] void Finding(const char* what, const std::string& detail)
{
    std::fprintf(stderr, "%s:\n%s\n", what, detail.c_str());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    qrv::TDocument first;
    try {
        first = qrv::ReadDocument(bytes, kFile);
    } catch (const qrv::EQrvDocumentError& error) {
        if (error.Message().find(kFile) == std::string::npos ||
            error.Message().find('\n') != std::string::npos)
            Finding("a refusal that is not one line naming the file", error.Message());
        return 0;
    }
    const std::string written = qrv::DocumentJson(first);
    // Such a text is refused by SaveDocument, not written.
    if (written.size() > qrv::kMaxDocumentBytes) return 0;
    qrv::TDocument second;
    try {
        second = qrv::ReadDocument(QByteArray::fromStdString(written), kFile);
    } catch (const qrv::EQrvDocumentError& error) {
        Finding("a written document is refused", error.Message() + "\n" + written);
    }
    const std::string again = qrv::DocumentJson(second);
    if (again != written) Finding("a written document writes back otherwise", written + "\n----\n" + again);
    if (!(second == first)) Finding("a written document reads back otherwise", written);
    return 0;
}
