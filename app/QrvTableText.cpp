#include "QrvTableText.h"

#include "QrvNumberText.h"

#include <algorithm>

namespace qrv
{

namespace
{
constexpr std::string_view kColumnGap = "   ";
}

std::string TableLine(double x, double y)
{
    std::string line = FormatFixed3(x);
    line += kColumnGap;
    line += FormatFixed3(y);
    return line;
}

void TTableText::Clear()
{
    FText.clear();
    FLineCount = 0;
}

void TTableText::AddLine(double x, double y)
{
    // Written straight into the text: two numbers of at most 40 characters.
    const char separator = DecimalSeparator();
    char line[96];
    char* end = WriteFixed3(line, x, separator);
    end = std::copy(kColumnGap.begin(), kColumnGap.end(), end);
    end = WriteFixed3(end, y, separator);
    *end++ = '\n';
    FText.append(line, end);
    ++FLineCount;
}

std::string_view TTableText::Text() const
{
    std::string_view text(FText);
    if (!text.empty()) text.remove_suffix(1);
    return text;
}

std::string TTableText::Terminated(std::string_view lineEnd) const
{
    if (lineEnd == "\n") return FText;
    std::string out;
    out.reserve(FText.size() + FLineCount * lineEnd.size());
    for (char c : FText) {
        if (c == '\n')
            out += lineEnd;
        else
            out += c;
    }
    return out;
}

} // namespace qrv
