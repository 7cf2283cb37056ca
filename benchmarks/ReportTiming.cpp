// Times the report under Wine (or Windows) against the real registry, process
// environment and files: the registry keys are prepared behind a scratch key,
// as the tests do, and the report is written to the temporary folder.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "Scenario.h"
#include "environment/Identity.h"
#include "environment/Lookups.h"
#include "environment/Registry.h"
#include "report/ReportBuilder.h"
#include "report/ReportFile.h"
#include "support/TestPlatform.h"

namespace {

using benchmarks::Scenario;
using Clock = std::chrono::steady_clock;

// The median of `runs` timings of work, in microseconds.
double MedianMicroseconds(int runs, const std::function<void()>& work) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto start = Clock::now();
    work();
    times.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
  }
  std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
  return times[runs / 2];
}

// The plain way: create or truncate the target, write, close; flushed when asked.
void RawWrite(const std::string& path, const std::string& bytes, bool flush) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  if (flush) FlushFileBuffers(file);
  CloseHandle(file);
}

void Store(testing_support::TestPlatform& test, platform::KeyHandle root, const char* key,
           const std::vector<benchmarks::StoredValue>& values) {
  for (const auto& value : values) {
    test.SetString(root, key, value.name, value.text,
                   value.expandable ? platform::kRegExpandSz : platform::kRegSz);
  }
}

void Time(const Scenario& scenario, int runs) {
  auto test = testing_support::MakeWin32TestPlatform();
  for (const auto& [name, value] : scenario.processVariables) test->SetVariable(name, value);
  test->SetVariable("PATH", scenario.effectivePath);
  Store(*test, platform::kCurrentUser, environment::kUserEnvironmentKey, scenario.userValues);
  Store(*test, platform::kLocalMachine, environment::kSystemEnvironmentKey, scenario.systemValues);
  const platform::Platform os = test->Services();

  const std::string folder = modWinAPI::GetTempFolder(os);
  const std::string report = folder + "velmora-timing-report.txt";
  const std::string raw = folder + "velmora-timing-raw.txt";
  const std::string bytes = modReport::EncodeReport(modReport::ReportText(os));

  const double whole = MedianMicroseconds(runs, [&] { modReport::doReport(os, report); });
  const double text = MedianMicroseconds(runs, [&] { (void)modReport::ReportText(os); });
  const double oneKey = MedianMicroseconds(runs, [&] {
    (void)Registry::EnumRegistryValues(os, platform::kCurrentUser,
                                       environment::kUserEnvironmentKey);
  });
  const double flushed = MedianMicroseconds(runs, [&] { RawWrite(raw, bytes, true); });
  const double unflushed = MedianMicroseconds(runs, [&] { RawWrite(raw, bytes, false); });
  DeleteFileA(report.c_str());
  DeleteFileA(raw.c_str());

  std::printf("%s, %zu bytes, median of %d runs\n", scenario.name, bytes.size(), runs);
  std::printf("  report written (doReport)         %10.1f us\n", whole);
  std::printf("    of which the text (lookups)     %10.1f us\n", text);
  std::printf("    one read of the user key        %10.1f us\n", oneKey);
  std::printf("  raw write, flushed                %10.1f us   ratio %.2f\n", flushed,
              whole / flushed);
  std::printf("  raw write, not flushed            %10.1f us   ratio %.2f\n", unflushed,
              whole / unflushed);
}

}  // namespace

int main() {
  Time(benchmarks::Typical(), 31);
  Time(benchmarks::Largest(), 7);
  return 0;
}
