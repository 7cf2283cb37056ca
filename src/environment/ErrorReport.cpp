#include "environment/ErrorReport.h"

#include "environment/AppInfo.h"

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

}  // namespace velmora::environment
