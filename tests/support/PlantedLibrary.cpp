// A library that anyone could drop beside a program under the name of a
// system library that the program loads by its bare name. Loaded, it leaves
// its record (RecordStart.h) and refuses to stay, so that the program's load
// fails rather than running on with a library that is not what it asked for.
#include <windows.h>

#include "RecordStart.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  (void)velmora::testing_support::RecordStart(self);
  return FALSE;
}
