#include "Comparison.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace velmora::benchmarks {
namespace {

double Median(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  const std::size_t n = times.size();
  return n % 2 == 1 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
}

}  // namespace

double Milliseconds(Clock::time_point since) {
  return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

// Runs every job's two ways one after the other, all jobs in turn, `runs`
// times after two warm-up rounds, so that what else the machine does falls on
// all of them alike: odd rounds go backwards, floor first. Between two runs
// the machine is given a moment to finish what the last one left behind (a
// program's exit, its windows). Then prints each job's medians and ratio.
void Compare(const std::vector<Job>& jobs, int runs) {
  std::vector<std::vector<double>> ours(jobs.size());
  std::vector<std::vector<double>> least(jobs.size());
  auto settle = [] { Sleep(100); };
  constexpr int kWarmUpRounds = 2;
  for (int round = 0; round < kWarmUpRounds + runs; ++round) {
    const bool backwards = round % 2 == 1;
    for (std::size_t turn = 0; turn < jobs.size(); ++turn) {
      const std::size_t j = backwards ? jobs.size() - 1 - turn : turn;
      double velmora = 0;
      double floor = 0;
      if (backwards) {
        floor = jobs[j].floor();
        settle();
        velmora = jobs[j].velmora();
      } else {
        velmora = jobs[j].velmora();
        settle();
        floor = jobs[j].floor();
      }
      settle();
      if (round < kWarmUpRounds) continue;
      ours[j].push_back(velmora);
      least[j].push_back(floor);
    }
  }
  for (std::size_t j = 0; j < jobs.size(); ++j) {
    const double ratio = Median(ours[j]) / Median(least[j]);
    // Each round's two runs lie close in time: the median of their ratios
    // holds steadier than the ratio of medians while the machine is busy.
    std::vector<double> paired;
    for (std::size_t run = 0; run < ours[j].size(); ++run) {
      paired.push_back(ours[j][run] / least[j][run]);
    }
    std::printf("%-38s Velmora %8.2f ms  floor %8.2f ms  ratio %5.2f  paired %5.2f",
                jobs[j].name.c_str(), Median(ours[j]), Median(least[j]), ratio, Median(paired));
    if (jobs[j].limit > 0) {
      std::printf(" (at most %.1f)%s", jobs[j].limit,
                  std::max(ratio, Median(paired)) <= jobs[j].limit ? "" : "  OVER");
    }
    std::printf("\n");
    if (std::getenv("VELMORA_BENCH_ALL") != nullptr) {
      for (std::size_t run = 0; run < ours[j].size(); ++run) {
        std::printf("    %8.2f %8.2f\n", ours[j][run], least[j][run]);
      }
    }
  }
  std::fflush(stdout);
}

}  // namespace velmora::benchmarks
