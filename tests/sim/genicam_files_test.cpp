// The camera side of the file and directory protocol, driven by a host of the test's own through
// the libzelcam feature interfaces: the refusals a strict camera makes (the library's own tests
// provoke only the incomplete upload), operation faults counted per operation, and the store's
// paths and capacity.
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
using zel::u8;
using Bytes = std::vector<u8>;

Bytes Deflate(const Bytes& input) {
  uLongf length = compressBound(static_cast<uLong>(input.size()));
  Bytes output(length);
  EXPECT_EQ(compress2(output.data(), &length, input.data(), static_cast<uLong>(input.size()),
                      Z_DEFAULT_COMPRESSION),
            Z_OK);
  output.resize(length);
  return output;
}

// The host side of the protocol. Every access goes through the gic interfaces.
class Host {
 public:
  explicit Host(zel::TSharedPtr<IGenICam> device) : m_device(std::move(device)) {}

  template <typename T>
  zel::TSharedPtr<T> Feature(const std::string& name) {
    zel::TSharedPtr<T> feature = m_device->GetFeature(name.c_str()).template DynamicCast<T>();
    if (!feature) throw std::runtime_error("no feature " + name);
    return feature;
  }
  void SetInt(const char* name, i64 value) { Feature<IInteger>(name)->SetValue(value); }

  i64 Execute(const std::string& command, const std::string& status) {
    auto execute = Feature<ICommand>(command);
    execute->Execute();
    for (int polls = 0; !execute->IsDone(); ++polls) {
      if (polls > 100) throw std::runtime_error(command + " never completes");
    }
    return Feature<IEnum>(status)->GetIntValue();
  }
  i64 Run(i64 operation) {
    Feature<IEnum>("FileOperationSelector")->SetIntValue(operation);
    return Execute("FileOperationExecute", "FileOperationStatus");
  }
  void Select(i64 kind, const char* name) {
    Feature<IEnum>("FileSelector")->SetIntValue(kind);
    if (kind != 5) Feature<IString>("FileName")->SetValue(name);
  }
  // Opens for reading (mode 0) or for writing `size` bytes (mode 1).
  i64 Open(i64 kind, const char* name, i64 mode, bool compressed, i64 size = 0) {
    Select(kind, name);
    Feature<IEnum>("FileCompression")->SetIntValue(compressed ? 1 : 0);
    Feature<IEnum>("FileOpenMode")->SetIntValue(mode);
    if (mode == 1) SetInt("FileSize", size);
    return Run(0);
  }

  // Open for writing with the size announced, write chunk by chunk, close.
  i64 Write(i64 kind, const char* name, const Bytes& data) {
    i64 status = Open(kind, name, 1, false, static_cast<i64>(data.size()));
    if (status != 0) return status;
    status = SendChunks(data);
    i64 close = Run(1);
    return status != 0 ? status : close;
  }

  // Writes bytes through the access buffer from offset 0, a whole register each time.
  i64 SendChunks(const Bytes& stream) {
    auto buffer = Feature<IRegister>("FileAccessBuffer");
    auto length = static_cast<std::size_t>(buffer->GetLength());
    std::size_t offset = 0;
    do {
      std::size_t chunk = std::min(length, stream.size() - offset);
      Bytes send(length, 0);
      std::copy_n(stream.begin() + static_cast<std::ptrdiff_t>(offset), chunk, send.begin());
      SetInt("FileAccessOffset", static_cast<i64>(offset));
      SetInt("FileAccessLength", static_cast<i64>(chunk));
      buffer->Set(send.data(), static_cast<i64>(length));
      if (i64 status = Run(3)) return status;
      offset += chunk;
    } while (offset < stream.size());
    return 0;
  }

  i64 Rename(i64 kind, const char* name, const char* newName) {
    Select(kind, name);
    Feature<IString>("FileNewName")->SetValue(newName);
    return Run(5);
  }
  i64 Directory(i64 selector, const char* name, i64 operation) {
    Feature<IEnum>("DirectorySelector")->SetIntValue(selector);
    if (selector == 0) Feature<IString>("DirectoryName")->SetValue(name);
    Feature<IEnum>("DirectoryOperationSelector")->SetIntValue(operation);
    return Execute("DirectoryOperationExecute", "DirectoryOperationStatus");
  }

 private:
  zel::TSharedPtr<IGenICam> m_device;
};

zel::TSharedPtr<IGenICam> Open(const char* address = "sim") {
  zel::TSharedPtr<IGenICam> device = OpenDevice(address);
  EXPECT_TRUE(device) << address;
  return device;
}

Bytes Stored(Device& sim, int kind, const char* name) {
  std::optional<Bytes> bytes = sim.Files().Read(sim.PathOf(kind, name));
  EXPECT_TRUE(bytes) << name;
  return bytes.value_or(Bytes());
}

TEST(GicFileProtocol, RefusedUploadsLeaveTheStoreAlone) {
  auto device = Open();
  Device& sim = *DeviceOf(device.get());
  Host host(device);
  const Bytes before = Stored(sim, 2, "office");
  struct Case {
    const char* what;
    bool compressed;
    i64 announced;
    Bytes stream;
    i64 writeStatus;
  } cases[] = {
      {"more than announced", false, 100, Bytes(101, 1), kFileOverflow},
      {"fewer than announced", false, 600, Bytes(599, 1), 0},  // the library's sweeps rely on it
      {"a corrupt stream", true, 600, Bytes(300, 0xEE), kFileFailure},
      {"a stream inflating to more", true, 10, Deflate(Bytes(11, 7)), kFileOverflow}};
  for (const Case& c : cases) {
    ASSERT_EQ(host.Open(2, "office", 1, c.compressed, c.announced), 0) << c.what;
    EXPECT_EQ(host.SendChunks(c.stream), c.writeStatus) << c.what;
    EXPECT_EQ(host.Run(1), kFileIncomplete) << c.what;
  }
  EXPECT_EQ(Stored(sim, 2, "office"), before);

  EXPECT_EQ(host.Write(5, "", Bytes(10, 1)), kFileReadOnly);
  EXPECT_EQ(host.Write(0, "/nowhere/x.bin", Bytes(10, 1)), kFileNotFound);
  sim.Files().SetCapacity(sim.Files().Capacity() - sim.Files().FreeSpace() + 50);
  EXPECT_EQ(host.Write(0, "/FlashFS/big.bin", Bytes(51, 1)), kFileOverflow);
  EXPECT_EQ(host.Write(0, "/FlashFS/fits.bin", Bytes(50, 1)), 0);
  EXPECT_FALSE(sim.IsFileOpen());
}

// Each refusal answers its own status and changes nothing in the store.
TEST(GicFileProtocol, FileAndDirectoryOperationsRefuseWhatTheStoreCannotDo) {
  auto device = Open();
  Device& sim = *DeviceOf(device.get());
  Host host(device);
  auto file = [&](i64 kind, const char* name, i64 operation) {
    host.Select(kind, name);
    return host.Run(operation);
  };
  sim.SetEntries("FileOperationSelector",
                 {{"Open", 0}, {"Delete", 4}, {"Rename", 5}, {"GetInfo", 6}, {"Odd", 9}});
  sim.SetEntries("DirectoryOperationSelector",
                 {{"List", 0}, {"Create", 1}, {"Remove", 2}, {"Odd", 9}});
  struct Step {
    const char* what;
    std::function<i64()> run;
    i64 status;
  } steps[] = {
      {"rename onto a file", [&] { return host.Rename(2, "office", "lab.v2"); }, kFileExists},
      {"rename a missing file", [&] { return host.Rename(2, "nope", "x"); }, kFileNotFound},
      {"name with a slash", [&] { return file(2, "../nuc/office", 6); }, kFileBadName},
      {"delete the read-only factory state", [&] { return file(5, "", 4); }, kFileReadOnly},
      {"delete a directory as a file", [&] { return file(0, "/FlashFS/empty", 4); }, kFileBadName},
      {"unknown file operation", [&] { return host.Run(9); }, kFileFailure},
      {"create without parent", [&] { return host.Directory(0, "/missing/new", 1); },
       kFileNotFound},
      {"create onto a file", [&] { return host.Directory(0, "/FlashFS/notes.txt", 1); },
       kFileExists},
      {"remove a full directory", [&] { return host.Directory(0, "/FlashFS/nuc", 2); },
       kFileNotEmpty},
      {"list no name", [&] { return host.Directory(0, "", 0); }, kFileBadName},
      {"unknown directory operation", [&] { return host.Directory(0, "/FlashFS", 9); },
       kFileFailure},
  };
  for (const Step& step : steps)
    EXPECT_EQ(step.run(), step.status) << step.what;
  EXPECT_EQ(Stored(sim, 2, "office").size(), 1300u);
  EXPECT_TRUE(sim.Files().Exists("/FlashFS/nuc/lab.v2.nuc"));
  EXPECT_TRUE(sim.Files().IsDirectory("/FlashFS/empty"));
  EXPECT_TRUE(sim.Files().Exists(sim.PathOf(5, "")));
}

// Operation faults count the executes of their own operation only, and each fires `count` times.
TEST(GicProtocolFaults, OperationFaultsSkipAndCountTheirOperation) {
  auto device = Open();
  Device& sim = *DeviceOf(device.get());
  Host host(device);
  sim.FailFileOperation({1, 1, 5, 2});  // the second read
  ASSERT_EQ(host.Open(2, "office", 0, false), 0);
  host.SetInt("FileAccessLength", 512);
  EXPECT_EQ(host.Run(2), 0);
  EXPECT_EQ(host.Run(2), 5);
  EXPECT_EQ(host.Run(2), 0);
  EXPECT_EQ(host.Run(1), 0);
  EXPECT_EQ(sim.ExecuteCount("FileOperationExecute"), 5);

  sim.FailDirectoryOperation({0, 2, 9, 0});
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
