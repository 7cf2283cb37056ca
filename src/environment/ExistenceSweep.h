// Existence tests on a thread of their own. A test of a network path can take
// as long as the server takes not to answer; the window neither waits for it
// nor is ever called back once it has said it no longer listens.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "environment/EntryChecks.h"
#include "platform/Platform.h"

namespace velmora::environment {

struct ExistenceQuestion {
  std::uint64_t key = 0;  // the asker's, handed back with the answer
  std::string place;
  Wanted wanted = Wanted::kFolder;
};

// Called on the sweep's thread with each answer, in the questions' order. It
// must not wait for the thread that stops the sweep (post, never send).
using ExistenceReport = std::function<void(std::uint64_t key, bool found)>;

// The questions, the file system and the report belong to the sweep, and the
// sweep to its thread and whoever started it, together: whichever lets go
// last frees it.
class ExistenceSweep {
 public:
  // Starts answering on a new thread; nothing when no thread can be had.
  [[nodiscard]] static std::shared_ptr<ExistenceSweep> Start(
      std::shared_ptr<platform::FileSystemApi> files, std::vector<ExistenceQuestion> questions,
      ExistenceReport report);

  // No report begins after Stop returns, and no further question is asked.
  // Returns at once: a question under way is left to end on its own.
  void Stop();

  ExistenceSweep(const ExistenceSweep&) = delete;
  ExistenceSweep& operator=(const ExistenceSweep&) = delete;

 private:
  ExistenceSweep(std::shared_ptr<platform::FileSystemApi> files,
                 std::vector<ExistenceQuestion> questions, ExistenceReport report);
  void Run();
  [[nodiscard]] bool Stopped();

  std::shared_ptr<platform::FileSystemApi> files_;
  std::vector<ExistenceQuestion> questions_;
  ExistenceReport report_;
  std::mutex mutex_;  // held while reporting, so that Stop waits for a report, never for a test
  bool stopped_ = false;
};

}  // namespace velmora::environment
