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

// The mark in the words the window shows for it.
std::vector<Mark> MarksOf(const environment::EntryJudgement& judgement) {
  switch (judgement.mark) {
    case EntryMark::kNone:
      return {};
    case EntryMark::kNotFound:
      return {{"notFound",
               judgement.wanted == environment::Wanted::kFolder ? "Folder not found"
                                                                : "File or folder not found",
               0}};
    case EntryMark::kRepeated:
      return {{"repeated", "Same as entry " + std::to_string(judgement.sameAs), judgement.sameAs}};
    case EntryMark::kEmpty:
      return {{"empty", "Empty entry", 0}};
  }
  return {};
}

SearchListReport ListReport(const platform::Platform& os, SearchList kind, const std::string& name,
                            const environment::VariableDictionary& userValues,
                            const environment::VariableDictionary& systemValues) {
  SearchListReport list{name,
                        Effective(os, name),
                        {},
                        environment::ReadSystemEnvironment(systemValues, name),
                        environment::ReadUserEnvironment(userValues, name)};
  const environment::ListMembers users(environment::GetUserVariable(userValues, name));
  const std::vector<std::string_view> pieces = text::SplitSearchList(list.effective);
  std::vector<environment::EntryJudgement> judgements =
      environment::JudgeEntries(kind, pieces, os.environment);
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    environment::EntryJudgement& judgement = judgements[i];
    if (judgement.awaitingTest) {
      environment::TakeAnswer(
          judgement, environment::NamesWhatIsWanted(os.files, judgement.place, judgement.wanted));
    }
    list.entries.push_back({std::string(pieces[i]),
                            users.Contains(pieces[i]) ? Source::kUser : Source::kSystem,
                            MarksOf(judgement)});
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
  report.lists.push_back(ListReport(os, SearchList::kPath, "PATH", userValues, systemValues));
  report.lists.push_back(
      ListReport(os, SearchList::kClasspath, "CLASSPATH", userValues, systemValues));
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
