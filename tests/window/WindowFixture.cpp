#include "WindowFixture.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <ostream>

#include "support/WideText.h"

namespace velmora::window_tests {

void PrintTo(const Item& item, std::ostream* out) {
  *out << "{\"" << item.text << "\", picture " << item.picture << (item.ticked ? ", ticked}" : "}");
}

// Texts are read through the wide messages and converted by the platform, as
// another program would read them.
std::vector<Item> Items(HWND list) {
  std::vector<Item> items;
  std::vector<wchar_t> text(32768, L'\0');
  for (int index = 0; index < ListView_GetItemCount(list); ++index) {
    LVITEMW item{};
    item.mask = LVIF_IMAGE | LVIF_STATE | LVIF_TEXT;
    item.iItem = index;
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.pszText = text.data();
    item.cchTextMax = static_cast<int>(text.size());
    SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    items.push_back(
        {testing_support::Utf8Of(item.pszText), item.iImage + 1, (item.state >> 12) == 2});
  }
  return items;
}

std::vector<Item> Marked(std::string_view list, std::string_view marks) {
  std::vector<Item> items;
  for (const char mark : marks) {
    const std::size_t end = std::min(list.find(';'), list.size());
    items.push_back({std::string(list.substr(0, end)), mark == 'U' ? kUser : kSystem, true});
    list.remove_prefix(std::min(end + 1, list.size()));
  }
  return items;
}

std::string TextOf(HWND window) {
  wchar_t buffer[1024] = {};
  GetWindowTextW(window, buffer, 1024);
  return testing_support::Utf8Of(buffer);
}

window::PixelRect PlaceOf(HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

Size SizeOf(HWND control) {
  const window::PixelRect place = PlaceOf(control);
  return {place.width, place.height};
}

std::vector<int> Overlays(HWND list) {
  std::vector<int> overlays(static_cast<std::size_t>(ListView_GetItemCount(list)));
  for (std::size_t row = 0; row < overlays.size(); ++row) {
    overlays[row] = static_cast<int>(ListView_GetItemState(list, row, LVIS_OVERLAYMASK)) >> 8;
  }
  return overlays;
}

std::string InfoTip(window::frmMain& form, HWND list, int position, bool cutShort) {
  char buffer[INFOTIPSIZE] = {};
  if (cutShort) lstrcpynA(buffer, Items(list).at(position - 1).text.c_str(), sizeof(buffer));
  NMLVGETINFOTIPA tip{};
  tip.hdr = {list, static_cast<UINT_PTR>(GetDlgCtrlID(list)), LVN_GETINFOTIPA};
  tip.dwFlags = cutShort ? 0 : LVGIT_UNFOLDED;
  tip.pszText = buffer;
  tip.cchTextMax = sizeof(buffer);
  tip.iItem = position - 1;
  SendMessageA(form.Handle(), WM_NOTIFY, tip.hdr.idFrom, reinterpret_cast<LPARAM>(&tip));
  return buffer;
}

void Pump(window::frmMain& form) {
  MSG message{};
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message != WM_QUIT) window::DeliverMessage(form, message);
  }
}

platform::Platform WithUser(const platform::Platform& os, platform::UserServicesApi& user) {
  return platform::Platform{os.registry, os.environment, os.identity,   os.files,
                            os.clock,    user,           os.sharedFiles};
}

void WindowTest::OpenOn(const platform::Platform& os) {
  INITCOMMONCONTROLSEX controls{sizeof(controls),
                                ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  form_ = std::make_unique<window::frmMain>(os);
  form_->Create(GetModuleHandleA(nullptr), SW_SHOWNORMAL);
  Pump(*form_);
}

void WindowTest::OpenWith(const std::string& path, const std::string& classpath) {
  fake_.environment.Set("PATH", path);
  if (!classpath.empty()) fake_.environment.Set("CLASSPATH", classpath);
  OpenOn(fake_.Services());
}

void WindowTest::ChangeDpi(UINT dpi) {
  RECT outer{};
  GetWindowRect(Form().Handle(), &outer);
  const auto scale = [&](LONG length) {
    return MulDiv(length, static_cast<int>(dpi), static_cast<int>(Form().Dpi()));
  };
  RECT suggested{outer.left, outer.top, outer.left + scale(outer.right - outer.left),
                 outer.top + scale(outer.bottom - outer.top)};
  SendMessageA(Form().Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
               reinterpret_cast<LPARAM>(&suggested));
  Pump(Form());
  ASSERT_EQ(Form().Dpi(), dpi);
}

void WindowTest::Press(HWND control, WPARAM key, int modifier) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[modifier] = modifier == 0 ? 0 : 0x80;
  SetKeyboardState(keys);
  SetFocus(control);
  // F10 arrives as a system key, as it does from the keyboard.
  const UINT down = key == VK_F10 ? WM_SYSKEYDOWN : WM_KEYDOWN;
  PostMessageA(control, down, key, 1);
  PostMessageA(control, down + 1, key, 0xC0000001);  // WM_KEYUP, WM_SYSKEYUP
  Pump(Form());
  keys[modifier] = 0;
  SetKeyboardState(keys);
}

bool WindowTest::PumpUntil(const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  for (Pump(Form()); !condition(); Pump(Form())) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    Sleep(2);
  }
  return true;
}

void WindowTest::Select(HWND list, int position) {
  constexpr UINT kSelected = LVIS_SELECTED | LVIS_FOCUSED;
  ListView_SetItemState(list, -1, 0, kSelected);
  if (position != 0) ListView_SetItemState(list, position - 1, kSelected, kSelected);
}

int WindowTest::SelectedPosition(HWND list) {
  return ListView_GetNextItem(list, -1, LVNI_SELECTED) + 1;
}

std::string WindowTest::TabTip(int tab) {
  // The tips come with the mouse: it passes over the tab first.
  RECT header{};
  TabCtrl_GetItemRect(Ctl().TabStrip1, tab - 1, &header);
  SendMessageW(Ctl().TabStrip1, WM_MOUSEMOVE, 0,
               MAKELPARAM((header.left + header.right) / 2, (header.top + header.bottom) / 2));
  wchar_t buffer[1024] = {};
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = Ctl().TabStrip1;
  tool.uId = static_cast<UINT_PTR>(tab - 1);
  tool.lpszText = buffer;
  SendMessageW(Form().TabTipsHandle(), TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&tool));
  return testing_support::Utf8Of(buffer);
}

bool WindowTest::AllAnswered() {
  return PumpUntil([&] {
    return TabTip(1).find("being checked") == std::string::npos &&
           TabTip(2).find("being checked") == std::string::npos;
  });
}

}  // namespace velmora::window_tests
