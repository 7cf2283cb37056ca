// Tabs and the search box, driven through the real controls.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "WindowFixture.h"

namespace velmora::window_tests {
namespace {

class TabsAndSearch : public WindowTest {
 protected:
  void Search(const std::string& text) {
    SetWindowTextA(Ctl().txtSearch, text.c_str());
    Form().imgSearch_Click();
  }

  [[nodiscard]] int NotFoundBoxes() const {
    for (const auto& box : fake_.user.messages) {
      EXPECT_EQ(box.text, "String not found");
      EXPECT_EQ(box.caption, "Velmora");
      EXPECT_EQ(box.style, platform::kMbOk | platform::kMbIconExclamation);
    }
    return static_cast<int>(fake_.user.messages.size());
  }
};

// Searches for one text, one after another, from a selected position (0 for
// none): where the selection lands after each, and how many times nothing
// passed.
struct SearchCase {
  const char* name;
  const char* path;
  int selected;
  const char* text;
  std::vector<int> landings;
  int notFound;
};
void PrintTo(const SearchCase& c, std::ostream* out) {
  *out << c.name;
}

const SearchCase kSearches[] = {
    {"StepsAndWraps", "C:\\a;C:\\bin;C:\\c;D:\\Bin;C:\\e", 3, "bin", {4, 2, 4}, 0},
    {"OnlyTheSelectedItemPasses", "C:\\a;C:\\b;C:\\target;C:\\d", 3, "TARGET", {3}, 0},
    {"NothingPassingKeepsTheSelection", "C:\\a;C:\\b;C:\\c", 3, "zzz", {3, 3}, 2},
    {"WithoutASelectionTheFirstItemIsTestedFirst", "C:\\bin;C:\\x;D:\\bin", 0, "bin", {1}, 0},
    {"EmptyTextFindsTheNextNonEmptyEntry", "C:\\a;;;C:\\d", 1, "", {4, 1}, 0},
    {"AnEmptyListAnswersNotFound", "", 0, "x", {0}, 1},
};

class Searching : public TabsAndSearch, public ::testing::WithParamInterface<SearchCase> {};

TEST_P(Searching, LandsOnTheNextPassingItem) {
  const SearchCase& c = GetParam();
  OpenWith(c.path);
  Select(Ctl().lstPath, c.selected);
  for (const int landing : c.landings) {
    Search(c.text);
    EXPECT_EQ(SelectedPosition(Ctl().lstPath), landing);
  }
  EXPECT_EQ(NotFoundBoxes(), c.notFound);
}

INSTANTIATE_TEST_SUITE_P(, Searching, ::testing::ValuesIn(kSearches),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_F(TabsAndSearch, KeysAndTabsMoveTypeAndSearchWhereTheyShould) {
  OpenWith("C:\\bin;C:\\two;D:\\bin", "C:\\x.jar;C:\\lib\\y.jar");
  Form().Form_Activate();
  EXPECT_EQ(GetFocus(), Ctl().txtSearch);
  // Tab visits the controls in tab order; the hidden ClassPath list and the
  // labels take no focus.
  const auto& c = Ctl();
  std::vector<HWND> visited{c.lstPath};
  for (int i = 0; i < 6; ++i) {
    visited.push_back(GetNextDlgTabItem(Form().Handle(), visited.back(), FALSE));
  }
  EXPECT_EQ(visited, (std::vector<HWND>{c.lstPath, c.txtSearch, c.TabStrip1, c.cmdClose, c.cmdSave,
                                        c.cmdView, c.lstPath}));

  Press(Ctl().txtSearch, 'T');
  Press(Ctl().txtSearch, 'W');
  EXPECT_EQ(TextOf(Ctl().txtSearch), "tw");
  EXPECT_EQ(SelectedPosition(Ctl().lstPath), 0) << "typing does not search";
  Press(Ctl().txtSearch, VK_RETURN);
  EXPECT_EQ(SelectedPosition(Ctl().lstPath), 2);
  EXPECT_EQ(TextOf(Ctl().txtSearch), "tw") << "Enter never lands in the box";

  SetWindowTextA(Ctl().txtSearch, "bin");
  Press(Ctl().lstPath, VK_F3);
  EXPECT_EQ(SelectedPosition(Ctl().lstPath), 3);
  Press(Ctl().lstPath, 'F', VK_CONTROL);
  EXPECT_EQ(GetFocus(), Ctl().txtSearch);
  EXPECT_EQ(TextOf(Ctl().txtSearch), "bin") << "Ctrl+F types nothing";

  // A tab shows its list, empties the search box and chooses the list searched.
  for (const int tab : {2, 1}) {
    SendMessageA(Ctl().TabStrip1, TCM_SETCURFOCUS, static_cast<WPARAM>(tab - 1), 0);
    Pump(Form());
    EXPECT_EQ(SendMessageA(Ctl().TabStrip1, TCM_GETCURSEL, 0, 0), tab - 1);
    EXPECT_EQ(IsWindowVisible(Ctl().lstPath) != FALSE, tab == 1);
    EXPECT_EQ(IsWindowVisible(Ctl().lstClasspath) != FALSE, tab == 2);
    EXPECT_EQ(TextOf(Ctl().txtSearch), "");
    Search("y.JAR");
  }
  EXPECT_EQ(SelectedPosition(Ctl().lstClasspath), 2);
  EXPECT_EQ(SelectedPosition(Ctl().lstPath), 3);
  EXPECT_EQ(NotFoundBoxes(), 1) << "only the Path list was searched in vain";
}

}  // namespace
}  // namespace velmora::window_tests
