#include "environment/ErrorReport.h"

#include <gtest/gtest.h>

#include "platform/FakePlatform.h"

namespace {

using modUtils::ReportError;

class ErrorBox : public ::testing::Test {
 protected:
  const platform::RecordingUserServices::Message& OnlyMessage() {
    EXPECT_EQ(fake_.user.messages.size(), 1u);
    return fake_.user.messages.front();
  }

  platform::FakePlatform fake_;
};

TEST_F(ErrorBox, NamesTheFailureAndWhereItHappened) {
  ReportError(fake_.Services(), "modReport", "doReport", "File not found", 53);
  const auto& box = OnlyMessage();
  EXPECT_EQ(box.text,
            "Sorry, Velmora has encountered an error.\r\n\r\nDetails:\r\n"
            "File not found (error 53)\r\n in module modReport, procedure doReport");
  EXPECT_EQ(box.caption, "Error from Velmora vs 1.0.24");
  EXPECT_EQ(box.style, platform::kMbOk) << "one OK button and no icon";
}

TEST_F(ErrorBox, NegativeNumberKeepsItsSign) {
  ReportError(fake_.Services(), "frmMain", "Form_Resize", "Overflow", -2147024809);
  EXPECT_NE(OnlyMessage().text.find("Overflow (error -2147024809)\r\n"), std::string::npos);
}

TEST_F(ErrorBox, EmptyDescriptionLeavesTheLineStartingWithABlank) {
  ReportError(fake_.Services(), "frmMain", "cmdSave_Click", "", 5);
  EXPECT_NE(OnlyMessage().text.find("Details:\r\n (error 5)\r\n in module frmMain"),
            std::string::npos);
}

TEST_F(ErrorBox, DescriptionWithLineBreaksIsInsertedUnchanged) {
  ReportError(fake_.Services(), "frmMain", "cmdView_Click", "first\r\nsecond\nthird", 1);
  EXPECT_NE(OnlyMessage().text.find("Details:\r\nfirst\r\nsecond\nthird (error 1)\r\n"),
            std::string::npos);
}

}  // namespace
