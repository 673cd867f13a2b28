// The transfer entry points through the C interface on both simulated cameras: round trips, the
// camera name of host-path uploads, C progress callbacks, host files that cannot be opened, every
// kind's place on the camera, listings and file queries by path.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <set>
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

enum class Backend { PropertyTree, GenICamPlain, GenICamCompressed };

std::string BackendName(Backend backend) {
  return backend == Backend::PropertyTree   ? "PropertyTree"
         : backend == Backend::GenICamPlain ? "GenICamPlain"
                                            : "GenICamCompressed";
}

// A simulated camera of either kind behind one handle, with its file store and traffic.
class AnyCamera {
 public:
  explicit AnyCamera(Backend backend) {
    if (backend == Backend::PropertyTree) {
      m_tree = std::make_unique<testutil::PTreeCamera>();
    } else {
      m_gic = std::make_unique<testutil::GicCamera>(
          backend == Backend::GenICamPlain ? "sim:no-compression" : "sim");
    }
  }
  void* handle() const { return m_tree ? m_tree->handle() : m_gic->handle(); }
  std::optional<Bytes> File(const std::string& path) const {
    return m_tree ? m_tree->camera().Files().Data(path) : m_gic->device().Files().Read(path);
  }
  void Put(const std::string& path, const Bytes& bytes) const {
    if (m_tree) {
      ASSERT_EQ(m_tree->camera().Files().Put(path, bytes), 0u);
    } else {
      m_gic->device().Files().SetReadOnly(path, false);
      ASSERT_EQ(m_gic->device().Files().Write(path, bytes), 0);
    }
  }
  std::size_t Traffic() const {
    return m_tree ? m_tree->camera().Traffic().size() : m_gic->device().Log().size();
  }

 private:
  std::unique_ptr<testutil::PTreeCamera> m_tree;
  std::unique_ptr<testutil::GicCamera> m_gic;
};

// A C progress callback that records its reports and the context it was given.
struct CProgress {
  static int Report(unsigned done, unsigned total, void* context) {
    auto* self = static_cast<CProgress*>(context);
    self->calls.emplace_back(done, total);
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

class TransferEntryPoints : public ::testing::TestWithParam<Backend> {
 protected:
  testutil::SleepRecorder sleeps;
  testutil::TempDir dir;
  AnyCamera camera{GetParam()};
  void* h = camera.handle();
};

}  // namespace

// --- Round trips
// ----------------------------------------------------------------------------------

class TransferRoundTrip : public ::testing::TestWithParam<std::tuple<Backend, std::size_t>> {};

TEST_P(TransferRoundTrip, HostFilesAndMemoryFilesComeBackByteIdentical) {
  testutil::SleepRecorder sleeps;
  testutil::TempDir dir;
  const auto [backend, size] = GetParam();
  AnyCamera camera(backend);
  const Bytes data = testutil::RandomBytes(size, static_cast<u32>(size) + 1);
  const std::string in = dir.File("in.bin"), out = dir.File("out.bin");
  testutil::WriteFile(in, data);

  ProgressLog up, down;
  ASSERT_EQ(tqvUploadFileStd(camera.handle(), "/FlashFS/rt.bin", in.c_str(), up.Delegate()),
            TQV_OK);
  EXPECT_EQ(camera.File("/FlashFS/rt.bin"), data);
  ASSERT_EQ(tqvDownloadFileStd(camera.handle(), "/FlashFS/rt.bin", out.c_str(), down.Delegate()),
            TQV_OK);
  EXPECT_EQ(testutil::ReadFile(out), data);
  if (size > 0) {
    EXPECT_EQ(down.calls.back(), std::make_pair(u32(size), u32(size)));
    EXPECT_EQ(up.calls.back(), std::make_pair(u32(size), u32(size)));
  }

  auto memory = MemFile();
  ASSERT_EQ(tqvUploadNUC(camera.handle(), "rt", MemFile(data), {}), TQV_OK);
  ASSERT_EQ(tqvDownloadNUC(camera.handle(), "rt", memory, {}), TQV_OK);
  EXPECT_EQ(Contents(memory), data);
}

INSTANTIATE_TEST_SUITE_P(Sizes, TransferRoundTrip,
                         ::testing::Combine(::testing::Values(Backend::PropertyTree,
                                                              Backend::GenICamPlain,
                                                              Backend::GenICamCompressed),
                                            ::testing::Values(0, 1, 511, 512, 513, 1 << 20)),
                         [](const auto& info) {
                           return BackendName(std::get<0>(info.param)) + "_" +
                                  std::to_string(std::get<1>(info.param));
                         });

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
  EXPECT_EQ(tqvUploadNUCStdEx(h, nullptr, host.c_str(), {}), TQV_INVALID_ARGUMENT);
  EXPECT_EQ(camera.Traffic(), traffic);
}

// --- Every kind, through the C-callback entry points
// ----------------------------------------------

TEST_P(TransferEntryPoints, EveryKindLandsInItsPlaceAndComesBack) {
  using Upload = std::function<u32(const char* host, tqvProgressCallback, void*)>;
  using Download = std::function<u32(const char* host, tqvProgressCallback, void*)>;
  using Info = std::function<u32(u32*)>;
  struct Kind {
    const char* hostName;
    const char* cameraPath;
    Upload upload;
    Download download;
    Info info;
  };
  const Kind kinds[] = {
      {"k.nuc", "/FlashFS/nuc/k.nuc",
       [&](auto host, auto cb, auto ctx) { return tqvUploadNUCStdC(h, host, cb, ctx); },
       [&](auto host, auto cb, auto ctx) { return tqvDownloadNUCStdC(h, "k", host, cb, ctx); },
       [&](u32* size) { return tqvGetNUCFileInfo(h, "k", size, nullptr); }},
      {"ex.bin", "/FlashFS/nuc/k2.nuc",
       [&](auto host, auto cb, auto ctx) { return tqvUploadNUCStdExC(h, "k2", host, cb, ctx); },
       [&](auto host, auto cb, auto ctx) { return tqvDownloadNUCStdC(h, "k2.nuc", host, cb, ctx); },
       [&](u32* size) { return tqvGetNUCFileInfo(h, "k2.nuc", size, nullptr); }},
      {"k.rsc", "/FlashFS/states/k.rsc",
       [&](auto host, auto cb, auto ctx) { return tqvUploadStateStdC(h, host, cb, ctx); },
       [&](auto host, auto cb, auto ctx) { return tqvDownloadStateStdC(h, "k", host, cb, ctx); },
       [&](u32* size) { return tqvGetStateFileInfo(h, "k", size, nullptr); }},
      {"k.lens", "/FlashFS/lens/k.lens",
       [&](auto host, auto cb, auto ctx) { return tqvUploadLensStateStdC(h, host, cb, ctx); },
       [&](auto host, auto cb, auto ctx) {
         return tqvDownloadLensStateStdC(h, "k", host, cb, ctx);
       },
       [&](u32* size) { return tqvGetLensStateFileInfo(h, "k", size, nullptr); }},
      {"k.pal", "/FlashFS/system/palettes/k.pal",
       [&](auto host, auto cb, auto ctx) { return tqvUploadPaletteStdC(h, host, cb, ctx); },
       [&](auto host, auto cb, auto ctx) { return tqvDownloadPaletteStdC(h, "k", host, cb, ctx); },
       [&](u32* size) { return tqvGetPaletteFileInfo(h, "k", size, nullptr); }},
      {"factory", "/FlashFS/factory/default.rsc",
       [&](auto host, auto cb, auto ctx) {
         return tqvUploadFactoryDefaultStateStdC(h, host, cb, ctx);
       },
       [&](auto host, auto cb, auto ctx) {
         return tqvDownloadFactoryDefaultStateStdC(h, host, cb, ctx);
       },
       [&](u32* size) { return tqvGetFactoryDefaultStateFileInfo(h, size, nullptr); }},
      {"any", "/FlashFS/empty/k.bin",
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
    const Bytes data = testutil::RandomBytes(1500, ++seed);
    const std::string in = dir.File(kind.hostName), out = dir.File("out");
    testutil::WriteFile(in, data);
    CProgress progress;
    ASSERT_EQ(kind.upload(in.c_str(), &CProgress::Report, &progress), TQV_OK);
    EXPECT_EQ(camera.File(kind.cameraPath), data);
    ASSERT_FALSE(progress.calls.empty());
    EXPECT_EQ(progress.calls.back(), std::make_pair(1500u, 1500u));

    ASSERT_EQ(kind.download(out.c_str(), nullptr, nullptr), TQV_OK);  // no progress wanted
    EXPECT_EQ(testutil::ReadFile(out), data);
    progress.calls.clear();
    ASSERT_EQ(kind.download(out.c_str(), &CProgress::Report, &progress), TQV_OK);
    ASSERT_FALSE(progress.calls.empty());
    EXPECT_EQ(progress.calls.back(), std::make_pair(1500u, 1500u));
    u32 size = 0;
    EXPECT_EQ(kind.info(&size), TQV_OK);
    EXPECT_EQ(size, 1500u);
  }

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

TEST_P(TransferEntryPoints, HostFilesThatCannotBeOpenedNeverReachTheCamera) {
  const std::string missing = dir.File("missing/none.nuc");
  const std::size_t traffic = camera.Traffic();
  EXPECT_EQ(tqvDownloadNUCStd(h, "office", missing.c_str(), {}), TQV_ERROR);
  // A null host path is a null argument (166); neither reaches the camera.
  EXPECT_EQ(tqvDownloadNUCStdC(h, "office", nullptr, nullptr, nullptr), TQV_INVALID_ARGUMENT);
  EXPECT_EQ(tqvUploadNUCStd(h, missing.c_str(), {}), TQV_ERROR);
  EXPECT_EQ(tqvUploadStateStdC(h, dir.File("none.rsc").c_str(), nullptr, nullptr), TQV_ERROR);
  EXPECT_EQ(tqvUploadFileStd(h, "/FlashFS/x", nullptr, {}), TQV_INVALID_ARGUMENT);
  EXPECT_EQ(tqvDownloadFactoryDefaultStateStd(h, missing.c_str(), {}), TQV_ERROR);
  EXPECT_EQ(camera.Traffic(), traffic);

  int unknown = 0;
  EXPECT_EQ(
      tqvDownloadFileStdC(&unknown, "/FlashFS/notes.txt", dir.File("x").c_str(), nullptr, nullptr),
      TQV_ERROR);
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
  ASSERT_EQ(tqvListNUCs(h, array), TQV_OK);
  const std::vector<std::string> nucs = ListedNames(array);
  EXPECT_EQ(std::set<std::string>(nucs.begin(), nucs.end()),
            (std::set<std::string>{"office", "lab.v2"}));
  tqvDirEntryArray_Free(array);

  EXPECT_EQ(tqvRemoveFile(h, "/FlashFS/renamed.txt"), TQV_OK);
  EXPECT_FALSE(camera.File("/FlashFS/renamed.txt"));
  EXPECT_NE(tqvRemoveFile(h, "/FlashFS/renamed.txt"), TQV_OK);
  EXPECT_NE(tqvGetFileInfo(h, "/FlashFS/renamed.txt", &size, nullptr), TQV_OK);
}

INSTANTIATE_TEST_SUITE_P(Backends, TransferEntryPoints,
                         ::testing::Values(Backend::PropertyTree, Backend::GenICamPlain,
                                           Backend::GenICamCompressed),
                         [](const auto& info) { return BackendName(info.param); });

// Every listing entry point answers an unknown handle with 0xFFFFFFFF whatever the array; only a
// known handle without an array gets 166, and then without camera traffic.
TEST(Listings, UnknownHandleIsAnsweredBeforeTheArrayIsChecked) {
  testutil::PTreeCamera cam;
  tqvDirEntryArray* dir = tqvDirEntryArray_Alloc();
  tqvInfoEntryArray* info = tqvInfoEntryArray_Alloc();
  using Listing = std::function<u32(void* handle, bool withArray)>;
  const std::vector<std::pair<const char*, Listing>> listings = {
      {"ListNUCs", [&](void* h, bool a) { return tqvListNUCs(h, a ? dir : nullptr); }},
      {"ListStates", [&](void* h, bool a) { return tqvListStates(h, a ? dir : nullptr); }},
      {"ListLensStates", [&](void* h, bool a) { return tqvListLensStates(h, a ? dir : nullptr); }},
      {"ListPalettes", [&](void* h, bool a) { return tqvListPalettes(h, a ? dir : nullptr); }},
      {"ListDir", [&](void* h, bool a) { return tqvListDir(h, "/FlashFS", a ? dir : nullptr); }},
      {"GetCameraExtraInfo",
       [&](void* h, bool a) { return tqvGetCameraExtraInfo(h, a ? info : nullptr); }},
  };
  int notAHandle = 0;
  for (const auto& [name, list] : listings) {
    for (void* unknown : {static_cast<void*>(nullptr), static_cast<void*>(&notAHandle)}) {
      EXPECT_EQ(list(unknown, false), TQV_ERROR) << name;
      EXPECT_EQ(list(unknown, true), TQV_ERROR) << name;
    }
    cam.camera().ClearTraffic();
    EXPECT_EQ(list(cam.handle(), false), TQV_INVALID_ARGUMENT) << name;
    EXPECT_TRUE(cam.camera().Traffic().empty()) << name;
  }
  EXPECT_EQ(tqvDirEntryArray_size(dir), 0u);
  tqvDirEntryArray_Free(dir);
  tqvInfoEntryArray_Free(info);
}

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
  EXPECT_FALSE(tqvOpenFileStdWrite(nullptr));
}
