// The window's design in twips (1/1440 inch) and its conversion to pixels at
// the window's DPI: at 96 dpi 15 twips make one pixel.
#pragma once

#include <windows.h>

#include <array>

namespace window {

struct TwipsRect {
  int left;
  int top;
  int width;
  int height;
};

// Twips to whole pixels, rounded to the nearest.
[[nodiscard]] int TwipsToPixels(double twips, UINT dpi);
[[nodiscard]] float PixelsToTwips(int pixels, UINT dpi);

// Where a control stands at design time, relative to its container (the
// window's client area, or the frame holding it).
struct Placement {
  int id;
  TwipsRect rect;
};

// Every control that has a place of its own, in tab order.
extern const std::array<Placement, 17> kDesign;

[[nodiscard]] const TwipsRect& DesignRect(int id);

// The client area at design time, and the window's smallest outer size.
inline constexpr int kDesignClientWidth = 7080;
inline constexpr int kDesignClientHeight = 5190;
inline constexpr int kMinOuterWidth = 4770;
inline constexpr int kMinOuterHeight = 2000;

// How the lists and the bottom frames follow the client area.
inline constexpr float kListHeightAllowance = 915 + 440;
inline constexpr float kListWidthAllowance = 225;
inline constexpr float kFrameTopAllowance = 810 - 60;
inline constexpr float kButtonFrameAllowance = 3240;

// The lists' only column, and the offset under which the popup menu opens.
inline constexpr int kColumnWidth = 6800;
inline constexpr float kMenuOffset = 600;

}  // namespace window
