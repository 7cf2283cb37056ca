// The clock of the in-memory double: a fixed local time the test sets.
#pragma once

#include "platform/Platform.h"

namespace velmora::platform {

class FakeClock final : public ClockApi {
 public:
  LocalTime now{2011, 3, 7, 14, 5, 9};
  LocalTime Now() override { return now; }
};

}  // namespace velmora::platform
