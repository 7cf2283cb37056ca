// The program's one way of telling the user that something failed, and the
// one trap that turns whatever failure escapes a procedure into that message.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace velmora::environment {

// The error box's text and title, as ReportError shows them.
[[nodiscard]] std::string ErrorText(std::string_view module, std::string_view procedure,
                                    std::string_view description, std::int32_t number);
[[nodiscard]] std::string ErrorTitle();

// Shows one modal box (OK only, no icon) naming the failure and where it
// happened, and returns when the user closes it.
void ReportError(const platform::Platform& os, std::string_view module, std::string_view procedure,
                 std::string_view description, std::int32_t number);

// A failure as the error box shows it.
struct FailureDetails {
  std::int32_t number = 0;
  std::string description;
};

// What failure says: the program's own failure its number and description,
// a want of memory "Out of memory" (7), any other exception its text (0),
// anything else a word that something unexpected failed (0).
[[nodiscard]] FailureDetails DescribeFailure(const std::exception_ptr& failure);

// Runs action. A failure that escapes it, of whatever kind, is shown in the
// error box with module and procedure, and goes no further. True when action
// ended normally.
template <class Action>
bool Trapped(const platform::Platform& os, std::string_view module, std::string_view procedure,
             Action&& action) {
  try {
    action();
    return true;
  } catch (...) {
    const FailureDetails failure = DescribeFailure(std::current_exception());
    ReportError(os, module, procedure, failure.description, failure.number);
    return false;
  }
}

}  // namespace velmora::environment
