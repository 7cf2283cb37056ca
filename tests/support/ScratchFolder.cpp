#include "support/ScratchFolder.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>

namespace velmora::testing_support {
namespace {

namespace fs = std::filesystem;

fs::path PathOf(std::string_view utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace

ScratchFolder::ScratchFolder() {
  // A name no other test, in this process or another, has at the moment.
  std::random_device random;
  fs::path folder;
  do {
    folder = fs::temp_directory_path() / ("velmora-test-" + std::to_string(random()));
  } while (!fs::create_directory(folder));
  const std::u8string utf8 = folder.u8string();
  path_.assign(utf8.begin(), utf8.end());
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  fs::remove_all(PathOf(path_), ignored);
}

std::string ScratchFolder::Join(std::string_view name) const {
  return path_ + '\\' + std::string(name);
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

}  // namespace velmora::testing_support
