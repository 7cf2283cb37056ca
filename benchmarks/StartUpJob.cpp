#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <type_traits>
#include <vector>

#include "Comparison.h"
#include "Jobs.h"
#include "TimedEnvironment.h"
#include "text/Text.h"

namespace velmora::benchmarks {
namespace {

using UniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, decltype(&CloseHandle)>;

// The top-level windows of one process, found as they come.
struct Windows {
  DWORD process = 0;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindows(HWND window, LPARAM lParam) {
  auto& windows = *reinterpret_cast<Windows*>(lParam);
  if (std::find(windows.found.begin(), windows.found.end(), window) != windows.found.end()) {
    return TRUE;
  }
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == windows.process) windows.found.push_back(window);
  return TRUE;
}

// The number of items of the window's first list view.
LRESULT FirstListCount(HWND window) {
  const HWND list = FindWindowExW(window, nullptr, WC_LISTVIEWW, nullptr);
  DWORD_PTR count = 0;
  // Not "abort if hung": a program that has not yet asked for a message since
  // it started counts as hung, and a slow start-up is what is measured here.
  SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 30000, &count);
  return static_cast<LRESULT>(count);
}

// Starts program with environment and waits until it shows a window; then
// closes it. The time from the start until the window is shown.
double StartUntilShown(const std::wstring& program, std::wstring environment,
                       std::size_t expectedItems) {
  std::wstring commandLine = L"\"" + program + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION started{};
  const auto start = Clock::now();
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                      CREATE_UNICODE_ENVIRONMENT, environment.data(), nullptr, &startup,
                      &started)) {
    throw std::runtime_error("a program cannot be started (error " +
                             std::to_string(GetLastError()) + ")");
  }
  const UniqueHandle process(started.hProcess, &CloseHandle);
  const UniqueHandle thread(started.hThread, &CloseHandle);
  // Looking costs the Wine server, which the program under test needs too:
  // each millisecond only the program's windows are asked whether they are
  // shown, and every fourth one all windows are searched for new ones.
  Windows windows{started.dwProcessId, {}};
  HWND window = nullptr;
  for (int round = 0; window == nullptr; ++round) {
    if (round % 4 == 0) EnumWindows(&CollectWindows, reinterpret_cast<LPARAM>(&windows));
    for (const HWND candidate : windows.found) {
      if (IsWindowVisible(candidate)) window = candidate;
    }
    if (window == nullptr && WaitForSingleObject(process.get(), 1) == WAIT_OBJECT_0) {
      throw std::runtime_error("the program ended before it showed its window");
    }
  }
  const double shown = Milliseconds(start);
  const auto items = static_cast<std::size_t>(FirstListCount(window));
  PostMessageW(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.get(), 10000) != WAIT_OBJECT_0) {
    TerminateProcess(process.get(), 1);
    WaitForSingleObject(process.get(), 10000);
  }
  if (items != expectedItems) {
    throw std::runtime_error("a program showed " + std::to_string(items) + " items, not " +
                             std::to_string(expectedItems));
  }
  return shown;
}

}  // namespace

// Both scenarios share the user's key, and take turns.
void TimeStartUp(const std::string& title, double limit, const std::wstring& velmora,
                 const std::wstring& floor, int runs) {
  const Scenario typical = Typical();
  const Scenario longPath = LongPath();
  const UserEnvironment user(typical.userValues);
  std::vector<Job> jobs;
  for (const Scenario* scenario : {&typical, &longPath}) {
    const std::wstring environment = EnvironmentBlock(*scenario);
    const std::size_t items = text::SplitSearchList(scenario->effectivePath).size();
    jobs.push_back({title + scenario->name, limit,
                    [=] { return StartUntilShown(velmora, environment, items); },
                    [=] { return StartUntilShown(floor, environment, items); }});
  }
  Compare(jobs, runs);
}

}  // namespace velmora::benchmarks
