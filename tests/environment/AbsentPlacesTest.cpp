// Places a listing of their folder shows are not there: never one that the
// existence test would find.
#include "environment/AbsentPlaces.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "environment/EntryChecks.h"
#include "support/PlatformTest.h"

namespace velmora {
namespace {

class AbsentPlaces : public testing_support::PlatformTest {};

// Real folders on the real binding: names in another letter case, with
// letters beyond ASCII, a closing backslash, dot or space, a device name, a
// file, and missing places beside and below the planted ones.
TEST_P(AbsentPlaces, OnlyWhatTheExistenceTestCannotFind) {
  const std::string have = Test().MakeFolder("Have0");
  const std::string root = have.substr(0, have.rfind('\\') + 1);
  for (const char* name :
       {"Have1", "Have2", "\xC3\x9Cn\xC3\xAF", "Deep\\Have\\bin", "d\xC4\xB1r"}) {
    (void)Test().MakeFolder(name);
  }
  (void)Test().MakeFile("file.jar", "PK");
  const struct {
    std::string place;
    bool certainlyAbsent;  // what a listing must show
  } cases[] = {
      {"Have0", false},
      {"HAVE1", false},
      {"have2\\", false},
      {"Have1.", false},
      {"Have2 ", false},
      {"\xC3\xBCN\xC3\x8F", false},
      {"DIR", false},
      {"file.JAR", false},
      {"NUL", false},
      {"nul.txt", false},
      {"Deep\\Have\\bin", false},
      {"Deep\\Gone\\bin", false},  // too few below Deep for a listing
      {"Have0\\..\\Have1", false},
      {"Have?", false},
      {"Gone\\deep\\bin", true},
      {"Gone\\other", true},
      {"Have0\\gone", false},
      {"Hav", true},
      {"Have", true},
      {"Have12", true},
      {"\xC3\x9Cn", true},
  };
  std::vector<std::string> places;
  std::vector<bool> expected;
  for (const auto& c : cases) {
    places.push_back(root + c.place);
    expected.push_back(c.certainlyAbsent);
  }
  for (std::size_t gone = 0; gone < environment::kListingPays; ++gone) {
    places.push_back(root + "Gone" + std::to_string(gone));
    expected.push_back(true);
  }
  const std::vector<bool> absent = environment::CertainlyAbsent(Os().files, places);
  ASSERT_EQ(absent.size(), places.size());
  for (std::size_t at = 0; at < places.size(); ++at) {
    EXPECT_EQ(absent[at], expected[at]) << places[at];
    if (absent[at]) {
      EXPECT_FALSE(
          environment::NamesWhatIsWanted(Os().files, places[at], environment::Wanted::kAnything))
          << places[at];
    }
  }
  // A short list asks nothing of listings.
  places.resize(environment::kListingPays - 1);
  EXPECT_EQ(environment::CertainlyAbsent(Os().files, places), std::vector<bool>(places.size()));
}

VELMORA_ON_EVERY_BINDING(AbsentPlaces);

}  // namespace
}  // namespace velmora
