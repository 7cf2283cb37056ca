// The two report commands behind the window's buttons "Save Report" and
// "View Report". Each traps its own failures and reports them; nothing is
// thrown to the window.
#pragma once

#include "platform/Platform.h"

namespace modReport {

// Asks for a file in the Save As dialog and writes the report there.
void cmdSave_Click(const platform::Platform& os);

// Writes the report into the temporary folder and opens it in Notepad.
void cmdView_Click(const platform::Platform& os);

}  // namespace modReport
