// The window's controls: kinds, captions, containers, tab order and places,
// at 96 dpi and after a move to a 144 dpi monitor.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "WindowFixture.h"

namespace window_tests {
namespace {

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof(name));
  return name;
}

using Member = HWND window::Controls::*;

// How a control follows the room its neighbours' captions took (none under
// fonts in which every caption fits its design width).
enum class Follows {
  Nothing,
  ClientWidth,  // widens with the client area (the lists)
  RightEdge,    // keeps its distance from the client area's right edge
};

struct Expected {
  const char* name;
  Member control;
  Member container;                // nullptr: the window's client area
  RECT place;                      // left, top, width, height at the design size
  std::vector<Member> after = {};  // grown controls to its left in its row
  std::vector<Member> holds = {};  // grown controls it holds, itself among them
  Follows follows = Follows::Nothing;
};

using C = window::Controls;

// The design in twips, at 15 twips a pixel (158 and 572 twips round to 11 and 38).
const Expected kAt96[] = {
    {"TabStrip1", &C::TabStrip1, nullptr, {8, 8, 169, 25}, {}, {&C::TabStrip1}},
    {"txtSearch", &C::txtSearch, nullptr, {224, 11, 177, 19}, {&C::TabStrip1, &C::Label3}},
    {"Label3", &C::Label3, nullptr, {192, 13, 25, 14}, {&C::TabStrip1}, {&C::Label3}},
    {"Shape1", &C::Shape1, nullptr, {184, 8, 249, 25}, {&C::TabStrip1}, {&C::Label3}},
    {"imgSort", &C::imgSort, nullptr, {440, 9, 23, 22}, {&C::TabStrip1, &C::Label3}},
    {"imgSearch", &C::imgSearch, nullptr, {408, 12, 16, 16}, {&C::TabStrip1, &C::Label3}},
    // Fitted to the design client area (472 x 346) by the first Resize.
    {"lstPath", &C::lstPath, nullptr, {8, 40, 457, 256}, {}, {}, Follows::ClientWidth},
    {"lstClasspath", &C::lstClasspath, nullptr, {8, 40, 457, 256}, {}, {}, Follows::ClientWidth},
    {"Frame1", &C::Frame1, nullptr, {16, 296, 241, 44}, {}, {&C::Label2, &C::labUser}},
    {"Frame2",
     &C::Frame2,
     nullptr,
     {256, 296, 209, 49},
     {},
     {&C::cmdSave, &C::cmdView, &C::cmdClose},
     Follows::RightEdge},
    {"Image1", &C::Image1, &C::Frame1, {8, 16, 20, 20}},
    {"Label2", &C::Label2, &C::Frame1, {32, 18, 49, 17}, {}, {&C::Label2}},
    {"Image2", &C::Image2, &C::Frame1, {88, 16, 20, 20}, {&C::Label2}},
    {"labUser", &C::labUser, &C::Frame1, {112, 18, 121, 17}, {&C::Label2}, {&C::labUser}},
    {"cmdSave", &C::cmdSave, &C::Frame2, {8, 6, 65, 38}, {}, {&C::cmdSave}},
    {"cmdView", &C::cmdView, &C::Frame2, {76, 6, 65, 38}, {&C::cmdSave}, {&C::cmdView}},
    {"cmdClose",
     &C::cmdClose,
     &C::Frame2,
     {144, 6, 65, 38},
     {&C::cmdSave, &C::cmdView},
     {&C::cmdClose}},
};

// The same at 144 dpi, 10 twips a pixel, halves rounded up.
const Expected kAt144[] = {
    {"TabStrip1", &C::TabStrip1, nullptr, {12, 12, 254, 38}, {}, {&C::TabStrip1}},
    {"txtSearch", &C::txtSearch, nullptr, {336, 16, 266, 29}, {&C::TabStrip1, &C::Label3}},
    {"imgSort", &C::imgSort, nullptr, {660, 14, 35, 33}, {&C::TabStrip1, &C::Label3}},
    {"lstPath", &C::lstPath, nullptr, {12, 60, 686, 384}, {}, {}, Follows::ClientWidth},
    {"Frame1", &C::Frame1, nullptr, {24, 444, 362, 66}, {}, {&C::Label2, &C::labUser}},
    {"Frame2",
     &C::Frame2,
     nullptr,
     {384, 444, 314, 74},
     {},
     {&C::cmdSave, &C::cmdView, &C::cmdClose},
     Follows::RightEdge},
    {"labUser", &C::labUser, &C::Frame1, {168, 27, 182, 26}, {&C::Label2}, {&C::labUser}},
    {"cmdClose",
     &C::cmdClose,
     &C::Frame2,
     {216, 9, 98, 57},
     {&C::cmdSave, &C::cmdView},
     {&C::cmdClose}},
};

// Captioned controls by their design width in pixels at 96 and 144 dpi.
struct DesignWidth {
  Member control;
  int at96;
  int at144;
};
const DesignWidth kCaptionedWidths[] = {
    {&C::TabStrip1, 169, 254}, {&C::Label3, 25, 38},  {&C::Label2, 49, 74},
    {&C::labUser, 121, 182},   {&C::cmdSave, 65, 98}, {&C::cmdView, 65, 98},
    {&C::cmdClose, 65, 98},
};

class Layout : public WindowTest {
 protected:
  // Gives the window a client area of exactly width x height pixels.
  void SetClientSize(int width, int height) {
    RECT outer{};
    RECT client{};
    GetWindowRect(Form().Handle(), &outer);
    GetClientRect(Form().Handle(), &client);
    SetWindowPos(Form().Handle(), nullptr, 0, 0, width + (outer.right - outer.left) - client.right,
                 height + (outer.bottom - outer.top) - client.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  // How much wider than its design a captioned control stands.
  int Growth(Member control, bool at144) {
    for (const auto& design : kCaptionedWidths) {
      if (design.control == control) {
        return PlaceOf(Ctl().*control).right - (at144 ? design.at144 : design.at96);
      }
    }
    ADD_FAILURE() << "no design width for a control";
    return 0;
  }

  int Growth(const std::vector<Member>& controls, bool at144) {
    int sum = 0;
    for (const Member control : controls) sum += Growth(control, at144);
    return sum;
  }

  // The room the rows took: the window's client area is that much wider
  // than the design's.
  int RowGrowth(bool at144) {
    const int top = Growth({&C::TabStrip1, &C::Label3}, at144);
    const int bottom =
        Growth({&C::Label2, &C::labUser, &C::cmdSave, &C::cmdView, &C::cmdClose}, at144);
    return std::max(top, bottom);
  }

  void ExpectPlaces(const Expected* begin, const Expected* end, int extraClientWidth,
                    bool at144 = false) {
    for (const Expected* e = begin; e != end; ++e) {
      SCOPED_TRACE(e->name);
      const HWND control = Ctl().*(e->control);
      const HWND container = e->container == nullptr ? Form().Handle() : Ctl().*(e->container);
      EXPECT_EQ(GetParent(control), container);
      const int held = Growth(e->holds, at144);
      RECT expected = e->place;
      expected.left += Growth(e->after, at144);
      expected.right += held;
      if (e->follows == Follows::ClientWidth) expected.right += extraClientWidth;
      if (e->follows == Follows::RightEdge) expected.left += extraClientWidth - held;
      const RECT place = PlaceOf(control);
      EXPECT_EQ(place.left, expected.left);
      EXPECT_EQ(place.top, expected.top);
      EXPECT_EQ(place.right, expected.right) << "width";
      EXPECT_EQ(place.bottom, expected.bottom) << "height";
    }
  }
};

TEST_F(Layout, OpensWithTheDesignClientAreaAndPlacesAt96Dpi) {
  Open();
  ASSERT_EQ(Form().Dpi(), 96u) << "the display is expected to run at 96 dpi";
  RECT client{};
  GetClientRect(Form().Handle(), &client);
  const int extra = RowGrowth(false);
  EXPECT_EQ(client.right, 472 + extra);
  EXPECT_EQ(client.bottom, 346);
  ExpectPlaces(std::begin(kAt96), std::end(kAt96), extra);
  EXPECT_EQ(SendMessageA(Ctl().lstPath, LVM_GETCOLUMNWIDTH, 0, 0), 453);
}

TEST_F(Layout, MovingToA144DpiMonitorScalesEveryPlace) {
  Open();
  RECT outer{};
  GetWindowRect(Form().Handle(), &outer);
  RECT suggested{outer.left, outer.top, outer.left + (outer.right - outer.left) * 3 / 2,
                 outer.top + (outer.bottom - outer.top) * 3 / 2};
  SendMessageA(Form().Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144),
               reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(Form().Dpi(), 144u);
  const int extra = RowGrowth(true);
  SetClientSize(708 + extra, 519);  // 7080 x 5190 twips, and the room the captions took
  ExpectPlaces(std::begin(kAt144), std::end(kAt144), extra, true);
  EXPECT_EQ(SendMessageA(Ctl().lstClasspath, LVM_GETCOLUMNWIDTH, 0, 0), 680);
  MINMAXINFO limits{};
  SendMessageA(Form().Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  EXPECT_EQ(limits.ptMinTrackSize.x, 477);
  EXPECT_EQ(limits.ptMinTrackSize.y, 200);
}

TEST_F(Layout, ControlsAreTheKindsAndCaptionsOfTheDesign) {
  Open();
  const auto& c = Ctl();
  EXPECT_EQ(ClassOf(c.lstPath), WC_LISTVIEWA);
  EXPECT_EQ(ClassOf(c.lstClasspath), WC_LISTVIEWA);
  EXPECT_EQ(ClassOf(c.TabStrip1), WC_TABCONTROLA);
  EXPECT_EQ(ClassOf(c.txtSearch), "Edit");
  EXPECT_EQ(TextOf(c.txtSearch), "");
  EXPECT_EQ(TextOf(c.Label3), "Find:");
  EXPECT_EQ(TextOf(c.Label2), "System");
  EXPECT_EQ(TextOf(c.Frame1), "Key");
  EXPECT_EQ(TextOf(c.Frame2), "");
  EXPECT_EQ(GetWindowLongPtrA(c.Frame1, GWL_STYLE) & BS_TYPEMASK, BS_GROUPBOX);
  EXPECT_EQ(GetWindowLongPtrA(c.Frame2, GWL_STYLE) & BS_TYPEMASK, BS_GROUPBOX);
  EXPECT_EQ(TextOf(c.cmdSave), "Save Report");
  EXPECT_EQ(TextOf(c.cmdView), "View Report");
  EXPECT_EQ(TextOf(c.cmdClose), "Close");
  EXPECT_EQ(GetMenu(Form().Handle()), nullptr) << "no menu bar";

  std::vector<std::string> tabs;
  for (int i = 0; i < SendMessageA(c.TabStrip1, TCM_GETITEMCOUNT, 0, 0); ++i) {
    char text[32] = {};
    TCITEMA tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = text;
    tab.cchTextMax = sizeof(text);
    SendMessageA(c.TabStrip1, TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&tab));
    tabs.push_back(text);
  }
  EXPECT_EQ(tabs, (std::vector<std::string>{"Path", "ClassPath"}));
}

TEST_F(Layout, ListsShowOneColumnTypeWithChecksAndTheFourPictures) {
  Open();
  for (const HWND list : {Ctl().lstPath, Ctl().lstClasspath}) {
    EXPECT_EQ(GetWindowLongPtrA(list, GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_NE(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_CHECKBOXES, 0);
    char header[16] = {};
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT;
    column.pszText = header;
    column.cchTextMax = sizeof(header);
    ASSERT_TRUE(SendMessageA(list, LVM_GETCOLUMNA, 0, reinterpret_cast<LPARAM>(&column)));
    EXPECT_STREQ(header, "Type");
    EXPECT_FALSE(SendMessageA(list, LVM_GETCOLUMNA, 1, reinterpret_cast<LPARAM>(&column)));
    const auto images =
        reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    ASSERT_NE(images, nullptr);
    // The four pictures, then the overlays that mark entries.
    EXPECT_EQ(ImageList_GetImageCount(images), 4 + window::kOverlayCount);
    int width = 0;
    int height = 0;
    ImageList_GetIconSize(images, &width, &height);
    EXPECT_EQ(width, 20);
    EXPECT_EQ(height, 20);
  }
}

TEST_F(Layout, LegendAndSortPictureShowTheirPictures) {
  Open();
  const auto picture = [](HWND control) {
    return reinterpret_cast<HBITMAP>(SendMessageA(control, STM_GETIMAGE, IMAGE_BITMAP, 0));
  };
  EXPECT_EQ(picture(Ctl().Image1), Form().Pics().system.get());
  EXPECT_EQ(picture(Ctl().Image2), Form().Pics().user.get());
  EXPECT_EQ(picture(Ctl().imgSort), Form().Pics().sort.get());
  EXPECT_EQ(Form().SortPicture(), window::kPictureSort);
  BITMAP sort{};
  GetObjectA(Form().Pics().sort.get(), sizeof(sort), &sort);
  EXPECT_EQ(sort.bmWidth, 23);
  EXPECT_EQ(sort.bmHeight, 22);
  EXPECT_NE(SendMessageA(Ctl().imgSearch, STM_GETIMAGE, IMAGE_ICON, 0), 0);
}

TEST_F(Layout, PopupMenuActionHoldsItsTwoEntries) {
  Open();
  const HMENU action = GetSubMenu(Form().Pics().mnuAction.get(), 0);
  ASSERT_NE(action, nullptr);
  char caption[32] = {};
  GetMenuStringA(Form().Pics().mnuAction.get(), 0, caption, sizeof(caption), MF_BYPOSITION);
  EXPECT_STREQ(caption, "Action");
  ASSERT_EQ(GetMenuItemCount(action), 2);
  GetMenuStringA(action, 0, caption, sizeof(caption), MF_BYPOSITION);
  EXPECT_STREQ(caption, "Copy to clipboard");
  GetMenuStringA(action, 1, caption, sizeof(caption), MF_BYPOSITION);
  EXPECT_STREQ(caption, "Open");
}

TEST_F(Layout, TabKeyVisitsTheControlsInTabOrder) {
  Open();
  const auto& c = Ctl();
  std::vector<HWND> visited;
  HWND current = c.lstPath;
  for (int i = 0; i < 6; ++i) {
    visited.push_back(current);
    current = GetNextDlgTabItem(Form().Handle(), current, FALSE);
  }
  // The hidden ClassPath list and the labels take no focus.
  EXPECT_EQ(visited, (std::vector<HWND>{c.lstPath, c.txtSearch, c.TabStrip1, c.cmdClose, c.cmdSave,
                                        c.cmdView}));
  EXPECT_EQ(current, c.lstPath);
}

}  // namespace
}  // namespace window_tests
