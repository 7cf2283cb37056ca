// Tabs, the search box and the sort picture, driven through the real controls.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "WindowFixture.h"

namespace window_tests {
namespace {

class TabsSearchSort : public WindowTest {
 protected:
  void OpenWithPath(const std::string& path, const std::string& classpath = "") {
    fake_.environment.Set("PATH", path);
    if (!classpath.empty()) fake_.environment.Set("CLASSPATH", classpath);
    Open();
  }

  // A click on a tab header, as the mouse gives it.
  void ClickTab(int position) {
    RECT header{};
    SendMessageA(Ctl().TabStrip1, TCM_GETITEMRECT, static_cast<WPARAM>(position - 1),
                 reinterpret_cast<LPARAM>(&header));
    const LPARAM point =
        MAKELPARAM((header.left + header.right) / 2, (header.top + header.bottom) / 2);
    SendMessageA(Ctl().TabStrip1, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageA(Ctl().TabStrip1, WM_LBUTTONUP, 0, point);
    Pump(Form());
  }

  void ClickPicture(HWND picture) {
    SendMessageA(picture, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageA(picture, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    Pump(Form());
  }

  // A key pressed with the search box focused, through the message loop.
  void PressInSearchBox(UINT key) {
    SetFocus(Ctl().txtSearch);
    PostMessageA(Ctl().txtSearch, WM_KEYDOWN, key, 1);
    PostMessageA(Ctl().txtSearch, WM_KEYUP, key, 0xC0000001);
    Pump(Form());
  }

  void Search(const std::string& text) {
    SetWindowTextA(Ctl().txtSearch, text.c_str());
    Form().imgSearch_Click();
  }

  [[nodiscard]] int NotFoundBoxes() const {
    int boxes = 0;
    for (const auto& box : fake_.user.messages) {
      EXPECT_EQ(box.text, "String not found");
      EXPECT_EQ(box.caption, "Velmora");
      EXPECT_EQ(box.style, platform::kMbOk | platform::kMbIconExclamation);
      ++boxes;
    }
    return boxes;
  }
};

TEST_F(TabsSearchSort, TabsSwapTheListsAndEmptyTheSearchBox) {
  OpenWithPath("C:\\A", "a.jar");
  SetWindowTextA(Ctl().txtSearch, "abc");
  ClickTab(2);
  EXPECT_EQ(SendMessageA(Ctl().TabStrip1, TCM_GETCURSEL, 0, 0), 1);
  EXPECT_TRUE(Shown(Ctl().lstClasspath));
  EXPECT_FALSE(Shown(Ctl().lstPath));
  EXPECT_EQ(TextOf(Ctl().txtSearch), "");
  SetWindowTextA(Ctl().txtSearch, "xyz");
  ClickTab(1);
  EXPECT_TRUE(Shown(Ctl().lstPath));
  EXPECT_FALSE(Shown(Ctl().lstClasspath));
  EXPECT_EQ(TextOf(Ctl().txtSearch), "");
}

TEST_F(TabsSearchSort, EnterSearchesAndNeverLandsInTheBox) {
  OpenWithPath("C:\\one;C:\\two");
  SetWindowTextA(Ctl().txtSearch, "two");
  PressInSearchBox(VK_RETURN);
  EXPECT_EQ(SelectedPosition(Ctl().lstPath), 2);
  EXPECT_EQ(TextOf(Ctl().txtSearch), "two");
  EXPECT_TRUE(fake_.user.messages.empty());
}

TEST_F(TabsSearchSort, OtherKeysTypeAndDoNotSearch) {
  OpenWithPath("C:\\one;C:\\two");
  SetWindowTextA(Ctl().txtSearch, "");
  PressInSearchBox('T');
  PressInSearchBox('W');
  EXPECT_EQ(TextOf(Ctl().txtSearch), "tw");
  EXPECT_EQ(SelectedPosition(Ctl().lstPath), 0);
  int key = 'x';
  Form().txtSearch_KeyPress(key);
  EXPECT_EQ(key, 'x');
  key = 13;
  Form().txtSearch_KeyPress(key);
  EXPECT_EQ(key, 0);
}

TEST_F(TabsSearchSort, RepeatedSearchesStepThroughThePassingItemsAndWrap) {
  OpenWithPath("C:\\a;C:\\bin;C:\\c;D:\\Bin;C:\\e");
  Select(Ctl().lstPath, 3);
  Search("bin");
  EXPECT_EQ(SelectedPosition(Ctl().lstPath), 4);
  Search("bin");
  EXPECT_EQ(SelectedPosition(Ctl().lstPath), 2);
  Search("bin");
  EXPECT_EQ(SelectedPosition(Ctl().lstPath), 4);
  EXPECT_EQ(NotFoundBoxes(), 0);
}

TEST_F(TabsSearchSort, OnlyTheSelectedItemPassesAndStaysSelected) {
  OpenWithPath("C:\\a;C:\\b;C:\\target;C:\\d");
  Select(Ctl().lstPath, 3);
  Search("TARGET");
  EXPECT_EQ(SelectedPosition(Ctl().lstPath), 3);
  EXPECT_EQ(NotFoundBoxes(), 0);
}

TEST_F(TabsSearchSort, NothingPassingShowsOneBoxAndKeepsTheSelection) {
  OpenWithPath("C:\\a;C:\\b;C:\\c");
  Select(Ctl().lstPath, 3);
  Search("zzz");
  EXPECT_EQ(NotFoundBoxes(), 1);
  EXPECT_EQ(SelectedPosition(Ctl().lstPath), 3);
}

TEST_F(TabsSearchSort, ASingleItemIsTestedOnce) {
  OpenWithPath("C:\\Program Files\\BIN");
  Select(Ctl().lstPath, 1);
  Search("bin");
  EXPECT_EQ(SelectedPosition(Ctl().lstPath), 1);
  EXPECT_EQ(NotFoundBoxes(), 0);
  Search("lib");
  EXPECT_EQ(NotFoundBoxes(), 1);
  EXPECT_EQ(SelectedPosition(Ctl().lstPath), 1);
}

TEST_F(TabsSearchSort, WithoutASelectionTheSearchStartsAtTheFirstItem) {
  OpenWithPath("C:\\bin;C:\\x;D:\\bin");
  Select(Ctl().lstPath, 0);
  Search("bin");
  EXPECT_EQ(SelectedPosition(Ctl().lstPath), 1);
}

TEST_F(TabsSearchSort, EmptyTextFindsTheNextNonEmptyEntry) {
  OpenWithPath("C:\\a;;;C:\\d");
  Select(Ctl().lstPath, 1);
  Search("");
  EXPECT_EQ(SelectedPosition(Ctl().lstPath), 4);
  Search("");
  EXPECT_EQ(SelectedPosition(Ctl().lstPath), 1);
}

TEST_F(TabsSearchSort, AnEmptyListAnswersNotFoundAndChangesNothing) {
  OpenWithPath("");
  Search("x");
  EXPECT_EQ(NotFoundBoxes(), 1);
  EXPECT_EQ(SelectedPosition(Ctl().lstPath), 0);
}

TEST_F(TabsSearchSort, OnTheClassPathTabTheClassPathListIsSearched) {
  OpenWithPath("C:\\lib;C:\\other", "C:\\x.jar;C:\\lib\\y.jar");
  Select(Ctl().lstPath, 2);
  ClickTab(2);
  Search("y.JAR");
  EXPECT_EQ(NotFoundBoxes(), 0);
  EXPECT_EQ(SelectedPosition(Ctl().lstClasspath), 2);
  EXPECT_EQ(SelectedPosition(Ctl().lstPath), 2) << "the hidden list is left alone";
}

TEST_F(TabsSearchSort, F3FindsTheNextMatchAndCtrlFFocusesTheSearchBox) {
  OpenWithPath("C:\\bin;C:\\x;D:\\bin");
  SetWindowTextA(Ctl().txtSearch, "bin");
  SetFocus(Ctl().lstPath);
  Select(Ctl().lstPath, 1);
  PostMessageA(Ctl().lstPath, WM_KEYDOWN, VK_F3, 1);
  Pump(Form());
  EXPECT_EQ(SelectedPosition(Ctl().lstPath), 3);

  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  PostMessageA(Ctl().lstPath, WM_KEYDOWN, 'F', 1);
  Pump(Form());
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
  EXPECT_EQ(GetFocus(), Ctl().txtSearch);
  EXPECT_EQ(TextOf(Ctl().txtSearch), "bin") << "Ctrl+F types nothing";
}

TEST_F(TabsSearchSort, SortingOnSortsBothListsAndShowsPicture4) {
  OpenWithPath("C:\\c;C:\\A;C:\\b", "z.jar;a.jar");
  ClickPicture(Ctl().imgSort);
  EXPECT_EQ(Texts(Ctl().lstPath), (std::vector<std::string>{"C:\\A", "C:\\b", "C:\\c"}));
  EXPECT_EQ(Texts(Ctl().lstClasspath), (std::vector<std::string>{"a.jar", "z.jar"}));
  EXPECT_EQ(Form().SortPicture(), window::kPictureSorted);
  EXPECT_EQ(SendMessageA(Ctl().imgSort, STM_GETIMAGE, IMAGE_BITMAP, 0),
            reinterpret_cast<LRESULT>(Form().Pics().sorted.get()));
}

TEST_F(TabsSearchSort, SortingOffRefillsInVariableOrderWithTodaysMarks) {
  OpenWithPath("C:\\c;C:\\A;C:\\b", "z.jar;a.jar");
  ClickPicture(Ctl().imgSort);
  // The user's variables change while the lists are sorted.
  SetUserValue(fake_, "PATH", "C:\\b");
  SetUserValue(fake_, "CLASSPATH", "x");
  ClickPicture(Ctl().imgSort);
  EXPECT_EQ(Items(Ctl().lstPath),
            (std::vector<Item>{{"C:\\c", 1, true}, {"C:\\A", 1, true}, {"C:\\b", 2, true}}));
  EXPECT_EQ(Items(Ctl().lstClasspath), (std::vector<Item>{{"z.jar", 2, true}, {"a.jar", 2, true}}));
  EXPECT_EQ(Form().SortPicture(), window::kPictureSort);
  EXPECT_EQ(SendMessageA(Ctl().imgSort, STM_GETIMAGE, IMAGE_BITMAP, 0),
            reinterpret_cast<LRESULT>(Form().Pics().sort.get()));
}

}  // namespace
}  // namespace window_tests
