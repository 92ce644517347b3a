#include "QrvExprCodeMemory.h"

#include <mutex>
#include <vector>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace qrv
{

#if defined(__linux__)

namespace
{

constexpr std::size_t kSmallest = 256;      // the smallest block
constexpr int kClasses = 7;                 // 256 B .. 16 KiB
constexpr std::size_t kSegment = 256 << 10; // one file, mapped twice

struct TSegment {
    std::uint8_t* write = nullptr;
    std::uint8_t* execute = nullptr;
    std::size_t used = kSegment; // full: none yet
};

// Process-wide: blocks outlive no program, but a freed block is kept for
// the next program of its size.
struct TArena {
    std::mutex mutex;
    TSegment current;
    std::vector<TExprCodeBlock> free[kClasses];
    bool broken = false; // the system refused a segment: own mappings only
};

TArena& Arena()
{
    static TArena* arena = new TArena; // never destroyed: code may run at exit
    return *arena;
}

bool NewSegment(TSegment& segment)
{
    const int fd = memfd_create("qurvia-code", MFD_CLOEXEC);
    if (fd < 0) return false;
    void* write = MAP_FAILED;
    void* execute = MAP_FAILED;
    if (ftruncate(fd, static_cast<off_t>(kSegment)) == 0) {
        write = mmap(nullptr, kSegment, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        execute = mmap(nullptr, kSegment, PROT_READ | PROT_EXEC, MAP_SHARED, fd, 0);
    }
    close(fd);
    if (write == MAP_FAILED || execute == MAP_FAILED) {
        if (write != MAP_FAILED) munmap(write, kSegment);
        if (execute != MAP_FAILED) munmap(execute, kSegment);
        return false;
    }
    segment = {static_cast<std::uint8_t*>(write), static_cast<std::uint8_t*>(execute), 0};
    return true;
}

bool FromArena(std::size_t size, TExprCodeBlock& block)
{
    int sizeClass = 0;
    while (sizeClass < kClasses && (kSmallest << sizeClass) < size)
        ++sizeClass;
    if (sizeClass == kClasses) return false;
    const std::size_t bytes = kSmallest << sizeClass;
    TArena& arena = Arena();
    std::lock_guard<std::mutex> lock(arena.mutex);
    if (!arena.free[sizeClass].empty()) {
        block = arena.free[sizeClass].back();
        arena.free[sizeClass].pop_back();
        return true;
    }
    if (arena.broken) return false;
    if (arena.current.used + bytes > kSegment) {
        // The rest of the old segment serves smaller blocks later.
        TSegment& old = arena.current;
        for (int c = sizeClass - 1; c >= 0; --c)
            while (old.used + (kSmallest << c) <= kSegment) {
                arena.free[c].push_back({old.write + old.used, old.execute + old.used, kSmallest << c, c});
                old.used += kSmallest << c;
            }
        if (!NewSegment(arena.current)) {
            arena.broken = true;
            return false;
        }
    }
    TSegment& segment = arena.current;
    block = {segment.write + segment.used, segment.execute + segment.used, bytes, sizeClass};
    segment.used += bytes;
    return true;
}

} // namespace

bool AllocateCode(std::size_t size, TExprCodeBlock& block)
{
    if (FromArena(size, block)) return true;
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const std::size_t mapped = (size + page - 1) / page * page;
    void* memory = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) return false;
    block = {static_cast<std::uint8_t*>(memory), memory, mapped, -1};
    return true;
}

bool SealCode(TExprCodeBlock& block)
{
    if (block.SizeClass >= 0) return true; // runs from its executable view
    if (mprotect(block.Write, block.Size, PROT_READ | PROT_EXEC) != 0) {
        FreeCode(block);
        return false;
    }
    block.Write = nullptr;
    return true;
}

void FreeCode(TExprCodeBlock& block)
{
    if (block.Execute == nullptr) return;
    if (block.SizeClass < 0) {
        munmap(const_cast<void*>(block.Execute), block.Size);
    } else {
        TArena& arena = Arena();
        std::lock_guard<std::mutex> lock(arena.mutex);
        arena.free[block.SizeClass].push_back(block);
    }
    block = {};
}

#else

bool AllocateCode(std::size_t, TExprCodeBlock&)
{
    return false;
}
bool SealCode(TExprCodeBlock&)
{
    return false;
}
void FreeCode(TExprCodeBlock&) {}

#endif

} // namespace qrv
