#include "report/ExistenceNotes.h"

namespace velmora::report {
namespace {

// The attributes at path, or kInvalidFileAttributes; a question the platform
// cannot answer counts as nothing there.
std::uint32_t AttributesAt(const platform::Platform& os, const std::string& path) {
  try {
    return os.files.FileAttributes(path);
  } catch (...) {
    return platform::kInvalidFileAttributes;
  }
}

}  // namespace

bool FolderExists(const platform::Platform& os, const std::string& path) {
  const std::uint32_t attributes = AttributesAt(os, path);
  return attributes != platform::kInvalidFileAttributes &&
         (attributes & platform::kFileAttributeDirectory) != 0;
}

bool FileExists(const platform::Platform& os, const std::string& path) {
  const std::uint32_t attributes = AttributesAt(os, path);
  return attributes != platform::kInvalidFileAttributes &&
         (attributes & platform::kFileAttributeDirectory) == 0;
}

std::string FolderNote(const platform::Platform& os, const std::string& path) {
  if (path.empty()) return {};
  return FolderExists(os, path) ? " (Folder exists)" : " !! (Folder not found)";
}

std::string FileNote(const platform::Platform& os, const std::string& path) {
  if (path.empty()) return {};
  return FileExists(os, path) ? " (File exists)" : " !! (File not found)";
}

}  // namespace velmora::report
