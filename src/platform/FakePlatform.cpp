#include "platform/FakePlatform.h"

#include <algorithm>
#include <cstring>

#include "environment/Text.h"
#include "platform/Failure.h"

namespace platform {
namespace {

bool IsString(std::uint32_t type) {
  return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz;
}

std::string KeyPath(KeyHandle root, std::string_view path) {
  return std::to_string(root) + "\\" + modUtils::UpperCase(path);
}

}  // namespace

// --- registry ---------------------------------------------------------------

FakeRegistry::Values& FakeRegistry::Key(KeyHandle root, std::string_view path) {
  return keys_[KeyPath(root, path)];
}

void FakeRegistry::CreateKey(KeyHandle root, std::string_view path) {
  (void)Key(root, path);
}

void FakeRegistry::SetValue(KeyHandle root, std::string_view path, std::string_view name,
                            std::uint32_t type, std::vector<std::uint8_t> data) {
  Values& values = Key(root, path);
  const auto same = std::find_if(values.begin(), values.end(), [&](const Value& value) {
    return modUtils::EqualsNoCase(value.name, name);
  });
  if (same != values.end()) {
    same->type = type;
    same->data = std::move(data);
    return;
  }
  values.push_back(Value{std::string(name), type, std::move(data)});
}

void FakeRegistry::AppendValue(KeyHandle root, std::string_view path, std::string_view name,
                               std::uint32_t type, std::vector<std::uint8_t> data) {
  Key(root, path).push_back(Value{std::string(name), type, std::move(data)});
}

void FakeRegistry::DeleteKey(KeyHandle root, std::string_view path) {
  keys_.erase(KeyPath(root, path));
}

std::int32_t FakeRegistry::OpenKeyEx(KeyHandle root, const char* subKey, std::uint32_t,
                                     std::uint32_t, KeyHandle* key) {
  if (key == nullptr) return kErrorInvalidParameter;
  if (root != kCurrentUser && root != kLocalMachine) return kErrorInvalidHandle;
  const std::string path = KeyPath(root, subKey == nullptr ? "" : subKey);
  if (!keys_.contains(path)) return kErrorFileNotFound;
  *key = nextHandle_++;
  open_[*key] = path;
  return kErrorSuccess;
}

std::int32_t FakeRegistry::QueryInfoKey(KeyHandle key, std::uint32_t* values,
                                        std::uint32_t* maxValueNameLength,
                                        std::uint32_t* maxValueLength) {
  const auto open = open_.find(key);
  if (open == open_.end()) return kErrorInvalidHandle;
  const Values& stored = keys_[open->second];
  // Lengths as the registry keeps them: names and string data in UTF-16.
  std::uint32_t longestName = 0;
  std::uint32_t longestData = 0;
  for (const Value& value : stored) {
    const auto name = static_cast<std::uint32_t>(modUtils::Utf8ToUtf16(value.name).size());
    const std::string_view bytes(reinterpret_cast<const char*>(value.data.data()),
                                 value.data.size());
    const auto data = static_cast<std::uint32_t>(
        IsString(value.type) ? modUtils::Utf8ToUtf16(bytes).size() * sizeof(char16_t)
                             : value.data.size());
    longestName = std::max(longestName, name);
    longestData = std::max(longestData, data);
  }
  if (values != nullptr) *values = static_cast<std::uint32_t>(stored.size());
  if (maxValueNameLength != nullptr) *maxValueNameLength = longestName;
  if (maxValueLength != nullptr) *maxValueLength = longestData;
  return kErrorSuccess;
}

std::int32_t FakeRegistry::EnumValue(KeyHandle key, std::uint32_t index, char* name,
                                     std::uint32_t* nameLength, std::uint32_t* type,
                                     std::uint8_t* data, std::uint32_t* dataLength) {
  if ((data != nullptr && dataLength == nullptr) || name == nullptr || nameLength == nullptr) {
    return kErrorInvalidParameter;
  }
  const auto open = open_.find(key);
  if (open == open_.end()) return kErrorInvalidHandle;
  const Values& values = keys_[open->second];
  if (index >= values.size()) return kErrorNoMoreItems;
  if (const auto failure = failures_.find(index); failure != failures_.end()) {
    return failure->second;
  }

  const Value& value = values[index];
  const auto size = static_cast<std::uint32_t>(value.data.size());
  std::int32_t status = kErrorSuccess;
  if (IsString(value.type)) {
    if (data != nullptr && size > 0) {
      if (size > *dataLength) {
        status = kErrorMoreData;
      } else {
        std::memcpy(data, value.data.data(), size);
        // A string stored without its terminator gets one where there is room.
        if (size < *dataLength && data[size - 1] != 0) data[size] = 0;
      }
    }
  } else if (data != nullptr) {
    if (size > *dataLength) {
      status = kErrorMoreData;
    } else if (size > 0) {
      std::memcpy(data, value.data.data(), size);
    }
  }

  // The name is written only when the data went well.
  if (status == kErrorSuccess) {
    const auto length = static_cast<std::uint32_t>(value.name.size());
    if (length >= *nameLength) {
      status = kErrorMoreData;
      if (*nameLength > 0) {
        std::memcpy(name, value.name.data(), *nameLength - 1);
        name[*nameLength - 1] = '\0';
      }
    } else {
      std::memcpy(name, value.name.data(), length);
      name[length] = '\0';
      *nameLength = length;
    }
  }
  if (type != nullptr) *type = value.type;
  if (dataLength != nullptr) *dataLength = size;
  return status;
}

std::int32_t FakeRegistry::CloseKey(KeyHandle key) {
  return open_.erase(key) == 1 ? kErrorSuccess : kErrorInvalidHandle;
}

// --- process environment ------------------------------------------------------

void FakeEnvironment::Set(std::string_view name, std::string_view value) {
  Unset(name);
  variables_.emplace_back(std::string(name), std::string(value));
}

void FakeEnvironment::Unset(std::string_view name) {
  std::erase_if(variables_,
                [&](const auto& variable) { return modUtils::EqualsNoCase(variable.first, name); });
}

std::optional<std::string> FakeEnvironment::Variable(const std::string& name) {
  for (const auto& [key, value] : variables_) {
    if (modUtils::EqualsNoCase(key, name)) return value;
  }
  return std::nullopt;
}

std::uint32_t FakeEnvironment::ExpandStrings(const char* source, char* destination,
                                             std::uint32_t size) {
  // %NAME% of a set variable is replaced by its value; any other %...% and a
  // lone % stay as written.
  const std::string_view text(source);
  std::string expanded;
  for (std::size_t at = 0; at < text.size();) {
    if (text[at] != '%') {
      const std::size_t next = std::min(text.find('%', at), text.size());
      expanded.append(text.substr(at, next - at));
      at = next;
      continue;
    }
    const std::size_t close = text.find('%', at + 1);
    if (close == std::string_view::npos) {
      expanded.append(text.substr(at));
      break;
    }
    const std::string name(text.substr(at + 1, close - at - 1));
    const auto value = name.empty() ? std::nullopt : Variable(name);
    expanded.append(value ? *value : std::string(text.substr(at, close - at + 1)));
    at = close + 1;
  }
  const auto needed = static_cast<std::uint32_t>(expanded.size() + 1);
  // The narrow entry point wants one byte more than it reports.
  if (destination != nullptr && size > needed) {
    std::memcpy(destination, expanded.c_str(), needed);
  }
  return needed;
}

// --- identity ---------------------------------------------------------------

bool FakeIdentity::UserName(char* buffer, std::uint32_t* size) {
  if (userNameFails) return false;
  const auto needed = static_cast<std::uint32_t>(userName.size() + 1);
  if (needed > *size) {
    *size = needed;
    return false;
  }
  std::memcpy(buffer, userName.c_str(), needed);
  *size = needed;
  return true;
}

bool FakeIdentity::ComputerName(char* buffer, std::uint32_t* size) {
  const auto needed = static_cast<std::uint32_t>(computerName.size() + 1);
  if (needed > *size) {
    *size = needed;
    return false;
  }
  std::memcpy(buffer, computerName.c_str(), needed);
  *size = needed - 1;
  return true;
}

std::uint32_t FakeIdentity::TempPath(std::uint32_t size, char* buffer) {
  const auto needed = static_cast<std::uint32_t>(tempPath.size() + 1);
  if (needed > size) return needed;
  std::memcpy(buffer, tempPath.c_str(), needed);
  return needed - 1;
}

// --- file system ---------------------------------------------------------------

namespace {

constexpr std::uint32_t kFileAttributeArchive = 0x20u;
constexpr std::int32_t kErrorInvalidName = 123;

bool IsAbsolute(std::string_view path) {
  return (path.size() >= 2 && path[1] == ':') || path.starts_with("\\\\");
}

// Characters no Windows file name may hold; the drive's colon is left out.
bool HasInvalidCharacter(std::string_view path) {
  if (IsAbsolute(path) && !path.starts_with("\\\\")) path.remove_prefix(2);
  return std::any_of(path.begin(), path.end(), [](char c) {
    return static_cast<unsigned char>(c) < 0x20 || std::strchr("<>\"|?*:", c) != nullptr;
  });
}

std::string Parent(const std::string& normalized) {
  const std::size_t cut = normalized.rfind('\\');
  return cut == std::string::npos ? std::string() : normalized.substr(0, cut);
}

}  // namespace

std::string FakeFileSystem::Normalize(std::string_view path) const {
  std::string full =
      IsAbsolute(path) ? std::string(path) : currentFolder + "\\" + std::string(path);
  std::replace(full.begin(), full.end(), '/', '\\');
  // Resolve "." and ".." and fold repeated separators, as the platform does.
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= full.size()) {
    const std::size_t end = std::min(full.find('\\', start), full.size());
    const std::string part = full.substr(start, end - start);
    if (part == "..") {
      if (parts.size() > 1) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  std::string joined;
  for (const auto& part : parts) joined += (joined.empty() ? "" : "\\") + part;
  return modUtils::UpperCase(joined);
}

bool FakeFileSystem::IsFolder(const std::string& normalized) const {
  const auto found = entries_.find(normalized);
  return found != entries_.end() && found->second.attributes == kFileAttributeDirectory;
}

void FakeFileSystem::AddFolder(std::string_view path) {
  for (std::string folder = Normalize(path); !folder.empty(); folder = Parent(folder)) {
    entries_[folder] = Entry{kFileAttributeDirectory, {}};
  }
}

void FakeFileSystem::AddFile(std::string_view path, std::string content) {
  const std::string normalized = Normalize(path);
  if (const std::string parent = Parent(normalized); !parent.empty()) AddFolder(parent);
  entries_[normalized] = Entry{kFileAttributeArchive, std::move(content)};
}

std::optional<std::string> FakeFileSystem::Content(std::string_view path) const {
  const auto found = entries_.find(Normalize(path));
  if (found == entries_.end() || found->second.attributes == kFileAttributeDirectory) {
    return std::nullopt;
  }
  return found->second.content;
}

std::vector<std::string> FakeFileSystem::FilesIn(std::string_view folder) const {
  const std::string prefix = Normalize(folder) + "\\";
  std::vector<std::string> files;
  for (const auto& [path, entry] : entries_) {
    if (entry.attributes != kFileAttributeDirectory && path.starts_with(prefix)) {
      files.push_back(path);
    }
  }
  return files;
}

void FakeFileSystem::FailWrite(int n, std::int32_t error, std::uint32_t partial) {
  writesUntilFailure_ = n;
  writeError_ = error;
  writePartial_ = partial;
}

std::uint32_t FakeFileSystem::FileAttributes(const std::string& path) {
  if (path.empty() || HasInvalidCharacter(path)) return kInvalidFileAttributes;
  const auto found = entries_.find(Normalize(path));
  if (found == entries_.end()) return kInvalidFileAttributes;
  // A file named with a closing separator is no file.
  const bool closingSeparator = path.back() == '\\' || path.back() == '/';
  if (closingSeparator && found->second.attributes != kFileAttributeDirectory) {
    return kInvalidFileAttributes;
  }
  return found->second.attributes;
}

std::int32_t FakeFileSystem::CreateNew(const std::string& path, FileHandle* file) {
  if (path.empty() || HasInvalidCharacter(path)) return kErrorInvalidName;
  const std::string normalized = Normalize(path);
  if (!IsFolder(Parent(normalized))) return kErrorPathNotFound;
  if (entries_.contains(normalized)) return kErrorFileExists;
  entries_[normalized] = Entry{kFileAttributeArchive, {}};
  *file = nextHandle_++;
  open_[*file] = normalized;
  return kErrorSuccess;
}

std::int32_t FakeFileSystem::Write(FileHandle file, const void* data, std::uint32_t size) {
  const auto open = open_.find(file);
  if (open == open_.end()) return kErrorInvalidHandle;
  std::string& content = entries_[open->second].content;
  if (writesUntilFailure_ > 0 && --writesUntilFailure_ == 0) {
    content.append(static_cast<const char*>(data), std::min(size, writePartial_));
    return writeError_;
  }
  content.append(static_cast<const char*>(data), size);
  return kErrorSuccess;
}

std::int32_t FakeFileSystem::Flush(FileHandle file) {
  if (!open_.contains(file)) return kErrorInvalidHandle;
  return flushError_;
}

std::int32_t FakeFileSystem::Close(FileHandle file) {
  return open_.erase(file) == 1 ? kErrorSuccess : kErrorInvalidHandle;
}

std::int32_t FakeFileSystem::MoveReplacing(const std::string& from, const std::string& to) {
  if (moveError_ != 0) return moveError_;
  if (HasInvalidCharacter(to)) return kErrorInvalidName;
  const std::string source = Normalize(from);
  const std::string target = Normalize(to);
  const auto found = entries_.find(source);
  if (found == entries_.end()) return kErrorFileNotFound;
  if (!IsFolder(Parent(target))) return kErrorPathNotFound;
  if (IsFolder(target)) return kErrorAccessDenied;
  Entry moved = std::move(found->second);
  entries_.erase(found);
  entries_[target] = std::move(moved);
  return kErrorSuccess;
}

std::int32_t FakeFileSystem::Remove(const std::string& path) {
  const auto found = entries_.find(Normalize(path));
  if (found == entries_.end()) return kErrorFileNotFound;
  if (found->second.attributes == kFileAttributeDirectory) return kErrorAccessDenied;
  entries_.erase(found);
  return kErrorSuccess;
}

std::string FakeFileSystem::ErrorText(std::int32_t code) {
  switch (code) {
    case kErrorFileNotFound:
      return "The system cannot find the file specified.";
    case kErrorPathNotFound:
      return "The system cannot find the path specified.";
    case kErrorAccessDenied:
      return "Access is denied.";
    case kErrorDiskFull:
      return "There is not enough space on the disk.";
    case kErrorInvalidName:
      return "The filename, directory name, or volume label syntax is incorrect.";
    default:
      return "Error " + std::to_string(code);
  }
}

// --- user services --------------------------------------------------------------

void RecordingUserServices::ThrowIfFailing() {
  if (!failNext) return;
  const auto [number, description] = *failNext;
  failNext.reset();
  throw Failure(number, description);
}

int RecordingUserServices::ShowMessage(const std::string& text, const std::string& caption,
                                       std::uint32_t style) {
  messages.push_back(Message{text, caption, style});
  return kIdOk;
}

std::optional<std::string> RecordingUserServices::AskSaveFileName(
    const SaveDialogRequest& request) {
  saveRequests.push_back(request);
  ThrowIfFailing();
  return saveAnswer;
}

void RecordingUserServices::StartProgram(const std::string& commandLine, int showCommand) {
  ThrowIfFailing();
  started.push_back(Started{commandLine, showCommand});
}

void RecordingUserServices::PutClipboardText(const std::string& text) {
  ThrowIfFailing();
  clipboard.push_back(text);
}

}  // namespace platform
