// Form_Resize: the window keeps its smallest size, and the lists and the two
// bottom frames follow the client area.
#include <algorithm>

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

// Nested runs (the minimum size set from within the handler delivers a Resize
// of its own) count as one: a failure is reported once for all of them.
class ResizeRun {
 public:
  ResizeRun(int& depth, bool& reported) : depth_(depth) {
    if (depth_++ == 0) reported = false;
  }
  ~ResizeRun() { --depth_; }
  ResizeRun(const ResizeRun&) = delete;
  ResizeRun& operator=(const ResizeRun&) = delete;

 private:
  int& depth_;
};

}  // namespace

SIZE frmMain::ClientPixels() const {
  RECT client{};
  if (!GetClientRect(hwnd_, &client)) ThrowLastError();
  return SIZE{client.right, client.bottom};
}

void frmMain::Form_Resize() {
  const ResizeRun run(resizeDepth_, resizeReported_);
  ++resizes_;
  try {
    if (IsIconic(hwnd_)) return;

    RECT outer = WindowRectOf(hwnd_);
    if (outer.bottom - outer.top < Px(kMinOuterHeight)) {
      Place(hwnd_, 0, 0, outer.right - outer.left, Px(kMinOuterHeight), SWP_NOMOVE);
      outer = WindowRectOf(hwnd_);
    }
    if (outer.right - outer.left < Px(kMinOuterWidth)) {
      Place(hwnd_, 0, 0, Px(kMinOuterWidth), outer.bottom - outer.top, SWP_NOMOVE);
    }

    // The client area as the smallest size left it; placing the controls
    // does not change it. Read once: under Wine every reading of a window's
    // rectangle asks the Wine server about the monitors.
    const SIZE client = ClientPixels();
    const float clientHeight = PixelsToTwips(client.cy, dpi_);
    const float clientWidth = PixelsToTwips(client.cx, dpi_);

    for (const HWND list : {ctl_.lstPath, ctl_.lstClasspath}) {
      const float height = clientHeight - kListHeightAllowance;
      const float width = clientWidth - kListWidthAllowance;
      Place(list, 0, 0, Px(width), Px(height), SWP_NOMOVE);
    }

    // The frames keep their size; the legend keeps its left edge. The button
    // frame keeps its right edge when its captions made it wider.
    const float frameTop = clientHeight - kFrameTopAllowance;
    Place(ctl_.Frame1, Px(DesignRect(IDC_FRAME1).left), Px(frameTop), 0, 0, SWP_NOSIZE);
    const float buttonsTop = clientHeight - kFrameTopAllowance;
    const float buttonsLeft = clientWidth - kButtonFrameAllowance;
    Place(ctl_.Frame2, Px(buttonsLeft) - fit_.buttonFrameGrowth, Px(buttonsTop), 0, 0, SWP_NOSIZE);
  } catch (const platform::Failure& failure) {
    if (!resizeReported_) {
      resizeReported_ = true;
      environment::ReportError(os_, "frmMain", "Form_Resize", failure.Description(),
                               failure.Number());
    }
  }
}

}  // namespace velmora::window
