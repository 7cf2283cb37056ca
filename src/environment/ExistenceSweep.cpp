#include "environment/ExistenceSweep.h"

#include <algorithm>
#include <system_error>
#include <thread>
#include <utility>

namespace velmora::environment {

ExistenceSweep::ExistenceSweep(std::shared_ptr<platform::FileSystemApi> files,
                               std::vector<std::string> extensions, SweepReports reports,
                               std::chrono::milliseconds patience, Watching watching)
    : files_(std::move(files)),
      extensions_(std::move(extensions)),
      reports_(std::move(reports)),
      patience_(std::max(patience, std::chrono::milliseconds(1))),
      watching_(watching) {}

std::shared_ptr<ExistenceSweep> ExistenceSweep::Start(
    std::shared_ptr<platform::FileSystemApi> files, std::vector<ExistenceQuestion> questions,
    std::vector<std::string> extensions, SweepReports reports, std::chrono::milliseconds patience,
    Watching watching) {
  std::shared_ptr<ExistenceSweep> sweep =
      Prepare(std::move(files), std::move(extensions), std::move(reports), patience, watching);
  if (sweep) sweep->Ask(std::move(questions));
  return sweep;
}

std::shared_ptr<ExistenceSweep> ExistenceSweep::Prepare(
    std::shared_ptr<platform::FileSystemApi> files, std::vector<std::string> extensions,
    SweepReports reports, std::chrono::milliseconds patience, Watching watching) {
  if (!files || !reports.tested || !reports.programsResolved) return nullptr;
  std::shared_ptr<ExistenceSweep> sweep(new ExistenceSweep(std::move(files), std::move(extensions),
                                                           std::move(reports), patience, watching));
  std::unique_lock lock(sweep->mutex_);
  if (!sweep->StartWorker(lock)) return nullptr;
  return sweep;
}

void ExistenceSweep::Ask(std::vector<ExistenceQuestion> questions) {
  const std::lock_guard lock(mutex_);
  if (asked_) return;
  questions_ = std::move(questions);
  found_.assign(questions_.size(), std::nullopt);
  asked_ = true;
  changed_.notify_all();
}

void ExistenceSweep::StartWatch() {
  try {
    // The watch holds the sweep until its last step is done or it is stopped.
    std::thread([self = shared_from_this()] { self->Watch(); }).detach();
  } catch (const std::system_error&) {
    // Without a watch the sweep still answers, only never goes on without a stuck question.
  }
}

bool ExistenceSweep::StartWorker(std::unique_lock<std::mutex>&) {
  try {
    // Each worker holds the sweep until its step is done.
    std::thread([self = shared_from_this(), generation = generation_] {
      self->Work(generation);
    }).detach();
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

void ExistenceSweep::Stop() {
  const std::lock_guard lock(mutex_);
  stopped_ = true;
  changed_.notify_all();
}

std::map<std::size_t, WhichCopy> ExistenceSweep::Programs() {
  const std::lock_guard lock(mutex_);
  return programs_;
}

void ExistenceSweep::Work(std::uint64_t generation) {
  // The first worker starts the watch once it runs itself: two threads
  // started at once start one after the other, and the questions wait.
  // Its first question is watched all the same: from when it was asked.
  if (generation == 0 && watching_ == Watching::kOwnThread) StartWatch();
  {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return asked_ || stopped_; });
  }
  const std::size_t count = questions_.size();
  for (;;) {
    std::size_t step = 0;
    {
      const std::lock_guard lock(mutex_);
      if (stopped_ || generation != generation_) return;
      if (next_ > 2 * count) {
        finished_ = true;
        busySince_.reset();
        changed_.notify_all();
        return;
      }
      step = next_++;
      busySince_ = std::chrono::steady_clock::now();
    }
    try {
      if (step < count) {
        Test(step);
      } else if (step < 2 * count) {
        List(step - count);
      } else {
        Resolve();
      }
    } catch (...) {
      // A report that fails ends this step; nothing may leave the thread.
    }
    const std::lock_guard lock(mutex_);
    if (generation == generation_) busySince_.reset();
  }
}

void ExistenceSweep::Watch() {
  std::unique_lock lock(mutex_);
  while (!stopped_ && !finished_) {
    changed_.wait_for(lock, patience_ / 4 + std::chrono::milliseconds(1));
    if (!HandOverIfStuck(lock)) return;
  }
}

void ExistenceSweep::CheckPatience() {
  std::unique_lock lock(mutex_);
  (void)HandOverIfStuck(lock);
}

bool ExistenceSweep::HandOverIfStuck(std::unique_lock<std::mutex>& lock) {
  if (stopped_ || finished_ || !busySince_) return true;
  if (std::chrono::steady_clock::now() - *busySince_ < patience_) return true;
  // The step under way is left to its thread; a fresh one goes on.
  ++generation_;
  busySince_.reset();
  return StartWorker(lock);
}

void ExistenceSweep::Test(std::size_t question) {
  const ExistenceQuestion& asked = questions_[question];
  const bool found = NamesWhatIsWanted(*files_, asked.place, asked.wanted);
  bool listNow = false;
  {
    const std::lock_guard lock(mutex_);
    found_[question] = found;
    if (stopped_) return;
    reports_.tested(asked.key, found);
    // A late answer: the listings have gone by without this folder.
    listNow = found && asked.programsOf != 0 && next_ > questions_.size() + question;
  }
  if (listNow) List(question);
}

void ExistenceSweep::List(std::size_t question) {
  const ExistenceQuestion& asked = questions_[question];
  {
    const std::lock_guard lock(mutex_);
    if (stopped_ || asked.programsOf == 0 || found_[question] != true) return;
  }
  std::optional<std::vector<platform::FolderFile>> files;
  try {
    files = files_->ListFolder(asked.place);
  } catch (...) {
    return;  // a folder that cannot be listed holds no programs to compare
  }
  bool again = false;
  {
    const std::lock_guard lock(mutex_);
    if (!files || stopped_) return;
    listings_[asked.programsOf] = {asked.programsOf, asked.place, std::move(*files)};
    ++listingsChanged_;
    again = resolutionBegun_;
  }
  if (again) Resolve();
}

void ExistenceSweep::Resolve() {
  std::vector<ProgramListing> listings;
  std::uint64_t seen = 0;
  {
    const std::lock_guard lock(mutex_);
    if (stopped_) return;
    resolutionBegun_ = true;
    seen = listingsChanged_;
    for (const auto& [entry, listing] : listings_) listings.push_back(listing);
  }
  const auto sameBytes = [this](const std::string& first, const std::string& second) {
    try {
      return files_->SameBytes(first, second);
    } catch (...) {
      return false;
    }
  };
  std::vector<WhichCopy> resolved = ResolveCopies(listings, extensions_, sameBytes);
  const std::lock_guard lock(mutex_);
  // A resolution that saw fewer listings than the one published is stale.
  if (stopped_ || seen < resolvedFrom_) return;
  resolvedFrom_ = seen;
  programs_.clear();
  for (std::size_t at = 0; at < listings.size(); ++at) {
    if (!resolved[at].neverRun.empty() || !resolved[at].runsFirst.empty()) {
      programs_[listings[at].entry] = std::move(resolved[at]);
    }
  }
  reports_.programsResolved();
}

}  // namespace velmora::environment
