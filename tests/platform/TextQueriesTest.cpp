// Every text the program takes from the platform or hands to it arrives
// whole, on the double and on the real binding alike: in any script, at the
// longest length the platform allows, and when its UTF-8 form is longer than
// its UTF-16 form would suggest.
#include <string>

#include <gtest/gtest.h>

#include "environment/Identity.h"
#include "support/PlatformTest.h"
#include "text/Text.h"

#ifdef _WIN32
#include <windows.h>
#include <dlgs.h>

#include "platform/Win32Platform.h"
#include "support/ScratchFolder.h"
#include "support/WideText.h"
#endif

namespace velmora {
namespace {

struct Sample {
  const char* script;
  std::string text;
};

// Each script with more UTF-8 bytes to a character than the one before: two,
// two or three, three, and four (two UTF-16 units).
const Sample kSamples[] = {
    {"Latin", "Jösé Ünïcødé"},
    {"Greek", "Αλέξανδρος"},
    {"CJK", "山田太郎"},
    {"outside the BMP", "𝒳😀"},
};
const std::string kAllScripts = "Jösé Ünïcødé Αλέξανδρος 山田太郎 𝒳😀";

// The text repeated to exactly `units` UTF-16 units, filled up with "x".
std::string ToLength(const std::string& text, std::size_t units) {
  const std::size_t step = text::Utf8ToUtf16(text).size();
  std::string out;
  for (; units >= step; units -= step) out += text;
  return out.append(units, 'x');
}

class TextQueries : public testing_support::PlatformTest {};

TEST_P(TextQueries, ProcessVariablesAndExpansionsUpToThePlatformsLimit) {
  platform::EnvironmentApi& environment = Os().environment;
  for (const auto& [script, text] : kSamples) {
    SCOPED_TRACE(script);
    // The last entry comes after a character that takes more bytes than units.
    const std::string value = "C:\\" + text + "\\bin;C:\\Shared Tools";
    Test().SetVariable("VELMORA_" + text, value);
    EXPECT_EQ(environment.Variable("velmora_" + text), value);
    const std::string longest = ToLength(text, 32766);
    Test().SetVariable("VELMORA_LONGEST", longest);
    EXPECT_EQ(environment.Variable("velmora_longest"), longest);

    // Expansions longer than what they expand, up to the limit.
    Test().SetVariable("VELMORA_TEXT", text);
    EXPECT_EQ(environment.ExpandStrings("<%VELMORA_TEXT%>\\bin"), "<" + text + ">\\bin");
    const std::string expandable = ToLength(text, 32764);
    Test().SetVariable("VELMORA_TEXT", expandable);
    EXPECT_EQ(environment.ExpandStrings("<%VELMORA_TEXT%>"), "<" + expandable + ">");
    // Past the limit: the whole text or none, never a cut one; the double
    // holds Wine's limit.
    const auto past = environment.ExpandStrings("<%VELMORA_TEXT%>!");
    EXPECT_TRUE(past == std::nullopt || past == "<" + expandable + ">!");
    if (Test().Double() != nullptr) {
      EXPECT_EQ(past, std::nullopt);
    }
  }
}

// Each at its longest: the temporary folder as Wine gives it, 258 units with
// the drive and separators; a user name of 256 units; a computer name of 31
// units, in UTF-8 up to 87 bytes here, and none past that. Shorter texts are
// the worked example's (tests/report/ReportCommandsTest.cpp).
TEST_P(TextQueries, TheTemporaryFolderTheUserAndTheMachineUpToTheirLimits) {
  for (const auto& [script, text] : kSamples) {
    SCOPED_TRACE(script);
    const std::string temp = "C:\\" + ToLength(text, 254) + "\\";
    Test().SetTempPath(temp);
    EXPECT_EQ(environment::GetTempFolder(Os()), temp);
    const std::string user = ToLength(text, 256);
    const std::string machine = ToLength(text, 31);
    if (!Test().SetUserName(user) || !Test().SetMachineName(machine)) {
      GTEST_SKIP() << "the user and machine cannot be chosen here";
    }
    EXPECT_EQ(environment::GetCurrentUserName(Os()), user);
    EXPECT_EQ(environment::GetMachineName(Os()), machine);
    ASSERT_TRUE(Test().SetMachineName(ToLength(text, 32)));
    EXPECT_EQ(environment::GetMachineName(Os()), "");
  }
}

VELMORA_ON_EVERY_BINDING(TextQueries);

#ifdef _WIN32
// Answers the thread's next message box or dialog from inside its modal loop:
// a timer looks for it, notes what it shows (the message box's text, or the
// Save As dialog's proposed name), fills in the file name and presses OK.
struct ModalAnswer {
  static inline std::wstring fileName;
  static inline std::wstring shown;

  explicit ModalAnswer(std::string_view name) {
    fileName = testing_support::Utf16Of(name);
    shown.clear();
    SetTimer(nullptr, 0, 50, &Tick);
  }

  static void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND box = GetActiveWindow();
    if (box == nullptr || !IsWindowVisible(box)) return;
    KillTimer(nullptr, timer);
    const bool dialog = GetDlgItem(box, cmb13) != nullptr;
    wchar_t text[1024] = {};
    GetDlgItemTextW(box, dialog ? cmb13 : 0xFFFF, text, 1024);
    shown = text;
    if (dialog) SetDlgItemTextW(box, cmb13, fileName.c_str());
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  }
};

// One box for all scripts: each takes seconds to go away under Wine without a
// window manager.
TEST(UserServices, TheSaveDialogAndTheMessageBoxCarryEveryScript) {
  platform::Win32UserServices user;
  const testing_support::ScratchFolder scratch;
  scratch.MakeFolder(kAllScripts);
  const std::string chosen = scratch.Join(kAllScripts + "\\" + kAllScripts + ".txt");
  ModalAnswer save(chosen);
  EXPECT_EQ(user.AskSaveFileName({"Text Files (*.txt)|*.txt", 1, kAllScripts + "_2011.txt"}),
            chosen);
  EXPECT_EQ(testing_support::Utf8Of(save.shown), kAllScripts + "_2011.txt");

  const std::string message = "Not found: " + kAllScripts + " (error 76)";
  ModalAnswer ok("");
  EXPECT_EQ(user.ShowMessage(message, kAllScripts, platform::kMbOk), platform::kIdOk);
  EXPECT_EQ(testing_support::Utf8Of(ok.shown), message);
}
#endif

}  // namespace
}  // namespace velmora
