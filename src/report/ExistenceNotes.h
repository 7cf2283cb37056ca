// Whether the folder or file a product variable names exists, and the short
// note the report puts behind it.
#pragma once

#include <string>

#include "platform/Platform.h"

namespace velmora::report {

// " (Folder exists)", " !! (Folder not found)", or "" for the empty path.
[[nodiscard]] std::string FolderNote(const platform::Platform& os, const std::string& path);

// " (File exists)", " !! (File not found)", or "" for the empty path.
[[nodiscard]] std::string FileNote(const platform::Platform& os, const std::string& path);

// A folder is no file and a file is no folder. Relative paths resolve against
// the current folder; a path that cannot be asked about answers false.
[[nodiscard]] bool FolderExists(const platform::Platform& os, const std::string& path);
[[nodiscard]] bool FileExists(const platform::Platform& os, const std::string& path);

}  // namespace velmora::report
