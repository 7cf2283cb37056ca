// Answering many existence questions at once. A PATH near the length limit
// holds thousands of entries, most of them often under a few folders; asking
// about each costs a round trip to the file system, while one listing of the
// folder that holds them tells which of them are certainly not there.
#pragma once

#include <string>
#include <vector>

#include "platform/Platform.h"

namespace velmora::environment {

// Which of places are certainly not there, found from listings of the folders
// above them. Only a folder with at least kListingPays of the places below it
// is listed, so a short list asks nothing. A place counts as not there only
// when its folder was listed and no name in it could be the one asked for;
// every other place (one that may be there, a network path, a relative path,
// a name the platform rewrites before it looks) is left to the existence test.
// Never throws.
[[nodiscard]] std::vector<bool> CertainlyAbsent(platform::FileSystemApi& files,
                                                const std::vector<std::string>& places);

inline constexpr std::size_t kListingPays = 32;

}  // namespace velmora::environment
