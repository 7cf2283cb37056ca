#include "environment/ExistenceSweep.h"

#include <system_error>
#include <thread>
#include <utility>

namespace velmora::environment {

ExistenceSweep::ExistenceSweep(std::shared_ptr<platform::FileSystemApi> files,
                               std::vector<ExistenceQuestion> questions, ExistenceReport report)
    : files_(std::move(files)), questions_(std::move(questions)), report_(std::move(report)) {}

std::shared_ptr<ExistenceSweep> ExistenceSweep::Start(
    std::shared_ptr<platform::FileSystemApi> files, std::vector<ExistenceQuestion> questions,
    ExistenceReport report) {
  if (!files || !report) return nullptr;
  std::shared_ptr<ExistenceSweep> sweep(
      new ExistenceSweep(std::move(files), std::move(questions), std::move(report)));
  try {
    // The thread holds the sweep until its last question is answered.
    std::thread([sweep] { sweep->Run(); }).detach();
  } catch (const std::system_error&) {
    return nullptr;
  }
  return sweep;
}

void ExistenceSweep::Stop() {
  const std::lock_guard lock(mutex_);
  stopped_ = true;
}

bool ExistenceSweep::Stopped() {
  const std::lock_guard lock(mutex_);
  return stopped_;
}

void ExistenceSweep::Run() {
  try {
    for (const ExistenceQuestion& question : questions_) {
      if (Stopped()) return;
      const bool found = NamesWhatIsWanted(*files_, question.place, question.wanted);
      const std::lock_guard lock(mutex_);
      if (stopped_) return;
      report_(question.key, found);
    }
  } catch (...) {
    // A report that fails ends the sweep; nothing may leave the thread.
  }
}

}  // namespace velmora::environment
