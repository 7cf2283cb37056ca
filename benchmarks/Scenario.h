// The environments the timings run on: a typical machine, the same with the
// longest PATH a process holds as entries, and the largest environment
// Windows allows.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "report/ReportBuilder.h"

namespace velmora::benchmarks {

struct StoredValue {
  std::string name;
  std::string text;
  bool expandable = false;
};

struct Scenario {
  const char* name;
  std::string effectivePath;
  std::vector<StoredValue> userValues;    // HKCU\Environment
  std::vector<StoredValue> systemValues;  // the machine's environment key
  std::vector<std::pair<std::string, std::string>> processVariables;  // besides PATH
};

// A search list of `count` folders, or of as many as fit in `length` characters.
inline std::string FolderList(const std::string& stem, std::size_t count, std::size_t length) {
  std::string list;
  for (std::size_t i = 0; i < count; ++i) {
    std::string entry = stem + std::to_string(i) + "\\bin";
    if (length != 0 && list.size() + entry.size() + 1 > length) break;
    if (!list.empty()) list += ';';
    list += entry;
  }
  if (length != 0) list.resize(length, 'x');
  return list;
}

// `count` values, the first ones the report looks up, the rest filler.
inline std::vector<StoredValue> Key(std::size_t count, const std::string& path,
                                    const std::string& classPath) {
  std::vector<StoredValue> values = {{"Path", path, false},
                                     {"CLASSPATH", classPath, false},
                                     {"CORVANE_HOME", "C:\\Corvane", false},
                                     {"MORDALEPATH", "C:\\Corvane\\Mordale", false},
                                     {"TEMP", "%USERPROFILE%\\AppData\\Local\\Temp", true}};
  for (std::size_t i = values.size(); i < count; ++i) {
    values.push_back(
        {"VAR_" + std::to_string(i), "C:\\Value\\Number\\" + std::to_string(i), i % 4 == 0});
  }
  return values;
}

// Eight PATH entries, three of them the user's; the keys as a workstation
// holds them.
inline Scenario Typical() {
  const std::string userPath =
      "C:\\Users\\jdoe\\AppData\\Local\\Microsoft\\WindowsApps;"
      "C:\\Users\\jdoe\\Tools\\bin;C:\\Users\\jdoe\\.dotnet\\tools";
  const std::string systemPath =
      "C:\\Windows\\system32;C:\\Windows;C:\\Windows\\System32\\Wbem;"
      "C:\\Windows\\System32\\WindowsPowerShell\\v1.0\\;C:\\Corvane\\Mordale\\bin";
  Scenario s{"typical (8 PATH entries)",
             systemPath + ";" + userPath,
             Key(6, userPath, "C:\\Users\\jdoe\\lib\\a.jar"),
             Key(20, systemPath, ".;C:\\lib\\b.jar"),
             {}};
  s.processVariables = {{"CLASSPATH", ".;C:\\lib\\b.jar;C:\\Users\\jdoe\\lib\\a.jar"},
                        {"CORVANE_HOME", "C:\\Corvane"},
                        {"MORDALEPATH", "C:\\Corvane\\Mordale"},
                        {"QUVPATH", "C:\\Corvane\\Quv"},
                        {"OMRA_DOMAINS_FILE", "C:\\Corvane\\domains.xml"}};
  return s;
}

// The typical machine with a PATH of 2,900 entries, about as many as the
// 32,767 characters of a process variable hold.
inline Scenario LongPath() {
  Scenario s = Typical();
  s.name = "2,900 PATH entries";
  s.effectivePath.clear();
  for (int i = 0; i < 2900; ++i)
    s.effectivePath += (i == 0 ? "C:\\Bin" : ";C:\\Bin") + std::to_string(i);
  return s;
}

// A process variable holds at most 32,767 characters with its terminator; a
// registry value has no such limit.
inline Scenario Largest() {
  const std::string userPath = FolderList("C:\\Users\\jdoe\\T", 100000, 32767);
  Scenario s{"largest (keys of 500 values, PATH of 32,766 characters)",
             FolderList("C:\\P", 100000, 32766),
             Key(500, userPath, std::string(32767, 'c')),
             Key(500, FolderList("C:\\W", 100000, 32767), std::string(32767, 's')),
             {}};
  s.processVariables = {{"CLASSPATH", std::string(32766, 'e')}};
  for (const char* product : report::kProductVariables) {
    s.processVariables.emplace_back(product, std::string("C:\\Corvane\\") + product);
  }
  s.processVariables.emplace_back(report::kDomainsFile,
                                  std::string("C:\\Corvane\\") + report::kDomainsFile);
  return s;
}

}  // namespace velmora::benchmarks
