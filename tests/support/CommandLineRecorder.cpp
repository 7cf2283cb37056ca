// Stands in for a program that Velmora starts (Notepad, the Explorer) or that
// an entry names. Each run appends one line to the file named by the variable
// VELMORA_RECORD: the program's own path, a TAB and the command line it
// received, in UTF-8. It shows nothing and ends at once.
#include <windows.h>

#include <string>

#include "WideText.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  wchar_t record[MAX_PATH * 4];
  const DWORD length = GetEnvironmentVariableW(L"VELMORA_RECORD", record, MAX_PATH * 4);
  if (length == 0 || length >= MAX_PATH * 4) return 1;
  wchar_t self[MAX_PATH * 4];
  if (GetModuleFileNameW(nullptr, self, MAX_PATH * 4) == 0) return 1;

  using velmora::testing_support::Utf8Of;
  const std::string line = Utf8Of(self) + "\t" + Utf8Of(GetCommandLineW()) + "\n";
  const HANDLE file = CreateFileW(record, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  const BOOL wrote =
      WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
  return wrote ? 0 : 1;
}
