// The property-tree backend's camera storage: the transfer primitive over resSendFile/resRecvFile,
// camera paths built from the directories the tree names, listings, and the stored configurations
// (names and their rules, time-outs, the cache, the correction file query, calibration tables,
// every step of every operation failed in turn).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "common/fault_sweep.h"
#include "common/sim_fixtures.h"
#include "common/stored_files.h"
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
  camera.Set(".system.settings.configurations.store.path", Value::Str("/other"));
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
  // States are found where they are listed, and deleted and renamed where the power-up state
  // lives.
  tqvStateExists(cam.handle(), "g");
  tqvDeleteState(cam.handle(), "h");
  tqvRenameState(cam.handle(), "i", "j");
  EXPECT_EQ(
      FileCalls(cam),
      (std::vector<std::string>{
          "fileInfo /n/a.nuc", "fileInfo /stored/b.rsc", "fileInfo /c.lens", "fileInfo /p/D.PAL",
          "fileInfo /f/Factory.RSC", "fileExists /stored/e.rsc", "send /f.lens",
          "fileExists /f/Factory.RSC", "dirOpen /stored", "fileInfo /any/path.x",
          "fileExists /stored/g.rsc", "deleteFile /powerup/h.rsc", "renameFile /powerup/i.rsc"}));
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
  EXPECT_EQ(Names(list), files.Names("/FlashFS"));  // whole: "notes.txt" keeps its extension
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
}

TEST(PtreeTransfer, ChunksReportProgressAndARefusedChunkFailsTheTransfer) {
  PTreeCamera cam;
  cam.camera().SetChunkSize(1000);
  const Bytes data = testutil::RandomBytes(2500, 4);
  ProgressLog up, down;
  ASSERT_EQ(resUpload(cam.tree(), "/FlashFS/x.bin", MemFile(data), up.Delegate()), TQV_OK);
  auto file = MemFile();
  ASSERT_EQ(resDownload(cam.tree(), "/FlashFS/x.bin", file, down.Delegate()), TQV_OK);
  EXPECT_EQ(Contents(file), data);
  const ProgressLog::Calls chunks{{1000, 2500}, {2000, 2500}, {2500, 2500}};
  EXPECT_EQ(up.calls, chunks);
  EXPECT_EQ(down.calls, chunks);

  // A missing file is not asked for; a refused chunk leaves the camera's file as it was.
  cam.camera().ClearTraffic();
  EXPECT_EQ(resDownload(cam.tree(), "/FlashFS/none.bin", MemFile(), {}), TQV_ERROR);
  EXPECT_EQ(cam.camera().Count("recv"), 0u);
  cam.camera().FailTransferChunk(1, TQV_FAILED);
  EXPECT_EQ(resDownload(cam.tree(), "/FlashFS/x.bin", MemFile(), {}), TQV_FAILED);
  cam.camera().FailTransferChunk(2, TQV_TOO_LARGE);
  EXPECT_EQ(resUpload(cam.tree(), "/FlashFS/x.bin", MemFile(Bytes(2500, 1)), {}), TQV_TOO_LARGE);
  EXPECT_EQ(cam.camera().Files().Data("/FlashFS/x.bin"), data);
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

// --- Stored configurations -----------------------------------------------------------------------

namespace {

// Successful writes of string paths ("path=value"), in order.
std::vector<std::string> NamesWritten(const PTreeCamera& cam) {
  std::vector<std::string> writes;
  for (const sim::ptree::Access& call : cam.camera().Traffic()) {
    if (call.kind == "setString" && call.result == TQV_OK)
      writes.push_back(call.path + "=" + call.value);
  }
  return writes;
}

using Op = std::function<u32(void* h)>;
using testutil::QueryNUC;

}  // namespace

// The name each operation writes first, with its extension once, and the time-out it raises for
// its duration.
TEST(PtreeStored, NamesTakeTheirExtensionOnceAndLongOperationsRaiseTheTimeOut) {
  struct Case {
    Op run;
    const char* written;  // null: no name
    u32 timeout;          // 0: none raised
  };
  const Case cases[] = {
      {[](void* h) { return tqvLoadNUC(h, 0, "abc"); }, ".system.settings.p0.nuc.loadname=abc.nuc",
       30000},
      {[](void* h) { return tqvLoadNUC(h, 0, "ABC.NUC"); },
       ".system.settings.p0.nuc.loadname=ABC.NUC", 30000},
      {[](void* h) { return tqvSaveNUCAs(h, 2, "x"); }, ".system.settings.nuc.p2.name=x.nuc",
       60000},
      {[](void* h) { return tqvLoadCal(h, 3, "cal1"); }, ".system.settings.p3.cal.loadtag=cal1",
       30000},
      {[](void* h) { return tqvLoadState(h, "s"); }, ".system.configurations.load.file=s.rsc",
       120000},
      {[](void* h) { return tqvSaveStateAs(h, "s.Rsc"); },
       ".system.configurations.store.file=s.Rsc", 120000},
      {[](void* h) { return tqvLoadLensState(h, "l"); }, ".system.lens.stateLoadName=l.lens",
       120000},
      {[](void* h) { return tqvSaveLensStateAs(h, "l.LENS"); }, ".system.lens.stateSaveName=l.LENS",
       120000},
      {&tqvLoadFactoryDefaults, nullptr, 120000},
      {&tqvSaveFactoryDefaults, nullptr, 120000},
      {[](void* h) { return tqvLoadPalette(h, "p"); }, ".system.palette.name=p.pal", 0},
      {[](void* h) { return tqvLoadPalette(h, "p.pal"); }, ".system.palette.name=p.pal.pal", 0},
      {[](void* h) { return QueryNUC(h, "q.v1"); }, ".system.settings.nuc.query.file=q.v1.nuc", 0},
      {[](void* h) { return tqvUnloadNUC(h, 0); }, nullptr, 0},
      {[](void* h) { return tqvUnloadCal(h, 0); }, nullptr, 0},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(&test - cases);
    PTreeCamera cam;
    cam.camera().ClearTimeoutHistory();
    test.run(cam.handle());  // the camera may refuse what it does not have
    const std::vector<std::string> written = NamesWritten(cam);
    if (test.written) {
      ASSERT_FALSE(written.empty());
      EXPECT_EQ(written[0], test.written);
    }
    const std::vector<u32> expected =
        test.timeout ? std::vector<u32>{test.timeout, 10000} : std::vector<u32>{};
    EXPECT_EQ(cam.camera().TimeoutHistory(), expected);
  }
}

// (Null names and outputs: tests/api/null_sweep_test.cpp.)
TEST(PtreeStored, RefusedNamesNeverReachTheCamera) {
  const std::string longest(506, 'p'), tooLong(507, 'p'), huge(600, 'n');
  struct Case {
    const char* what;
    Op run;
    u32 result;
  };
  std::vector<Case> cases = {
      {"palette of 507 characters", [&](void* h) { return tqvLoadPalette(h, tooLong.c_str()); },
       TQV_ERROR},
  };
  using Named = u32 (*)(void* h, const char* name);
  const std::pair<const char*, Named> checked[] = {
      {"LoadNUC", [](void* h, const char* n) { return tqvLoadNUC(h, 1, n); }},
      {"SaveNUCAs", [](void* h, const char* n) { return tqvSaveNUCAs(h, 1, n); }},
      {"LoadState", &tqvLoadState},
      {"SaveStateAs", &tqvSaveStateAs},
      {"LoadLensState", &tqvLoadLensState},
      {"SaveLensStateAs", &tqvSaveLensStateAs},
      {"QueryNUCInfo", [](void* h, const char* n) { return QueryNUC(h, n); }},
  };
  for (const auto& [name, op] : checked) {
    for (const char* bad : {"", "a:b", " lead", "a/b", "a\\b", "a*", "a?", "a\"b", "a<b", "a|b"}) {
      cases.push_back({name, [op = op, bad](void* h) { return op(h, bad); }, TQV_ERROR});
    }
    cases.push_back({name, [op = op, &huge](void* h) { return op(h, huge.c_str()); }, TQV_ERROR});
  }
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    PTreeCamera cam;
    EXPECT_EQ(test.run(cam.handle()), test.result);
    EXPECT_TRUE(cam.camera().Traffic().empty());
  }
  // The longest palette name is the camera's to judge.
  PTreeCamera cam;
  EXPECT_EQ(tqvLoadPalette(cam.handle(), longest.c_str()), TQV_NOT_FOUND);
  EXPECT_EQ(NamesWritten(cam),
            std::vector<std::string>{".system.palette.name=" + longest + ".pal"});
}

TEST(PtreeStored, StoredNamesAreHandedOutWithoutDirectoryAndExtension) {
  struct Case {
    u32 (*get)(void* h, char* buffer, i32 size);
    const char* path;
    const char* stored;
    const char* expected;
  };
  const auto nuc = [](void* h, char* buffer, i32 size) {
    return tqvGetNUCName(h, 2, buffer, size);
  };
  const Case cases[] = {
      {nuc, ".system.settings.p2.nuc.name", "/nuc/office.NUC", "office"},
      {nuc, ".system.settings.p2.nuc.name", "C:\\nuc\\run/a.b.nuc", "a.b"},
      {nuc, ".system.settings.p2.nuc.name", "plain", "plain"},
      {nuc, ".system.settings.p2.nuc.name", "dir/x.nuc.bak", "x.nuc.bak"},
      {&tqvGetStateName, ".system.configurations.powerup.file", "power-up.RSC", "power-up"},
      {&tqvGetStateName, ".system.configurations.powerup.file", "a/b.rsc", "a/b"},
      {&tqvGetLensStateName, ".system.lens.stateName", "25mm.Lens", "25mm"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.stored);
    PTreeCamera cam;
    cam.camera().Set(test.path, Value::Str(test.stored));
    char buffer[64] = {};
    ASSERT_EQ(test.get(cam.handle(), buffer, sizeof buffer), TQV_OK);
    EXPECT_STREQ(buffer, test.expected);
    // The buffer must hold two bytes more than the name handed out.
    const i32 length = static_cast<i32>(std::strlen(test.expected));
    EXPECT_EQ(test.get(cam.handle(), buffer, length + 1), TQV_ERROR);
    EXPECT_EQ(test.get(cam.handle(), buffer, length + 2), TQV_OK);
  }
}

TEST(PtreeStored, FreeSpaceKeepsTenMiBOfTheDriveForCorrections) {
  struct Case {
    u64 freeBytes;
    u64 nuc;
  };
  for (const Case& test : {Case{10240 * 1024, 0}, Case{20480 * 1024, 10485760},
                           Case{10241 * 1024, 1024}, Case{1023, 0}}) {
    PTreeCamera cam;
    cam.camera().Files().SetFreeSpace(test.freeBytes);
    u64 nuc = 99, drive = 99;
    ASSERT_EQ(tqvGetNUCFreeSpace(cam.handle(), &nuc), TQV_OK);
    ASSERT_EQ(tqvGetDriveFreeSpace(cam.handle(), &drive), TQV_OK);
    EXPECT_EQ(nuc, test.nuc) << test.freeBytes;
    EXPECT_EQ(drive, test.freeBytes / 1024 * 1024);
  }
  // The correction drive's own figure first, the camera's drive in its place; the code of the
  // last read, and nothing free when it fails.
  PTreeCamera cam;
  cam.camera().Files().SetFreeSpace(20480 * 1024);
  cam.camera().InjectFault(".system.settings.nuc.driveFreeSpace", TQV_NOT_FOUND);
  u64 bytes = 99;
  EXPECT_EQ(tqvGetNUCFreeSpace(cam.handle(), &bytes), TQV_OK);
  EXPECT_EQ(bytes, 10485760u);
  cam.camera().InjectFault(".system.settings.nuc.driveFreeSpace", TQV_NOT_FOUND);
  cam.camera().InjectFault(".system.info.driveFreeSpace", TQV_TIMEOUT);
  EXPECT_EQ(tqvGetNUCFreeSpace(cam.handle(), &bytes), TQV_TIMEOUT);
  EXPECT_EQ(bytes, 0u);
  bytes = 99;
  cam.camera().InjectFault(".system.info.driveFreeSpace", TQV_FAILED);
  EXPECT_EQ(tqvGetDriveFreeSpace(cam.handle(), &bytes), TQV_FAILED);
  EXPECT_EQ(bytes, 0u);
}

TEST(PtreeStored, FactoryDefaultStateIsComparedWithoutRegardToCase) {
  struct Case {
    const char* path;
    const char* file;
    bool factory;
  };
  const Case cases[] = {{"/flashfs/FACTORY", "DEFAULT.rsc", true},
                        {"/FlashFS/factory", "default.rsc", true},
                        {"/FlashFS/factory", "default2.rsc", false},
                        {"/FlashFS/states", "default.rsc", false}};
  for (const Case& test : cases) {
    PTreeCamera cam;
    cam.camera().Set(".system.configurations.powerup.path", Value::Str(test.path));
    cam.camera().Set(".system.configurations.powerup.file", Value::Str(test.file));
    bool factory = !test.factory;
    ASSERT_EQ(tqvIsFactoryDefaultState(cam.handle(), &factory), TQV_OK);
    EXPECT_EQ(factory, test.factory) << test.path << " " << test.file;
  }
  PTreeCamera cam;
  cam.camera().InjectFault(".system.configurations.factory.load.file", TQV_TIMEOUT);
  bool factory = true;
  EXPECT_EQ(tqvIsFactoryDefaultState(cam.handle(), &factory), TQV_TIMEOUT);
  EXPECT_FALSE(factory);
}

// --- The cache -----------------------------------------------------------------------------------

namespace {

// The cached getters of the family, and the paths they read.
struct Cached {
  const char* name;
  Op get;
  const char* path;
};

Op Getter(u32 (*get)(void*, char*, i32)) {
  return [get](void* h) {
    char buffer[256];
    return get(h, buffer, sizeof buffer);
  };
}

Op Getter(u32 (*get)(void*, u8, char*, i32), u8 preset) {
  return [get, preset](void* h) {
    char buffer[256];
    return get(h, preset, buffer, sizeof buffer);
  };
}

const Cached kCached[] = {
    {"correction name 1", Getter(&tqvGetNUCName, 1), ".system.settings.p1.nuc.name"},
    {"correction name 2", Getter(&tqvGetNUCName, 2), ".system.settings.p2.nuc.name"},
    {"calibration tag 1", Getter(&tqvGetCalTag, 1), ".system.settings.p1.cal.tag"},
    {"calibration tag 2", Getter(&tqvGetCalTag, 2), ".system.settings.p2.cal.tag"},
    {"state name", Getter(&tqvGetStateName), ".system.configurations.powerup.file"},
    {"lens state name", Getter(&tqvGetLensStateName), ".system.lens.stateName"},
    {"palette", Getter(&tqvGetPalette), ".system.palette.name"},
    {"integration width 1",
     [](void* h) {
       u32 width = 0;
       return tqvGetIntegrationWidth(h, 1, &width);
     },
     ".system.settings.p1.integrationWidth"},
};

}  // namespace

TEST(PtreeStored, NamesAreCachedAndEachCommandDropsWhatItChanges) {
  struct Case {
    const char* what;
    Op run;
    std::vector<std::string> asksAgain;  // {"*"}: everything
  };
  const Case cases[] = {
      {"LoadNUC", [](void* h) { return tqvLoadNUC(h, 1, "ok"); }, {"correction name 1"}},
      {"UnloadNUC", [](void* h) { return tqvUnloadNUC(h, 1); }, {"correction name 1"}},
      {"SaveNUCAs", [](void* h) { return tqvSaveNUCAs(h, 1, "n"); }, {"correction name 1"}},
      {"UnloadCal", [](void* h) { return tqvUnloadCal(h, 1); }, {"calibration tag 1"}},
      {"SaveStateAs", [](void* h) { return tqvSaveStateAs(h, "s"); }, {"state name"}},
      {"SaveFactoryDefaults", &tqvSaveFactoryDefaults, {"state name"}},
      {"SaveLensStateAs", [](void* h) { return tqvSaveLensStateAs(h, "l"); }, {"lens state name"}},
      {"LoadLensState", [](void* h) { return tqvLoadLensState(h, "25mm"); }, {"lens state name"}},
      {"LoadPalette", [](void* h) { return tqvLoadPalette(h, "grey"); }, {"palette"}},
      {"LoadState", [](void* h) { return tqvLoadState(h, "power-up"); }, {"*"}},
      {"LoadFactoryDefaults", &tqvLoadFactoryDefaults, {"*"}},
      {"LoadCal", [](void* h) { return tqvLoadCal(h, 1, "cal0"); }, {"*"}},
      {"a query", [](void* h) { return QueryNUC(h, "ok"); }, {}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    PTreeCamera cam;
    ASSERT_NO_FATAL_FAILURE(testutil::PutCorrection(cam.camera(), "ok"));
    ASSERT_EQ(tqvFillCache(cam.handle()), TQV_OK);
    for (const Cached& entry : kCached)
      ASSERT_EQ(entry.get(cam.handle()), TQV_OK) << entry.name;
    ASSERT_EQ(test.run(cam.handle()), TQV_OK);
    // What is not asked again is answered from the cache.
    const bool everything = test.asksAgain == std::vector<std::string>{"*"};
    for (const Cached& entry : kCached) {
      const bool asks = everything || std::ranges::count(test.asksAgain, entry.name) > 0;
      cam.camera().ClearTraffic();
      ASSERT_EQ(entry.get(cam.handle()), TQV_OK) << entry.name;
      EXPECT_EQ(cam.camera().CountPath(entry.path), asks ? 1u : 0u) << entry.name;
    }
  }
}

TEST(PtreeStored, FactoryDefaultsReportWhatTheCameraCouldNotDo) {
  // Loading: the camera took the command, so nothing cached is trusted even when it reports
  // failure. A command it refuses changes nothing.
  PTreeCamera cam;
  void* h = cam.handle();
  u32 width = 0;
  ASSERT_EQ(tqvGetIntegrationWidth(h, 1, &width), TQV_OK);
  ASSERT_EQ(cam.camera().Files().DeleteFile("/FlashFS/factory/default.rsc"), TQV_OK);
  EXPECT_EQ(tqvLoadFactoryDefaults(h), TQV_FAILED);
  cam.camera().ClearTraffic();
  ASSERT_EQ(tqvGetIntegrationWidth(h, 1, &width), TQV_OK);
  EXPECT_EQ(cam.camera().CountPath(".system.settings.p1.integrationWidth"), 1u);
  cam.camera().InjectFault(".system.configurations.factory.load.commit", TQV_ACCESS_DENIED);
  EXPECT_EQ(tqvLoadFactoryDefaults(h), TQV_ACCESS_DENIED);
  cam.camera().ClearTraffic();
  ASSERT_EQ(tqvGetIntegrationWidth(h, 1, &width), TQV_OK);
  EXPECT_EQ(cam.camera().CountPath(".system.settings.p1.integrationWidth"), 0u);

  // Saving: a drive without room.
  cam.camera().Files().SetFreeSpace(0);
  EXPECT_EQ(tqvSaveFactoryDefaults(h), TQV_FAILED);
}

// --- Correction file query -----------------------------------------------------------------------

TEST(PtreeStored, QueryFallsBackWhereOlderCamerasSayLess) {
  const tqvSNUCInfo made = testutil::DistinctNUCInfo();
  const std::string base = ".system.settings.nuc.query.";
  struct Case {
    const char* what;
    std::vector<const char*> missing;
    void (*fallBack)(tqvSNUCInfo& expected);
  };
  const auto splitCounts = [](tqvSNUCInfo& e) { e.bpNew = e.bpTotal - e.bpUser; };
  const Case cases[] = {
      {"no split counts: the user count in their place", {"badPixels.factory"}, splitCounts},
      {"no new count nor user count: the factory count read first stays",
       {"badPixels.new", "badPixels.user"},
       splitCounts},
      {"no skimming voltage",
       {"skimmingVoltage"},
       [](tqvSNUCInfo& e) {
         e.skimmingEnabled = false;
         e.skimmingVoltage = 0.0f;
       }},
      {"no second bias: no colour either",
       {"detectorBias1"},
       [](tqvSNUCInfo& e) {
         e.color = 0;
         e.fpaBiasCount = 1;
         e.fpaBias1 = 0.0f;
       }},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    PTreeCamera cam;
    ASSERT_NO_FATAL_FAILURE(testutil::PutCorrection(cam.camera(), "q"));
    for (const char* path : test.missing)
      ASSERT_TRUE(cam.camera().Remove(base + path));
    tqvSNUCInfo info{};
    ASSERT_EQ(tqvQueryNUCInfo(cam.handle(), "q", &info), TQV_OK);
    tqvSNUCInfo expected = testutil::Queried(made);
    test.fallBack(expected);
    testutil::ExpectSameInfo(info, expected);
  }
  // A required field missing, a text the library does not know, and a file the camera could not
  // read.
  PTreeCamera cam;
  ASSERT_NO_FATAL_FAILURE(testutil::PutCorrection(cam.camera(), "q"));
  cam.camera().InjectFault(base + "nuc.adMax", TQV_NOT_FOUND);
  tqvSNUCInfo info{};
  EXPECT_EQ(tqvQueryNUCInfo(cam.handle(), "q", &info), TQV_NOT_FOUND);
  cam.camera().OnRead(base + "nuc.type", [&](sim::ptree::Camera& c, const std::string& path) {
    c.Update(path, Value::Str("Three Point"));
    return 0u;
  });
  EXPECT_EQ(tqvQueryNUCInfo(cam.handle(), "q", &info), TQV_ERROR);
  cam.camera().OnWrite(base + "read", [&](sim::ptree::Camera& c, const std::string&, const Value&) {
    c.Update(base + "readOk", Value::Bool(false));
    return 0u;
  });
  info = tqvSNUCInfo{};
  EXPECT_EQ(tqvQueryNUCBasicInfo(cam.handle(), "q", &info), TQV_ERROR);
  EXPECT_EQ(info.windowWidth, 0);
}

// --- Calibrations --------------------------------------------------------------------------------

TEST(PtreeStored, LookupTablesArriveInChunksThatMayCrossBetweenTheArrays) {
  // cal1: 8 entries each, 128 bytes; chunks of 24 bytes put bytes 48..71 across the boundary.
  struct Case {
    const char* what;
    u32 extra;  // bytes after the table
    u32 chunk;
    u32 result;
  };
  const Case cases[] = {{"crossing chunks", 0, 24, TQV_OK},
                        {"a tail in the last chunk", 8, 24, TQV_OK},
                        {"a chunk past the table", 24, 24, TQV_ERROR},
                        {"a file too short", 0, 24, TQV_ERROR}};
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    PTreeCamera cam;
    cam.camera().SetChunkSize(test.chunk);
    const std::string path = "/FlashFS/calib/cal1.LUT";
    Bytes file = *cam.camera().Files().Data(path);
    ASSERT_EQ(file.size(), 128u);
    const Bytes table = file;
    file.resize(std::string(test.what) == "a file too short" ? 120 : 128 + test.extra, 0xEE);
    ASSERT_EQ(cam.camera().Files().Put(path, file), TQV_OK);
    std::vector<double> first(8, -1), second(8, -1);
    ASSERT_EQ(tqvGetCalLookupTable(cam.handle(), "cal1", first.data(), second.data(), 8),
              test.result);
    if (test.result != TQV_OK) continue;
    EXPECT_EQ(std::memcmp(first.data(), table.data(), 64), 0);
    EXPECT_EQ(std::memcmp(second.data(), table.data() + 64, 64), 0);
  }
  PTreeCamera cam;
  cam.camera().Set(".system.calib.cals.cal1.lutFile", Value::Str("none"));
  double first[8], second[8];
  EXPECT_EQ(tqvGetCalLookupTable(cam.handle(), "cal1", first, second, 8), TQV_ERROR);
  cam.camera().Remove(".system.calib.cals.cal1.lutFile");
  EXPECT_EQ(tqvGetCalLookupTable(cam.handle(), "cal1", first, second, 8), TQV_NOT_FOUND);
}

TEST(PtreeStored, CalibrationsInTheCamerasOrderWithOptionalAtmosphere) {
  PTreeCamera cam;
  void* h = cam.handle();
  cam.camera().Set(".system.calib.cals.aaa.name", Value::Str("third"));
  zel::TArray<zel::CString> tags;
  tags.Add(zel::CString("stale"));
  ASSERT_EQ(tqvGetCalTags(h, tags), TQV_OK);
  ASSERT_EQ(tags.GetCount(), 3u);
  EXPECT_STREQ(tags[2].c_str(), "aaa");
  EXPECT_EQ(tqvCalExists(h, "aaa"), TQV_OK);
  EXPECT_EQ(tqvCalExists(h, "bbb"), TQV_NOT_FOUND);

  // cal1 has no atmosphere: reading stops quietly and leaves those fields alone.
  tqvSCalInfo info{};
  info.atmX = info.atmAlpha1 = info.atmBeta2 = 42.0;
  ASSERT_EQ(tqvGetCalInfo(h, "cal1", &info, false), TQV_OK);
  EXPECT_EQ(info.atmX, 42.0);
  EXPECT_EQ(info.atmBeta2, 42.0);
  EXPECT_EQ(info.f, 1.25);
  // cal0 without its second atmosphere value: the first is read, the rest stay.
  cam.camera().Remove(".system.calib.cals.cal0.atmAlpha1");
  info.atmAlpha2 = 42.0;
  ASSERT_EQ(tqvGetCalInfo(h, "cal0", &info, false), TQV_OK);
  EXPECT_EQ(info.atmX, 1.9);
  EXPECT_EQ(info.atmAlpha1, 42.0);
  EXPECT_EQ(info.atmAlpha2, 42.0);
  // A required field missing fails the record.
  cam.camera().Remove(".system.calib.cals.cal0.order");
  EXPECT_EQ(tqvGetCalInfo(h, "cal0", &info, false), TQV_NOT_FOUND);
}

// --- Every step failed in turn
// ---------------------------------------------------------------------

namespace {

// A correction file "sw" on the camera, held by preset 1.
void WithCorrection(void* h) {
  testutil::PutCorrection(*sim::ptree::CameraOf(static_cast<CTQVSDKPTree*>(h)->h()), "sw");
  ASSERT_EQ(tqvLoadNUC(h, 1, "sw"), TQV_OK);
}

bool OptionalQueryField(const std::string& path) {
  static const std::vector<std::string> kOptional = {
      "badPixels.factory", "badPixels.new", "badPixels.user",    "skimmingEnabled",
      "skimmingVoltage",   "color",         "detectorBiasCount", "detectorBias1"};
  for (const std::string& field : kOptional) {
    if (path == ".system.settings.nuc.query." + field) return true;
  }
  return false;
}

}  // namespace

TEST(PtreeStored, EveryStepOfEveryOperationFailsInTurn) {
  testutil::SleepRecorder noWaiting;
  struct Case {
    const char* what;
    Op run;
    testutil::SweepOptions options;
    u32 code = TQV_FAILED;
  };
  testutil::SweepOptions correction;
  correction.prepare = &WithCorrection;
  testutil::SweepOptions query = correction;
  query.tolerated = &OptionalQueryField;
  testutil::SweepOptions atmosphere;
  atmosphere.tolerated = [](const std::string& path) {
    return path.find(".atm") != std::string::npos;
  };
  // Deleting, renaming and finding a file of the other kinds take the same steps as a correction
  // file's, in the directory of their kind.
  const Case cases[] = {
      {"LoadNUC", [](void* h) { return tqvLoadNUC(h, 2, "sw"); }, correction},
      {"SaveNUCAs", [](void* h) { return tqvSaveNUCAs(h, 1, "copy"); }, correction},
      {"SaveNUC", [](void* h) { return tqvSaveNUC(h, 1); }, correction},
      {"DeleteNUC", [](void* h) { return tqvDeleteNUC(h, "sw"); }, correction},
      {"RenameNUC", [](void* h) { return tqvRenameNUC(h, "sw", "sw2"); }, correction},
      {"NUCExists", [](void* h) { return tqvNUCExists(h, "sw"); }, correction},
      {"QueryNUCBasicInfo", [](void* h) { return QueryNUC(h, "sw", false); }, correction},
      {"QueryNUCInfo", [](void* h) { return QueryNUC(h, "sw"); }, query},
      {"GetNUCFreeSpace",
       &testutil::NUCFreeSpace,
       {"sim",
        {},
        true,
        [](const std::string& p) { return p == ".system.settings.nuc.driveFreeSpace"; }}},
      {"LoadState", [](void* h) { return tqvLoadState(h, "power-up"); }, {}},
      {"SaveStateAs", [](void* h) { return tqvSaveStateAs(h, "s"); }, {}},
      {"SaveState", &tqvSaveState, {}},
      {"IsFactoryDefaultState",
       [](void* h) {
         bool factory;
         return tqvIsFactoryDefaultState(h, &factory);
       },
       {}},
      {"LoadFactoryDefaults", &tqvLoadFactoryDefaults, {}},
      {"SaveFactoryDefaults", &tqvSaveFactoryDefaults, {}},
      {"LoadLensState", [](void* h) { return tqvLoadLensState(h, "25mm"); }, {}},
      {"SaveLensStateAs", [](void* h) { return tqvSaveLensStateAs(h, "l"); }, {}},
      {"SaveLensState", &tqvSaveLensState, {}},
      {"ReloadLensState", &tqvReloadLensState, {}},
      {"LoadPalette", [](void* h) { return tqvLoadPalette(h, "grey"); }, {}},
      {"PaletteExists", [](void* h) { return tqvPaletteExists(h, "grey"); }, {}},
      {"LoadCal", [](void* h) { return tqvLoadCal(h, 1, "cal0"); }, {}},
      {"GetCalInfo", [](void* h) { return testutil::CalInfoWithTables(h, "cal0"); }, atmosphere,
       TQV_ERROR},
      {"GetCalLookupTable",
       [](void* h) {
         double first[16], second[16];
         return tqvGetCalLookupTable(h, "cal0", first, second, 16);
       },
       {},
       TQV_ERROR},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    testutil::SweepPTree([&](void* h, bool) { return test.run(h); }, test.options, test.code);
  }
}
