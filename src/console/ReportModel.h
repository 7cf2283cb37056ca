// The environment report as values: what the text report holds, and for every
// entry of the effective search lists its source and its marks. The JSON form
// is written from it and read back into it, and two of them are compared.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "environment/Registry.h"
#include "platform/Platform.h"

namespace velmora::console {

enum class Source { kUser, kSystem };

// One mark of an entry: its name ("notFound", "repeated", "empty",
// "neverRuns", "neverExpanded", "unbalancedQuote"), the reason in words, and
// for a repeat the earlier entry, counted from 1.
struct Mark {
  std::string mark;
  std::string reason;
  std::size_t sameAs = 0;
  bool operator==(const Mark&) const = default;
};

// A program file of a PATH entry that another entry's copy of the same name
// keeps from running, or that runs while later entries hold other copies.
struct Program {
  std::string file;
  bool executionAlias = false;
  std::size_t byEntry = 0;  // the entry whose copy runs instead, from 1; 0 when this one runs
  std::string by;           // that copy's file name
  std::vector<std::size_t> overEntries;  // when it runs: the entries whose copies never do
  bool operator==(const Program&) const = default;
};

struct Entry {
  std::string text;
  Source source = Source::kSystem;
  std::vector<Mark> marks;        // in the order the window ranks them, the shown one first
  std::vector<Program> programs;  // PATH only: the entry's conflicting programs
  bool operator==(const Entry&) const = default;
};

// PATH or CLASSPATH: the process's value split into entries, and the values
// stored for the machine and for the user.
struct SearchListReport {
  std::string name;
  std::string effective;
  std::vector<Entry> entries;
  std::string system;
  std::string user;
  bool operator==(const SearchListReport&) const = default;
};

// A Corvane product variable. An unset one has the empty value, and neither
// source nor existence mean anything for it.
struct Product {
  std::string name;
  bool namesFile = false;  // OMRA_DOMAINS_FILE; the others name folders
  std::string value;
  Source source = Source::kSystem;
  bool exists = false;
  bool operator==(const Product&) const = default;
};

struct Report {
  std::string title;
  std::string version;
  std::string machine;
  std::string user;
  std::string date;                     // "YYYY-MM-DD HH:MM:SS", as the text report's header
  std::vector<SearchListReport> lists;  // PATH, then CLASSPATH
  std::vector<Product> products;        // in the text report's order
  bool mordaleDatabase = false;
  std::optional<bool> mordaleBinInPath;  // asked only when the database is there
  bool operator==(const Report&) const = default;
};

// The report of this machine, from the user's and the machine's environment
// keys as read once for it. Every entry's existence is tested here, on the
// caller's thread.
[[nodiscard]] Report GatherReport(const platform::Platform& os,
                                  const environment::VariableDictionary& userValues,
                                  const environment::VariableDictionary& systemValues);

}  // namespace velmora::console
