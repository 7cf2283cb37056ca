// A suite that runs on every binding the machine offers: the double
// everywhere, the real Win32 binding on Windows.
#pragma once

#include <gtest/gtest.h>

#include "support/TestPlatform.h"

namespace velmora::testing_support {

class PlatformTest : public ::testing::TestWithParam<Binding> {
 protected:
  void SetUp() override { test_ = MakeTestPlatform(GetParam()); }

  TestPlatform& Test() { return *test_; }
  platform::Platform Os() { return test_->Services(); }

 private:
  std::unique_ptr<TestPlatform> test_;
};

}  // namespace velmora::testing_support

#define VELMORA_ON_EVERY_BINDING(Suite)                                                          \
  INSTANTIATE_TEST_SUITE_P(, Suite,                                                              \
                           ::testing::ValuesIn(::velmora::testing_support::AvailableBindings()), \
                           ::testing::PrintToStringParamName())
