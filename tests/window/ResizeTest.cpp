// Form_Resize: the smallest window, the lists and the bottom frames following
// the client area, and what a failing step does.
#include <windows.h>

#include <cmath>
#include <string>

#include "WindowFixture.h"

namespace window_tests {
namespace {

class Resize : public WindowTest {
 protected:
  void SetUp() override {
    fake_.environment.Set("PATH", "C:\\A;C:\\B");
    Open();
    ASSERT_EQ(Form().Dpi(), 96u);
  }

  void SetOuterSize(int width, int height) {
    SetWindowPos(Form().Handle(), nullptr, 0, 0, width, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump(Form());
  }

  [[nodiscard]] SIZE OuterSize() {
    RECT outer{};
    GetWindowRect(Form().Handle(), &outer);
    return SIZE{outer.right - outer.left, outer.bottom - outer.top};
  }

  // The layout's rules, in twips at 15 to the pixel, for the client area of
  // the moment: lists 225 narrower and 1355 shorter than it, the frames' top
  // 750 above its bottom, the button frame's left 3240 from its right edge
  // (less what its captions made it wider).
  void ExpectLayoutFitsTheClientArea() {
    RECT client{};
    GetClientRect(Form().Handle(), &client);
    const double width = client.right * 15.0;
    const double height = client.bottom * 15.0;
    const auto px = [](double twips) { return static_cast<int>(std::lround(twips / 15.0)); };
    for (const HWND list : {Ctl().lstPath, Ctl().lstClasspath}) {
      const RECT place = PlaceOf(list);
      EXPECT_EQ(place.left, 8);
      EXPECT_EQ(place.top, 40);
      EXPECT_EQ(place.right, std::max(px(width - 225), 0));
      EXPECT_EQ(place.bottom, std::max(px(height - 1355), 0));
    }
    const RECT legend = PlaceOf(Ctl().Frame1);
    EXPECT_EQ(legend.left, 16);
    EXPECT_EQ(legend.top, px(height - 750));
    EXPECT_EQ(legend.right, 241);
    // However much wider its captions made it, the button frame keeps its
    // right edge where the design has it.
    const RECT buttons = PlaceOf(Ctl().Frame2);
    EXPECT_EQ(buttons.left + buttons.right, px(width - 3240) + 209);
    EXPECT_EQ(buttons.top, px(height - 750));
    EXPECT_GE(buttons.right, 209);
    // The top row does not move.
    const RECT tabs = PlaceOf(Ctl().TabStrip1);
    EXPECT_EQ(tabs.left, 8);
    EXPECT_EQ(tabs.top, 8);
  }
};

TEST_F(Resize, LargerWindowGrowsTheListsAndMovesTheFrames) {
  SetOuterSize(800, 600);
  ExpectLayoutFitsTheClientArea();
}

TEST_F(Resize, TooNarrowSnapsToTheMinimumWidthOnly) {
  SetOuterSize(200, 500);
  EXPECT_EQ(OuterSize().cx, 318);  // 4770 twips
  EXPECT_EQ(OuterSize().cy, 500);
  ExpectLayoutFitsTheClientArea();
}

TEST_F(Resize, TooLowSnapsToTheMinimumHeightOnly) {
  SetOuterSize(600, 50);
  EXPECT_EQ(OuterSize().cx, 600);
  EXPECT_EQ(OuterSize().cy, 133);  // 2000 twips
  ExpectLayoutFitsTheClientArea();
}

TEST_F(Resize, DraggingBelowTheMinimumIsRefusedOnTheWay) {
  MINMAXINFO limits{};
  SendMessageA(Form().Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  EXPECT_EQ(limits.ptMinTrackSize.x, 318);
  EXPECT_EQ(limits.ptMinTrackSize.y, 133);
}

TEST_F(Resize, MaximizedTheLayoutFollowsTheWholeClientArea) {
  ShowWindow(Form().Handle(), SW_MAXIMIZE);
  Pump(Form());
  ASSERT_TRUE(IsZoomed(Form().Handle()));
  ExpectLayoutFitsTheClientArea();
  ShowWindow(Form().Handle(), SW_RESTORE);
  Pump(Form());
  ExpectLayoutFitsTheClientArea();
}

TEST_F(Resize, MinimizedNothingChangesAndRestoringLaysOutAgain) {
  const RECT before = PlaceOf(Ctl().lstPath);
  ShowWindow(Form().Handle(), SW_MINIMIZE);
  Pump(Form());
  ASSERT_TRUE(IsIconic(Form().Handle()));
  Form().Form_Resize();
  const RECT during = PlaceOf(Ctl().lstPath);
  EXPECT_EQ(during.right, before.right);
  EXPECT_EQ(during.bottom, before.bottom);
  ShowWindow(Form().Handle(), SW_RESTORE);
  Pump(Form());
  ExpectLayoutFitsTheClientArea();
  EXPECT_TRUE(fake_.user.messages.empty());
}

TEST_F(Resize, RunningAgainGivesTheSameLayout) {
  SetOuterSize(700, 500);
  const RECT list = PlaceOf(Ctl().lstPath);
  const RECT buttons = PlaceOf(Ctl().Frame2);
  Form().Form_Resize();
  Form().Form_Resize();
  const RECT listAgain = PlaceOf(Ctl().lstPath);
  const RECT buttonsAgain = PlaceOf(Ctl().Frame2);
  EXPECT_EQ(std::make_pair(listAgain.right, listAgain.bottom),
            std::make_pair(list.right, list.bottom));
  EXPECT_EQ(std::make_pair(buttonsAgain.left, buttonsAgain.top),
            std::make_pair(buttons.left, buttons.top));
}

// A control that refuses its new size: the steps before it stay done, the
// rest are skipped, and the failure is shown exactly once.
TEST_F(Resize, AFailingStepIsReportedOnceAndStopsTheLayout) {
  const RECT legendBefore = PlaceOf(Ctl().Frame1);
  DestroyWindow(Ctl().lstClasspath);
  SetOuterSize(700, 520);
  ASSERT_EQ(fake_.user.messages.size(), 1u);
  const auto& box = fake_.user.messages[0];
  EXPECT_EQ(box.caption, "Error from Velmora vs 1.0.24");
  EXPECT_NE(box.text.find(" in module frmMain, procedure Form_Resize"), std::string::npos);
  EXPECT_EQ(box.text.find("Details:\r\n (error"), std::string::npos) << "a description is shown";

  RECT client{};
  GetClientRect(Form().Handle(), &client);
  const RECT list = PlaceOf(Ctl().lstPath);
  EXPECT_EQ(list.right, client.right - 15) << "lstPath was fitted before the failure";
  const RECT legend = PlaceOf(Ctl().Frame1);
  EXPECT_EQ(legend.top, legendBefore.top) << "the frames were not moved";
  EXPECT_TRUE(Form().IsOpen());
}

}  // namespace
}  // namespace window_tests
