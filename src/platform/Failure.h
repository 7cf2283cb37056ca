// The one failure type of the program: a number and a description, as the
// error box shows them. A failed Win32 call carries the Win32 error code and
// the system's message text; the program's own failures carry the numbers
// below.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace velmora::platform {

class Failure : public std::runtime_error {
 public:
  Failure(std::int32_t number, const std::string& description)
      : std::runtime_error(description), number_(number) {}

  [[nodiscard]] std::int32_t Number() const noexcept { return number_; }
  [[nodiscard]] std::string Description() const { return what(); }

 private:
  std::int32_t number_;
};

// The program's own failure numbers.
inline constexpr std::int32_t kFailureDuplicateKey = 457;
inline constexpr std::int32_t kFailureDialogCancelled = 32755;
inline constexpr std::int32_t kFailureNoTempFolder = 76;
inline constexpr std::int32_t kFailureOutOfMemory = 7;

}  // namespace velmora::platform
