#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "Comparison.h"
#include "Jobs.h"
#include "PreparedPlatform.h"
#include "platform/Win32Platform.h"
#include "window/frmMain.h"

namespace velmora::benchmarks {
namespace {

// Folders planted for the run and removed afterwards.
class PlantedFolders {
 public:
  explicit PlantedFolders(const std::filesystem::path& root) : root_(root) {
    std::filesystem::create_directories(root_);
  }
  ~PlantedFolders() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  PlantedFolders(const PlantedFolders&) = delete;
  PlantedFolders& operator=(const PlantedFolders&) = delete;

  // A folder with `files` programs (and as many other files), the first
  // named as in other folders when `shared`; its path.
  std::string Plant(const std::string& name, int files, bool shared) {
    const std::filesystem::path folder = root_ / name;
    std::filesystem::create_directories(folder);
    for (int at = 0; at < files; ++at) {
      const std::string stem = at == 0 && shared ? "tool" : name + "-" + std::to_string(at);
      std::ofstream(folder / (stem + ".exe"), std::ios::binary) << name << at;
      std::ofstream(folder / (stem + ".txt"), std::ios::binary) << at;
    }
    return platform::Utf8Text(folder.wstring());
  }

 private:
  std::filesystem::path root_;
};

// The least program: every entry tested and its files listed, in one loop
// on one thread.
double ListEveryFolder(const std::vector<std::wstring>& entries) {
  const auto start = Clock::now();
  for (const std::wstring& entry : entries) {
    if ((GetFileAttributesW(entry.c_str()) & FILE_ATTRIBUTE_DIRECTORY) == 0) continue;
    WIN32_FIND_DATAW found{};
    const HANDLE search =
        FindFirstFileExW((entry + L"\\*").c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                         nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE) continue;
    while (FindNextFileW(search, &found)) {
    }
    FindClose(search);
  }
  return Milliseconds(start);
}

Job MarksJob(const std::string& name, double limit, const std::string& path,
             testing_support::TestPlatform& test) {
  std::vector<std::wstring> entries;
  for (std::size_t start = 0; start <= path.size();) {
    const std::size_t end = std::min(path.find(';', start), path.size());
    entries.push_back(platform::WideText(path.substr(start, end - start)));
    start = end + 1;
  }
  return {"Marks settled after the window shows, " + name, limit,
          [&test, path] {
            test.SetVariable("PATH", path);
            window::frmMain form(test.Services());
            form.Create(GetModuleHandleW(nullptr), SW_SHOWNOACTIVATE);
            // Shown means painted: the paint is not the marks' work.
            UpdateWindow(form.Handle());
            const auto start = Clock::now();
            while (!form.MarksSettled()) {
              Pump();
              MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
            }
            const double time = Milliseconds(start);
            form.cmdClose_Click();
            Pump();
            return time;
          },
          [entries] { return ListEveryFolder(entries); }};
}

}  // namespace

void TimeMarks(double limit, int runs) {
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  PlantedFolders planted(std::filesystem::path(temp) /
                         ("velmora-marks-" + std::to_string(GetCurrentProcessId())));
  std::string typical;
  for (int at = 0; at < 14; ++at) {
    typical += (at == 0 ? "" : ";") +
               planted.Plant("t" + std::to_string(at), at == 0 ? 1500 : 40, at % 4 == 0);
  }
  typical += ";C:\\velmora-missing";
  // 2,900 folders, a few of them with thousands of files.
  std::string longPath;
  for (int at = 0; at < 2900; ++at) {
    longPath += (at == 0 ? "" : ";") +
                planted.Plant("l" + std::to_string(at), at % 1000 == 0 ? 2000 : 2, at % 10 == 0);
  }
  const auto test = Prepare(Typical());
  Compare({MarksJob("typical", limit, typical, *test),
           MarksJob("2,900 entries", limit, longPath, *test)},
          runs);
}

}  // namespace velmora::benchmarks
