// The marks' words as the accessible description of the lists' rows, for
// screen readers: an annotation server on each list (IAccPropServices,
// SetHwndPropServer for the list and all its items) answers the description
// of an item with its row's words, asked for whenever a reader asks.
//
// Made only once a screen reader says it runs (SPI_GETSCREENREADER), as the
// window is shown or as the reader starts: the COM libraries are loaded then,
// never at start-up. Where the platform keeps no annotations (Wine's oleacc
// answers E_NOTIMPL) the rows keep the description they have, and nothing
// else changes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "window/EntryMarks.h"

namespace velmora::window {

class AccessibleWords {
 public:
  explicit AccessibleWords(const EntryMarks& marks);
  ~AccessibleWords();
  AccessibleWords(const AccessibleWords&) = delete;
  AccessibleWords& operator=(const AccessibleWords&) = delete;

  // Describes the lists' items when a screen reader runs; once made, or
  // refused by the platform, it stays so.
  void StartIfReaderRuns(HWND pathList, HWND classpathList);
  // Takes the descriptions off the lists, which are about to go.
  void Stop();

 private:
  struct Annotation;  // the COM libraries, the services and the server
  enum class State : std::uint8_t { kNotMade, kMade, kRefused };

  const EntryMarks& marks_;
  State state_ = State::kNotMade;
  std::unique_ptr<Annotation> annotation_;
};

}  // namespace velmora::window
