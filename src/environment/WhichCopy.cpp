#include "environment/WhichCopy.h"

#include <algorithm>
#include <map>
#include <tuple>

#include "text/Text.h"

namespace velmora::environment {
namespace {

// One program file found, where its name puts it in the search.
struct Candidate {
  std::size_t listing = 0;    // index into the listings
  std::size_t extension = 0;  // its extension's place in PATHEXT
  const platform::FolderFile* file = nullptr;
};

std::string PathOf(const std::string& folder, const std::string& name) {
  const bool closed = folder.ends_with('\\') || folder.ends_with('/');
  return folder + (closed ? "" : "\\") + name;
}

// Every program name (upper-cased, without its extension) and the files that
// answer to it, in the order a command prompt tries them.
std::map<std::string, std::vector<Candidate>> CandidatesByName(
    const std::vector<ProgramListing>& listings, const std::vector<std::string>& extensions) {
  std::map<std::string, std::vector<Candidate>> byName;
  for (std::size_t listing = 0; listing < listings.size(); ++listing) {
    for (const platform::FolderFile& file : listings[listing].files) {
      const std::size_t dot = file.name.rfind('.');
      if (dot == std::string::npos || dot == 0) continue;
      const std::string extension = text::UpperCase(std::string_view(file.name).substr(dot));
      const auto known = std::find(extensions.begin(), extensions.end(), extension);
      if (known == extensions.end()) continue;
      byName[text::UpperCase(std::string_view(file.name).substr(0, dot))].push_back(
          {listing, static_cast<std::size_t>(known - extensions.begin()), &file});
    }
  }
  for (auto& [name, candidates] : byName) {
    std::stable_sort(candidates.begin(), candidates.end(), [](const auto& a, const auto& b) {
      return std::tie(a.listing, a.extension) < std::tie(b.listing, b.extension);
    });
  }
  return byName;
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
  for (const auto& [name, candidates] : CandidatesByName(listings, extensions)) {
    const Candidate& first = candidates.front();
    const ProgramListing& winner = listings[first.listing];
    const ProgramCopy runs{first.file->name, first.file->executionAlias};
    RunsFirst over{runs, {}};
    for (auto other = candidates.begin() + 1; other != candidates.end(); ++other) {
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
