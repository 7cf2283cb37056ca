// Where the controls stand: the room the layout makes where a design width is
// too narrow for its caption, the real window at 96, 120, 144 and 192 dpi
// with every caption measured in its own font, and Form_Resize: the smallest
// window, the lists and the bottom frames following the client area, and
// what a failing step does.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "WindowFixture.h"
#include "window/Layout.h"
#include "window/Owners.h"
#include "window/resource.h"

namespace window_tests {
namespace {

using window::PixelRect;

TEST(Twips, RoundToTheNearestPixel) {
  EXPECT_EQ(window::TwipsToPixels(158, 96), 11);   // 10.53
  EXPECT_EQ(window::TwipsToPixels(572, 96), 38);   // 38.13
  EXPECT_EQ(window::TwipsToPixels(225, 144), 23);  // 22.5
}

// The arithmetic alone, with made-up needs at 96 dpi (the tab strip is 169
// pixels wide, the Find label 25, the legend labels 49 and 121, the buttons
// 65): how far each control stands from its design place (left, width), every
// other one staying put.
struct Moved {
  int id;
  int left;
  int width;
};
struct FitCase {
  const char* name;
  std::vector<window::CaptionNeed> needs;
  std::vector<Moved> moved;
  int buttonFrameGrowth;
  int extraClientWidth;
};
void PrintTo(const FitCase& c, std::ostream* out) {
  *out << c.name;
}

// clang-format off
const FitCase kFitCases[] = {
    {"CaptionsThatFitChangeNothing",
     {{IDC_TABSTRIP1, 169}, {IDC_LABEL3, 25}, {IDC_CMDSAVE, 60}, {IDC_FRAME1, 0}}, {}, 0, 0},
    {"AWiderTabStripMovesTheWholeSearchRow", {{IDC_TABSTRIP1, 199}},
     {{IDC_TABSTRIP1, 0, 30}, {IDC_SHAPE1, 30, 0}, {IDC_LABEL3, 30, 0}, {IDC_TXTSEARCH, 30, 0},
      {IDC_IMGSEARCH, 30, 0}, {IDC_IMGSORT, 30, 0}}, 0, 30},
    {"AWiderFindLabelWidensTheOutlineAroundIt", {{IDC_LABEL3, 35}},
     {{IDC_LABEL3, 0, 10}, {IDC_SHAPE1, 0, 10}, {IDC_TXTSEARCH, 10, 0}, {IDC_IMGSEARCH, 10, 0},
      {IDC_IMGSORT, 10, 0}}, 0, 10},
    {"WiderLegendLabelsWidenTheLegendFrame", {{IDC_LABEL2, 59}, {IDC_LABUSER, 126}},
     {{IDC_LABEL2, 0, 10}, {IDC_IMAGE2, 10, 0}, {IDC_LABUSER, 10, 5}, {IDC_FRAME1, 0, 15}}, 0, 15},
    {"WiderButtonsWidenTheirFrameToTheLeft", {{IDC_CMDSAVE, 78}, {IDC_CMDVIEW, 77}},
     {{IDC_CMDSAVE, 0, 13}, {IDC_CMDVIEW, 13, 12}, {IDC_CMDCLOSE, 25, 0}, {IDC_FRAME2, -25, 25}},
     25, 25},
    {"BothBottomFramesNeedTheirRoomSideBySide", {{IDC_LABUSER, 126}, {IDC_CMDCLOSE, 70}},
     {{IDC_LABUSER, 0, 5}, {IDC_FRAME1, 0, 5}, {IDC_CMDCLOSE, 0, 5}, {IDC_FRAME2, -5, 5}}, 5, 10},
    {"AFramesOwnCaptionWidensIt", {{IDC_FRAME1, 300}}, {{IDC_FRAME1, 0, 59}}, 0, 59},
};
// clang-format on

class FitCaptions : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitCaptions, GrowsJustEnoughAndMovesTheNeighbours) {
  const FitCase& c = GetParam();
  const window::FittedDesign design = window::FitCaptions(96, {});
  const window::FittedDesign fitted = window::FitCaptions(96, c.needs);
  for (const window::Placement& control : window::kDesign) {
    SCOPED_TRACE(control.id);
    PixelRect expected = design.Place(control.id);
    for (const Moved& moved : c.moved) {
      if (moved.id != control.id) continue;
      expected.left += moved.left;
      expected.width += moved.width;
    }
    EXPECT_EQ(fitted.Place(control.id), expected);
  }
  EXPECT_EQ(fitted.buttonFrameGrowth, c.buttonFrameGrowth);
  EXPECT_EQ(fitted.extraClientWidth, c.extraClientWidth);
}

INSTANTIATE_TEST_SUITE_P(, FitCaptions, ::testing::ValuesIn(kFitCases),
                         [](const auto& test) { return std::string(test.param.name); });

// The real window, its captions measured as it draws them.
SIZE CaptionExtent(HWND control) {
  wchar_t text[256] = {};
  const int length = GetWindowTextW(control, text, 256);
  const window::ControlDc dc(control,
                             reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
  SIZE extent{};
  GetTextExtentPoint32W(dc.Get(), text, length, &extent);
  return extent;
}

bool Overlap(const PixelRect& a, const PixelRect& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}

class Layout : public WindowTest {
 protected:
  [[nodiscard]] int Px(double twips) { return window::TwipsToPixels(twips, Form().Dpi()); }
  [[nodiscard]] HWND ControlOf(int id) {
    for (const HWND container : {Form().Handle(), Ctl().Frame1, Ctl().Frame2}) {
      if (const HWND control = GetDlgItem(container, id)) return control;
    }
    return nullptr;
  }
  // Without WM_WINDOWPOSCHANGING, so that the system does not keep the
  // smallest size itself and Form_Resize must; the size given is read before
  // the display's own answer comes in.
  Size SetOuterSize(Size size) {
    SetWindowPos(Form().Handle(), nullptr, 0, 0, size.first, size.second,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING);
    RECT outer{};
    GetWindowRect(Form().Handle(), &outer);
    Pump(Form());
    return {outer.right - outer.left, outer.bottom - outer.top};
  }

  // Form_Resize's rules, in twips, for the client area of the moment: lists
  // 225 narrower and 1355 shorter than it, the frames' top 750 above its
  // bottom, the button frame's right edge 105 from its right edge however
  // much its captions widened it; the frames keep their size.
  void ExpectLayoutFitsTheClientArea(Size legendSize, Size buttonsSize) {
    const auto [clientWidth, clientHeight] = ClientSize(Form().Handle());
    const float width = window::PixelsToTwips(clientWidth, Form().Dpi());
    const float height = window::PixelsToTwips(clientHeight, Form().Dpi());
    for (const HWND list : {Ctl().lstPath, Ctl().lstClasspath}) {
      EXPECT_EQ(PlaceOf(list), (PixelRect{Px(120), Px(600), std::max(Px(width - 225), 0),
                                          std::max(Px(height - 1355), 0)}));
    }
    const PixelRect legend = PlaceOf(Ctl().Frame1);
    const PixelRect buttons = PlaceOf(Ctl().Frame2);
    EXPECT_EQ(legend, (PixelRect{Px(240), Px(height - 750), legendSize.first, legendSize.second}));
    EXPECT_EQ(buttons, (PixelRect{Px(width - 3240) + Px(3135) - buttonsSize.first, Px(height - 750),
                                  buttonsSize.first, buttonsSize.second}));
  }
};

class LayoutAtDpi : public Layout, public ::testing::WithParamInterface<UINT> {
 protected:
  void SetUp() override {
    // Too long for the legend's design at any DPI.
    fake_.identity.userName = "Bartholomew Featherstonehaugh-Cholmondeley";
    Open();
    ASSERT_EQ(Form().Dpi(), 96u) << "the display is expected to run at 96 dpi";
    if (GetParam() != 96) ChangeDpi(GetParam());
  }
};

TEST_P(LayoutAtDpi, EveryControlInItsPlaceAndEveryCaptionShownWhole) {
  // Each control at its design top and height; the frames follow the client
  // area's bottom, the lists its height. Controls of one container that stand
  // apart in the design stay apart.
  const window::FittedDesign design = window::FitCaptions(GetParam(), {});
  for (const window::Placement& a : window::kDesign) {
    SCOPED_TRACE(a.id);
    const HWND control = ControlOf(a.id);
    ASSERT_NE(control, nullptr);
    const PixelRect place = PlaceOf(control);
    if (a.id != IDC_FRAME1 && a.id != IDC_FRAME2) {
      EXPECT_EQ(place.top, design.Place(a.id).top);
    }
    if (a.id != IDC_LSTPATH && a.id != IDC_LSTCLASSPATH) {
      EXPECT_EQ(place.height, design.Place(a.id).height);
    }
    for (const window::Placement& b : window::kDesign) {
      const HWND other = ControlOf(b.id);
      if (a.id < b.id && GetParent(control) == GetParent(other) &&
          !Overlap(design.Place(a.id), design.Place(b.id))) {
        EXPECT_FALSE(Overlap(place, PlaceOf(other))) << "with " << b.id;
      }
    }
  }
  EXPECT_EQ(SendMessageA(Ctl().lstClasspath, LVM_GETCOLUMNWIDTH, 0, 0), Px(6800));
  if (GetParam() == 96) {  // opened at 7080 x 5190 twips and the room the widest row took
    const int grown =
        std::max(PlaceOf(Ctl().imgSort).left - 440,
                 PlaceOf(Ctl().Frame1).width - 241 + PlaceOf(Ctl().Frame2).width - 209);
    EXPECT_EQ(ClientSize(Form().Handle()), Size(472 + grown, 346));
  }

  // A label draws its text edge to edge; a push button keeps its two-pixel
  // edge, the default button's outline and a pixel of margin on each side; a
  // frame starts its caption seven pixels in and keeps a pixel of margin.
  const struct {
    HWND control;
    SIZE padding;  // both sides together
  } captioned[] = {{Ctl().Label3, {0, 0}},  {Ctl().Label2, {0, 0}},  {Ctl().labUser, {0, 0}},
                   {Ctl().Frame1, {16, 0}}, {Ctl().cmdSave, {8, 8}}, {Ctl().cmdView, {8, 8}},
                   {Ctl().cmdClose, {8, 8}}};
  for (const auto& [control, padding] : captioned) {
    SCOPED_TRACE(TextOf(control));
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof(font),
               &font);
    EXPECT_EQ(font.lfHeight, -MulDiv(8, static_cast<int>(Form().Dpi()), 72)) << "the window's font";
    const SIZE text = CaptionExtent(control);
    ASSERT_GT(text.cx, 0);
    const PixelRect place = PlaceOf(control);
    EXPECT_GE(place.height, text.cy + padding.cy) << "the caption is cut";
    const int fits =
        std::max<int>(Px(window::DesignRect(GetDlgCtrlID(control)).width), text.cx + padding.cx);
    EXPECT_GE(place.width, fits) << "the caption is cut";
    if (control != Ctl().Frame1) {  // which holds the labels as well
      EXPECT_EQ(place.width, fits) << "the design width, or just enough";
    }
  }
  // The tab strip ends past its last tab, room left for the selected tab's
  // two pixels at each side.
  RECT tab{};
  ASSERT_TRUE(SendMessageA(Ctl().TabStrip1, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&tab)));
  EXPECT_EQ(PlaceOf(Ctl().TabStrip1).width, std::max(Px(2535), static_cast<int>(tab.right) + 2));

  // The legend holds its labels; the bottom frames touch as the design has
  // them, and no more.
  ExpectLayoutFitsTheClientArea(SizeOf(Ctl().Frame1), SizeOf(Ctl().Frame2));
  const PixelRect legend = PlaceOf(Ctl().Frame1);
  EXPECT_LE(legend.left + legend.width - PlaceOf(Ctl().Frame2).left, Px(240 + 3615) - Px(3840));
  EXPECT_LE(PlaceOf(Ctl().labUser).left + PlaceOf(Ctl().labUser).width, legend.width);
}

TEST_P(LayoutAtDpi, KeepsTheSmallestSizeFollowsAnyOtherAndRestsWhileMinimized) {
  MINMAXINFO limits{};
  SendMessageA(Form().Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  const Size least{Px(4770), Px(2000)};
  EXPECT_EQ(Size(limits.ptMinTrackSize.x, limits.ptMinTrackSize.y), least)
      << "dragging stops at the smallest size";
  const Size legend = SizeOf(Ctl().Frame1);
  const Size buttons = SizeOf(Ctl().Frame2);
  const Size large{Px(9000), Px(6000)};
  for (const Size& asked : {Size{1, large.second}, Size{large.first, 1}, Size{0, 0}, large}) {
    SCOPED_TRACE(testing::Message() << asked.first << " x " << asked.second);
    EXPECT_EQ(SetOuterSize(asked),
              Size(std::max(asked.first, least.first), std::max(asked.second, least.second)));
    ExpectLayoutFitsTheClientArea(legend, buttons);
    Form().Form_Resize();  // again, to the same places
    ExpectLayoutFitsTheClientArea(legend, buttons);
  }

  const Size list = SizeOf(Ctl().lstPath);
  ShowWindow(Form().Handle(), SW_MINIMIZE);
  Pump(Form());
  ASSERT_TRUE(IsIconic(Form().Handle()));
  Form().Form_Resize();
  EXPECT_EQ(SizeOf(Ctl().lstPath), list);
  ShowWindow(Form().Handle(), SW_RESTORE);
  Pump(Form());
  ExpectLayoutFitsTheClientArea(legend, buttons);
  EXPECT_TRUE(fake_.user.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(, LayoutAtDpi, ::testing::Values(96u, 120u, 144u, 192u),
                         [](const auto& test) { return std::to_string(test.param) + "dpi"; });

// A control that refuses its new size: the steps before it stay done, the
// rest are skipped, and the failure is shown exactly once.
TEST_F(Layout, AFailingStepIsReportedOnceAndStopsTheLayout) {
  Open();
  const int legendTop = PlaceOf(Ctl().Frame1).top;
  DestroyWindow(Ctl().lstClasspath);
  SetOuterSize({1, 1});  // Form_Resize runs again within, to keep the smallest size
  ASSERT_EQ(fake_.user.messages.size(), 1u);
  EXPECT_EQ(fake_.user.messages[0].caption, "Error from Velmora vs 1.0.24");
  const std::string& text = fake_.user.messages[0].text;
  EXPECT_NE(text.find(" in module frmMain, procedure Form_Resize"), std::string::npos);
  EXPECT_EQ(text.find("Details:\r\n (error"), std::string::npos) << "a description is shown";
  EXPECT_EQ(PlaceOf(Ctl().lstPath).width, ClientSize(Form().Handle()).first - 15)
      << "lstPath was fitted before the failure";
  EXPECT_EQ(PlaceOf(Ctl().Frame1).top, legendTop) << "the frames were not moved";
  EXPECT_TRUE(Form().IsOpen());
}

}  // namespace
}  // namespace window_tests
