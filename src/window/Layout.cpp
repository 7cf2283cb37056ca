#include "window/Layout.h"

#include <algorithm>
#include <cmath>

#include "window/resource.h"

namespace velmora::window {

int TwipsToPixels(double twips, UINT dpi) {
  return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

float PixelsToTwips(int pixels, UINT dpi) {
  return static_cast<float>(pixels) * 1440.0f / static_cast<float>(dpi);
}

namespace {

// The control that Form_Resize keeps at a distance from the right edge.
constexpr int kRightAnchored = IDC_FRAME2;

int RightOf(const TwipsRect& rect) {
  return rect.left + rect.width;
}

// Controls of one container share a row where their design heights overlap.
bool SameRow(const TwipsRect& a, const TwipsRect& b) {
  return a.top < b.top + b.height && b.top < a.top + a.height;
}

bool IsLeftOf(const TwipsRect& a, const TwipsRect& b) {
  return RightOf(a) <= b.left;
}

bool Encloses(const TwipsRect& outer, const TwipsRect& inner) {
  return outer.left <= inner.left && RightOf(inner) <= RightOf(outer);
}

// Growth in pixels of each control, in the order of kDesign.
using Growths = std::array<int, kPlacedControls>;

// Moves and widens the controls of one container for the growth of their
// neighbours: a control moves by what grew to its left in its row and widens
// by its own growth and that of what it encloses. Returns the widening of
// each control and how far each one's right edge moved.
struct Arranged {
  Growths widen{};
  Growths rightShift{};
};

Arranged Arrange(int container, const Growths& growth, FittedDesign& fitted) {
  Arranged arranged;
  for (std::size_t i = 0; i < kPlacedControls; ++i) {
    const DesignedControl& control = kDesign[i];
    if (control.container != container) continue;
    int shift = 0;
    int widen = growth[i];
    for (std::size_t j = 0; j < kPlacedControls; ++j) {
      const TwipsRect& other = kDesign[j].rect;
      if (j == i || kDesign[j].container != container) continue;
      if (!SameRow(control.rect, other)) continue;
      if (IsLeftOf(other, control.rect)) {
        shift += growth[j];
      } else if (Encloses(control.rect, other)) {
        widen += growth[j];
      }
    }
    PixelRect& place = fitted.places[i];
    place.left += control.id == kRightAnchored ? -widen : shift;
    place.width += widen;
    arranged.widen[i] = widen;
    arranged.rightShift[i] = control.id == kRightAnchored ? 0 : shift + widen;
  }
  return arranged;
}

}  // namespace

const PixelRect& FittedDesign::Place(int id) const {
  return places[DesignIndex(id)];
}

FittedDesign FitCaptions(UINT dpi, std::span<const CaptionNeed> needs) {
  FittedDesign fitted{};
  Growths growth{};
  std::size_t buttonFrame = 0;
  for (std::size_t i = 0; i < kPlacedControls; ++i) {
    const TwipsRect& rect = kDesign[i].rect;
    fitted.places[i] = PixelRect{TwipsToPixels(rect.left, dpi), TwipsToPixels(rect.top, dpi),
                                 TwipsToPixels(rect.width, dpi), TwipsToPixels(rect.height, dpi)};
    for (const CaptionNeed& need : needs) {
      if (need.id == kDesign[i].id) {
        growth[i] = std::max(growth[i], need.width - fitted.places[i].width);
      }
    }
    if (kDesign[i].id == kRightAnchored) buttonFrame = i;
  }

  // The frames first: each widens with its content, or for its own caption.
  for (std::size_t i = 0; i < kPlacedControls; ++i) {
    const int frame = kDesign[i].id;
    if (frame != IDC_FRAME1 && frame != IDC_FRAME2) continue;
    const Arranged content = Arrange(frame, growth, fitted);
    for (const int shift : content.rightShift) growth[i] = std::max(growth[i], shift);
  }
  const Arranged window = Arrange(0, growth, fitted);
  fitted.buttonFrameGrowth = window.widen[buttonFrame];

  // Whatever shares a row with the right-anchored frame needs its growth as
  // room besides its own.
  for (std::size_t i = 0; i < kPlacedControls; ++i) {
    if (kDesign[i].container != 0) continue;
    int room = i == buttonFrame ? window.widen[i] : window.rightShift[i];
    if (i != buttonFrame && SameRow(kDesign[i].rect, kDesign[buttonFrame].rect)) {
      room += fitted.buttonFrameGrowth;
    }
    fitted.extraClientWidth = std::max(fitted.extraClientWidth, room);
  }
  return fitted;
}

}  // namespace velmora::window
