// The two report commands behind the window's buttons "Save Report" and
// "View Report". Each traps every failure of its own and shows it in the error
// box; nothing is thrown to the window.
#pragma once

#include <string>

#include "platform/Platform.h"

namespace velmora::report {

// machine + "_" + user + "_" + "yyyy-mm-dd_hh-mm" + ".txt", from the current time.
[[nodiscard]] std::string ProposedFileName(const platform::Platform& os);

// Asks for a file in the Save As dialog and writes the report there. A cancel
// says nothing; a name of blanks only writes nothing.
void cmdSave_Click(const platform::Platform& os);

// Writes the report into the temporary folder and, once it is written, opens
// it in the system's Notepad without waiting.
void cmdView_Click(const platform::Platform& os);

}  // namespace velmora::report
