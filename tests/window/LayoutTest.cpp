// The controls at 96 and 144 dpi: the window's font, every caption shown
// whole, no control over another; and Form_Resize: the smallest window, and
// what a failing step does.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>

#include "WindowFixture.h"
#include "window/Layout.h"
#include "window/Owners.h"
#include "window/resource.h"

namespace velmora::window_tests {
namespace {

using window::PixelRect;

// A caption measured as the control draws it: in its own device context.
SIZE CaptionExtent(HWND control) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  const std::unique_ptr<HDC__, std::function<void(HDC)>> dc(
      GetDC(control), [control](HDC used) { ReleaseDC(control, used); });
  const window::Selection font(dc.get(),
                               reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
  SIZE extent{};
  GetTextExtentPoint32W(dc.get(), text.data(), static_cast<int>(text.size()), &extent);
  return extent;
}

template <class Rect>
bool Overlap(const Rect& a, const Rect& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}

class Layout : public WindowTest {
 protected:
  [[nodiscard]] int Px(double twips) { return window::TwipsToPixels(twips, Form().Dpi()); }
  // Without WM_WINDOWPOSCHANGING, so that the system does not keep the
  // smallest size itself and Form_Resize must; the size given is read before
  // the display's own answer comes in.
  Size SetOuterSize(Size size) {
    SetWindowPos(Form().Handle(), nullptr, 0, 0, size.first, size.second,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING);
    const Size given = SizeOf(Form().Handle());
    Pump(Form());
    return given;
  }

  // The lists end above the bottom frames and inside the client area; the
  // frames stand inside it too.
  void ExpectEverythingInside() {
    RECT client{};
    GetClientRect(Form().Handle(), &client);
    const PixelRect list = PlaceOf(Ctl().lstPath);
    EXPECT_EQ(PlaceOf(Ctl().lstClasspath), list);
    for (const HWND frame : {Ctl().Frame1, Ctl().Frame2}) {
      const PixelRect place = PlaceOf(frame);
      EXPECT_LE(list.top + list.height, place.top);
      EXPECT_LE(place.top + place.height, client.bottom);
    }
    EXPECT_LE(list.left + list.width, client.right);
  }
};

class LayoutAtDpi : public Layout, public ::testing::WithParamInterface<UINT> {
 protected:
  void SetUp() override {
    // Too long for the legend's design at any DPI.
    fake_.identity.userName = "Bartholomew Featherstonehaugh-Cholmondeley";
    OpenWith("C:\\A");
    ASSERT_EQ(Form().Dpi(), 96u) << "the display is expected to run at 96 dpi";
    if (GetParam() != 96) ChangeDpi(GetParam());
  }
};

TEST_P(LayoutAtDpi, EveryCaptionShownWholeInTheWindowsFontAndNoControlOverAnother) {
  // Controls of one container that stand apart in the design stay apart.
  for (const window::DesignedControl& a : window::kDesign) {
    const HWND control = Form().Ctl().*a.handle;
    for (const window::DesignedControl& b : window::kDesign) {
      if (a.id < b.id && a.container == b.container && !Overlap(a.rect, b.rect)) {
        EXPECT_FALSE(Overlap(PlaceOf(control), PlaceOf(Form().Ctl().*b.handle)))
            << a.id << " with " << b.id;
      }
    }
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
    EXPECT_GE(place.width, text.cx + padding.cx) << "the caption is cut";
  }
  // The tab strip ends past its last tab, room left for the selected tab's
  // two pixels at each side; the legend holds its labels.
  RECT tab{};
  ASSERT_TRUE(TabCtrl_GetItemRect(Ctl().TabStrip1, 1, &tab));
  EXPECT_GE(PlaceOf(Ctl().TabStrip1).width, tab.right + 2);
  EXPECT_LE(PlaceOf(Ctl().labUser).left + PlaceOf(Ctl().labUser).width,
            PlaceOf(Ctl().Frame1).width);
  ExpectEverythingInside();
}

TEST_P(LayoutAtDpi, KeepsTheSmallestSizeAndFollowsAnyOther) {
  MINMAXINFO limits{};
  SendMessageA(Form().Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  const Size least{Px(4770), Px(2000)};
  EXPECT_EQ(Size(limits.ptMinTrackSize.x, limits.ptMinTrackSize.y), least)
      << "dragging stops at the smallest size";
  const Size large{Px(9000), Px(6000)};
  for (const Size& asked : {Size{1, large.second}, Size{large.first, 1}, Size{0, 0}, large}) {
    SCOPED_TRACE(testing::Message() << asked.first << " x " << asked.second);
    EXPECT_EQ(SetOuterSize(asked),
              Size(std::max(asked.first, least.first), std::max(asked.second, least.second)));
    if (asked == large) ExpectEverythingInside();
  }
  EXPECT_TRUE(fake_.user.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(, LayoutAtDpi, ::testing::Values(96u, 144u),
                         [](const auto& test) { return std::to_string(test.param) + "dpi"; });

// A control that refuses its new size: the steps before it stay done, the
// rest are skipped, and the failure is shown exactly once.
TEST_F(Layout, AFailingStepIsReportedOnceAndStopsTheLayout) {
  OpenWith("C:\\A");
  const int legendTop = PlaceOf(Ctl().Frame1).top;
  DestroyWindow(Ctl().lstClasspath);
  SetOuterSize({1, 1});  // Form_Resize runs again within, to keep the smallest size
  ASSERT_EQ(fake_.user.messages.size(), 1u);
  EXPECT_EQ(fake_.user.messages[0].caption, "Error from Velmora vs 1.0.24");
  const std::string& text = fake_.user.messages[0].text;
  EXPECT_NE(text.find(" in module frmMain, procedure Form_Resize"), std::string::npos);
  EXPECT_EQ(text.find("Details:\r\n (error"), std::string::npos) << "a description is shown";
  RECT client{};
  GetClientRect(Form().Handle(), &client);
  EXPECT_EQ(SizeOf(Ctl().lstPath).first, client.right - 15)
      << "lstPath was fitted before the failure";
  EXPECT_EQ(PlaceOf(Ctl().Frame1).top, legendTop) << "the frames were not moved";
  EXPECT_TRUE(Form().IsOpen());
}

}  // namespace
}  // namespace velmora::window_tests
