// Which copy of a program a command prompt runs when it is called by its name
// alone: PATH's folders in order and, inside one folder, PATHEXT's extensions
// in order; names compare without regard to letter case. A copy that never
// runs that way, because an earlier one comes first, is worth a mark; copies
// with the same size and the same bytes are one program and no conflict.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"

namespace velmora::environment {

// What a command prompt tries when PATHEXT is not set: the default its own
// help for START gives ("start /?" and Microsoft's reference for the start
// command: "The default value for the PATHEXT variable is .COM;.EXE;.BAT;.CMD").
inline constexpr std::string_view kDefaultProgramExtensions = ".COM;.EXE;.BAT;.CMD";

// PATHEXT's extensions, upper-cased, in order, empty pieces left out; the
// default when the variable is unset or holds none.
[[nodiscard]] std::vector<std::string> ProgramExtensions(const std::optional<std::string>& pathext);

// The files of one PATH entry's folder, as listed.
struct ProgramListing {
  std::size_t entry = 0;  // the entry's number, counted from 1
  std::string folder;
  std::vector<platform::FolderFile> files;
};

// One program file as an entry holds it.
struct ProgramCopy {
  std::string file;  // its name, as stored
  bool executionAlias = false;
  bool operator==(const ProgramCopy&) const = default;
};

// A program of an entry that never runs by its name: the copy `by` of entry
// `byEntry` comes first (byEntry is the entry itself when the copy beside it
// comes earlier in PATHEXT's order).
struct NeverRuns {
  ProgramCopy copy;
  std::size_t byEntry = 0;
  ProgramCopy by;
  bool operator==(const NeverRuns&) const = default;
};

// A program of an entry that runs, while later entries hold other copies.
struct RunsFirst {
  ProgramCopy copy;
  std::vector<std::size_t> overEntries;  // in order, each once
  bool operator==(const RunsFirst&) const = default;
};

// One entry's programs that conflict with another entry's, each list sorted
// (never-run ones by the entry that beats them, then by name).
struct WhichCopy {
  std::vector<NeverRuns> neverRun;
  std::vector<RunsFirst> runsFirst;
  bool operator==(const WhichCopy&) const = default;
};

// Whether the files at two full paths hold the same bytes; asked only of
// files of equal size, neither an execution alias.
using SameBytesQuestion = std::function<bool(const std::string&, const std::string&)>;

// Resolves every program name the listings hold (in PATH order) and answers,
// for each listing in turn, its conflicts.
[[nodiscard]] std::vector<WhichCopy> ResolveCopies(const std::vector<ProgramListing>& listings,
                                                   const std::vector<std::string>& extensions,
                                                   const SameBytesQuestion& sameBytes);

}  // namespace velmora::environment
