#include "report/ReportBuilder.h"

#include <array>
#include <cstdio>
#include <new>
#include <exception>
#include <string>
#include <vector>

#include "environment/AppInfo.h"
#include "environment/ErrorReport.h"
#include "environment/Identity.h"
#include "environment/Lookups.h"
#include "text/Text.h"
#include "platform/Failure.h"
#include "report/ExistenceNotes.h"
#include "report/ReportFile.h"

namespace velmora::report {
namespace {

constexpr std::int32_t kFrameWidth = 40;
constexpr const char* kStarRow = "****************************************";
constexpr const char* kCreditLine = "* Written for Corvane product support";
constexpr const char* kEntryIndent = "     ";     // 5
constexpr const char* kNoteIndent = "         ";  // 9
constexpr const char* kUserTag = "USR ";
constexpr const char* kSystemTag = "SYS ";

std::size_t CharacterCount(std::string_view text) {
  std::size_t count = 0;
  for (const char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  }
  return count;
}

class ReportWriter {
 public:
  ReportWriter(const platform::Platform& os, const environment::VariableDictionary& userValues,
               const environment::VariableDictionary& systemValues)
      : os_(os), user_(userValues), system_(systemValues) {}

  std::string Build() {
    const environment::ListMembers userPath(environment::GetUserVariable(user_, "PATH"));
    const std::string user = environment::GetCurrentUserName(os_);
    Header(user);
    PathSection(userPath, user);
    ClassPathSection(user);
    Line("MISC CORVANE PRODUCT VARIABLES");
    for (const char* name : kProductVariables) ProductLine(name, &FolderNote);
    ProductLine(kDomainsFile, &FileNote);
    MordaleChecks();
    return std::move(text_);
  }

 private:
  using Note = std::string (*)(const platform::Platform&, const std::string&);

  void Line(std::string_view line) {
    text_ += line;
    text_ += "\r\n";
  }

  std::string Effective(const std::string& name) {
    return os_.environment.Variable(name).value_or(std::string());
  }

  void Header(const std::string& user) {
    Line(kStarRow);
    Line(StarLine("* Path Report by " + std::string(environment::kTitle) + " version " +
                      environment::VersionText(),
                  kFrameWidth));
    Line(StarLine(kCreditLine, kFrameWidth));
    Line(StarLine("*", kFrameWidth));
    Line(StarLine("* Machine name: " + environment::GetMachineName(os_), kFrameWidth));
    Line(StarLine("* User: " + user, kFrameWidth));
    Line(StarLine("* Date: " + HeaderDate(os_.clock.Now()), kFrameWidth));
    Line(kStarRow);
    Line("");
  }

  void PathSection(const environment::ListMembers& userEntries, const std::string& user) {
    const std::string path = Effective("PATH");
    Line("PATH");
    Line("Effective path: " + path);
    Line("");
    for (const std::string_view entry : text::SplitSearchList(path)) {
      Line(kEntryIndent + std::string(userEntries.Contains(entry) ? kUserTag : kSystemTag) +
           std::string(entry));
    }
    Line("");
    StoredEntries("System PATH variable:", ReadSystemEnvironment(system_, "PATH"));
    StoredEntries("User PATH variable for " + user + ":", ReadUserEnvironment(user_, "PATH"));
  }

  void ClassPathSection(const std::string& user) {
    Line("Effective ClassPath: " + Effective("CLASSPATH"));
    Line("");
    StoredEntries("System CLASSPATH variable:", ReadSystemEnvironment(system_, "CLASSPATH"));
    StoredEntries("User CLASSPATH variable for " + user + ":",
                  ReadUserEnvironment(user_, "CLASSPATH"));
  }

  // A heading, the stored value's entries, and a blank line.
  void StoredEntries(const std::string& heading, const std::string& value) {
    Line(heading);
    for (const std::string_view entry : text::SplitSearchList(value)) {
      Line(kEntryIndent + std::string(entry));
    }
    Line("");
  }

  void ProductLine(const std::string& name, Note note) {
    const std::string value = Effective(name);
    if (value.empty()) {
      Line(kNoteIndent + name + ": ");
      return;
    }
    const bool isUser = IsUsersValue(user_, name, value);
    Line(kEntryIndent + std::string(isUser ? kUserTag : kSystemTag) + name + ": " + value + "\t" +
         note(os_, value));
  }

  void MordaleChecks() {
    const MordaleCheck check = CheckMordale(os_, Effective("MORDALEPATH"), Effective("PATH"));
    if (!check.databaseExists) {
      Line(kNoteIndent + std::string("%MordalePath%\\bin\\mordale.mdb not found!"));
      return;
    }
    Line("    %MordalePath%\\bin\\mordale.mdb exists");
    Line(kNoteIndent + std::string(check.binInPath ? "%MordalePath%\\bin is in PATH"
                                                   : "%MordalePath%\\bin is not in PATH!"));
  }

  const platform::Platform& os_;
  const environment::VariableDictionary& user_;
  const environment::VariableDictionary& system_;
  std::string text_;
};

}  // namespace

bool IsUsersValue(const environment::VariableDictionary& userValues, const std::string& name,
                  const std::string& value) {
  // The user's when the value is the user's variable written out whole, raw
  // and expanded text joined by ";" as one list, the value's own closing
  // ";" standing for the expanded text: for a plain value (nothing
  // expanded), the user's text seen unchanged by the process.
  const auto own = environment::GetUserVariable(userValues, name);
  return own && text::EqualsNoCase(value + ";", own->raw + ";" + own->expanded);
}

MordaleCheck CheckMordale(const platform::Platform& os, const std::string& mordalePath,
                          const std::string& path) {
  MordaleCheck check;
  check.databaseExists = !mordalePath.empty() && FileExists(os, mordalePath + "\\bin\\mordale.mdb");
  if (!check.databaseExists) return check;
  const std::string bin = mordalePath + "\\bin";
  const environment::ListMembers entries(path);
  check.binInPath = entries.Contains(bin) || entries.Contains(bin + "\\");
  return check;
}

std::string HeaderDate(const platform::LocalTime& t) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return text;
}

std::string StarLine(std::string_view text, std::int32_t width) {
  const std::size_t length = CharacterCount(text);
  if (width <= 0 || length >= static_cast<std::size_t>(width)) return std::string(text);
  return std::string(text) + std::string(static_cast<std::size_t>(width) - length - 1, ' ') + "*";
}

std::string ReportText(const platform::Platform& os) {
  const environment::VariableDictionary userValues = environment::ReadUserValues(os);
  return ReportText(os, userValues, environment::ReadSystemValues(os));
}

std::string ReportText(const platform::Platform& os,
                       const environment::VariableDictionary& userValues,
                       const environment::VariableDictionary& systemValues) {
  return ReportWriter(os, userValues, systemValues).Build();
}

bool doReport(const platform::Platform& os, const std::string& path) {
  return environment::Trapped(os, "modReport", "doReport", [&] {
    // Each key is read once, and only for this report: every lookup of the
    // report is answered from these two.
    const environment::VariableDictionary userValues = environment::ReadUserValues(os);
    const environment::VariableDictionary systemValues = environment::ReadSystemValues(os);
    WriteWholeFile(os.files, path, EncodeReport(ReportText(os, userValues, systemValues)));
  });
}

}  // namespace velmora::report
