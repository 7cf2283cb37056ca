#include "platform/Win32Platform.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <cwchar>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

#include "text/Text.h"

namespace velmora::platform {
namespace {

// The predefined roots are sign-extended handle values on 64-bit Windows.
HKEY ToHkey(KeyHandle key) {
  if (key == kCurrentUser) return HKEY_CURRENT_USER;
  if (key == kLocalMachine) return HKEY_LOCAL_MACHINE;
  return reinterpret_cast<HKEY>(key);
}

DWORD* AsDword(std::uint32_t* value) {
  static_assert(sizeof(DWORD) == sizeof(std::uint32_t));
  return reinterpret_cast<DWORD*>(value);
}

// The first buffer for a process variable, in UTF-16 units: most values fit.
constexpr std::uint32_t kVariableBufferStart = 256;

// What one call of a wide entry point said: the text is in the buffer, or the
// buffer size in UTF-16 units it asks for (0 when it gave up).
struct WideAnswer {
  bool filled = false;
  std::uint32_t needed = 0;
};

// The text a wide entry point writes, in UTF-8, read into a buffer that grows
// as the platform asks; nothing when it gives up.
template <class Call>
std::optional<std::string> ReadWide(std::uint32_t capacity, Call&& call) {
  constexpr int kMaxAttempts = 4;  // the size asked for only grows when the text does
  for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
    std::wstring buffer(capacity, L'\0');
    const WideAnswer answer = call(buffer.data(), capacity);
    if (answer.filled) return Utf8Text(buffer.c_str());
    if (answer.needed <= capacity) return std::nullopt;
    capacity = answer.needed;
  }
  return std::nullopt;
}

}  // namespace

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the wide entry points take UTF-16");

std::wstring WideText(std::string_view text) {
  const std::u16string wide = text::Utf8ToUtf16(text);
  return std::wstring(wide.begin(), wide.end());
}

std::string Utf8Text(std::wstring_view text) {
  return text::Utf16ToUtf8(std::u16string(text.begin(), text.end()));
}

std::int32_t Win32Registry::OpenKeyEx(KeyHandle root, const char* subKey, std::uint32_t options,
                                      std::uint32_t access, KeyHandle* key) {
  HKEY opened = nullptr;
  const LSTATUS status = RegOpenKeyExA(ToHkey(root), subKey, options, access, &opened);
  if (status == ERROR_SUCCESS) *key = reinterpret_cast<KeyHandle>(opened);
  return status;
}

std::int32_t Win32Registry::QueryInfoKey(KeyHandle key, std::uint32_t* values,
                                         std::uint32_t* maxValueNameLength,
                                         std::uint32_t* maxValueLength) {
  return RegQueryInfoKeyA(ToHkey(key), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                          AsDword(values), AsDword(maxValueNameLength), AsDword(maxValueLength),
                          nullptr, nullptr);
}

std::int32_t Win32Registry::EnumValue(KeyHandle key, std::uint32_t index, char* name,
                                      std::uint32_t* nameLength, std::uint32_t* type,
                                      std::uint8_t* data, std::uint32_t* dataLength) {
  return RegEnumValueA(ToHkey(key), index, name, AsDword(nameLength), nullptr, AsDword(type), data,
                       AsDword(dataLength));
}

std::int32_t Win32Registry::CloseKey(KeyHandle key) {
  return RegCloseKey(ToHkey(key));
}

std::optional<std::string> Win32Environment::ExpandStrings(const std::string& source) {
  const std::wstring wideSource = WideText(source.c_str());
  // Room for the text and a path's worth more: one call, unless its
  // references add more than that.
  const auto capacity = static_cast<std::uint32_t>(wideSource.size() + MAX_PATH);
  return ReadWide(capacity, [&](wchar_t* buffer, std::uint32_t size) {
    const DWORD needed = ExpandEnvironmentStringsW(wideSource.c_str(), buffer, size);
    if (needed == 0 || needed > size) return WideAnswer{false, needed};
    // Past its limit the platform announces the whole expansion but writes a
    // cut one.
    if (std::wcslen(buffer) + 1 != needed) return WideAnswer{};
    return WideAnswer{true, needed};
  });
}

std::optional<std::string> Win32Environment::Variable(const std::string& name) {
  const std::wstring wideName = WideText(name);
  bool found = true;
  const auto value = ReadWide(kVariableBufferStart, [&](wchar_t* buffer, std::uint32_t capacity) {
    SetLastError(ERROR_SUCCESS);
    const DWORD length = GetEnvironmentVariableW(wideName.c_str(), buffer, capacity);
    // Zero is both "not set" and "set to the empty string".
    if (length == 0) found = GetLastError() != ERROR_ENVVAR_NOT_FOUND;
    return WideAnswer{length < capacity, length};
  });
  if (!found) return std::nullopt;
  return value.value_or(std::string());
}

std::optional<std::string> Win32Identity::UserName() {
  constexpr std::uint32_t kLongestUserName = 256;
  return ReadWide(kLongestUserName + 1, [](wchar_t* wide, std::uint32_t capacity) {
    DWORD length = capacity;
    if (GetUserNameW(wide, &length)) return WideAnswer{true, length};
    return WideAnswer{false, GetLastError() == ERROR_INSUFFICIENT_BUFFER ? length : 0};
  });
}

std::optional<std::string> Win32Identity::ComputerName() {
  return ReadWide(MAX_COMPUTERNAME_LENGTH + 1, [](wchar_t* wide, std::uint32_t capacity) {
    DWORD length = capacity;
    if (GetComputerNameW(wide, &length)) return WideAnswer{true, length};
    return WideAnswer{false, GetLastError() == ERROR_BUFFER_OVERFLOW ? length : 0};
  });
}

namespace {

// A path that the platform writes as GetSystemDirectoryW does: the length
// written, or the size needed when the buffer is too small, or 0 on failure.
template <class Query>
std::optional<std::string> PathAnswer(Query&& query) {
  const auto path = ReadWide(MAX_PATH + 1, [&](wchar_t* wide, std::uint32_t capacity) {
    const UINT length = query(wide, capacity);
    return WideAnswer{length != 0 && length < capacity, length};
  });
  if (!path || path->empty()) return std::nullopt;
  return path;
}

}  // namespace

std::optional<std::string> Win32Identity::TempPath() {
  return PathAnswer([](wchar_t* wide, UINT capacity) { return GetTempPathW(capacity, wide); });
}

std::optional<std::string> Win32Identity::WindowsFolder() {
  return PathAnswer(&GetSystemWindowsDirectoryW);
}

std::optional<std::string> Win32Identity::SystemFolder() {
  return PathAnswer(&GetSystemDirectoryW);
}

std::uint32_t Win32FileSystem::FileAttributes(const std::string& path) {
  return GetFileAttributesW(WideText(path).c_str());
}

namespace {

// Owns a search handle of FindFirstFileEx.
struct FindCloser {
  void operator()(HANDLE search) const { FindClose(search); }
};
using UniqueSearch = std::unique_ptr<std::remove_pointer_t<HANDLE>, FindCloser>;

// Owns a file opened for reading.
struct HandleCloser {
  void operator()(HANDLE file) const { CloseHandle(file); }
};
using UniqueFile = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

UniqueFile OpenForReading(const std::string& path) {
  const HANDLE file = CreateFileW(WideText(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  return UniqueFile(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

// Starts listing everything in folder, the first item in *found; nothing
// when the folder cannot be listed.
UniqueSearch FindFirstIn(const std::string& folder, FINDEX_INFO_LEVELS level,
                         WIN32_FIND_DATAW* found) {
  std::wstring pattern = WideText(folder);
  if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/') pattern += L'\\';
  pattern += L'*';
  const HANDLE first = FindFirstFileExW(pattern.c_str(), level, found, FindExSearchNameMatch,
                                        nullptr, FIND_FIRST_EX_LARGE_FETCH);
  return UniqueSearch(first == INVALID_HANDLE_VALUE ? nullptr : first);
}

// Reads up to size bytes; how many came, 0 at the end or on a failure.
DWORD ReadSome(HANDLE file, char* buffer, DWORD size) {
  DWORD read = 0;
  return ReadFile(file, buffer, size, &read, nullptr) ? read : 0;
}

// A name from a listing (a long or a short one) in UTF-8, without a copy on
// the heap on the way: a folder may hold thousands.
template <std::size_t kUnits>
std::string NameOf(const WCHAR (&listed)[kUnits]) {
  std::array<char16_t, kUnits> name;  // only the name's own units are written and read
  std::size_t length = 0;
  while (length < name.size() && listed[length] != L'\0') {
    name[length] = static_cast<char16_t>(listed[length]);
    ++length;
  }
  return text::Utf16ToUtf8(std::u16string_view(name.data(), length));
}

}  // namespace

std::optional<std::vector<FolderFile>> Win32FileSystem::ListFolder(const std::string& folder) {
  WIN32_FIND_DATAW found{};
  // Basic information leaves out the short names, which the listing never reads.
  const UniqueSearch search = FindFirstIn(folder, FindExInfoBasic, &found);
  if (!search) return std::nullopt;
  std::vector<FolderFile> files;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
    // The tag of a reparse point is in dwReserved0 (Reparse Point Tags, Win32 docs).
    const bool alias = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
                       found.dwReserved0 == kReparseTagAppExecLink;
    files.push_back({NameOf(found.cFileName),
                     (std::uint64_t{found.nFileSizeHigh} << 32) | found.nFileSizeLow, alias});
  } while (FindNextFileW(search.get(), &found));
  return files;
}

std::optional<std::vector<std::string>> Win32FileSystem::ListNames(const std::string& folder) {
  WIN32_FIND_DATAW found{};
  // Standard information carries the short names: a path may use them.
  const UniqueSearch search = FindFirstIn(folder, FindExInfoStandard, &found);
  if (!search) return std::nullopt;
  std::vector<std::string> names;
  do {
    names.push_back(NameOf(found.cFileName));
    if (found.cAlternateFileName[0] != L'\0') names.push_back(NameOf(found.cAlternateFileName));
  } while (FindNextFileW(search.get(), &found));
  return names;
}

bool Win32FileSystem::SameBytes(const std::string& first, const std::string& second) {
  const UniqueFile one = OpenForReading(first);
  const UniqueFile other = OpenForReading(second);
  if (!one || !other) return false;
  // On the stack: a heap block this size is memory mapped and unmapped for
  // each pair of programs, which under Wine costs more than reading them.
  constexpr DWORD kPiece = 16 * 1024;
  std::array<char, kPiece> mine;
  std::array<char, kPiece> theirs;
  for (;;) {
    const DWORD read = ReadSome(one.get(), mine.data(), kPiece);
    if (ReadSome(other.get(), theirs.data(), read == 0 ? 1 : read) != read) return false;
    if (read == 0) return true;
    if (std::memcmp(mine.data(), theirs.data(), read) != 0) return false;
  }
}

namespace {

HANDLE ToHandle(FileHandle file) {
  return reinterpret_cast<HANDLE>(file);
}

std::int32_t LastError() {
  return static_cast<std::int32_t>(GetLastError());
}

}  // namespace

std::int32_t Win32FileSystem::CreateNew(const std::string& path, FileHandle* file) {
  const HANDLE created = CreateFileW(WideText(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
  if (created == INVALID_HANDLE_VALUE) return LastError();
  *file = reinterpret_cast<FileHandle>(created);
  return kErrorSuccess;
}

std::int32_t Win32FileSystem::Write(FileHandle file, const void* data, std::uint32_t size) {
  DWORD written = 0;
  if (!WriteFile(ToHandle(file), data, size, &written, nullptr)) return LastError();
  return written == size ? kErrorSuccess : kErrorDiskFull;
}

std::int32_t Win32FileSystem::Flush(FileHandle file) {
  return FlushFileBuffers(ToHandle(file)) ? kErrorSuccess : LastError();
}

std::int32_t Win32FileSystem::Close(FileHandle file) {
  return CloseHandle(ToHandle(file)) ? kErrorSuccess : LastError();
}

std::int32_t Win32FileSystem::MoveReplacing(const std::string& from, const std::string& to) {
  return MoveFileExW(WideText(from).c_str(), WideText(to).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
             ? kErrorSuccess
             : LastError();
}

std::int32_t Win32FileSystem::Remove(const std::string& path) {
  return DeleteFileW(WideText(path).c_str()) ? kErrorSuccess : LastError();
}

std::string Win32FileSystem::ErrorText(std::int32_t code) {
  return SystemMessage(static_cast<std::uint32_t>(code));
}

LocalTime Win32Clock::Now() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return LocalTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

bool HardenLibraryLoading() {
  const bool systemOnly = SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) != FALSE;
  // Also for the calls that ask for the old search order by their flags.
  const bool noCurrentFolder = SetDllDirectoryW(L"") != FALSE;
  return systemOnly && noCurrentFolder;
}

std::string SystemMessage(std::uint32_t code) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string message = length == 0 ? std::string() : Utf8Text(std::wstring_view(text, length));
  LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) {
    message.pop_back();
  }
  if (message.empty()) message = "Error " + std::to_string(code);
  return message;
}

Failure Win32Failure(std::uint32_t code) {
  return Failure(static_cast<std::int32_t>(code), SystemMessage(code));
}

}  // namespace velmora::platform
