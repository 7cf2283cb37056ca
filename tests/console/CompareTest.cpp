#include "console/Compare.h"

#include <functional>

#include <gtest/gtest.h>

#include "console/Anonymize.h"
#include "console/Json.h"

namespace velmora {
namespace {

using console::DifferenceKind;
using console::Report;
using console::Source;

Report Baseline() {
  Report report{"Velmora", "1.0.24", "BUILD07", "jdoe", "2011-03-07 14:05:09", {}, {}, true, true};
  report.lists.push_back({"PATH", "A;B;C;D;B", {}, "A;B", "C"});
  for (const char* entry : {"A", "B", "C", "D", "B"}) {
    report.lists[0].entries.push_back({entry, Source::kSystem, {}, {}});
  }
  report.lists[0].entries[4].marks = {{"repeated", "Same as entry 2", 2}};
  report.products.push_back({"CORVANE_HOME", false, "C:\\Corvane", Source::kSystem, true});
  report.products.push_back({"OMRA_DOMAINS_FILE", true, "C:\\d.txt", Source::kUser, false});
  return report;
}

// Each kind of difference, made once, is found once, as itself; who wrote
// the report, where and when, and an entry's letter case are no difference.
TEST(Compare, FindsEachKindOfDifferenceOnce) {
  using Change = std::function<void(Report&)>;
  const auto entries = [](Report & r) -> auto& {
    return r.lists[0].entries;
  };
  const struct {
    const char* what;
    Change change;
    console::Difference expected;
  } cases[] = {
      {"added",
       [&](Report& r) {
         entries(r).push_back({"E", Source::kSystem, {}, {}});
       },
       {DifferenceKind::kEntryAdded, "PATH", "E", "", "", 0, 6}},
      {"removed",
       [&](Report& r) { entries(r).erase(entries(r).begin() + 2); },
       {DifferenceKind::kEntryRemoved, "PATH", "C", "", "", 3, 0}},
      {"moved",
       [&](Report& r) {
         std::rotate(entries(r).begin(), entries(r).begin() + 3, entries(r).begin() + 4);
       },
       {DifferenceKind::kEntryMoved, "PATH", "D", "", "", 4, 1}},
      {"source",
       [&](Report& r) { entries(r)[0].source = Source::kUser; },
       {DifferenceKind::kSourceChanged, "PATH", "A", "system", "user", 1, 1}},
      {"marks",
       [&](Report& r) {
         entries(r)[3].marks = {{"notFound", "Folder not found", 0}};
       },
       {DifferenceKind::kMarksChanged, "PATH", "D", "none", "Folder not found", 4, 4}},
      {"stored",
       [](Report& r) { r.lists[0].user = "C;X"; },
       {DifferenceKind::kValueChanged, "PATH (user)", "", "C", "C;X", 0, 0}},
      {"product",
       [](Report& r) { r.products[0].value = "D:\\Corvane"; },
       {DifferenceKind::kValueChanged, "CORVANE_HOME", "", "C:\\Corvane", "D:\\Corvane", 0, 0}},
      {"folder went",
       [](Report& r) { r.products[0].exists = false; },
       {DifferenceKind::kFolderWent, "CORVANE_HOME", "C:\\Corvane", "", "", 0, 0}},
      {"file appeared",
       [](Report& r) { r.products[1].exists = true; },
       {DifferenceKind::kFileAppeared, "OMRA_DOMAINS_FILE", "C:\\d.txt", "", "", 0, 0}},
      {"database went",
       [](Report& r) {
         r.mordaleDatabase = false;
         r.mordaleBinInPath.reset();
       },
       {DifferenceKind::kFileWent, "MORDALEPATH", "%MordalePath%\\bin\\mordale.mdb", "", "", 0, 0}},
      {"bin left PATH",
       [](Report& r) { r.mordaleBinInPath = false; },
       {DifferenceKind::kValueChanged, "MORDALEPATH", "%MordalePath%\\bin in PATH", "yes", "no", 0,
        0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Report other = Baseline();
    c.change(other);
    EXPECT_EQ(console::Compare(Baseline(), other), std::vector{c.expected});
    // The same difference survives the JSON form of both reports.
    EXPECT_EQ(console::Compare(console::ReadReportJson(console::ReportJson(Baseline())),
                               console::ReadReportJson(console::ReportJson(other))),
              std::vector{c.expected});
  }
  Report same = Baseline();
  same.machine = "OTHER";
  same.date = "2020-01-01 00:00:00";
  entries(same)[1].text = "b";  // and its repeat stays the repeat
  EXPECT_EQ(console::Compare(Baseline(), same), std::vector<console::Difference>{});
}

// A whole list reversed keeps one entry in place and moves the others; the
// text names each.
TEST(Compare, ReversedListMovesAllButOne) {
  Report other = Baseline();
  std::reverse(other.lists[0].entries.begin(), other.lists[0].entries.end());
  const auto differences = console::Compare(Baseline(), other);
  EXPECT_EQ(differences.size(), 4u);
  const std::string text = console::ComparisonText(Baseline(), other, differences);
  EXPECT_NE(text.find("PATH: entry moved from 1 to 5: A\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\r\n4 differences.\r\n"), std::string::npos);
}

// Names found whatever their case, the longest first, placeholders never
// searched again, and a text without them left as it is.
TEST(Anonymize, ReplacesEachNameOnceInOnePass) {
  const console::Anonymizer anonymizer("jdoe", "ПК-1", "jdoe.corp");
  EXPECT_EQ(anonymizer.Apply("C:\\Users\\JDOE.CORP\\bin;\\\\пк-1\\x;Jdoe"),
            "C:\\Users\\<profile>\\bin;\\\\<machine>\\x;<user>");
  EXPECT_EQ(console::Anonymizer("user", "", "").Apply("User: user"), "<user>: <user>");
  EXPECT_EQ(console::Anonymizer("", "", "").Apply("as is"), "as is");
}

}  // namespace
}  // namespace velmora
