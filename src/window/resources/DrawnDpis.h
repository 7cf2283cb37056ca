// Written by draw_pictures.py: the DPIs the window's pictures are drawn
// for, ascending. Bitmap resource id + d is picture id drawn for d dpi.
#pragma once

#include <array>

namespace velmora::window {

inline constexpr std::array<unsigned, 8> kDrawnDpis{96, 120, 144, 168, 192, 240, 288, 384};

}  // namespace velmora::window
