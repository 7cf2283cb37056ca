#include "PosixFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>

namespace velmora::benchmarks {
namespace {

constexpr std::uint32_t kFileAttributeNormal = 0x80u;

// errno in the terms of the Win32 codes the program looks at.
std::int32_t Win32Code(int error) {
  switch (error) {
    case 0:
      return platform::kErrorSuccess;
    case ENOENT:
      return platform::kErrorPathNotFound;
    case EEXIST:
      return platform::kErrorFileExists;
    case EACCES:
    case EPERM:
    case EISDIR:
      return platform::kErrorAccessDenied;
    case ENOSPC:
      return platform::kErrorDiskFull;
    default:
      return 0x20000000 | error;  // the customer bit keeps it apart from Win32's codes
  }
}

int Descriptor(platform::FileHandle file) {
  return static_cast<int>(file);
}

}  // namespace

std::uint32_t PosixFileSystem::FileAttributes(const std::string& path) {
  struct stat status {};
  if (path.empty() || ::stat(path.c_str(), &status) != 0) return platform::kInvalidFileAttributes;
  return S_ISDIR(status.st_mode) ? platform::kFileAttributeDirectory : kFileAttributeNormal;
}

std::optional<std::vector<platform::FolderFile>> PosixFileSystem::ListFolder(
    const std::string& folder) {
  const std::unique_ptr<DIR, int (*)(DIR*)> listing(::opendir(folder.c_str()), &::closedir);
  if (!listing) return std::nullopt;
  std::vector<platform::FolderFile> files;
  while (const dirent* entry = ::readdir(listing.get())) {
    struct stat status {};
    const std::string path = folder + "/" + entry->d_name;
    if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) continue;
    files.push_back({entry->d_name, static_cast<std::uint64_t>(status.st_size), false});
  }
  return files;
}

std::optional<std::vector<std::string>> PosixFileSystem::ListNames(const std::string& folder) {
  const std::unique_ptr<DIR, int (*)(DIR*)> listing(::opendir(folder.c_str()), &::closedir);
  if (!listing) return std::nullopt;
  std::vector<std::string> names;
  while (const dirent* entry = ::readdir(listing.get())) names.emplace_back(entry->d_name);
  return names;
}

bool PosixFileSystem::SameBytes(const std::string& first, const std::string& second) {
  std::ifstream one(first, std::ios::binary);
  std::ifstream other(second, std::ios::binary);
  if (!one || !other) return false;
  return std::equal(std::istreambuf_iterator<char>(one), std::istreambuf_iterator<char>(),
                    std::istreambuf_iterator<char>(other), std::istreambuf_iterator<char>());
}

std::int32_t PosixFileSystem::CreateNew(const std::string& path, platform::FileHandle* file) {
  const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (descriptor < 0) return Win32Code(errno);
  *file = static_cast<platform::FileHandle>(descriptor);
  return platform::kErrorSuccess;
}

std::int32_t PosixFileSystem::Write(platform::FileHandle file, const void* data,
                                    std::uint32_t size) {
  const auto* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t written = ::write(Descriptor(file), bytes, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return Win32Code(errno);
    }
    bytes += written;
    size -= static_cast<std::uint32_t>(written);
  }
  return platform::kErrorSuccess;
}

std::int32_t PosixFileSystem::Flush(platform::FileHandle file) {
  return ::fsync(Descriptor(file)) == 0 ? platform::kErrorSuccess : Win32Code(errno);
}

std::int32_t PosixFileSystem::Close(platform::FileHandle file) {
  return ::close(Descriptor(file)) == 0 ? platform::kErrorSuccess : Win32Code(errno);
}

std::int32_t PosixFileSystem::MoveReplacing(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0 ? platform::kErrorSuccess : Win32Code(errno);
}

std::int32_t PosixFileSystem::Remove(const std::string& path) {
  return ::unlink(path.c_str()) == 0 ? platform::kErrorSuccess : Win32Code(errno);
}

std::string PosixFileSystem::ErrorText(std::int32_t code) {
  if ((code & 0x20000000) != 0) return std::strerror(code & ~0x20000000);
  return "Error " + std::to_string(code);
}

}  // namespace velmora::benchmarks
