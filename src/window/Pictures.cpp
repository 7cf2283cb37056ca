#include "window/Pictures.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cmath>

#include "platform/Failure.h"
#include "platform/Win32Platform.h"
#include "window/Layout.h"
#include "window/resource.h"
#include "window/resources/DrawnDpis.h"

namespace velmora::window {
namespace {

HINSTANCE Instance() {
  return GetModuleHandleA(nullptr);
}

constexpr std::uint32_t kMaskPixel = std::uint32_t{GetRValue(kMaskColour)} << 16 |
                                     std::uint32_t{GetGValue(kMaskColour)} << 8 |
                                     std::uint32_t{GetBValue(kMaskColour)};

BITMAPINFO TopDownInfo(int width, int height, WORD bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = bits;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

}  // namespace

PixelGrid ReadPixels(HBITMAP bitmap) {
  BITMAP shape{};
  if (GetObjectA(bitmap, sizeof(shape), &shape) == 0) throw platform::Win32Failure(GetLastError());
  PixelGrid grid{shape.bmWidth, shape.bmHeight,
                 std::vector<std::uint32_t>(static_cast<size_t>(shape.bmWidth) * shape.bmHeight)};
  BITMAPINFO info = TopDownInfo(grid.width, grid.height, 32);
  const UniqueDc dc(CreateCompatibleDC(nullptr));
  if (GetDIBits(dc.get(), bitmap, 0, static_cast<UINT>(grid.height), grid.pixels.data(), &info,
                DIB_RGB_COLORS) != grid.height) {
    throw platform::Failure(0, "A picture's pixels could not be read");
  }
  for (auto& pixel : grid.pixels) pixel &= 0xFFFFFF;
  return grid;
}

UniqueBitmap MakeBitmap(const PixelGrid& grid) {
  BITMAPINFO info = TopDownInfo(grid.width, grid.height, 24);
  void* bits = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || bits == nullptr) throw platform::Failure(0, "A picture could not be made");
  const size_t stride = (static_cast<size_t>(grid.width) * 3 + 3) & ~size_t{3};
  auto* rows = static_cast<std::uint8_t*>(bits);
  for (int y = 0; y < grid.height; ++y) {
    std::uint8_t* out = rows + y * stride;
    for (int x = 0; x < grid.width; ++x) {
      const std::uint32_t pixel = grid.pixels[static_cast<size_t>(y) * grid.width + x];
      *out++ = static_cast<std::uint8_t>(pixel);
      *out++ = static_cast<std::uint8_t>(pixel >> 8);
      *out++ = static_cast<std::uint8_t>(pixel >> 16);
    }
  }
  return bitmap;
}

namespace {

// The icon's drawing on the mask colour, at its own size.
PixelGrid IconPixels(HICON icon, SIZE size) {
  PixelGrid ground{size.cx, size.cy,
                   std::vector<std::uint32_t>(static_cast<size_t>(size.cx) * size.cy, kMaskPixel)};
  const UniqueBitmap canvas = MakeBitmap(ground);
  const UniqueDc dc(CreateCompatibleDC(nullptr));
  {
    const Selection selected(dc.get(), canvas.get());
    DrawIconEx(dc.get(), 0, 0, icon, size.cx, size.cy, 0, nullptr, DI_NORMAL);
  }
  return ReadPixels(canvas.get());
}

// An icon whose transparent pixels are those of the mask colour.
UniqueIcon IconFromPixels(const PixelGrid& grid) {
  const UniqueImageList maker(
      ImageList_Create(grid.width, grid.height, ILC_COLOR24 | ILC_MASK, 1, 0));
  const UniqueBitmap picture = MakeBitmap(grid);
  if (!maker || ImageList_AddMasked(maker.get(), picture.get(), kMaskColour) != 0) {
    throw platform::Failure(0, "An icon could not be made");
  }
  UniqueIcon icon(ImageList_GetIcon(maker.get(), 0, ILD_NORMAL));
  if (!icon) throw platform::Failure(0, "An icon could not be made");
  return icon;
}

}  // namespace

SIZE ScaledSize(SIZE design, UINT dpi) {
  // 15 twips to a pixel at 96 dpi: the pictures round as their controls do.
  return SIZE{TwipsToPixels(design.cx * 15, dpi), TwipsToPixels(design.cy * 15, dpi)};
}

UINT DrawingFor(UINT dpi) {
  const auto larger = std::lower_bound(kDrawnDpis.begin(), kDrawnDpis.end(), dpi);
  return larger == kDrawnDpis.end() ? kDrawnDpis.back() : *larger;
}

PixelGrid Resample(const PixelGrid& source, int cells, SIZE cell, std::uint32_t mask) {
  PixelGrid result{cell.cx * cells, cell.cy,
                   std::vector<std::uint32_t>(static_cast<size_t>(cell.cx) * cells * cell.cy)};
  const int sourceCell = source.width / cells;
  const double fx = static_cast<double>(sourceCell) / cell.cx;
  const double fy = static_cast<double>(source.height) / cell.cy;
  for (int c = 0; c < cells; ++c) {
    for (int ty = 0; ty < cell.cy; ++ty) {
      for (int tx = 0; tx < cell.cx; ++tx) {
        // The source area under the new pixel, and how much of each source
        // pixel lies in it.
        const double x0 = tx * fx, x1 = (tx + 1) * fx, y0 = ty * fy, y1 = (ty + 1) * fy;
        double masked = 0, opaque = 0, red = 0, green = 0, blue = 0;
        for (int sy = static_cast<int>(y0); sy < y1 && sy < source.height; ++sy) {
          const double wy = std::min(y1, sy + 1.0) - std::max(y0, static_cast<double>(sy));
          for (int sx = static_cast<int>(x0); sx < x1 && sx < sourceCell; ++sx) {
            const double w = wy * (std::min(x1, sx + 1.0) - std::max(x0, static_cast<double>(sx)));
            const std::uint32_t pixel =
                source.pixels[static_cast<size_t>(sy) * source.width + c * sourceCell + sx];
            if (pixel == mask) {
              masked += w;
              continue;
            }
            opaque += w;
            red += w * (pixel >> 16 & 0xFF);
            green += w * (pixel >> 8 & 0xFF);
            blue += w * (pixel & 0xFF);
          }
        }
        std::uint32_t pixel = mask;
        if (opaque > 0 && opaque >= masked) {
          const auto channel = [&](double sum) {
            return static_cast<std::uint32_t>(std::lround(sum / opaque));
          };
          pixel = channel(red) << 16 | channel(green) << 8 | channel(blue);
          if (pixel == mask) pixel ^= 1;  // an opaque pixel stays opaque
        }
        result.pixels[static_cast<size_t>(ty) * result.width + c * cell.cx + tx] = pixel;
      }
    }
  }
  return result;
}

UniqueBitmap LoadPicture(int id, SIZE design, UINT dpi, int cells) {
  const UINT drawn = DrawingFor(dpi);
  const UniqueBitmap source(static_cast<HBITMAP>(LoadImageA(
      Instance(), MAKEINTRESOURCEA(id + drawn), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (!source) throw platform::Win32Failure(GetLastError());
  PixelGrid pixels = ReadPixels(source.get());
  const SIZE cell = ScaledSize(design, dpi);
  if (pixels.width != cell.cx * cells || pixels.height != cell.cy) {
    pixels = Resample(pixels, cells, cell, kMaskPixel);
  }
  return MakeBitmap(pixels);
}

UniqueIcon LoadIconPicture(int id, SIZE design, UINT dpi) {
  const SIZE wanted = ScaledSize(design, dpi);
  const SIZE drawn = ScaledSize(design, DrawingFor(dpi));
  UniqueIcon icon(static_cast<HICON>(
      LoadImageA(Instance(), MAKEINTRESOURCEA(id), IMAGE_ICON, drawn.cx, drawn.cy, 0)));
  if (!icon) throw platform::Win32Failure(GetLastError());
  if (drawn.cx == wanted.cx && drawn.cy == wanted.cy) return icon;
  return IconFromPixels(Resample(IconPixels(icon.get(), drawn), 1, wanted, kMaskPixel));
}

UniqueIcon LoadWindowIcon(int metric, UINT dpi) {
  const int size = GetSystemMetricsForDpi(metric, dpi);
  UniqueIcon icon(static_cast<HICON>(
      LoadImageA(Instance(), MAKEINTRESOURCEA(IDI_VELMORA), IMAGE_ICON, size, size, 0)));
  if (!icon) throw platform::Win32Failure(GetLastError());
  return icon;
}

UniqueImageList MakeImageList1(UINT dpi) {
  const SIZE size = ScaledSize(kListPictureSize, dpi);
  UniqueImageList list(
      ImageList_Create(size.cx, size.cy, ILC_COLOR24 | ILC_MASK, kImageCount + kOverlayCount, 0));
  if (!list) throw platform::Failure(0, "The image list could not be created");
  const UniqueBitmap pictures = LoadPicture(IDB_IMAGELIST, kListPictureSize, dpi, kImageCount);
  ImageList_AddMasked(list.get(), pictures.get(), kMaskColour);
  // The marks of entries that cannot serve, drawn over an entry's picture:
  // overlays 1 to kOverlayCount, after the list's own pictures.
  const UniqueBitmap marks = LoadPicture(IDB_OVERLAYS, kListPictureSize, dpi, kOverlayCount);
  ImageList_AddMasked(list.get(), marks.get(), kMaskColour);
  if (ImageList_GetImageCount(list.get()) != kImageCount + kOverlayCount) {
    throw platform::Failure(0, "The image list's pictures are incomplete");
  }
  for (int overlay = 1; overlay <= kOverlayCount; ++overlay) {
    ImageList_SetOverlayImage(list.get(), kImageCount + overlay - 1, overlay);
  }
  return list;
}

}  // namespace velmora::window
