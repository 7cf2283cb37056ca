#include "console/ReportModel.h"
#include "environment/AppInfo.h"
#include "environment/EntryChecks.h"
#include "environment/Identity.h"
#include "environment/Lookups.h"
#include "report/ExistenceNotes.h"
#include "report/ReportBuilder.h"
#include "text/Text.h"

namespace velmora::console {
namespace {

using environment::EntryMark;
using environment::SearchList;

std::string Effective(const platform::Platform& os, const std::string& name) {
  return os.environment.Variable(name).value_or(std::string());
}

// Every mark the entry bears, in the window's order, with its reason.
std::vector<Mark> MarksOf(const environment::EntryJudgement& judgement) {
  std::vector<Mark> marks;
  for (const EntryMark kind : environment::kMarkOrder) {
    if (!environment::Bears(judgement, kind)) continue;
    switch (kind) {
      case EntryMark::kNotFound:
        marks.push_back({"notFound",
                         judgement.wanted == environment::Wanted::kFolder
                             ? "Folder not found"
                             : "File or folder not found",
                         0});
        break;
      case EntryMark::kRepeated:
        marks.push_back(
            {"repeated", "Same as entry " + std::to_string(judgement.sameAs), judgement.sameAs});
        break;
      case EntryMark::kEmpty:
        marks.push_back({"empty", "Empty entry", 0});
        break;
      case EntryMark::kNeverRuns:
        marks.push_back(
            {"neverRuns", "Holds programs that never run here: an earlier copy comes first", 0});
        break;
      case EntryMark::kNeverExpanded: {
        std::string reason = "Holds " + judgement.reference + ", which is never expanded";
        if (judgement.plainTextDefined && judgement.holder != environment::Holder::kUnknown) {
          reason +=
              judgement.holder == environment::Holder::kUser ? ": the user's" : ": the system's";
          reason += " PATH is stored as plain text, not as an expandable value";
        }
        marks.push_back({"neverExpanded", std::move(reason), 0});
        break;
      }
      case EntryMark::kUnbalancedQuote:
        marks.push_back({"unbalancedQuote",
                         "Unbalanced quote: a command prompt reads the entries after it as part of "
                         "this one",
                         0});
        break;
      case EntryMark::kNone:
        break;
    }
  }
  return marks;
}

std::vector<Program> ProgramsOf(const environment::WhichCopy& copies) {
  std::vector<Program> programs;
  for (const environment::NeverRuns& never : copies.neverRun) {
    programs.push_back(
        {never.copy.file, never.copy.executionAlias, never.byEntry, never.by.file, {}});
  }
  for (const environment::RunsFirst& first : copies.runsFirst) {
    programs.push_back({first.copy.file, first.copy.executionAlias, 0, "", first.overEntries});
  }
  return programs;
}

SearchListReport ListReport(const platform::Platform& os, SearchList kind, const std::string& name,
                            const environment::VariableDictionary& userValues,
                            const environment::VariableDictionary& systemValues,
                            const environment::StoredPath& stored) {
  SearchListReport list{name,
                        Effective(os, name),
                        {},
                        environment::ReadSystemEnvironment(systemValues, name),
                        environment::ReadUserEnvironment(userValues, name)};
  const environment::ListMembers users(environment::GetUserVariable(userValues, name));
  const std::vector<std::string_view> pieces = text::SplitSearchList(list.effective);
  const std::vector<environment::EntryJudgement> judgements =
      environment::JudgeAll(kind, list.effective, os, stored);
  for (std::size_t i = 0; i < pieces.size() && i < judgements.size(); ++i) {
    list.entries.push_back({std::string(pieces[i]),
                            users.Contains(pieces[i]) ? Source::kUser : Source::kSystem,
                            MarksOf(judgements[i]), ProgramsOf(judgements[i].programs)});
  }
  return list;
}

Product ProductReport(const platform::Platform& os, const std::string& name, bool namesFile,
                      const environment::VariableDictionary& userValues) {
  Product product{name, namesFile, Effective(os, name), Source::kSystem, false};
  if (product.value.empty()) return product;
  if (report::IsUsersValue(userValues, name, product.value)) product.source = Source::kUser;
  product.exists =
      namesFile ? report::FileExists(os, product.value) : report::FolderExists(os, product.value);
  return product;
}

}  // namespace

Report GatherReport(const platform::Platform& os, const environment::VariableDictionary& userValues,
                    const environment::VariableDictionary& systemValues) {
  Report report;
  report.title = environment::kTitle;
  report.version = environment::VersionText();
  report.machine = environment::GetMachineName(os);
  report.user = environment::GetCurrentUserName(os);
  report.date = report::HeaderDate(os.clock.Now());
  const environment::StoredPath stored = environment::StoredPathOf(userValues, systemValues);
  report.lists.push_back(
      ListReport(os, SearchList::kPath, "PATH", userValues, systemValues, stored));
  report.lists.push_back(
      ListReport(os, SearchList::kClasspath, "CLASSPATH", userValues, systemValues, stored));
  for (const char* name : report::kProductVariables) {
    report.products.push_back(ProductReport(os, name, false, userValues));
  }
  report.products.push_back(ProductReport(os, report::kDomainsFile, true, userValues));
  const report::MordaleCheck mordale =
      report::CheckMordale(os, Effective(os, "MORDALEPATH"), Effective(os, "PATH"));
  report.mordaleDatabase = mordale.databaseExists;
  if (mordale.databaseExists) report.mordaleBinInPath = mordale.binInPath;
  return report;
}

}  // namespace velmora::console
