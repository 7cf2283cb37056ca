// The report's worked example, prepared on the double.
#pragma once

#include <string>
#include <vector>

#include "environment/Lookups.h"
#include "platform/FakePlatform.h"
#include "support/TestPlatform.h"

namespace report_testing {

// A string value with its terminator in the user's or the machine's environment key.
inline void SetStored(platform::FakePlatform& fake, platform::KeyHandle root, std::string_view name,
                      std::string_view text, std::uint32_t type) {
  fake.registry.SetValue(root,
                         root == platform::kCurrentUser ? environment::kUserEnvironmentKey
                                                        : environment::kSystemEnvironmentKey,
                         name, type, testing_support::StringData(text));
}

inline void SetUser(platform::FakePlatform& fake, std::string_view name, std::string_view text,
                    std::uint32_t type = platform::kRegSz) {
  SetStored(fake, platform::kCurrentUser, name, text, type);
}

inline void SetSystem(platform::FakePlatform& fake, std::string_view name, std::string_view text,
                      std::uint32_t type = platform::kRegSz) {
  SetStored(fake, platform::kLocalMachine, name, text, type);
}

// Machine BUILD07, user jdoe, 7 March 2011 14:05:09, and the environment,
// registry, folders and files of the report's worked example.
inline void PrepareWorkedExample(platform::FakePlatform& fake) {
  fake.identity.computerName = "BUILD07";
  fake.identity.userName = "jdoe";
  fake.clock.now = {2011, 3, 7, 14, 5, 9};
  fake.environment.Set("PATH",
                       "C:\\Windows\\system32;C:\\Windows;C:\\Corvane\\Mordale\\bin;"
                       "C:\\Tools\\bin");
  fake.environment.Set("CORVANE_HOME", "C:\\Corvane");
  fake.environment.Set("MORDALEPATH", "C:\\Corvane\\Mordale");
  SetSystem(fake, "Path", "%SystemRoot%\\system32;%SystemRoot%;C:\\Corvane\\Mordale\\bin",
            platform::kRegExpandSz);
  SetSystem(fake, "CORVANE_HOME", "C:\\Corvane");
  SetUser(fake, "PATH", "C:\\Tools\\bin");
  SetUser(fake, "MORDALEPATH", "C:\\Corvane\\Mordale");
  fake.files.AddFolder("C:\\Corvane\\Mordale");
  fake.files.AddFile("C:\\Corvane\\Mordale\\bin\\mordale.mdb");
}

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

inline std::string WorkedExampleText() {
  std::string text;
  for (const char* line : kWorkedExample) text += std::string(line) + "\r\n";
  return text;
}

}  // namespace report_testing
