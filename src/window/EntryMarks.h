// Marks on the entries that cannot serve: an overlay picture and a line in the
// info tip of each such row, and each list's summary. What is wrong with an
// entry is judged in the environment room (EntryChecks.h); the existence tests
// run on a thread of their own and post their answers to the window, so that
// the window neither waits for a slow network path nor touches the file
// system itself.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "environment/EntryChecks.h"
#include "environment/ExistenceSweep.h"
#include "platform/Platform.h"

namespace velmora::window {

// Posted by the existence tests when answers wait for the window where none
// waited: wParam the fill they belong to.
inline constexpr UINT kMessageEntryTested = WM_APP + 1;
// Posted once a fill's entries are in the lists: their tests may start.
inline constexpr UINT kMessageStartTests = WM_APP + 2;
// Posted each time the resolution of PATH's programs is (again) complete:
// wParam the fill it belongs to.
inline constexpr UINT kMessageProgramsResolved = WM_APP + 4;
// The window's timer that watches the existence tests for a question that
// takes too long, while they run.
inline constexpr UINT_PTR kTimerSweepWatch = 1;

class EntryMarks {
 public:
  explicit EntryMarks(const platform::Platform& os) : os_(os) {}
  ~EntryMarks() { Stop(); }
  EntryMarks(const EntryMarks&) = delete;
  EntryMarks& operator=(const EntryMarks&) = delete;

  // The window that takes the answers, and the lists that show the marks.
  void Attach(HWND window, HWND pathList, HWND classpathList);

  // Answers still to come are dropped: they belong to the lists as they were.
  void Stop();
  // A fill appended the entries of value to a list, keys from firstKey on.
  // They are judged once the window shows them: the work would otherwise
  // come before the showing or compete with it.
  void Queue(environment::SearchList kind, int firstKey, std::string value);
  // Asks the window to start the judging of what the fills queued;
  // userValues are the user's key as the fills read it.
  void PostStart(environment::VariableDictionary userValues);
  // Starts the thread that tests the entries, to be handed its questions
  // once they are judged: a thread takes a millisecond or more to start,
  // which the window spends painting.
  void Prepare();

  void OnStartTests(WPARAM fill);
  void OnEntryTested(WPARAM fill);
  void OnProgramsResolved(WPARAM fill);
  void OnSweepWatchTimer();
  // Puts a row's mark into the list's request for its info tip.
  void OnGetInfoTip(NMHDR& header) const;

  // The last fill's entries are judged, tested and their programs resolved.
  [[nodiscard]] bool Settled() const;

  // A row's marks in words, and which of its programs run first; "" for a
  // row with nothing to say.
  [[nodiscard]] std::wstring Tip(HWND list, int index) const;
  // One list in a line: its entries, each mark counted, its length against
  // the longest a variable can hold and every documented limit it passes,
  // and what is still being checked.
  [[nodiscard]] std::wstring Summary(environment::SearchList kind) const;

 private:
  // Each list's judgements by item key, which sorting does not change.
  struct ListMarks {
    std::vector<environment::EntryJudgement> byKey;
    std::size_t characters = 0;  // of the variable, in UTF-16 units
  };
  struct PendingFill {
    environment::SearchList kind;
    int firstKey;
    std::string value;  // the variable whose entries the fill appended
  };

  // Existence answers on their way from the sweep to the window: a message
  // is posted for the first of them only, and the window takes all that have
  // come by the time it looks.
  struct Answer {
    std::uint64_t question;
    bool found;
  };
  struct Inbox {
    std::mutex mutex;
    std::vector<Answer> answers;
  };

  void Judge(const PendingFill& fill);
  void TakeAnswer(const Answer& answer);
  void StartExistenceTests();
  void ShowMark(environment::SearchList kind, std::size_t key);
  [[nodiscard]] HWND ListOf(environment::SearchList kind) const;
  [[nodiscard]] ListMarks& MarksOf(environment::SearchList kind);
  [[nodiscard]] const ListMarks& MarksOf(environment::SearchList kind) const;

  platform::Platform os_;
  HWND window_ = nullptr;
  HWND pathList_ = nullptr;
  HWND classpathList_ = nullptr;
  ListMarks path_;
  ListMarks classpath_;
  std::vector<PendingFill> pending_;
  environment::VariableDictionary userValues_;  // the user's key, as the last fill read it
  environment::StoredPath stored_;              // how PATH is stored, read once the lists show
  bool programsAwaited_ = false;                // the last fill's programs are still to be resolved
  std::uint32_t fill_ = 0;  // counts the fills; answers for an earlier one are dropped
  std::shared_ptr<environment::ExistenceSweep> sweep_;
  std::shared_ptr<Inbox> inbox_;  // the last fill's, shared with its sweep's report
};

}  // namespace velmora::window
