#include "model/model_data.h"

#include <initializer_list>
#include <utility>

std::string ModelDataDifference(const TModelData& expected, const TModelData& actual) {
    std::string parts;
    auto add = [&parts](const std::string& part) { parts += (parts.empty() ? "" : ", ") + part; };
    const std::initializer_list<std::pair<const char*, bool>> records = {
        {"Version", expected.Version == actual.Version && expected.Version2 == actual.Version2},
        {"Description", expected.Description == actual.Description},
        {"Author", expected.Author == actual.Author},
        {"TextOverlay", expected.TextOverlay == actual.TextOverlay},
        {"Background", expected.Background == actual.Background},
        {"Modified", expected.Modified == actual.Modified},
        {"Truncated", expected.Truncated == actual.Truncated},
        {"grid",
         expected.Cols == actual.Cols && expected.Rows == actual.Rows && expected.Levels == actual.Levels},
    };
    for (const auto& [name, same] : records)
        if (!same)
            add(name);
    for (size_t i = 0; i < expected.Cells.size(); ++i) {
        if (expected.Cells[i] != actual.Cells[i]) {
            add("Cells from entry " + std::to_string(i));
            break;
        }
    }
    if (parts.empty() && !(expected == actual))
        add("a part not named here");
    return parts;
}
