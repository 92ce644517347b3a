#include "QrvSettingsText.h"

#include <array>
#include <cstddef>

namespace qrv
{

namespace
{

constexpr std::array<std::string_view, static_cast<std::size_t>(SetText::Count_)> kTexts = {
    "Warning",
    "Error",
    "Information",
    "Confirm",
    "&Yes",
    "&No",
    "OK",
    "Cancel",
    "&Abort",
    "&Retry",
    "&Ignore",
    "Invalid integer",
    "Invalid float",
    "Value must be in range ",
    "Unable to write to %s",
    "Cannot assign a %s to a %s",
    "Settings",
    "&OK",
    "&Cancel",
    "&Reset Defaults",
    "Reset all variables to defaults?",
    "Appearance",
    "General",
    "Colors",
    "Graphic color",
    "Use enhanced metafiles",
    "Color",
};

// An empty entry means the enum and the table went out of step.
constexpr bool AllTextsPresent()
{
    for (auto text : kTexts)
        if (text.empty()) return false;
    return true;
}
static_assert(AllTextsPresent(), "every settings text needs an entry");

} // namespace

std::string_view Text(SetText id)
{
    return kTexts.at(static_cast<std::size_t>(id));
}

std::string FormatText(SetText id, std::initializer_list<std::string_view> args)
{
    std::string_view pattern = Text(id);
    std::string out;
    auto next = args.begin();
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's') {
            if (next != args.end()) out.append(*next++);
            ++i;
            continue;
        }
        out += pattern[i];
    }
    return out;
}

} // namespace qrv
