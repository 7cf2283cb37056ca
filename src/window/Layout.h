// The window's design in twips (1/1440 inch) and its conversion to pixels at
// the window's DPI: at 96 dpi 15 twips make one pixel.
#pragma once

#include <windows.h>

#include <array>
#include <span>

#include "window/Design.h"

namespace velmora::window {

// Twips to whole pixels, rounded to the nearest.
[[nodiscard]] int TwipsToPixels(double twips, UINT dpi);
[[nodiscard]] float PixelsToTwips(int pixels, UINT dpi);

// The client area at design time, and the window's smallest outer size.
inline constexpr int kDesignClientWidth = 7080;
inline constexpr int kDesignClientHeight = 5190;
inline constexpr int kMinOuterWidth = 4770;
inline constexpr int kMinOuterHeight = 2000;

// How the lists and the bottom frames follow the client area. The lists keep
// their top and left edge; the button frame stands a pixel (15 twips) above
// the bottom, the legend's top in line with it, and the lists end 5 twips
// above them; the lists and the button frame end 105 twips inside the right
// edge.
inline constexpr TwipsRect kListsDesign = DesignRect(IDC_LSTPATH);
inline constexpr TwipsRect kButtonFrameDesign = DesignRect(IDC_FRAME2);
inline constexpr int kBottomMargin = 15;
inline constexpr int kListsAboveFrames = 5;
inline constexpr int kRightMargin = 105;
inline constexpr float kFrameTopAllowance = kButtonFrameDesign.height + kBottomMargin;
inline constexpr float kListHeightAllowance =
    kListsDesign.top + kListsAboveFrames + kFrameTopAllowance;
inline constexpr float kListWidthAllowance = kListsDesign.left + kRightMargin;
inline constexpr float kButtonFrameAllowance = kButtonFrameDesign.width + kRightMargin;

// Room a caption needs: the width in pixels, at the window's DPI, in which
// the control shows its caption whole (text and the control's own padding).
struct CaptionNeed {
  int id;
  int width;
};

// A control's place in pixels, relative to its container.
struct PixelRect {
  int left;
  int top;
  int width;
  int height;
  bool operator==(const PixelRect&) const = default;
};

// The design at one DPI with room for every caption. A control whose design
// width holds its caption keeps its design place exactly; one that does not
// grows just enough, the controls to its right in its row move along with it,
// and what holds it (its frame, the search row's outline) widens with it.
// Frame2 keeps its right edge and grows to the left.
struct FittedDesign {
  std::array<PixelRect, kPlacedControls> places;  // in the order of kDesign
  // How much wider than its design Frame2 is.
  int buttonFrameGrowth = 0;
  // How much wider than the design the client area must be for the controls
  // of every row to stand apart as designed: what the row that grew most grew.
  int extraClientWidth = 0;

  [[nodiscard]] const PixelRect& Place(int id) const;
  bool operator==(const FittedDesign&) const = default;
};

[[nodiscard]] FittedDesign FitCaptions(UINT dpi, std::span<const CaptionNeed> needs);

// The lists' only column, and the offset under which the popup menu opens:
// the lists' top.
inline constexpr int kColumnWidth = 6800;
inline constexpr float kMenuOffset = kListsDesign.top;

}  // namespace velmora::window
