// The report and the comparison as JSON documents ("velmora-report/1",
// "velmora-compare/1"; schema/ describes both). Additions keep the version;
// a change that old readers cannot follow raises it.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "console/Compare.h"
#include "console/ReportModel.h"

namespace velmora::console {

inline constexpr const char* kReportSchema = "velmora-report/1";
inline constexpr const char* kCompareSchema = "velmora-compare/1";

// The document, UTF-8, indented, ending in a line break. Text that is not
// valid UTF-8 is written with U+FFFD in its place.
[[nodiscard]] std::string ReportJson(const Report& report);
[[nodiscard]] std::string ComparisonJson(const Report& baseline, const Report& other,
                                         const std::vector<Difference>& differences);

// Why a document is not a report this program reads, and where: "at byte 17:
// ..." for broken JSON, "at /lists/0/entries/3/source: ..." for a member
// missing or of the wrong kind.
class BadDocument : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads a report document; members it does not know are passed over. Throws
// BadDocument.
[[nodiscard]] Report ReadReportJson(std::string_view document);

}  // namespace velmora::console
