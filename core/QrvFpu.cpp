#include "QrvFpu.h"

#include <cfenv>

namespace qrv
{

namespace
{

// x87 control word: all six exceptions masked (bits 0-5), precision control
// 11 = 64-bit significand (bits 8-9), rounding control 00 = nearest (bits 10-11).
constexpr unsigned short kControlWord = 0x037F;

#if defined(__x86_64__) || defined(__i386__)
unsigned short ReadControlWord()
{
    unsigned short cw = 0;
    __asm__ volatile("fnstcw %0" : "=m"(cw));
    return cw;
}
#endif

} // namespace

void InitFloatEnvironment()
{
#if defined(__x86_64__) || defined(__i386__)
    unsigned short cw = kControlWord;
    __asm__ volatile("fldcw %0" : : "m"(cw));
#endif
    std::fesetround(FE_TONEAREST);
    std::feclearexcept(FE_ALL_EXCEPT);
}

bool FloatEnvironmentIsDefault()
{
#if defined(__x86_64__) || defined(__i386__)
    return (ReadControlWord() & 0x0F3F) == (kControlWord & 0x0F3F) && std::fegetround() == FE_TONEAREST;
#else
    return std::fegetround() == FE_TONEAREST;
#endif
}

void RaiseFloatFault(Float result)
{
    if (std::isnan(result)) throw EInvalidOp();
    throw EOverflow();
}

} // namespace qrv
