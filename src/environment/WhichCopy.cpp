#include "environment/WhichCopy.h"

#include <algorithm>
#include <tuple>

#include "text/Text.h"

namespace velmora::environment {
namespace {

// One program file found, where its name puts it in the search.
struct Candidate {
  std::string name;           // upper-cased, without its extension
  std::size_t listing = 0;    // index into the listings
  std::size_t extension = 0;  // its extension's place in PATHEXT
  std::size_t found = 0;      // counts the files in the order the listings hold them
  const platform::FolderFile* file = nullptr;
};

std::string PathOf(const std::string& folder, const std::string& name) {
  const bool closed = folder.ends_with('\\') || folder.ends_with('/');
  return folder + (closed ? "" : "\\") + name;
}

// Every program file, and the same sorted by name and, under one name, in
// the order a command prompt tries them. A flat sorted list rather than a map
// of lists: a folder holds thousands of programs, nearly every name only once.
struct Candidates {
  std::vector<Candidate> found;
  std::vector<const Candidate*> byName;
};

Candidates CandidatesByName(const std::vector<ProgramListing>& listings,
                            const std::vector<std::string>& extensions) {
  Candidates candidates;
  std::size_t files = 0;
  for (const ProgramListing& listing : listings) files += listing.files.size();
  candidates.found.reserve(files);
  for (std::size_t listing = 0; listing < listings.size(); ++listing) {
    for (const platform::FolderFile& file : listings[listing].files) {
      const std::size_t dot = file.name.rfind('.');
      if (dot == std::string::npos || dot == 0) continue;
      const std::string extension = text::UpperCase(std::string_view(file.name).substr(dot));
      const auto known = std::find(extensions.begin(), extensions.end(), extension);
      if (known == extensions.end()) continue;
      candidates.found.push_back({text::UpperCase(std::string_view(file.name).substr(0, dot)),
                                  listing, static_cast<std::size_t>(known - extensions.begin()),
                                  candidates.found.size(), &file});
    }
  }
  candidates.byName.reserve(candidates.found.size());
  for (const Candidate& candidate : candidates.found) candidates.byName.push_back(&candidate);
  std::sort(candidates.byName.begin(), candidates.byName.end(),
            [](const Candidate* a, const Candidate* b) {
              return std::tie(a->name, a->listing, a->extension, a->found) <
                     std::tie(b->name, b->listing, b->extension, b->found);
            });
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
  const auto& byName = candidates.byName;
  for (auto group = byName.begin(); group != byName.end();) {
    const auto end = std::find_if(group + 1, byName.end(), [&](const Candidate* next) {
      return next->name != (*group)->name;
    });
    if (end - group == 1) {  // a name only one entry holds
      group = end;
      continue;
    }
    const Candidate& first = **group;
    const ProgramListing& winner = listings[first.listing];
    const ProgramCopy runs{first.file->name, first.file->executionAlias};
    RunsFirst over{runs, {}};
    for (auto next = group + 1; next != end; ++next) {
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
    group = end;
  }
  for (WhichCopy& result : results) {
    std::sort(result.neverRun.begin(), result.neverRun.end(), [](const auto& a, const auto& b) {
      return std::tie(a.byEntry, a.copy.file) < std::tie(b.byEntry, b.copy.file);
    });
  }
  return results;
}

}  // namespace velmora::environment
