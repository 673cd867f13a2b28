// The camera side of the file and directory protocol, driven the way a host drives it: through
// the libzelcam feature interfaces only, step by step.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <stdexcept>

#include "common/testutil.h"
#include "genicam/SimDevice.h"
#include "zel/cam/gic.h"

namespace {

using namespace zel::cam::gic;
using sim::genicam::Device;
using sim::genicam::DeviceOf;
using zel::i64;
using zel::u8;
using Bytes = std::vector<u8>;

zel::TSharedPtr<IGenICam> Open(const char* address) {
  zel::TSharedPtr<IGenICam> device = OpenDevice(address);
  EXPECT_TRUE(device) << address;
  return device;
}

Bytes Compressible(std::size_t size) {
  Bytes bytes(size);
  for (std::size_t i = 0; i < size; ++i)
    bytes[i] = static_cast<u8>("infrared "[i % 9]);
  return bytes;
}

Bytes Deflate(const Bytes& input) {
  z_stream stream{};
  EXPECT_EQ(deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY),
            Z_OK);
  Bytes output(deflateBound(&stream, static_cast<uLong>(input.size())));
  stream.next_in = const_cast<u8*>(input.data());
  stream.avail_in = static_cast<uInt>(input.size());
  stream.next_out = output.data();
  stream.avail_out = static_cast<uInt>(output.size());
  EXPECT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
  output.resize(stream.total_out);
  deflateEnd(&stream);
  return output;
}

// Inflates received chunks the way a host does, one register at a time.
class Inflater {
 public:
  Inflater() { m_ok = inflateInit2(&m_stream, 15) == Z_OK; }
  ~Inflater() { inflateEnd(&m_stream); }
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;
  // Appends what the chunk yields; false on a stream error.
  bool Feed(const Bytes& chunk, Bytes* out) {
    if (!m_ok || m_ended) return m_ok;
    m_stream.next_in = const_cast<u8*>(chunk.data());
    m_stream.avail_in = static_cast<uInt>(chunk.size());
    u8 buffer[4096];
    do {
      m_stream.next_out = buffer;
      m_stream.avail_out = sizeof buffer;
      int result = inflate(&m_stream, Z_NO_FLUSH);
      out->insert(out->end(), buffer, buffer + (sizeof buffer - m_stream.avail_out));
      if (result == Z_STREAM_END) {
        m_ended = true;
        break;
      }
      if (result != Z_OK && result != Z_BUF_ERROR) return false;
      if (result == Z_BUF_ERROR) break;
    } while (m_stream.avail_in > 0 || m_stream.avail_out == 0);
    return true;
  }

 private:
  z_stream m_stream{};
  bool m_ok = false;
  bool m_ended = false;
};

struct Entry {
  std::string name;
  i64 size = 0;
  i64 attrib = 0;
  i64 time = 0;
};

// The host side of the protocol. Every access goes through the gic interfaces.
class Host {
 public:
  explicit Host(zel::TSharedPtr<IGenICam> device, std::string prefix = "")
      : m_device(std::move(device)), m_prefix(std::move(prefix)) {}

  template <typename T>
  zel::TSharedPtr<T> Feature(const std::string& name) {
    zel::TSharedPtr<T> feature = m_device->GetFeature(name.c_str()).template DynamicCast<T>();
    if (!feature) throw std::runtime_error("no feature " + name);
    return feature;
  }
  template <typename T>
  zel::TSharedPtr<T> File(const char* role) {
    return Feature<T>(m_prefix + role);
  }

  i64 Execute(const std::string& command, const std::string& status) {
    auto execute = Feature<ICommand>(command);
    execute->Execute();
    for (int polls = 0; !execute->IsDone(); ++polls) {
      if (polls > 100) throw std::runtime_error(command + " never completes");
    }
    return Feature<IEnum>(status)->GetIntValue();
  }
  i64 RunSelected() {
    return Execute(m_prefix + "FileOperationExecute", m_prefix + "FileOperationStatus");
  }
  i64 Run(i64 operation) {
    File<IEnum>("FileOperationSelector")->SetIntValue(operation);
    return RunSelected();
  }
  void Select(i64 kind, const char* name) {
    File<IEnum>("FileSelector")->SetIntValue(kind);
    if (kind != 5) File<IString>("FileName")->SetValue(name);
  }
  void Compression(bool on) {
    if (on) {
      File<IEnum>("FileCompression")->SetIntValue(1);
    } else if (m_device->GetFeature((m_prefix + "FileCompression").c_str())) {
      File<IEnum>("FileCompression")->SetIntValue(0);
    }
  }

  struct Download {
    i64 status = 0;
    i64 size = -1;
    Bytes bytes;
    std::vector<std::pair<i64, i64>> requests;  // offset, length
  };

  // Open, read chunk by chunk, and close after every successful open.
  Download Read(i64 kind, const char* name, bool compressed) {
    Download result;
    Select(kind, name);
    Compression(compressed);
    File<IEnum>("FileOperationSelector")->SetIntValue(0);
    File<IEnum>("FileOpenMode")->SetIntValue(0);
    result.status = RunSelected();
    if (result.status != 0) return result;
    auto buffer = File<IRegister>("FileAccessBuffer");
    i64 length = buffer->GetLength();
    result.size = File<IInteger>("FileSize")->GetValue();
    i64 remaining = result.size;
    i64 offset = 0;
    Inflater inflater;
    File<IEnum>("FileOperationSelector")->SetIntValue(2);
    while (remaining > 0 && result.requests.size() < 10000) {
      i64 request = !compressed && remaining < length ? remaining : length;
      File<IInteger>("FileAccessOffset")->SetValue(offset);
      File<IInteger>("FileAccessLength")->SetValue(request);
      result.status = RunSelected();
      if (result.status != 0) break;
      result.requests.emplace_back(offset, request);
      Bytes chunk(static_cast<std::size_t>(length));
      buffer->Get(chunk.data(), length);
      std::size_t before = result.bytes.size();
      if (compressed) {
        if (!inflater.Feed(chunk, &result.bytes)) {
          result.status = -1;
          break;
        }
      } else {
        result.bytes.insert(result.bytes.end(), chunk.begin(), chunk.begin() + request);
      }
      remaining -= static_cast<i64>(result.bytes.size() - before);
      offset += compressed ? length : request;
    }
    i64 close = Run(1);
    if (result.status == 0) result.status = close;
    return result;
  }

  // Open for writing with the size announced, write chunk by chunk, close.
  i64 Write(i64 kind, const char* name, const Bytes& data, bool compressed) {
    Select(kind, name);
    Compression(compressed);
    File<IEnum>("FileOperationSelector")->SetIntValue(0);
    File<IEnum>("FileOpenMode")->SetIntValue(1);
    File<IInteger>("FileSize")->SetValue(static_cast<i64>(data.size()));
    i64 status = RunSelected();
    if (status != 0) return status;
    Bytes stream = compressed ? Deflate(data) : data;
    status = SendChunks(stream);
    i64 close = Run(1);
    return status != 0 ? status : close;
  }

  // Writes bytes through the access buffer from offset 0, a whole register each time.
  i64 SendChunks(const Bytes& stream) {
    auto buffer = File<IRegister>("FileAccessBuffer");
    std::size_t length = static_cast<std::size_t>(buffer->GetLength());
    File<IEnum>("FileOperationSelector")->SetIntValue(3);
    std::size_t offset = 0;
    do {
      std::size_t chunk = std::min(length, stream.size() - offset);
      Bytes send(length, 0);
      std::copy_n(stream.begin() + static_cast<std::ptrdiff_t>(offset), chunk, send.begin());
      File<IInteger>("FileAccessOffset")->SetValue(static_cast<i64>(offset));
      File<IInteger>("FileAccessLength")->SetValue(static_cast<i64>(chunk));
      buffer->Set(send.data(), static_cast<i64>(length));
      i64 status = RunSelected();
      if (status != 0) return status;
      offset += chunk;
    } while (offset < stream.size());
    return 0;
  }

  i64 Info(i64 kind, const char* name, i64* size = nullptr, i64* time = nullptr) {
    Select(kind, name);
    i64 status = Run(6);
    if (status == 0 && size) *size = File<IInteger>("FileSize")->GetValue();
    if (status == 0 && time) *time = File<IInteger>("FileModifiedTime")->GetValue();
    return status;
  }
  i64 Delete(i64 kind, const char* name) {
    Select(kind, name);
    return Run(4);
  }
  i64 Rename(i64 kind, const char* name, const char* newName) {
    Select(kind, name);
    File<IString>("FileNewName")->SetValue(newName);
    return Run(5);
  }

  i64 Directory(i64 selector, const char* name, i64 operation) {
    Feature<IEnum>("DirectorySelector")->SetIntValue(selector);
    if (selector == 0) Feature<IString>("DirectoryName")->SetValue(name);
    Feature<IEnum>("DirectoryOperationSelector")->SetIntValue(operation);
    return Execute("DirectoryOperationExecute", "DirectoryOperationStatus");
  }
  i64 List(i64 selector, const char* name, std::vector<Entry>* entries) {
    entries->clear();
    i64 status = Directory(selector, name, 0);
    if (status != 0) return status;
    auto index = Feature<IInteger>("DirectoryEntryIndex");
    for (i64 i = 0, last = index->GetMax(); i <= last; ++i) {
      index->SetValue(i);
      entries->push_back(Entry{Feature<IString>("DirectoryEntryName")->GetValue().c_str(),
                               Feature<IInteger>("DirectoryEntrySize")->GetValue(),
                               Feature<IEnum>("DirectoryEntryAttrib")->GetIntValue(),
                               Feature<IInteger>("DirectoryEntryModifiedTime")->GetValue()});
    }
    return 0;
  }

 private:
  zel::TSharedPtr<IGenICam> m_device;
  std::string m_prefix;
};

Bytes Stored(Device& sim, int kind, const char* name) {
  std::optional<Bytes> bytes = sim.Files().Read(sim.PathOf(kind, name));
  EXPECT_TRUE(bytes) << name;
  return bytes.value_or(Bytes());
}

TEST(GicFileProtocol, Downloads1300BytesInThreeRegisterReads) {
  // Both sets of feature names run the same protocol.
  for (auto [address, prefix] : {std::pair{"sim", ""}, std::pair{"sim:camera-file", "Camera"}}) {
    auto device = Open(address);
    Device& sim = *DeviceOf(device.get());
    Host host(device, prefix);
    sim.ClearLog();
    Host::Download download = host.Read(2, "office", false);
    EXPECT_EQ(download.status, 0) << address;
    EXPECT_EQ(download.size, 1300);
    EXPECT_EQ(download.requests,
              (std::vector<std::pair<i64, i64>>{{0, 512}, {512, 512}, {1024, 276}}));
    EXPECT_EQ(download.bytes, Stored(sim, 2, "office"));
    std::string buffer = std::string(prefix) + "FileAccessBuffer";
    for (const sim::genicam::Access& read : sim.Log(buffer, "regGet")) {
      EXPECT_EQ(read.value, "512") << "the whole register moves every time";
    }
    Bytes last = sim.GetRegister(buffer);
    EXPECT_TRUE(std::all_of(last.begin() + 276, last.end(), [](u8 b) { return b == 0; }))
        << "bytes past the request are zero";
    EXPECT_FALSE(sim.IsFileOpen());
  }
}

TEST(GicFileProtocol, TheOtherNameSetIsAbsent) {
  EXPECT_FALSE(Open("sim")->GetFeature("CameraFileSelector"));
  auto device = Open("sim:camera-file");
  EXPECT_FALSE(device->GetFeature("FileSelector"));
  EXPECT_FALSE(device->GetFeature("FileAccessBuffer"));
  EXPECT_TRUE(device->GetFeature("CameraFileNewName"));
  EXPECT_THROW(Host(device).Read(2, "office", false), std::runtime_error);
}

TEST(GicFileProtocol, ReadsOutsideTheFileOrWithoutOpenFail) {
  auto device = Open("sim");
  Host host(device);
  EXPECT_EQ(host.Run(2), sim::genicam::kFileNotOpen) << "read before any open";
  EXPECT_EQ(host.Run(1), sim::genicam::kFileNotOpen) << "close before any open";
  host.Select(2, "office");
  host.Compression(false);
  host.File<IEnum>("FileOpenMode")->SetIntValue(0);
  ASSERT_EQ(host.Run(0), 0);
  struct Case {
    i64 offset, length, status;
  } cases[] = {{1024, 276, 0},
               {1024, 277, sim::genicam::kFileBadOffset},
               {1300, 0, 0},
               {1301, 0, sim::genicam::kFileBadOffset},
               {0, 513, sim::genicam::kFileBadOffset}};
  for (const Case& c : cases) {
    host.File<IInteger>("FileAccessOffset")->SetValue(c.offset);
    host.File<IInteger>("FileAccessLength")->SetValue(c.length);
    EXPECT_EQ(host.Run(2), c.status) << c.offset << "+" << c.length;
  }
  EXPECT_EQ(host.Run(3), sim::genicam::kFileNotOpen) << "write on a file opened for reading";
  EXPECT_EQ(host.Run(1), 0);
  EXPECT_EQ(host.Read(2, "missing", false).status, sim::genicam::kFileNotFound);
}

TEST(GicFileProtocol, EmptyFileOpensAndClosesWithoutReads) {
  auto device = Open("sim");
  Device& sim = *DeviceOf(device.get());
  ASSERT_EQ(sim.Files().Write("/FlashFS/empty.bin", {}), 0);
  for (bool compressed : {false, true}) {
    Host::Download download = Host(device).Read(0, "/FlashFS/empty.bin", compressed);
    EXPECT_EQ(download.status, 0);
    EXPECT_EQ(download.size, 0);
    EXPECT_TRUE(download.requests.empty());
  }
}

TEST(GicFileProtocol, CompressedDownloadsMoveWholeRegistersOfAZlibStream) {
  struct Case {
    const char* name;
    Bytes content;
    std::size_t registerLength;
  } cases[] = {{"random", testutil::RandomBytes(5000, 7), 512},
               {"text", Compressible(20000), 512},
               {"small-register", Compressible(3000), 100},
               {"one-byte", Bytes{42}, 512}};
  for (const Case& c : cases) {
    auto device = Open("sim");
    Device& sim = *DeviceOf(device.get());
    sim.SetRegister("FileAccessBuffer", Bytes(c.registerLength, 0));
    std::string path = std::string("/FlashFS/") + c.name;
    ASSERT_EQ(sim.Files().Write(path, c.content), 0);
    Host::Download download = Host(device).Read(0, path.c_str(), true);
    EXPECT_EQ(download.status, 0) << c.name;
    EXPECT_EQ(download.size, static_cast<i64>(c.content.size())) << "the uncompressed size";
    EXPECT_EQ(download.bytes, c.content) << c.name;
    std::size_t expectedChunks =
        (Deflate(c.content).size() + c.registerLength - 1) / c.registerLength;
    EXPECT_EQ(download.requests.size(), expectedChunks) << c.name;
    for (std::size_t i = 0; i < download.requests.size(); ++i) {
      EXPECT_EQ(download.requests[i].first, static_cast<i64>(i * c.registerLength)) << c.name;
      EXPECT_EQ(download.requests[i].second, static_cast<i64>(c.registerLength)) << c.name;
    }
  }
}

TEST(GicFileProtocol, UploadsRoundTripWithAndWithoutCompression) {
  struct Case {
    Bytes content;
    bool compressed;
  } cases[] = {{testutil::RandomBytes(1500, 3), false},
               {Bytes{}, false},
               {testutil::RandomBytes(3000, 4), true},
               {Compressible(20000), true},
               {Bytes{}, true}};
  int n = 0;
  for (const Case& c : cases) {
    auto device = Open("sim");
    Device& sim = *DeviceOf(device.get());
    sim.Files().SetClock(1800000000);
    std::string name = "upload" + std::to_string(n++);
    Host host(device);
    EXPECT_EQ(host.Write(2, name.c_str(), c.content, c.compressed), 0) << name;
    EXPECT_EQ(Stored(sim, 2, name.c_str()), c.content) << name;
    i64 size = -1, time = -1;
    EXPECT_EQ(host.Info(2, name.c_str(), &size, &time), 0);
    EXPECT_EQ(size, static_cast<i64>(c.content.size()));
    EXPECT_EQ(time, 1800000000);
    EXPECT_EQ(host.Read(2, name.c_str(), !c.compressed).bytes, c.content) << "and back";
  }
}

TEST(GicFileProtocol, RefusedUploadsLeaveTheStoreAlone) {
  auto device = Open("sim");
  Device& sim = *DeviceOf(device.get());
  Host host(device);
  Bytes before = Stored(sim, 2, "office");

  // More bytes than announced: the write fails and the close reports the upload incomplete.
  host.Select(2, "office");
  host.Compression(false);
  host.File<IEnum>("FileOpenMode")->SetIntValue(1);
  host.File<IInteger>("FileSize")->SetValue(100);
  ASSERT_EQ(host.Run(0), 0);
  EXPECT_EQ(host.SendChunks(Bytes(101, 1)), sim::genicam::kFileOverflow);
  EXPECT_EQ(host.Run(1), sim::genicam::kFileIncomplete);
  // Fewer bytes than announced.
  host.File<IInteger>("FileSize")->SetValue(600);
  ASSERT_EQ(host.Run(0), 0);
  EXPECT_EQ(host.SendChunks(Bytes(599, 1)), 0);
  EXPECT_EQ(host.Run(1), sim::genicam::kFileIncomplete);
  // A corrupt compressed stream.
  host.Compression(true);
  host.File<IInteger>("FileSize")->SetValue(600);
  host.File<IEnum>("FileOperationSelector")->SetIntValue(0);
  ASSERT_EQ(host.Run(0), 0);
  EXPECT_EQ(host.SendChunks(Bytes(300, 0xEE)), sim::genicam::kFileFailure);
  EXPECT_EQ(host.Run(1), sim::genicam::kFileIncomplete);
  // A stream that inflates to more than announced.
  host.File<IInteger>("FileSize")->SetValue(10);
  ASSERT_EQ(host.Run(0), 0);
  EXPECT_EQ(host.SendChunks(Deflate(Compressible(11))), sim::genicam::kFileOverflow);
  EXPECT_EQ(host.Run(1), sim::genicam::kFileIncomplete);
  EXPECT_EQ(Stored(sim, 2, "office"), before);

  EXPECT_EQ(host.Write(5, "", Bytes(10, 1), false), sim::genicam::kFileReadOnly);
  EXPECT_EQ(host.Write(0, "/nowhere/x.bin", Bytes(10, 1), false), sim::genicam::kFileNotFound);
  sim.Files().SetCapacity(sim.Files().Capacity() - sim.Files().FreeSpace() + 50);
  EXPECT_EQ(host.Write(0, "/FlashFS/big.bin", Bytes(51, 1), false), sim::genicam::kFileOverflow);
  EXPECT_EQ(host.Write(0, "/FlashFS/fits.bin", Bytes(50, 1), false), 0);
  EXPECT_FALSE(sim.IsFileOpen());
}

TEST(GicFileProtocol, WorksWithoutTheCompressionFeature) {
  auto device = Open("sim:no-compression");
  EXPECT_FALSE(device->GetFeature("FileCompression"));
  Host host(device);
  Bytes data = testutil::RandomBytes(700, 9);
  EXPECT_EQ(host.Write(1, "saved", data, false), 0);
  EXPECT_EQ(host.Read(1, "saved", false).bytes, data);
}

TEST(GicFileProtocol, InfoRenameAndDeleteByKind) {
  auto device = Open("sim");
  Device& sim = *DeviceOf(device.get());
  Host host(device);
  i64 size = 0;
  EXPECT_EQ(host.Info(1, "bench", &size), 0);
  EXPECT_EQ(size, 640);
  EXPECT_EQ(host.Info(5, "", &size), 0) << "the factory default state takes no name";
  EXPECT_EQ(size, 700);
  EXPECT_EQ(host.Info(2, "office.nuc", &size), 0) << "an extension already there is kept";
  EXPECT_EQ(host.Info(0, "/FlashFS/nuc/office.nuc"), 0);

  struct Step {
    const char* what;
    std::function<i64()> run;
    i64 status;
  } steps[] = {
      {"rename", [&] { return host.Rename(2, "office", "field"); }, 0},
      {"old name gone", [&] { return host.Info(2, "office"); }, sim::genicam::kFileNotFound},
      {"new name there", [&] { return host.Info(2, "field"); }, 0},
      {"rename onto a file", [&] { return host.Rename(2, "field", "lab.v2"); },
       sim::genicam::kFileExists},
      {"rename a missing file", [&] { return host.Rename(2, "nope", "x"); },
       sim::genicam::kFileNotFound},
      {"rename the factory state", [&] { return host.Rename(5, "", "x"); },
       sim::genicam::kFileBadName},
      {"name with a slash", [&] { return host.Info(2, "../nuc/field"); },
       sim::genicam::kFileBadName},
      {"empty name", [&] { return host.Info(3, ""); }, sim::genicam::kFileBadName},
      {"delete", [&] { return host.Delete(4, "grey"); }, 0},
      {"delete again", [&] { return host.Delete(4, "grey"); }, sim::genicam::kFileNotFound},
      {"delete the read-only factory state", [&] { return host.Delete(5, ""); },
       sim::genicam::kFileReadOnly},
      {"delete a directory as a file", [&] { return host.Delete(0, "/FlashFS/empty"); },
       sim::genicam::kFileBadName},
      {"unknown operation", [&] { return host.Run(9); }, sim::genicam::kFileFailure},
  };
  sim.SetEntries("FileOperationSelector", {{"Open", 0},
                                           {"Close", 1},
                                           {"Read", 2},
                                           {"Write", 3},
                                           {"Delete", 4},
                                           {"Rename", 5},
                                           {"GetInfo", 6},
                                           {"Odd", 9}});
  for (const Step& step : steps)
    EXPECT_EQ(step.run(), step.status) << step.what;
  EXPECT_TRUE(sim.Files().Exists("/FlashFS/nuc/field.nuc"));
  EXPECT_FALSE(sim.Files().Exists("/FlashFS/system/palettes/grey.pal"));
  EXPECT_THROW(host.File<IEnum>("FileOperationSelector")->SetIntValue(7), std::invalid_argument)
      << "not an entry";
}

TEST(GicDirectoryProtocol, ListsKindDirectoriesByNameAndPlainDirectoriesWhole) {
  auto device = Open("sim");
  Device& sim = *DeviceOf(device.get());
  Host host(device);
  std::vector<Entry> entries;
  ASSERT_EQ(host.List(2, "", &entries), 0);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].name, "lab.v2");
  EXPECT_EQ(entries[0].size, 5000);
  EXPECT_EQ(entries[1].name, "office");
  EXPECT_EQ(entries[1].size, 1300);
  EXPECT_EQ(entries[1].attrib, sim::genicam::kAttribNormal);
  EXPECT_EQ(entries[1].time,
            static_cast<i64>(sim.Files().Info("/FlashFS/nuc/office.nuc")->modified));

  ASSERT_EQ(host.List(0, "/FlashFS/", &entries), 0);
  auto find = [&](const char* name) {
    return std::find_if(entries.begin(), entries.end(),
                        [&](const Entry& e) { return e.name == name; });
  };
  ASSERT_NE(find("nuc"), entries.end());
  EXPECT_EQ(find("nuc")->attrib, sim::genicam::kAttribDirectory);
  ASSERT_NE(find("notes.txt"), entries.end());
  EXPECT_EQ(find("notes.txt")->size, 24);
  ASSERT_EQ(host.List(0, "/FlashFS/factory", &entries), 0);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].attrib, sim::genicam::kAttribReadOnly);

  EXPECT_EQ(host.List(0, "/FlashFS/empty", &entries), sim::genicam::kDirectoryEmpty);
  EXPECT_EQ(host.Feature<IInteger>("DirectoryEntryIndex")->GetMax(), 0);
  EXPECT_EQ(host.List(0, "/nope", &entries), sim::genicam::kFileNotFound);
  EXPECT_EQ(host.List(0, "", &entries), sim::genicam::kFileBadName);
  EXPECT_EQ(host.List(3, "", &entries), 0);
  EXPECT_EQ(entries.size(), 1u);
  ASSERT_EQ(host.Delete(3, "25mm"), 0);
  EXPECT_EQ(host.List(3, "", &entries), sim::genicam::kDirectoryEmpty);
}

TEST(GicDirectoryProtocol, CreateRemoveAndFreeSpace) {
  auto device = Open("sim");
  Device& sim = *DeviceOf(device.get());
  Host host(device);
  struct Step {
    i64 selector;
    const char* name;
    i64 operation;
    i64 status;
  } steps[] = {{0, "/FlashFS/new", 1, 0},
               {0, "/FlashFS/new", 1, sim::genicam::kFileExists},
               {0, "/missing/new", 1, sim::genicam::kFileNotFound},
               {0, "/FlashFS/nuc", 2, sim::genicam::kFileNotEmpty},
               {0, "/FlashFS/new", 2, 0},
               {0, "/FlashFS/new", 2, sim::genicam::kFileNotFound},
               {2, "", 3, 0},
               {0, "/nope", 3, sim::genicam::kFileNotFound},
               {0, "/FlashFS", 9, sim::genicam::kFileFailure}};
  for (const Step& step : steps) {
    if (step.operation > 3) {
      sim.SetEntries("DirectoryOperationSelector", {{"List", 0}, {"Odd", 9}});
    }
    EXPECT_EQ(host.Directory(step.selector, step.name, step.operation), step.status)
        << step.name << " operation " << step.operation;
  }
  EXPECT_EQ(host.Feature<IInteger>("DirectoryFreeSpace")->GetValue(),
            static_cast<i64>(sim.Files().FreeSpace()));
  EXPECT_LT(sim.Files().FreeSpace(), sim.Files().Capacity());
}

// A host that stops at the first failure must see exactly the injected operation fail.
TEST(GicProtocolFaults, AFailureStatusAtEachOperationOfADownload) {
  // open, read, read, read, close
  for (int step = 0; step < 5; ++step) {
    auto device = Open("sim");
    Device& sim = *DeviceOf(device.get());
    sim.FailFileOperation({step, 1, 77, -1});
    Host::Download download = Host(device).Read(2, "office", false);
    EXPECT_EQ(download.status, 77) << step;
    EXPECT_EQ(download.requests.size(),
              static_cast<std::size_t>(step == 4 ? 3 : std::max(0, step - 1)))
        << step;
    int executes = step == 0 ? 1 : (step == 4 ? 5 : step + 2);
    EXPECT_EQ(sim.ExecuteCount("FileOperationExecute"), executes) << step;
  }
  // Only reads counted: the second read fails.
  auto device = Open("sim");
  Device& sim = *DeviceOf(device.get());
  sim.FailFileOperation({1, 1, 5, 2});
  Host::Download download = Host(device).Read(2, "office", false);
  EXPECT_EQ(download.status, 5);
  EXPECT_EQ(download.requests.size(), 1u);
  EXPECT_FALSE(sim.IsFileOpen()) << "the host closed after the failed read";

  sim.FailDirectoryOperation({0, 2, 9, 0});
  std::vector<Entry> entries;
  Host host(device);
  EXPECT_EQ(host.List(2, "", &entries), 9);
  EXPECT_EQ(host.List(2, "", &entries), 9);
  EXPECT_EQ(host.List(2, "", &entries), 0);
}

// Replays a download with a time-out injected at each logged step in turn: the replay must
// throw exactly there, after the same accesses as the clean run.
TEST(GicProtocolFaults, AFeatureFaultAtEachStepOfADownload) {
  auto clean = Open("sim");
  Device& cleanSim = *DeviceOf(clean.get());
  cleanSim.ClearLog();
  ASSERT_EQ(Host(clean).Read(2, "office", true).status, 0);
  std::vector<sim::genicam::Access> log = cleanSim.Log();
  ASSERT_GT(log.size(), 40u);
  for (std::size_t step = 0; step < log.size(); ++step) {
    auto device = Open("sim");
    Device& sim = *DeviceOf(device.get());
    sim.ClearLog();
    sim.InjectFault(sim::genicam::FaultAtStep(log, step, sim::genicam::Fault::Timeout));
    EXPECT_THROW(Host(device).Read(2, "office", true), CTimeoutException) << step;
    std::vector<sim::genicam::Access> replay = sim.Log();
    ASSERT_EQ(replay.size(), step + 1) << step;
    for (std::size_t i = 0; i < step; ++i)
      EXPECT_EQ(replay[i].value, log[i].value) << step;
    EXPECT_EQ(replay[step].feature, log[step].feature);
    EXPECT_NE(replay[step].error, "");
  }
}

TEST(GicFileStore, NormalizesPaths) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {{"/a/b", "/a/b"}, {"a//b/", "/a/b"}, {"/./a/.", "/a"}, {"/", "/"},
               {"", ""},         {"/a/../b", ""},   {"..", ""}};
  for (const Case& c : cases)
    EXPECT_EQ(sim::genicam::FileStore::Normalize(c.in), c.out) << c.in;
  EXPECT_EQ(sim::genicam::FileStore::Normalize(std::string("/a\0b", 4)), "");
}

TEST(GicFileStore, DirectoriesFilesAndCapacity) {
  sim::genicam::FileStore store;
  store.SetCapacity(100);
  store.SetClock(500);
  EXPECT_EQ(store.Write("/d/f", Bytes(5, 1)), sim::genicam::kFileNotFound);
  EXPECT_EQ(store.MakeDirectories("/d/e"), 0);
  EXPECT_EQ(store.Write("/d/e/f", Bytes(60, 1)), 0);
  EXPECT_EQ(store.Info("/d/e/f")->modified, 502u) << "/d took 500 and /d/e 501";
  EXPECT_EQ(store.Write("/d/g", Bytes(41, 1)), sim::genicam::kFileOverflow);
  EXPECT_EQ(store.Write("/d/e/f", Bytes(100, 1)), 0) << "a replaced file frees its bytes";
  EXPECT_EQ(store.FreeSpace(), 0u);
  EXPECT_EQ(store.Rename("/d", "/d/e/x"), sim::genicam::kFileBadName);
  EXPECT_EQ(store.Rename("/d", "/m"), 0);
  EXPECT_EQ(store.Read("/m/e/f")->size(), 100u) << "children move with their directory";
  EXPECT_EQ(store.Remove("/m"), sim::genicam::kFileNotEmpty);
  EXPECT_EQ(store.SetReadOnly("/m/e/f", true), 0);
  EXPECT_EQ(store.Remove("/m/e/f"), sim::genicam::kFileReadOnly);
  EXPECT_EQ(store.Write("/m/e/f", Bytes(1, 1)), sim::genicam::kFileReadOnly);
  EXPECT_EQ(store.Write("/m/e", Bytes(1, 1)), sim::genicam::kFileBadName);
  EXPECT_FALSE(store.List("/m/e/f"));
  EXPECT_EQ(store.List("/")->size(), 1u);
}

}  // namespace
