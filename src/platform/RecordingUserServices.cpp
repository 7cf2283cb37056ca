#include "platform/RecordingUserServices.h"

#include <algorithm>
#include <cstring>

#include "platform/Failure.h"
#include "text/Text.h"

namespace velmora::platform {
void RecordingUserServices::ThrowIfFailing() {
  if (!failNext) return;
  const auto [number, description] = *failNext;
  failNext.reset();
  throw Failure(number, description);
}

int RecordingUserServices::ShowMessage(const std::string& text, const std::string& caption,
                                       std::uint32_t style) {
  messages.push_back(Message{text, caption, style});
  return kIdOk;
}

std::optional<std::string> RecordingUserServices::AskSaveFileName(
    const SaveDialogRequest& request) {
  saveRequests.push_back(request);
  ThrowIfFailing();
  return saveAnswer;
}

void RecordingUserServices::StartProgram(const std::string& application,
                                         const std::string& commandLine, int showCommand) {
  ThrowIfFailing();
  started.push_back(Started{application, commandLine, showCommand});
}

void RecordingUserServices::PutClipboardText(const std::string& text) {
  ThrowIfFailing();
  clipboard.push_back(text);
}

}  // namespace velmora::platform
