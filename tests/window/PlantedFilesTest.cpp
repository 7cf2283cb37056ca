// Nobody gets in through Velmora: a program named Notepad.exe lying beside
// the program or in its current folder is never started in place of the
// system's, and a library of a system's name lying beside Velmora.exe is
// never loaded. Real starts, real files, real loader; the planted stand-ins
// (PlantedStandIn.cpp) leave a record of each run or load.
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Win32Platform.h"
#include "support/ScratchFolder.h"
#include "support/WideText.h"
#include "text/Text.h"
#include "window/Owners.h"
#include "window/resource.h"

namespace velmora {
namespace {

using testing_support::ScratchFolder;
using testing_support::Utf16Of;

// The folder of this test program, where the stand-ins are built.
std::string ProgramFolder() {
  wchar_t path[MAX_PATH * 4] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
  const std::wstring_view whole(path);
  return testing_support::Utf8Of(whole.substr(0, whole.rfind(L'\\')));
}

// A copy of a file, removed again when the object goes.
class PlantedFile {
 public:
  PlantedFile(const std::string& from, std::string to) : path_(std::move(to)) {
    if (!CopyFileW(Utf16Of(from).c_str(), Utf16Of(path_).c_str(), FALSE)) {
      throw std::runtime_error("cannot plant " + path_);
    }
  }
  ~PlantedFile() { DeleteFileW(Utf16Of(path_).c_str()); }
  PlantedFile(const PlantedFile&) = delete;
  PlantedFile& operator=(const PlantedFile&) = delete;
  [[nodiscard]] const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// The process's current folder, changed for as long as the object lives.
struct CurrentFolder {
  explicit CurrentFolder(const std::string& folder) {
    SetCurrentDirectoryW(Utf16Of(folder).c_str());
  }
  ~CurrentFolder() { SetCurrentDirectoryW(previous.c_str()); }
  CurrentFolder(const CurrentFolder&) = delete;
  const std::wstring previous = std::filesystem::current_path().wstring();
};

struct Record {
  std::string module;       // the program that ran or the library loaded
  std::string commandLine;  // the process's
};

// While the object lives, every stand-in that runs or is loaded, wherever it
// lies, appends its record to a file of the scratch folder.
class Recorder {
 public:
  explicit Recorder(const ScratchFolder& scratch) : file_(scratch.Join("records.txt")) {
    SetEnvironmentVariableW(L"VELMORA_RECORD", Utf16Of(file_).c_str());
  }
  ~Recorder() { SetEnvironmentVariableW(L"VELMORA_RECORD", nullptr); }
  Recorder(const Recorder&) = delete;
  Recorder& operator=(const Recorder&) = delete;

  // Every record so far, once there are at least count of them or after a
  // generous wait for a program that does not come (a bound, not a measure).
  [[nodiscard]] std::vector<Record> WaitFor(std::size_t count) const {
    std::vector<Record> records;
    for (int attempt = 0; attempt < 300 && records.size() < count; ++attempt, Sleep(100)) {
      records.clear();
      std::ifstream lines{std::filesystem::path(Utf16Of(file_))};
      for (std::string line; std::getline(lines, line);) {
        const std::size_t tab = line.find('\t');
        if (tab != std::string::npos)
          records.push_back({line.substr(0, tab), line.substr(tab + 1)});
      }
    }
    return records;
  }

 private:
  std::string file_;
};

void CloseKernelHandle(HANDLE handle) noexcept {
  CloseHandle(handle);
}
using UniqueHandle = window::UniqueHandle<HANDLE, CloseKernelHandle>;

// Started by its full path through the binding, the system's Notepad.exe
// runs, not a planted copy that a search for the bare name would find.
TEST(PlantedProgram, StartedByFullPathIsTheSystemsOwn) {
  const ScratchFolder scratch;
  const Recorder recorder(scratch);
  for (const char* folder : {"system32", "current"}) scratch.MakeFolder(folder);
  const std::string standIn = ProgramFolder() + "\\command_line_recorder.exe";
  const PlantedFile system(standIn, scratch.Join("system32\\Notepad.exe"));
  const PlantedFile beside(standIn, ProgramFolder() + "\\Notepad.exe");
  const PlantedFile current(standIn, scratch.Join("current\\Notepad.exe"));
  const CurrentFolder change(scratch.Join("current"));
  // The control: the platform's own search for the bare name finds a planted
  // copy first.
  std::wstring control = L"Notepad.exe control";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION started{};
  ASSERT_TRUE(CreateProcessW(nullptr, control.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &started));
  const UniqueHandle thread(started.hThread), process(started.hProcess);
  const std::vector<Record> found = recorder.WaitFor(1);
  ASSERT_EQ(found.size(), 1u);
  ASSERT_FALSE(text::EqualsNoCase(found[0].module, system.Path())) << found[0].module;

  platform::Win32UserServices().StartProgram(system.Path(), "Notepad.exe report.txt",
                                             platform::kSwShowNormal);
  const std::vector<Record> records = recorder.WaitFor(2);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_TRUE(text::EqualsNoCase(records[1].module, system.Path())) << records[1].module;
  EXPECT_EQ(records[1].commandLine, "Notepad.exe report.txt");
}

// The Velmora.exe of this build, under Wine's name for the build's folder.
std::string BuiltVelmora() {
  std::string path = "Z:" VELMORA_PROGRAM;
  std::ranges::replace(path, '/', '\\');
  return path;
}

// Waits, a bounded while, for a top-level window of class className, of
// process when that is given; its handle or nullptr.
HWND WaitForWindow(const wchar_t* className, DWORD process = 0) {
  for (int attempt = 0; attempt < 300; ++attempt, Sleep(100)) {
    for (HWND window = FindWindowExW(nullptr, nullptr, className, nullptr); window != nullptr;
         window = FindWindowExW(nullptr, window, className, nullptr)) {
      DWORD owner = 0;
      GetWindowThreadProcessId(window, &owner);
      if (process == 0 || owner == process) return window;
    }
  }
  return nullptr;
}

// Owns a process that another started, and ends it.
void EndProcess(HANDLE process) noexcept {
  TerminateProcess(process, 0);
  WaitForSingleObject(process, 10000);
  CloseHandle(process);
}
using Ended = window::UniqueHandle<HANDLE, EndProcess>;

// Wine loads its own comdlg32 wherever a file of that name lies. Told to
// take a file first for Velmora.exe, it searches as Windows does; Windows
// itself ignores the setting.
class FilesFirstUnderWine {
 public:
  FilesFirstUnderWine() {
    const wchar_t order[] = L"native,builtin";
    RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"comdlg32", REG_SZ, order, sizeof(order));
  }
  ~FilesFirstUnderWine() { RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, L"comdlg32"); }
  FilesFirstUnderWine(const FilesFirstUnderWine&) = delete;
  FilesFirstUnderWine& operator=(const FilesFirstUnderWine&) = delete;

 private:
  static constexpr const wchar_t* kKey = L"Software\\Wine\\AppDefaults\\Velmora.exe\\DllOverrides";
};

// Velmora.exe, started by its full path, hardens the loader itself before it
// loads anything by a bare name: the common dialog library it loads for the
// Save As dialog comes from the system, never from beside the program.
TEST(PlantedLibrary, BesideVelmoraIsNeverLoaded) {
  const ScratchFolder scratch;
  const Recorder recorder(scratch);
  const PlantedFile program(BuiltVelmora(), scratch.Join("Velmora.exe"));
  const std::string planted = ProgramFolder() + "\\velmora_planted.dll";
  const PlantedFile library(planted, scratch.Join("comdlg32.dll"));
  // The control: the planted library leaves its record when it is loaded.
  (void)LoadLibraryW(Utf16Of(planted).c_str());
  ASSERT_EQ(recorder.WaitFor(1).size(), 1u);
  const FilesFirstUnderWine loadOrder;

  platform::Win32UserServices().StartProgram(program.Path(), "Velmora",
                                             platform::kSwShowNoActivate);
  const HWND velmora = WaitForWindow(L"Velmora.frmMain");
  ASSERT_NE(velmora, nullptr);
  DWORD id = 0;
  GetWindowThreadProcessId(velmora, &id);
  const Ended ended(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
  PostMessageW(velmora, WM_COMMAND, MAKEWPARAM(IDC_CMDSAVE, BN_CLICKED), 0);
  // The Save As dialog, or the box that says why it cannot be shown.
  ASSERT_NE(WaitForWindow(L"#32770", id), nullptr);
  const std::vector<Record> loads = recorder.WaitFor(1);
  for (std::size_t i = 1; i < loads.size(); ++i) ADD_FAILURE() << loads[i].module << " loaded";
}

}  // namespace
}  // namespace velmora
