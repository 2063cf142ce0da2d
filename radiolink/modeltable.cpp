#include "radiolink/modeltable.h"

#include "platform/inputfile.h"
#include "platform/paths.h"
#include "radios/builtin.h"

#include <cstdlib>
#include <filesystem>

namespace tarvo {

namespace {

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// The directory of tarvoDLL: the table is read there also by programs that
// link this code themselves (to list the radios), not only by the library.
std::filesystem::path LibraryDirectory() {
    const void* address = FindExport("TarvoDllInit");
    if (address == nullptr)
        address = reinterpret_cast<const void*>(&LoadModelTable);
    return FolderOfCode(address);
}

void AppendModelList(const std::filesystem::path& directory, std::vector<TModelEntry>& table) {
    if (directory.empty())
        return;
    // A shop's list of radios: a few lines; a FIFO or device in its place
    // is passed over rather than waited on.
    std::string text;
    if (ReadWholeFile(directory / kModelListName, 1 << 20, text) != InputProblem::None)
        return;
    for (auto& entry : ParseModelList(text))
        table.push_back(std::move(entry));
}

} // namespace

std::vector<TModelEntry> ParseModelList(std::string_view text) {
    std::vector<TModelEntry> rows;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = Trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (line.empty() || line.front() == '#')
            continue;
        const auto comma = line.find(',');
        if (comma == std::string_view::npos)
            continue;
        const auto product = Trim(line.substr(0, comma));
        const auto model = Trim(line.substr(comma + 1));
        if (product.empty() || model.empty() || product.size() > 9 || model.size() > 14 ||
            model.find(',') != std::string_view::npos)
            continue;
        rows.push_back({std::string(product), std::string(model)});
    }
    return rows;
}

std::vector<TModelEntry> LoadModelTable() {
    std::vector<TModelEntry> table = {
        {std::string(radios::kMobile.ProductName), std::string(radios::kMobile.ModelNumber)},
        {std::string(radios::kPortable.ProductName), std::string(radios::kPortable.ModelNumber)},
    };
    AppendModelList(LibraryDirectory(), table);
    AppendModelList(UserConfigDirectory(), table);
    return table;
}

int LookupModel(const std::vector<TModelEntry>& table, std::string_view productName,
                std::string_view modelNumber) {
    for (const auto& row : table)
        if (row.ProductName == productName && row.ModelNumber == modelNumber)
            return lookup::Known;
    for (const auto& row : table)
        if (row.ProductName == productName)
            return lookup::OtherModel;
    return lookup::UnknownProduct;
}

} // namespace tarvo
