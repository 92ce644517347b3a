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
    text_.clear();
    lineCount_ = 0;
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
    text_.append(line, end);
    ++lineCount_;
}

void TTableText::AddLine(double t, double x, double y)
{
    const char separator = DecimalSeparator();
    char line[144];
    char* end = WriteFixed3(line, t, separator);
    end = std::copy(kColumnGap.begin(), kColumnGap.end(), end);
    end = WriteFixed3(end, x, separator);
    end = std::copy(kColumnGap.begin(), kColumnGap.end(), end);
    end = WriteFixed3(end, y, separator);
    *end++ = '\n';
    text_.append(line, end);
    ++lineCount_;
}

void TTableText::AddNote(std::string_view note)
{
    for (char c : note)
        text_ += c == '\r' || c == '\n' ? ' ' : c;
    text_ += '\n';
    ++lineCount_;
}

std::string_view TTableText::Text() const
{
    std::string_view text(text_);
    if (!text.empty()) text.remove_suffix(1);
    return text;
}

std::string TTableText::Terminated(std::string_view lineEnd) const
{
    if (lineEnd == "\n") return text_;
    std::string out;
    out.reserve(text_.size() + lineCount_ * lineEnd.size());
    for (char c : text_) {
        if (c == '\n')
            out += lineEnd;
        else
            out += c;
    }
    return out;
}

} // namespace qrv
