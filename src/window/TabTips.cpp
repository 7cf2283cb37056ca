#include "window/TabTips.h"

#include <commctrl.h>

#include <iterator>

#include "platform/Win32Platform.h"
#include "window/Design.h"

namespace velmora::window {
namespace {

constexpr int kTabCount = static_cast<int>(std::size(kTabCaptions));

bool IsMouseMessage(UINT message) {
  switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      return true;
    default:
      return false;
  }
}

}  // namespace

void TabTips::Make(HWND owner, HWND tabStrip) {
  tabStrip_ = tabStrip;
  tips_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                          WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, GetModuleHandleA(nullptr),
                          nullptr);
  state_ = tips_ != nullptr ? State::kMade : State::kRefused;
  if (tips_ == nullptr) return;
  // One tool per tab header, its text asked for when it shows.
  for (int tab = 0; tab < kTabCount; ++tab) {
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = 0;  // the tab strip's messages are relayed to it
    tool.hwnd = tabStrip;
    tool.uId = static_cast<UINT_PTR>(tab);
    tool.lpszText = LPSTR_TEXTCALLBACKA;
    SendMessageA(tips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

void TabTips::Relay(HWND owner, HWND tabStrip, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!IsMouseMessage(message)) return;
  if (state_ == State::kNotMade) Make(owner, tabStrip);
  if (state_ != State::kMade) return;
  // The headers are placed anew before the tool tip sees where the mouse is.
  if (message == WM_MOUSEMOVE) Place();
  MSG relayed{};
  relayed.hwnd = tabStrip;
  relayed.message = message;
  relayed.wParam = wParam;
  relayed.lParam = lParam;
  relayed.time = static_cast<DWORD>(GetMessageTime());
  SendMessageA(tips_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

void TabTips::Place() const {
  for (int tab = 0; tab < kTabCount; ++tab) {
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = tabStrip_;
    tool.uId = static_cast<UINT_PTR>(tab);
    if (!SendMessageA(tabStrip_, TCM_GETITEMRECT, static_cast<WPARAM>(tab),
                      reinterpret_cast<LPARAM>(&tool.rect))) {
      continue;
    }
    SendMessageA(tips_, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

bool TabTips::OnNotify(NMHDR& header) {
  if (tips_ == nullptr || header.hwndFrom != tips_) return false;
  if (header.code != TTN_GETDISPINFOA && header.code != TTN_GETDISPINFOW) return false;
  // The text must outlive the notification: the tool tip reads it afterwards.
  const auto kind =
      header.idFrom == 1 ? environment::SearchList::kClasspath : environment::SearchList::kPath;
  tipWide_ = marks_.Summary(kind);
  if (header.code == TTN_GETDISPINFOA) {
    auto& info = reinterpret_cast<NMTTDISPINFOA&>(header);
    tip_ = platform::Utf8Text(tipWide_);
    info.hinst = nullptr;
    info.lpszText = tip_.data();
  } else {
    auto& info = reinterpret_cast<NMTTDISPINFOW&>(header);
    info.hinst = nullptr;
    info.lpszText = tipWide_.data();
  }
  return true;
}

void TabTips::Forget() {
  tips_ = nullptr;
  tabStrip_ = nullptr;
  state_ = State::kNotMade;
}

}  // namespace velmora::window
