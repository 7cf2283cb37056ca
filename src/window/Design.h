// The window's design: every control with its kind, container, settings,
// caption (a text of the string table) and place in twips. The window creates
// its controls from this table, and the start-up floor the same controls.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <cstddef>
#include <stdexcept>

#include "window/resource.h"

namespace velmora::window {

// The controls, by the names the handlers use. The window owns them: they
// live exactly as long as it does.
struct Controls {
  HWND lstPath = nullptr;
  HWND lstClasspath = nullptr;
  HWND TabStrip1 = nullptr;
  HWND txtSearch = nullptr;
  HWND Label3 = nullptr;
  HWND Shape1 = nullptr;
  HWND imgSort = nullptr;
  HWND imgSearch = nullptr;
  HWND Frame1 = nullptr;
  HWND Image1 = nullptr;
  HWND Label2 = nullptr;
  HWND Image2 = nullptr;
  HWND labUser = nullptr;
  HWND Frame2 = nullptr;
  HWND cmdSave = nullptr;
  HWND cmdView = nullptr;
  HWND cmdClose = nullptr;
};

struct TwipsRect {
  int left;
  int top;
  int width;
  int height;
};

// One control of the design. Its place is relative to its container (the
// window's client area, or the frame holding it).
struct DesignedControl {
  int id;
  int container;        // the frame's id, 0 for the window
  const wchar_t* kind;  // its window class
  UINT caption;         // its text in the string table, 0 for none
  DWORD style;          // besides WS_CHILD | WS_CLIPSIBLINGS
  DWORD exStyle;
  TwipsRect rect;
  HWND Controls::*handle;
};

// The controls' settings, by kind.
namespace design {
inline constexpr DWORD kShown = WS_VISIBLE;
inline constexpr DWORD kList =
    WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS;
inline constexpr DWORD kFrame = kShown | BS_GROUPBOX;
inline constexpr DWORD kButton = kShown | WS_TABSTOP | BS_PUSHBUTTON;
inline constexpr DWORD kDefaultButton = kShown | WS_TABSTOP | BS_DEFPUSHBUTTON;
inline constexpr DWORD kLabel = kShown | SS_LEFT;
// No picture stretches its picture; pictures and the shape take no focus.
inline constexpr DWORD kPicture = kShown | SS_BITMAP | SS_CENTERIMAGE;
inline constexpr DWORD kIcon = kShown | SS_ICON | SS_CENTERIMAGE;

// Every control that has a place of its own, in the order of creation: tab
// order, then the pictures, and last the search row's outline, so that the
// row's controls stand in front of it.
inline constexpr std::size_t kPlacedControls = 17;
// clang-format off
inline constexpr std::array<DesignedControl, kPlacedControls> kDesign = {{
    {IDC_LSTPATH,      0,          WC_LISTVIEWW,   IDS_LSTPATH,      kShown | kList,                       0,                   {120, 600, 6855, 3615},  &Controls::lstPath},
    {IDC_TXTSEARCH,    0,          WC_EDITW,       0,                kShown | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,    {3360, 158, 2655, 285},  &Controls::txtSearch},
    {IDC_LABEL3,       0,          WC_STATICW,     IDS_LABEL3,       kLabel,                               0,                   {2880, 195, 375, 210},   &Controls::Label3},
    {IDC_TABSTRIP1,    0,          WC_TABCONTROLW, IDS_TABSTRIP1,    kShown | WS_TABSTOP,                  0,                   {120, 120, 2535, 375},   &Controls::TabStrip1},
    {IDC_LSTCLASSPATH, 0,          WC_LISTVIEWW,   IDS_LSTCLASSPATH, kList,                                0,                   {120, 600, 6855, 3615},  &Controls::lstClasspath},
    {IDC_FRAME2,       0,          WC_BUTTONW,     0,                kFrame,                               WS_EX_CONTROLPARENT, {3840, 4380, 3135, 735}, &Controls::Frame2},
    {IDC_CMDCLOSE,     IDC_FRAME2, WC_BUTTONW,     IDS_CMDCLOSE,     kButton,                              0,                   {2160, 90, 975, 572},    &Controls::cmdClose},
    {IDC_CMDSAVE,      IDC_FRAME2, WC_BUTTONW,     IDS_CMDSAVE,      kButton,                              0,                   {120, 90, 975, 572},     &Controls::cmdSave},
    {IDC_CMDVIEW,      IDC_FRAME2, WC_BUTTONW,     IDS_CMDVIEW,      kDefaultButton,                       0,                   {1140, 90, 975, 572},    &Controls::cmdView},
    {IDC_FRAME1,       0,          WC_BUTTONW,     IDS_FRAME1,       kFrame,                               WS_EX_CONTROLPARENT, {240, 4380, 3615, 660},  &Controls::Frame1},
    {IDC_LABEL2,       IDC_FRAME1, WC_STATICW,     IDS_LABEL2,       kLabel,                               0,                   {480, 270, 735, 255},    &Controls::Label2},
    {IDC_LABUSER,      IDC_FRAME1, WC_STATICW,     IDS_LABUSER,      kLabel,                               0,                   {1680, 270, 1815, 255},  &Controls::labUser},
    {IDC_IMAGE1,       IDC_FRAME1, WC_STATICW,     0,                kPicture,                             0,                   {120, 240, 300, 300},    &Controls::Image1},
    {IDC_IMAGE2,       IDC_FRAME1, WC_STATICW,     0,                kPicture,                             0,                   {1320, 240, 300, 300},   &Controls::Image2},
    {IDC_IMGSORT,      0,          WC_STATICW,     0,                kPicture | SS_NOTIFY,                 0,                   {6600, 135, 345, 330},   &Controls::imgSort},
    {IDC_IMGSEARCH,    0,          WC_STATICW,     0,                kIcon | SS_NOTIFY,                    0,                   {6120, 180, 240, 240},   &Controls::imgSearch},
    {IDC_SHAPE1,       0,          WC_STATICW,     0,                kShown | SS_BLACKFRAME,               0,                   {2760, 120, 3735, 375},  &Controls::Shape1},
}};
// clang-format on
}  // namespace design
using design::kDesign;
using design::kPlacedControls;

// The position of control id in kDesign.
constexpr std::size_t DesignIndex(int id) {
  for (std::size_t i = 0; i < kDesign.size(); ++i) {
    if (kDesign[i].id == id) return i;
  }
  throw std::out_of_range("no design place for the control");
}

constexpr const TwipsRect& DesignRect(int id) {
  return kDesign[DesignIndex(id)].rect;
}

// The tabs of TabStrip1, in order, and the lists' only column.
inline constexpr UINT kTabCaptions[] = {IDS_TAB_PATH, IDS_TAB_CLASSPATH};
inline constexpr UINT kColumnCaption = IDS_COLUMN;

}  // namespace velmora::window
