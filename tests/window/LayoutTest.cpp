// Where the controls stand at 96 and 144 dpi, every caption measured in its
// own font and shown whole, and Form_Resize: the smallest window, the lists
// and the bottom frames following the client area, and what a failing step
// does.
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
    const Size given = SizeOf(Form().Handle());
    Pump(Form());
    return given;
  }

  // Form_Resize's rules, in twips, for the client area of the moment: lists
  // 225 narrower and 1355 shorter than it, the frames' top 750 above its
  // bottom, the button frame's right edge 105 from its right edge however
  // much its captions widened it; the frames keep their sizes.
  void ExpectLayoutFitsTheClientArea() {
    RECT client{};
    GetClientRect(Form().Handle(), &client);
    const float width = window::PixelsToTwips(client.right, Form().Dpi());
    const float height = window::PixelsToTwips(client.bottom, Form().Dpi());
    for (const HWND list : {Ctl().lstPath, Ctl().lstClasspath}) {
      EXPECT_EQ(PlaceOf(list), (PixelRect{Px(120), Px(600), std::max(Px(width - 225), 0),
                                          std::max(Px(height - 1355), 0)}));
    }
    const PixelRect legend = PlaceOf(Ctl().Frame1);
    const PixelRect buttons = PlaceOf(Ctl().Frame2);
    EXPECT_EQ(Size(legend.left, legend.top), Size(Px(240), Px(height - 750)));
    EXPECT_EQ(Size(buttons.left + buttons.width, buttons.top),
              Size(Px(width - 3240) + Px(3135), Px(height - 750)));
    EXPECT_EQ(Size(legend.width, buttons.width), frameWidths_);
  }

  Size frameWidths_;
};

class LayoutAtDpi : public Layout, public ::testing::WithParamInterface<UINT> {
 protected:
  void SetUp() override {
    // Too long for the legend's design at any DPI.
    fake_.identity.userName = "Bartholomew Featherstonehaugh-Cholmondeley";
    OpenWith("C:\\A");
    ASSERT_EQ(Form().Dpi(), 96u) << "the display is expected to run at 96 dpi";
    if (GetParam() != 96) ChangeDpi(GetParam());
    frameWidths_ = {SizeOf(Ctl().Frame1).first, SizeOf(Ctl().Frame2).first};
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
  EXPECT_EQ(ListView_GetColumnWidth(Ctl().lstClasspath, 0), Px(6800));

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
  ASSERT_TRUE(TabCtrl_GetItemRect(Ctl().TabStrip1, 1, &tab));
  EXPECT_EQ(PlaceOf(Ctl().TabStrip1).width, std::max(Px(2535), static_cast<int>(tab.right) + 2));

  // The legend holds its labels; the bottom frames touch as the design has
  // them, and no more.
  ExpectLayoutFitsTheClientArea();
  const PixelRect legend = PlaceOf(Ctl().Frame1);
  EXPECT_LE(legend.left + legend.width - PlaceOf(Ctl().Frame2).left, Px(240 + 3615) - Px(3840));
  EXPECT_LE(PlaceOf(Ctl().labUser).left + PlaceOf(Ctl().labUser).width, legend.width);
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
    ExpectLayoutFitsTheClientArea();
    Form().Form_Resize();  // again, to the same places
    ExpectLayoutFitsTheClientArea();
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
