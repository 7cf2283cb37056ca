// The environment report: what the machine's and the user's environment hold,
// in one plain-text file for support staff.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "environment/Registry.h"
#include "platform/Platform.h"

namespace velmora::report {

// The Corvane product variables, each naming a folder, in the report's order,
// and the one that names a file, reported after them.
inline constexpr std::array<const char*, 12> kProductVariables = {
    "CORVANE_HOME", "TILBURPATH",       "MORDALEPATH",      "MORDALERTC",
    "QUVPATH",      "DRXCONNECTORPATH", "KWTCONNECTORPATH", "COMMON LIBRARIES",
    "ZENTARO_HOME", "PUX_HOME",         "GOB_HOME",         "YEL_JAVA_HOME"};
inline constexpr const char* kDomainsFile = "OMRA_DOMAINS_FILE";

// text padded with blanks to width - 1 characters and closed by "*"; a text of
// width characters or more comes back unchanged. Characters, not bytes, count.
[[nodiscard]] std::string StarLine(std::string_view text, std::int32_t width);

// The header's date, "YYYY-MM-DD HH:MM:SS".
[[nodiscard]] std::string HeaderDate(const platform::LocalTime& t);

// Whether a product variable's effective value is the user's own variable
// (the "USR " tag) rather than the machine's.
[[nodiscard]] bool IsUsersValue(const environment::VariableDictionary& userValues,
                                const std::string& name, const std::string& value);

// The two checks of the Mordale installation, from the effective MORDALEPATH
// and PATH: whether its database is there, and then whether its bin folder
// itself (not a neighbour such as bin64) is an entry of PATH.
struct MordaleCheck {
  bool databaseExists = false;
  bool binInPath = false;  // false too when the database is missing
};
[[nodiscard]] MordaleCheck CheckMordale(const platform::Platform& os,
                                        const std::string& mordalePath, const std::string& path);

// The report's lines, each ended by CR LF, in UTF-8, with every stored value
// taken from the user's and the machine's environment keys as read once for
// this report. Throws platform::Failure when the user's key cannot be read.
[[nodiscard]] std::string ReportText(const platform::Platform& os);
// The same from the two keys already read.
[[nodiscard]] std::string ReportText(const platform::Platform& os,
                                     const environment::VariableDictionary& userValues,
                                     const environment::VariableDictionary& systemValues);

// Writes the report to path, whole or not at all. A failure is shown in the
// error box (module "modReport", procedure "doReport") and not passed on.
// True when the file was written.
bool doReport(const platform::Platform& os, const std::string& path);

}  // namespace velmora::report
