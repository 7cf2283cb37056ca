#include "report/ReportCommands.h"

#include <cstdio>
#include <optional>

#include "environment/ErrorReport.h"
#include "environment/Identity.h"
#include "platform/Failure.h"
#include "report/ReportBuilder.h"

namespace velmora::report {
namespace {

constexpr const char* kSaveFilter = "All Files (*.*)|*.*|Text Files (*.txt)|*.txt";
constexpr int kTextFilesFilter = 2;

std::string TrimBlanks(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::string ProposedFileName(const platform::Platform& os) {
  const platform::LocalTime t = os.clock.Now();
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d_%02d-%02d", t.year, t.month, t.day, t.hour,
                t.minute);
  return environment::GetMachineName(os) + "_" + environment::GetCurrentUserName(os) + "_" + stamp +
         ".txt";
}

void cmdSave_Click(const platform::Platform& os) {
  (void)environment::Trapped(os, "frmMain", "cmdSave_Click", [&] {
    std::optional<std::string> chosen;
    try {
      chosen = os.user.AskSaveFileName({kSaveFilter, kTextFilesFilter, ProposedFileName(os)});
    } catch (const platform::Failure& failure) {
      // The dialog's Cancel may come as a failure too: it stays silent.
      if (failure.Number() == platform::kFailureDialogCancelled) return;
      throw;
    }
    if (!chosen) return;  // cancelled
    const std::string path = TrimBlanks(*chosen);
    if (!path.empty()) (void)doReport(os, path);
  });
}

void cmdView_Click(const platform::Platform& os) {
  (void)environment::Trapped(os, "frmMain", "cmdView_Click", [&] {
    const std::string folder = environment::GetTempFolder(os);
    if (folder.empty()) {
      // Never the root of the current drive.
      throw platform::Failure(platform::kFailureNoTempFolder,
                              "The temporary folder could not be found");
    }
    const std::string path = folder + "\\" + ProposedFileName(os);
    if (doReport(os, path)) {
      // The system's own Notepad, though its command line names it as ever.
      os.user.StartProgram(environment::GetNotepadPath(os), "Notepad.exe " + path,
                           platform::kSwShowNormal);
    }
  });
}

}  // namespace velmora::report
