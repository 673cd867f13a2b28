// The GenICam camera file and directory protocol, against the simulated device: chunking, zlib,
// progress, argument checks, listings, the close step on every path after an open (swept over
// every access of a transfer), and the lock released around host work and progress.
#include <gtest/gtest.h>

#include <zlib.h>

#include <algorithm>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "common/sim_fixtures.h"
#include "common/testutil.h"
#include "common/transfers.h"
#include "deflate_faults.h"
#include "genicam/CTQVSDKGenICam.h"

using sim::genicam::Access;
using sim::genicam::Fault;
using sim::genicam::FaultAtStep;
using sim::genicam::OperationFault;
using testutil::Bytes;
using testutil::Contents;
using testutil::GicCamera;
using testutil::MemFile;
using testutil::ProgressLog;

namespace {

constexpr u8 kNUC = 2;
const char* const kPlain = "sim:no-compression";
const char* const kCompressed = "sim";

CTQVSDKGenICam& Backend(const GicCamera& cam) {
  return *static_cast<CTQVSDKGenICam*>(cam.handle());
}

std::vector<std::string> Values(const std::vector<Access>& records) {
  std::vector<std::string> values;
  for (const Access& record : records)
    values.push_back(record.value);
  return values;
}

constexpr u32 kRegister = 512;  // the access buffer register of the built-in profiles

// A file that compresses to less than one register, so that the whole stream arrives in the first
// chunk and every damage to it can be seen there.
Bytes Compressible() {
  Bytes data(40000);
  for (std::size_t i = 0; i < data.size(); ++i)
    data[i] = static_cast<u8>((i / 7) % 13);
  return data;
}

Bytes StoredFile(const GicCamera& cam, const std::string& path) {
  return cam.device().Files().Read(path).value_or(Bytes{0xEE});
}

// File operations in the traffic log: opens that succeeded (the status read after the execute was
// 0) and closes that reached the camera (their execute went through, whatever their status).
struct Completed {
  int opens = 0;
  int closes = 0;
};

Completed FileOperations(const std::vector<Access>& log) {
  Completed done;
  std::string selected;
  bool openExecuted = false;
  for (const Access& r : log) {
    if (r.feature == "FileOperationSelector" && r.access == "set" && r.error.empty()) {
      selected = r.value;
    } else if (r.feature == "FileOperationExecute" && r.access == "execute" && r.error.empty()) {
      openExecuted = selected == "0";
      done.closes += selected == "1";
    } else if (r.feature == "FileOperationStatus" && r.access == "get" && openExecuted) {
      openExecuted = false;
      done.opens += r.error.empty() && r.value == "0";
    }
  }
  return done;
}

}  // namespace

class GicFiles : public ::testing::Test {
 protected:
  testutil::SleepRecorder sleeps;
  testutil::LogCapture quiet;
};

// Without compression a transfer moves whole registers and asks for the remainder in the last
// chunk; an upload announces its size first.
TEST_F(GicFiles, UncompressedTransfersMoveWholeRegisters) {
  for (bool upload : {false, true}) {
    SCOPED_TRACE(upload ? "upload" : "download");
    GicCamera cam(kPlain);
    ProgressLog progress;
    const Bytes office = StoredFile(cam, "/FlashFS/nuc/office.nuc");
    ASSERT_EQ(office.size(), 1300u);
    auto file = MemFile();
    if (upload) {
      const Bytes data = testutil::RandomBytes(1300, 7);
      ASSERT_EQ(Backend(cam).FileUpload(kNUC, "new", MemFile(data), progress.Delegate()), TQV_OK);
      EXPECT_EQ(StoredFile(cam, "/FlashFS/nuc/new.nuc"), data);
      EXPECT_EQ(Values(cam.device().Log("FileSize", "set")), (std::vector<std::string>{"1300"}));
    } else {
      ASSERT_EQ(Backend(cam).FileDownload(kNUC, "office", file, progress.Delegate()), TQV_OK);
      EXPECT_EQ(Contents(file), office);
    }
    EXPECT_EQ(Values(cam.device().Log("FileAccessOffset", "set")),
              (std::vector<std::string>{"0", "512", "1024"}));
    EXPECT_EQ(Values(cam.device().Log("FileAccessLength", "set")),
              (std::vector<std::string>{"512", "512", "276"}));
    EXPECT_EQ(Values(cam.device().Log("FileAccessBuffer", upload ? "regSet" : "regGet")),
              (std::vector<std::string>{"512", "512", "512"}));
    EXPECT_EQ(progress.calls, (ProgressLog::Calls{{512, 1300}, {1024, 1300}, {1300, 1300}}));
    EXPECT_FALSE(cam.device().IsFileOpen());
  }
}

TEST_F(GicFiles, CompressedDownloadReadsWholeRegistersAndCountsInflatedBytes) {
  GicCamera cam(kCompressed);
  Bytes data = Compressible();
  ASSERT_EQ(cam.device().Files().Write("/FlashFS/nuc/flat.nuc", data), 0);
  ProgressLog progress;
  auto file = MemFile();
  ASSERT_EQ(Backend(cam).FileDownload(kNUC, "flat", file, progress.Delegate()), TQV_OK);
  EXPECT_EQ(Contents(file), data);
  EXPECT_EQ(cam.device().GetInt("FileCompression"), 1);

  std::vector<std::string> offsets = Values(cam.device().Log("FileAccessOffset", "set"));
  std::vector<std::string> lengths = Values(cam.device().Log("FileAccessLength", "set"));
  ASSERT_FALSE(offsets.empty());
  EXPECT_LT(offsets.size(), data.size() / 512) << "the stream is shorter than the file";
  for (std::size_t i = 0; i < offsets.size(); ++i) {
    EXPECT_EQ(offsets[i], std::to_string(512 * i));
    EXPECT_EQ(lengths[i], "512");
  }
  ASSERT_EQ(progress.calls.size(), offsets.size());
  for (std::size_t i = 1; i < progress.calls.size(); ++i) {
    EXPECT_GE(progress.calls[i].first, progress.calls[i - 1].first);
    EXPECT_EQ(progress.calls[i].second, 40000u);
  }
  EXPECT_EQ(progress.calls.back().first, 40000u);

  // The file changes on the camera: the next download carries the new bytes.
  data[123] ^= 0xFF;
  ASSERT_EQ(cam.device().Files().Write("/FlashFS/nuc/flat.nuc", data), 0);
  file = MemFile();
  ASSERT_EQ(Backend(cam).FileDownload(kNUC, "flat", file, {}), TQV_OK);
  EXPECT_EQ(Contents(file), data);
}

// An empty file is downloaded by an open and a close alone; its upload sends one write of length
// 0.
TEST_F(GicFiles, EmptyFiles) {
  for (const char* profile : {kPlain, kCompressed}) {
    SCOPED_TRACE(profile);
    GicCamera cam(profile);
    ASSERT_EQ(cam.device().Files().Write("/FlashFS/nuc/empty.nuc", {}), 0);
    ProgressLog down, up;
    auto file = MemFile();
    EXPECT_EQ(Backend(cam).FileDownload(kNUC, "empty", file, down.Delegate()), TQV_OK);
    EXPECT_TRUE(Contents(file).empty());
    EXPECT_TRUE(down.calls.empty());
    EXPECT_EQ(cam.device().Count("FileAccessOffset", "set"), 0u);
    EXPECT_EQ(cam.device().Count("FileAccessBuffer", "regGet"), 0u);
    Completed done = FileOperations(cam.device().Log());
    EXPECT_EQ(done.opens, 1);
    EXPECT_EQ(done.closes, 1);

    cam.device().ClearLog();
    ASSERT_EQ(Backend(cam).FileUpload(kNUC, "void", MemFile(), up.Delegate()), TQV_OK);
    EXPECT_EQ(StoredFile(cam, "/FlashFS/nuc/void.nuc"), Bytes{});
    EXPECT_EQ(cam.device().Count("FileAccessBuffer", "regSet"), 1u);
    EXPECT_EQ(up.calls, (ProgressLog::Calls{{0, 0}}));
    if (profile == kPlain) {
      EXPECT_EQ(Values(cam.device().Log("FileAccessLength", "set")),
                (std::vector<std::string>{"0"}));
    }
  }
}

TEST_F(GicFiles, MissingNamesAreRefusedWithoutCameraTraffic) {
  GicCamera cam(kCompressed);
  CTQVSDKGenICam& gic = Backend(cam);
  zel::TArray<tqvSDirEntry> list;
  u64 space = 0;
  const std::vector<std::pair<const char*, u32>> calls = {
      {"download", gic.FileDownload(kNUC, nullptr, MemFile(), {})},
      {"upload", gic.FileUpload(1, nullptr, MemFile(), {})},
      {"download to no file", gic.FileDownload(kNUC, "office", {}, {})},
      {"info", gic.FileGetInfo(3, nullptr, nullptr, nullptr)},
      {"delete", gic.FileDelete(0, nullptr)},
      {"rename to nothing", gic.FileRename(0, "/FlashFS/notes.txt", nullptr)},
      {"rename the factory default state", gic.FileRename(5, "a", "b")},
      {"list a directory by no name", gic.DirectoryList(0, nullptr, list)},
      {"free space of no directory", gic.DirectoryFreeSpace(0, nullptr, &space)},
      {"free space into nothing", gic.DirectoryFreeSpace(2, nullptr, nullptr)},
      {"create", gic.CreateDir(nullptr)},
  };
  for (const auto& [what, result] : calls)
    EXPECT_EQ(result, TQV_INVALID_ARGUMENT) << what;
  EXPECT_TRUE(cam.device().Log().empty());
}

TEST_F(GicFiles, DirectoryListingFreeSpaceAndItsFailures) {
  GicCamera cam(kCompressed);
  CTQVSDKGenICam& gic = Backend(cam);
  zel::TArray<tqvSDirEntry> list;
  ASSERT_EQ(gic.DirectoryList(kNUC, nullptr, list), TQV_OK);
  EXPECT_EQ(cam.device().Count("DirectoryEntryIndex", "min"), 0u) << "entries count from 0";
  ASSERT_EQ(list.GetCount(), 2u);
  EXPECT_STREQ(list[0].fname.c_str(), "lab.v2");  // the camera's names and order
  EXPECT_EQ(list[0].size, 5000u);
  EXPECT_STREQ(list[1].fname.c_str(), "office");
  EXPECT_EQ(list[1].timeLastModified,
            cam.device().Files().Info("/FlashFS/nuc/office.nuc")->modified);
  ASSERT_EQ(gic.DirectoryList(0, "/FlashFS/factory", list), TQV_OK);
  ASSERT_EQ(list.GetCount(), 1u);
  EXPECT_EQ(list[0].attrib, sim::genicam::kAttribReadOnly);

  // Status 2 is an empty directory, not a failure; the list is emptied either way.
  EXPECT_EQ(gic.DirectoryList(0, "/FlashFS/empty", list), TQV_OK);
  EXPECT_EQ(list.GetCount(), 0u);
  ASSERT_EQ(gic.DirectoryList(kNUC, nullptr, list), TQV_OK);
  cam.device().FailDirectoryOperation(OperationFault{0, 1, sim::genicam::kDirectoryEmpty, 0});
  EXPECT_EQ(gic.DirectoryList(kNUC, nullptr, list), TQV_OK);
  EXPECT_EQ(list.GetCount(), 0u);
  EXPECT_EQ(gic.DirectoryList(0, "/FlashFS/none", list), TQV_ERROR);

  // The first failing access ends the listing; entries read before it stay.
  cam.device().InjectFault({"DirectoryEntrySize", Fault::Access, 1, 1, "get"});
  EXPECT_EQ(gic.DirectoryList(kNUC, nullptr, list), TQV_ACCESS_DENIED);
  ASSERT_EQ(list.GetCount(), 1u);
  EXPECT_STREQ(list[0].fname.c_str(), "lab.v2");

  u64 space = 0;
  ASSERT_EQ(gic.DirectoryFreeSpace(kNUC, nullptr, &space), TQV_OK);
  EXPECT_EQ(space, cam.device().Files().FreeSpace());
  EXPECT_EQ(gic.CreateDir("/FlashFS/new"), TQV_OK);
  EXPECT_EQ(gic.CreateDir("/FlashFS/new"), TQV_ERROR);
  EXPECT_EQ(gic.RemoveDir("/FlashFS/new"), TQV_OK);
  EXPECT_FALSE(cam.device().Files().Exists("/FlashFS/new"));
}

TEST_F(GicFiles, MissingBufferRegisterClosesTheFile) {
  GicCamera cam(kPlain);
  cam.device().Remove("FileAccessBuffer");
  EXPECT_EQ(Backend(cam).FileDownload(kNUC, "office", MemFile(), {}), TQV_ERROR);
  EXPECT_EQ(Backend(cam).FileUpload(kNUC, "x", MemFile({1, 2, 3}), {}), TQV_ERROR);
  Completed done = FileOperations(cam.device().Log());
  EXPECT_EQ(done.opens, 2);
  EXPECT_EQ(done.closes, 2);
  EXPECT_FALSE(cam.device().IsFileOpen());
}

TEST_F(GicFiles, CameraSpecificFeatureNamesCarryTheSameProtocol) {
  GicCamera cam("sim:camera-file");
  Bytes data = testutil::RandomBytes(3000, 11);
  ASSERT_EQ(Backend(cam).FileUpload(kNUC, "named", MemFile(data), {}), TQV_OK);
  auto file = MemFile();
  ASSERT_EQ(Backend(cam).FileDownload(kNUC, "named", file, {}), TQV_OK);
  EXPECT_EQ(Contents(file), data);
  EXPECT_EQ(Backend(cam).FileExists(0, "/FlashFS/notes.txt"), TQV_OK);
  EXPECT_GT(cam.device().Count("CameraFileAccessBuffer", "regSet"), 0u);
  EXPECT_GT(cam.device().Count("CameraFileSelector", "set"), 0u);
  EXPECT_EQ(cam.device().Count("FileSelector"), 0u);
}

// --- Every step of a transfer fails in turn
// ---------------------------------------------------------

struct SweepCase {
  const char* profile;
  bool upload;
};

class GicTransferSweep : public ::testing::TestWithParam<SweepCase> {
 protected:
  // One transfer of three chunks: the office NUC file down, or a file of the same size up.
  static u32 Run(const GicCamera& cam, bool upload) {
    ProgressLog progress;
    if (upload) {
      return Backend(cam).FileUpload(kNUC, "sweep", MemFile(testutil::RandomBytes(1300, 3)),
                                     progress.Delegate());
    }
    return Backend(cam).FileDownload(kNUC, "office", MemFile(), progress.Delegate());
  }

  testutil::SleepRecorder sleeps;
  testutil::LogCapture quiet;
};

// An access exception at any step gives its code (170), with these exceptions: a failed completion
// poll is polled again, and a failed probe for the compression feature counts as "no compression"
// (the fresh camera then moves the file as it is); both succeed. An upload cut short after its
// open ends with a close the camera refuses (the file is incomplete): 0xFFFFFFFF.
TEST_P(GicTransferSweep, AccessFailureAtEveryStep) {
  const SweepCase c = GetParam();
  std::vector<Access> clean;
  {
    GicCamera cam(c.profile);
    ASSERT_EQ(Run(cam, c.upload), TQV_OK);
    clean = cam.device().Log();
  }
  // Landmarks of the clean run: the compression probe, the open's status read, the last chunk's
  // execute, and the close from the lookup of its selector to its execute.
  const std::size_t none = clean.size();
  std::size_t probe = none, openDone = none, lastChunk = none, closeStart = none, closeRun = none;
  for (std::size_t i = 0; i < clean.size(); ++i) {
    const Access& r = clean[i];
    if (probe == none && r.feature == "FileCompression") probe = i;
    if (openDone == none && r.feature == "FileOperationStatus" && r.access == "get") openDone = i;
    if (r.feature == "FileOperationSelector" && r.value == "1") closeStart = i - 1;
    if (r.access == "execute") (closeStart == none ? lastChunk : closeRun) = i;
  }
  ASSERT_LT(closeRun, none);
  ASSERT_EQ(clean[closeStart].access, "lookup");

  for (std::size_t step = 0; step < clean.size(); ++step) {
    SCOPED_TRACE(::testing::Message()
                 << "step " << step << ": " << clean[step].feature << " " << clean[step].access);
    GicCamera cam(c.profile);
    cam.device().InjectFault(FaultAtStep(clean, step, Fault::Access));
    const bool tolerated = clean[step].access == "isDone" || step == probe;
    const bool incomplete = c.upload && step > openDone && step <= lastChunk;
    const u32 expected = tolerated ? TQV_OK : incomplete ? TQV_ERROR : TQV_ACCESS_DENIED;
    EXPECT_EQ(Run(cam, c.upload), expected);
    EXPECT_EQ(cam.device().PendingFaults(), 0u) << "the fault did not fire";

    const Completed done = FileOperations(cam.device().Log());
    const int opened = tolerated || step > openDone ? 1 : 0;
    const bool closeLost = !tolerated && step >= closeStart && step <= closeRun;
    EXPECT_EQ(done.opens, opened);
    EXPECT_EQ(done.closes, closeLost ? 0 : opened) << "every open is closed";
    if (opened && !closeLost) {
      EXPECT_FALSE(cam.device().IsFileOpen());
    } else if (!opened) {
      EXPECT_EQ(cam.device().Count("FileAccessOffset", "set"), 0u);
    }
  }
}

// The camera reports a failure for each file operation in turn: open, each chunk, close.
TEST_P(GicTransferSweep, FailedStatusOfEveryOperation) {
  const SweepCase c = GetParam();
  int operations = 0;
  {
    GicCamera cam(c.profile);
    ASSERT_EQ(Run(cam, c.upload), TQV_OK);
    operations = cam.device().ExecuteCount("FileOperationExecute");
  }
  ASSERT_EQ(operations, 5);  // open, three chunks, close
  for (int k = 0; k < operations; ++k) {
    SCOPED_TRACE(::testing::Message() << "operation " << k);
    GicCamera cam(c.profile);
    cam.device().FailFileOperation(OperationFault{k, 1, sim::genicam::kFileFailure, -1});
    EXPECT_EQ(Run(cam, c.upload), TQV_ERROR);
    const Completed done = FileOperations(cam.device().Log());
    EXPECT_EQ(done.opens, k == 0 ? 0 : 1);
    EXPECT_EQ(done.closes, done.opens);
    EXPECT_EQ(cam.device().ExecuteCount("FileOperationExecute"),
              k == 0 ? 1 : std::min(k + 2, operations))
        << "the transfer stops at the failure and closes";
    EXPECT_EQ(cam.device().IsFileOpen(), k == operations - 1) << "only a failed close stays open";
  }
}

INSTANTIATE_TEST_SUITE_P(Transfers, GicTransferSweep,
                         ::testing::Values(SweepCase{kPlain, false}, SweepCase{kPlain, true},
                                           SweepCase{kCompressed, false},
                                           SweepCase{kCompressed, true}),
                         [](const ::testing::TestParamInfo<SweepCase>& info) {
                           return std::string(info.param.upload ? "Upload" : "Download") +
                                  (info.param.profile == kPlain ? "Plain" : "Compressed");
                         });

// --- The lock around progress
// ----------------------------------------------------------------------

TEST_F(GicFiles, ProgressRunsWithoutTheLock) {
  for (bool upload : {false, true}) {
    GicCamera cam(kPlain);
    void* handle = cam.handle();
    int calls = 0;
    bool allAnswered = true;
    std::vector<std::thread> others;  // joined after the transfer, so a held lock cannot hang us
    auto report = [&](u32, u32) {
      ++calls;
      u32 width = 0;
      // The same thread calls back into the library...
      allAnswered &= tqvGetIntegrationWidth(handle, 0, &width) == TQV_OK;
      // ...and another thread's call completes while the transfer waits in its callback.
      auto answer = std::make_shared<std::promise<u32>>();
      std::future<u32> answered = answer->get_future();
      others.emplace_back([handle, answer] {
        u32 value = 0;
        answer->set_value(tqvGetIntegrationWidth(handle, 1, &value));
      });
      allAnswered &= answered.wait_for(std::chrono::seconds(10)) == std::future_status::ready &&
                     answered.get() == TQV_OK;
      return 0;
    };
    auto progress = zel::delegate<int(u32, u32)>::FromCallable(&report);
    u32 result = upload ? Backend(cam).FileUpload(kNUC, "lock", MemFile(Bytes(1300, 1)), progress)
                        : Backend(cam).FileDownload(kNUC, "office", MemFile(), progress);
    for (std::thread& other : others)
      other.join();
    EXPECT_EQ(result, TQV_OK);
    EXPECT_EQ(calls, 3);
    EXPECT_TRUE(allAnswered) << (upload ? "upload" : "download");
  }
}

// --- Damaged compressed streams
// --------------------------------------------------------------------

namespace {

// After every file operation the protocol has run, `change` may alter what the camera shows.
void AfterFileOperations(const GicCamera& cam, std::function<void(sim::genicam::Device&)> change) {
  cam.device().OnExecute("FileOperationExecute", [change](sim::genicam::Device& device,
                                                          const std::string&) { change(device); });
}

}  // namespace

// The camera's stream and its announced size disagree, or the stream is corrupt: the download
// fails, never writes past the announced size, and never leaves a host file of that size behind.
TEST_F(GicFiles, DamagedCompressedDownloadsFailAndLeaveTheFileShort) {
  const Bytes data = Compressible();
  struct Case {
    const char* what;
    i64 announced;    // the size the camera claims after the open; 0: the true size
    int corruptByte;  // a byte of the first register to flip; -1: none
  };
  const Case cases[] = {
      {"longer than announced", 30000, -1},
      {"longer by one byte", 39999, -1},
      {"longer than one output block", 1, -1},
      {"longer, ending on an output block", 20 * kRegister, -1},
      {"shorter than announced", 50000, -1},
      {"corrupt in its middle", 0, 40},
      {"corrupt check value", 0, -2},  // the last byte of the stream
  };
  uLongf streamLength = compressBound(static_cast<uLong>(data.size()));
  Bytes stream(streamLength);
  ASSERT_EQ(
      compress2(stream.data(), &streamLength, data.data(), data.size(), Z_DEFAULT_COMPRESSION),
      Z_OK);
  ASSERT_LT(streamLength, kRegister);

  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    GicCamera cam(kCompressed);
    ASSERT_EQ(cam.device().Files().Write("/FlashFS/nuc/flat.nuc", data), 0);
    const int corrupt = c.corruptByte == -2 ? static_cast<int>(streamLength) - 1 : c.corruptByte;
    AfterFileOperations(cam, [&c, corrupt](sim::genicam::Device& device) {
      const i64 operation = device.GetInt("FileOperationSelector");
      if (operation == 0 && c.announced) device.SetInt("FileSize", c.announced);
      if (operation == 2 && corrupt >= 0) {
        std::vector<u8> bytes = device.GetRegister("FileAccessBuffer");
        bytes[static_cast<std::size_t>(corrupt)] ^= 0x55;
        device.SetRegister("FileAccessBuffer", bytes);
      }
    });
    const u64 announced = c.announced ? static_cast<u64>(c.announced) : data.size();
    ProgressLog progress;
    auto file = MemFile();
    EXPECT_EQ(Backend(cam).FileDownload(kNUC, "flat", file, progress.Delegate()), TQV_ERROR);
    const Bytes written = Contents(file);
    EXPECT_LT(written.size(), announced) << "the host file looks complete";
    EXPECT_TRUE(std::equal(written.begin(), written.end(), data.begin()) || corrupt >= 0);
    EXPECT_TRUE(progress.calls.empty()) << "no chunk was reported as done";
    EXPECT_EQ(cam.device().Count("FileAccessBuffer", "regGet"), 1u) << "stops at the damage";
    EXPECT_FALSE(cam.device().IsFileOpen());
  }
}

// A deflate error sends what was produced and deflating goes on; when it cannot go on, the upload
// fails, even on a camera that would accept the truncated stream, and the camera keeps no file.
TEST_F(GicFiles, DeflateErrorsNeverReportAnIncompleteUpload) {
  const Bytes data = testutil::RandomBytes(40000, 5);
  // The step has already filled part of the register when deflate fails.
  const auto midChunk = [](const z_stream& s) {
    return s.avail_out > 0 && s.avail_out < kRegister;
  };
  const auto atOnce = [](const z_stream&) { return true; };
  struct Case {
    const char* what;
    std::function<bool(const z_stream&)> when;
    int count;
    u32 expected;
  };
  const Case cases[] = {
      {"one failure in a chunk", midChunk, 1, TQV_OK},
      {"failing from the first call", atOnce, -1, TQV_ERROR},
      {"failing from the middle of a chunk", midChunk, -1, TQV_ERROR},
  };
  for (const Case& c : cases) {
    for (bool lenient : {false, true}) {
      SCOPED_TRACE(::testing::Message() << c.what << (lenient ? ", lenient camera" : ""));
      GicCamera cam(kCompressed);
      if (lenient) {  // a camera that closes whatever it got without a complaint
        AfterFileOperations(cam, [](sim::genicam::Device& device) {
          if (device.GetInt("FileOperationSelector") == 1) device.SetInt("FileOperationStatus", 0);
        });
      }
      u32 result = TQV_OK;
      {
        testutil::ScopedDeflateFault fault(c.when, c.count);
        result = Backend(cam).FileUpload(kNUC, "deflated", MemFile(data), {});
        EXPECT_GE(testutil::DeflateFailures(), 1) << "the fault did not fire";
      }
      EXPECT_EQ(result, c.expected);
      if (c.expected == TQV_OK) {
        EXPECT_EQ(StoredFile(cam, "/FlashFS/nuc/deflated.nuc"), data);
      } else {
        EXPECT_FALSE(cam.device().Files().Exists("/FlashFS/nuc/deflated.nuc"));
      }
      EXPECT_EQ(FileOperations(cam.device().Log()).closes, 1);
      EXPECT_FALSE(cam.device().IsFileOpen());
    }
  }
}
