// The file system of the machine the native build runs on (POSIX), answering
// as GetFileAttributes and the file-writing calls would, so that the report's
// benchmark writes real files.
#pragma once

#include <string>

#include "platform/Platform.h"

namespace velmora::benchmarks {

class PosixFileSystem final : public platform::FileSystemApi {
 public:
  std::uint32_t FileAttributes(const std::string& path) override;
  std::optional<std::vector<platform::FolderFile>> ListFolder(const std::string& folder) override;
  std::optional<std::vector<std::string>> ListNames(const std::string& folder) override;
  bool SameBytes(const std::string& first, const std::string& second) override;
  std::int32_t CreateNew(const std::string& path, platform::FileHandle* file) override;
  std::int32_t Write(platform::FileHandle file, const void* data, std::uint32_t size) override;
  std::int32_t Flush(platform::FileHandle file) override;
  std::int32_t Close(platform::FileHandle file) override;
  std::int32_t MoveReplacing(const std::string& from, const std::string& to) override;
  std::int32_t Remove(const std::string& path) override;
  std::string ErrorText(std::int32_t code) override;
};

}  // namespace velmora::benchmarks
