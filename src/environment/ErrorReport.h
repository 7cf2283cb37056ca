// The program's one way of telling the user that something failed.
#pragma once

#include <cstdint>
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

}  // namespace velmora::environment
