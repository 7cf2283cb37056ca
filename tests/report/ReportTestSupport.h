// The report's worked example, prepared on any binding.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "environment/Lookups.h"
#include "platform/FakePlatform.h"
#include "report/ReportBuilder.h"
#include "support/TestPlatform.h"

namespace velmora::report_testing {

// Who runs the worked example, and the folder its Corvane products lie in.
struct Names {
  std::string machine;
  std::string user;
  std::string corvane;  // a folder name, made where the binding makes folders
};

// The worked example's own names; on the double its folder is C:\Corvane.
inline const Names kWorkedNames{"BUILD07", "jdoe", "Corvane"};

inline void SetStored(testing_support::TestPlatform& test, platform::KeyHandle root,
                      std::string_view name, std::string_view text,
                      std::uint32_t type = platform::kRegSz) {
  test.SetString(root,
                 root == platform::kCurrentUser ? environment::kUserEnvironmentKey
                                                : environment::kSystemEnvironmentKey,
                 name, text, type);
}

// The machine, user, environment, registry and files of the worked example;
// the Corvane folder's path, or nothing when the binding cannot be told who
// and where it runs. Its clock is the double's, 7 March 2011 14:05:09.
inline std::optional<std::string> PrepareWorkedExample(testing_support::TestPlatform& test,
                                                       const Names& names = kWorkedNames) {
  if (!test.SetMachineName(names.machine) || !test.SetUserName(names.user)) return std::nullopt;
  const std::string corvane = test.MakeFolder(names.corvane);
  (void)test.MakeFile(names.corvane + "\\Mordale\\bin\\mordale.mdb", "");
  test.SetVariable(
      "PATH", "C:\\Windows\\system32;C:\\Windows;" + corvane + "\\Mordale\\bin;C:\\Tools\\bin");
  test.UnsetVariable("CLASSPATH");
  test.UnsetVariable(report::kDomainsFile);
  for (const char* name : report::kProductVariables) test.UnsetVariable(name);
  test.SetVariable("CORVANE_HOME", corvane);
  test.SetVariable("MORDALEPATH", corvane + "\\Mordale");
  SetStored(test, platform::kLocalMachine, "Path",
            "%SystemRoot%\\system32;%SystemRoot%;" + corvane + "\\Mordale\\bin",
            platform::kRegExpandSz);
  SetStored(test, platform::kLocalMachine, "CORVANE_HOME", corvane);
  SetStored(test, platform::kCurrentUser, "PATH", "C:\\Tools\\bin");
  SetStored(test, platform::kCurrentUser, "MORDALEPATH", corvane + "\\Mordale");
  return corvane;
}

// The worked example on the double, for a test to change.
struct WorkedDouble {
  WorkedDouble() { (void)PrepareWorkedExample(*test); }

  std::unique_ptr<testing_support::TestPlatform> test =
      testing_support::MakeTestPlatform(testing_support::Binding::kFake);
  platform::FakePlatform& fake = *test->Double();
};

// The worked example's report, line by line.
inline const char* const kWorkedExample[] = {
    "****************************************",
    "* Path Report by Velmora version 1.0.24*",
    "* Written for Corvane product support  *",
    "*                                      *",
    "* Machine name: BUILD07                *",
    "* User: jdoe                           *",
    "* Date: 2011-03-07 14:05:09            *",
    "****************************************",
    "",
    "PATH",
    "Effective path: C:\\Windows\\system32;C:\\Windows;C:\\Corvane\\Mordale\\bin;C:\\Tools\\bin",
    "",
    "     SYS C:\\Windows\\system32",
    "     SYS C:\\Windows",
    "     SYS C:\\Corvane\\Mordale\\bin",
    "     USR C:\\Tools\\bin",
    "",
    "System PATH variable:",
    "     %SystemRoot%\\system32",
    "     %SystemRoot%",
    "     C:\\Corvane\\Mordale\\bin",
    "",
    "User PATH variable for jdoe:",
    "     C:\\Tools\\bin",
    "",
    "Effective ClassPath: ",
    "",
    "System CLASSPATH variable:",
    "",
    "User CLASSPATH variable for jdoe:",
    "",
    "MISC CORVANE PRODUCT VARIABLES",
    "     SYS CORVANE_HOME: C:\\Corvane\t (Folder exists)",
    "         TILBURPATH: ",
    "     USR MORDALEPATH: C:\\Corvane\\Mordale\t (Folder exists)",
    "         MORDALERTC: ",
    "         QUVPATH: ",
    "         DRXCONNECTORPATH: ",
    "         KWTCONNECTORPATH: ",
    "         COMMON LIBRARIES: ",
    "         ZENTARO_HOME: ",
    "         PUX_HOME: ",
    "         GOB_HOME: ",
    "         YEL_JAVA_HOME: ",
    "         OMRA_DOMAINS_FILE: ",
    "    %MordalePath%\\bin\\mordale.mdb exists",
    "         %MordalePath%\\bin is in PATH",
};

// The worked example's report text, for other names of the same lengths in
// characters (the frame around them stays) and the Corvane folder's path.
inline std::string WorkedExampleText(const Names& names = kWorkedNames,
                                     const std::string& corvane = "C:\\Corvane") {
  std::string text;
  for (std::string line : kWorkedExample) {
    for (const auto& [from, to] : {std::pair<std::string, std::string>{"BUILD07", names.machine},
                                   {"jdoe", names.user},
                                   {"C:\\Corvane", corvane}}) {
      if (const std::size_t at = line.find(from); at != std::string::npos) {
        line.replace(at, from.size(), to);
      }
    }
    text += line + "\r\n";
  }
  return text;
}

}  // namespace velmora::report_testing
