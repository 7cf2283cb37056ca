// Form_Resize: the window keeps its smallest size, and the lists and the two
// bottom frames follow the client area.
#include <algorithm>
#include <utility>

#include "environment/ErrorReport.h"
#include "platform/Failure.h"
#include "platform/Win32Platform.h"
#include "window/Layout.h"
#include "window/frmMain.h"
#include "window/resource.h"

namespace velmora::window {
namespace {

void ThrowLastError() {
  throw platform::Win32Failure(GetLastError());
}

RECT WindowRectOf(HWND window) {
  RECT rect{};
  if (!GetWindowRect(window, &rect)) ThrowLastError();
  return rect;
}

void Place(HWND control, int left, int top, int width, int height, UINT flags) {
  // A size below zero shows as an empty control.
  if (!SetWindowPos(control, nullptr, left, top, std::max(width, 0), std::max(height, 0),
                    flags | SWP_NOZORDER | SWP_NOACTIVATE)) {
    ThrowLastError();
  }
}

}  // namespace

SIZE frmMain::ClientPixels() const {
  RECT client{};
  if (!GetClientRect(hwnd_, &client)) ThrowLastError();
  return SIZE{client.right, client.bottom};
}

void frmMain::Form_Resize() {
  if (resizing_) {
    // Run from within the smallest-size step of a run under way: a failure
    // here is that run's, reported once, by it.
    try {
      FitToClient();
    } catch (...) {
      nestedResizeFailure_ = std::current_exception();
    }
    return;
  }
  resizing_ = true;
  Trapped("Form_Resize", [&] { FitToClient(); });
  resizing_ = false;
  nestedResizeFailure_ = nullptr;
}

void frmMain::KeepSmallestSize(int width, int height) {
  Place(hwnd_, 0, 0, width, height, SWP_NOMOVE);
  // The Resize this delivered ran within; what failed there fails here.
  if (nestedResizeFailure_) std::rethrow_exception(std::exchange(nestedResizeFailure_, nullptr));
}

void frmMain::FitToClient() {
  if (IsIconic(hwnd_)) return;

  RECT outer = WindowRectOf(hwnd_);
  if (outer.bottom - outer.top < Px(kMinOuterHeight)) {
    KeepSmallestSize(outer.right - outer.left, Px(kMinOuterHeight));
    outer = WindowRectOf(hwnd_);
  }
  if (outer.right - outer.left < Px(kMinOuterWidth)) {
    KeepSmallestSize(Px(kMinOuterWidth), outer.bottom - outer.top);
  }

  // The client area as the smallest size left it; placing the controls
  // does not change it. Read once: under Wine every reading of a window's
  // rectangle asks the Wine server about the monitors.
  const SIZE client = ClientPixels();
  const float clientHeight = PixelsToTwips(client.cy, dpi_);
  const float clientWidth = PixelsToTwips(client.cx, dpi_);

  const int listWidth = Px(clientWidth - kListWidthAllowance);
  const int listHeight = Px(clientHeight - kListHeightAllowance);
  for (const HWND list : {ctl_.lstPath, ctl_.lstClasspath}) {
    Place(list, 0, 0, listWidth, listHeight, SWP_NOMOVE);
  }

  // The frames keep their size and stand on one line; the legend keeps its
  // left edge. The button frame keeps its right edge when its captions made
  // it wider.
  const int framesTop = Px(clientHeight - kFrameTopAllowance);
  Place(ctl_.Frame1, Px(DesignRect(IDC_FRAME1).left), framesTop, 0, 0, SWP_NOSIZE);
  const float buttonsLeft = clientWidth - kButtonFrameAllowance;
  Place(ctl_.Frame2, Px(buttonsLeft) - fit_.buttonFrameGrowth, framesTop, 0, 0, SWP_NOSIZE);
  fitted_ = true;
}

}  // namespace velmora::window
