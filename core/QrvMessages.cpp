#include "QrvMessages.h"

#include <array>
#include <cstddef>

namespace qrv
{

namespace
{

constexpr std::array<std::string_view, static_cast<std::size_t>(Msg::Count_)> kMessages = {
    "Invalid floating point operation",
    "Floating point division by zero",
    "Floating point overflow",
    "Division by zero",
    "'%s' is not a valid floating point value",
    "List index out of bounds (%d)",
    "%s (%s, line %d)",
    "Assertion failure",
    "Cannot create file %s",
    "Cannot open clipboard",
    "Cannot write to standard output",
    "The image is too large for the memory available",
    "Parse error: Factor expected",
    "Parse error: ')' expected",
    "Parse error: Unknown symbol: '%s'",
    "Parse error: '(' and function's first parameter expected",
    "Parse error: ',' and another parameter expected",
    "Parse error: ')' to close function's parameters expected",
    "Parse error: Expression is nested too deeply",
    "Duplicate hash list entry: %s",
    "HashList: must be empty to set size to zero",
    "HashList must have traits",
    "Domain check failure in QrvMath",
    "Power function: Result is complex",
    "Power function: Result is infinite",
    "Initial value is greater than the final one",
    "Initial value is smaller than the final one",
    "Step must be non zero",
    "Too small absolute step value",
};

// Every message has a text: an empty entry means the table and the enum
// went out of step.
constexpr bool AllMessagesPresent()
{
    for (auto text : kMessages)
        if (text.empty()) return false;
    return true;
}
static_assert(AllMessagesPresent(), "every message needs a text");

} // namespace

std::string_view MessageText(Msg id)
{
    return kMessages.at(static_cast<std::size_t>(id));
}

std::string FormatMessage(Msg id, std::initializer_list<std::string_view> args)
{
    std::string_view pattern = MessageText(id);
    std::string out;
    out.reserve(pattern.size() + 32);
    auto next = args.begin();
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        char c = pattern[i];
        if (c == '%' && i + 1 < pattern.size()) {
            char k = pattern[i + 1];
            if (k == '%') {
                out += '%';
                ++i;
                continue;
            }
            if (k == 's' || k == 'd') {
                if (next != args.end()) out.append(*next++);
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

std::string DisplayText(std::string_view message)
{
    std::string out(message);
    if (!out.empty() && static_cast<unsigned char>(out.back()) > static_cast<unsigned char>('.')) out += '.';
    return out;
}

} // namespace qrv
