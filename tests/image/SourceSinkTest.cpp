#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ImageTestSupport.h"
#include "image/codec/io/PLFileSink.h"
#include "image/codec/io/PLFileSource.h"
#include "image/codec/io/PLMemSource.h"
#include "support/Bytes.h"

namespace vornel {
namespace {

using testing::CodeOf;

class RecordedProgress : public IProgressNotification {
 public:
  std::vector<double> parts;
  void OnProgress(double part) override { parts.push_back(part); }
};

TEST(DataSource, ReadsAreCountedAgainstTheSize) {
  const std::vector<uint8_t> data(10, 7);
  PLMemSource source;
  ASSERT_EQ(source.Open(data.data(), 10), 0);
  EXPECT_EQ(source.GetName(), "Mem");
  EXPECT_EQ(source.ReadNBytes(4), data.data());
  EXPECT_EQ(CodeOf([&] { source.ReadNBytes(7); }), 11);
  EXPECT_EQ(CodeOf([&] { source.ReadNBytes(-1); }), 2);
  EXPECT_EQ(source.GetBytesRead(), 4);  // refused reads consume nothing
  EXPECT_EQ(source.ReadNBytes(6), data.data() + 4);
  EXPECT_EQ(source.GetBytesLeft(), 0);
  EXPECT_EQ(source.ReadNBytes(0), data.data() + 10);
  EXPECT_EQ(CodeOf([&] { source.ReadByte(); }), 11);
}

TEST(DataSource, ProgressIsReportedOncePerKibibyteAndOnClose) {
  std::vector<uint8_t> data(4000);
  RecordedProgress progress;
  PLFileSource source(&progress);
  testing::TempDir dir;
  testing::WriteText(dir.File("data"), std::string(4000, 'x'));
  ASSERT_EQ(source.Open(dir.File("data")), 0);
  source.ReadNBytes(1000);
  source.ReadNBytes(1000);
  ASSERT_EQ(progress.parts.size(), 1u);
  EXPECT_DOUBLE_EQ(progress.parts[0], 0.5);
  source.Close();
  EXPECT_EQ(progress.parts.back(), 1.0);
}

TEST(FileSource, OpenSaysWhyAFileCannotBeRead) {
  testing::TempDir dir;
  testing::WriteText(dir.File("image.bmp"), "BM");
  testing::WriteText(dir.File("empty"), "");
  ASSERT_EQ(::mkfifo(dir.File("pipe").c_str(), 0600), 0);
  const struct {
    std::string path;
    int code;
  } cases[] = {
      {dir.File("image.bmp"), 0},
      {dir.File("empty"), 0},
      {dir.File("missing.bmp"), 4},
      {dir.File("no-folder/missing.bmp"), 3},
      {dir.path(), 4},
      {dir.File("pipe"), 4},  // refused without waiting for a writer
  };
  for (const auto& c : cases) {
    PLFileSource source;
    EXPECT_EQ(source.Open(c.path), c.code) << c.path;
  }
  PLFileSource source;
  ASSERT_EQ(source.Open(dir.File("image.bmp")), 0);
  EXPECT_EQ(source.GetName(), dir.File("image.bmp"));
  EXPECT_EQ(source.ReadLE16(), 0x4D42);
  ASSERT_EQ(source.Open(dir.File("empty")), 0);  // opening again lets the first file go
  EXPECT_EQ(source.GetBytesLeft(), 0);

  if (::geteuid() != 0) {  // the super-user reads every file
    ::chmod(dir.File("image.bmp").c_str(), 0);
    PLFileSource locked;
    EXPECT_EQ(locked.Open(dir.File("image.bmp")), 5);
  }
}

TEST(FileSink, WritesWhatWasWrittenWhenClosed) {
  testing::TempDir dir;
  const std::string path = dir.File("out.jpg");
  testing::WriteText(path, "old");
  PLFileSink sink;
  ASSERT_EQ(sink.Open(path, 4), 0);
  EXPECT_EQ(sink.WriteNBytes(3, reinterpret_cast<const uint8_t*>("new")), 3);
  // Beyond the maximum nothing of the request is written.
  EXPECT_EQ(CodeOf([&] { sink.WriteNBytes(2, reinterpret_cast<const uint8_t*>("xy")); }), 11);
  EXPECT_EQ(testing::ReadText(path), "old");  // nothing reaches the file before Close
  sink.Close();
  EXPECT_EQ(testing::ReadText(path), "new");

  PLFileSink empty;
  ASSERT_EQ(empty.Open(dir.File("empty.jpg"), 100), 0);
  empty.Close();
  struct stat info {};
  ASSERT_EQ(::stat(dir.File("empty.jpg").c_str(), &info), 0);
  EXPECT_EQ(info.st_size, 0);

  PLFileSink nowhere;
  EXPECT_EQ(nowhere.Open(dir.File("no-folder/out.jpg"), 100), -1);
}

}  // namespace
}  // namespace vornel
