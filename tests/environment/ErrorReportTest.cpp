#include "environment/ErrorReport.h"

#include <gtest/gtest.h>

#include "platform/FakePlatform.h"

namespace velmora {
namespace {

TEST(ErrorBox, NamesTheFailureAndWhereItHappenedInOneOkBox) {
  platform::FakePlatform fake;
  environment::ReportError(fake.Services(), "modReport", "doReport", "File not found", 53);
  ASSERT_EQ(fake.user.messages.size(), 1u);
  EXPECT_EQ(fake.user.messages[0].text,
            "Sorry, Velmora has encountered an error.\r\n\r\nDetails:\r\n"
            "File not found (error 53)\r\n in module modReport, procedure doReport");
  EXPECT_EQ(fake.user.messages[0].caption, "Error from Velmora vs 1.0.24");
  EXPECT_EQ(fake.user.messages[0].style, platform::kMbOk) << "one OK button and no icon";
  // A failure's number from the platform may be negative.
  EXPECT_NE(environment::ErrorText("frmMain", "Form_Resize", "Overflow", -2147024809)
                .find("\r\nOverflow (error -2147024809)\r\n in module frmMain"),
            std::string::npos);
}

}  // namespace
}  // namespace velmora
