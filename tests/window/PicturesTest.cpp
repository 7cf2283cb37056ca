// The pictures at the window's DPI: the image list, the legend, the sort and
// search pictures and the window's icon, read back through the controls'
// messages. The window opens at the display's DPI (96 unless Wine's LogPixels
// says otherwise) and is moved to a monitor of the DPI each test wants.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <initializer_list>
#include <ostream>
#include <vector>

#include "WindowFixture.h"
#include "window/Owners.h"
#include "window/Pictures.h"
#include "window/resource.h"
#include "window/resources/DrawnDpis.h"

namespace window_tests {
namespace {

using window::UniqueBitmap;
using window::UniqueIcon;

constexpr std::uint32_t kMask = 0xC0C0C0;

struct Grid {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, rows from the top
  [[nodiscard]] std::uint32_t At(int x, int y) const { return pixels[y * width + x]; }
};

Grid PixelsOf(HBITMAP bitmap) {
  BITMAP shape{};
  GetObjectA(bitmap, sizeof(shape), &shape);
  Grid grid{shape.bmWidth, shape.bmHeight,
            std::vector<std::uint32_t>(static_cast<size_t>(shape.bmWidth) * shape.bmHeight)};
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = grid.width;
  info.bmiHeader.biHeight = -grid.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  const window::UniqueDc dc(CreateCompatibleDC(nullptr));
  GetDIBits(dc.get(), bitmap, 0, static_cast<UINT>(grid.height), grid.pixels.data(), &info,
            DIB_RGB_COLORS);
  for (auto& pixel : grid.pixels) pixel &= 0xFFFFFF;
  return grid;
}

SIZE SizeOf(HBITMAP bitmap) {
  BITMAP shape{};
  GetObjectA(bitmap, sizeof(shape), &shape);
  return SIZE{shape.bmWidth, shape.bmHeight};
}

SIZE IconSize(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return SIZE{};
  const UniqueBitmap colour(info.hbmColor);
  const UniqueBitmap mask(info.hbmMask);
  return SizeOf(colour.get());
}

// A picture as the program carries it, drawn for dpi.
Grid Drawing(int id, unsigned dpi) {
  const UniqueBitmap drawing(static_cast<HBITMAP>(
      LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id + dpi), IMAGE_BITMAP, 0, 0, 0)));
  return drawing ? PixelsOf(drawing.get()) : Grid{};
}

HBITMAP PictureOf(HWND control) {
  return reinterpret_cast<HBITMAP>(SendMessageA(control, STM_GETIMAGE, IMAGE_BITMAP, 0));
}

// Image `index` of the list against cell `index` of the drawing: the same
// colour where the drawing is opaque, the list's mask where it is not.
void ExpectImageIs(HIMAGELIST list, int index, const Grid& drawing, int cells) {
  IMAGEINFO info{};
  ASSERT_TRUE(ImageList_GetImageInfo(list, index, &info));
  const Grid image = PixelsOf(info.hbmImage);
  const Grid mask = PixelsOf(info.hbmMask);
  const int cell = drawing.width / cells;
  ASSERT_EQ(info.rcImage.right - info.rcImage.left, cell);
  int wrong = 0;
  for (int y = 0; y < drawing.height; ++y) {
    for (int x = 0; x < cell; ++x) {
      const std::uint32_t want = drawing.At(index * cell + x, y);
      const int ix = info.rcImage.left + x;
      const int iy = info.rcImage.top + y;
      const bool transparent = mask.At(ix, iy) != 0;
      if (transparent != (want == kMask) || (!transparent && image.At(ix, iy) != want)) ++wrong;
    }
  }
  EXPECT_EQ(wrong, 0) << "pixels unlike the drawing in image " << index + 1;
}

void ExpectSameGrid(const Grid& shown, const Grid& drawing) {
  ASSERT_EQ(shown.width, drawing.width);
  ASSERT_EQ(shown.height, drawing.height);
  EXPECT_TRUE(shown.pixels == drawing.pixels);
}

class Pictures : public WindowTest {
 protected:
  // Opens the window with two entries in its lists, at dpi: on a display of
  // another DPI the window then moves to a monitor of that DPI.
  void OpenAt(UINT dpi) {
    fake_.environment.Set("PATH", "C:\\Windows;C:\\Tools");
    Open();
    if (Form().Dpi() != dpi) ChangeDpi(dpi);
  }

  // Moves the window to a monitor of dpi, as Windows does.
  void ChangeDpi(UINT dpi) {
    RECT outer{};
    GetWindowRect(Form().Handle(), &outer);
    const UINT old = Form().Dpi();
    RECT suggested{outer.left, outer.top,
                   outer.left + MulDiv(outer.right - outer.left, static_cast<int>(dpi), old),
                   outer.top + MulDiv(outer.bottom - outer.top, static_cast<int>(dpi), old)};
    SendMessageA(Form().Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&suggested));
    Pump(Form());
    ASSERT_EQ(Form().Dpi(), dpi);
  }

  [[nodiscard]] HIMAGELIST Images(HWND list, int kind = LVSIL_SMALL) {
    return reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, kind, 0));
  }
  [[nodiscard]] RECT RowPart(int part) {
    RECT rect{};
    rect.left = part;
    SendMessageA(Ctl().lstPath, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rect));
    return rect;
  }
  void ExpectDrawingsOf(unsigned dpi) {
    SCOPED_TRACE(dpi);
    const Grid strip = Drawing(IDB_IMAGELIST, dpi);
    for (int index = 0; index < window::kImageCount; ++index) {
      ExpectImageIs(Images(Ctl().lstPath), index, strip, window::kImageCount);
    }
    ExpectSameGrid(PixelsOf(PictureOf(Ctl().Image1)), Drawing(IDB_SYSTEM, dpi));
    ExpectSameGrid(PixelsOf(PictureOf(Ctl().Image2)), Drawing(IDB_USER, dpi));
    ExpectSameGrid(PixelsOf(PictureOf(Ctl().imgSort)), Drawing(IDB_SORT, dpi));
  }
};

// A picture's size at each DPI: its design size (at 96 dpi) times dpi / 96,
// rounded. 108 and 480 dpi have no drawings of their own.
struct AtDpi {
  UINT dpi;
  int list;    // ImageList1's images, Image1 and Image2, square
  SIZE sort;   // imgSort
  int search;  // imgSearch, square
};
const AtDpi kSizes[] = {
    {96, 20, {23, 22}, 16},  {108, 23, {26, 25}, 18}, {120, 25, {29, 28}, 20},
    {144, 30, {35, 33}, 24}, {192, 40, {46, 44}, 32}, {480, 100, {115, 110}, 80},
};

void PrintTo(const AtDpi& at, std::ostream* out) {
  *out << at.dpi << " dpi";
}

class PicturesAtDpi : public Pictures, public ::testing::WithParamInterface<AtDpi> {};

TEST_P(PicturesAtDpi, EveryPictureAndItsControlHaveTheSizeOfTheDpi) {
  const AtDpi& at = GetParam();
  OpenAt(at.dpi);

  for (const HWND list : {Ctl().lstPath, Ctl().lstClasspath}) {
    for (const int kind : {LVSIL_SMALL, LVSIL_NORMAL}) {
      const HIMAGELIST images = Images(list, kind);
      ASSERT_NE(images, nullptr);
      int width = 0;
      int height = 0;
      ImageList_GetIconSize(images, &width, &height);
      EXPECT_EQ(width, at.list);
      EXPECT_EQ(height, at.list);
      EXPECT_EQ(ImageList_GetImageCount(images), window::kImageCount + window::kOverlayCount);
    }
  }
  for (const HWND legend : {Ctl().Image1, Ctl().Image2}) {
    EXPECT_EQ(PlaceOf(legend).right, at.list);
    EXPECT_EQ(PlaceOf(legend).bottom, at.list);
    EXPECT_EQ(SizeOf(PictureOf(legend)).cx, at.list);
    EXPECT_EQ(SizeOf(PictureOf(legend)).cy, at.list);
  }
  EXPECT_EQ(PlaceOf(Ctl().imgSort).right, at.sort.cx);
  EXPECT_EQ(PlaceOf(Ctl().imgSort).bottom, at.sort.cy);
  EXPECT_EQ(SizeOf(PictureOf(Ctl().imgSort)).cx, at.sort.cx);
  EXPECT_EQ(SizeOf(PictureOf(Ctl().imgSort)).cy, at.sort.cy);
  Form().imgSort_Click();  // the sorted picture
  EXPECT_EQ(SizeOf(PictureOf(Ctl().imgSort)).cx, at.sort.cx);
  EXPECT_EQ(SizeOf(PictureOf(Ctl().imgSort)).cy, at.sort.cy);
  EXPECT_EQ(PlaceOf(Ctl().imgSearch).right, at.search);
  const auto search =
      reinterpret_cast<HICON>(SendMessageA(Ctl().imgSearch, STM_GETIMAGE, IMAGE_ICON, 0));
  EXPECT_EQ(IconSize(search).cx, at.search);
  EXPECT_EQ(IconSize(search).cy, at.search);

  // The rows hold the picture.
  EXPECT_GE(RowPart(LVIR_BOUNDS).bottom - RowPart(LVIR_BOUNDS).top, at.list);
  EXPECT_GE(RowPart(LVIR_ICON).right - RowPart(LVIR_ICON).left, at.list);
  EXPECT_GE(RowPart(LVIR_ICON).bottom - RowPart(LVIR_ICON).top, at.list);

  const auto small =
      reinterpret_cast<HICON>(SendMessageA(Form().Handle(), WM_GETICON, ICON_SMALL, 0));
  EXPECT_EQ(IconSize(small).cx, GetSystemMetricsForDpi(SM_CXSMICON, at.dpi));
}

INSTANTIATE_TEST_SUITE_P(Dpis, PicturesAtDpi, ::testing::ValuesIn(kSizes));

class PicturesAtDrawnDpi : public Pictures, public ::testing::WithParamInterface<UINT> {};

// Drawn for the DPI, not stretched: at 96 dpi these are the design pictures.
TEST_P(PicturesAtDrawnDpi, ArePixelForPixelTheDrawingsForThatDpi) {
  OpenAt(GetParam());
  ExpectDrawingsOf(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Dpis, PicturesAtDrawnDpi, ::testing::Values(96u, 120u, 144u, 192u));

TEST_F(Pictures, FollowTheWindowFromMonitorToMonitorAndBack) {
  OpenAt(96);
  const RECT row = RowPart(LVIR_BOUNDS);
  ChangeDpi(192);
  EXPECT_GE(RowPart(LVIR_BOUNDS).bottom - RowPart(LVIR_BOUNDS).top, 40);
  ChangeDpi(120);
  ExpectDrawingsOf(120);
  ChangeDpi(96);
  ExpectDrawingsOf(96);
  EXPECT_EQ(RowPart(LVIR_BOUNDS).bottom - RowPart(LVIR_BOUNDS).top, row.bottom - row.top);
}

TEST_F(Pictures, EveryDrawnDpiHasEveryPictureAtItsSize) {
  struct Picture {
    int id;
    SIZE design;
    int cells;
  };
  const Picture pictures[] = {{IDB_SYSTEM, {20, 20}, 1},
                              {IDB_USER, {20, 20}, 1},
                              {IDB_SORT, {23, 22}, 1},
                              {IDB_SORTED, {23, 22}, 1},
                              {IDB_IMAGELIST, {20, 20}, window::kImageCount},
                              {IDB_OVERLAYS, {20, 20}, window::kOverlayCount}};
  ASSERT_EQ(window::kDrawnDpis.front(), 96u);
  for (const unsigned dpi : window::kDrawnDpis) {
    for (const Picture& picture : pictures) {
      SCOPED_TRACE(testing::Message() << "picture " << picture.id << " at " << dpi << " dpi");
      const Grid drawing = Drawing(picture.id, dpi);
      EXPECT_EQ(drawing.width,
                MulDiv(picture.design.cx, static_cast<int>(dpi), 96) * picture.cells);
      EXPECT_EQ(drawing.height, MulDiv(picture.design.cy, static_cast<int>(dpi), 96));
    }
  }
}

// The group of the application icon lists one image per size; each image is
// read at its own size (the 256-pixel one is PNG).
TEST_F(Pictures, ApplicationIconCarriesTheSizesWindowsAsksFor) {
#pragma pack(push, 2)
  struct Entry {
    BYTE width, height, colours, reserved;
    WORD planes, bits;
    DWORD bytes;
    WORD id;
  };
#pragma pack(pop)
  const HMODULE module = GetModuleHandleA(nullptr);
  const HRSRC group = FindResourceA(module, MAKEINTRESOURCEA(IDI_VELMORA), RT_GROUP_ICON);
  ASSERT_NE(group, nullptr);
  const auto* header = static_cast<const WORD*>(LockResource(LoadResource(module, group)));
  const auto* entries = reinterpret_cast<const Entry*>(header + 3);
  std::vector<int> sizes;
  for (int i = 0; i < header[2]; ++i) {
    const int size = entries[i].width == 0 ? 256 : entries[i].width;
    sizes.push_back(size);
    const HRSRC image = FindResourceA(module, MAKEINTRESOURCEA(entries[i].id), RT_ICON);
    ASSERT_NE(image, nullptr);
    const UniqueIcon icon(CreateIconFromResourceEx(
        static_cast<BYTE*>(LockResource(LoadResource(module, image))),
        SizeofResource(module, image), TRUE, 0x00030000, 0, 0, LR_DEFAULTCOLOR));
    EXPECT_EQ(IconSize(icon.get()).cx, size);
  }
  EXPECT_EQ(sizes, (std::vector<int>{16, 20, 24, 32, 40, 48, 64, 256}));
}

// Scaling a drawing for a DPI without one of its own.
struct Resampling {
  const char* name;
  window::PixelGrid source;
  int cells;
  SIZE cell;
  std::vector<std::uint32_t> expected;
};

const Resampling kResamplings[] = {
    {"same size keeps every pixel", {2, 1, {0x102030, 0xFFFFFF}}, 1, {2, 1}, {0x102030, 0xFFFFFF}},
    {"halving averages four pixels",
     {2, 2, {0x000000, 0xFEFEFE, 0x000000, 0xFEFEFE}},
     1,
     {1, 1},
     {0x7F7F7F}},
    {"mostly transparent stays transparent",
     {2, 2, {kMask, kMask, kMask, 0xFF0000}},
     1,
     {1, 1},
     {kMask}},
    {"the mask colour does not tint the opaque part",
     {2, 2, {kMask, 0xFF0000, 0xFF0000, 0xFF0000}},
     1,
     {1, 1},
     {0xFF0000}},
    {"half transparent counts as opaque", {2, 1, {kMask, 0x00FF00}}, 1, {1, 1}, {0x00FF00}},
    {"an average of the mask colour stays opaque",
     {2, 1, {0x818181, 0xFFFFFF}},
     1,
     {1, 1},
     {0xC0C0C1}},
    {"cells do not bleed into each other",
     {4, 1, {0x000000, 0x000000, 0xFFFFFF, 0xFFFFFF}},
     2,
     {1, 1},
     {0x000000, 0xFFFFFF}},
    {"thirds weigh by the area covered",
     {3, 1, {0x000000, 0x000000, 0xF0F0F0}},
     1,
     {2, 1},
     {0x000000, 0xA0A0A0}},
    {"enlarging repeats the pixel",
     {1, 1, {0x123456}},
     1,
     {2, 2},
     {0x123456, 0x123456, 0x123456, 0x123456}},
};

void PrintTo(const Resampling& r, std::ostream* out) {
  *out << r.name;
}

class Resample : public ::testing::TestWithParam<Resampling> {};

TEST_P(Resample, GivesTheAreaAverage) {
  const Resampling& r = GetParam();
  const window::PixelGrid result = window::Resample(r.source, r.cells, r.cell, kMask);
  EXPECT_EQ(result.width, r.cell.cx * r.cells);
  EXPECT_EQ(result.height, r.cell.cy);
  EXPECT_EQ(result.pixels, r.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, Resample, ::testing::ValuesIn(kResamplings));

}  // namespace
}  // namespace window_tests
