// The console program's streams and files, recorded.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "console/Console.h"

namespace velmora::console_testing {

struct RecordingIo final : console::ConsoleIo {
  std::string characters;  // what a console window would show
  std::string bytes;       // what a pipe or file would receive
  std::string errors;      // standard error, each line ended by "\n"
  std::map<std::string, std::string> files;
  bool refuseOutput = false;

  bool WriteOut(std::string_view shown, std::string_view written) override {
    if (refuseOutput) return false;
    characters += shown;
    bytes += written;
    return true;
  }
  void WriteError(std::string_view line) override { (errors += line) += "\n"; }
  std::optional<std::string> ReadFile(const std::string& path, std::string& reason) override {
    const auto found = files.find(path);
    if (found != files.end()) return found->second;
    reason = "The system cannot find the file specified.";
    return std::nullopt;
  }
};

}  // namespace velmora::console_testing
