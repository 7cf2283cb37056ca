#include <windows.h>

#include <memory>
#include <string>

#include "Comparison.h"
#include "FloorWindow.h"
#include "Jobs.h"
#include "PreparedPlatform.h"
#include "window/frmMain.h"

namespace velmora::benchmarks {

void TimeRefill(const Scenario& scenario, double limit, int runs) {
  const auto test = Prepare(scenario);
  window::frmMain form(test->Services());
  form.Create(GetModuleHandleW(nullptr), SW_SHOWNOACTIVATE);
  // Side by side, neither covering the other: a covered window paints less.
  SetWindowPos(form.Handle(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  floor_program::FloorWindow least;
  least.Refill();
  RECT velmora{};
  GetWindowRect(form.Handle(), &velmora);
  SetWindowPos(least.Handle(), nullptr, velmora.right + 8, 0, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(least.Handle(), SW_SHOWNOACTIVATE);
  Pump();
  Compare({{std::string("Sort refill, ") + scenario.name, limit,
            [&] {
              form.imgSort_Click();  // sorting on
              // As a user would, wait for the sorted lists to be painted.
              Pump();
              Sleep(50);
              Pump();
              const auto start = Clock::now();
              form.imgSort_Click();  // off: cleared and filled again
              const double time = Milliseconds(start);
              Pump();
              return time;
            },
            [&] {
              const auto start = Clock::now();
              least.Refill();
              const double time = Milliseconds(start);
              Pump();
              return time;
            }}},
          runs);
}

}  // namespace velmora::benchmarks
