// Thin wrappers over the list view messages the window uses. Positions are
// 0-based here; the handlers speak of items 1 to n where the program's texts
// do.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

namespace velmora::window::listview {

inline int Count(HWND list) {
  return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
}

// The item's text, or "" when there is no such item.
std::string Text(HWND list, int index);

// The selected item, or -1 when none is.
inline int Selected(HWND list) {
  return static_cast<int>(
      SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

// Makes index the selected and focused item and scrolls it into view.
void Select(HWND list, int index);

// Appends an item with a text and a small icon (0-based image), and gives its
// position, or -1 when the list refused it. The item's parameter is its key:
// the number of items the list held before it, which stays with the item
// whatever order the list shows.
int Append(HWND list, std::string_view text, int image);
// The same for a list known to hold key items: a long fill need not ask the
// list for its count at every item.
int Append(HWND list, std::string_view text, int image, int key);

// The item's key, or -1 when there is no such item.
LPARAM Key(HWND list, int index);

// The position of the item with this key, or -1; guess is where to look first.
int FindKey(HWND list, LPARAM key, int guess);

// The item's overlay picture (1 to 15, 0 for none).
void SetOverlay(HWND list, int index, int overlay);
int Overlay(HWND list, int index);

// Tells the list that `more` items are about to be appended, so that it makes
// room for all of them at once.
void Reserve(HWND list, std::size_t more);

// Adds untitled columns until the list has at least count of them.
void EnsureColumns(HWND list, int count);
void SetSubItemText(HWND list, int index, int subItem, std::string_view text);
void SetChecked(HWND list, int index, bool checked);
// Ticks or clears every item's check box in one message.
void SetAllChecked(HWND list, bool checked);
bool IsChecked(HWND list, int index);
int Image(HWND list, int index);

inline void Clear(HWND list) {
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
}

// The list's sorted setting: while it is on, the list shows its items in
// ascending order of their texts and keeps new items in that order. Sorting
// keeps every item's key.
bool IsSorted(HWND list);
void SetSorted(HWND list, bool sorted);

}  // namespace velmora::window::listview
