// The simulated camera's file store through the client: directories, listings, renames, file
// information and chunked transfers with progress.
#include <cstring>

#include "common/testutil.h"
#include "ptree_fixture.h"

namespace {

using ptreetest::Connection;
using sim::ptree::Camera;

struct Listed {
  std::string name;
  uint8_t attributes;
  uint32_t size;
  bool operator==(const Listed&) const = default;
};

uint32_t List(void* tree, const char* dir, const char* pattern, std::vector<Listed>* out) {
  void* handle = nullptr;
  uint32_t result = resDirOpen(tree, &handle, dir, pattern);
  if (result != RES_OK) return result;
  const char* name = nullptr;
  uint8_t attributes = 0;
  uint32_t size = 0;
  uint64_t time = 0;
  while ((result = resDirRead(tree, handle, &name, &attributes, &size, &time)) == RES_OK) {
    out->push_back({name, attributes, size});
  }
  EXPECT_EQ(result, RES_NOT_FOUND);  // the end of the listing
  return resDirClose(tree, handle);
}

TEST(PtreeFiles, DirectoriesAndTheirResultCodes) {
  Connection c;
  void* t = c.tree();
  EXPECT_EQ(resCreateDir(t, "/nuc"), RES_OK);
  EXPECT_EQ(resCreateDir(t, "/nuc"), RES_FAILED);
  EXPECT_EQ(resCreateDir(t, "/a/b"), RES_NOT_FOUND);  // no parents made
  EXPECT_EQ(resFileExists(t, "/nuc"), RES_OK);
  EXPECT_EQ(resFileExists(t, "/NUC/"), RES_OK);  // any case, trailing '/'
  EXPECT_EQ(resFileExists(t, "/nuc/x.nuc"), RES_NOT_FOUND);
  ASSERT_EQ(c.camera().Files().Put("/nuc/x.nuc", {1, 2, 3}), RES_OK);
  EXPECT_EQ(resFileExists(t, "nuc//X.NUC"), RES_OK);
  EXPECT_EQ(resCreateDir(t, "/nuc/x.nuc/sub"), RES_NOT_SUPPORTED);  // a file is no parent
  EXPECT_EQ(resRemoveDir(t, "/nuc"), RES_FAILED);                   // not empty
  EXPECT_EQ(resRemoveDir(t, "/nuc/x.nuc"), RES_NOT_SUPPORTED);
  EXPECT_EQ(resDeleteFile(t, "/nuc"), RES_NOT_SUPPORTED);
  EXPECT_EQ(resDeleteFile(t, "/nuc/x.nuc"), RES_OK);
  EXPECT_EQ(resDeleteFile(t, "/nuc/x.nuc"), RES_NOT_FOUND);
  EXPECT_EQ(resRemoveDir(t, "/nuc"), RES_OK);
  EXPECT_EQ(resRemoveDir(t, "/"), RES_ACCESS_DENIED);
  EXPECT_EQ(resRemoveDir(t, "/nuc"), RES_NOT_FOUND);
  for (const char* bad : {"", "/a/../b", "/./a", "/a*b", "/a?", "/a\\b", "/tab\there"}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(resFileExists(t, bad), RES_INVALID_ARGUMENT);
    EXPECT_EQ(resCreateDir(t, bad), RES_INVALID_ARGUMENT);
  }
  EXPECT_EQ(resCreateDir(t, ("/" + std::string(256, 'n')).c_str()), RES_TOO_LARGE);
}

TEST(PtreeFiles, ListingsMatchPatternsWithoutRegardToCase) {
  Connection c;
  sim::ptree::FileStore& files = c.camera().Files();
  for (const char* name : {"a.nuc", "B.NUC", "c.lens", "d.nuc.bak", "e.nu"}) {
    files.Put(std::string("/store/") + name, std::vector<uint8_t>(std::strlen(name), 0));
  }
  files.MakeDirs("/store/sub.nuc");
  struct Case {
    const char* pattern;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {"*", {"a.nuc", "B.NUC", "c.lens", "d.nuc.bak", "e.nu", "sub.nuc"}},
      {"*.nuc", {"a.nuc", "B.NUC", "sub.nuc"}},
      {"*.NUC", {"a.nuc", "B.NUC", "sub.nuc"}},
      {"?.lens", {"c.lens"}},
      {"*.nuc*", {"a.nuc", "B.NUC", "d.nuc.bak", "sub.nuc"}},
      {"*.pal", {}},
      {"b*", {"B.NUC"}},
      {"", {}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.pattern);
    std::vector<Listed> listed;
    ASSERT_EQ(List(c.tree(), "/store", test.pattern, &listed), RES_OK);
    std::vector<std::string> names;
    for (const Listed& entry : listed)
      names.push_back(entry.name);
    EXPECT_EQ(names, test.names);
  }
  std::vector<Listed> listed;
  ASSERT_EQ(List(c.tree(), "/store/", "*.nu*", &listed), RES_OK);
  EXPECT_EQ(listed.front(), (Listed{"a.nuc", 0x20, 5}));
  EXPECT_EQ(listed.back(), (Listed{"sub.nuc", 0x10, 0}));
  void* handle = &handle;
  EXPECT_EQ(resDirOpen(c.tree(), &handle, "/none", "*"), RES_NOT_FOUND);
  EXPECT_EQ(resDirOpen(c.tree(), &handle, "/store/a.nuc", "*"), RES_NOT_SUPPORTED);
  EXPECT_EQ(handle, &handle);
  EXPECT_EQ(resDirRead(c.tree(), nullptr, nullptr, nullptr, nullptr, nullptr),
            RES_INVALID_ARGUMENT);
  EXPECT_EQ(resDirClose(c.tree(), &handle), RES_INVALID_ARGUMENT);
  EXPECT_EQ(c.camera().Traffic().back().value, "*");
}

TEST(PtreeFiles, RenameMovesKeepsCaseRulesAndRefusesConflicts) {
  Connection c;
  sim::ptree::FileStore& files = c.camera().Files();
  files.Put("/d1/a.rsc", {1});
  files.Put("/d1/b.rsc", {2});
  files.MakeDirs("/d2");
  void* t = c.tree();
  EXPECT_EQ(resRenameFile(t, "/d1/a.rsc", "/d1/B.RSC"), RES_FAILED);  // taken, whatever the case
  EXPECT_EQ(resRenameFile(t, "/d1/a.rsc", "/d1/A.RSC"), RES_OK);      // a change of case only
  EXPECT_EQ(files.Names("/d1"), (std::vector<std::string>{"A.RSC", "b.rsc"}));
  EXPECT_EQ(resRenameFile(t, "/d1/b.rsc", "/d2/moved.rsc"), RES_OK);
  EXPECT_EQ(files.Data("/d2/moved.rsc"), std::vector<uint8_t>{2});
  EXPECT_EQ(resRenameFile(t, "/d1/none", "/d1/x"), RES_NOT_FOUND);
  EXPECT_EQ(resRenameFile(t, "/d1/A.RSC", "/none/x"), RES_NOT_FOUND);
  EXPECT_EQ(resRenameFile(t, "/d1", "/d1/inner"), RES_INVALID_ARGUMENT);
  EXPECT_EQ(resRenameFile(t, "/", "/x"), RES_ACCESS_DENIED);
  EXPECT_EQ(resRenameFile(t, "/d1", "/d3"), RES_OK);  // directories move with their files
  EXPECT_TRUE(files.IsFile("/d3/a.rsc"));
  files.SetAttributes("/d3/a.rsc", 0x21);
  EXPECT_EQ(resRenameFile(t, "/d3/a.rsc", "/d3/z.rsc"), RES_ACCESS_DENIED);
  EXPECT_EQ(resDeleteFile(t, "/d3/a.rsc"), RES_ACCESS_DENIED);
  EXPECT_EQ(c.camera().Count("renameFile", "/d1/a.rsc"), 2u);
}

TEST(PtreeFiles, FileInformationAndFreeSpace) {
  Connection c;
  sim::ptree::FileStore& files = c.camera().Files();
  files.SetClock(1700000000);
  files.SetFreeSpace(1000);
  ASSERT_EQ(files.Put("/x/file.pal", std::vector<uint8_t>(300, 7)), RES_OK);
  EXPECT_EQ(files.FreeSpace(), 700u);
  uint8_t attributes = 0;
  uint32_t size = 0;
  uint64_t time = 0;
  ASSERT_EQ(resGetFileInfo(c.tree(), "/x/file.pal", &attributes, &size, &time), RES_OK);
  EXPECT_EQ(attributes, 0x20);
  EXPECT_EQ(size, 300u);
  EXPECT_EQ(time, 1700000000u);
  ASSERT_EQ(resGetFileInfo(c.tree(), "/x", &attributes, &size, nullptr), RES_OK);
  EXPECT_EQ(attributes, 0x10);
  EXPECT_EQ(resGetFileInfo(c.tree(), "/x/none", &attributes, &size, &time), RES_NOT_FOUND);
  EXPECT_EQ(resDeleteFile(c.tree(), "/x/file.pal"), RES_OK);
  EXPECT_EQ(files.FreeSpace(), 1000u);
}

// A host file in memory, with a record of every callback.
struct Host {
  std::vector<uint8_t> data;
  std::vector<std::pair<uint32_t, uint32_t>> chunks;    // offset, length
  std::vector<std::pair<uint32_t, uint32_t>> progress;  // done, total
  uint32_t failAtChunk = UINT32_MAX;
  uint32_t failCode = 0;

  static uint32_t Read(uint32_t offset, void* buffer, uint32_t length, void* context) {
    auto* host = static_cast<Host*>(context);
    host->chunks.emplace_back(offset, length);
    if (host->chunks.size() - 1 == host->failAtChunk) return host->failCode;
    std::memcpy(buffer, host->data.data() + offset, length);
    return 0;
  }
  static uint32_t Write(uint32_t offset, const void* buffer, uint32_t length, void* context) {
    auto* host = static_cast<Host*>(context);
    host->chunks.emplace_back(offset, length);
    if (host->chunks.size() - 1 == host->failAtChunk) return host->failCode;
    host->data.resize(offset + length);
    std::memcpy(host->data.data() + offset, buffer, length);
    return 0;
  }
  static int Progress(uint32_t done, uint32_t total, void* context) {
    static_cast<Host*>(context)->progress.emplace_back(done, total);
    return 1;  // ignored by the client
  }
};

using Pairs = std::vector<std::pair<uint32_t, uint32_t>>;

TEST(PtreeFiles, SendAndReceiveMoveDataInChunksWithProgress) {
  Connection c;
  c.camera().Files().MakeDirs("/nuc");
  Host up;
  up.data = testutil::RandomBytes(10000, 7);
  ASSERT_EQ(resSendFile(c.tree(), "/nuc/a.nuc", 10000, &Host::Read, &up, &Host::Progress, &up),
            RES_OK);
  EXPECT_EQ(up.chunks, (Pairs{{0, 4096}, {4096, 4096}, {8192, 1808}}));
  EXPECT_EQ(up.progress, (Pairs{{4096, 10000}, {8192, 10000}, {10000, 10000}}));
  EXPECT_EQ(c.camera().Files().Data("/nuc/a.nuc"), up.data);

  Host down;
  ASSERT_EQ(resRecvFile(c.tree(), "/nuc/a.nuc", &Host::Write, &down, &Host::Progress, &down),
            RES_OK);
  EXPECT_EQ(down.chunks, up.chunks);
  EXPECT_EQ(down.progress, up.progress);
  EXPECT_EQ(down.data, up.data);

  // Another chunk size, and no progress callback.
  c.camera().SetChunkSize(3000);
  Host small;
  ASSERT_EQ(resRecvFile(c.tree(), "/nuc/a.nuc", &Host::Write, &small, nullptr, nullptr), RES_OK);
  EXPECT_EQ(small.chunks, (Pairs{{0, 3000}, {3000, 3000}, {6000, 3000}, {9000, 1000}}));
  EXPECT_EQ(small.data, up.data);
  EXPECT_EQ(c.camera().Count("send", "/nuc/a.nuc"), 1u);
  EXPECT_EQ(c.camera().Traffic().front().value, "10000");
}

TEST(PtreeFiles, ACallbackOrAChunkFailureEndsTheTransfer) {
  Connection c;
  sim::ptree::FileStore& files = c.camera().Files();
  files.Put("/f/old.bin", {9, 9});
  Host up;
  up.data = testutil::RandomBytes(10000, 3);
  up.failAtChunk = 1;
  up.failCode = 77;
  EXPECT_EQ(resSendFile(c.tree(), "/f/old.bin", 10000, &Host::Read, &up, &Host::Progress, &up),
            77u);
  EXPECT_EQ(up.progress, (Pairs{{4096, 10000}}));
  EXPECT_EQ(files.Data("/f/old.bin"), (std::vector<uint8_t>{9, 9}));  // the old file stays

  files.Put("/f/big.bin", testutil::RandomBytes(9000, 1));
  Host down;
  down.failAtChunk = 0;
  down.failCode = 5;
  EXPECT_EQ(resRecvFile(c.tree(), "/f/big.bin", &Host::Write, &down, &Host::Progress, &down), 5u);
  EXPECT_TRUE(down.progress.empty());

  c.camera().FailTransferChunk(2, RES_TIMEOUT);
  Host again;
  again.data = up.data;
  EXPECT_EQ(
      resSendFile(c.tree(), "/f/new.bin", 10000, &Host::Read, &again, &Host::Progress, &again),
      RES_TIMEOUT);
  EXPECT_EQ(again.progress.size(), 2u);
  EXPECT_FALSE(files.IsFile("/f/new.bin"));
  EXPECT_EQ(c.camera().PendingFaults(), 0u);  // the chunk fault was for that transfer only
}

TEST(PtreeFiles, TransfersRefuseBadTargetsBeforeAnyCallback) {
  Connection c;
  sim::ptree::FileStore& files = c.camera().Files();
  files.MakeDirs("/dir");
  files.SetFreeSpace(5000);
  Host host;
  host.data.resize(6000);
  void* t = c.tree();
  EXPECT_EQ(resSendFile(t, "/dir/x", 6000, &Host::Read, &host, nullptr, nullptr), RES_TOO_LARGE);
  EXPECT_EQ(resSendFile(t, "/none/x", 10, &Host::Read, &host, nullptr, nullptr), RES_NOT_FOUND);
  EXPECT_EQ(resSendFile(t, "/dir", 10, &Host::Read, &host, nullptr, nullptr), RES_NOT_SUPPORTED);
  EXPECT_EQ(resSendFile(t, "/dir/x", 10, nullptr, nullptr, nullptr, nullptr), RES_INVALID_ARGUMENT);
  EXPECT_EQ(resRecvFile(t, "/dir/none", &Host::Write, &host, nullptr, nullptr), RES_NOT_FOUND);
  EXPECT_EQ(resRecvFile(t, "/dir", &Host::Write, &host, nullptr, nullptr), RES_NOT_SUPPORTED);
  EXPECT_EQ(resRecvFile(t, "/dir/none", nullptr, nullptr, nullptr, nullptr), RES_INVALID_ARGUMENT);
  EXPECT_TRUE(host.chunks.empty());
  // An empty file moves without a single callback.
  EXPECT_EQ(resSendFile(t, "/dir/empty", 0, &Host::Read, &host, &Host::Progress, &host), RES_OK);
  EXPECT_EQ(resRecvFile(t, "/dir/empty", &Host::Write, &host, &Host::Progress, &host), RES_OK);
  EXPECT_TRUE(files.IsFile("/dir/empty"));
  EXPECT_TRUE(host.chunks.empty());
  EXPECT_TRUE(host.progress.empty());
}

}  // namespace
