#include "window/ListView.h"

#include <algorithm>
#include <climits>
#include <unordered_map>
#include <vector>

#include "platform/Win32Platform.h"

// Item texts go through the wide messages: the narrow ones size their buffer
// in bytes but fill it in UTF-16 units, and cut a text or leave it without its
// terminator when its UTF-8 form is the longer.

namespace velmora::window {

std::string ListItemText(HWND list, int index) {
  // The list says how much it copied, not how long the text is: grow until
  // the text leaves room to spare.
  for (int capacity = 256; capacity <= (1 << 20); capacity *= 4) {
    std::vector<wchar_t> buffer(static_cast<size_t>(capacity), L'\0');
    LVITEMW item{};
    item.iSubItem = 0;
    item.pszText = buffer.data();
    item.cchTextMax = capacity;
    const auto length = static_cast<int>(SendMessageW(
        list, LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
    if (length < capacity - 1) {
      return platform::Utf8Text(std::wstring_view(buffer.data(), static_cast<size_t>(length)));
    }
  }
  return {};
}

void SelectListItem(HWND list, int index) {
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  SendMessageA(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
}

int AppendListItem(HWND list, std::string_view text, int image, int key) {
  std::wstring copy = platform::WideText(text);
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
  item.iItem = key;
  item.pszText = copy.data();
  item.iImage = image;
  item.lParam = key;
  return static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

LPARAM ListItemKey(HWND list, int index) {
  LVITEMA item{};
  item.mask = LVIF_PARAM;
  item.iItem = index;
  if (!SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return -1;
  return item.lParam;
}

int FindListItem(HWND list, LPARAM key, int guess) {
  if (guess >= 0 && guess < ListCount(list) && ListItemKey(list, guess) == key) return guess;
  LVFINDINFOA find{};
  find.flags = LVFI_PARAM;
  find.lParam = key;
  return static_cast<int>(
      SendMessageA(list, LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
}

void SetListItemOverlay(HWND list, int index, int overlay) {
  LVITEMA item{};
  item.stateMask = LVIS_OVERLAYMASK;
  item.state = INDEXTOOVERLAYMASK(static_cast<UINT>(overlay));
  SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void ReserveListItems(HWND list, std::size_t more) {
  const std::size_t total = static_cast<std::size_t>(ListCount(list)) + more;
  SendMessageA(list, LVM_SETITEMCOUNT, static_cast<WPARAM>(std::min<std::size_t>(total, INT_MAX)),
               0);
}

void SetListItemChecked(HWND list, int index, bool checked) {
  LVITEMA item{};
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
  SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

bool IsListSorted(HWND list) {
  return (GetWindowLongPtrA(list, GWL_STYLE) & LVS_SORTASCENDING) != 0;
}

namespace {

using TextsByKey = std::unordered_map<LPARAM, std::string>;

// Compares two items, given by their keys, by their texts, which SetSorted
// noted beforehand.
int CALLBACK CompareTexts(LPARAM first, LPARAM second, LPARAM texts) {
  const auto& noted = *reinterpret_cast<const TextsByKey*>(texts);
  const auto text = [&](LPARAM key) {
    const auto found = noted.find(key);
    return found == noted.end() ? "" : found->second.c_str();
  };
  return lstrcmpiA(text(first), text(second));
}

}  // namespace

void SetListSorted(HWND list, bool sorted) {
  LONG_PTR style = GetWindowLongPtrA(list, GWL_STYLE);
  style =
      sorted ? (style | LVS_SORTASCENDING) : (style & ~static_cast<LONG_PTR>(LVS_SORTASCENDING));
  SetWindowLongPtrA(list, GWL_STYLE, style);
  if (!sorted) return;
  TextsByKey texts;
  const int count = ListCount(list);
  for (int index = 0; index < count; ++index)
    texts[ListItemKey(list, index)] = ListItemText(list, index);
  SendMessageA(list, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&texts),
               reinterpret_cast<LPARAM>(&CompareTexts));
}

}  // namespace velmora::window
