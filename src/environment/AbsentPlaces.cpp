#include "environment/AbsentPlaces.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <memory>
#include <string_view>
#include <unordered_set>

#include "text/Text.h"

namespace velmora::environment {
namespace {

bool IsAsciiLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Device names, which the platform answers for in any folder: CON, NUL,
// COM1, "nul.txt" and the like.
bool IsDeviceName(std::string_view name) {
  name = name.substr(0, name.find('.'));
  while (name.ends_with(' ')) name.remove_suffix(1);
  static constexpr std::array<std::string_view, 6> kWhole = {"CON", "PRN",    "AUX",
                                                             "NUL", "CONIN$", "CONOUT$"};
  if (std::any_of(kWhole.begin(), kWhole.end(),
                  [&](std::string_view device) { return text::EqualsNoCase(name, device); })) {
    return true;
  }
  // COM and LPT with any one character after them, a superscript digit included.
  const std::string_view stem = name.substr(0, 3);
  return (text::EqualsNoCase(stem, "COM") || text::EqualsNoCase(stem, "LPT")) && name.size() > 3 &&
         name.size() <= 5;
}

// A name the platform looks up as written: no characters it refuses or reads
// as a pattern or a stream, no "." or "..", no closing dot or space (which it
// drops), no device name.
bool LooksUpAsWritten(std::string_view name) {
  if (name.empty() || name.ends_with('.') || name.ends_with(' ')) return false;
  const bool plain = std::none_of(name.begin(), name.end(), [](char c) {
    return static_cast<unsigned char>(c) < 0x20 || std::strchr("<>:\"/|?*", c) != nullptr;
  });
  return plain && !IsDeviceName(name);
}

// The folders of a path on a drive, below its root: "C:\A\b" gives "A", "b".
// Nothing for any other path or one with a name not looked up as written.
std::vector<std::string_view> Steps(std::string_view place) {
  if (place.size() < 4 || !IsAsciiLetter(place[0]) || place[1] != ':' || place[2] != '\\') {
    return {};
  }
  std::string_view rest = place.substr(3);
  if (rest.ends_with('\\')) rest.remove_suffix(1);  // "C:\A\" is the folder "C:\A"
  if (rest.empty()) return {};
  std::vector<std::string_view> steps;
  for (;;) {
    const std::size_t cut = rest.find('\\');
    const std::string_view name = rest.substr(0, cut);
    if (!LooksUpAsWritten(name)) return {};
    steps.push_back(name);
    if (cut == std::string_view::npos) break;
    rest.remove_prefix(cut + 1);
  }
  return steps;
}

bool IsAscii(std::string_view name) {
  return std::all_of(name.begin(), name.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Whether the file system could take one name for the other. Its case rules
// are its own (a table of the volume, or the platform's): ASCII letters are
// compared case-blind, any other character is taken to match anything in its
// place, so a name is never wrongly called absent.
bool MayBeSameName(std::u16string_view asked, std::u16string_view held) {
  if (asked.size() != held.size()) return false;
  for (std::size_t at = 0; at < asked.size(); ++at) {
    char16_t a = asked[at];
    char16_t h = held[at];
    if (a >= 0x80 || h >= 0x80) continue;
    if (a >= u'a' && a <= u'z') a = static_cast<char16_t>(a - u'a' + u'A');
    if (h >= u'a' && h <= u'z') h = static_cast<char16_t>(h - u'a' + u'A');
    if (a != h) return false;
  }
  return true;
}

// A folder's names, ready for many questions.
class Listing {
 public:
  explicit Listing(const std::vector<std::string>& names) : names_(names) {
    for (const std::string& name : names) {
      if (IsAscii(name)) {
        ascii_.insert(text::UpperCase(name));
      } else {
        other_.push_back(text::Utf8ToUtf16(name));
      }
    }
  }

  [[nodiscard]] bool MayHold(std::string_view name) const {
    const bool ascii = IsAscii(name);
    if (ascii && ascii_.contains(text::UpperCase(name))) return true;
    if (ascii && other_.empty()) return false;
    const std::u16string asked = text::Utf8ToUtf16(name);
    const auto mayBe = [&](const std::u16string& held) { return MayBeSameName(asked, held); };
    if (std::any_of(other_.begin(), other_.end(), mayBe)) return true;
    if (ascii) return false;
    return std::any_of(names_.begin(), names_.end(), [&](const std::string& held) {
      return IsAscii(held) && mayBe(text::Utf8ToUtf16(held));
    });
  }

 private:
  const std::vector<std::string>& names_;
  std::unordered_set<std::string> ascii_;  // upper-cased
  std::vector<std::u16string> other_;      // names with other characters
};

// The places as a tree of folders; each node the places that end there.
struct Node {
  std::map<std::string_view, std::unique_ptr<Node>> below;
  std::vector<std::size_t> endingHere;
  std::size_t placesBelow = 0;  // in this node and under it
};

void MarkAll(const Node& node, std::vector<bool>& absent) {
  for (const std::size_t place : node.endingHere) absent[place] = true;
  for (const auto& [name, child] : node.below) MarkAll(*child, absent);
}

void Visit(platform::FileSystemApi& files, const std::string& folder, const Node& node,
           std::vector<bool>& absent) {
  if (node.placesBelow < kListingPays) return;
  std::optional<std::vector<std::string>> names;
  try {
    names = files.ListNames(folder);
  } catch (...) {
    names.reset();
  }
  if (!names) {
    for (const auto& [name, child] : node.below) {
      Visit(files, folder + std::string(name) + "\\", *child, absent);
    }
    return;
  }
  const Listing listing(*names);
  for (const auto& [name, child] : node.below) {
    if (listing.MayHold(name)) {
      Visit(files, folder + std::string(name) + "\\", *child, absent);
    } else {
      MarkAll(*child, absent);
    }
  }
}

}  // namespace

std::vector<bool> CertainlyAbsent(platform::FileSystemApi& files,
                                  const std::vector<std::string>& places) {
  std::vector<bool> absent(places.size(), false);
  if (places.size() < kListingPays) return absent;
  // One tree per drive, by the drive's letter as written.
  std::map<std::string_view, Node> drives;
  for (std::size_t index = 0; index < places.size(); ++index) {
    const std::vector<std::string_view> steps = Steps(places[index]);
    if (steps.empty()) continue;
    Node* node = &drives[std::string_view(places[index]).substr(0, 3)];
    ++node->placesBelow;
    for (const std::string_view step : steps) {
      auto& child = node->below[step];
      if (!child) child = std::make_unique<Node>();
      node = child.get();
      ++node->placesBelow;
    }
    node->endingHere.push_back(index);
  }
  for (const auto& [root, node] : drives) Visit(files, std::string(root), node, absent);
  return absent;
}

}  // namespace velmora::environment
