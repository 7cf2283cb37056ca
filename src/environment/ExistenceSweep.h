// Existence tests, and the listing of PATH's programs after them, on threads
// of their own. A question about a network path can take as long as the
// server takes not to answer: when one has not answered within a short time,
// the sweep goes on with the next question on a fresh thread and leaves the
// stuck one to end on its own; its answer is still reported when it comes, if
// anyone listens. The window neither waits for any of it nor is ever called
// back once it has said it no longer listens.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "environment/EntryChecks.h"
#include "environment/WhichCopy.h"
#include "platform/Platform.h"

namespace velmora::environment {

struct ExistenceQuestion {
  std::uint64_t key = 0;  // the asker's, handed back with the answer
  std::string place;
  Wanted wanted = Wanted::kFolder;
  std::size_t programsOf = 0;  // a PATH entry's number (from 1) whose programs are listed once
                               // the place is found; 0 for none
};

// Called on one of the sweep's threads; they must not wait for the thread
// that stops the sweep (post, never send). tested comes with each answer,
// programsResolved each time the resolution of the programs is (again)
// complete as far as the folders have answered.
struct SweepReports {
  std::function<void(std::uint64_t key, bool found)> tested;
  std::function<void()> programsResolved;
};

// The questions, the file system and the reports belong to the sweep, and
// the sweep to its threads and whoever started it, together: whichever lets
// go last frees it.
class ExistenceSweep : public std::enable_shared_from_this<ExistenceSweep> {
 public:
  static constexpr std::chrono::milliseconds kPatience{400};

  // Who notices a question that takes longer than the patience: a thread of
  // the sweep's own, or its caller, who calls CheckPatience every quarter of
  // the patience or so (a window, from a timer: a sweep done within that
  // time then never starts a second thread).
  enum class Watching : std::uint8_t { kOwnThread, kByCaller };

  // Starts answering on a new thread; nothing when no thread can be had.
  // extensions are PATHEXT's (ProgramExtensions); patience is how long a
  // question may take before the sweep goes on without it.
  [[nodiscard]] static std::shared_ptr<ExistenceSweep> Start(
      std::shared_ptr<platform::FileSystemApi> files, std::vector<ExistenceQuestion> questions,
      std::vector<std::string> extensions, SweepReports reports,
      std::chrono::milliseconds patience = kPatience, Watching watching = Watching::kOwnThread);
  // The same with the questions to come (Ask): a thread takes a millisecond
  // or more to start, which its caller may spend on something else.
  [[nodiscard]] static std::shared_ptr<ExistenceSweep> Prepare(
      std::shared_ptr<platform::FileSystemApi> files, std::vector<std::string> extensions,
      SweepReports reports, std::chrono::milliseconds patience = kPatience,
      Watching watching = Watching::kOwnThread);

  // Hands a prepared sweep its questions; only the first call counts.
  void Ask(std::vector<ExistenceQuestion> questions);

  // Goes on without the question under way, on a fresh thread, when it has
  // taken longer than the patience. Returns at once.
  void CheckPatience();

  // No report begins after Stop returns, and no further question is asked.
  // Returns at once: a question under way is left to end on its own.
  void Stop();

  // The latest resolution: each listed PATH entry's number and its programs'
  // conflicts (entries without any left out).
  [[nodiscard]] std::map<std::size_t, WhichCopy> Programs();

  ExistenceSweep(const ExistenceSweep&) = delete;
  ExistenceSweep& operator=(const ExistenceSweep&) = delete;

 private:
  ExistenceSweep(std::shared_ptr<platform::FileSystemApi> files,
                 std::vector<std::string> extensions, SweepReports reports,
                 std::chrono::milliseconds patience, Watching watching);
  [[nodiscard]] bool StartWorker(std::unique_lock<std::mutex>& lock);
  // False when the fresh worker it needed could not be had.
  [[nodiscard]] bool HandOverIfStuck(std::unique_lock<std::mutex>& lock);
  void StartWatch();
  void Work(std::uint64_t generation);
  void Watch();
  void Test(std::size_t question);
  void List(std::size_t question);
  void Resolve();

  std::shared_ptr<platform::FileSystemApi> files_;
  std::vector<ExistenceQuestion> questions_;
  std::vector<std::string> extensions_;
  SweepReports reports_;
  std::chrono::milliseconds patience_;
  Watching watching_;

  // Held while reporting, so that Stop waits for a report, never for a
  // question; and over the state below.
  std::mutex mutex_;
  std::condition_variable changed_;
  bool stopped_ = false;
  bool asked_ = false;            // the questions are in, and stay as they are
  bool finished_ = false;         // every step taken and the last one done
  std::size_t next_ = 0;          // the next step: tests, then listings, then the resolution
  std::uint64_t generation_ = 0;  // the worker that goes on; older ones end after their step
  std::optional<std::chrono::steady_clock::time_point> busySince_;  // that worker's step
  std::vector<std::optional<bool>> found_;                          // by question
  std::map<std::size_t, ProgramListing> listings_;                  // by entry number
  std::uint64_t listingsChanged_ = 0;
  std::uint64_t resolvedFrom_ = 0;  // the listings' change the published resolution saw
  bool resolutionBegun_ = false;    // later listings call for another
  std::map<std::size_t, WhichCopy> programs_;
};

}  // namespace velmora::environment
