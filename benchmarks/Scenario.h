// The environments the report is timed on: a typical machine, and the largest
// environment Windows allows.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace benchmarks {

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
  std::vector<std::pair<std::string, std::string>> processVariables;
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

inline Scenario Typical() {
  const std::string userPath = FolderList("C:\\Users\\jdoe\\Tools", 8, 0);
  Scenario s{"typical (60 PATH entries, keys of 30 values)",
             FolderList("C:\\Program Files\\Vendor", 52, 0) + ";" + userPath,
             Key(30, userPath, "C:\\Users\\jdoe\\lib\\a.jar"),
             Key(30, FolderList("C:\\Windows\\System", 20, 0), ".;C:\\lib\\b.jar"),
             {}};
  s.processVariables = {{"CLASSPATH", ".;C:\\lib\\b.jar;C:\\Users\\jdoe\\lib\\a.jar"},
                        {"CORVANE_HOME", "C:\\Corvane"},
                        {"MORDALEPATH", "C:\\Corvane\\Mordale"},
                        {"QUVPATH", "C:\\Corvane\\Quv"},
                        {"OMRA_DOMAINS_FILE", "C:\\Corvane\\domains.xml"}};
  return s;
}

// A process variable holds at most 32,767 characters with its terminator; a
// registry value has no such limit.
inline Scenario Largest() {
  const std::string userPath = FolderList("C:\\Users\\jdoe\\T", 100000, 32767);
  Scenario s{"largest (PATH of 32,766 and user PATH of 32,767 characters, keys of 500 values)",
             FolderList("C:\\P", 100000, 32766),
             Key(500, userPath, std::string(32767, 'c')),
             Key(500, FolderList("C:\\W", 100000, 32767), std::string(32767, 's')),
             {}};
  s.processVariables = {{"CLASSPATH", std::string(32766, 'e')}};
  const char* products[] = {
      "CORVANE_HOME",     "TILBURPATH",       "MORDALEPATH",      "MORDALERTC",   "QUVPATH",
      "DRXCONNECTORPATH", "KWTCONNECTORPATH", "COMMON LIBRARIES", "ZENTARO_HOME", "PUX_HOME",
      "GOB_HOME",         "YEL_JAVA_HOME",    "OMRA_DOMAINS_FILE"};
  for (const char* product : products) {
    s.processVariables.emplace_back(product, std::string("C:\\Corvane\\") + product);
  }
  return s;
}

}  // namespace benchmarks
