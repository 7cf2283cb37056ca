// The report builder fed an arbitrary process environment, stored registry
// environment, names, clock and files through the double.
//
// Operations, chosen by one byte each until the input ends; a name is a byte
// below 0xC0 picking one of the names the report reads, else a Text():
//   0  set a process variable: name, value Text(), each up to its first NUL
//   1  unset a process variable: name
//   2  a stored value in the user's (odd byte) or the system's key: name, type
//      Byte() % 12, data Bytes(); replacing a value of the same name, or, on
//      an odd byte, stored beside it
//   3  a folder Text(); 4  a file Text()
//   5  the folder a process variable names: name
//   6  the Mordale database under the folder MORDALEPATH names
//   7  user name, machine name and temporary folder: three Text()
//   8  the clock: six Word() % 65536 (what GetLocalTime can give)
//
// What must hold, beside no crash, leak or undefined behaviour: the report is
// built or fails with the duplicate-name failure only; once built, its file
// holds exactly its text's bytes, or the one failure is shown; nothing is
// left open; View Report writes the report and starts Notepad on it, or
// shows one message.
#include <cstdint>
#include <string>

#include "FuzzInput.h"
#include "environment/Lookups.h"
#include "platform/Failure.h"
#include "platform/FakePlatform.h"
#include "report/ReportBuilder.h"
#include "report/ReportCommands.h"
#include "report/ReportFile.h"

namespace velmora {
namespace {

using fuzzing::Require;

constexpr const char* kNames[] = {
    "PATH",
    "Path",
    "CLASSPATH",
    "CORVANE_HOME",
    "TILBURPATH",
    "MORDALEPATH",
    "MordalePath",
    "MORDALERTC",
    "QUVPATH",
    "DRXCONNECTORPATH",
    "KWTCONNECTORPATH",
    "COMMON LIBRARIES",
    "ZENTARO_HOME",
    "PUX_HOME",
    "GOB_HOME",
    "YEL_JAVA_HOME",
    "OMRA_DOMAINS_FILE",
    "SystemRoot",
    "TEMP",
    "path",
};
constexpr std::size_t kNameCount = sizeof kNames / sizeof kNames[0];

std::string Name(fuzzing::FuzzInput& in) {
  const std::uint8_t pick = in.Byte();
  return pick < 0xC0 ? kNames[pick % kNameCount] : in.Text();
}

std::string Variable(platform::FakePlatform& fake, const std::string& name) {
  return fake.environment.Variable(name).value_or(std::string());
}

void Prepare(fuzzing::FuzzInput& in, platform::FakePlatform& fake) {
  while (!in.Empty()) {
    switch (in.Byte() % 9) {
      case 0: {
        const std::string name = fuzzing::UpToNul(Name(in));
        fake.environment.Set(name, fuzzing::UpToNul(in.Text()));
        break;
      }
      case 1:
        fake.environment.Unset(Name(in));
        break;
      case 2: {
        const std::uint8_t how = in.Byte();
        const bool user = (how & 1) != 0;
        const std::string name = Name(in);
        const std::uint32_t type = in.Byte() % 12u;
        auto data = in.Bytes();
        const platform::KeyHandle root = user ? platform::kCurrentUser : platform::kLocalMachine;
        const char* key =
            user ? environment::kUserEnvironmentKey : environment::kSystemEnvironmentKey;
        if ((how & 2) != 0) {
          fake.registry.AppendValue(root, key, name, type, std::move(data));
        } else {
          fake.registry.SetValue(root, key, name, type, std::move(data));
        }
        break;
      }
      case 3:
        fake.files.AddFolder(in.Text());
        break;
      case 4:
        fake.files.AddFile(in.Text());
        break;
      case 5:
        fake.files.AddFolder(Variable(fake, Name(in)));
        break;
      case 6:
        fake.files.AddFile(Variable(fake, "MORDALEPATH") + "\\bin\\mordale.mdb");
        break;
      case 7:
        fake.identity.userName = in.Text();
        fake.identity.computerName = in.Text();
        fake.identity.tempPath = in.Text();
        break;
      default: {
        platform::LocalTime& now = fake.clock.now;
        for (int* part : {&now.year, &now.month, &now.day, &now.hour, &now.minute, &now.second}) {
          *part = static_cast<int>(in.Word() % 65536u);
        }
        break;
      }
    }
  }
}

}  // namespace

int FuzzOne(const std::uint8_t* data, std::size_t size) {
  fuzzing::FuzzInput in(data, size);
  platform::FakePlatform fake;
  fake.files.AddFolder("C:\\Reports");
  Prepare(in, fake);
  const platform::Platform os = fake.Services();

  std::string text;
  bool built = true;
  try {
    text = report::ReportText(os);
  } catch (const platform::Failure& failure) {
    Require(failure.Number() == platform::kFailureDuplicateKey, "a failure other than a duplicate");
    built = false;
  }
  Require(fake.registry.OpenHandles() == 0, "a registry key was left open");

  const std::string path = "C:\\Reports\\report.txt";
  const bool written = report::doReport(os, path);
  Require(built || !written, "a report was written although its text failed");
  Require(fake.user.messages.size() == (written ? 0u : 1u), "not exactly one message");
  if (written) {
    Require(fake.files.Content(path) == report::EncodeReport(text),
            "the file does not hold the report");
  }
  Require(fake.files.OpenFiles() == 0, "a file was left open");

  fake.user.messages.clear();
  report::cmdView_Click(os);
  Require(fake.user.started.size() + fake.user.messages.size() == 1,
          "View Report neither opened the report nor said why");
  if (!fake.user.started.empty()) {
    Require(fake.user.started[0].commandLine.starts_with("Notepad.exe "),
            "Notepad's command line changed");
    const std::string viewed = fake.user.started[0].commandLine.substr(12);
    Require(fake.files.Content(viewed).has_value(), "Notepad was started on no file");
  }
  Require(fake.files.OpenFiles() == 0 && fake.registry.OpenHandles() == 0,
          "View Report left something open");
  return 0;
}

}  // namespace velmora

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return velmora::FuzzOne(data, size);
}
