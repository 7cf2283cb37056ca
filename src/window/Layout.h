// The window's design in twips (1/1440 inch) and its conversion to pixels at
// the window's DPI: at 96 dpi 15 twips make one pixel.
#pragma once

#include <windows.h>

#include <array>
#include <span>

namespace velmora::window {

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
inline constexpr std::size_t kPlacedControls = 17;
extern const std::array<Placement, kPlacedControls> kDesign;

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

// The lists' only column, and the offset under which the popup menu opens.
inline constexpr int kColumnWidth = 6800;
inline constexpr float kMenuOffset = 600;

}  // namespace velmora::window
