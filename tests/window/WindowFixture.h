// Opens the real main window for a test and reads its state back through the
// controls' own messages, as a program outside would.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "platform/FakePlatform.h"
#include "platform/Platform.h"
#include "window/Layout.h"
#include "window/frmMain.h"

namespace velmora::window_tests {

// The lists' pictures, by their position in the image list.
inline constexpr int kSystem = 1;
inline constexpr int kUser = 2;

struct Item {
  std::string text;
  int picture;
  bool ticked;
  bool operator==(const Item&) const = default;
};
void PrintTo(const Item& item, std::ostream* out);

[[nodiscard]] std::vector<Item> Items(HWND list);
// The items a list shows for the pieces of a search list, each marked by its
// letter in marks (U user, S system); marks has one letter for each piece.
[[nodiscard]] std::vector<Item> Marked(std::string_view list, std::string_view marks);
[[nodiscard]] std::string TextOf(HWND window);
// A control's place in its container's client area, in pixels.
[[nodiscard]] window::PixelRect PlaceOf(HWND control);
// Width and height in pixels.
using Size = std::pair<int, int>;
[[nodiscard]] Size SizeOf(HWND control);

// Each row's overlay, numbered as environment::EntryMark (0 for none).
[[nodiscard]] std::vector<int> Overlays(HWND list);
// A row's info tip (position from 1), asked for as the list asks for it:
// with the row's text handed in where the row shows it cut short, empty
// where it shows whole.
[[nodiscard]] std::string InfoTip(window::frmMain& form, HWND list, int position, bool cutShort);

// Delivers every queued message as the program's message loop would.
void Pump(window::frmMain& form);

// os with user services of another binding.
[[nodiscard]] platform::Platform WithUser(const platform::Platform& os,
                                          platform::UserServicesApi& user);

// A window on the in-memory platform unless a test opens it on another.
class WindowTest : public ::testing::Test {
 protected:
  void TearDown() override { form_.reset(); }

  // Creates the window (running Form_Load) and shows it.
  void OpenOn(const platform::Platform& os);
  // Opens the window on these process variables (an empty CLASSPATH is unset).
  void OpenWith(const std::string& path, const std::string& classpath = "");
  // Moves the window to a monitor of dpi, as the system does.
  void ChangeDpi(UINT dpi);

  window::frmMain& Form() { return *form_; }
  const window::Controls& Ctl() { return form_->Ctl(); }
  // A key pressed and released in control through the message loop, with
  // modifier (a virtual key) held down.
  void Press(HWND control, WPARAM key, int modifier = 0);
  // Delivers messages, those queued first of all, until condition holds;
  // false after ten seconds.
  bool PumpUntil(const std::function<bool()>& condition);
  void Select(HWND list, int position);           // 1-based, 0 for none
  [[nodiscard]] int SelectedPosition(HWND list);  // 1-based, 0 for none
  // A tab's tool tip (1-based), asked for as the tool tip asks for it.
  [[nodiscard]] std::string TabTip(int tab);
  // Delivers messages until no entry of either list is still being checked.
  bool AllAnswered();

  platform::FakePlatform fake_;
  std::unique_ptr<window::frmMain> form_;
};

}  // namespace velmora::window_tests
