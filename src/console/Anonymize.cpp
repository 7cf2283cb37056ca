#include "console/Anonymize.h"

#include <algorithm>

#include "environment/Identity.h"
#include "text/Text.h"

namespace velmora::console {

Anonymizer Anonymizer::ForMachine(const platform::Platform& os) {
  const std::string profile = os.environment.Variable("USERPROFILE").value_or(std::string());
  const std::size_t cut = profile.find_last_of("\\/");
  return Anonymizer(environment::GetCurrentUserName(os), environment::GetMachineName(os),
                    cut == std::string::npos ? profile : profile.substr(cut + 1));
}

Anonymizer::Anonymizer(std::string_view user, std::string_view machine,
                       std::string_view profileFolder) {
  for (const auto& [name, placeholder] : {std::pair{user, kUserPlaceholder},
                                          {machine, kMachinePlaceholder},
                                          {profileFolder, kProfilePlaceholder}}) {
    std::string upper = text::UpperCase(name);
    const bool known = std::any_of(names_.begin(), names_.end(),
                                   [&](const Name& other) { return other.upper == upper; });
    if (!name.empty() && !known)
      names_.push_back({std::move(upper), std::string(name), placeholder});
  }
  // The longest first, so that a name holding another is replaced whole.
  std::stable_sort(names_.begin(), names_.end(),
                   [](const Name& a, const Name& b) { return a.upper.size() > b.upper.size(); });
}

std::string Anonymizer::Apply(std::string_view text) const {
  if (names_.empty()) return std::string(text);
  // Found in the upper-cased text, replaced at the same places in the text:
  // upper-casing keeps the length of every text the names can take, and
  // where it would not, the names are looked for as written.
  const std::string upper = text::UpperCase(text);
  const bool folded = upper.size() == text.size();
  const std::string_view haystack = folded ? std::string_view(upper) : text;
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const auto match = std::find_if(names_.begin(), names_.end(), [&](const Name& name) {
      const std::string& wanted = folded ? name.upper : name.written;
      return haystack.compare(at, wanted.size(), wanted) == 0;
    });
    if (match == names_.end()) {
      out += text[at++];
      continue;
    }
    out += match->placeholder;
    at += (folded ? match->upper : match->written).size();
  }
  return out;
}

void Anonymizer::Apply(Report& report) const {
  const auto replace = [this](std::string& text) { text = Apply(text); };
  replace(report.machine);
  replace(report.user);
  for (SearchListReport& list : report.lists) {
    replace(list.effective);
    replace(list.system);
    replace(list.user);
    for (Entry& entry : list.entries) replace(entry.text);
  }
  for (Product& product : report.products) replace(product.value);
}

}  // namespace velmora::console
