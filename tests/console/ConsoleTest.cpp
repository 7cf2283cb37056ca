#include "console/Console.h"

#include <gtest/gtest.h>

#include "ConsoleSupport.h"
#include "console/Json.h"
#include "console/ReportModel.h"
#include "environment/Lookups.h"
#include "report/ReportCommands.h"
#include "report/ReportFile.h"
#include "report/ReportTestSupport.h"
#include "support/PlatformTest.h"
#include "text/Text.h"

namespace velmora {
namespace {

using console_testing::RecordingIo;
using report_testing::Names;
using testing_support::Binding;

const Names kForeignNames{"ПК-山田07", "Jösé", "Cörvane 山"};

// The worked example on a binding, with the double's clock (the same moment
// for every run) and user services (no Notepad really started).
class ConsoleReport : public ::testing::TestWithParam<Binding> {
 protected:
  bool Prepare(const Names& names) {
    test_.reset();  // the one before lets go of the registry it fenced first
    test_ = testing_support::MakeTestPlatform(GetParam());
    corvane_ = report_testing::PrepareWorkedExample(*test_, names);
    return corvane_.has_value();
  }
  platform::Platform Os() {
    const platform::Platform os = test_->Services();
    return {os.registry, os.environment, os.identity,   os.files,
            fake_.clock, fake_.user,     os.sharedFiles};
  }

  std::unique_ptr<testing_support::TestPlatform> test_;
  std::optional<std::string> corvane_;
  platform::FakePlatform fake_;
};

// With no option the console writes the very file View Report writes at the
// same moment; --output writes the same bytes, and a console window is given
// the same characters.
TEST_P(ConsoleReport, TextIsTheFileViewReportWrites) {
  for (const Names& names : {report_testing::kWorkedNames, kForeignNames}) {
    SCOPED_TRACE(names.user);
    if (!Prepare(names)) GTEST_SKIP() << "the user and machine cannot be chosen here";
    const std::string temp = test_->MakeFolder("Témp 日本");
    test_->SetTempPath(temp + "\\");
    report::cmdView_Click(Os());
    const auto viewed =
        test_->ReadFile(temp + "\\\\" + names.machine + "_" + names.user + "_2011-03-07_14-05.txt");
    ASSERT_TRUE(viewed.has_value());

    RecordingIo io;
    EXPECT_EQ(console::Run(Os(), io, {}), console::kExitWritten);
    EXPECT_EQ(io.bytes, *viewed);
    EXPECT_EQ(report::EncodeReport(io.characters), *viewed);
    RecordingIo saving;
    EXPECT_EQ(console::Run(Os(), saving, {"--output", temp + "\\saved.txt"}),
              console::kExitWritten);
    EXPECT_EQ(test_->ReadFile(temp + "\\saved.txt"), *viewed);
    EXPECT_EQ(saving.bytes + saving.errors, "");
  }
}

// The JSON reads back as the report gathered from the machine, and compared
// with the machine, or with itself, shows no difference.
TEST_P(ConsoleReport, JsonReadsBackAndComparesWithoutDifference) {
  if (!Prepare(kForeignNames)) GTEST_SKIP() << "the user and machine cannot be chosen here";
  RecordingIo io;
  ASSERT_EQ(console::Run(Os(), io, {"--json"}), console::kExitWritten);
  const console::Report read = console::ReadReportJson(io.bytes);
  const auto userValues = environment::ReadUserValues(Os());
  EXPECT_EQ(read, console::GatherReport(Os(), userValues, environment::ReadSystemValues(Os())));
  EXPECT_EQ(read.machine, kForeignNames.machine);
  ASSERT_EQ(read.lists.size(), 2u);
  ASSERT_EQ(read.lists[0].entries.size(), 4u);
  EXPECT_EQ(read.lists[0].entries[3].source, console::Source::kUser);       // C:\Tools\bin
  EXPECT_EQ(read.lists[0].entries[2].marks, std::vector<console::Mark>{});  // Mordale\bin exists
  EXPECT_EQ(read.lists[0].entries[3].marks.at(0).mark, "notFound");
  EXPECT_EQ(read.products.at(2).source, console::Source::kUser);  // MORDALEPATH
  EXPECT_EQ(read.mordaleBinInPath, true);

  RecordingIo compared;
  compared.files["base.json"] = io.bytes;
  EXPECT_EQ(console::Run(Os(), compared, {"--compare", "base.json"}), console::kExitWritten);
  EXPECT_NE(compared.characters.find("\r\nNo differences.\r\n"), std::string::npos);
  RecordingIo twice;
  twice.files["base.json"] = io.bytes;
  EXPECT_EQ(console::Run(Os(), twice, {"--json", "--compare", "base.json", "base.json"}),
            console::kExitWritten);
  EXPECT_NE(twice.bytes.find("\"differences\": []"), std::string::npos) << twice.bytes;

  test_->SetVariable("PATH", "C:\\Elsewhere");
  RecordingIo changed;
  changed.files["base.json"] = io.bytes;
  EXPECT_EQ(console::Run(Os(), changed, {"--compare", "base.json"}), console::kExitDifferent);
  EXPECT_NE(changed.characters.find("PATH: entry added at 1: C:\\Elsewhere"), std::string::npos);
}

// Every mark an entry bears, in order, and which copy of a program runs.
TEST_P(ConsoleReport, JsonCarriesEveryMarkAndWhichCopyRuns) {
  if (!Prepare(report_testing::kWorkedNames))
    GTEST_SKIP() << "the user and machine cannot be chosen";
  std::string one = test_->MakeFile("One\\tool.exe", "new");
  std::string two = test_->MakeFile("Two\\tool.exe", "old");
  one.resize(one.rfind('\\'));
  two.resize(two.rfind('\\'));
  test_->UnsetVariable("PATHEXT");
  test_->SetVariable("PATH", one + ";" + two + ";%VELMORA_UNSET_Q%\\bin;\"C:\\Q");
  RecordingIo io;
  ASSERT_EQ(console::Run(Os(), io, {"--json"}), console::kExitWritten);
  const auto entries = console::ReadReportJson(io.bytes).lists.at(0).entries;
  ASSERT_EQ(entries.size(), 4u);
  using Programs = std::vector<console::Program>;
  EXPECT_EQ(entries[0].programs, (Programs{{"tool.exe", false, 0, "", {2}}}));
  EXPECT_EQ(entries[1].programs, (Programs{{"tool.exe", false, 1, "tool.exe", {}}}));
  const auto names = [&](std::size_t entry) {
    std::string joined;
    for (const console::Mark& mark : entries[entry].marks) joined += mark.mark + " ";
    return joined;
  };
  EXPECT_EQ(names(0), "");
  EXPECT_EQ(names(1), "neverRuns ");
  EXPECT_EQ(names(2), "neverExpanded ");
  EXPECT_EQ(entries[2].marks[0].reason, "Holds %VELMORA_UNSET_Q%, which is never expanded");
  EXPECT_EQ(names(3), "unbalancedQuote notFound ");
}

// No byte of the user's, the machine's or the profile folder's name is left,
// whatever their letter case, in the text or the JSON; the header's frame
// stands around the placeholders.
TEST_P(ConsoleReport, AnonymizeLeavesNoByteOfTheNames) {
  if (!Prepare(kForeignNames)) GTEST_SKIP() << "the user and machine cannot be chosen here";
  const std::string profile = "Jösé.ΚΟΡ";
  test_->SetVariable("USERPROFILE", "C:\\Users\\" + profile);
  test_->SetVariable("PATH", "C:\\USERS\\JÖSÉ.κορ\\bin;\\\\пк-山田07\\share;" + *corvane_);
  RecordingIo text;
  RecordingIo json;
  ASSERT_EQ(console::Run(Os(), text, {"--anonymize"}), console::kExitWritten);
  ASSERT_EQ(console::Run(Os(), json, {"--json", "--anonymize"}), console::kExitWritten);
  for (const std::string& out : {text.characters, json.bytes}) {
    for (const std::string& name : {kForeignNames.user, kForeignNames.machine, profile}) {
      EXPECT_EQ(text::UpperCase(out).find(text::UpperCase(name)), std::string::npos) << name;
    }
  }
  EXPECT_NE(text.characters.find("* User: <user>                         *\r\n"),
            std::string::npos);
  EXPECT_NE(
      text.characters.find("     SYS C:\\USERS\\<profile>\\bin\r\n     SYS \\\\<machine>\\share"),
      std::string::npos)
      << text.characters;
  EXPECT_EQ(console::ReadReportJson(json.bytes).lists[0].effective,
            "C:\\USERS\\<profile>\\bin;\\\\<machine>\\share;" + *corvane_);
  // And in a file, as Save Report writes it.
  const std::string saved = test_->MakeFolder("out") + "\\r.txt";
  RecordingIo saving;
  ASSERT_EQ(console::Run(Os(), saving, {"--anonymize", "--output", saved}), console::kExitWritten);
  EXPECT_EQ(test_->ReadFile(saved), report::EncodeReport(text.characters));
}

VELMORA_ON_EVERY_BINDING(ConsoleReport);

// Every bad use, and every failure: exit code 2, one line on standard error
// saying what failed, nothing on standard output, no file written.
TEST(ConsoleUse, EachBadUseSaysWhatFailedInOneLine) {
  const std::string report = R"({"schema": "velmora-report/1", "program": {"title": "Velmora",
    "version": "1.0.24"}, "machine": "M", "user": "U", "date": "2011-03-07 14:05:09",
    "lists": [{"name": "PATH", "effective": "C:\\x", "entries": [{"text": "C:\\x",
    "marks": []}], "system": {"value": ""}, "user": {"value": ""}}], "products": [],
    "mordale": {"databaseExists": false}})";
  const struct {
    std::vector<std::string> args;
    const char* line;  // standard error, after "VelmoraReport: "
  } cases[] = {
      {{"--frobnicate"}, "unknown option \"--frobnicate\" (VelmoraReport --help lists them)"},
      {{"/x"}, "unknown option \"/x\" (VelmoraReport --help lists them)"},
      {{"report.txt"},
       "unexpected argument \"report.txt\" (VelmoraReport --help lists the options)"},
      {{"--json", "--json"}, "--json is given twice"},
      {{"--output"}, "--output needs a file name"},
      {{"--compare"}, "--compare needs a baseline file"},
      {{"--compare", "gone.json"},
       "cannot read gone.json: The system cannot find the file specified."},
      {{"--compare", "torn.json"},
       "torn.json is not a Velmora report: at byte 12: parse error at line 1, column 12: syntax "
       "error while parsing value - "
       "unexpected end of input; expected '[', '{', or a literal"},
      {{"--compare", "v2.json"},
       "v2.json is not a Velmora report: at /schema: \"velmora-report/2\", this program reads "
       "\"velmora-report/1\""},
      {{"--compare", "nosource.json"},
       "nosource.json is not a Velmora report: at /lists/0/entries/0/source: missing"},
      {{"--compare", "array.json"},
       "array.json is not a Velmora report: at /: should be an object, is array"},
      {{"--output", "C:\\No folder\\r.txt"},
       "cannot write C:\\No folder\\r.txt: The system cannot find the path specified."},
      {{"--json"}, "cannot write to standard output"},
  };
  for (const auto& use : cases) {
    SCOPED_TRACE(use.line);
    platform::FakePlatform fake;
    RecordingIo io;
    io.files = {{"torn.json", "{\"schema\": "},
                {"v2.json", R"({"schema": "velmora-report/2"})"},
                {"nosource.json", report},
                {"array.json", "[]"}};
    io.refuseOutput = use.args == std::vector<std::string>{"--json"};
    EXPECT_EQ(console::Run(fake.Services(), io, use.args), console::kExitFailed);
    EXPECT_EQ(io.errors, "VelmoraReport: " + std::string(use.line) + "\n");
    EXPECT_EQ(io.bytes, "");
    EXPECT_EQ(fake.files.FileAttributes("C:\\No folder\\r.txt"), platform::kInvalidFileAttributes);
  }
  for (const char* help : {"--help", "/?"}) {
    RecordingIo io;
    platform::FakePlatform fake;
    EXPECT_EQ(console::Run(fake.Services(), io, {help}), console::kExitWritten);
    EXPECT_EQ(io.bytes.rfind("Velmora 1.0.24", 0), 0u);
    EXPECT_EQ(io.errors, "");
  }
}

}  // namespace
}  // namespace velmora
