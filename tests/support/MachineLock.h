// One holder at a time on the whole machine, for tests that start a program
// whose starts must not overlap (LibreOffice: its first start on a machine
// writes the system font cache for its own fonts and the installation's
// shared extension cache, and every start probes that cache by creating and
// deleting a file in it). The lock is a flock(2) on a file in the temporary
// folder, so it holds across the tests of one ctest run and across test runs
// of other build folders alike; the kernel drops it when its holder ends,
// even by a crash.
#pragma once

#include <cerrno>
#include <filesystem>
#include <string>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace qrv::test
{

class TMachineLock
{
public:
    // Waits until the lock named name is free and takes it. Valid() tells
    // whether it is held (false only when the lock file cannot be opened).
    explicit TMachineLock(const std::string& name)
    {
        const std::string path =
            (std::filesystem::temp_directory_path() / ("qurvia-" + name + ".lock")).string();
        // A file that another user created cannot be opened for creation in
        // a sticky folder (protected_regular), but it can be read, and a lock
        // needs no more than that.
        fd_ = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd_ < 0 && errno == ENOENT) fd_ = open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0644);
        if (fd_ < 0) return;
        while (flock(fd_, LOCK_EX) != 0)
            if (errno != EINTR) {
                close(fd_);
                fd_ = -1;
                return;
            }
    }
    ~TMachineLock()
    {
        if (fd_ >= 0) close(fd_); // closing the only descriptor releases the lock
    }
    TMachineLock(const TMachineLock&) = delete;
    TMachineLock& operator=(const TMachineLock&) = delete;

    bool Valid() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

} // namespace qrv::test
