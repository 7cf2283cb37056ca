// The window's pictures at the window's DPI. Each picture is drawn for the
// DPIs of resources/DrawnDpis.h; any other DPI takes the drawing of the next
// larger drawn DPI, scaled down (above the largest, the largest scaled up).
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "window/Owners.h"

namespace velmora::window {

// Sizes at 96 dpi, the design sizes.
inline constexpr SIZE kListPictureSize{20, 20};    // ImageList1's images, Image1, Image2
inline constexpr SIZE kSortPictureSize{23, 22};    // imgSort
inline constexpr SIZE kSearchPictureSize{16, 16};  // imgSearch
inline constexpr int kImageCount = 4;              // ImageList1's pictures
inline constexpr int kOverlayCount = 6;            // and the marks drawn over them
// The colour of transparent pixels in the pictures of ImageList1.
inline constexpr COLORREF kMaskColour = RGB(192, 192, 192);

// A design size at dpi, rounded to the nearest pixel as the layout rounds.
[[nodiscard]] SIZE ScaledSize(SIZE design, UINT dpi);

// The drawn DPI whose drawings serve dpi.
[[nodiscard]] UINT DrawingFor(UINT dpi);

// A picture's pixels, rows from the top, each pixel 0x00RRGGBB.
struct PixelGrid {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
};

// A bitmap's pixels, and a 24-bit DIB section holding pixels. Both throw
// platform::Failure when the platform refuses.
[[nodiscard]] PixelGrid ReadPixels(HBITMAP bitmap);
[[nodiscard]] UniqueBitmap MakeBitmap(const PixelGrid& grid);

// Resizes each of `cells` pictures that stand side by side in source to
// `cell`, each new pixel the average of the source area it covers. Pixels of
// the colour `mask` are transparent: a new pixel is transparent when most of
// its area is, and otherwise the average of its opaque part, never the mask
// colour itself.
[[nodiscard]] PixelGrid Resample(const PixelGrid& source, int cells, SIZE cell, std::uint32_t mask);

// Picture id (a bitmap resource drawn for each drawn DPI, of `cells` pictures
// of the design size side by side) at dpi, as a 24-bit bitmap. Throws
// platform::Failure when the picture is missing.
[[nodiscard]] UniqueBitmap LoadPicture(int id, SIZE design, UINT dpi, int cells = 1);

// Icon id, whose images are the icon's drawings, at its design size scaled to
// dpi. Throws platform::Failure when it is missing.
[[nodiscard]] UniqueIcon LoadIconPicture(int id, SIZE design, UINT dpi);

// The window's own icon at dpi, in the size of system metric SM_CXICON or
// SM_CXSMICON. Throws platform::Failure when it is missing.
[[nodiscard]] UniqueIcon LoadWindowIcon(int metric, UINT dpi);

// ImageList1 with its pictures at dpi. Throws platform::Failure when it
// cannot be made whole.
[[nodiscard]] UniqueImageList MakeImageList1(UINT dpi);

}  // namespace velmora::window
