#include "window/RowTips.h"

#include <commctrl.h>

#include <string>
#include <utility>

namespace velmora::window {
namespace {

// The pointer's tool sits on the list under the pointer, the keyboard's on
// the window: a tool tip control tells its tools apart by window and number.
constexpr UINT_PTR kPointerTool = 0;
constexpr UINT_PTR kKeyboardTool = 1;

bool IsMouseMessage(UINT message) {
  return message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && message != WM_MOUSEWHEEL &&
         message != WM_MOUSEHWHEEL;
}

TTTOOLINFOW ToolInfo(HWND tool, UINT_PTR id) {
  TTTOOLINFOW info{};
  info.cbSize = sizeof(info);
  info.hwnd = tool;
  info.uId = id;
  return info;
}

// The row at a point of the list's client area, -1 for none.
int RowAt(HWND list, POINT client) {
  LVHITTESTINFO hit{};
  hit.pt = client;
  const auto row =
      static_cast<int>(SendMessageW(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  return (hit.flags & LVHT_ONITEM) != 0 ? row : -1;
}

RECT RowRect(HWND list, int row, int part) {
  RECT rect{};
  rect.left = part;
  if (!SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                    reinterpret_cast<LPARAM>(&rect))) {
    return RECT{};
  }
  return rect;
}

}  // namespace

bool RowTips::ListHasTips(HWND list) {
  const auto own = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETTOOLTIPS, 0, 0));
  return own != nullptr && SendMessageW(own, TTM_GETTOOLCOUNT, 0, 0) > 0;
}

bool RowTips::Make(HWND owner) {
  if (state_ == State::kNotMade) {
    owner_ = owner;
    tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                            WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, GetModuleHandleW(nullptr),
                            nullptr);
    state_ = tips_ != nullptr ? State::kMade : State::kRefused;
    if (tips_ != nullptr) {
      // Words of several lines, and a long folder, wrap rather than run off.
      SendMessageW(tips_, TTM_SETMAXTIPWIDTH, 0, GetSystemMetrics(SM_CXSCREEN) / 2);
      TTTOOLINFOW keyboard = ToolInfo(owner, kKeyboardTool);
      keyboard.uFlags = TTF_TRACK | TTF_ABSOLUTE;
      keyboard.lpszText = const_cast<wchar_t*>(L"");
      SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&keyboard));
    }
  }
  return state_ == State::kMade;
}

void RowTips::OnListMouse(HWND owner, HWND list, const MSG& message) {
  if (!IsMouseMessage(message.message)) return;
  // Asked once, as the mouse first comes: the list made its tips with itself.
  if (!listAsked_) {
    listAsked_ = true;
    listsShowTips_ = ListHasTips(list);
  }
  if (listsShowTips_ || !Make(owner)) return;
  if (message.message == WM_MOUSEMOVE) {
    FollowPointer(list, POINT{static_cast<short>(LOWORD(message.lParam)),
                              static_cast<short>(HIWORD(message.lParam))});
  }
  MSG relayed = message;
  SendMessageW(tips_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

void RowTips::FollowPointer(HWND list, POINT client) {
  const int row = RowAt(list, client);
  // Asked at every move: a mark may have come in while the pointer rested.
  std::wstring words = row >= 0 ? marks_.Tip(list, row) : std::wstring();
  if (list == list_ && row == row_ && words == words_) return;
  if (list != list_) {
    if (list_ != nullptr) {
      TTTOOLINFOW old = ToolInfo(list_, kPointerTool);
      SendMessageW(tips_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&old));
    }
    TTTOOLINFOW tool = ToolInfo(list, kPointerTool);
    tool.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  // Another row's tip waits its time again, as the pointer came to it anew,
  // and takes the place of the keyboard's.
  const bool moved = list != list_ || row != row_;
  if (moved) SendMessageW(tips_, TTM_POP, 0, 0);
  if (moved && !words.empty()) HideKeyboardTip();
  list_ = list;
  row_ = row;
  words_ = std::move(words);
  // A row without words has no place: no tip shows for it.
  SetTool(list, kPointerTool, words_.empty() ? RECT{} : RowRect(list, row, LVIR_BOUNDS), words_);
}

void RowTips::SetTool(HWND tool, UINT_PTR id, const RECT& rect, const std::wstring& text) const {
  TTTOOLINFOW info = ToolInfo(tool, id);
  info.rect = rect;
  SendMessageW(tips_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&info));
  info.lpszText = const_cast<wchar_t*>(text.c_str());
  SendMessageW(tips_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

void RowTips::ListShowsItsOwn() {
  if (listsShowTips_) return;
  listsShowTips_ = true;
  if (tips_ != nullptr && list_ != nullptr) {
    SendMessageW(tips_, TTM_POP, 0, 0);
    SetTool(list_, kPointerTool, RECT{}, std::wstring());
  }
}

bool RowTips::ShowForSelection(HWND owner, HWND list) {
  HideKeyboardTip();
  const int row =
      static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  const std::wstring words = row >= 0 ? marks_.Tip(list, row) : std::wstring();
  if (words.empty() || !Make(owner)) return false;
  SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
  // Below the row's text, where neither the row nor the pointer hides it.
  const RECT label = RowRect(list, row, LVIR_LABEL);
  POINT below{label.left, label.bottom};
  ClientToScreen(list, &below);
  SetTool(owner, kKeyboardTool, RECT{}, words);
  TTTOOLINFOW info = ToolInfo(owner, kKeyboardTool);
  SendMessageW(tips_, TTM_TRACKPOSITION, 0, MAKELPARAM(below.x, below.y));
  SendMessageW(tips_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&info));
  keyboardTip_ = true;
  return true;
}

bool RowTips::HideKeyboardTip() {
  if (!keyboardTip_) return false;
  keyboardTip_ = false;
  TTTOOLINFOW info = ToolInfo(owner_, kKeyboardTool);
  SendMessageW(tips_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&info));
  return true;
}

void RowTips::Forget() {
  state_ = State::kNotMade;
  listAsked_ = false;
  listsShowTips_ = false;
  tips_ = nullptr;
  owner_ = nullptr;
  list_ = nullptr;
  row_ = -1;
  words_.clear();
  keyboardTip_ = false;
}

}  // namespace velmora::window
