// Camera files through tqv: transfers that keep every byte, listings, removal, and the progress
// display a person sees at a terminal.
#include <gtest/gtest.h>

#include <filesystem>

#include "tool.h"

namespace clitest {
namespace {

class FilesOnEachCamera : public testing::TestWithParam<std::string> {};
INSTANTIATE_TEST_SUITE_P(Cli, FilesOnEachCamera, testing::ValuesIn(Addresses()),
                         [](const auto& info) {
                           return info.param == "sim" ? "ptree" : "genicam";
                         });

TEST_P(FilesOnEachCamera, UploadThenDownloadKeepsEveryByte) {
  testutil::TempDir dir;
  const std::string& camera = GetParam();
  struct Case {
    std::string kind, cameraName, listed;
    std::size_t size;
  };
  const std::vector<Case> cases = {
      {"file", "/FlashFS/big.bin", "big.bin", 300000},  // many chunks
      {"nuc", "cal1", "cal1", 9000},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.kind + " " + std::to_string(test.size));
    const std::vector<zel::u8> bytes = testutil::RandomBytes(test.size, 7);
    const std::string source = dir.File("source-" + test.listed);
    const std::string back = dir.File("back-" + test.listed);
    testutil::WriteFile(source, bytes);
    const std::string kind = " --kind " + test.kind;
    const std::string listing = test.kind == "file" ? "ls " + camera + " /FlashFS --json"
                                                    : "ls " + camera + kind + " --json";
    const Outcome run =
        Tool({"batch"}, "upload " + camera + kind + " -q " + source + " " + test.cameraName + "\n" +
                            listing + "\ndownload " + camera + kind + " -q " + test.cameraName +
                            " " + back + "\n");
    ASSERT_EQ(run.exit, 0) << run.err;
    EXPECT_EQ(testutil::ReadFile(back), bytes);
    const Json entries = Json::parse(run.out);
    const auto entry = std::find_if(entries.begin(), entries.end(),
                                    [&](const Json& e) { return e["name"] == test.listed; });
    ASSERT_NE(entry, entries.end()) << run.out;
    EXPECT_EQ((*entry)["size"], test.size);
  }
}

TEST_P(FilesOnEachCamera, DownloadNamesTheHostFileAfterTheCameraFile) {
  testutil::TempDir dir;
  ASSERT_EQ(ToolOnTerminal({"download", GetParam(), "--kind", "nuc", "office"}, dir.path()).exit,
            0);
  EXPECT_EQ(std::filesystem::file_size(dir.File("office.nuc")), 1300u);
  const Outcome failed = Tool({"download", GetParam(), "/FlashFS/none.bin", dir.File("none.bin")});
  EXPECT_NE(failed.exit, 0);
  EXPECT_FALSE(std::filesystem::exists(dir.File("none.bin"))) << "no half-written file is left";
}

TEST_P(FilesOnEachCamera, ListShowsKindSizeAndNameAndRemoveTakesFilesAndEmptyDirectories) {
  const std::string& camera = GetParam();
  const Outcome listing = Tool({"ls", camera, "/FlashFS"});
  ASSERT_EQ(listing.exit, 0) << listing.err;
  EXPECT_NE(listing.out.find("d          0  "), std::string::npos) << listing.out;
  EXPECT_NE(listing.out.find("-         24  "), std::string::npos) << listing.out;
  EXPECT_NE(listing.out.find("  empty/\n"), std::string::npos) << listing.out;
  EXPECT_NE(listing.out.find("  notes.txt\n"), std::string::npos) << listing.out;
  const Outcome run =
      Tool({"batch"}, "rm " + camera + " /FlashFS/notes.txt\n" + "rm " + camera +
                          " --dir /FlashFS/empty\n" + "ls " + camera + " /FlashFS --json\n");
  ASSERT_EQ(run.exit, 0) << run.err;
  const Json entries = Json::parse(run.out);
  ASSERT_FALSE(entries.empty());
  for (const Json& entry : entries) {
    EXPECT_NE(entry["name"], "notes.txt");
    EXPECT_NE(entry["name"], "empty");
  }
  EXPECT_EQ(Tool({"rm", camera, "/FlashFS/notes.txt", "--kind", "nuc", "--dir"}).exit, 2);
}

// The bar a person sees: redrawn in place with carriage returns, ending full at 100%.
TEST_P(FilesOnEachCamera, ProgressBarOnATerminalEndsAt100Percent) {
  testutil::TempDir dir;
  testutil::WriteFile(dir.File("up.bin"), testutil::RandomBytes(200000, 3));
  const Outcome run =
      ToolOnTerminal({"upload", GetParam(), "up.bin", "/FlashFS/up.bin"}, dir.path());
  ASSERT_EQ(run.exit, 0) << run.out;
  const std::string& screen = run.out;
  EXPECT_GT(std::count(screen.begin(), screen.end(), '\r'), 2) << "redrawn in place";
  const std::size_t last = screen.rfind("up.bin [");
  ASSERT_NE(last, std::string::npos) << screen;
  const std::string bar = screen.substr(last, screen.find(']', last) - last);
  EXPECT_EQ(bar.find('.', 8), std::string::npos) << "the last bar is full: " << bar;
  EXPECT_NE(screen.find("100% 200000/200000 B", last), std::string::npos) << screen;
  EXPECT_NE(screen.find("up.bin [#", 0), std::string::npos);

  // Without a terminal: plain lines, at most one per tenth.
  const Outcome plain = Tool({"upload", GetParam(), dir.File("up.bin"), "/FlashFS/up.bin"});
  ASSERT_EQ(plain.exit, 0) << plain.err;
  EXPECT_EQ(plain.err.find('\r'), std::string::npos);
  EXPECT_LE(std::count(plain.err.begin(), plain.err.end(), '\n'), 11);
  EXPECT_NE(plain.err.find("up.bin: 100% 200000/200000 B\n"), std::string::npos) << plain.err;
}

}  // namespace
}  // namespace clitest
