// Where the controls stand: the design in pixels, the room the layout makes
// where a design width is too narrow for its caption, the real window at 96,
// 120, 144 and 192 dpi with every caption measured in its own font, and
// Form_Resize: the smallest window, the lists and the bottom frames following
// the client area, and what a failing step does.
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
using window::TwipsToPixels;

// The design at 15 twips a pixel (96 dpi: 158 and 572 twips round to 11 and
// 38) and at 10 (144 dpi, halves rounded up), and the frame that holds each
// control (0: the client area).
struct Designed {
  int id;
  int frame;
  PixelRect at96;
  PixelRect at144;
};
const Designed kDesigned[] = {
    {IDC_TABSTRIP1, 0, {8, 8, 169, 25}, {12, 12, 254, 38}},
    {IDC_TXTSEARCH, 0, {224, 11, 177, 19}, {336, 16, 266, 29}},
    {IDC_LABEL3, 0, {192, 13, 25, 14}, {288, 20, 38, 21}},
    {IDC_SHAPE1, 0, {184, 8, 249, 25}, {276, 12, 374, 38}},
    {IDC_IMGSORT, 0, {440, 9, 23, 22}, {660, 14, 35, 33}},
    {IDC_IMGSEARCH, 0, {408, 12, 16, 16}, {612, 18, 24, 24}},
    {IDC_LSTPATH, 0, {8, 40, 457, 241}, {12, 60, 686, 362}},
    {IDC_LSTCLASSPATH, 0, {8, 40, 457, 241}, {12, 60, 686, 362}},
    {IDC_FRAME1, 0, {16, 292, 241, 44}, {24, 438, 362, 66}},
    {IDC_FRAME2, 0, {256, 292, 209, 49}, {384, 438, 314, 74}},
    {IDC_IMAGE1, IDC_FRAME1, {8, 16, 20, 20}, {12, 24, 30, 30}},
    {IDC_LABEL2, IDC_FRAME1, {32, 18, 49, 17}, {48, 27, 74, 26}},
    {IDC_IMAGE2, IDC_FRAME1, {88, 16, 20, 20}, {132, 24, 30, 30}},
    {IDC_LABUSER, IDC_FRAME1, {112, 18, 121, 17}, {168, 27, 182, 26}},
    {IDC_CMDSAVE, IDC_FRAME2, {8, 6, 65, 38}, {12, 9, 98, 57}},
    {IDC_CMDVIEW, IDC_FRAME2, {76, 6, 65, 38}, {114, 9, 98, 57}},
    {IDC_CMDCLOSE, IDC_FRAME2, {144, 6, 65, 38}, {216, 9, 98, 57}},
};

TEST(LayoutDesign, WithNoCaptionToFitEveryControlKeepsItsDesignPlace) {
  for (const Designed& d : kDesigned) {
    SCOPED_TRACE(d.id);
    EXPECT_EQ(window::FitCaptions(96, {}).Place(d.id), d.at96);
    EXPECT_EQ(window::FitCaptions(144, {}).Place(d.id), d.at144);
  }
  EXPECT_EQ(window::FitCaptions(144, {}).extraClientWidth, 0);
}

// The arithmetic alone, with made-up needs at 96 dpi: how far each control
// stands from its design place (left, width), every other one staying put.
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
  const window::FittedDesign fitted = window::FitCaptions(96, c.needs);
  for (const Designed& d : kDesigned) {
    SCOPED_TRACE(d.id);
    PixelRect expected = d.at96;
    for (const Moved& moved : c.moved) {
      if (moved.id == d.id)
        expected = {d.at96.left + moved.left, d.at96.top, d.at96.width + moved.width,
                    d.at96.height};
    }
    EXPECT_EQ(fitted.Place(d.id), expected);
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

class Layout : public WindowTest {
 protected:
  [[nodiscard]] int Px(double twips) { return TwipsToPixels(twips, Form().Dpi()); }
  [[nodiscard]] HWND ControlOf(const Designed& d) {
    return GetDlgItem(d.frame == 0 ? Form().Handle() : GetDlgItem(Form().Handle(), d.frame), d.id);
  }
  // Without WM_WINDOWPOSCHANGING, so that the system does not keep the
  // smallest size itself and Form_Resize must; the size given is read before
  // the display's own answer comes in.
  SIZE SetOuterSize(SIZE size) {
    SetWindowPos(Form().Handle(), nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING);
    RECT outer{};
    GetWindowRect(Form().Handle(), &outer);
    Pump(Form());
    return SIZE{outer.right - outer.left, outer.bottom - outer.top};
  }

  // Form_Resize's rules, in twips, for the client area of the moment: lists
  // 225 narrower and 1355 shorter than it, the frames' top 750 above its
  // bottom, the button frame's right edge 105 from its right edge however
  // much its captions widened it.
  void ExpectLayoutFitsTheClientArea() {
    const RECT client = ClientOf(Form().Handle());
    const float width = window::PixelsToTwips(client.right, Form().Dpi());
    const float height = window::PixelsToTwips(client.bottom, Form().Dpi());
    for (const HWND list : {Ctl().lstPath, Ctl().lstClasspath}) {
      const RECT place = PlaceOf(list);
      EXPECT_EQ(place.left, Px(120));
      EXPECT_EQ(place.top, Px(600));
      EXPECT_EQ(place.right, std::max(Px(width - 225), 0));
      EXPECT_EQ(place.bottom, std::max(Px(height - 1355), 0));
    }
    const RECT legend = PlaceOf(Ctl().Frame1);
    const RECT buttons = PlaceOf(Ctl().Frame2);
    EXPECT_EQ(legend.left, Px(240));
    EXPECT_EQ(legend.top, Px(height - 750));
    EXPECT_EQ(buttons.left + buttons.right, Px(width - 3240) + Px(3135));
    EXPECT_EQ(buttons.top, Px(height - 750));
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
  // Each control in its frame, at its design top (the frames follow the
  // client area's bottom) and height (the lists follow it too).
  for (const Designed& d : kDesigned) {
    SCOPED_TRACE(d.id);
    const HWND control = ControlOf(d);
    ASSERT_NE(control, nullptr);
    const PixelRect design = window::FitCaptions(GetParam(), {}).Place(d.id);
    const bool frame = d.id == IDC_FRAME1 || d.id == IDC_FRAME2;
    const bool list = d.id == IDC_LSTPATH || d.id == IDC_LSTCLASSPATH;
    EXPECT_EQ(PlaceOf(control).top, frame ? PlaceOf(control).top : design.top);
    EXPECT_EQ(PlaceOf(control).bottom, list ? PlaceOf(control).bottom : design.height);
  }
  EXPECT_EQ(SendMessageA(Ctl().lstClasspath, LVM_GETCOLUMNWIDTH, 0, 0), Px(6800));
  if (GetParam() == 96) {  // opened at 7080 x 5190 twips and the room the widest row took
    EXPECT_EQ(ClientOf(Form().Handle()).bottom, 346);
    EXPECT_EQ(
        ClientOf(Form().Handle()).right,
        472 + std::max(PlaceOf(Ctl().imgSort).left - 440,
                       PlaceOf(Ctl().Frame1).right - 241 + PlaceOf(Ctl().Frame2).right - 209));
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
    EXPECT_GE(PlaceOf(control).bottom, text.cy + padding.cy) << "the caption is cut";
    const LONG fits =
        std::max<LONG>(Px(window::DesignRect(GetDlgCtrlID(control)).width), text.cx + padding.cx);
    EXPECT_GE(PlaceOf(control).right, fits) << "the caption is cut";
    if (control != Ctl().Frame1) {  // which holds the labels as well
      EXPECT_EQ(PlaceOf(control).right, fits) << "the design width, or just enough";
    }
  }
  // The tab strip ends past its last tab, room left for the selected tab's
  // two pixels at each side.
  RECT tab{};
  ASSERT_TRUE(SendMessageA(Ctl().TabStrip1, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&tab)));
  EXPECT_EQ(PlaceOf(Ctl().TabStrip1).right, std::max(Px(2535), static_cast<int>(tab.right) + 2));

  // Controls of one container that stand apart in the design stay apart.
  for (const Designed& a : kDesigned) {
    for (const Designed& b : kDesigned) {
      const PixelRect da = window::FitCaptions(GetParam(), {}).Place(a.id);
      const PixelRect db = window::FitCaptions(GetParam(), {}).Place(b.id);
      const RECT designA{da.left, da.top, da.left + da.width, da.top + da.height};
      const RECT designB{db.left, db.top, db.left + db.width, db.top + db.height};
      RECT overlap{};
      RECT placeA{};
      RECT placeB{};
      if (a.id >= b.id || a.frame != b.frame || IntersectRect(&overlap, &designA, &designB)) {
        continue;
      }
      GetWindowRect(ControlOf(a), &placeA);
      GetWindowRect(ControlOf(b), &placeB);
      EXPECT_FALSE(IntersectRect(&overlap, &placeA, &placeB)) << a.id << " and " << b.id;
    }
  }

  // The legend holds its labels; the bottom frames touch as the design has
  // them, and no more.
  ExpectLayoutFitsTheClientArea();
  const RECT buttons = PlaceOf(Ctl().Frame2);
  const RECT legend = PlaceOf(Ctl().Frame1);
  EXPECT_LE(legend.left + legend.right - buttons.left, Px(240 + 3615) - Px(3840));
  EXPECT_LE(PlaceOf(Ctl().labUser).left + PlaceOf(Ctl().labUser).right, legend.right);
}

TEST_P(LayoutAtDpi, KeepsTheSmallestSizeAndFollowsAnyOther) {
  MINMAXINFO limits{};
  SendMessageA(Form().Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  const SIZE least{Px(4770), Px(2000)};
  EXPECT_EQ(limits.ptMinTrackSize.x, least.cx) << "dragging stops at the smallest size";
  EXPECT_EQ(limits.ptMinTrackSize.y, least.cy);
  const RECT legend = PlaceOf(Ctl().Frame1);
  const RECT buttons = PlaceOf(Ctl().Frame2);
  const SIZE large{Px(9000), Px(6000)};
  for (const SIZE asked : {SIZE{1, large.cy}, SIZE{large.cx, 1}, SIZE{0, 0}, large}) {
    SCOPED_TRACE(testing::Message() << asked.cx << " x " << asked.cy);
    const SIZE given = SetOuterSize(asked);
    EXPECT_EQ(given.cx, std::max(asked.cx, least.cx));
    EXPECT_EQ(given.cy, std::max(asked.cy, least.cy));
    ExpectLayoutFitsTheClientArea();
    Form().Form_Resize();  // again, to the same places
    ExpectLayoutFitsTheClientArea();
    EXPECT_EQ(std::make_pair(PlaceOf(Ctl().Frame1).right, PlaceOf(Ctl().Frame1).bottom),
              std::make_pair(legend.right, legend.bottom))
        << "the frames keep their size";
    EXPECT_EQ(std::make_pair(PlaceOf(Ctl().Frame2).right, PlaceOf(Ctl().Frame2).bottom),
              std::make_pair(buttons.right, buttons.bottom));
  }
  EXPECT_TRUE(fake_.user.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(, LayoutAtDpi, ::testing::Values(96u, 120u, 144u, 192u),
                         [](const auto& test) { return std::to_string(test.param) + "dpi"; });

TEST_F(Layout, MinimizedNothingMovesAndRestoredTheLayoutFollows) {
  Open();
  const RECT list = PlaceOf(Ctl().lstPath);
  ShowWindow(Form().Handle(), SW_MINIMIZE);
  Pump(Form());
  ASSERT_TRUE(IsIconic(Form().Handle()));
  Form().Form_Resize();
  EXPECT_EQ(PlaceOf(Ctl().lstPath).right, list.right);
  EXPECT_EQ(PlaceOf(Ctl().lstPath).bottom, list.bottom);
  ShowWindow(Form().Handle(), SW_RESTORE);
  Pump(Form());
  ExpectLayoutFitsTheClientArea();
  EXPECT_TRUE(fake_.user.messages.empty());
}

// A control that refuses its new size: the steps before it stay done, the
// rest are skipped, and the failure is shown exactly once.
TEST_F(Layout, AFailingStepIsReportedOnceAndStopsTheLayout) {
  Open();
  const RECT legendBefore = PlaceOf(Ctl().Frame1);
  DestroyWindow(Ctl().lstClasspath);
  SetOuterSize({1, 1});  // Form_Resize runs again within, to keep the smallest size
  ASSERT_EQ(fake_.user.messages.size(), 1u);
  EXPECT_EQ(fake_.user.messages[0].caption, "Error from Velmora vs 1.0.24");
  const std::string& text = fake_.user.messages[0].text;
  EXPECT_NE(text.find(" in module frmMain, procedure Form_Resize"), std::string::npos);
  EXPECT_EQ(text.find("Details:\r\n (error"), std::string::npos) << "a description is shown";
  EXPECT_EQ(PlaceOf(Ctl().lstPath).right, ClientOf(Form().Handle()).right - 15)
      << "lstPath was fitted before the failure";
  EXPECT_EQ(PlaceOf(Ctl().Frame1).top, legendBefore.top) << "the frames were not moved";
  EXPECT_TRUE(Form().IsOpen());
}

}  // namespace
}  // namespace window_tests
