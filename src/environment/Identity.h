// Who and where: the logged-on user, the machine, the temporary folder and
// the system's own folders and programs.
#pragma once

#include <string>

#include "platform/Platform.h"

namespace velmora::environment {

// The logged-on user's name, or "" when the platform cannot tell.
[[nodiscard]] std::string GetCurrentUserName(const platform::Platform& os);

// The computer's name, or "" when the platform cannot tell or the name is
// longer than 31 characters (UTF-16 units, as the platform counts them).
[[nodiscard]] std::string GetMachineName(const platform::Platform& os);

// The temporary folder with its closing "\", or "" when the platform cannot
// tell; callers must not put files into "" (the root of the current drive).
[[nodiscard]] std::string GetTempFolder(const platform::Platform& os);

// The shared Windows folder and the system folder, or "" when the platform
// cannot tell.
[[nodiscard]] std::string GetWindowsFolder(const platform::Platform& os);
[[nodiscard]] std::string GetSystemFolder(const platform::Platform& os);

// The full paths of the system's Notepad (in the system folder) and Explorer
// (in the Windows folder). A program is never named by its bare name, which
// the platform would first look for beside this program and in the current
// folder. Throws platform::Failure (file not found) when the folder is unknown.
[[nodiscard]] std::string GetNotepadPath(const platform::Platform& os);
[[nodiscard]] std::string GetExplorerPath(const platform::Platform& os);

}  // namespace velmora::environment
