#include "window/Layout.h"

#include <cmath>
#include <stdexcept>
#include <string>

#include "window/resource.h"

namespace window {

int TwipsToPixels(double twips, UINT dpi) {
  return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

float PixelsToTwips(int pixels, UINT dpi) {
  return static_cast<float>(pixels) * 1440.0f / static_cast<float>(dpi);
}

const std::array<Placement, 17> kDesign = {{
    {IDC_LSTPATH, {120, 600, 6855, 3615}},
    {IDC_TXTSEARCH, {3360, 158, 2655, 285}},
    {IDC_LABEL3, {2880, 195, 375, 210}},
    {IDC_TABSTRIP1, {120, 120, 2535, 375}},
    {IDC_LSTCLASSPATH, {120, 600, 6855, 3615}},
    {IDC_FRAME2, {3840, 4380, 3135, 735}},
    {IDC_CMDCLOSE, {2160, 90, 975, 572}},
    {IDC_CMDSAVE, {120, 90, 975, 572}},
    {IDC_CMDVIEW, {1140, 90, 975, 572}},
    {IDC_FRAME1, {240, 4380, 3615, 660}},
    {IDC_LABEL2, {480, 270, 735, 255}},
    {IDC_LABUSER, {1680, 270, 1815, 255}},
    {IDC_IMAGE1, {120, 240, 300, 300}},
    {IDC_IMAGE2, {1320, 240, 300, 300}},
    {IDC_SHAPE1, {2760, 120, 3735, 375}},
    {IDC_IMGSORT, {6600, 135, 345, 330}},
    {IDC_IMGSEARCH, {6120, 180, 240, 240}},
}};

const TwipsRect& DesignRect(int id) {
  for (const auto& placement : kDesign) {
    if (placement.id == id) return placement.rect;
  }
  throw std::out_of_range("no design place for control " + std::to_string(id));
}

}  // namespace window
