// Nobody gets in through Velmora: programs named Notepad.exe and Explorer.exe
// lying beside the program or in its current folder are never started, an
// entry that names a program is never run, and a library lying there is never
// loaded once the loader is hardened. Real starts, real files, real loader.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include <gtest/gtest.h>

#include "WindowFixture.h"
#include "platform/Win32Platform.h"
#include "report/ReportCommands.h"
#include "support/PlantedFiles.h"
#include "support/ScratchFolder.h"

namespace {

using testing_support::CurrentFolderChange;
using testing_support::PlantedFile;
using testing_support::ProgramFolder;
using testing_support::SamePath;
using testing_support::ScratchFolder;
using testing_support::StartRecord;
using testing_support::StartRecorder;

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
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
}

TEST(PlantedPrograms, ViewReportStartsTheSystemsNotepadWithTheUsualCommandLine) {
  const ScratchFolder scratch;
  scratch.MakeFolder("system32");
  scratch.MakeFolder("current");
  scratch.MakeFolder("temp");
  const StartRecorder recorder(scratch.Join("starts.txt"));
  const std::string standIn = StartRecorder::Program();
  const PlantedFile system(standIn, scratch.Join("system32\\notepad.exe"));
  const PlantedFile beside(standIn, ProgramFolder() + "\\Notepad.exe");
  const PlantedFile current(standIn, scratch.Join("current\\Notepad.exe"));
  const CurrentFolderChange change(scratch.Join("current"));
  StartByBareName(L"Notepad.exe control");
  ASSERT_EQ(recorder.WaitFor(1).size(), 1u);

  platform::FakePlatform fake;
  fake.identity.systemFolder = scratch.Join("system32");
  fake.identity.tempPath = scratch.Join("temp") + "\\";
  platform::Win32FileSystem files;
  RealStarts user;
  const platform::Platform os{fake.registry, fake.environment, fake.identity, files, fake.clock,
                              user,          nullptr};
  modReport::cmdView_Click(os);
  EXPECT_TRUE(user.messages.empty()) << user.messages[0];

  const std::vector<StartRecord> started = recorder.WaitFor(2);
  ASSERT_EQ(started.size(), 2u);
  EXPECT_TRUE(SamePath(started[0].program, beside.Path()) ||
              SamePath(started[0].program, current.Path()))
      << started[0].program;
  EXPECT_TRUE(SamePath(started[1].program, system.Path())) << started[1].program;
  EXPECT_EQ(started[1].commandLine,
            "Notepad.exe " + fake.identity.tempPath + "\\" + modReport::ProposedFileName(os));
}

class PlantedExplorer : public window_tests::WindowTest {
 protected:
  platform::Win32FileSystem files_;
  RealStarts user_;
};

TEST_F(PlantedExplorer, DoubleClickStartsTheSystemsExplorerAndNeverTheProgramAnEntryNames) {
  const ScratchFolder scratch;
  scratch.MakeFolder("windows");
  scratch.MakeFolder("current");
  scratch.MakeFolder("Tools");
  const StartRecorder recorder(scratch.Join("starts.txt"));
  const std::string standIn = StartRecorder::Program();
  const PlantedFile system(standIn, scratch.Join("windows\\explorer.exe"));
  const PlantedFile beside(standIn, ProgramFolder() + "\\Explorer.exe");
  const PlantedFile current(standIn, scratch.Join("current\\Explorer.exe"));
  // An entry naming a program that would tell if it ran.
  const PlantedFile setup(standIn, scratch.Join("Tools\\setup.exe"));
  const CurrentFolderChange change(scratch.Join("current"));
  StartByBareName(L"Explorer control");
  ASSERT_EQ(recorder.WaitFor(1).size(), 1u);

  fake_.identity.windowsFolder = scratch.Join("windows");
  fake_.environment.Set("PATH", scratch.Join("Tools") + ";" + setup.Path());
  fake_.environment.Set("CLASSPATH", "");
  const platform::Platform os = fake_.Services();
  OpenOn(platform::Platform{os.registry, os.environment, os.identity, files_, os.clock, user_,
                            nullptr});
  // One at a time, so that the records come in the order of the clicks.
  Select(Ctl().lstPath, 1);
  Form().lstPath_DblClick();
  ASSERT_EQ(recorder.WaitFor(2).size(), 2u);
  Select(Ctl().lstPath, 2);
  Form().lstPath_DblClick();
  EXPECT_TRUE(user_.messages.empty()) << user_.messages[0];

  const std::vector<StartRecord> started = recorder.WaitFor(3);
  ASSERT_EQ(started.size(), 3u);
  EXPECT_TRUE(SamePath(started[0].program, beside.Path()) ||
              SamePath(started[0].program, current.Path()))
      << started[0].program;
  for (std::size_t i = 1; i < started.size(); ++i) {
    EXPECT_TRUE(SamePath(started[i].program, system.Path())) << started[i].program;
  }
  EXPECT_EQ(started[1].commandLine, "Explorer \"" + scratch.Join("Tools") + "\"");
  EXPECT_EQ(started[2].commandLine, "Explorer /select,\"" + setup.Path() + "\"");
}

using UniqueModule = std::unique_ptr<std::remove_pointer_t<HMODULE>, decltype(&FreeLibrary)>;

UniqueModule Load(const wchar_t* name) {
  return UniqueModule(LoadLibraryW(name), &FreeLibrary);
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
      UniqueModule(LoadLibraryExW(L"velmora_planted_current.dll", nullptr, 0), &FreeLibrary)};
  for (const auto& module : late) EXPECT_EQ(module, nullptr);
  // The system's own libraries still load.
  EXPECT_NE(Load(L"version.dll"), nullptr);
}

}  // namespace
