#pragma once

#include <string>
#include <vector>

namespace wordhost {

// One setting of a filter, as the engine's JSON filter data types it ("boolean", "long", "string").
struct FilterSetting {
    std::string name;
    std::string type;
    std::string value;
};

// The office's own settings of its PDF export. An export given filter data takes nothing from
// them, so an export of some pages passes them on to be laid out as a whole export is. Throws
// EngineError.
std::vector<FilterSetting> officePdfExportSettings();

// JSON filter data of a PDF export with these settings, of the pages in `pageRange` ("9-40").
std::string pdfFilterData(const std::vector<FilterSetting>& settings, const std::string& pageRange);

}  // namespace wordhost
