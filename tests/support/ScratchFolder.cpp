#include "support/ScratchFolder.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>

#include "platform/Win32Platform.h"
#else
#include <unistd.h>

#include "platform/PosixFileSystem.h"
#endif

namespace testing_support {
namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
constexpr char kSeparator = '\\';
int ProcessId() {
  return static_cast<int>(GetCurrentProcessId());
}
#else
constexpr char kSeparator = '/';
int ProcessId() {
  return static_cast<int>(getpid());
}
#endif

std::atomic<int> serial{0};

}  // namespace

ScratchFolder::ScratchFolder() {
  const fs::path folder =
      fs::temp_directory_path() /
      ("velmora-test-" + std::to_string(ProcessId()) + "-" + std::to_string(++serial));
  fs::remove_all(folder);
  fs::create_directories(folder);
  path_ = folder.string();
  while (!path_.empty() && (path_.back() == '/' || path_.back() == '\\')) path_.pop_back();
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  fs::remove_all(fs::path(path_), ignored);
}

std::string ScratchFolder::Join(std::string_view name) const {
  return path_ + kSeparator + std::string(name);
}

void ScratchFolder::MakeFolder(std::string_view name) const {
  fs::create_directories(fs::path(Join(name)));
}

void ScratchFolder::MakeFile(std::string_view name, std::string_view content) const {
  std::ofstream out(fs::path(Join(name)), std::ios::binary);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  if (!out) throw std::runtime_error("cannot write " + Join(name));
}

std::optional<std::string> ScratchFolder::Read(std::string_view name) const {
  std::ifstream in(fs::path(Join(name)), std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int ScratchFolder::EntryCount() const {
  const fs::directory_iterator entries{fs::path(path_)};
  return static_cast<int>(std::distance(fs::begin(entries), fs::end(entries)));
}

platform::FileSystemApi& RealFileSystem() {
#ifdef _WIN32
  static platform::Win32FileSystem files;
#else
  static platform::PosixFileSystem files;
#endif
  return files;
}

}  // namespace testing_support
