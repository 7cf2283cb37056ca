// Names a customer may not share, replaced by placeholders that stay the same
// from run to run.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "console/ReportModel.h"
#include "platform/Platform.h"

namespace velmora::console {

inline constexpr const char* kUserPlaceholder = "<user>";
inline constexpr const char* kMachinePlaceholder = "<machine>";
inline constexpr const char* kProfilePlaceholder = "<profile>";

class Anonymizer {
 public:
  // The user's name, the machine's name and the name of the user's profile
  // folder (the last part of USERPROFILE), as this machine gives them.
  [[nodiscard]] static Anonymizer ForMachine(const platform::Platform& os);

  Anonymizer(std::string_view user, std::string_view machine, std::string_view profileFolder);

  // text with every name replaced, letter case aside, by its placeholder, in
  // one pass from the left: a placeholder is never searched again.
  [[nodiscard]] std::string Apply(std::string_view text) const;

  // Every text of the report (its entries, values and names) so replaced.
  void Apply(Report& report) const;

 private:
  struct Name {
    std::string upper;
    std::string written;
    const char* placeholder;
  };
  std::vector<Name> names_;
};

// The platform's who and where, with the placeholders for the user's and the
// machine's names: the report's frame is then drawn around them.
class AnonymousIdentity final : public platform::IdentityApi {
 public:
  explicit AnonymousIdentity(platform::IdentityApi& real) : real_(real) {}
  std::optional<std::string> UserName() override { return kUserPlaceholder; }
  std::optional<std::string> ComputerName() override { return kMachinePlaceholder; }
  std::optional<std::string> TempPath() override { return real_.TempPath(); }
  std::optional<std::string> WindowsFolder() override { return real_.WindowsFolder(); }
  std::optional<std::string> SystemFolder() override { return real_.SystemFolder(); }

 private:
  platform::IdentityApi& real_;
};

}  // namespace velmora::console
