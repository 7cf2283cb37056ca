// Captions shown whole: every button, label, frame and tab caption at 96,
// 120, 144 and 192 dpi in the window's own font, and the room the layout makes
// where a design width is too narrow for its caption.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "WindowFixture.h"
#include "window/Layout.h"
#include "window/Owners.h"
#include "window/resource.h"

namespace window_tests {
namespace {

using window::CaptionNeed;
using window::TwipsToPixels;

// The arithmetic alone, with made-up needs at 96 dpi: how far each control
// stands from its design place (left, width), every other one staying put.
struct Moved {
  int id;
  int left;
  int width;
};

struct FitCase {
  const char* name;
  std::vector<CaptionNeed> needs;
  std::vector<Moved> moved;
  int buttonFrameGrowth;
  int extraClientWidth;
};

const FitCase kFitCases[] = {
    {"captions that fit change nothing",
     {{IDC_TABSTRIP1, 169}, {IDC_LABEL3, 25}, {IDC_CMDSAVE, 60}, {IDC_FRAME1, 0}},
     {},
     0,
     0},
    {"a wider tab strip moves the whole search row",
     {{IDC_TABSTRIP1, 199}},
     {{IDC_TABSTRIP1, 0, 30},
      {IDC_SHAPE1, 30, 0},
      {IDC_LABEL3, 30, 0},
      {IDC_TXTSEARCH, 30, 0},
      {IDC_IMGSEARCH, 30, 0},
      {IDC_IMGSORT, 30, 0}},
     0,
     30},
    {"a wider Find label widens the outline around it",
     {{IDC_LABEL3, 35}},
     {{IDC_LABEL3, 0, 10},
      {IDC_SHAPE1, 0, 10},
      {IDC_TXTSEARCH, 10, 0},
      {IDC_IMGSEARCH, 10, 0},
      {IDC_IMGSORT, 10, 0}},
     0,
     10},
    {"wider legend labels widen the legend frame",
     {{IDC_LABEL2, 59}, {IDC_LABUSER, 126}},
     {{IDC_LABEL2, 0, 10}, {IDC_IMAGE2, 10, 0}, {IDC_LABUSER, 10, 5}, {IDC_FRAME1, 0, 15}},
     0,
     15},
    {"wider buttons widen their frame to the left",
     {{IDC_CMDSAVE, 78}, {IDC_CMDVIEW, 77}},
     {{IDC_CMDSAVE, 0, 13}, {IDC_CMDVIEW, 13, 12}, {IDC_CMDCLOSE, 25, 0}, {IDC_FRAME2, -25, 25}},
     25,
     25},
    {"both bottom frames need their room side by side",
     {{IDC_LABUSER, 126}, {IDC_CMDCLOSE, 70}},
     {{IDC_LABUSER, 0, 5}, {IDC_FRAME1, 0, 5}, {IDC_CMDCLOSE, 0, 5}, {IDC_FRAME2, -5, 5}},
     5,
     10},
    {"a frame's own caption widens it", {{IDC_FRAME1, 300}}, {{IDC_FRAME1, 0, 59}}, 0, 59},
};

void PrintTo(const FitCase& c, std::ostream* out) {
  *out << c.name;
}

class FitCaptions : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitCaptions, GrowsJustEnoughAndMovesTheNeighbours) {
  const FitCase& c = GetParam();
  const window::FittedDesign fitted = window::FitCaptions(96, c.needs);
  for (const auto& [id, design] : window::kDesign) {
    SCOPED_TRACE(id);
    Moved expected{id, 0, 0};
    for (const Moved& moved : c.moved) {
      if (moved.id == id) expected = moved;
    }
    const window::PixelRect& place = fitted.Place(id);
    EXPECT_EQ(place.left, TwipsToPixels(design.left, 96) + expected.left);
    EXPECT_EQ(place.width, TwipsToPixels(design.width, 96) + expected.width);
    EXPECT_EQ(place.top, TwipsToPixels(design.top, 96));
    EXPECT_EQ(place.height, TwipsToPixels(design.height, 96));
  }
  EXPECT_EQ(fitted.buttonFrameGrowth, c.buttonFrameGrowth);
  EXPECT_EQ(fitted.extraClientWidth, c.extraClientWidth);
}

std::string CaseName(const ::testing::TestParamInfo<FitCase>& test) {
  std::string name;
  for (const char* p = test.param.name; *p != '\0'; ++p) {
    if (std::isalnum(static_cast<unsigned char>(*p))) name += *p;
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(, FitCaptions, ::testing::ValuesIn(kFitCases), CaseName);

// The real window, its captions measured as it draws them.
using Member = HWND window::Controls::*;
using C = window::Controls;

struct Captioned {
  const char* name;
  Member control;
  SIZE padding;  // what the control keeps around its text, both sides together
};

// A label draws its text edge to edge; a push button keeps its two-pixel edge,
// the default button's outline and a pixel of margin on each side; a frame
// starts its caption seven pixels in and keeps a pixel of margin.
const Captioned kCaptioned[] = {
    {"Label3", &C::Label3, {0, 0}},     {"Label2", &C::Label2, {0, 0}},
    {"labUser", &C::labUser, {0, 0}},   {"Frame1", &C::Frame1, {16, 0}},
    {"cmdSave", &C::cmdSave, {8, 8}},   {"cmdView", &C::cmdView, {8, 8}},
    {"cmdClose", &C::cmdClose, {8, 8}},
};

SIZE TextExtent(HWND control, const std::wstring& text) {
  const window::ControlDc dc(control,
                             reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
  SIZE extent{};
  GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
  return extent;
}

std::wstring WideTextOf(HWND control) {
  wchar_t text[256] = {};
  GetWindowTextW(control, text, 256);
  return text;
}

class LongCaption : public WindowTest {};

class Captions : public WindowTest, public ::testing::WithParamInterface<UINT> {
 protected:
  void SetUp() override {
    fake_.identity.userName = "wineuser";
    Open();
    ASSERT_EQ(Form().Dpi(), 96u);
    if (Dpi() != 96) MoveToDpi(Dpi());
  }

  [[nodiscard]] UINT Dpi() const { return GetParam(); }
  [[nodiscard]] int Px(double twips) const { return TwipsToPixels(twips, Dpi()); }
  [[nodiscard]] RECT PixelsOf(const window::TwipsRect& rect) const {
    return RECT{Px(rect.left), Px(rect.top), Px(rect.left) + Px(rect.width),
                Px(rect.top) + Px(rect.height)};
  }

  // A control stands in the window or in one of the two frames.
  HWND ControlOf(int id) {
    for (const HWND container : {Form().Handle(), Ctl().Frame1, Ctl().Frame2}) {
      if (const HWND control = GetDlgItem(container, id)) return control;
    }
    return nullptr;
  }

  // As the system does when the window moves to a monitor of another DPI.
  void MoveToDpi(UINT dpi) {
    RECT outer{};
    GetWindowRect(Form().Handle(), &outer);
    const auto scale = [&](LONG length) { return MulDiv(length, static_cast<int>(dpi), 96); };
    RECT suggested{outer.left, outer.top, outer.left + scale(outer.right - outer.left),
                   outer.top + scale(outer.bottom - outer.top)};
    SendMessageA(Form().Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&suggested));
    Pump(Form());
    ASSERT_EQ(Form().Dpi(), dpi);
  }
};

TEST_P(Captions, EveryCaptionIsShownWholeAndOnlyGrowsWhereItMust) {
  for (const Captioned& c : kCaptioned) {
    SCOPED_TRACE(c.name);
    const HWND control = Ctl().*(c.control);
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof(font),
               &font);
    EXPECT_EQ(font.lfHeight, -MulDiv(8, static_cast<int>(Dpi()), 72)) << "the window's font";

    const SIZE text = TextExtent(control, WideTextOf(control));
    ASSERT_GT(text.cx, 0);
    const int needed = text.cx + c.padding.cx;
    const int design = Px(window::DesignRect(GetDlgCtrlID(control)).width);
    const RECT place = PlaceOf(control);
    EXPECT_GE(place.right, needed) << "the caption is cut";
    EXPECT_GE(place.bottom, text.cy + c.padding.cy) << "the caption is cut";
    EXPECT_EQ(place.right, std::max(design, needed)) << "the design width, or just enough";
  }
}

TEST_P(Captions, EveryTabIsShownWhole) {
  const HWND tabs = Ctl().TabStrip1;
  RECT tab{};
  for (int i = 0; i < 2; ++i) {
    wchar_t caption[32] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption;
    item.cchTextMax = 32;
    SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    ASSERT_TRUE(SendMessageA(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(i),
                             reinterpret_cast<LPARAM>(&tab)));
    EXPECT_GT(tab.right - tab.left, TextExtent(tabs, caption).cx) << i;
  }
  // The last tab ends inside the strip, room left for the selected tab's
  // two pixels at each side.
  const RECT strip = PlaceOf(tabs);
  EXPECT_EQ(strip.right, std::max(Px(2535), static_cast<int>(tab.right) + 2));
}

TEST_P(Captions, NeighboursStayApartAndTheButtonFrameKeepsItsRightEdge) {
  // Controls of one container that stand apart in the design stay apart.
  for (const auto& [id, design] : window::kDesign) {
    for (const auto& [otherId, otherDesign] : window::kDesign) {
      const HWND control = ControlOf(id);
      const HWND other = ControlOf(otherId);
      if (otherId <= id || GetParent(control) != GetParent(other)) continue;
      RECT overlap{};
      const RECT a = PixelsOf(design);
      const RECT b = PixelsOf(otherDesign);
      if (IntersectRect(&overlap, &a, &b)) continue;
      RECT placeA{};
      RECT placeB{};
      GetWindowRect(control, &placeA);
      GetWindowRect(other, &placeB);
      EXPECT_FALSE(IntersectRect(&overlap, &placeA, &placeB)) << id << " and " << otherId;
    }
  }

  RECT client{};
  GetClientRect(Form().Handle(), &client);
  const float width = window::PixelsToTwips(client.right, Dpi());
  const RECT buttons = PlaceOf(Ctl().Frame2);
  EXPECT_EQ(buttons.left + buttons.right, Px(width - 3240) + Px(3135));
  // The two bottom frames touch as the design has them, and no more.
  const RECT legend = PlaceOf(Ctl().Frame1);
  EXPECT_LE(legend.left + legend.right - buttons.left, Px(240 + 3615) - Px(3840));
}

TEST_F(LongCaption, AUserNameWidensTheLegendAndTheWindow) {
  fake_.identity.userName = "Bartholomew Featherstonehaugh-Cholmondeley";
  Open();
  const RECT label = PlaceOf(Ctl().labUser);
  EXPECT_GE(label.right, TextExtent(Ctl().labUser, WideTextOf(Ctl().labUser)).cx);
  const RECT legend = PlaceOf(Ctl().Frame1);
  EXPECT_LE(label.left + label.right, legend.right) << "the legend holds the label";
  const RECT buttons = PlaceOf(Ctl().Frame2);
  EXPECT_LE(legend.left + legend.right - buttons.left, 1) << "the frames touch as designed";
  RECT client{};
  GetClientRect(Form().Handle(), &client);
  EXPECT_GT(client.right, 472);
}

std::string DpiName(const ::testing::TestParamInfo<UINT>& test) {
  return std::to_string(test.param) + "dpi";
}

INSTANTIATE_TEST_SUITE_P(, Captions, ::testing::Values(96u, 120u, 144u, 192u), DpiName);

}  // namespace
}  // namespace window_tests
