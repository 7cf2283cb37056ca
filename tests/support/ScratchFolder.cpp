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

fs::path PathOf(std::string_view utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace

ScratchFolder::ScratchFolder() {
  const fs::path folder =
      fs::temp_directory_path() /
      ("velmora-test-" + std::to_string(ProcessId()) + "-" + std::to_string(++serial));
  fs::remove_all(folder);
  fs::create_directories(folder);
  const std::u8string utf8 = folder.u8string();
  path_.assign(utf8.begin(), utf8.end());
  while (!path_.empty() && (path_.back() == '/' || path_.back() == '\\')) path_.pop_back();
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  fs::remove_all(PathOf(path_), ignored);
}

std::string ScratchFolder::Join(std::string_view name) const {
  return path_ + kSeparator + std::string(name);
}

void ScratchFolder::MakeFolder(std::string_view name) const {
  fs::create_directories(PathOf(Join(name)));
}

void ScratchFolder::MakeFile(std::string_view name, std::string_view content) const {
  fs::create_directories(PathOf(Join(name)).parent_path());
  std::ofstream out(PathOf(Join(name)), std::ios::binary);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  if (!out) throw std::runtime_error("cannot write " + Join(name));
}

std::optional<std::string> ScratchFolder::Read(std::string_view name) const {
  return ReadRealFile(Join(name));
}

int ScratchFolder::EntryCount() const {
  const fs::directory_iterator entries{PathOf(path_)};
  return static_cast<int>(std::distance(fs::begin(entries), fs::end(entries)));
}

std::optional<std::string> ReadRealFile(std::string_view path) {
  std::ifstream in(PathOf(path), std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
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
