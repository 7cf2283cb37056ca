// The one way entries get into the window's lists.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string_view>

namespace velmora::window {

// Appends an item to list: the first text as the item's text, each further
// text as a sub-item; picture 2 of the image list for a user entry, picture 1
// otherwise; its check box ticked.
void AddListEntry(HWND list, bool isUser, std::initializer_list<std::string_view> texts);

}  // namespace velmora::window
