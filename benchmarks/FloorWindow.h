// The least program that shows what Velmora's window shows at start-up: one
// top-level window with two report-view list views with check boxes and a
// 20x20 image list, filled from PATH and CLASSPATH with redraw off and the
// item count announced ahead. The timings measure Velmora against it.
//
// Asked for, it also creates the other controls of Velmora's window with
// nothing behind them: the same classes, styles, nesting and captions, read
// from the window's design and string table, the window's font on each and
// the window's two icons. That shows what the
// window's design alone costs on the platform.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace velmora::floor_program {

// The pieces of a search list cut at every ";", empty pieces kept; none for
// the empty text.
[[nodiscard]] std::vector<std::wstring> Pieces(const std::wstring& list);

// A process variable, or "" when it is not set.
[[nodiscard]] std::wstring Variable(const wchar_t* name);

class FloorWindow {
 public:
  // Creates the window and its lists (and the design's other controls when
  // withDesignControls), not yet shown. Throws std::runtime_error when the
  // platform refuses.
  explicit FloorWindow(bool withDesignControls = false);
  ~FloorWindow();
  FloorWindow(const FloorWindow&) = delete;
  FloorWindow& operator=(const FloorWindow&) = delete;

  // Empties both lists, then fills them from the process's PATH and CLASSPATH.
  void Refill();

  [[nodiscard]] HWND Handle() const { return window_; }
  [[nodiscard]] bool IsOpen() const { return window_ != nullptr; }

 private:
  // The window and its lists alone. Once it has run, the destructor releases
  // everything, also when the public constructor fails after it.
  struct ListsOnly {};
  explicit FloorWindow(ListsOnly);

  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static void Fill(HWND list, const std::vector<std::wstring>& entries, int image);
  void MakeDesignControls();

  HWND window_ = nullptr;
  HWND path_ = nullptr;
  HWND classpath_ = nullptr;
  HIMAGELIST images_ = nullptr;
  HFONT font_ = nullptr;
  HICON icon_ = nullptr;
  HICON smallIcon_ = nullptr;
};

}  // namespace velmora::floor_program
