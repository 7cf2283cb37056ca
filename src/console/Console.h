// VelmoraReport.exe: the environment report from a command line, as text or
// JSON, or compared with a saved report. The program's whole logic, apart
// from the console itself (main.cpp binds that to Windows).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"

namespace velmora::console {

inline constexpr int kExitWritten = 0;    // written; or compared, no difference
inline constexpr int kExitDifferent = 1;  // compared, differences found
inline constexpr int kExitFailed = 2;     // bad use, or a failure

struct Options {
  bool help = false;
  bool json = false;
  bool anonymize = false;
  std::optional<std::string> output;
  std::vector<std::string> compare;  // the baseline, and the report to compare it with
};

// The options, or the one line that says what is wrong with them.
struct Usage {
  std::optional<Options> options;
  std::string error;
};
[[nodiscard]] Usage ParseOptions(const std::vector<std::string>& args);

[[nodiscard]] std::string UsageText();

// The program's standard streams and the files it reads.
class ConsoleIo {
 public:
  virtual ~ConsoleIo() = default;

  // Standard output: a console window is given the characters (UTF-8 here),
  // anything else (a pipe, a file) the bytes. False when it cannot be written.
  [[nodiscard]] virtual bool WriteOut(std::string_view characters, std::string_view bytes) = 0;

  // One line on standard error; its line end is added.
  virtual void WriteError(std::string_view line) = 0;

  // A whole file, or nothing and why not.
  [[nodiscard]] virtual std::optional<std::string> ReadFile(const std::string& path,
                                                            std::string& reason) = 0;
};

// Runs the program on the arguments after its name, and returns its exit
// code. Whatever fails is said in one line on standard error; a file given
// with --output is written whole or not at all.
[[nodiscard]] int Run(const platform::Platform& os, ConsoleIo& io,
                      const std::vector<std::string>& args);

}  // namespace velmora::console
