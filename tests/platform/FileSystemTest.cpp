// The file-system double answers as the real file system does: the same
// suite runs against the double and against real files (the Win32 binding
// under Wine, the POSIX one natively).
#include <memory>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "platform/FakePlatform.h"
#include "platform/Platform.h"
#include "support/ScratchFolder.h"

namespace {

using platform::FileHandle;
using platform::kErrorSuccess;

enum class Files { kDouble, kReal };

// A folder to work in, on either file system, and a way to look at it that
// does not go through the binding under test.
class Place {
 public:
  virtual ~Place() = default;
  virtual platform::FileSystemApi& Api() = 0;
  [[nodiscard]] virtual std::string Join(const std::string& name) const = 0;
  virtual void MakeFolder(const std::string& name) = 0;
  virtual void MakeFile(const std::string& name, const std::string& content) = 0;
  [[nodiscard]] virtual std::optional<std::string> Read(const std::string& name) = 0;
};

class DoublePlace final : public Place {
 public:
  DoublePlace() { files_.AddFolder(kRoot); }
  platform::FileSystemApi& Api() override { return files_; }
  std::string Join(const std::string& name) const override { return kRoot + "\\" + name; }
  void MakeFolder(const std::string& name) override { files_.AddFolder(Join(name)); }
  void MakeFile(const std::string& name, const std::string& content) override {
    files_.AddFile(Join(name), content);
  }
  std::optional<std::string> Read(const std::string& name) override {
    return files_.Content(Join(name));
  }

 private:
  inline static const std::string kRoot = "C:\\Scratch";
  platform::FakeFileSystem files_;
};

class RealPlace final : public Place {
 public:
  platform::FileSystemApi& Api() override { return testing_support::RealFileSystem(); }
  std::string Join(const std::string& name) const override { return folder_.Join(name); }
  void MakeFolder(const std::string& name) override { folder_.MakeFolder(name); }
  void MakeFile(const std::string& name, const std::string& content) override {
    folder_.MakeFile(name, content);
  }
  std::optional<std::string> Read(const std::string& name) override { return folder_.Read(name); }

 private:
  testing_support::ScratchFolder folder_;
};

class FileSystem : public ::testing::TestWithParam<Files> {
 protected:
  void SetUp() override {
    place_ = GetParam() == Files::kDouble ? std::unique_ptr<Place>(std::make_unique<DoublePlace>())
                                          : std::make_unique<RealPlace>();
  }

  Place& At() { return *place_; }
  platform::FileSystemApi& Api() { return place_->Api(); }

  // Writes a new file whole through the binding: create, write, flush, close.
  std::int32_t WriteNew(const std::string& name, const std::string& bytes) {
    FileHandle file = 0;
    if (const auto status = Api().CreateNew(At().Join(name), &file); status != kErrorSuccess) {
      return status;
    }
    std::int32_t status = Api().Write(file, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    if (status == kErrorSuccess) status = Api().Flush(file);
    const std::int32_t closed = Api().Close(file);
    return status != kErrorSuccess ? status : closed;
  }

 private:
  std::unique_ptr<Place> place_;
};

TEST_P(FileSystem, AttributesTellFilesFromFoldersAndNothing) {
  At().MakeFolder("folder");
  At().MakeFile("file.txt", "x");
  const std::uint32_t folder = Api().FileAttributes(At().Join("folder"));
  const std::uint32_t file = Api().FileAttributes(At().Join("file.txt"));
  ASSERT_NE(folder, platform::kInvalidFileAttributes);
  EXPECT_NE(folder & platform::kFileAttributeDirectory, 0u);
  ASSERT_NE(file, platform::kInvalidFileAttributes);
  EXPECT_EQ(file & platform::kFileAttributeDirectory, 0u);
  EXPECT_EQ(Api().FileAttributes(At().Join("missing")), platform::kInvalidFileAttributes);
  EXPECT_EQ(Api().FileAttributes(At().Join("missing") + "/deeper"),
            platform::kInvalidFileAttributes);
  EXPECT_EQ(Api().FileAttributes(""), platform::kInvalidFileAttributes);
}

TEST_P(FileSystem, ANewFileHoldsExactlyItsBytes) {
  const std::string bytes("\xFF\xFE\r\n\0tail", 9);
  ASSERT_EQ(WriteNew("new.bin", bytes), kErrorSuccess);
  EXPECT_EQ(At().Read("new.bin"), bytes);
}

TEST_P(FileSystem, ATakenNameIsRefusedAndKeepsItsFile) {
  At().MakeFile("taken.txt", "before");
  EXPECT_EQ(WriteNew("taken.txt", "after"), platform::kErrorFileExists);
  EXPECT_EQ(At().Read("taken.txt"), "before");
}

TEST_P(FileSystem, NothingIsCreatedInAMissingFolder) {
  EXPECT_NE(WriteNew("missing/new.txt", "x"), kErrorSuccess);
  EXPECT_EQ(Api().FileAttributes(At().Join("missing")), platform::kInvalidFileAttributes);
}

TEST_P(FileSystem, MovingPutsTheFileInTheOthersPlaceInOneStep) {
  At().MakeFile("old.txt", "old");
  At().MakeFile("new.txt", "new");
  ASSERT_EQ(Api().MoveReplacing(At().Join("new.txt"), At().Join("old.txt")), kErrorSuccess);
  EXPECT_EQ(At().Read("old.txt"), "new");
  EXPECT_EQ(At().Read("new.txt"), std::nullopt);
  // Into a place that does not exist, nothing moves.
  EXPECT_NE(Api().MoveReplacing(At().Join("old.txt"), At().Join("missing/old.txt")), kErrorSuccess);
  EXPECT_EQ(At().Read("old.txt"), "new");
}

TEST_P(FileSystem, RemovingTakesTheFileAndFailsWhenThereIsNone) {
  At().MakeFile("gone.txt", "x");
  EXPECT_EQ(Api().Remove(At().Join("gone.txt")), kErrorSuccess);
  EXPECT_EQ(At().Read("gone.txt"), std::nullopt);
  EXPECT_NE(Api().Remove(At().Join("gone.txt")), kErrorSuccess);
}

std::string FilesName(const ::testing::TestParamInfo<Files>& files) {
  return files.param == Files::kDouble ? "Double" : "Real";
}

INSTANTIATE_TEST_SUITE_P(, FileSystem, ::testing::Values(Files::kDouble, Files::kReal), FilesName);

}  // namespace
