// The user services of the in-memory double: message boxes, the Save As
// dialog, started programs and the clipboard, recorded rather than shown.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Platform.h"

namespace velmora::platform {

// Records what the program would have shown, asked or started, and answers
// as the test tells it to. Nothing ever blocks.
class RecordingUserServices final : public UserServicesApi {
 public:
  struct Message {
    std::string text;
    std::string caption;
    std::uint32_t style;
  };
  struct Started {
    std::string application;
    std::string commandLine;
    int showCommand;
  };

  std::vector<Message> messages;
  std::vector<SaveDialogRequest> saveRequests;
  std::vector<Started> started;
  std::vector<std::string> clipboard;  // every text put on the clipboard

  // The Save dialog's answer: a path, or nothing for a cancel.
  std::optional<std::string> saveAnswer;
  // When set, the next StartProgram, AskSaveFileName or PutClipboardText throws it.
  std::optional<std::pair<std::int32_t, std::string>> failNext;

  int ShowMessage(const std::string& text, const std::string& caption,
                  std::uint32_t style) override;
  std::optional<std::string> AskSaveFileName(const SaveDialogRequest& request) override;
  void StartProgram(const std::string& application, const std::string& commandLine,
                    int showCommand) override;
  void PutClipboardText(const std::string& text) override;

 private:
  void ThrowIfFailing();
};

}  // namespace velmora::platform
