#include "platform/FakeFileSystem.h"

#include <algorithm>
#include <cstring>

#include "platform/Failure.h"
#include "text/Text.h"

namespace velmora::platform {
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
  return text::UpperCase(joined);
}

bool FakeFileSystem::IsFolder(const std::string& normalized) const {
  const auto found = entries_.find(normalized);
  return found != entries_.end() && found->second.attributes == kFileAttributeDirectory;
}

void FakeFileSystem::AddFolderLocked(std::string normalized) {
  for (std::string folder = std::move(normalized); !folder.empty(); folder = Parent(folder)) {
    entries_[folder] = Entry{kFileAttributeDirectory, {}, {}};
  }
}

void FakeFileSystem::AddFolder(std::string_view path) {
  const std::lock_guard lock(mutex_);
  AddFolderLocked(Normalize(path));
}

void FakeFileSystem::AddFile(std::string_view path, std::string content) {
  const std::lock_guard lock(mutex_);
  const std::string normalized = Normalize(path);
  if (const std::string parent = Parent(normalized); !parent.empty()) AddFolderLocked(parent);
  std::string name(path.substr(path.find_last_of("\\/") + 1));
  entries_[normalized] = Entry{kFileAttributeArchive, std::move(content), std::move(name)};
}

void FakeFileSystem::AddExecutionAlias(std::string_view path) {
  AddFile(path);
  const std::lock_guard lock(mutex_);
  entries_[Normalize(path)].attributes = kFileAttributeArchive | kFileAttributeReparsePoint;
}

std::optional<std::vector<FakeFileSystem::Child>> FakeFileSystem::Children(
    const std::string& folder) {
  std::unique_lock lock(mutex_);
  const std::string normalized = Normalize(folder);
  WaitWhileHeld(lock, normalized);
  if (folder.empty() || !IsFolder(normalized)) return std::nullopt;
  std::vector<Child> children;
  const std::string prefix = normalized + "\\";
  for (auto at = entries_.lower_bound(prefix); at != entries_.end(); ++at) {
    const auto& [path, entry] = *at;
    if (!path.starts_with(prefix)) break;
    const std::string_view name = std::string_view(path).substr(prefix.size());
    if (name.find('\\') != std::string::npos) continue;
    children.push_back({entry.name.empty() ? std::string(name) : entry.name, entry.attributes,
                        entry.content.size()});
  }
  return children;
}

std::optional<std::vector<FolderFile>> FakeFileSystem::ListFolder(const std::string& folder) {
  auto children = Children(folder);
  if (!children) return std::nullopt;
  std::vector<FolderFile> files;
  for (Child& child : *children) {
    if (child.attributes == kFileAttributeDirectory) continue;
    files.push_back(
        {std::move(child.name), child.size, (child.attributes & kFileAttributeReparsePoint) != 0});
  }
  return files;
}

std::optional<std::vector<std::string>> FakeFileSystem::ListNames(const std::string& folder) {
  auto children = Children(folder);
  if (!children) return std::nullopt;
  std::vector<std::string> names;
  for (Child& child : *children) names.push_back(std::move(child.name));
  return names;
}

bool FakeFileSystem::SameBytes(const std::string& first, const std::string& second) {
  std::unique_lock lock(mutex_);
  const std::string one = Normalize(first);
  const std::string other = Normalize(second);
  WaitWhileHeld(lock, one);
  WaitWhileHeld(lock, other);
  const auto readable = [&](const std::string& path) {
    const auto found = entries_.find(path);
    return found != entries_.end() && found->second.attributes == kFileAttributeArchive
               ? &found->second.content
               : nullptr;
  };
  const std::string* mine = readable(one);
  const std::string* theirs = readable(other);
  return mine != nullptr && theirs != nullptr && *mine == *theirs;
}

std::optional<std::string> FakeFileSystem::Content(std::string_view path) const {
  const std::lock_guard lock(mutex_);
  const auto found = entries_.find(Normalize(path));
  if (found == entries_.end() || found->second.attributes == kFileAttributeDirectory) {
    return std::nullopt;
  }
  return found->second.content;
}

std::vector<std::string> FakeFileSystem::FilesIn(std::string_view folder) const {
  const std::lock_guard lock(mutex_);
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
  const std::lock_guard lock(mutex_);
  writesUntilFailure_ = n;
  writeError_ = error;
  writePartial_ = partial;
}

void FakeFileSystem::HoldAnswers(std::string_view path) {
  const std::lock_guard lock(mutex_);
  held_.insert(Normalize(path));
}

void FakeFileSystem::ReleaseAnswers() {
  {
    const std::lock_guard lock(mutex_);
    held_.clear();
  }
  gateChanged_.notify_all();
}

bool FakeFileSystem::WaitForHeldCalls(int calls, std::chrono::milliseconds limit) {
  std::unique_lock lock(mutex_);
  return gateChanged_.wait_for(lock, limit, [&] { return heldCalls_ >= calls; });
}

int FakeFileSystem::HeldCalls() const {
  const std::lock_guard lock(mutex_);
  return heldCalls_;
}

int FakeFileSystem::AttributeCalls() const {
  const std::lock_guard lock(mutex_);
  return attributeCalls_;
}

void FakeFileSystem::WaitWhileHeld(std::unique_lock<std::mutex>& lock,
                                   const std::string& normalized) {
  const auto isHeld = [&] {
    for (std::string at = normalized; !at.empty(); at = Parent(at)) {
      if (held_.contains(at)) return true;
    }
    return false;
  };
  if (!isHeld()) return;
  ++heldCalls_;
  gateChanged_.notify_all();
  gateChanged_.wait(lock, [&] { return !isHeld(); });
  --heldCalls_;
}

std::uint32_t FakeFileSystem::FileAttributes(const std::string& path) {
  std::unique_lock lock(mutex_);
  ++attributeCalls_;
  const std::string normalized = Normalize(path);
  WaitWhileHeld(lock, normalized);
  if (path.empty() || HasInvalidCharacter(path)) return kInvalidFileAttributes;
  const auto found = entries_.find(normalized);
  if (found == entries_.end()) return kInvalidFileAttributes;
  // A file named with a closing separator is no file.
  const bool closingSeparator = path.back() == '\\' || path.back() == '/';
  if (closingSeparator && found->second.attributes != kFileAttributeDirectory) {
    return kInvalidFileAttributes;
  }
  return found->second.attributes;
}

std::int32_t FakeFileSystem::CreateNew(const std::string& path, FileHandle* file) {
  const std::lock_guard lock(mutex_);
  if (path.empty() || HasInvalidCharacter(path)) return kErrorInvalidName;
  const std::string normalized = Normalize(path);
  if (!IsFolder(Parent(normalized))) return kErrorPathNotFound;
  if (entries_.contains(normalized)) return kErrorFileExists;
  entries_[normalized] = Entry{kFileAttributeArchive, {}, {}};
  *file = nextHandle_++;
  open_[*file] = normalized;
  return kErrorSuccess;
}

std::int32_t FakeFileSystem::Write(FileHandle file, const void* data, std::uint32_t size) {
  const std::lock_guard lock(mutex_);
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
  const std::lock_guard lock(mutex_);
  if (!open_.contains(file)) return kErrorInvalidHandle;
  return flushError_;
}

std::int32_t FakeFileSystem::Close(FileHandle file) {
  const std::lock_guard lock(mutex_);
  return open_.erase(file) == 1 ? kErrorSuccess : kErrorInvalidHandle;
}

std::int32_t FakeFileSystem::MoveReplacing(const std::string& from, const std::string& to) {
  const std::lock_guard lock(mutex_);
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
  const std::lock_guard lock(mutex_);
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

}  // namespace velmora::platform
