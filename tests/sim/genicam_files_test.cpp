// The camera side of the file and directory protocol, driven by a host of the test's own through
// the libzelcam feature interfaces: the refusals a strict camera makes (the library's own tests
// provoke only the upload that delivers less than it announced), operation faults counted per
// operation, and the store's paths and capacity.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <stdexcept>

#include "genicam/SimDevice.h"
#include "zel/cam/gic.h"

namespace {

using namespace zel::cam::gic;
using namespace sim::genicam;  // the FileStatus values
using Bytes = std::vector<zel::u8>;

Bytes Deflate(const Bytes& input) {
  uLongf length = compressBound(static_cast<uLong>(input.size()));
  Bytes output(length);
  EXPECT_EQ(compress2(output.data(), &length, input.data(), static_cast<uLong>(input.size()),
                      Z_DEFAULT_COMPRESSION),
            Z_OK);
  output.resize(length);
  return output;
}

// The host side of the protocol on a new "sim" camera. Every access goes through the gic
// interfaces; the simulator's commands complete when executed.
struct Host {
  zel::TSharedPtr<IGenICam> device = OpenDevice("sim");
  Device& sim = *DeviceOf(device.get());

  template <typename T>
  zel::TSharedPtr<T> Feature(const std::string& name) {
    zel::TSharedPtr<T> feature = device->GetFeature(name.c_str()).template DynamicCast<T>();
    if (!feature) throw std::runtime_error("no feature " + name);
    return feature;
  }
  void SetInt(const char* name, i64 value) { Feature<IInteger>(name)->SetValue(value); }
  void SetEnum(const char* name, i64 value) { Feature<IEnum>(name)->SetIntValue(value); }
  void SetText(const char* name, const char* text) { Feature<IString>(name)->SetValue(text); }

  i64 Run(i64 operation) {
    SetEnum("FileOperationSelector", operation);
    Feature<ICommand>("FileOperationExecute")->Execute();
    return Feature<IEnum>("FileOperationStatus")->GetIntValue();
  }
  void Select(i64 kind, const char* name) {
    SetEnum("FileSelector", kind);
    if (kind != 5) SetText("FileName", name);
  }
  // Opens for reading (mode 0) or for writing `size` bytes (mode 1).
  i64 Open(i64 kind, const char* name, i64 mode, bool compressed, i64 size = 0) {
    Select(kind, name);
    SetEnum("FileCompression", compressed ? 1 : 0);
    SetEnum("FileOpenMode", mode);
    if (mode == 1) SetInt("FileSize", size);
    return Run(0);
  }
  // Writes at most one register of bytes at offset 0.
  i64 Send(const Bytes& data) {
    auto buffer = Feature<IRegister>("FileAccessBuffer");
    Bytes whole(static_cast<std::size_t>(buffer->GetLength()), 0);
    std::copy(data.begin(), data.end(), whole.begin());
    SetInt("FileAccessOffset", 0);
    SetInt("FileAccessLength", static_cast<i64>(data.size()));
    buffer->Set(whole.data(), static_cast<i64>(whole.size()));
    return Run(3);
  }
  // Open for writing with the size announced, send, close.
  i64 Write(i64 kind, const char* name, const Bytes& data) {
    i64 status = Open(kind, name, 1, false, static_cast<i64>(data.size()));
    if (status != 0) return status;
    status = Send(data);
    i64 close = Run(1);
    return status != 0 ? status : close;
  }
  i64 Rename(i64 kind, const char* name, const char* newName) {
    Select(kind, name);
    SetText("FileNewName", newName);
    return Run(5);
  }
  i64 Directory(i64 selector, const char* name, i64 operation) {
    SetEnum("DirectorySelector", selector);
    if (selector == 0) SetText("DirectoryName", name);
    SetEnum("DirectoryOperationSelector", operation);
    Feature<ICommand>("DirectoryOperationExecute")->Execute();
    return Feature<IEnum>("DirectoryOperationStatus")->GetIntValue();
  }
  i64 File(i64 kind, const char* name, i64 operation) {
    Select(kind, name);
    return Run(operation);
  }
  Bytes Stored(int kind, const char* name) {
    std::optional<Bytes> bytes = sim.Files().Read(sim.PathOf(kind, name));
    EXPECT_TRUE(bytes) << name;
    return bytes.value_or(Bytes());
  }
};

TEST(GicFileProtocol, RefusedUploadsLeaveTheStoreAlone) {
  Host host;
  const Bytes before = host.Stored(2, "office");
  struct Case {
    const char* what;
    bool compressed;
    i64 announced;
    Bytes stream;
    i64 writeStatus;
  } cases[] = {{"more than announced", false, 100, Bytes(101, 1), kFileOverflow},
               {"a corrupt stream", true, 600, Bytes(300, 0xEE), kFileFailure},
               {"a stream inflating to more", true, 10, Deflate(Bytes(11, 7)), kFileOverflow}};
  for (const Case& c : cases) {
    ASSERT_EQ(host.Open(2, "office", 1, c.compressed, c.announced), 0) << c.what;
    EXPECT_EQ(host.Send(c.stream), c.writeStatus) << c.what;
    EXPECT_EQ(host.Run(1), kFileIncomplete) << c.what;
  }
  EXPECT_EQ(host.Stored(2, "office"), before);

  EXPECT_EQ(host.Write(5, "", Bytes(10, 1)), kFileReadOnly);
  EXPECT_EQ(host.Write(0, "/nowhere/x.bin", Bytes(10, 1)), kFileNotFound);
  host.sim.Files().SetCapacity(host.sim.Files().Capacity() - host.sim.Files().FreeSpace() + 50);
  EXPECT_EQ(host.Write(0, "/FlashFS/big.bin", Bytes(51, 1)), kFileOverflow);
  EXPECT_EQ(host.Write(0, "/FlashFS/fits.bin", Bytes(50, 1)), 0);
  EXPECT_FALSE(host.sim.IsFileOpen());
}

// Each refusal answers its own status and changes nothing in the store.
TEST(GicFileProtocol, FileAndDirectoryOperationsRefuseWhatTheStoreCannotDo) {
  Host host;
  host.sim.SetEntries("FileOperationSelector",
                      {{"Open", 0}, {"Delete", 4}, {"Rename", 5}, {"GetInfo", 6}, {"Odd", 9}});
  host.sim.SetEntries("DirectoryOperationSelector",
                      {{"List", 0}, {"Create", 1}, {"Remove", 2}, {"Odd", 9}});
  const struct {
    const char* what;
    std::function<i64()> run;
    i64 status;
  } steps[] = {
      {"rename onto a file", [&] { return host.Rename(2, "office", "lab.v2"); }, kFileExists},
      {"rename a missing file", [&] { return host.Rename(2, "nope", "x"); }, kFileNotFound},
      {"name with a slash", [&] { return host.File(2, "../nuc/office", 6); }, kFileBadName},
      {"delete the read-only factory state", [&] { return host.File(5, "", 4); }, kFileReadOnly},
      {"delete a directory", [&] { return host.File(0, "/FlashFS/empty", 4); }, kFileBadName},
      {"unknown file operation", [&] { return host.Run(9); }, kFileFailure},
      {"create without parent", [&] { return host.Directory(0, "/no/new", 1); }, kFileNotFound},
      {"create onto a file", [&] { return host.Directory(0, "/FlashFS/notes.txt", 1); },
       kFileExists},
      {"remove a full directory", [&] { return host.Directory(0, "/FlashFS/nuc", 2); },
       kFileNotEmpty},
      {"list no name", [&] { return host.Directory(0, "", 0); }, kFileBadName},
      {"unknown directory operation", [&] { return host.Directory(0, "/FlashFS", 9); },
       kFileFailure},
  };
  for (const auto& step : steps)
    EXPECT_EQ(step.run(), step.status) << step.what;
  EXPECT_EQ(host.Stored(2, "office").size(), 1300u);
  EXPECT_TRUE(host.sim.Files().Exists("/FlashFS/nuc/lab.v2.nuc"));
  EXPECT_TRUE(host.sim.Files().IsDirectory("/FlashFS/empty"));
  EXPECT_TRUE(host.sim.Files().Exists(host.sim.PathOf(5, "")));
}

// Operation faults count the executes of their own operation only, and each fires `count` times.
TEST(GicProtocolFaults, OperationFaultsSkipAndCountTheirOperation) {
  Host host;
  host.sim.FailFileOperation({1, 1, 5, 2});  // the second read
  ASSERT_EQ(host.Open(2, "office", 0, false), 0);
  host.SetInt("FileAccessLength", 512);
  EXPECT_EQ(host.Run(2), 0);
  EXPECT_EQ(host.Run(2), 5);
  EXPECT_EQ(host.Run(2), 0);
  EXPECT_EQ(host.Run(1), 0);
  EXPECT_EQ(host.sim.ExecuteCount("FileOperationExecute"), 5);

  host.sim.FailDirectoryOperation({0, 2, 9, 0});
  EXPECT_EQ(host.Directory(2, "", 0), 9);
  EXPECT_EQ(host.Directory(2, "", 0), 9);
  EXPECT_EQ(host.Directory(2, "", 0), 0);
}

TEST(GicFileStore, NormalizesPathsAndRefusesThoseThatLeaveTheStore) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {{"/a/b", "/a/b"}, {"a//b/", "/a/b"}, {"/./a/.", "/a"}, {"/", "/"},
               {"", ""},         {"/a/../b", ""},   {"..", ""}};
  for (const Case& c : cases)
    EXPECT_EQ(FileStore::Normalize(c.in), c.out) << c.in;
  EXPECT_EQ(FileStore::Normalize(std::string("/a\0b", 4)), "");
}

TEST(GicFileStore, DirectoriesFilesAndCapacity) {
  FileStore store;
  store.SetCapacity(100);
  store.SetClock(500);
  EXPECT_EQ(store.Write("/d/f", Bytes(5, 1)), kFileNotFound);
  EXPECT_EQ(store.MakeDirectories("/d/e"), 0);
  EXPECT_EQ(store.Write("/d/e/f", Bytes(60, 1)), 0);
  EXPECT_EQ(store.Info("/d/e/f")->modified, 502u) << "/d took 500 and /d/e 501";
  EXPECT_EQ(store.Write("/d/g", Bytes(41, 1)), kFileOverflow);
  EXPECT_EQ(store.Write("/d/e/f", Bytes(100, 1)), 0) << "a replaced file frees its bytes";
  EXPECT_EQ(store.FreeSpace(), 0u);
  EXPECT_EQ(store.Rename("/d", "/d/e/x"), kFileBadName);
  EXPECT_EQ(store.Rename("/d", "/m"), 0);
  EXPECT_EQ(store.Read("/m/e/f")->size(), 100u) << "children move with their directory";
  EXPECT_EQ(store.Remove("/m"), kFileNotEmpty);
  EXPECT_EQ(store.Write("/m/e", Bytes(1, 1)), kFileBadName) << "a directory is no file";
}

}  // namespace
