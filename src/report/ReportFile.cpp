#include "report/ReportFile.h"

#include <algorithm>
#include <cstdint>

#include "text/Text.h"
#include "platform/Failure.h"

namespace velmora::report {
namespace {

using platform::FileHandle;
using platform::FileSystemApi;

constexpr std::size_t kChunk = 64 * 1024;
constexpr int kMaxNameAttempts = 100;

[[noreturn]] void Fail(FileSystemApi& files, std::int32_t code) {
  throw platform::Failure(code, files.ErrorText(code));
}

// A file being written beside the target. Unless it is handed over, it is
// closed and removed when it goes out of scope, whatever path that takes.
class PendingFile {
 public:
  PendingFile(FileSystemApi& files, const std::string& target) : files_(files) {
    for (int attempt = 1; attempt <= kMaxNameAttempts; ++attempt) {
      path_ = target + ".~" + std::to_string(attempt) + ".tmp";
      const std::int32_t status = files_.CreateNew(path_, &file_);
      if (status == platform::kErrorSuccess) return;
      if (status != platform::kErrorFileExists) Fail(files_, status);
    }
    Fail(files_, platform::kErrorFileExists);
  }

  ~PendingFile() {
    CloseOnce();
    if (!handedOver_) (void)files_.Remove(path_);
  }

  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  void Write(std::string_view bytes) {
    for (std::size_t at = 0; at < bytes.size(); at += kChunk) {
      const std::size_t size = std::min(kChunk, bytes.size() - at);
      Check(files_.Write(file_, bytes.data() + at, static_cast<std::uint32_t>(size)));
    }
  }

  void Finish(const std::string& target) {
    Check(files_.Flush(file_));
    Check(CloseOnce());
    Check(files_.MoveReplacing(path_, target));
    handedOver_ = true;
  }

 private:
  std::int32_t CloseOnce() {
    if (!open_) return platform::kErrorSuccess;
    open_ = false;
    return files_.Close(file_);
  }

  void Check(std::int32_t status) {
    if (status != platform::kErrorSuccess) Fail(files_, status);
  }

  FileSystemApi& files_;
  std::string path_;
  FileHandle file_ = 0;
  bool open_ = true;
  bool handedOver_ = false;
};

}  // namespace

std::string EncodeReport(std::string_view text) {
  const std::u16string wide = text::Utf8ToUtf16(text);
  std::string bytes(2 + wide.size() * 2, '\0');
  bytes[0] = '\xFF';
  bytes[1] = '\xFE';
  char* out = bytes.data() + 2;
  for (const char16_t unit : wide) {
    *out++ = static_cast<char>(unit & 0xFF);
    *out++ = static_cast<char>(unit >> 8);
  }
  return bytes;
}

void WriteWholeFile(FileSystemApi& files, const std::string& path, std::string_view bytes) {
  PendingFile pending(files, path);
  pending.Write(bytes);
  pending.Finish(path);
}

}  // namespace velmora::report
