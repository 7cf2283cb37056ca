#include <windows.h>

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <type_traits>

#include "Comparison.h"
#include "Jobs.h"
#include "PreparedPlatform.h"
#include "console/Console.h"

namespace velmora::benchmarks {
namespace {

using UniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, decltype(&CloseHandle)>;

// A file standing for the pipe an administrator's tool reads, emptied for
// each run; the started programs inherit it as their standard output.
UniqueHandle OutputFile(const std::wstring& path) {
  SECURITY_ATTRIBUTES inherited{sizeof(inherited), nullptr, TRUE};
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr),
                    &CloseHandle);
  if (file.get() == INVALID_HANDLE_VALUE) throw std::runtime_error("no output file");
  return file;
}

// Milliseconds from starting the program until it has ended.
double TimeProcess(const std::wstring& program, const std::wstring& arguments, HANDLE out) {
  SetFilePointer(out, 0, nullptr, FILE_BEGIN);
  SetEndOfFile(out);
  std::wstring commandLine = L"\"" + program + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = out;
  startup.hStdError = out;
  PROCESS_INFORMATION started{};
  const auto start = Clock::now();
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                      nullptr, nullptr, &startup, &started)) {
    throw std::runtime_error("cannot start a console program");
  }
  const UniqueHandle process(started.hProcess, &CloseHandle);
  CloseHandle(started.hThread);
  WaitForSingleObject(process.get(), INFINITE);
  return Milliseconds(start);
}

// Standard output counted and let go.
struct DiscardingIo final : console::ConsoleIo {
  std::size_t written = 0;
  bool WriteOut(std::string_view, std::string_view bytes) override {
    written += bytes.size();
    return true;
  }
  void WriteError(std::string_view) override {}
  std::optional<std::string> ReadFile(const std::string&, std::string&) override {
    return std::nullopt;
  }
};

}  // namespace

void TimeConsoleReport(const std::wstring& velmoraReport, const std::wstring& floor, double limit,
                       int runs) {
  wchar_t folder[MAX_PATH + 1];
  GetTempPathW(MAX_PATH + 1, folder);
  const std::wstring path = std::wstring(folder) + L"velmora-console.out";
  const UniqueHandle out = OutputFile(path);
  (void)TimeProcess(velmoraReport, L"", out.get());
  LARGE_INTEGER size{};
  GetFileSizeEx(out.get(), &size);
  const std::wstring count = std::to_wstring(size.QuadPart);
  Compare({{"Console text report (" + std::to_string(size.QuadPart) + " bytes), ", limit,
            [&] { return TimeProcess(velmoraReport, L"", out.get()); },
            [&] { return TimeProcess(floor, count, out.get()); }}},
          runs);
  DeleteFileW(path.c_str());
}

void TimeConsoleJson(const Scenario& scenario, double limit, int runs) {
  const auto test = Prepare(scenario);
  const platform::Platform os = test->Services();
  DiscardingIo io;
  const auto timed = [&](std::vector<std::string> args) {
    const auto start = Clock::now();
    if (console::Run(os, io, args) != console::kExitWritten) throw std::runtime_error("no report");
    return Milliseconds(start);
  };
  Compare({{std::string("Console JSON against its text report, ") + scenario.name, limit,
            [&] { return timed({"--json"}); }, [&] { return timed({}); }}},
          runs);
}

}  // namespace velmora::benchmarks
