// Thin wrappers over the list view messages the window uses, each named for
// the list it acts on. Positions are 0-based here; the handlers speak of items
// 1 to n where the program's texts do.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace velmora::window {

inline int ListCount(HWND list) {
  return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
}

// The item's text, or "" when there is no such item.
[[nodiscard]] std::string ListItemText(HWND list, int index);

// The selected item, or -1 when none is.
inline int SelectedListItem(HWND list) {
  return static_cast<int>(
      SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

// Makes index the selected and focused item and scrolls it into view.
void SelectListItem(HWND list, int index);

// Appends an item with a text and a small icon (0-based image), and gives its
// position, or -1 when the list refused it. The item's parameter is its key:
// the number of items the list held before it, which stays with the item
// whatever order the list shows. The caller knows that number: a long fill
// need not ask the list for its count at every item.
int AppendListItem(HWND list, std::string_view text, int image, int key);

// The item's key, or -1 when there is no such item.
[[nodiscard]] LPARAM ListItemKey(HWND list, int index);

// The position of the item with this key, or -1; guess is where to look first.
[[nodiscard]] int FindListItem(HWND list, LPARAM key, int guess);

// The item's overlay picture (1 to 15, 0 for none).
void SetListItemOverlay(HWND list, int index, int overlay);

// Tells the list that `more` items are about to be appended, so that it makes
// room for all of them at once.
void ReserveListItems(HWND list, std::size_t more);

// Ticks or clears an item's check box; index -1 does every item in one message.
void SetListItemChecked(HWND list, int index, bool checked);

inline void ClearList(HWND list) {
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
}

// The list's sorted setting: while it is on, the list shows its items in
// ascending order of their texts and keeps new items in that order. Sorting
// keeps every item's key.
[[nodiscard]] bool IsListSorted(HWND list);
void SetListSorted(HWND list, bool sorted);

}  // namespace velmora::window
