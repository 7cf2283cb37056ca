// Files planted where the platform looks for a program or a library by its
// bare name, and a stand-in program whose records tell what was started, from
// where and with which command line. Windows only.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace velmora::testing_support {

// The folder of the running test program, without a closing separator.
[[nodiscard]] std::string ProgramFolder();

// A copy of a file, removed again when the object goes; std::runtime_error
// when it cannot be made.
class PlantedFile {
 public:
  PlantedFile(const std::string& from, std::string to);
  ~PlantedFile();
  PlantedFile(const PlantedFile&) = delete;
  PlantedFile& operator=(const PlantedFile&) = delete;

  [[nodiscard]] const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// The process's current folder, changed for as long as the object lives.
class CurrentFolderChange {
 public:
  explicit CurrentFolderChange(const std::string& folder);
  ~CurrentFolderChange();
  CurrentFolderChange(const CurrentFolderChange&) = delete;
  CurrentFolderChange& operator=(const CurrentFolderChange&) = delete;

 private:
  std::wstring previous_;
};

struct StartRecord {
  std::string program;      // the file that ran
  std::string commandLine;  // what it received
};

// While the object lives, every copy of the stand-in program that runs,
// wherever it lies, appends its record to recordFile.
class StartRecorder {
 public:
  explicit StartRecorder(std::string recordFile);
  ~StartRecorder();
  StartRecorder(const StartRecorder&) = delete;
  StartRecorder& operator=(const StartRecorder&) = delete;

  // The stand-in (command_line_recorder.exe, built beside the tests).
  [[nodiscard]] static std::string Program();

  // Every record so far, once there are at least `count` of them or after a
  // generous wait for a program that does not come.
  [[nodiscard]] std::vector<StartRecord> WaitFor(std::size_t count) const;

 private:
  std::string recordFile_;
};

// Whether two paths name the same file, letter case aside.
[[nodiscard]] bool SamePath(const std::string& a, const std::string& b);

}  // namespace velmora::testing_support
