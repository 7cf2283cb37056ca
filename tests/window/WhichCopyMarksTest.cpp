// The marks of PATH entries with programs that never run or that can never be
// used, read back through the list's own messages: overlays and info tips,
// through sorting and a refill.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "WindowFixture.h"
#include "support/TestPlatform.h"

namespace velmora::window_tests {
namespace {

class WhichCopyMarks : public WindowTest {};

TEST_F(WhichCopyMarks, StayOnTheirEntriesWithTheirWordsThroughSortingAndARefill) {
  // Nine programs in C:\A, other copies of them in C:\B; C:\C holds one
  // the same as C:\A's, which is no conflict.
  for (const char* name : {"java", "javac", "p1", "p2", "p3", "p4", "p5", "p6", "p7"}) {
    fake_.files.AddFile("C:\\A\\" + std::string(name) + ".exe", "new");
    fake_.files.AddFile("C:\\B\\" + std::string(name) + ".exe", "old");
  }
  fake_.files.AddFile("C:\\C\\java.exe", "new");
  fake_.files.AddFile("C:\\C\\tool.exe", "c");
  fake_.environment.Set("VELMORA_HOME", "C:\\Home");
  fake_.registry.SetValue(platform::kCurrentUser, "Environment", "Path", platform::kRegSz,
                          testing_support::StringData("%VELMORA_HOME%\\bin"));
  OpenWith("C:\\A;C:\\B;%VELMORA_HOME%\\bin;C:\\C;\"C:\\Q");
  const HWND list = Ctl().lstPath;
  const std::vector<int> inOrder{0, 4, 5, 0, 6};
  ASSERT_TRUE(PumpUntil([&] { return Overlays(list) == inOrder; }));
  const std::string tips[] = {
      "Its java.exe, javac.exe, p1.exe, p2.exe, p3.exe and 4 more are used; "
      "entry 2 holds other copies",
      "java.exe, javac.exe, p1.exe, p2.exe, p3.exe and 4 more never run here: "
      "entry 1 (C:\\A) comes first",
      "Holds %VELMORA_HOME%, which is never expanded: the user's PATH is stored as plain text, "
      "not as an expandable value",
      "",
      "Unbalanced quote: a command prompt reads the entries after it as part of this one\r\n"
      "Folder not found",
  };
  for (int row = 1; row <= 5; ++row) EXPECT_EQ(InfoTip(Form(), list, row, false), tips[row - 1]);
  ASSERT_TRUE(AllAnswered());
  EXPECT_EQ(TabTip(1),
            "Path: 5 entries, 1 not found, 0 repeated, 0 empty; 39 of 32,767 characters; "
            "1 entry with programs that never run; 1 entry holding a name that is never "
            "expanded; 1 entry with an unbalanced quote");

  Form().imgSort_Click();
  Pump(Form());
  EXPECT_EQ(Items(list), Marked("\"C:\\Q;%VELMORA_HOME%\\bin;C:\\A;C:\\B;C:\\C", "SUSSS"));
  EXPECT_EQ(Overlays(list), (std::vector<int>{6, 5, 0, 4, 0}));
  EXPECT_EQ(InfoTip(Form(), list, 4, false), tips[1]);
  EXPECT_EQ(InfoTip(Form(), list, 1, false), tips[4]);

  Form().imgSort_Click();
  ASSERT_TRUE(PumpUntil([&] { return Overlays(list) == inOrder; }));
  EXPECT_EQ(InfoTip(Form(), list, 1, false), tips[0]);
}

}  // namespace
}  // namespace velmora::window_tests
