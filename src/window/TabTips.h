// The tool tips of TabStrip1's tabs: each tab's tip is the summary of its
// list, asked for whenever the tip shows.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "window/EntryMarks.h"

namespace velmora::window {

class TabTips {
 public:
  explicit TabTips(const EntryMarks& marks) : marks_(marks) {}
  TabTips(const TabTips&) = delete;
  TabTips& operator=(const TabTips&) = delete;

  // Hands the tab strip's mouse messages on to the tips, which are made when
  // the mouse first comes to the tabs rather than at start-up. The tips
  // belong to owner and go with it.
  void Relay(HWND owner, HWND tabStrip, UINT message, WPARAM wParam, LPARAM lParam);
  // The tips asking for a tab's text: true when header was such a request.
  bool OnNotify(NMHDR& header);
  // The owner is gone, and its tips with it.
  void Forget();

  // The tool tip control; null until the mouse came to the tabs.
  [[nodiscard]] HWND Handle() const { return tips_; }

 private:
  // Without the tool tip control the tabs simply have no tips: nothing else
  // depends on them.
  enum class State : std::uint8_t { kNotMade, kMade, kRefused };

  void Make(HWND owner, HWND tabStrip);
  void Place() const;

  const EntryMarks& marks_;
  State state_ = State::kNotMade;
  HWND tips_ = nullptr;
  HWND tabStrip_ = nullptr;
  // The text a tab's tip was last given, kept while it shows.
  std::string tip_;
  std::wstring tipWide_;
};

}  // namespace velmora::window
