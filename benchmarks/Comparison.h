// Timing one job two ways, Velmora's and the least program's, in
// alternating runs, and printing the medians and their ratios.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace velmora::benchmarks {

using Clock = std::chrono::steady_clock;

// Milliseconds from since until now.
double Milliseconds(Clock::time_point since);

// A job timed against its floor: two ways of doing the same thing, each
// answering how long it took in milliseconds.
struct Job {
  std::string name;
  double limit;  // the ratio the job must stay within; 0 for none
  std::function<double()> velmora;
  std::function<double()> floor;
};

// Runs every job's two ways one after the other, all jobs in turn, `runs`
// times after two warm-up rounds, and prints each job's medians and ratio.
void Compare(const std::vector<Job>& jobs, int runs);

}  // namespace velmora::benchmarks
