// Velmora.exe: creates the window and runs it until it is closed.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <utility>

#include "environment/ErrorReport.h"
#include "platform/Win32Platform.h"
#include "window/frmMain.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  // Before anything can load a library: a library of a system name lying in a
  // downloads folder beside Velmora.exe must never be the one loaded. Should
  // the platform refuse, the program runs on as before.
  (void)velmora::platform::HardenLibraryLoading();

  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_STANDARD_CLASSES;
  InitCommonControlsEx(&controls);

  velmora::platform::Win32Platform win32;
  const velmora::platform::Platform os = win32.Services();
  // Whatever escapes the window is shown before the program ends, never lost;
  // the window is gone by then.
  using velmora::window::frmMain;
  std::unique_ptr<frmMain> form;
  if (!velmora::environment::Trapped(os, "frmMain", "Form_Load", [&] {
        auto made = std::make_unique<frmMain>(os);
        made->Create(instance, showCommand);
        form = std::move(made);
      })) {
    return 1;
  }
  int exitCode = 1;
  (void)velmora::environment::Trapped(os, "frmMain", "WinMain", [&] {
    const std::unique_ptr<frmMain> shown = std::move(form);
    exitCode = velmora::window::RunMessageLoop(*shown);
  });
  return exitCode;
}
