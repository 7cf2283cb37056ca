#include "environment/ErrorReport.h"

#include <new>
#include <stdexcept>

#include <gtest/gtest.h>

#include "platform/Failure.h"
#include "platform/FakePlatform.h"

namespace velmora {
namespace {

// Whatever escapes a trapped procedure ends in exactly one box (OK only, no
// icon) with its words and number and where it happened; nothing escapes the
// trap, and a procedure that ends normally shows nothing.
TEST(FailureTrap, EveryKindOfFailureIsShownOnceWithItsNumber) {
  const struct {
    const char* what;
    void (*action)();
    const char* details;  // nullptr: no box
  } cases[] = {
      {"ends normally", [] {}, nullptr},
      {"the program's own failure", [] { throw platform::Failure(53, "File not found"); },
       "File not found (error 53)"},
      {"a negative number", [] { throw platform::Failure(-2147024809, "Overflow"); },
       "Overflow (error -2147024809)"},
      {"out of memory", [] { throw std::bad_alloc(); }, "Out of memory (error 7)"},
      {"another exception", [] { throw std::out_of_range("no such item"); },
       "no such item (error 0)"},
      {"not an exception at all", [] { throw 42; }, "An unexpected failure (error 0)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    platform::FakePlatform fake;
    const bool ended = environment::Trapped(fake.Services(), "modReport", "doReport", c.action);
    EXPECT_EQ(ended, c.details == nullptr);
    if (c.details == nullptr) {
      EXPECT_TRUE(fake.user.messages.empty());
      continue;
    }
    ASSERT_EQ(fake.user.messages.size(), 1u);
    EXPECT_EQ(fake.user.messages[0].text,
              std::string("Sorry, Velmora has encountered an error.\r\n\r\nDetails:\r\n") +
                  c.details + "\r\n in module modReport, procedure doReport");
    EXPECT_EQ(fake.user.messages[0].caption, "Error from Velmora vs 1.0.24");
    EXPECT_EQ(fake.user.messages[0].style, platform::kMbOk) << "one OK button and no icon";
  }
}

}  // namespace
}  // namespace velmora
