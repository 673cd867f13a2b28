// The property-tree backend's camera storage: the transfer primitive over resSendFile/resRecvFile,
// camera paths built from the directories the tree names, and listings.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/sim_fixtures.h"
#include "common/testutil.h"
#include "common/transfers.h"
#include "ptree/transfer.h"

using sim::ptree::Value;
using testutil::Bytes;
using testutil::Contents;
using testutil::MemFile;
using testutil::ProgressLog;
using testutil::PTreeCamera;

namespace {

CTQVSDKPTree& Backend(const PTreeCamera& cam) { return *static_cast<CTQVSDKPTree*>(cam.handle()); }

// The camera paths of the client's file calls, in order.
std::vector<std::string> FileCalls(const PTreeCamera& cam) {
  std::vector<std::string> paths;
  for (const sim::ptree::Access& call : cam.camera().Traffic()) {
    if (call.kind != "getString" && call.kind != "verify")
      paths.push_back(call.kind + " " + call.path);
  }
  return paths;
}

std::vector<std::string> Names(const zel::TArray<tqvSDirEntry>& list) {
  std::vector<std::string> names;
  for (const tqvSDirEntry& entry : list)
    names.emplace_back(entry.fname.c_str());
  return names;
}

}  // namespace

TEST(PtreeStorage, CameraPathOfANamedFile) {
  struct Case {
    const char* directory;
    const char* name;
    const char* extension;
    const char* expected;
  };
  const Case cases[] = {
      {"/nuc/", "x", ".nuc", "/nuc/x.nuc"},
      {"/nuc", "x", ".nuc", "/nuc/x.nuc"},
      {"", "x", ".nuc", "/x.nuc"},
      {"/nuc", "ABC.NUC", ".nuc", "/nuc/ABC.NUC"},
      {"/nuc", "a.nuc.bak", ".nuc", "/nuc/a.nuc.bak.nuc"},
      {"/nuc", "nuc", ".nuc", "/nuc/nuc.nuc"},
      {"/f", "default.rsc", nullptr, "/f/default.rsc"},
  };
  for (const Case& test : cases) {
    char path[kPathSize] = "untouched";
    EXPECT_EQ(_tqvCameraPath(path, sizeof path, test.directory, test.name, test.extension), TQV_OK);
    EXPECT_STREQ(path, test.expected);
  }
  // "/d/" + name + ".nuc" takes 3 + n + 4 characters and the terminator.
  char path[16] = "untouched";
  EXPECT_EQ(_tqvCameraPath(path, sizeof path, "/d", "12345678", ".nuc"), TQV_OK);
  EXPECT_EQ(_tqvCameraPath(path, sizeof path, "/d", "123456789", ".nuc"), TQV_TOO_LARGE);
  EXPECT_STREQ(path, "/d/12345678.nuc");
  EXPECT_EQ(_tqvCameraPath(path, sizeof path, nullptr, "x", ".nuc"), TQV_INVALID_ARGUMENT);
}

TEST(PtreeStorage, EachKindUsesTheDirectoryItsPathNames) {
  PTreeCamera cam;
  sim::ptree::Camera& camera = cam.camera();
  camera.Set(".system.settings.nuc.directory", Value::Str("/n/"));
  camera.Set(".system.configurations.store.path", Value::Str("/stored"));
  camera.Set(".system.configurations.powerup.path", Value::Str("/powerup"));
  camera.Set(".system.lens.stateDir", Value::Str(""));
  camera.Set(".system.palette.directory", Value::Str("/p"));
  camera.Set(".system.configurations.factory.load.path", Value::Str("/f/"));
  camera.Set(".system.configurations.factory.load.file", Value::Str("Factory.RSC"));
  camera.ClearTraffic();

  CTQVSDKPTree& tree = Backend(cam);
  u32 size = 0;
  zel::TArray<tqvSDirEntry> list;
  EXPECT_EQ(tree.GetNUCFileInfo("a", &size, nullptr), TQV_NOT_FOUND);
  EXPECT_EQ(tree.GetStateFileInfo("b", &size, nullptr), TQV_NOT_FOUND);
  EXPECT_EQ(tree.GetLensStateFileInfo("c", &size, nullptr), TQV_NOT_FOUND);
  EXPECT_EQ(tree.GetPaletteFileInfo("D.PAL", &size, nullptr), TQV_NOT_FOUND);
  EXPECT_EQ(tree.GetFactoryDefaultStateFileInfo(&size, nullptr), TQV_NOT_FOUND);
  EXPECT_EQ(tree.DownloadState("e", MemFile(), {}), TQV_ERROR);    // missing: checked first
  EXPECT_EQ(tree.UploadLensState("f", MemFile({1}), {}), TQV_OK);  // into the root
  EXPECT_EQ(tree.DownloadFactoryDefaultState(MemFile(), {}), TQV_ERROR);
  EXPECT_EQ(tree.ListStates(list), TQV_NOT_FOUND);
  EXPECT_EQ(tree.GetFileInfo("/any/path.x", &size, nullptr), TQV_NOT_FOUND);
  EXPECT_EQ(
      FileCalls(cam),
      (std::vector<std::string>{
          "fileInfo /n/a.nuc", "fileInfo /stored/b.rsc", "fileInfo /c.lens", "fileInfo /p/D.PAL",
          "fileInfo /f/Factory.RSC", "fileExists /stored/e.rsc", "send /f.lens",
          "fileExists /f/Factory.RSC", "dirOpen /stored", "fileInfo /any/path.x"}));
}

TEST(PtreeStorage, PalettesFallBackToTheFixedDirectory) {
  PTreeCamera cam;
  cam.camera().Remove(".system.palette.directory");
  u32 size = 0;
  u64 time = 0;
  ASSERT_EQ(Backend(cam).GetPaletteFileInfo("iron", &size, &time), TQV_OK);
  EXPECT_EQ(size, 768u);
  sim::ptree::FileInfo info{};
  ASSERT_EQ(cam.camera().Files().Info("/FlashFS/system/palettes/iron.pal", &info), TQV_OK);
  EXPECT_EQ(time, info.time);
  zel::TArray<tqvSDirEntry> list;
  ASSERT_EQ(Backend(cam).ListPalettes(list), TQV_OK);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"iron", "grey"}));
}

TEST(PtreeStorage, NoFileCallWhenTheDirectoryOrThePathFails) {
  PTreeCamera cam;
  CTQVSDKPTree& tree = Backend(cam);
  zel::TArray<tqvSDirEntry> list;
  cam.camera().InjectFault(".system.settings.nuc.directory", TQV_FAILED, 3);
  EXPECT_EQ(tree.GetNUCFileInfo("office", nullptr, nullptr), TQV_FAILED);
  EXPECT_EQ(tree.DownloadNUC("office", MemFile(), {}), TQV_FAILED);
  EXPECT_EQ(tree.ListNUCs(list), TQV_FAILED);
  const std::string longName(600, 'n');
  EXPECT_EQ(tree.UploadNUC(longName.c_str(), MemFile({1}), {}), TQV_TOO_LARGE);
  EXPECT_EQ(tree.DownloadNUC(nullptr, MemFile(), {}), TQV_INVALID_ARGUMENT);
  EXPECT_EQ(tree.DownloadNUC("office", {}, {}), TQV_INVALID_ARGUMENT);
  EXPECT_TRUE(FileCalls(cam).empty());
}

TEST(PtreeStorage, KindListingsCutNamesAtTheLastDotDirectoryListingKeepsThem) {
  PTreeCamera cam;
  CTQVSDKPTree& tree = Backend(cam);
  sim::ptree::FileStore& files = cam.camera().Files();
  ASSERT_EQ(files.SetAttributes("/FlashFS/nuc/lab.v2.nuc", 0x21), TQV_OK);
  zel::TArray<tqvSDirEntry> list;
  list.Add(tqvSDirEntry{"stale", 0, 0, 0});
  ASSERT_EQ(tree.ListNUCs(list), TQV_OK);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"office", "lab.v2"}));  // the camera's order
  EXPECT_EQ(list[1].size, 5000u);
  EXPECT_EQ(list[1].attrib, 0x21);
  sim::ptree::FileInfo info{};
  ASSERT_EQ(files.Info("/FlashFS/nuc/office.nuc", &info), TQV_OK);
  EXPECT_EQ(list[0].timeLastModified, info.time);

  ASSERT_EQ(tree.ListDir("/FlashFS", list), TQV_OK);
  const std::vector<std::string> whole = Names(list);
  EXPECT_EQ(whole, files.Names("/FlashFS"));
  EXPECT_NE(std::find(whole.begin(), whole.end(), "notes.txt"), whole.end());
  ASSERT_EQ(tree.ListStates(list), TQV_OK);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"power-up", "bench"}));
  ASSERT_EQ(tree.ListLensStates(list), TQV_OK);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"25mm"}));

  std::vector<std::string> patterns;
  for (const sim::ptree::Access& call : cam.camera().Traffic()) {
    if (call.kind == "dirOpen") patterns.push_back(call.path + " " + call.value);
  }
  EXPECT_EQ(patterns, (std::vector<std::string>{"/FlashFS/nuc *.nuc", "/FlashFS *",
                                                "/FlashFS/states *.rsc", "/FlashFS/lens *.lens"}));

  cam.camera().InjectFault("/FlashFS/nuc", TQV_ACCESS_DENIED, 1, "dirOpen");
  EXPECT_EQ(tree.ListNUCs(list), TQV_ACCESS_DENIED);
  EXPECT_EQ(list.GetCount(), 0u);
  EXPECT_EQ(tree.ListDir("/FlashFS/none", list), TQV_NOT_FOUND);
  EXPECT_EQ(tree.ListDir(nullptr, list), TQV_INVALID_ARGUMENT);
}

TEST(PtreeTransfer, DownloadChecksTheFileThenReceivesItInChunks) {
  PTreeCamera cam;
  cam.camera().SetChunkSize(1000);
  const Bytes data = testutil::RandomBytes(2500, 4);
  ASSERT_EQ(cam.camera().Files().Put("/FlashFS/x.bin", data), TQV_OK);
  ProgressLog progress;
  auto file = MemFile();
  ASSERT_EQ(resDownload(cam.tree(), "/FlashFS/x.bin", file, progress.Delegate()), TQV_OK);
  EXPECT_EQ(Contents(file), data);
  EXPECT_EQ(progress.calls, (ProgressLog::Calls{{1000, 2500}, {2000, 2500}, {2500, 2500}}));
  EXPECT_EQ(FileCalls(cam),
            (std::vector<std::string>{"fileExists /FlashFS/x.bin", "recv /FlashFS/x.bin"}));

  cam.camera().ClearTraffic();
  EXPECT_EQ(resDownload(cam.tree(), "/FlashFS/none.bin", MemFile(), progress.Delegate()),
            TQV_ERROR);
  EXPECT_EQ(cam.camera().Count("recv"), 0u);

  cam.camera().FailTransferChunk(1, TQV_FAILED);
  EXPECT_EQ(resDownload(cam.tree(), "/FlashFS/x.bin", MemFile(), {}), TQV_FAILED);
  file = MemFile();
  EXPECT_EQ(resDownload(cam.tree(), "/FlashFS/x.bin", file, {}), TQV_OK);
  EXPECT_EQ(Contents(file), data);
}

TEST(PtreeTransfer, UploadSendsTheWholeHostFile) {
  PTreeCamera cam;
  cam.camera().SetChunkSize(1000);
  const Bytes data = testutil::RandomBytes(2500, 5);
  ProgressLog progress;
  ASSERT_EQ(resUpload(cam.tree(), "/FlashFS/up.bin", MemFile(data), progress.Delegate()), TQV_OK);
  EXPECT_EQ(cam.camera().Files().Data("/FlashFS/up.bin"), data);
  EXPECT_EQ(progress.calls, (ProgressLog::Calls{{1000, 2500}, {2000, 2500}, {2500, 2500}}));
  EXPECT_EQ(cam.camera().Traffic().back().value, "2500");  // the size announced

  // A chunk the camera refuses leaves the old file as it was.
  cam.camera().FailTransferChunk(2, TQV_TOO_LARGE);
  EXPECT_EQ(resUpload(cam.tree(), "/FlashFS/up.bin", MemFile(Bytes(2500, 1)), {}), TQV_TOO_LARGE);
  EXPECT_EQ(cam.camera().Files().Data("/FlashFS/up.bin"), data);

  progress.calls.clear();
  ASSERT_EQ(resUpload(cam.tree(), "/FlashFS/up.bin", MemFile(), progress.Delegate()), TQV_OK);
  EXPECT_EQ(cam.camera().Files().Data("/FlashFS/up.bin"), Bytes{});
  EXPECT_TRUE(progress.calls.empty());
}

TEST(PtreeTransfer, CallbacksSeekToAbsoluteOffsetsAndAlwaysSucceed) {
  zel::CMemFile file;
  EXPECT_EQ(res_ifile_write(4, "ef", 2, &file), TQV_OK);
  EXPECT_EQ(res_ifile_write(0, "abcd", 4, &file), TQV_OK);
  char read[4] = {};
  EXPECT_EQ(res_ifile_read(2, read, 3, &file), TQV_OK);
  EXPECT_STREQ(read, "cde");
  EXPECT_EQ(res_ifile_read(5, read, 3, &file), TQV_OK);  // short: whatever the buffer holds
  EXPECT_EQ(read[0], 'f');

  ProgressLog progress;
  progress.answer = 7;
  CProgressAdapter adapter(progress.Delegate());
  EXPECT_EQ(res_progress(3, 9, &adapter), 7);
  EXPECT_EQ(progress.calls, (ProgressLog::Calls{{3, 9}}));
}
