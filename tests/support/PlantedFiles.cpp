#include "support/PlantedFiles.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <utility>

#include "support/WideText.h"
#include "text/Text.h"

namespace velmora::testing_support {

constexpr const wchar_t* kRecordVariable = L"VELMORA_RECORD";

std::string ProgramFolder() {
  std::wstring path(32768, L'\0');
  const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(length);
  return Utf8Of(path.substr(0, path.rfind(L'\\')));
}

PlantedFile::PlantedFile(const std::string& from, std::string to) : path_(std::move(to)) {
  if (!CopyFileW(Utf16Of(from).c_str(), Utf16Of(path_).c_str(), FALSE)) {
    throw std::runtime_error("cannot plant " + path_ + " (error " + std::to_string(GetLastError()) +
                             ")");
  }
}

PlantedFile::~PlantedFile() {
  DeleteFileW(Utf16Of(path_).c_str());
}

CurrentFolderChange::CurrentFolderChange(const std::string& folder)
    : previous_(std::filesystem::current_path().wstring()) {
  if (!SetCurrentDirectoryW(Utf16Of(folder).c_str())) {
    throw std::runtime_error("cannot change into " + folder);
  }
}

CurrentFolderChange::~CurrentFolderChange() {
  SetCurrentDirectoryW(previous_.c_str());
}

StartRecorder::StartRecorder(std::string recordFile) : recordFile_(std::move(recordFile)) {
  SetEnvironmentVariableW(kRecordVariable, Utf16Of(recordFile_).c_str());
}

StartRecorder::~StartRecorder() {
  SetEnvironmentVariableW(kRecordVariable, nullptr);
}

std::string StartRecorder::Program() {
  return ProgramFolder() + "\\command_line_recorder.exe";
}

std::vector<StartRecord> StartRecorder::WaitFor(std::size_t count) const {
  std::vector<StartRecord> records;
  // A started program may take a while under a loaded machine; this bounds a
  // wait for one that never comes, it measures nothing.
  for (int attempt = 0; attempt < 300; ++attempt) {
    records.clear();
    std::ifstream file(std::filesystem::path(Utf16Of(recordFile_)), std::ios::binary);
    for (std::string line; std::getline(file, line);) {
      const std::size_t tab = line.find('\t');
      if (tab == std::string::npos) continue;
      records.push_back(StartRecord{line.substr(0, tab), line.substr(tab + 1)});
    }
    if (records.size() >= count) break;
    Sleep(100);
  }
  return records;
}

bool SamePath(const std::string& a, const std::string& b) {
  return text::EqualsNoCase(a, b);
}

}  // namespace velmora::testing_support
