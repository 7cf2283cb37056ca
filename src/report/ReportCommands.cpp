#include "report/ReportCommands.h"

namespace modReport {

// The report builder is not in yet: the buttons do nothing until it is.
void cmdSave_Click(const platform::Platform&) {}
void cmdView_Click(const platform::Platform&) {}

}  // namespace modReport
