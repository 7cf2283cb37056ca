// startup_floor.exe: the floor's start-up. Shows the floor window once both
// lists are filled and runs until it is closed. Built as
// design_controls_floor.exe it shows the design's other controls as well.
#include <windows.h>
#include <commctrl.h>

#include "FloorWindow.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = VELMORA_FLOOR_WITH_DESIGN_CONTROLS
                       ? ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_STANDARD_CLASSES
                       : ICC_LISTVIEW_CLASSES;
  InitCommonControlsEx(&controls);
  velmora::floor_program::FloorWindow window(VELMORA_FLOOR_WITH_DESIGN_CONTROLS);
  window.Refill();
  ShowWindow(window.Handle(), showCommand);
  UpdateWindow(window.Handle());
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
