// The program's own code timed in this process, on a fenced registry and
// environment that hold a scenario.
#pragma once

#include <memory>

#include "Scenario.h"
#include "support/TestPlatform.h"

namespace velmora::benchmarks {

// A fenced registry and environment holding the scenario.
std::unique_ptr<testing_support::TestPlatform> Prepare(const Scenario& scenario);

// Dispatches every message waiting for this thread.
void Pump();

}  // namespace velmora::benchmarks
