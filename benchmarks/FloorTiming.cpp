// Times Velmora under Wine (or Windows) against the least program doing the
// same job, in alternating runs within one session, and prints the medians
// and their ratio:
//
//   floor_timing.exe Velmora.exe startup_floor.exe [runs [jobs [VelmoraReport.exe]]]
//
// jobs names the jobs to time, any of "startup", "controls", "refill",
// "marks", "report" and "console" (the first five when left out; "console"
// needs VelmoraReport.exe).
//
// - Controls: start-up against design_controls_floor.exe (beside
//   startup_floor.exe), the least program that shows the same window: both
//   lists filled and every other control of the design, with its font and the
//   window's icons, and nothing behind them. Its limit is Velmora's.
// - Start-up: the same against startup_floor.exe, a window with the two lists
//   only. No limit: it shows what the rest of the window costs.
// - Sort refill, marks, View Report and the console program (Jobs.h); the
//   console's text against console_floor.exe, beside startup_floor.exe.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "Jobs.h"
#include "Scenario.h"
#include "TimedEnvironment.h"

namespace velmora::benchmarks {
namespace {

constexpr double kStartUpLimit = 1.1;  // against the same window's floor
constexpr double kRefillLimit = 1.2;
constexpr double kMarksLimit = 1.2;
constexpr double kTypicalReportLimit = 1.5;
constexpr double kLargestReportLimit = 3.0;
constexpr double kConsoleReportLimit = 1.5;
constexpr double kConsoleJsonLimit = 2.0;  // against the console's text report
constexpr double kNoLimit = 0;

int Run(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr,
                 "usage: floor_timing Velmora.exe startup_floor.exe [runs [jobs "
                 "[VelmoraReport.exe]]]\n");
    return 2;
  }
  const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 11;
  const std::string jobs = argc > 4 ? argv[4] : "startup,controls,refill,marks,report";
  auto wanted = [&](const char* job) { return jobs.find(job) != std::string::npos; };
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_STANDARD_CLASSES;
  InitCommonControlsEx(&controls);
  try {
    const std::wstring velmora = Wide(argv[1]);
    const std::wstring floor = Wide(argv[2]);
    std::printf("Medians of %d alternating runs each, after two warm-up rounds\n", runs);
    if (wanted("controls")) {
      const std::wstring sameWindow =
          floor.substr(0, floor.find_last_of(L"\\/") + 1) + L"design_controls_floor.exe";
      TimeStartUp("Start-up (same window), ", kStartUpLimit, velmora, sameWindow, runs);
    }
    if (wanted("startup")) {
      TimeStartUp("Start-up (two lists only), ", kNoLimit, velmora, floor, runs);
    }
    if (wanted("refill")) TimeRefill(LongPath(), kRefillLimit, runs);
    if (wanted("marks")) TimeMarks(kMarksLimit, runs);
    if (wanted("report")) {
      TimeViewReport(Typical(), kTypicalReportLimit, runs);
      TimeViewReport(Largest(), kLargestReportLimit, runs);
    }
    if (wanted("console") && argc > 5) {
      TimeConsoleReport(Wide(argv[5]),
                        floor.substr(0, floor.find_last_of(L"\\/") + 1) + L"console_floor.exe",
                        kConsoleReportLimit, runs);
      TimeConsoleJson(Largest(), kConsoleJsonLimit, runs);
    }
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "floor_timing: %s\n", failure.what());
    return 1;
  }
  return 0;
}

}  // namespace
}  // namespace velmora::benchmarks

int main(int argc, char** argv) {
  return velmora::benchmarks::Run(argc, argv);
}
