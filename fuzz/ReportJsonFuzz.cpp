// The reader of saved JSON reports (VelmoraReport --compare), fed arbitrary
// bytes as a baseline file.
//
// What must hold, beside no crash, leak or undefined behaviour: a document is
// read or refused with BadDocument only; once read, it is written and read
// back to the same report, and compared with itself shows no difference.
#include <cstdint>
#include <string_view>

#include "FuzzInput.h"
#include "console/Compare.h"
#include "console/Json.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velmora::console;
  Report report;
  try {
    report = ReadReportJson(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const BadDocument&) {
    return 0;
  }
  velmora::fuzzing::Require(ReadReportJson(ReportJson(report)) == report,
                            "a report read back differs");
  velmora::fuzzing::Require(Compare(report, report).empty(), "a report differs from itself");
  return 0;
}
