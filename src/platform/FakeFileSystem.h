// The file system of the in-memory double.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"

namespace velmora::platform {

// Folders and files by full Windows path, with the files' bytes; relative
// paths resolve against the current folder. Names compare without regard to
// case. Every call is safe from any thread (set currentFolder before the code
// under test runs).
class FakeFileSystem final : public FileSystemApi {
 public:
  std::string currentFolder = "C:\\";

  // From now on every question about `path` (letter case aside) or what it
  // holds does not answer until ReleaseAnswers: a server that does not answer.
  void HoldAnswers(std::string_view path);
  void ReleaseAnswers();
  // Waits until `calls` calls are held, at most `limit`;
  // whether they are.
  [[nodiscard]] bool WaitForHeldCalls(int calls, std::chrono::milliseconds limit);
  [[nodiscard]] int HeldCalls() const;
  [[nodiscard]] int AttributeCalls() const;

  void AddFolder(std::string_view path);
  void AddFile(std::string_view path, std::string content = {});
  // An app execution alias: a zero-byte reparse point that cannot be read.
  void AddExecutionAlias(std::string_view path);
  // The bytes of the file at path, or nothing when there is no such file.
  [[nodiscard]] std::optional<std::string> Content(std::string_view path) const;
  // Every file below folder (its full, upper-cased path).
  [[nodiscard]] std::vector<std::string> FilesIn(std::string_view folder) const;
  // From now on, the n-th Write (1 for the next) fails with `error` after
  // storing `partial` of its bytes.
  void FailWrite(int n, std::int32_t error, std::uint32_t partial = 0);
  // From now on, every Flush or MoveReplacing fails with `error`.
  void FailFlush(std::int32_t error) { flushError_ = error; }
  void FailMove(std::int32_t error) { moveError_ = error; }

  [[nodiscard]] int OpenFiles() const { return static_cast<int>(open_.size()); }

  std::uint32_t FileAttributes(const std::string& path) override;
  std::optional<std::vector<FolderFile>> ListFolder(const std::string& folder) override;
  std::optional<std::vector<std::string>> ListNames(const std::string& folder) override;
  bool SameBytes(const std::string& first, const std::string& second) override;
  std::int32_t CreateNew(const std::string& path, FileHandle* file) override;
  std::int32_t Write(FileHandle file, const void* data, std::uint32_t size) override;
  std::int32_t Flush(FileHandle file) override;
  std::int32_t Close(FileHandle file) override;
  std::int32_t MoveReplacing(const std::string& from, const std::string& to) override;
  std::int32_t Remove(const std::string& path) override;
  std::string ErrorText(std::int32_t code) override;

 private:
  struct Entry {
    std::uint32_t attributes;
    std::string content;
    std::string name;  // a file's name as given, letter case kept
  };

  // What a folder holds directly: each name as given, its attributes and
  // size; nothing when there is no such folder.
  struct Child {
    std::string name;
    std::uint32_t attributes;
    std::uint64_t size;
  };
  [[nodiscard]] std::optional<std::vector<Child>> Children(const std::string& folder);

  [[nodiscard]] std::string Normalize(std::string_view path) const;
  [[nodiscard]] bool IsFolder(const std::string& normalized) const;
  // Adds the folder (normalized) and those above it.
  void AddFolderLocked(std::string normalized);
  // Waits while the path or a folder above it is held.
  void WaitWhileHeld(std::unique_lock<std::mutex>& lock, const std::string& normalized);

  mutable std::mutex mutex_;
  std::condition_variable gateChanged_;
  std::set<std::string> held_;  // normalized paths
  int heldCalls_ = 0;
  int attributeCalls_ = 0;
  std::map<std::string, Entry> entries_;
  std::map<FileHandle, std::string> open_;
  FileHandle nextHandle_ = 0x100;
  int writesUntilFailure_ = 0;
  std::int32_t writeError_ = 0;
  std::uint32_t writePartial_ = 0;
  std::int32_t flushError_ = 0;
  std::int32_t moveError_ = 0;
};

}  // namespace velmora::platform
