// Nobody gets in through Velmora: a program named Notepad.exe lying beside
// the program or in its current folder is never started, and a library of a
// system's name lying beside Velmora.exe is never loaded. Real starts, real
// files, real loader.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/FakePlatform.h"
#include "platform/Win32Platform.h"
#include "report/ReportCommands.h"
#include "support/PlantedFiles.h"
#include "support/ScratchFolder.h"
#include "support/WideText.h"
#include "window/Owners.h"
#include "window/resource.h"

namespace velmora {
namespace {

using testing_support::CurrentFolderChange;
using testing_support::PlantedFile;
using testing_support::ProgramFolder;
using testing_support::SamePath;
using testing_support::ScratchFolder;
using testing_support::StartRecord;
using testing_support::StartRecorder;

void CloseKernelHandle(HANDLE handle) noexcept {
  CloseHandle(handle);
}
using UniqueHandle = window::UniqueHandle<HANDLE, CloseKernelHandle>;

// What the platform itself starts for a bare program name.
void StartByBareName(const std::string& commandLine) {
  std::wstring line = testing_support::Utf16Of(commandLine);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION started{};
  ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &started));
  const UniqueHandle thread(started.hThread);
  const UniqueHandle process(started.hProcess);
}

TEST(PlantedProgram, ViewReportStartsTheSystemsNotepadByItsFullPath) {
  const ScratchFolder scratch;
  const StartRecorder recorder(scratch.Join("starts.txt"));
  scratch.MakeFolder("system32");
  scratch.MakeFolder("current");
  scratch.MakeFolder("temp");
  const std::string standIn = StartRecorder::Program();
  const PlantedFile system(standIn, scratch.Join("system32\\Notepad.exe"));
  const PlantedFile beside(standIn, ProgramFolder() + "\\Notepad.exe");
  const PlantedFile current(standIn, scratch.Join("current\\Notepad.exe"));
  const CurrentFolderChange change(scratch.Join("current"));
  // The control: the platform's own search for the bare name finds a planted
  // copy first.
  StartByBareName("Notepad.exe control");
  ASSERT_EQ(recorder.WaitFor(1).size(), 1u);

  platform::FakePlatform fake;
  platform::Win32UserServices win32;
  const platform::Platform os{
      fake.registry, fake.environment, fake.identity, fake.files, fake.clock, win32, nullptr};
  fake.identity.systemFolder = scratch.Join("system32");
  fake.identity.tempPath = scratch.Join("temp") + "\\";
  fake.files.AddFolder(fake.identity.tempPath);
  report::cmdView_Click(os);

  const std::vector<StartRecord> started = recorder.WaitFor(2);
  ASSERT_EQ(started.size(), 2u);
  EXPECT_TRUE(SamePath(started[0].program, beside.Path()) ||
              SamePath(started[0].program, current.Path()))
      << started[0].program;
  EXPECT_TRUE(SamePath(started[1].program, system.Path())) << started[1].program;
  EXPECT_EQ(started[1].commandLine,
            "Notepad.exe " + fake.identity.tempPath + "\\" + report::ProposedFileName(os));
}

// The Velmora.exe of this build, under Wine's name for the build's folder.
std::string BuiltVelmora() {
  std::string path = "Z:" VELMORA_PROGRAM;
  for (char& c : path) c = c == '/' ? '\\' : c;
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
  const StartRecorder recorder(scratch.Join("loads.txt"));
  const PlantedFile program(BuiltVelmora(), scratch.Join("Velmora.exe"));
  const std::string planted = ProgramFolder() + "\\velmora_planted.dll";
  const PlantedFile library(planted, scratch.Join("comdlg32.dll"));
  // The control: the planted library leaves its record when it is loaded.
  (void)LoadLibraryW(testing_support::Utf16Of(planted).c_str());
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
  const std::vector<StartRecord> loads = recorder.WaitFor(1);
  for (std::size_t i = 1; i < loads.size(); ++i) ADD_FAILURE() << loads[i].program << " loaded";
}

}  // namespace
}  // namespace velmora
