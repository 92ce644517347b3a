// Executable memory for generated code: blocks hold code that runs, freed
// blocks serve the next program of their size, very large blocks are
// mappings of their own.
#include "QrvExprCodeMemory.h"
#include "QrvExprNativeCode.h"
#include "QrvFloat.h"

#include <gtest/gtest.h>

#include <cstring>

namespace qrv::test
{
namespace
{

// fld1; ret: a function returning 1.0 as a long double.
constexpr std::uint8_t kReturnOne[] = {0xD9, 0xE8, 0xC3};

Float RunBlock(const TExprCodeBlock& block)
{
    return reinterpret_cast<Float (*)()>(const_cast<void*>(block.Execute))();
}

class CodeMemory : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!TExprNativeCode::Supported()) GTEST_SKIP() << "no code generation on this platform";
    }
};

TEST_F(CodeMemory, BlocksOfEverySizeRunTheirCode)
{
    for (std::size_t size : {1u, 255u, 256u, 257u, 4000u, 16384u, 16385u, 100000u}) {
        TExprCodeBlock block;
        ASSERT_TRUE(AllocateCode(size, block)) << size;
        EXPECT_GE(block.Size, size);
        EXPECT_EQ(block.SizeClass<0, size> 16384) << size;
        std::memcpy(block.Write, kReturnOne, sizeof kReturnOne);
        ASSERT_TRUE(SealCode(block)) << size;
        EXPECT_EQ(RunBlock(block), 1.0L) << size;
        FreeCode(block);
        EXPECT_EQ(block.Execute, nullptr);
    }
}

TEST_F(CodeMemory, AFreedBlockServesTheNextOfItsSize)
{
    TExprCodeBlock first, second, third;
    ASSERT_TRUE(AllocateCode(300, first));
    ASSERT_TRUE(AllocateCode(300, second));
    EXPECT_NE(first.Execute, second.Execute);
    const void* freed = first.Execute;
    FreeCode(first);
    ASSERT_TRUE(AllocateCode(400, third)); // the same size class
    EXPECT_EQ(third.Execute, freed);
    // Rewritten code runs, not the code the block held before.
    std::memcpy(third.Write, kReturnOne, sizeof kReturnOne);
    third.Write[1] = 0xEE; // fld1 -> fldz
    ASSERT_TRUE(SealCode(third));
    EXPECT_EQ(RunBlock(third), 0.0L);
    FreeCode(second);
    FreeCode(third);
}

} // namespace
} // namespace qrv::test
