// What a file planted where the platform looks for a program or a library by
// its bare name would hold: built as a program (standing in for Notepad) and
// as a library (VELMORA_PLANTED_LIBRARY). Each run or load appends a line to
// the file named by VELMORA_RECORD: the module's path, a TAB and the process's
// command line, in UTF-8. The program shows nothing and ends at once; the
// library refuses to stay, so that a load of it fails rather than running on
// with a library that is not what was asked for.
#include <windows.h>

#include <string>

#include "WideText.h"

namespace {

bool Record(HMODULE module) {
  wchar_t record[MAX_PATH * 4];
  wchar_t self[MAX_PATH * 4];
  const DWORD length = GetEnvironmentVariableW(L"VELMORA_RECORD", record, MAX_PATH * 4);
  if (length == 0 || length >= MAX_PATH * 4 || GetModuleFileNameW(module, self, MAX_PATH * 4) == 0)
    return false;
  using velmora::testing_support::Utf8Of;
  const std::string line = Utf8Of(self) + "\t" + Utf8Of(GetCommandLineW()) + "\n";
  const HANDLE file = CreateFileW(record, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL wrote =
      WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
  return wrote != FALSE;
}

}  // namespace

#ifdef VELMORA_PLANTED_LIBRARY
extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) (void)Record(self);
  return reason != DLL_PROCESS_ATTACH;
}
#else
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return Record(nullptr) ? 0 : 1;
}
#endif
