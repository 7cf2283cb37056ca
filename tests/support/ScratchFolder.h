// A real folder of the machine the tests run on, removed afterwards.
#pragma once

#include <string>
#include <string_view>

namespace velmora::testing_support {

class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // A path inside the folder.
  [[nodiscard]] std::string Join(std::string_view name) const;

  // A folder or file at name, with the folders on its way.
  void MakeFolder(std::string_view name) const;
  void MakeFile(std::string_view name, std::string_view content = {}) const;

 private:
  std::string path_;
};

}  // namespace velmora::testing_support
