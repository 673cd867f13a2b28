// The transfer entry points through the C interface on both simulated cameras (GenICam with and
// without compression): every kind's place on the camera and round trips of sizes around the
// chunk, the camera name of host-path uploads, C progress callbacks, host files that cannot be
// opened, listings and file queries by path.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/sim_fixtures.h"
#include "common/testutil.h"
#include "common/transfer.h"
#include "common/transfers.h"

using testutil::Bytes;
using testutil::Contents;
using testutil::MemFile;
using testutil::ProgressLog;

namespace {

enum class Kind { PropertyTree, GenICamPlain, GenICamCompressed };

// A simulated camera of either kind behind one handle, with its file store and traffic.
class Camera : public testutil::AnyCamera {
 public:
  explicit Camera(Kind kind)
      : AnyCamera(kind == Kind::PropertyTree ? testutil::Backend::PropertyTree
                                             : testutil::Backend::GenICam,
                  "sim", kind == Kind::GenICamPlain ? "sim:no-compression" : "sim") {}
  std::optional<Bytes> File(const std::string& path) const {
    return tree() ? tree()->Files().Data(path) : device()->Files().Read(path);
  }
  void Put(const std::string& path, const Bytes& bytes) const {
    if (tree()) {
      ASSERT_EQ(tree()->Files().Put(path, bytes), 0u);
    } else {
      device()->Files().SetReadOnly(path, false);
      ASSERT_EQ(device()->Files().Write(path, bytes), 0);
    }
  }
  std::size_t Traffic() const { return tree() ? tree()->Traffic().size() : device()->Log().size(); }
};

// A C progress callback that records its reports and the context it was given.
struct CProgress {
  static int Report(unsigned done, unsigned total, void* context) {
    static_cast<CProgress*>(context)->calls.emplace_back(done, total);
    return 0;
  }
  ProgressLog::Calls calls;
};

std::vector<std::string> ListedNames(tqvDirEntryArray* array) {
  std::vector<std::string> names;
  for (u32 i = 0; i < tqvDirEntryArray_size(array); ++i) {
    char* name = tqvDirEntryArray_fnameAt(array, i);
    names.emplace_back(name);
    tqvFree(name);
  }
  return names;
}

bool Lists(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

class TransferEntryPoints : public ::testing::TestWithParam<Kind> {
 protected:
  testutil::SleepRecorder sleeps;
  testutil::TempDir dir;
  Camera camera{GetParam()};
  void* h = camera.handle();
};

}  // namespace

// --- The camera name of host-path uploads --------------------------------------------------------

TEST(UploadName, TextAfterTheLastSeparatorCutAtTheLastDot) {
  const std::pair<const char*, const char*> cases[] = {
      {"/data/Cal Set.2.nuc", "Cal Set.2"},
      {"C:\\cal\\abc", "abc"},
      {"a/b\\c.d", "c"},
      {"a\\b/c", "c"},
      {"dir.v2/name", "name"},
      {"plain", "plain"},
      {"x.", "x"},
      {".hidden", ""},
      {"trailing/", ""},
      {"", ""},
  };
  for (const auto& [source, expected] : cases) {
    char name[transfer::kNameSize] = "untouched";
    EXPECT_EQ(transfer::UploadName(source, name, sizeof name), TQV_OK) << source;
    EXPECT_STREQ(name, expected) << source;
  }
  // The name and its terminator must fit: 4 characters in 5 bytes, not 5.
  char name[5] = "keep";
  EXPECT_EQ(transfer::UploadName("/d/abcde.nuc", name, sizeof name), TQV_TOO_LARGE);
  EXPECT_STREQ(name, "keep");
  EXPECT_EQ(transfer::UploadName("/d/abcd.nuc", name, sizeof name), TQV_OK);
  EXPECT_STREQ(name, "abcd");
  EXPECT_EQ(transfer::UploadName(nullptr, name, sizeof name), TQV_INVALID_ARGUMENT);
}

TEST_P(TransferEntryPoints, StdUploadsNameTheCameraFileAfterTheHostFile) {
  const Bytes data = testutil::RandomBytes(100, 9);
  // Host file names (a Linux name may hold backslashes) and the camera name each gives.
  const std::pair<const char*, const char*> cases[] = {
      {"Cal Set.2.nuc", "Cal Set.2"},
      {"win\\path\\abc", "abc"},
      {"d.v1\\offset.NUC", "offset"},
  };
  for (const auto& [hostName, cameraName] : cases) {
    const std::string host = dir.File(hostName);
    testutil::WriteFile(host, data);
    EXPECT_EQ(tqvUploadNUCStd(h, host.c_str(), {}), TQV_OK) << hostName;
    EXPECT_EQ(camera.File(std::string("/FlashFS/nuc/") + cameraName + ".nuc"), data) << hostName;
  }
  const std::string host = dir.File("any.bin");
  testutil::WriteFile(host, data);
  ASSERT_EQ(tqvUploadNUCStdEx(h, "dir/myname.nuc", host.c_str(), {}), TQV_OK);
  EXPECT_EQ(camera.File("/FlashFS/nuc/myname.nuc"), data);

  // A derived name too long for the name buffer is refused before the camera is asked.
  const std::size_t traffic = camera.Traffic();
  const std::string tooLong = "dir/" + std::string(transfer::kNameSize, 'n') + ".nuc";
  EXPECT_EQ(tqvUploadNUCStdEx(h, tooLong.c_str(), host.c_str(), {}), TQV_TOO_LARGE);
  EXPECT_EQ(camera.Traffic(), traffic);
}

// --- Every kind, through the C-callback entry points --------------------------------------------

// Each kind lands in its place and comes back byte for byte; the sizes lie around the 512-byte
// chunk, and one is of a megabyte.
TEST_P(TransferEntryPoints, EveryKindLandsInItsPlaceAndComesBack) {
  using Transfer = std::function<u32(const char* host, tqvProgressCallback, void*)>;
  struct Kind {
    const char* hostName;
    const char* cameraPath;
    u32 size;
    Transfer upload, download;
    std::function<u32(u32*)> info;
  };
  const Kind kinds[] = {
      {"k.nuc", "/FlashFS/nuc/k.nuc", 0,
       [&](auto host, auto cb, auto ctx) { return tqvUploadNUCStdC(h, host, cb, ctx); },
       [&](auto host, auto cb, auto ctx) { return tqvDownloadNUCStdC(h, "k", host, cb, ctx); },
       [&](u32* size) { return tqvGetNUCFileInfo(h, "k", size, nullptr); }},
      {"ex.bin", "/FlashFS/nuc/k2.nuc", 1,
       [&](auto host, auto cb, auto ctx) { return tqvUploadNUCStdExC(h, "k2", host, cb, ctx); },
       [&](auto host, auto cb, auto ctx) { return tqvDownloadNUCStdC(h, "k2.nuc", host, cb, ctx); },
       [&](u32* size) { return tqvGetNUCFileInfo(h, "k2.nuc", size, nullptr); }},
      {"k.rsc", "/FlashFS/states/k.rsc", 511,
       [&](auto host, auto cb, auto ctx) { return tqvUploadStateStdC(h, host, cb, ctx); },
       [&](auto host, auto cb, auto ctx) { return tqvDownloadStateStdC(h, "k", host, cb, ctx); },
       [&](u32* size) { return tqvGetStateFileInfo(h, "k", size, nullptr); }},
      {"k.lens", "/FlashFS/lens/k.lens", 512,
       [&](auto host, auto cb, auto ctx) { return tqvUploadLensStateStdC(h, host, cb, ctx); },
       [&](auto host, auto cb, auto ctx) {
         return tqvDownloadLensStateStdC(h, "k", host, cb, ctx);
       },
       [&](u32* size) { return tqvGetLensStateFileInfo(h, "k", size, nullptr); }},
      {"k.pal", "/FlashFS/system/palettes/k.pal", 513,
       [&](auto host, auto cb, auto ctx) { return tqvUploadPaletteStdC(h, host, cb, ctx); },
       [&](auto host, auto cb, auto ctx) { return tqvDownloadPaletteStdC(h, "k", host, cb, ctx); },
       [&](u32* size) { return tqvGetPaletteFileInfo(h, "k", size, nullptr); }},
      {"factory", "/FlashFS/factory/default.rsc", 1500,
       [&](auto host, auto cb, auto ctx) {
         return tqvUploadFactoryDefaultStateStdC(h, host, cb, ctx);
       },
       [&](auto host, auto cb, auto ctx) {
         return tqvDownloadFactoryDefaultStateStdC(h, host, cb, ctx);
       },
       [&](u32* size) { return tqvGetFactoryDefaultStateFileInfo(h, size, nullptr); }},
      {"any", "/FlashFS/empty/k.bin", 1 << 20,
       [&](auto host, auto cb, auto ctx) {
         return tqvUploadFileStdC(h, "/FlashFS/empty/k.bin", host, cb, ctx);
       },
       [&](auto host, auto cb, auto ctx) {
         return tqvDownloadFileStdC(h, "/FlashFS/empty/k.bin", host, cb, ctx);
       },
       [&](u32* size) { return tqvGetFileInfo(h, "/FlashFS/empty/k.bin", size, nullptr); }},
  };
  camera.Put("/FlashFS/factory/default.rsc", Bytes(10, 0));  // writable on both cameras
  u32 seed = 20;
  for (const Kind& kind : kinds) {
    SCOPED_TRACE(kind.cameraPath);
    const Bytes data = testutil::RandomBytes(kind.size, ++seed);
    const std::string in = dir.File(kind.hostName), out = dir.File("out");
    testutil::WriteFile(in, data);
    CProgress up, down;
    ASSERT_EQ(kind.upload(in.c_str(), &CProgress::Report, &up), TQV_OK);
    EXPECT_EQ(camera.File(kind.cameraPath), data);
    ASSERT_EQ(kind.download(out.c_str(), nullptr, nullptr), TQV_OK);  // no progress wanted
    EXPECT_EQ(testutil::ReadFile(out), data);
    ASSERT_EQ(kind.download(out.c_str(), &CProgress::Report, &down), TQV_OK);
    EXPECT_EQ(testutil::ReadFile(out), data);
    u32 size = 7;
    EXPECT_EQ(kind.info(&size), TQV_OK);
    EXPECT_EQ(size, kind.size);
    if (kind.size == 0) continue;
    ASSERT_FALSE(up.calls.empty() || down.calls.empty());
    EXPECT_EQ(up.calls.back(), std::make_pair(kind.size, kind.size));
    EXPECT_EQ(down.calls.back(), std::make_pair(kind.size, kind.size));
  }

  // The file-object forms, with files in memory.
  const Bytes data = testutil::RandomBytes(1500, 3);
  auto memory = MemFile();
  ASSERT_EQ(tqvUploadNUC(h, "mem", MemFile(data), {}), TQV_OK);
  ASSERT_EQ(tqvDownloadNUC(h, "mem", memory, {}), TQV_OK);
  EXPECT_EQ(Contents(memory), data);

  // The kind listings name the uploaded files without their extensions.
  const std::pair<u32 (*)(void*, tqvDirEntryArray*), const char*> listings[] = {
      {&tqvListNUCs, "k2"},
      {&tqvListStates, "k"},
      {&tqvListLensStates, "k"},
      {&tqvListPalettes, "k"}};
  for (const auto& [list, name] : listings) {
    tqvDirEntryArray* array = tqvDirEntryArray_Alloc();
    EXPECT_EQ(list(h, array), TQV_OK);
    EXPECT_TRUE(Lists(ListedNames(array), name)) << name;
    tqvDirEntryArray_Free(array);
  }
}

// (Null host paths: tests/api/null_sweep_test.cpp.)
TEST_P(TransferEntryPoints, HostFilesThatCannotBeOpenedNeverReachTheCamera) {
  const std::string missing = dir.File("missing/none.nuc");
  const std::size_t traffic = camera.Traffic();
  EXPECT_EQ(tqvDownloadNUCStd(h, "office", missing.c_str(), {}), TQV_ERROR);
  EXPECT_EQ(tqvUploadNUCStd(h, missing.c_str(), {}), TQV_ERROR);
  EXPECT_EQ(tqvUploadStateStdC(h, dir.File("none.rsc").c_str(), nullptr, nullptr), TQV_ERROR);
  EXPECT_EQ(tqvDownloadFactoryDefaultStateStd(h, missing.c_str(), {}), TQV_ERROR);
  EXPECT_EQ(camera.Traffic(), traffic);
}

TEST_P(TransferEntryPoints, FilesAndDirectoriesByPath) {
  u32 size = 0;
  u64 time = 0;
  EXPECT_EQ(tqvFileExists(h, "/FlashFS/notes.txt"), TQV_OK);
  ASSERT_EQ(tqvGetFileInfo(h, "/FlashFS/notes.txt", &size, &time), TQV_OK);
  EXPECT_EQ(size, 24u);
  EXPECT_GT(time, 0u);
  ASSERT_EQ(tqvRenameFile(h, "/FlashFS/notes.txt", "/FlashFS/renamed.txt"), TQV_OK);
  const std::string text = "simulated camera storage";
  EXPECT_EQ(camera.File("/FlashFS/renamed.txt"), Bytes(text.begin(), text.end()));
  EXPECT_FALSE(camera.File("/FlashFS/notes.txt"));
  EXPECT_NE(tqvFileExists(h, "/FlashFS/notes.txt"), TQV_OK);

  tqvDirEntryArray* array = tqvDirEntryArray_Alloc();
  ASSERT_EQ(tqvListDir(h, "/FlashFS", array), TQV_OK);
  const std::vector<std::string> names = ListedNames(array);
  EXPECT_TRUE(Lists(names, "renamed.txt"));  // whole names
  EXPECT_TRUE(Lists(names, "nuc"));
  tqvDirEntryArray_Free(array);

  EXPECT_EQ(tqvRemoveFile(h, "/FlashFS/renamed.txt"), TQV_OK);
  EXPECT_FALSE(camera.File("/FlashFS/renamed.txt"));
  EXPECT_NE(tqvRemoveFile(h, "/FlashFS/renamed.txt"), TQV_OK);
  EXPECT_NE(tqvGetFileInfo(h, "/FlashFS/renamed.txt", &size, nullptr), TQV_OK);
}

INSTANTIATE_TEST_SUITE_P(Backends, TransferEntryPoints,
                         ::testing::Values(Kind::PropertyTree, Kind::GenICamPlain,
                                           Kind::GenICamCompressed),
                         [](const auto& info) {
                           return info.param == Kind::PropertyTree   ? "PropertyTree"
                                  : info.param == Kind::GenICamPlain ? "GenICamPlain"
                                                                     : "GenICamCompressed";
                         });

TEST(HostFiles, OpenForWritingCreatesForReadingNeedsTheFile) {
  testutil::TempDir dir;
  const std::string path = dir.File("host.bin");
  EXPECT_FALSE(tqvOpenFileStdRead(path.c_str()));
  {
    tqvFilePtr file = tqvOpenFileStdWrite(path.c_str());
    ASSERT_TRUE(file);
    EXPECT_EQ(file->Write("abc", 3), 3u);
  }
  tqvFilePtr file = tqvOpenFileStdRead(path.c_str());
  ASSERT_TRUE(file);
  EXPECT_EQ(file->GetLength(), 3u);
  EXPECT_EQ(file->Write("x", 1), 0u) << "opened for reading only";
  tqvOpenFileStdWrite(path.c_str());  // empties it
  EXPECT_TRUE(testutil::ReadFile(path).empty());
  EXPECT_FALSE(tqvOpenFileStdWrite(dir.File("no/such/dir").c_str()));
}
