// The marks of the lists' rows in words, in a tool tip of the window's own:
// beside the pointer resting on a marked row, and beside the selected row
// when the keyboard asks (F1).
//
// A list view that shows info tips itself asks for a row's words through
// LVN_GETINFOTIP (EntryMarks answers it), and then the pointer's tips here
// stay out of its way: one row never shows two tips. Wine's list view keeps a
// tool tip control without a single tool and never asks, so there the words
// come from here. The keyboard's tip is this program's own everywhere.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "window/EntryMarks.h"

namespace velmora::window {

class RowTips {
 public:
  explicit RowTips(const EntryMarks& marks) : marks_(marks) {}
  RowTips(const RowTips&) = delete;
  RowTips& operator=(const RowTips&) = delete;

  // A mouse message on its way to list, from the message loop. The tool tip
  // is made when the mouse first comes to a list rather than at start-up,
  // and belongs to owner.
  void OnListMouse(HWND owner, HWND list, const MSG& message);
  // The list asked for a row's info tip itself: it shows its own.
  void ListShowsItsOwn();

  // Shows the words of list's selected row beside it; false when the row
  // has none (or no row is selected), and nothing shows.
  bool ShowForSelection(HWND owner, HWND list);
  // Hides the keyboard's tip; false when it was not showing.
  bool HideKeyboardTip();

  // The owner is gone, and its tips with it.
  void Forget();

  // The tool tip control; null until the mouse came to a list or F1 asked.
  [[nodiscard]] HWND Handle() const { return tips_; }

 private:
  // Without the tool tip control the rows simply have no tips of their own:
  // nothing else depends on them.
  enum class State : std::uint8_t { kNotMade, kMade, kRefused };

  bool Make(HWND owner);
  [[nodiscard]] static bool ListHasTips(HWND list);
  void FollowPointer(HWND list, POINT client);
  void SetTool(HWND tool, UINT_PTR id, const RECT& rect, const std::wstring& text) const;

  const EntryMarks& marks_;
  State state_ = State::kNotMade;
  bool listAsked_ = false;      // whether the list view has tips of its own
  bool listsShowTips_ = false;  // the list view's own tips show the words
  HWND tips_ = nullptr;
  HWND owner_ = nullptr;
  // The row under the pointer and its words, as the pointer's tool holds them.
  HWND list_ = nullptr;
  int row_ = -1;
  std::wstring words_;
  bool keyboardTip_ = false;
};

}  // namespace velmora::window
