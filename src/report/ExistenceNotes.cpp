#include "report/ExistenceNotes.h"

#include "environment/EntryChecks.h"

namespace velmora::report {

bool FolderExists(const platform::Platform& os, const std::string& path) {
  return environment::NamesWhatIsWanted(os.files, path, environment::Wanted::kFolder);
}

bool FileExists(const platform::Platform& os, const std::string& path) {
  return environment::NamesWhatIsWanted(os.files, path, environment::Wanted::kFile);
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
