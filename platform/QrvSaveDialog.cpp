#include "QrvSaveDialog.h"

#include "QrvPlatform.h"

namespace qrv
{

std::vector<TFilterType> ParseFilter(std::string_view filter)
{
    std::vector<std::string_view> parts;
    while (!filter.empty()) {
        const auto bar = filter.find('|');
        parts.push_back(filter.substr(0, bar));
        if (bar == std::string_view::npos) break;
        filter.remove_prefix(bar + 1);
    }
    std::vector<TFilterType> types;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2)
        types.push_back({std::string(parts[i]), std::string(parts[i + 1])});
    return types;
}

bool TSaveDialog::Execute()
{
    std::optional<TSaveDialogChoice> choice = Platform().ShowSaveDialog(*this);
    if (!choice) return false;
    FileName = std::move(choice->FileName);
    FilterIndex = choice->FilterIndex;
    return true;
}

} // namespace qrv
