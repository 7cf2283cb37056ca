// How long the report takes against how long simply writing its bytes takes,
// in the same folder, and how long its registry reads and lookups take, on the
// native build (registry and environment from the double, real files).
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "Scenario.h"
#include "environment/Lookups.h"
#include "platform/FakePlatform.h"
#include "PosixFileSystem.h"
#include "report/ReportBuilder.h"
#include "report/ReportFile.h"

namespace velmora {
namespace {

using benchmarks::Scenario;

struct Machine {
  explicit Machine(const Scenario& scenario) {
    for (const auto& [name, value] : scenario.processVariables) fake.environment.Set(name, value);
    fake.environment.Set("PATH", scenario.effectivePath);
    fake.environment.Set("USERPROFILE", "C:\\Users\\jdoe");
    Store(platform::kCurrentUser, environment::kUserEnvironmentKey, scenario.userValues);
    Store(platform::kLocalMachine, environment::kSystemEnvironmentKey, scenario.systemValues);
    folder = std::filesystem::temp_directory_path() / "velmora-bench";
    std::filesystem::create_directories(folder);
  }
  ~Machine() { std::filesystem::remove_all(folder); }

  void Store(platform::KeyHandle root, const char* key,
             const std::vector<benchmarks::StoredValue>& values) {
    for (const auto& value : values) {
      std::vector<std::uint8_t> data(value.text.begin(), value.text.end());
      data.push_back(0);
      fake.registry.SetValue(root, key, value.name,
                             value.expandable ? platform::kRegExpandSz : platform::kRegSz, data);
    }
  }

  platform::Platform Os() {
    return {fake.registry, fake.environment, fake.identity, files, fake.clock, fake.user, nullptr};
  }

  platform::FakePlatform fake;
  benchmarks::PosixFileSystem files;
  std::filesystem::path folder;
};

// Writes bytes the plain way, straight over the target: create or truncate,
// write, close; with a flush to the disk before the close when asked.
void RawWrite(const std::string& path, const std::string& bytes, bool flush) {
  const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (file < 0) throw std::runtime_error("cannot create " + path);
  if (::write(file, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
    throw std::runtime_error("cannot write " + path);
  }
  if (flush) ::fsync(file);
  ::close(file);
}

void Report(benchmark::State& state, Scenario (*make)()) {
  Machine machine(make());
  const std::string path = (machine.folder / "report.txt").string();
  const auto os = machine.Os();
  for (auto _ : state) {
    if (!report::doReport(os, path)) state.SkipWithError("the report was not written");
  }
  state.SetLabel(make().name);
}

void ReportText(benchmark::State& state, Scenario (*make)()) {
  Machine machine(make());
  const auto os = machine.Os();
  for (auto _ : state) benchmark::DoNotOptimize(report::ReportText(os));
}

// One read of the user's key, as a report or start-up makes it.
void ReadUserKey(benchmark::State& state, Scenario (*make)()) {
  Machine machine(make());
  const auto os = machine.Os();
  for (auto _ : state) benchmark::DoNotOptimize(environment::ReadUserValues(os));
}

// Every user lookup a report makes, answered from one read of the key.
void UserLookups(benchmark::State& state, Scenario (*make)()) {
  Machine machine(make());
  const auto userValues = environment::ReadUserValues(machine.Os());
  for (auto _ : state) {
    for (const char* name : {"PATH", "CLASSPATH", report::kDomainsFile}) {
      benchmark::DoNotOptimize(environment::GetUserVariable(userValues, name));
    }
    for (const char* name : report::kProductVariables) {
      benchmark::DoNotOptimize(environment::GetUserVariable(userValues, name));
    }
  }
}

void RawBytes(benchmark::State& state, Scenario (*make)(), bool flush) {
  Machine machine(make());
  const std::string path = (machine.folder / "raw.txt").string();
  const std::string bytes = report::EncodeReport(report::ReportText(machine.Os()));
  for (auto _ : state) RawWrite(path, bytes, flush);
  state.counters["bytes"] = static_cast<double>(bytes.size());
}

BENCHMARK_CAPTURE(Report, typical, &benchmarks::Typical)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(RawBytes, typical_flushed, &benchmarks::Typical, true)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(RawBytes, typical_unflushed, &benchmarks::Typical, false)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ReportText, typical, &benchmarks::Typical)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Report, largest, &benchmarks::Largest)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RawBytes, largest_flushed, &benchmarks::Largest, true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RawBytes, largest_unflushed, &benchmarks::Largest, false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReportText, largest, &benchmarks::Largest)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadUserKey, typical, &benchmarks::Typical)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ReadUserKey, largest, &benchmarks::Largest)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(UserLookups, largest, &benchmarks::Largest)->Unit(benchmark::kMicrosecond);

}  // namespace

}  // namespace velmora

BENCHMARK_MAIN();
