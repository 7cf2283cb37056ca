// Nobody gets in through Velmora: programs named Notepad.exe and Explorer.exe
// lying beside the program or in its current folder are never started, an
// entry that names a program is never run, and a library lying there is never
// loaded once the loader is hardened. Real starts, real files, real loader.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "WindowFixture.h"
#include "platform/Win32Platform.h"
#include "report/ReportCommands.h"
#include "support/PlantedFiles.h"
#include "support/ScratchFolder.h"
#include "support/WideText.h"
#include "window/Owners.h"

namespace velmora {
namespace {

using testing_support::CurrentFolderChange;
using testing_support::PlantedFile;
using testing_support::ProgramFolder;
using testing_support::SamePath;
using testing_support::ScratchFolder;
using testing_support::StartRecord;
using testing_support::StartRecorder;

void ReleaseModule(HMODULE module) noexcept {
  FreeLibrary(module);
}
void CloseKernelHandle(HANDLE handle) noexcept {
  CloseHandle(handle);
}
using UniqueModule = window::UniqueHandle<HMODULE, ReleaseModule>;
using UniqueHandle = window::UniqueHandle<HANDLE, CloseKernelHandle>;

// Starts programs for real; every box it is asked to show is only recorded,
// so that nothing waits for a user.
class RealStarts final : public platform::UserServicesApi {
 public:
  std::vector<std::string> messages;

  int ShowMessage(const std::string& text, const std::string&, std::uint32_t) override {
    messages.push_back(text);
    return platform::kIdOk;
  }
  std::optional<std::string> AskSaveFileName(const platform::SaveDialogRequest&) override {
    return std::nullopt;
  }
  void StartProgram(const std::string& application, const std::string& commandLine,
                    int showCommand) override {
    win32_.StartProgram(application, commandLine, showCommand);
  }
  void PutClipboardText(const std::string&) override {}

 private:
  platform::Win32UserServices win32_;
};

// What the platform itself starts for a bare program name: the control that
// shows the planted copies are where its search looks first.
void StartByBareName(const std::wstring& commandLine) {
  std::wstring line = commandLine;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION started{};
  ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &started));
  const UniqueHandle thread(started.hThread);
  const UniqueHandle process(started.hProcess);
}

// The stand-in planted under a system program's name: in a system folder of
// the test's own, beside the test program and in the current folder.
class Planted : public window_tests::WindowTest {
 protected:
  // Plants the stand-in as name and starts name by its bare name as the
  // platform does: that control start shows the platform's own search finds
  // a planted copy first.
  void PlantAs(const std::string& systemFolder, const std::string& name) {
    scratch_.MakeFolder(systemFolder);
    scratch_.MakeFolder("current");
    const std::string standIn = StartRecorder::Program();
    system_.emplace(standIn, scratch_.Join(systemFolder + "\\" + name));
    beside_.emplace(standIn, ProgramFolder() + "\\" + name);
    current_.emplace(standIn, scratch_.Join("current\\" + name));
    change_.emplace(scratch_.Join("current"));
    StartByBareName(testing_support::Utf16Of(name + " control"));
    ASSERT_EQ(recorder_.WaitFor(1).size(), 1u);
  }

  // Every start after the control is the system's copy, with these command
  // lines in this order.
  void ExpectSystemStarts(const std::vector<std::string>& commandLines) {
    const std::vector<StartRecord> started = recorder_.WaitFor(commandLines.size() + 1);
    ASSERT_EQ(started.size(), commandLines.size() + 1);
    EXPECT_TRUE(SamePath(started[0].program, beside_->Path()) ||
                SamePath(started[0].program, current_->Path()))
        << started[0].program;
    for (std::size_t i = 1; i < started.size(); ++i) {
      EXPECT_TRUE(SamePath(started[i].program, system_->Path())) << started[i].program;
      EXPECT_EQ(started[i].commandLine, commandLines[i - 1]);
    }
  }

  // The double, but for real files and real starts.
  [[nodiscard]] platform::Platform Os() {
    return platform::Platform{
        fake_.registry, fake_.environment, fake_.identity, files_, fake_.clock, user_, nullptr};
  }

  const ScratchFolder scratch_;
  const StartRecorder recorder_{scratch_.Join("starts.txt")};
  std::optional<PlantedFile> system_;
  std::optional<PlantedFile> beside_;
  std::optional<PlantedFile> current_;
  std::optional<CurrentFolderChange> change_;
  platform::Win32FileSystem files_;
  RealStarts user_;
};

TEST_F(Planted, ViewReportStartsTheSystemsNotepadWithTheUsualCommandLine) {
  PlantAs("system32", "Notepad.exe");
  scratch_.MakeFolder("temp");
  fake_.identity.systemFolder = scratch_.Join("system32");
  fake_.identity.tempPath = scratch_.Join("temp") + "\\";
  report::cmdView_Click(Os());
  EXPECT_TRUE(user_.messages.empty()) << user_.messages[0];
  ExpectSystemStarts(
      {"Notepad.exe " + fake_.identity.tempPath + "\\" + report::ProposedFileName(Os())});
}

TEST_F(Planted, DoubleClickStartsTheSystemsExplorerAndNeverTheProgramAnEntryNames) {
  PlantAs("windows", "Explorer.exe");
  // An entry naming a program that would tell if it ran.
  scratch_.MakeFolder("Tools");
  const PlantedFile setup(StartRecorder::Program(), scratch_.Join("Tools\\setup.exe"));
  fake_.identity.windowsFolder = scratch_.Join("windows");
  fake_.environment.Set("PATH", scratch_.Join("Tools") + ";" + setup.Path());
  OpenOn(Os());
  // One at a time, so that the records come in the order of the clicks.
  Select(Ctl().lstPath, 1);
  Form().lstPath_DblClick();
  ASSERT_EQ(recorder_.WaitFor(2).size(), 2u);
  Select(Ctl().lstPath, 2);
  Form().lstPath_DblClick();
  EXPECT_TRUE(user_.messages.empty()) << user_.messages[0];
  ExpectSystemStarts(
      {"Explorer \"" + scratch_.Join("Tools") + "\"", "Explorer /select,\"" + setup.Path() + "\""});
}

UniqueModule Load(const wchar_t* name) {
  return UniqueModule(LoadLibraryW(name));
}

// The loader's settings are the process's own: this case runs in a process of
// its own, as every case does under CTest.
TEST(PlantedLibraries, OnceHardenedNoLibraryBesideTheProgramOrInTheCurrentFolderIsLoaded) {
  const ScratchFolder scratch;
  const std::string library = ProgramFolder() + "\\velmora_planted.dll";
  const PlantedFile besideEarly(library, ProgramFolder() + "\\velmora_planted_early.dll");
  const PlantedFile current(library, scratch.Join("velmora_planted_current.dll"));
  const PlantedFile currentEarly(library, scratch.Join("velmora_planted_current_early.dll"));
  const CurrentFolderChange change(scratch.Path());

  // Before: the platform's search finds a library in either place.
  const UniqueModule early[] = {Load(L"velmora_planted_early.dll"),
                                Load(L"velmora_planted_current_early.dll")};
  ASSERT_NE(early[0], nullptr);
  ASSERT_NE(early[1], nullptr);

  ASSERT_TRUE(platform::HardenLibraryLoading());
  const UniqueModule late[] = {
      Load(L"velmora_planted.dll"), Load(L"velmora_planted_current.dll"),
      UniqueModule(LoadLibraryExW(L"velmora_planted_current.dll", nullptr, 0))};
  for (const auto& module : late) EXPECT_EQ(module, nullptr);
  // The system's own libraries still load.
  EXPECT_NE(Load(L"version.dll"), nullptr);
}

}  // namespace
}  // namespace velmora
