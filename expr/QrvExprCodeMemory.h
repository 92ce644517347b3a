// Executable memory for generated code.
//
// Code is written through one view of the memory and run through another:
// never writable and executable at once. Blocks come from segments of one
// file mapped twice (writable, and readable-executable), so placing a
// program's code costs no system call once a segment exists; a freed block
// serves the next program of its size. Where such a file cannot be had, or
// for a very large program, a block is a mapping of its own, made
// executable when sealed.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qrv
{

struct TExprCodeBlock {
    std::uint8_t* Write = nullptr; // where to write the code, until sealed
    const void* Execute = nullptr; // where it runs
    std::size_t Size = 0;
    int SizeClass = -1; // -1: a mapping of its own
};

// A block of at least `size` bytes; false when the system refuses.
bool AllocateCode(std::size_t size, TExprCodeBlock& block);

// Makes the written code runnable; false when the system refuses (the
// block is then freed).
bool SealCode(TExprCodeBlock& block);

void FreeCode(TExprCodeBlock& block);

} // namespace qrv
