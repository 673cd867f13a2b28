// The framework's files, delegates, texts and logger (its sleep hook is what every test's
// testutil::SleepRecorder stands on).
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "common/testutil.h"
#include "zel/zel.h"

TEST(ZelFile, WriteModeCreatesAndTruncatesReadModeReadsFromTheStart) {
  testutil::TempDir dir;
  const std::string path = dir.File("host.bin");
  EXPECT_FALSE(zel::fileSystem().Open(path.c_str(), 18));  // read: the file must exist

  {
    auto file = zel::fileSystem().Open(path.c_str(), 40);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->Write("0123456789", 10), 10u);
    ASSERT_TRUE(file->Seek(2, zel::kSeekBegin));
    EXPECT_EQ(file->Write("ab", 2), 2u);
    EXPECT_EQ(file->GetLength(), 10u);
  }
  {
    auto file = zel::fileSystem().Open(path.c_str(), 18);
    ASSERT_TRUE(file);
    char text[11] = {};
    EXPECT_EQ(file->Read(text, 10), 10u);
    EXPECT_STREQ(text, "01ab456789");
    EXPECT_EQ(file->Read(text, 10), 0u);
  }
  {
    auto file = zel::fileSystem().Open(path.c_str(), 40);  // truncates
    ASSERT_TRUE(file);
    EXPECT_EQ(file->GetLength(), 0u);
  }
  EXPECT_FALSE(zel::fileSystem().Open(dir.File("missing/dir/x").c_str(), 40));
  EXPECT_FALSE(zel::fileSystem().Open(nullptr, 18));
}

TEST(ZelMemFile, ReadsWritesAndSeeksInMemory) {
  zel::CMemFile file;
  EXPECT_EQ(file.Write("hello", 5), 5u);
  ASSERT_TRUE(file.Seek(8, zel::kSeekBegin));
  EXPECT_EQ(file.Write("!", 1), 1u);  // past the end: the gap is zero-filled
  EXPECT_EQ(file.GetLength(), 9u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(file.GetData()), 9),
            std::string("hello\0\0\0!", 9));
  EXPECT_FALSE(file.Seek(-1, zel::kSeekBegin));
  ASSERT_TRUE(file.Seek(-4, zel::kSeekEnd));
  char tail[8] = {};
  EXPECT_EQ(file.Read(tail, sizeof tail), 4u);
  zel::CMemFile copy("abc", 3);
  EXPECT_EQ(copy.GetLength(), 3u);
}

namespace {
struct Counter {
  int Add(zel::u32 done, zel::u32 total) {
    calls += 1;
    last = done * 1000 + total;
    return 7;
  }
  int calls = 0;
  zel::u32 last = 0;
};
}  // namespace

TEST(ZelDelegate, CallsMethodsAndCallables) {
  zel::delegate<int(zel::u32, zel::u32)> empty;
  EXPECT_FALSE(empty);

  Counter counter;
  auto method =
      zel::delegate<int(zel::u32, zel::u32)>::FromMethod<Counter, &Counter::Add>(&counter);
  ASSERT_TRUE(method);
  EXPECT_EQ(method(3, 4), 7);
  EXPECT_EQ(counter.last, 3004u);

  int sum = 0;
  auto lambda = [&sum](zel::u32 done, zel::u32 total) {
    return sum += static_cast<int>(done + total);
  };
  auto callable = zel::delegate<int(zel::u32, zel::u32)>::FromCallable(&lambda);
  EXPECT_EQ(callable(1, 2), 3);
  EXPECT_EQ(callable(1, 2), 6);
}

TEST(ZelText, FormatsAndCopies) {
  EXPECT_STREQ(zel::to_string(true).c_str(), "true");
  EXPECT_STREQ(zel::to_string(-42).c_str(), "-42");
  EXPECT_STREQ(zel::to_string(1.5).c_str(), "1.500000");
  const std::string long_text(1000, 'x');
  EXPECT_EQ(zel::strprintf("%s-%d", long_text.c_str(), 5).length(), 1002u);
  char* copy = zelStrDup("copy");
  ASSERT_NE(copy, nullptr);
  EXPECT_STREQ(copy, "copy");
  zel::Free(copy);
  EXPECT_EQ(zelStrDup(nullptr), nullptr);
}

TEST(ZelLog, SinkCapturesLinesLongOnesWhole) {
  testutil::LogCapture capture;
  zel::logger().WriteLine("line %d", 1);
  const std::string long_text(2000, 'y');
  zel::logger().WriteLine("%s", long_text.c_str());
  auto lines = capture.Lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "line 1");
  EXPECT_EQ(lines[1], long_text);
}
