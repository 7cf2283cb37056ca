// The pictures at the window's DPI: the image list, the legend, the sort and
// search pictures and the window's icon, read back through the controls'
// messages, the window moved from monitor to monitor.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <utility>
#include <vector>

#include "WindowFixture.h"
#include "window/Owners.h"
#include "window/Pictures.h"
#include "window/resource.h"
#include "window/resources/DrawnDpis.h"

namespace velmora::window_tests {
namespace {

using window::PixelGrid;
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

class Pictures : public WindowTest {
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
};

// From monitor to monitor through every DPI, and back to the first.
TEST_F(Pictures, FollowTheWindowToEveryDpiAndBack) {
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
  }
  EXPECT_EQ(RowHeight(Ctl().lstPath), row);
}

}  // namespace
}  // namespace velmora::window_tests
