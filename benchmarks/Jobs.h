// The jobs floor_timing times, each against the least program doing it.
#pragma once

#include <string>

#include "Scenario.h"

namespace velmora::benchmarks {

// Start-up: from starting the program until its window is shown with both
// lists filled, with a typical PATH and with one of 2,900 entries, Velmora
// against `floor`. The user's environment key holds the scenario's values
// for the length of the run.
void TimeStartUp(const std::string& title, double limit, const std::wstring& velmora,
                 const std::wstring& floor, int runs);

// Sort refill: Velmora's imgSort_Click turning sorting off (clearing and
// filling both lists again) against the floor window's refill, in this
// process.
void TimeRefill(const Scenario& scenario, double limit, int runs);

// View Report: cmdView_Click against writing as many bytes to a temporary
// file in the temporary folder, flushing it, moving it over the target and
// starting the viewer.
void TimeViewReport(const Scenario& scenario, double limit, int runs);

// Marks: from the window shown until every entry's mark has settled (its
// existence tested, PATH's programs listed and resolved), with a typical
// PATH and with 2,900 entries over planted folders (some with thousands of
// files), against testing and listing the same folders in one loop on one
// thread.
void TimeMarks(double limit, int runs);

// VelmoraReport.exe writing the text report to a file standing for a pipe,
// against `floor` (console_floor.exe) writing as many bytes there, each a
// program started and waited for.
void TimeConsoleReport(const std::wstring& velmoraReport, const std::wstring& floor, double limit,
                       int runs);

// The console's JSON against its text report, in this process; the "floor"
// column is the text report.
void TimeConsoleJson(const Scenario& scenario, double limit, int runs);

}  // namespace velmora::benchmarks
