// Velmora.exe: creates the window and runs it until it is closed.
#include <windows.h>
#include <commctrl.h>

#include <exception>
#include <new>

#include "environment/ErrorReport.h"
#include "platform/Failure.h"
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
  // Whatever escapes the window is shown before the program ends, never lost.
  const char* procedure = "Form_Load";
  try {
    velmora::window::frmMain form(os);
    form.Create(instance, showCommand);
    procedure = "WinMain";
    return velmora::window::RunMessageLoop(form);
  } catch (const velmora::platform::Failure& failure) {
    velmora::environment::ReportError(os, "frmMain", procedure, failure.Description(),
                                      failure.Number());
  } catch (const std::bad_alloc&) {
    velmora::environment::ReportError(os, "frmMain", procedure, "Out of memory", 7);
  } catch (const std::exception& failure) {
    velmora::environment::ReportError(os, "frmMain", procedure, failure.what(), 0);
  } catch (...) {
    velmora::environment::ReportError(os, "frmMain", procedure,
                                      "An unexpected failure ended the program", 0);
  }
  return 1;
}
