// Sets the program-wide decimal (and, if asked, thousands) separator for one
// scope and puts the previous ones back when the scope ends, by an exception
// or a failed ASSERT as much as by the end of the block.
#pragma once

#include "QrvNumberText.h"

namespace qrv::test
{

class TDecimalSeparatorScope
{
public:
    explicit TDecimalSeparatorScope(char decimal) { SetDecimalSeparator(decimal); }
    TDecimalSeparatorScope(char decimal, char thousands) : setsThousands_(true)
    {
        SetDecimalSeparator(decimal);
        SetThousandSeparator(thousands);
    }
    ~TDecimalSeparatorScope()
    {
        SetDecimalSeparator(decimal_);
        if (setsThousands_) SetThousandSeparator(thousands_);
    }
    TDecimalSeparatorScope(const TDecimalSeparatorScope&) = delete;
    TDecimalSeparatorScope& operator=(const TDecimalSeparatorScope&) = delete;

private:
    const char decimal_ = DecimalSeparator();
    const char thousands_ = ThousandSeparator();
    // Only a scope that set the thousands separator puts it back.
    const bool setsThousands_ = false;
};

} // namespace qrv::test
