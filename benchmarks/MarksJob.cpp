#include <windows.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Comparison.h"
#include "Jobs.h"
#include "PreparedPlatform.h"
#include "platform/Win32Platform.h"
#include "window/ListView.h"
#include "window/frmMain.h"

namespace velmora::benchmarks {
namespace {

// Folders planted for the run under a root of their own, which did not exist
// before, and removed afterwards with it.
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
  // named "tool.exe", as in other folders, when `shared`; its path.
  std::string Plant(const std::string& name, int files, bool shared) {
    const std::filesystem::path folder = root_ / name;
    std::filesystem::create_directories(folder);
    for (int at = 0; at < files; ++at) {
      const std::string stem = at == 0 && shared ? "tool" : name + "-" + std::to_string(at);
      std::ofstream(folder / (stem + ".exe"), std::ios::binary) << name << at;
      std::ofstream(folder / (stem + ".txt"), std::ios::binary) << at;
    }
    if (shared) shared_.push_back(folder / "tool.exe");
    return platform::Utf8Text(folder.wstring());
  }

  // The copies of tool.exe the resolution must read: each later one of the
  // first one's size, beside the first.
  [[nodiscard]] std::vector<std::pair<std::wstring, std::wstring>> SameSizeCopies() const {
    std::vector<std::pair<std::wstring, std::wstring>> pairs;
    for (std::size_t at = 1; at < shared_.size(); ++at) {
      if (std::filesystem::file_size(shared_[at]) == std::filesystem::file_size(shared_[0])) {
        pairs.emplace_back(shared_[0].wstring(), shared_[at].wstring());
      }
    }
    return pairs;
  }

 private:
  std::filesystem::path root_;
  std::vector<std::filesystem::path> shared_;  // in PATH order
};

// A root on the temporary folder's drive with the shortest name that is free:
// 2,900 entries must fit the 32,767 characters of a process variable, else
// the window is given only the first few hundred while the floor lists all.
std::filesystem::path ShortRoot(const std::filesystem::path& temp) {
  for (int number = 0; number < 10; ++number) {
    const std::filesystem::path root =
        temp.root_path() / ("vm" + (number == 0 ? std::string() : std::to_string(number)));
    if (!std::filesystem::exists(root)) return root;
  }
  throw std::runtime_error("no free folder to plant the PATH in");
}

// Three letters or digits name any of 2,900 folders.
std::string ShortName(int number) {
  constexpr std::string_view kDigits = "0123456789abcdefghijklmnopqrstuvwxyz";
  std::string name(3, '0');
  for (auto letter = name.rbegin(); letter != name.rend(); ++letter, number /= 36) {
    *letter = kDigits[static_cast<std::size_t>(number % 36)];
  }
  return name;
}

// What the least program does: every PATH entry tested and its files listed,
// in one loop on one thread; the CLASSPATH entries tested; and the copies of
// equal size that the marks tell apart read and compared.
struct FloorWork {
  std::vector<std::wstring> entries;
  std::vector<std::wstring> classpath;
  std::vector<std::pair<std::wstring, std::wstring>> sameSize;
};

bool SameBytes(const std::wstring& first, const std::wstring& second) {
  auto open = [](const std::wstring& path) {
    return CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  };
  const HANDLE one = open(first);
  const HANDLE other = open(second);
  char mine[4096];
  char theirs[4096];
  DWORD read = 0;
  DWORD readOther = 0;
  const bool same = ReadFile(one, mine, sizeof(mine), &read, nullptr) &&
                    ReadFile(other, theirs, sizeof(theirs), &readOther, nullptr) &&
                    read == readOther && std::memcmp(mine, theirs, read) == 0;
  CloseHandle(one);
  CloseHandle(other);
  return same;
}

double ListEveryFolder(const FloorWork& work) {
  const auto start = Clock::now();
  for (const std::wstring& entry : work.entries) {
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
  for (const std::wstring& entry : work.classpath) GetFileAttributesW(entry.c_str());
  for (const auto& [first, second] : work.sameSize) SameBytes(first, second);
  const double time = Milliseconds(start);
  return time;
}

std::vector<std::wstring> Entries(const std::string& list) {
  std::vector<std::wstring> entries;
  for (std::size_t start = 0; start <= list.size();) {
    const std::size_t end = std::min(list.find(';', start), list.size());
    entries.push_back(platform::WideText(list.substr(start, end - start)));
    start = end + 1;
  }
  return entries;
}

Job MarksJob(const std::string& name, double limit, const std::string& path,
             const PlantedFolders& planted, testing_support::TestPlatform& test) {
  FloorWork work{Entries(path),
                 Entries(test.Services().environment.Variable("CLASSPATH").value_or("")),
                 planted.SameSizeCopies()};
  return {"Marks settled after the window shows, " + name, limit,
          [&test, path, entries = work.entries.size()] {
            test.SetVariable("PATH", path);
            window::frmMain form(test.Services());
            form.Create(GetModuleHandleW(nullptr), SW_SHOWNOACTIVATE);
            // Shown means painted: the paint is not the marks' work.
            UpdateWindow(form.Handle());
            const auto start = Clock::now();
            // As the program's message loop does, the thread sleeps until a
            // message comes.
            for (;;) {
              Pump();
              if (form.MarksSettled()) break;
              MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_ALLINPUT);
            }
            const double time = Milliseconds(start);
            const auto shown = static_cast<std::size_t>(window::ListCount(form.Ctl().lstPath));
            form.cmdClose_Click();
            Pump();
            if (shown != entries) {
              throw std::runtime_error("the window shows " + std::to_string(shown) + " of " +
                                       std::to_string(entries) + " PATH entries");
            }
            return time;
          },
          [work] { return ListEveryFolder(work); }};
}

}  // namespace

void TimeMarks(double limit, int runs) {
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  const auto test = Prepare(Typical());
  PlantedFolders typicalFolders(std::filesystem::path(temp) /
                                ("velmora-marks-" + std::to_string(GetCurrentProcessId())));
  std::string typical;
  for (int at = 0; at < 14; ++at) {
    typical += (at == 0 ? "" : ";") +
               typicalFolders.Plant("t" + std::to_string(at), at == 0 ? 1500 : 40, at % 4 == 0);
  }
  typical += ";C:\\velmora-missing";
  // 2,900 folders, a few of them with thousands of files.
  PlantedFolders longFolders(ShortRoot(temp));
  std::string longPath;
  for (int at = 0; at < 2900; ++at) {
    longPath += (at == 0 ? "" : ";") +
                longFolders.Plant(ShortName(at), at % 1000 == 0 ? 2000 : 2, at % 10 == 0);
  }
  Compare({MarksJob("typical", limit, typical, typicalFolders, *test),
           MarksJob("2,900 entries", limit, longPath, longFolders, *test)},
          runs);
}

}  // namespace velmora::benchmarks
