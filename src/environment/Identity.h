// Who and where: the logged-on user, the machine, the temporary folder.
#pragma once

#include <string>

#include "platform/Platform.h"

namespace modWinAPI {

// The logged-on user's name, or "" when the platform cannot tell.
[[nodiscard]] std::string GetCurrentUserName(const platform::Platform& os);

// The computer's name, or "" when the platform cannot tell or the name is
// longer than 31 characters (UTF-16 units, as the platform counts them).
[[nodiscard]] std::string GetMachineName(const platform::Platform& os);

// The temporary folder with its closing "\", or "" when the platform cannot
// tell; callers must not put files into "" (the root of the current drive).
[[nodiscard]] std::string GetTempFolder(const platform::Platform& os);

}  // namespace modWinAPI
