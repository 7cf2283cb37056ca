// The window moved from monitor to monitor through every DPI: at each, the
// pictures (the image list, the legend, the sort and search pictures and the
// window's icon, read back through the controls' messages) and the controls
// (the window's font, every caption shown whole, no control over another,
// the smallest window kept); and what a failing Form_Resize step does.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "WindowFixture.h"
#include "window/Layout.h"
#include "window/Owners.h"
#include "window/Pictures.h"
#include "window/resource.h"
#include "window/resources/DrawnDpis.h"

namespace velmora::window_tests {
namespace {

using window::PixelGrid;
using window::PixelRect;
using window::ReadPixels;
using window::UniqueBitmap;

constexpr std::uint32_t kMask = 0xC0C0C0;

// Images first to first + cells - 1 of the list drawn side by side over the
// mask colour: where the list's masks are right, exactly their drawing.
PixelGrid ImagesOf(HIMAGELIST list, int first, int cells, int size) {
  const UniqueBitmap canvas = window::MakeBitmap(
      {size * cells, size,
       std::vector<std::uint32_t>(static_cast<size_t>(size * cells * size), kMask)});
  const window::UniqueDc dc(CreateCompatibleDC(nullptr));
  const HGDIOBJ old = SelectObject(dc.get(), canvas.get());
  for (int i = 0; i < cells; ++i) {
    ImageList_Draw(list, first + i, dc.get(), i * size, 0, ILD_TRANSPARENT);
  }
  SelectObject(dc.get(), old);
  return ReadPixels(canvas.get());
}

Size IconSize(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return {};
  const UniqueBitmap colour(info.hbmColor);
  const UniqueBitmap mask(info.hbmMask);
  BITMAP shape{};
  GetObjectA(colour.get(), sizeof(shape), &shape);
  return {shape.bmWidth, shape.bmHeight};
}

// A picture as the program carries it, drawn for dpi.
PixelGrid Drawing(int id, unsigned dpi) {
  const UniqueBitmap drawing(static_cast<HBITMAP>(
      LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id + dpi), IMAGE_BITMAP, 0, 0, 0)));
  return drawing ? ReadPixels(drawing.get()) : PixelGrid{};
}

bool Drawn(UINT dpi) {
  return std::ranges::find(window::kDrawnDpis, dpi) != window::kDrawnDpis.end();
}

// A picture's size at each DPI: its design size (at 96 dpi) times dpi / 96,
// rounded; at every DPI drawn for, and at 108 and 480 dpi that are not.
struct AtDpi {
  UINT dpi;
  int list;    // ImageList1's images, Image1 and Image2, square
  SIZE sort;   // imgSort
  int search;  // imgSearch, square
};
const AtDpi kSizes[] = {
    {96, 20, {23, 22}, 16},     {108, 23, {26, 25}, 18}, {120, 25, {29, 28}, 20},
    {144, 30, {35, 33}, 24},    {168, 35, {40, 39}, 28}, {192, 40, {46, 44}, 32},
    {240, 50, {58, 55}, 40},    {288, 60, {69, 66}, 48}, {384, 80, {92, 88}, 64},
    {480, 100, {115, 110}, 80},
};

int RowHeight(HWND list) {
  RECT row{};
  ListView_GetItemRect(list, 0, &row, LVIR_BOUNDS);
  return row.bottom - row.top;
}

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

class WindowAtDpi : public WindowTest {
 protected:
  void ExpectPicture(HWND control, SIZE size, int drawing, UINT dpi) {
    const PixelGrid shown =
        ReadPixels(reinterpret_cast<HBITMAP>(SendMessageA(control, STM_GETIMAGE, IMAGE_BITMAP, 0)));
    EXPECT_EQ(SizeOf(control), Size(size.cx, size.cy));
    EXPECT_EQ(Size(shown.width, shown.height), Size(size.cx, size.cy));
    // Drawn for the DPI, not stretched: at 96 dpi these are the design pictures.
    if (Drawn(dpi)) {
      EXPECT_TRUE(shown.pixels == Drawing(drawing, dpi).pixels) << "unlike drawing " << drawing;
    }
  }

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

  void ExpectCaptionsWholeAndNoControlOverAnother() {
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
      EXPECT_EQ(font.lfHeight, -MulDiv(8, static_cast<int>(Form().Dpi()), 72))
          << "the window's font";
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
  }

  // Dragging stops at the smallest size, any larger size is followed, and
  // everything stands inside the window.
  void ExpectTheSmallestSizeKept() {
    MINMAXINFO limits{};
    SendMessageA(Form().Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    const Size least{Px(4770), Px(2000)};
    EXPECT_EQ(Size(limits.ptMinTrackSize.x, limits.ptMinTrackSize.y), least);
    const Size large{Px(9000), Px(6000)};
    // The display cuts a window larger than the screen: the sizes are tried
    // where they fit on it.
    const bool fits = large.first <= GetSystemMetrics(SM_CXSCREEN) &&
                      large.second <= GetSystemMetrics(SM_CYSCREEN);
    for (const Size& asked : {Size{1, large.second}, Size{large.first, 1}, Size{0, 0}, large}) {
      if (!fits) break;
      SCOPED_TRACE(testing::Message() << asked.first << " x " << asked.second);
      EXPECT_EQ(SetOuterSize(asked),
                Size(std::max(asked.first, least.first), std::max(asked.second, least.second)));
    }
    // The lists end above the bottom frames and inside the client area; the
    // frames stand inside it too.
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

// From monitor to monitor through every DPI, and back to the first.
TEST_F(WindowAtDpi, FollowTheWindowToEveryDpiAndBackWithTheControls) {
  // Too long for the legend's design at any DPI.
  fake_.identity.userName = "Bartholomew Featherstonehaugh-Cholmondeley";
  OpenWith("C:\\Windows;C:\\Tools");
  ASSERT_EQ(Form().Dpi(), 96u);
  const int row = RowHeight(Ctl().lstPath);
  for (std::size_t step = 0; step <= std::size(kSizes); ++step) {
    const AtDpi& at = kSizes[step % std::size(kSizes)];
    if (at.dpi != Form().Dpi()) ChangeDpi(at.dpi);
    SCOPED_TRACE(testing::Message() << at.dpi << " dpi");
    for (const HWND list : {Ctl().lstPath, Ctl().lstClasspath}) {
      const HIMAGELIST images = ListView_GetImageList(list, LVSIL_SMALL);
      Size size{};
      ASSERT_TRUE(ImageList_GetIconSize(images, &size.first, &size.second));
      EXPECT_EQ(size, Size(at.list, at.list));
      EXPECT_EQ(ImageList_GetImageCount(images), window::kImageCount + window::kOverlayCount);
      if (!Drawn(at.dpi)) continue;
      EXPECT_TRUE(ImagesOf(images, 0, window::kImageCount, at.list).pixels ==
                  Drawing(IDB_IMAGELIST, at.dpi).pixels);
      EXPECT_TRUE(ImagesOf(images, window::kImageCount, window::kOverlayCount, at.list).pixels ==
                  Drawing(IDB_OVERLAYS, at.dpi).pixels);
    }
    EXPECT_GE(RowHeight(Ctl().lstPath), at.list) << "the rows hold the picture";
    ExpectPicture(Ctl().Image1, {at.list, at.list}, IDB_SYSTEM, at.dpi);
    ExpectPicture(Ctl().Image2, {at.list, at.list}, IDB_USER, at.dpi);
    ExpectPicture(Ctl().imgSort, at.sort, IDB_SORT, at.dpi);
    Form().imgSort_Click();
    ExpectPicture(Ctl().imgSort, at.sort, IDB_SORTED, at.dpi);
    Form().imgSort_Click();
    EXPECT_EQ(SizeOf(Ctl().imgSearch).first, at.search);
    const auto search =
        reinterpret_cast<HICON>(SendMessageA(Ctl().imgSearch, STM_GETIMAGE, IMAGE_ICON, 0));
    EXPECT_EQ(IconSize(search), Size(at.search, at.search));
    const auto small =
        reinterpret_cast<HICON>(SendMessageA(Form().Handle(), WM_GETICON, ICON_SMALL, 0));
    EXPECT_EQ(IconSize(small).first, GetSystemMetricsForDpi(SM_CXSMICON, at.dpi));
    ExpectCaptionsWholeAndNoControlOverAnother();
    ExpectTheSmallestSizeKept();
  }
  EXPECT_EQ(RowHeight(Ctl().lstPath), row);
  EXPECT_TRUE(fake_.user.messages.empty());
}

// A control that refuses its new size: the steps before it stay done, the
// rest are skipped, and the failure is shown exactly once.
TEST_F(WindowAtDpi, AFailingLayoutStepIsReportedOnceAndStopsTheLayout) {
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
