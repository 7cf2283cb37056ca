// The record that a planted stand-in leaves when it runs: one line appended to
// the file named by the variable VELMORA_RECORD, holding the path of the
// module that ran (a program, or a library loaded into one), a TAB and the
// command line of the process, in UTF-8. Windows only.
#pragma once

#include <windows.h>

#include <string>

#include "WideText.h"

namespace velmora::testing_support {

// False when there is no record file to write to.
inline bool RecordStart(HMODULE module) {
  wchar_t record[MAX_PATH * 4];
  const DWORD length = GetEnvironmentVariableW(L"VELMORA_RECORD", record, MAX_PATH * 4);
  if (length == 0 || length >= MAX_PATH * 4) return false;
  wchar_t self[MAX_PATH * 4];
  if (GetModuleFileNameW(module, self, MAX_PATH * 4) == 0) return false;
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

}  // namespace velmora::testing_support
