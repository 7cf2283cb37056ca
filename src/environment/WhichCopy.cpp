#include "environment/WhichCopy.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <string_view>
#include <tuple>

#include "text/Text.h"

namespace velmora::environment {
namespace {

// One program file found, where its name puts it in the search.
struct Candidate {
  std::string name;           // upper-cased, without its extension
  std::size_t hash = 0;       // of name
  std::size_t listing = 0;    // index into the listings
  std::size_t extension = 0;  // its extension's place in PATHEXT
  std::size_t found = 0;      // counts the files in the order the listings hold them
  const platform::FolderFile* file = nullptr;
};

std::string PathOf(const std::string& folder, const std::string& name) {
  const bool closed = folder.ends_with('\\') || folder.ends_with('/');
  return folder + (closed ? "" : "\\") + name;
}

// Every program file, and the names more than one file holds: for each, its
// files in the order a command prompt tries them. A flat list sorted by the
// names' hashes rather than a map of lists: a folder holds thousands of
// programs, nearly every name only once, and comparing hashes spares
// comparing the names.
struct Candidates {
  std::vector<Candidate> found;
  std::vector<std::vector<const Candidate*>> shared;  // sorted by name
};

// The place in PATHEXT of a file's extension. Every file of a folder is
// looked up, and nearly every extension is as long as PATHEXT's: compared
// letter by letter here, as a call to compare each would cost more.
std::optional<std::size_t> ExtensionOf(std::string_view name,
                                       const std::vector<std::string>& extensions) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot == 0) return std::nullopt;
  const std::string extension = text::UpperCase(name.substr(dot));
  for (std::size_t at = 0; at < extensions.size(); ++at) {
    const std::string& known = extensions[at];
    if (known.size() != extension.size()) continue;
    std::size_t same = 0;
    while (same < known.size() && known[same] == extension[same]) ++same;
    if (same == known.size()) return at;
  }
  return std::nullopt;
}

Candidates CandidatesByName(const std::vector<ProgramListing>& listings,
                            const std::vector<std::string>& extensions) {
  Candidates candidates;
  std::size_t files = 0;
  for (const ProgramListing& listing : listings) files += listing.files.size();
  candidates.found.reserve(files);
  for (std::size_t listing = 0; listing < listings.size(); ++listing) {
    for (const platform::FolderFile& file : listings[listing].files) {
      const std::optional<std::size_t> extension = ExtensionOf(file.name, extensions);
      if (!extension) continue;
      std::string name =
          text::UpperCase(std::string_view(file.name).substr(0, file.name.rfind('.')));
      const std::size_t hash = std::hash<std::string>{}(name);
      candidates.found.push_back(
          {std::move(name), hash, listing, *extension, candidates.found.size(), &file});
    }
  }
  std::vector<const Candidate*> byHash;
  byHash.reserve(candidates.found.size());
  for (const Candidate& candidate : candidates.found) byHash.push_back(&candidate);
  std::sort(byHash.begin(), byHash.end(), [](const Candidate* a, const Candidate* b) {
    return std::tie(a->hash, a->name, a->listing, a->extension, a->found) <
           std::tie(b->hash, b->name, b->listing, b->extension, b->found);
  });
  for (auto group = byHash.begin(); group != byHash.end();) {
    const auto end = std::find_if(group + 1, byHash.end(), [&](const Candidate* next) {
      return next->hash != (*group)->hash || next->name != (*group)->name;
    });
    if (end - group > 1) candidates.shared.emplace_back(group, end);
    group = end;
  }
  std::sort(candidates.shared.begin(), candidates.shared.end(),
            [](const auto& a, const auto& b) { return a.front()->name < b.front()->name; });
  return candidates;
}

}  // namespace

std::vector<std::string> ProgramExtensions(const std::optional<std::string>& pathext) {
  std::vector<std::string> extensions;
  const std::string value = pathext.value_or(std::string());
  for (const std::string_view piece : text::SplitSearchList(value)) {
    if (!piece.empty()) extensions.push_back(text::UpperCase(piece));
  }
  if (extensions.empty()) {
    for (const std::string_view piece : text::SplitSearchList(kDefaultProgramExtensions)) {
      extensions.emplace_back(piece);
    }
  }
  return extensions;
}

std::vector<WhichCopy> ResolveCopies(const std::vector<ProgramListing>& listings,
                                     const std::vector<std::string>& extensions,
                                     const SameBytesQuestion& sameBytes) {
  std::vector<WhichCopy> results(listings.size());
  const Candidates candidates = CandidatesByName(listings, extensions);
  for (const std::vector<const Candidate*>& group : candidates.shared) {
    const Candidate& first = *group.front();
    const ProgramListing& winner = listings[first.listing];
    const ProgramCopy runs{first.file->name, first.file->executionAlias};
    RunsFirst over{runs, {}};
    for (auto next = group.begin() + 1; next != group.end(); ++next) {
      const Candidate* other = *next;
      const ProgramListing& holder = listings[other->listing];
      const bool comparable = !first.file->executionAlias && !other->file->executionAlias &&
                              first.file->size == other->file->size;
      if (comparable && sameBytes(PathOf(winner.folder, first.file->name),
                                  PathOf(holder.folder, other->file->name))) {
        continue;  // the same program twice
      }
      results[other->listing].neverRun.push_back(
          {{other->file->name, other->file->executionAlias}, winner.entry, runs});
      if (holder.entry != winner.entry &&
          std::find(over.overEntries.begin(), over.overEntries.end(), holder.entry) ==
              over.overEntries.end()) {
        over.overEntries.push_back(holder.entry);
      }
    }
    if (!over.overEntries.empty()) results[first.listing].runsFirst.push_back(std::move(over));
  }
  for (WhichCopy& result : results) {
    std::sort(result.neverRun.begin(), result.neverRun.end(), [](const auto& a, const auto& b) {
      return std::tie(a.byEntry, a.copy.file) < std::tie(b.byEntry, b.copy.file);
    });
  }
  return results;
}

}  // namespace velmora::environment
