// A real folder of the machine the tests run on, removed afterwards.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora::testing_support {

class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // The folder's path, without a closing separator.
  [[nodiscard]] const std::string& Path() const { return path_; }
  // A path inside the folder.
  [[nodiscard]] std::string Join(std::string_view name) const;

  // A folder or file at name, with the folders on its way.
  void MakeFolder(std::string_view name) const;
  void MakeFile(std::string_view name, std::string_view content = {}) const;

 private:
  std::string path_;
};

// The bytes of a real file named in UTF-8, read past any binding; nothing
// when there is no such file.
[[nodiscard]] std::optional<std::string> ReadRealFile(std::string_view path);

}  // namespace velmora::testing_support
