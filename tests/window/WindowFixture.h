// Opens the real main window for a test and reads its state back through the
// controls' own messages, as a program outside would.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/FakePlatform.h"
#include "platform/Platform.h"
#include "window/frmMain.h"

namespace window_tests {

struct Item {
  std::string text;
  int picture;  // 1 system, 2 user (the image list's positions)
  bool ticked;
  bool operator==(const Item&) const = default;
};
void PrintTo(const Item& item, std::ostream* out);

[[nodiscard]] std::vector<Item> Items(HWND list);
[[nodiscard]] std::vector<std::string> Texts(HWND list);
[[nodiscard]] std::string TextOf(HWND window);
// A control's rectangle in its container's client coordinates: left, top,
// width, height in pixels; for a window, its client area the same way.
[[nodiscard]] RECT PlaceOf(HWND control);
[[nodiscard]] RECT ClientOf(HWND window);
[[nodiscard]] bool Shown(HWND control);

// Delivers every queued message as the program's message loop would.
void Pump(window::frmMain& form);

// Prepares a user string value in the double's registry, terminator included.
void SetUserValue(platform::FakePlatform& fake, const std::string& name, const std::string& text,
                  std::uint32_t type = platform::kRegSz);

// A window on the in-memory platform: environment, registry and user
// services of the double, the window itself real.
class WindowTest : public ::testing::Test {
 protected:
  void TearDown() override { form_.reset(); }

  // Creates the window (running Form_Load) and shows it.
  void Open();
  void OpenOn(const platform::Platform& os);
  // Opens the window on these process variables (an empty CLASSPATH is unset).
  void OpenWith(const std::string& path, const std::string& classpath = "");
  // Moves the window to a monitor of dpi, as the system does.
  void ChangeDpi(UINT dpi);

  window::frmMain& Form() { return *form_; }
  const window::Controls& Ctl() { return form_->Ctl(); }
  void Select(HWND list, int position);           // 1-based, 0 for none
  [[nodiscard]] int SelectedPosition(HWND list);  // 1-based, 0 for none

  platform::FakePlatform fake_;
  std::unique_ptr<window::frmMain> form_;
};

}  // namespace window_tests
