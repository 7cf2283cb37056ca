// Velmora.exe: creates the window and runs it until it is closed.
#include <windows.h>
#include <commctrl.h>

#include "environment/ErrorReport.h"
#include "platform/Failure.h"
#include "platform/Win32Platform.h"
#include "window/frmMain.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  // Before anything can load a library: a library of a system name lying in a
  // downloads folder beside Velmora.exe must never be the one loaded. Should
  // the platform refuse, the program runs on as before.
  (void)platform::HardenLibraryLoading();

  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_STANDARD_CLASSES;
  InitCommonControlsEx(&controls);

  platform::Win32Platform win32;
  const platform::Platform os = win32.Services();
  window::frmMain form(os);
  try {
    form.Create(instance, showCommand);
  } catch (const platform::Failure& failure) {
    modUtils::ReportError(os, "frmMain", "Form_Load", failure.Description(), failure.Number());
    return 1;
  }
  return window::RunMessageLoop(form);
}
