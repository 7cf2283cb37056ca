// Times Velmora under Wine (or Windows) against the least program doing the
// same job, in alternating runs within one session, and prints the medians
// and their ratio:
//
//   floor_timing.exe Velmora.exe startup_floor.exe [runs [jobs]]
//
// jobs names the jobs to time, any of "startup", "controls", "refill" and
// "report" (all four when left out).
//
// - Start-up: from starting the program until its window is shown with both
//   lists filled, Velmora.exe against startup_floor.exe, with a typical PATH
//   and with one of 2,900 entries. The user's environment key of the Wine
//   prefix holds the scenario's values for the length of the run.
// - Controls: the same start-up, against design_controls_floor.exe (beside
//   startup_floor.exe): the floor with the other controls of Velmora's
//   window, their font and the window's icons, and nothing behind them. No
//   limit: it shows what is left to Velmora's own work.
// - Sort refill: Velmora's imgSort_Click turning sorting off (clearing and
//   filling both lists again) against the floor window's refill, in this
//   process, with 2,900 PATH entries.
// - View Report: cmdView_Click against writing as many bytes to a temporary
//   file in the temporary folder, flushing it, moving it over the target and
//   starting the viewer. The registry keys are fenced as the tests fence them.
#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include "FloorWindow.h"
#include "Scenario.h"
#include "environment/Identity.h"
#include "environment/Lookups.h"
#include "text/Text.h"
#include "platform/Win32Platform.h"
#include "report/ReportBuilder.h"
#include "report/ReportCommands.h"
#include "report/ReportFile.h"
#include "support/TestPlatform.h"
#include "window/frmMain.h"

namespace velmora {
namespace {

using benchmarks::Scenario;
using Clock = std::chrono::steady_clock;
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, decltype(&CloseHandle)>;

double Milliseconds(Clock::time_point since) {
  return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

double Median(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  const std::size_t n = times.size();
  return n % 2 == 1 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
}

// A job timed against its floor: two ways of doing the same thing, each
// answering how long it took in milliseconds.
struct Job {
  std::string name;
  double limit;  // the ratio the job must stay within; 0 for none
  std::function<double()> velmora;
  std::function<double()> floor;
};

// Runs every job's two ways one after the other, all jobs in turn, `runs`
// times after two warm-up rounds, so that what else the machine does falls on
// all of them alike: odd rounds go backwards, floor first. Between two runs
// the machine is given a moment to finish what the last one left behind (a
// program's exit, its windows). Then prints each job's medians and ratio.
void Compare(const std::vector<Job>& jobs, int runs) {
  std::vector<std::vector<double>> ours(jobs.size());
  std::vector<std::vector<double>> least(jobs.size());
  auto settle = [] { Sleep(100); };
  constexpr int kWarmUpRounds = 2;
  for (int round = 0; round < kWarmUpRounds + runs; ++round) {
    const bool backwards = round % 2 == 1;
    for (std::size_t turn = 0; turn < jobs.size(); ++turn) {
      const std::size_t j = backwards ? jobs.size() - 1 - turn : turn;
      double velmora = 0;
      double floor = 0;
      if (backwards) {
        floor = jobs[j].floor();
        settle();
        velmora = jobs[j].velmora();
      } else {
        velmora = jobs[j].velmora();
        settle();
        floor = jobs[j].floor();
      }
      settle();
      if (round < kWarmUpRounds) continue;
      ours[j].push_back(velmora);
      least[j].push_back(floor);
    }
  }
  for (std::size_t j = 0; j < jobs.size(); ++j) {
    const double ratio = Median(ours[j]) / Median(least[j]);
    // Each round's two runs lie close in time: the median of their ratios
    // holds steadier than the ratio of medians while the machine is busy.
    std::vector<double> paired;
    for (std::size_t run = 0; run < ours[j].size(); ++run) {
      paired.push_back(ours[j][run] / least[j][run]);
    }
    std::printf("%-38s Velmora %8.2f ms  floor %8.2f ms  ratio %5.2f  paired %5.2f",
                jobs[j].name.c_str(), Median(ours[j]), Median(least[j]), ratio, Median(paired));
    if (jobs[j].limit > 0) {
      std::printf(" (at most %.1f)%s", jobs[j].limit,
                  std::max(ratio, Median(paired)) <= jobs[j].limit ? "" : "  OVER");
    }
    std::printf("\n");
    if (std::getenv("VELMORA_BENCH_ALL") != nullptr) {
      for (std::size_t run = 0; run < ours[j].size(); ++run) {
        std::printf("    %8.2f %8.2f\n", ours[j][run], least[j][run]);
      }
    }
  }
  std::fflush(stdout);
}

std::wstring Wide(const std::string& text) {
  const std::u16string wide = text::Utf8ToUtf16(text);
  return std::wstring(wide.begin(), wide.end());
}

// --- start-up ---------------------------------------------------------------

// Values of the real HKCU\Environment, put back as they were when this ends.
class UserEnvironment {
 public:
  explicit UserEnvironment(const std::vector<benchmarks::StoredValue>& values) {
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Environment", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key_, nullptr) != ERROR_SUCCESS) {
      throw std::runtime_error("HKCU\\Environment cannot be opened");
    }
    for (const auto& value : values) {
      const std::wstring name = Wide(value.name);
      Save(name);
      const std::wstring text = Wide(value.text);
      RegSetValueExW(key_, name.c_str(), 0, value.expandable ? REG_EXPAND_SZ : REG_SZ,
                     reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
  }
  ~UserEnvironment() {
    for (const auto& [name, saved] : saved_) {
      if (saved) {
        RegSetValueExW(key_, name.c_str(), 0, saved->first, saved->second.data(),
                       static_cast<DWORD>(saved->second.size()));
      } else {
        RegDeleteValueW(key_, name.c_str());
      }
    }
    RegCloseKey(key_);
  }
  UserEnvironment(const UserEnvironment&) = delete;
  UserEnvironment& operator=(const UserEnvironment&) = delete;

 private:
  void Save(const std::wstring& name) {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key_, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
      saved_[name] = std::nullopt;
      return;
    }
    std::vector<BYTE> data(size);
    RegQueryValueExW(key_, name.c_str(), nullptr, &type, data.data(), &size);
    data.resize(size);
    saved_[name] = std::make_pair(type, std::move(data));
  }

  HKEY key_ = nullptr;
  std::map<std::wstring, std::optional<std::pair<DWORD, std::vector<BYTE>>>> saved_;
};

// This process's environment with the scenario's PATH and variables, as a
// block for CreateProcessW.
std::wstring EnvironmentBlock(const Scenario& scenario) {
  std::map<std::wstring, std::wstring> variables;
  std::map<std::wstring, std::wstring> upperNames;  // one entry per name, any case
  wchar_t* const strings = GetEnvironmentStringsW();
  for (const wchar_t* at = strings; *at != L'\0'; at += wcslen(at) + 1) {
    const std::wstring entry(at);
    const std::size_t equals = entry.find(L'=', 1);
    if (equals == std::wstring::npos) continue;
    variables[entry.substr(0, equals)] = entry.substr(equals + 1);
  }
  FreeEnvironmentStringsW(strings);
  auto set = [&](const std::string& name, const std::string& value) {
    const std::wstring wide = Wide(name);
    std::erase_if(variables, [&](const auto& variable) {
      return CompareStringOrdinal(variable.first.c_str(), -1, wide.c_str(), -1, TRUE) == CSTR_EQUAL;
    });
    variables[wide] = Wide(value);
  };
  set("PATH", scenario.effectivePath);
  for (const auto& [name, value] : scenario.processVariables) set(name, value);
  std::wstring block;
  for (const auto& [name, value] : variables) block += name + L"=" + value + L'\0';
  block += L'\0';
  return block;
}

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
    throw std::runtime_error("the program cannot be started");
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

// Both scenarios share the user's key, and take turns.
void TimeStartUp(const std::string& title, double limit, const Scenario& typical,
                 const Scenario& longPath, const std::wstring& velmora, const std::wstring& floor,
                 int runs) {
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

// --- sort refill and View Report, in this process --------------------------

void Pump() {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// A fenced registry and environment holding the scenario.
std::unique_ptr<testing_support::TestPlatform> Prepare(const Scenario& scenario) {
  auto test = testing_support::MakeWin32TestPlatform();
  test->SetVariable("PATH", scenario.effectivePath);
  for (const auto& [name, value] : scenario.processVariables) test->SetVariable(name, value);
  for (const auto& [root, values] : {std::pair{platform::kCurrentUser, &scenario.userValues},
                                     std::pair{platform::kLocalMachine, &scenario.systemValues}}) {
    const char* key = root == platform::kCurrentUser ? environment::kUserEnvironmentKey
                                                     : environment::kSystemEnvironmentKey;
    for (const auto& value : *values) {
      test->SetString(root, key, value.name, value.text,
                      value.expandable ? platform::kRegExpandSz : platform::kRegSz);
    }
  }
  return test;
}

void TimeRefill(const Scenario& scenario, int runs) {
  const auto test = Prepare(scenario);
  window::frmMain form(test->Services());
  form.Create(GetModuleHandleW(nullptr), SW_SHOWNOACTIVATE);
  // Side by side, neither covering the other: a covered window paints less.
  SetWindowPos(form.Handle(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  floor_program::FloorWindow least;
  least.Refill();
  RECT velmora{};
  GetWindowRect(form.Handle(), &velmora);
  SetWindowPos(least.Handle(), nullptr, velmora.right + 8, 0, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(least.Handle(), SW_SHOWNOACTIVATE);
  Pump();
  Compare({{std::string("Sort refill, ") + scenario.name, 1.2,
            [&] {
              form.imgSort_Click();  // sorting on
              // As a user would, wait for the sorted lists to be painted.
              Pump();
              Sleep(50);
              Pump();
              const auto start = Clock::now();
              form.imgSort_Click();  // off: cleared and filled again
              const double time = Milliseconds(start);
              Pump();
              return time;
            },
            [&] {
              const auto start = Clock::now();
              least.Refill();
              const double time = Milliseconds(start);
              Pump();
              return time;
            }}},
          runs);
}

// Ends the viewers this process started, by their ids, once they are up.
void EndStartedViewers() {
  const UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0), &CloseHandle);
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry)) {
    if (entry.th32ParentProcessID != GetCurrentProcessId() ||
        CompareStringOrdinal(entry.szExeFile, -1, L"notepad.exe", -1, TRUE) != CSTR_EQUAL) {
      continue;
    }
    const UniqueHandle viewer(
        OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE,
                    entry.th32ProcessID),
        &CloseHandle);
    if (!viewer) continue;
    WaitForInputIdle(viewer.get(), 5000);
    TerminateProcess(viewer.get(), 0);
    WaitForSingleObject(viewer.get(), 5000);
  }
}

// What the floor does for View Report: the bytes to a temporary file in the
// temporary folder, flushed, moved over the target, and the viewer started.
void FloorViewReport(const std::string& folder, const std::string& target,
                     const std::string& bytes) {
  const std::string temporary = folder + "velmora-floor.tmp";
  const HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  FlushFileBuffers(file);
  CloseHandle(file);
  MoveFileExA(temporary.c_str(), target.c_str(),
              MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  std::string commandLine = "Notepad.exe " + target;
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION started{};
  if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &started)) {
    CloseHandle(started.hProcess);
    CloseHandle(started.hThread);
  }
}

void TimeViewReport(const Scenario& scenario, double limit, int runs) {
  const auto test = Prepare(scenario);
  const platform::Platform os = test->Services();
  const std::string folder = environment::GetTempFolder(os);
  const std::string report = folder + "\\" + report::ProposedFileName(os);
  const std::string floorTarget = folder + "velmora-floor-report.txt";
  const std::string bytes(report::EncodeReport(report::ReportText(os)).size(), 'r');
  Compare({{std::string("View Report, ") + scenario.name, limit,
            [&] {
              const auto start = Clock::now();
              report::cmdView_Click(os);
              const double time = Milliseconds(start);
              EndStartedViewers();
              return time;
            },
            [&] {
              const auto start = Clock::now();
              FloorViewReport(folder, floorTarget, bytes);
              const double time = Milliseconds(start);
              EndStartedViewers();
              return time;
            }}},
          runs);
  DeleteFileA(report.c_str());
  DeleteFileA(floorTarget.c_str());
}

}  // namespace

int Run(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: floor_timing Velmora.exe startup_floor.exe [runs [jobs]]\n");
    return 2;
  }
  const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 11;
  const std::string jobs = argc > 4 ? argv[4] : "startup,controls,refill,report";
  auto wanted = [&](const char* job) { return jobs.find(job) != std::string::npos; };
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_STANDARD_CLASSES;
  InitCommonControlsEx(&controls);
  try {
    const std::wstring velmora = Wide(argv[1]);
    const std::wstring floor = Wide(argv[2]);
    std::printf("Medians of %d alternating runs each, after two warm-up rounds\n", runs);
    if (wanted("startup")) {
      TimeStartUp("Start-up, ", 1.2, benchmarks::Typical(), benchmarks::LongPath(), velmora, floor,
                  runs);
    }
    if (wanted("controls")) {
      const std::wstring designFloor =
          floor.substr(0, floor.find_last_of(L"\\/") + 1) + L"design_controls_floor.exe";
      TimeStartUp("Controls, ", 0, benchmarks::Typical(), benchmarks::LongPath(), velmora,
                  designFloor, runs);
    }
    if (wanted("refill")) TimeRefill(benchmarks::LongPath(), runs);
    if (wanted("report")) {
      TimeViewReport(benchmarks::Typical(), 1.5, runs);
      TimeViewReport(benchmarks::Largest(), 3.0, runs);
    }
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "floor_timing: %s\n", failure.what());
    return 1;
  }
  return 0;
}

}  // namespace velmora

int main(int argc, char** argv) {
  return velmora::Run(argc, argv);
}
