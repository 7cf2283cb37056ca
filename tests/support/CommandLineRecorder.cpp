// Stands in for a program that Velmora starts (Notepad) or that an entry
// names: each run leaves its record (RecordStart.h). It shows nothing and
// ends at once.
#include <windows.h>

#include "RecordStart.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return velmora::testing_support::RecordStart(nullptr) ? 0 : 1;
}
