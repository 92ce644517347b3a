#include "QrvTableBatch.h"

#include "QrvAngleSource.h"
#include "QrvAppTexts.h"
#include "QrvErrors.h"
#include "QrvNumberText.h"
#include "QrvTableCsv.h"
#include "QrvTerminalProgress.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qrv
{

namespace
{

[[noreturn]] void CannotCreate(const std::string& fileName)
{
    throw Exception(Msg::CannotCreateFile, {fileName});
}

// The temporary file until it is renamed over the target: removed when the
// write fails half-way.
class TTempFile
{
public:
    explicit TTempFile(std::string pattern) : FName(std::move(pattern)) { FFd = mkstemp(FName.data()); }
    ~TTempFile()
    {
        if (FFd >= 0) close(FFd);
        if (!FRenamed) unlink(FName.c_str());
    }
    TTempFile(const TTempFile&) = delete;
    TTempFile& operator=(const TTempFile&) = delete;

    bool Opened() const { return FFd >= 0; }
    int Fd() const { return FFd; }
    const std::string& Name() const { return FName; }
    bool Close()
    {
        int fd = FFd;
        FFd = -1;
        return close(fd) == 0;
    }
    void Renamed() { FRenamed = true; }

private:
    std::string FName;
    int FFd = -1;
    bool FRenamed = false;
};

bool WriteAll(int fd, const std::string& text)
{
    const char* data = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        ssize_t n = write(fd, data, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

// The permissions of a new file: what the process's umask allows of rw-rw-rw-.
mode_t NewFileMode()
{
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

} // namespace

TPlotFields FieldsFor(const TCommandLine& cl)
{
    TPlotFields fields = StartupFields(DecimalSeparator());
    if (cl.Formula) fields.Formula = *cl.Formula;
    if (cl.XMin) fields.XMin = *cl.XMin;
    if (cl.XMax) fields.XMax = *cl.XMax;
    if (cl.Step) fields.Step = *cl.Step;
    return fields;
}

void WriteTableFile(const std::string& fileName, const TTableText& table)
{
    // Through a symbolic link, the file it points to is replaced.
    std::string target = fileName;
    if (char* real = realpath(fileName.c_str(), nullptr)) {
        target = real;
        std::free(real);
    }
    struct stat existing;
    const mode_t mode = stat(target.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : NewFileMode();

    TTempFile temp(target + ".XXXXXX");
    if (!temp.Opened()) CannotCreate(fileName);
    const std::string bytes =
        IsCsvFileName(fileName) ? TableCsv(table.Text(), DecimalSeparator()) : table.Terminated("\r\n");
    if (fchmod(temp.Fd(), mode) != 0 || !WriteAll(temp.Fd(), bytes) || fsync(temp.Fd()) != 0 ||
        !temp.Close() || rename(temp.Name().c_str(), target.c_str()) != 0)
        CannotCreate(fileName);
    temp.Renamed();
}

void WriteTable(const std::string& destination, const TTableText& table, std::ostream& out)
{
    if (destination != "-") {
        WriteTableFile(destination, table);
        return;
    }
    out << table.Terminated("\n");
    out.flush();
    if (!out) throw Exception(Msg::CannotCreateFile, {"-"});
}

void WarnAboutIgnoredText(TTableTarget& target, std::ostream& errors)
{
    target.OnIgnoredText = [&errors](std::string_view ignored) {
        errors << Text::WarningPrefix << IgnoredTextHint(ignored) << '\n';
    };
}

int RunTableBatch(const TCommandLine& cl, std::ostream& out, std::ostream& errors, TProgressView* progress)
{
    const TPlotFields fields = FieldsFor(cl);
    const TAngleMode mode = cl.Mode.value_or(TAngleMode::Radians);
    SetAngleModeSource([mode] { return mode; });

    int status = 0;
    TTableTarget target;
    WarnAboutIgnoredText(target, errors);
    TSteadyClock clock;
    RunReporting([&] { RunPlotWatched(fields, target, progress, clock, kTerminalProgressTimes); }, errors,
                 status);
    if (cl.Table) RunReporting([&] { WriteTable(*cl.Table, target.Table(), out); }, errors, status);
    SetAngleModeSource({});
    return status;
}

} // namespace qrv
