// The in-memory double of the platform. It follows the documented Win32
// behaviour of the calls it stands for, down to the return codes and what the
// in/out lengths hold on every path, so that one test suite passes against it
// and against the real Windows binding alike.
#pragma once

#include <memory>

#include "platform/FakeClock.h"
#include "platform/FakeEnvironment.h"
#include "platform/FakeFileSystem.h"
#include "platform/FakeIdentity.h"
#include "platform/FakeRegistry.h"
#include "platform/Platform.h"
#include "platform/RecordingUserServices.h"

namespace velmora::platform {

// All doubles together, as one platform. The file system is shared, as the
// real one is, with work that may outlive the platform.
struct FakePlatform {
  FakeRegistry registry;
  FakeEnvironment environment;
  FakeIdentity identity;
  std::shared_ptr<FakeFileSystem> sharedFiles = std::make_shared<FakeFileSystem>();
  FakeFileSystem& files = *sharedFiles;
  FakeClock clock;
  RecordingUserServices user;

  [[nodiscard]] Platform Services() {
    return Platform{registry, environment, identity, files, clock, user, sharedFiles};
  }
};

}  // namespace velmora::platform
