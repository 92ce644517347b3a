#include "QrvFileWriter.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qrv
{

namespace
{

// The most links followed, as the system's own limit on Linux.
constexpr int kMaxLinks = 40;
// Longer last components get a shorter temporary name, so that the name
// with its suffix still fits the file-name limit.
constexpr std::size_t kMaxTempBase = 200;

std::string FolderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// The error of the last failed call, raised with the name the caller gave.
[[noreturn]] void Fail(const std::string& fileName, int error)
{
    throw EFileWrite(fileName, error);
}

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) {
            errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// The permissions of a new file: what the process's umask allows of rw-rw-rw-.
mode_t NewFileMode()
{
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// A pipe, a terminal or a device: written where it is.
void WriteInPlace(const std::string& fileName, std::string_view bytes)
{
    const int fd = open(fileName.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) Fail(fileName, errno);
    if (!WriteAll(fd, bytes)) {
        const int error = errno;
        close(fd);
        Fail(fileName, error);
    }
    if (close(fd) != 0 && errno != EINTR) Fail(fileName, errno);
}

// The new file beside the target until it is renamed over it; removed on
// every way out before that.
class TTempFile
{
public:
    explicit TTempFile(const std::string& target)
    {
        const std::string folder = FolderOf(target);
        const std::string base = target.substr(target.find_last_of('/') + 1);
        name_ = (base.size() > kMaxTempBase ? folder + "/.qurvia" : target) + ".XXXXXX";
        fd_ = mkostemp(name_.data(), O_CLOEXEC);
    }
    ~TTempFile()
    {
        if (fd_ >= 0) close(fd_);
        if (!renamed_ && opened()) unlink(name_.c_str());
    }
    TTempFile(const TTempFile&) = delete;
    TTempFile& operator=(const TTempFile&) = delete;

    bool opened() const { return fd_ >= 0 || closed_; }
    int fd() const { return fd_; }
    const std::string& name() const { return name_; }
    bool Close()
    {
        const int fd = fd_;
        fd_ = -1;
        closed_ = true;
        return close(fd) == 0;
    }
    void Renamed() { renamed_ = true; }

private:
    std::string name_;
    int fd_ = -1;
    bool closed_ = false;
    bool renamed_ = false;
};

void Replace(const std::string& fileName, const std::string& target, const struct stat* existing,
             std::string_view bytes)
{
    TTempFile temp(target);
    if (!temp.opened()) Fail(fileName, errno);
    const mode_t mode = existing ? (existing->st_mode & 07777) : NewFileMode();
    // As root, a replaced file keeps its owner; for anyone else this can only
    // fail, and the file then belongs to whoever wrote it, as with any save.
    if (existing && (existing->st_uid != geteuid() || existing->st_gid != getegid())) {
        [[maybe_unused]] const int owned = fchown(temp.fd(), existing->st_uid, existing->st_gid);
    }
    if (fchmod(temp.fd(), mode) != 0 || !WriteAll(temp.fd(), bytes) || fsync(temp.fd()) != 0)
        Fail(fileName, errno);
    if (!temp.Close()) Fail(fileName, errno);
    if (rename(temp.name().c_str(), target.c_str()) != 0) Fail(fileName, errno);
    temp.Renamed();
    // The new name on the disk too, as far as the folder lets itself be synced.
    const int folder = open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        fsync(folder);
        close(folder);
    }
}

} // namespace

std::string EFileWrite::SystemReason() const
{
    return std::strerror(systemError_);
}

std::string FollowLinks(const std::string& fileName)
{
    std::string path = fileName;
    for (int i = 0; i < kMaxLinks; ++i) {
        struct stat info;
        if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
        std::string link(PATH_MAX, '\0');
        const ssize_t n = readlink(path.c_str(), link.data(), link.size());
        if (n < 0 || static_cast<std::size_t>(n) >= link.size()) return path;
        link.resize(static_cast<std::size_t>(n));
        path = link.starts_with('/') ? link : FolderOf(path) + "/" + link;
    }
    return path;
}

void WriteWholeFile(const std::string& fileName, std::string_view bytes)
{
    if (fileName.empty()) Fail(fileName, ENOENT);
    struct stat info;
    if (stat(fileName.c_str(), &info) != 0) {
        // Too many links, or a folder on the way that is missing or no
        // folder: nothing can be created there.
        if (errno != ENOENT) Fail(fileName, errno);
        // Missing, or a link to a missing file: that file is created.
        Replace(fileName, FollowLinks(fileName), nullptr, bytes);
        return;
    }
    if (S_ISDIR(info.st_mode)) Fail(fileName, EISDIR);
    // Opened by the name as given, so the system follows links itself (also
    // those of /dev/stdout, which name no file).
    if (!S_ISREG(info.st_mode)) {
        WriteInPlace(fileName, bytes);
        return;
    }
    // Write protection is the user's wish even where the system would let
    // root write; without this check, the rename would replace what the
    // mode guards.
    if ((info.st_mode & 0222) == 0 || access(fileName.c_str(), W_OK) != 0) Fail(fileName, EACCES);
    // The file itself is replaced, not a link on the way to it.
    std::string target = FollowLinks(fileName);
    if (char* real = realpath(fileName.c_str(), nullptr)) {
        target = real;
        std::free(real);
    }
    Replace(fileName, target, &info, bytes);
}

} // namespace qrv
