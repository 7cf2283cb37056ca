#include <windows.h>
#include <tlhelp32.h>

#include <memory>
#include <string>
#include <type_traits>

#include "Comparison.h"
#include "Jobs.h"
#include "PreparedPlatform.h"
#include "environment/Identity.h"
#include "report/ReportBuilder.h"
#include "report/ReportCommands.h"
#include "report/ReportFile.h"

namespace velmora::benchmarks {
namespace {

using UniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, decltype(&CloseHandle)>;

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

}  // namespace

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

}  // namespace velmora::benchmarks
