// What judging a list's entries adds to start-up on the window's thread: the
// text alone (repeats, empty pieces, references expanded), no file system.
#include <benchmark/benchmark.h>

#include <string>

#include "Scenario.h"
#include "environment/EntryChecks.h"
#include "text/Text.h"
#include "platform/FakePlatform.h"

namespace velmora {
namespace {

void JudgePath(benchmark::State& state, benchmarks::Scenario (*make)()) {
  const benchmarks::Scenario scenario = make();
  platform::FakePlatform fake;
  fake.environment.Set("SystemRoot", "C:\\Windows");
  // Every fourth entry names its place through a reference.
  std::string value;
  std::size_t index = 0;
  for (const std::string_view entry : text::SplitSearchList(scenario.effectivePath)) {
    if (!value.empty()) value += ';';
    value +=
        (index++ % 4 == 0) ? "%SystemRoot%\\" + std::string(entry.substr(3)) : std::string(entry);
  }
  const auto entries = text::SplitSearchList(value);
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        environment::JudgeEntries(environment::SearchList::kPath, entries, fake.environment));
  }
  state.counters["entries"] = static_cast<double>(entries.size());
}

}  // namespace

BENCHMARK_CAPTURE(JudgePath, typical, &benchmarks::Typical)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(JudgePath, largest, &benchmarks::Largest)->Unit(benchmark::kMicrosecond);

}  // namespace velmora

BENCHMARK_MAIN();
