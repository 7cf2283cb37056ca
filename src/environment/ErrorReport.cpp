#include "environment/ErrorReport.h"

#include <new>
#include <stdexcept>

#include "environment/AppInfo.h"
#include "platform/Failure.h"

namespace velmora::environment {

std::string ErrorText(std::string_view module, std::string_view procedure,
                      std::string_view description, std::int32_t number) {
  std::string text = "Sorry, ";
  text += kTitle;
  text += " has encountered an error.\r\n\r\nDetails:\r\n";
  text += description;
  text += " (error " + std::to_string(number) + ")\r\n in module ";
  text += module;
  text += ", procedure ";
  text += procedure;
  return text;
}

std::string ErrorTitle() {
  return std::string("Error from ") + kTitle + " vs " + VersionText();
}

void ReportError(const platform::Platform& os, std::string_view module, std::string_view procedure,
                 std::string_view description, std::int32_t number) {
  (void)os.user.ShowMessage(ErrorText(module, procedure, description, number), ErrorTitle(),
                            platform::kMbOk);
}

FailureDetails DescribeFailure(const std::exception_ptr& failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const platform::Failure& own) {
    return {own.Number(), own.Description()};
  } catch (const std::bad_alloc&) {
    return {platform::kFailureOutOfMemory, "Out of memory"};
  } catch (const std::exception& other) {
    return {0, other.what()};
  } catch (...) {
    return {0, "An unexpected failure"};
  }
}

}  // namespace velmora::environment
