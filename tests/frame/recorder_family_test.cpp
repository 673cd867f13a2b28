// The solid-state recorder through the C interface on both simulated cameras: a whole recording
// run (states read after every command, commands not waited on), the movie query field by field
// and its refusals, the drive space halves, commands out of place on the strict profile, the
// fault sweep over the operations of several steps, and two threads querying movies on one handle.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "common/fault_sweep.h"
#include "common/sim_fixtures.h"
#include "common/testutil.h"
#include "tqvSDK.h"

namespace {

using testutil::AnyCamera;
using testutil::Backend;

class RecorderFamily : public ::testing::TestWithParam<Backend> {
 protected:
  testutil::SleepRecorder noWaiting;
  AnyCamera camera{GetParam()};
  void* h = camera.handle();

  bool isTree() const { return camera.tree() != nullptr; }
  u8 State() const {
    u8 state = 0xEE;
    EXPECT_EQ(tqvGetSsdState(h, &state), TQV_OK);
    return state;
  }
  u32 Count() const {
    u32 count = 0xEEEEEEEE;
    EXPECT_EQ(tqvGetSsdMovieCount(h, &count), TQV_OK);
    return count;
  }
  // Records `frames` frames (60 per second) and saves them under `name`.
  void RecordAndSave(u32 frames, const char* name) {
    ASSERT_EQ(tqvSetSsdNumFrames(h, frames), TQV_OK);
    ASSERT_EQ(tqvSsdArm(h), TQV_OK);
    camera.AdvanceMs(300);
    ASSERT_EQ(tqvSsdTrigger(h), TQV_OK);
    camera.AdvanceMs(frames * 1000 / 60 + 100);
    ASSERT_EQ(State(), 3) << "Complete";
    ASSERT_EQ(tqvSetSsdSaveName(h, name), TQV_OK);
    ASSERT_EQ(tqvSsdSaveBuffer(h), TQV_OK);
    camera.AdvanceMs(5000);
    ASSERT_EQ(State(), 3);
  }
};

INSTANTIATE_TEST_SUITE_P(Both, RecorderFamily,
                         ::testing::Values(Backend::PropertyTree, Backend::GenICam),
                         testutil::BackendName);

constexpr i64 kDrive = 1000204886016;

TEST_P(RecorderFamily, AWholeRecordingRun) {
  bool present = false, loaded = true;
  ASSERT_EQ(tqvGetSsdPresent(h, &present), TQV_OK);
  EXPECT_TRUE(present);
  EXPECT_EQ(State(), 0) << "Disarmed";
  EXPECT_EQ(Count(), 0u);
  u32 frames = 0;
  ASSERT_EQ(tqvGetSsdMaxNumFrames(h, &frames), TQV_OK);
  EXPECT_EQ(frames, 13107u) << "8 GiB of 640 x 512 frames";

  ASSERT_EQ(tqvSetSsdNumFrames(h, 120), TQV_OK);
  ASSERT_EQ(tqvSsdArm(h), TQV_OK);
  EXPECT_EQ(State(), 11) << "Arming";
  camera.AdvanceMs(300);
  EXPECT_EQ(State(), 1) << "Armed";
  ASSERT_EQ(tqvSsdTrigger(h), TQV_OK);
  EXPECT_EQ(State(), 2) << "Triggered";
  camera.AdvanceMs(1000);
  ASSERT_EQ(tqvGetSsdNumFramesAcquired(h, &frames), TQV_OK);
  EXPECT_GE(frames, 60u);
  EXPECT_LT(frames, 120u);
  camera.AdvanceMs(1100);
  EXPECT_EQ(State(), 3) << "Complete: the buffer holds the set length";
  ASSERT_EQ(tqvGetSsdNumFramesAcquired(h, &frames), TQV_OK);
  EXPECT_EQ(frames, 120u);

  ASSERT_EQ(tqvSetSsdSaveName(h, "pass-7"), TQV_OK);
  ASSERT_EQ(tqvSsdSaveBuffer(h), TQV_OK);
  EXPECT_EQ(State(), 5) << "Saving";
  camera.AdvanceMs(1000);
  EXPECT_EQ(State(), 3);
  ASSERT_EQ(Count(), 1u);
  tqvSSsdMovieInfo info;
  std::memset(&info, 0xEE, sizeof info);
  ASSERT_EQ(tqvGetSsdMovieInfo(h, 0, &info), TQV_OK);
  EXPECT_STREQ(info.name, "pass-7");
  EXPECT_EQ(info.number, 1u);
  EXPECT_EQ(info.width, 640);
  EXPECT_EQ(info.height, 512);
  EXPECT_EQ(info.numFrames, 120u);
  auto ms = [](int minute, int second, int millisecond) {
    return (minute * 60 + second) * 1000 + millisecond;
  };
  EXPECT_EQ(ms(info.endMinute, info.endSecond, info.endMillisecond) -
                ms(info.startMinute, info.startSecond, info.startMillisecond),
            2001)
      << "120 frames at 59.99995 per second (25 MHz over 416 667 clocks)";
  const i64 movie = 4096 + 120 * 640 * 512 * 2;
  i64 total = 0, used = 0, free = 0;
  ASSERT_EQ(tqvGetSsdDriveSpaceTotal(h, &total), TQV_OK);
  ASSERT_EQ(tqvGetSsdDriveSpaceUsed(h, &used), TQV_OK);
  ASSERT_EQ(tqvGetSsdDriveSpaceFree(h, &free), TQV_OK);
  EXPECT_EQ(total, kDrive);
  EXPECT_EQ(used, movie);
  EXPECT_EQ(free, kDrive - movie);

  ASSERT_EQ(tqvSsdLoadMovie(h, 0), TQV_OK);
  EXPECT_EQ(State(), 8) << "Loading";
  camera.AdvanceMs(1000);
  EXPECT_EQ(State(), 10) << "MovieLoaded";
  ASSERT_EQ(tqvGetSsdMovieLoaded(h, &loaded), TQV_OK);
  EXPECT_TRUE(loaded);

  ASSERT_EQ(tqvSetSsdPlaybackRate(h, 10.0f), TQV_OK);
  ASSERT_EQ(tqvSsdPlayBuffer(h), TQV_OK);
  EXPECT_EQ(State(), 4) << "Playing";
  camera.AdvanceMs(5000);
  u32 frame = 0, held = 0;
  ASSERT_EQ(tqvGetSsdPlaybackFrame(h, &frame), TQV_OK);
  EXPECT_GE(frame, 50u);
  EXPECT_LT(frame, 53u);
  ASSERT_EQ(tqvSsdPauseBuffer(h), TQV_OK);
  EXPECT_EQ(State(), 6) << "Paused";
  ASSERT_EQ(tqvGetSsdPlaybackFrame(h, &held), TQV_OK);
  camera.AdvanceMs(5000);
  ASSERT_EQ(tqvGetSsdPlaybackFrame(h, &frame), TQV_OK);
  EXPECT_EQ(frame, held) << "a pause holds the frame";
  ASSERT_EQ(tqvSsdSkipForward(h), TQV_OK);
  ASSERT_EQ(tqvGetSsdPlaybackFrame(h, &frame), TQV_OK);
  EXPECT_EQ(frame, held + 1);
  ASSERT_EQ(tqvSsdSkipBackward(h), TQV_OK);
  ASSERT_EQ(tqvSsdSkipBackward(h), TQV_OK);
  ASSERT_EQ(tqvGetSsdPlaybackFrame(h, &frame), TQV_OK);
  EXPECT_EQ(frame, held - 1);
  ASSERT_EQ(tqvSsdSkipToFrame(h, 100), TQV_OK);
  ASSERT_EQ(tqvGetSsdPlaybackFrame(h, &frame), TQV_OK);
  EXPECT_EQ(frame, 100u);
  ASSERT_EQ(tqvSsdResumeBuffer(h), TQV_OK);
  EXPECT_EQ(State(), 4);
  ASSERT_EQ(tqvSsdStopBuffer(h), TQV_OK);
  EXPECT_EQ(State(), 10);
  ASSERT_EQ(tqvGetSsdPlaybackFrame(h, &frame), TQV_OK);
  EXPECT_EQ(frame, 0u) << "a stop goes back to the start";

  ASSERT_EQ(tqvSsdUnload(h), TQV_OK);
  EXPECT_EQ(State(), 0);
  ASSERT_EQ(tqvSsdFormatDrive(h), TQV_OK);
  EXPECT_EQ(State(), 7) << "Formatting";
  camera.AdvanceMs(3500);
  EXPECT_EQ(State(), 0);
  EXPECT_EQ(Count(), 0u);
  ASSERT_EQ(tqvGetSsdDriveSpaceFree(h, &free), TQV_OK);
  EXPECT_EQ(free, kDrive);
  ASSERT_EQ(tqvGetSsdDriveSpaceUsed(h, &used), TQV_OK);
  EXPECT_EQ(used, 0);

  // The recorder acts on its own once told: no command was waited on.
  EXPECT_EQ(noWaiting.TotalMs(), 0u);
  if (!isTree()) {
    for (const char* command : {"SSDArm", "SSDTrigger", "SSDSaveBuffer", "SSDPlayBuffer",
                                "SSDPauseBuffer", "SSDSkipForward", "SSDFormatDrive"}) {
      EXPECT_EQ(camera.device()->Count(command, "execute"), 1u) << command;
      EXPECT_EQ(camera.device()->Count(command, "isDone"), 0u) << command;
    }
  }
}

TEST_P(RecorderFamily, RecordingToDiskListsTheMovieWithoutASave) {
  ASSERT_EQ(tqvSetSsdRecordMode(h, 1), TQV_OK);  // ToDisk
  ASSERT_EQ(tqvSetSsdRecordType(h, 1), TQV_OK);  // Duration
  ASSERT_EQ(tqvSetSsdRecordDuration(h, 260), TQV_OK);
  u8 mode = 0, type = 0;
  ASSERT_EQ(tqvGetSsdRecordMode(h, &mode), TQV_OK);
  ASSERT_EQ(tqvGetSsdRecordType(h, &type), TQV_OK);
  EXPECT_EQ(mode, 1);
  EXPECT_EQ(type, 1);
  ASSERT_EQ(tqvSsdArm(h), TQV_OK);
  camera.AdvanceMs(300);
  ASSERT_EQ(tqvSsdTrigger(h), TQV_OK);
  camera.AdvanceMs(300);
  EXPECT_EQ(State(), 3);
  ASSERT_EQ(Count(), 1u);
  tqvSSsdMovieInfo info{};
  ASSERT_EQ(tqvGetSsdMovieInfo(h, 0, &info), TQV_OK);
  EXPECT_EQ(info.numFrames, 15u) << "260 ms at 60 frames per second";
  EXPECT_STREQ(info.name, "Movie1");
}

// Every field comes from its own path or feature: distinct values put on the camera come back in
// their own fields (the end time's microseconds among them, the start's left alone).
TEST_P(RecorderFamily, EveryMovieFieldComesFromItsOwnPlace) {
  RecordAndSave(6, "m");
  struct Field {
    const char* path;
    const char* feature;
    u32 value;
    u32 (*of)(const tqvSSsdMovieInfo&);
  };
#define FIELD(tree, gic, member, value)                           \
  {                                                               \
    ".system.ssd.movies." tree, "SSDMovieQuery" gic, value,       \
        [](const tqvSSsdMovieInfo& i) -> u32 { return i.member; } \
  }
  // clang-format off
  static const Field kFields[] = {
      FIELD("number", "Number", number, 41), FIELD("width", "Width", width, 42),
      FIELD("height", "Height", height, 43), FIELD("numFrames", "NumFrames", numFrames, 44),
      FIELD("startTime.day", "StartDay", startDay, 45), FIELD("startTime.hour", "StartHour", startHour, 16),
      FIELD("startTime.min", "StartMinute", startMinute, 47), FIELD("startTime.sec", "StartSecond", startSecond, 48),
      FIELD("startTime.msec", "StartMillisecond", startMillisecond, 449), FIELD("startTime.usec", "StartMicrosecond", startMicrosecond, 450),
      FIELD("endTime.day", "EndDay", endDay, 51), FIELD("endTime.hour", "EndHour", endHour, 22),
      FIELD("endTime.min", "EndMinute", endMinute, 53), FIELD("endTime.sec", "EndSecond", endSecond, 54),
      FIELD("endTime.msec", "EndMillisecond", endMillisecond, 555), FIELD("endTime.usec", "EndMicrosecond", endMicrosecond, 999),
  };
  // clang-format on
#undef FIELD
  // The camera answers the query with the values put there (a hook after the recorder's).
  if (isTree()) {
    camera.tree()->OnWrite(
        ".system.ssd.movies.read",
        [](sim::ptree::Camera& tree, const std::string&, const sim::ptree::Value&) -> u32 {
          tree.Update(".system.ssd.movies.name", sim::ptree::Value::Str("fields"));
          for (const Field& f : kFields)
            tree.Update(f.path, sim::ptree::Value::U32(f.value));
          return 0;
        });
  } else {
    camera.device()->OnExecute("SSDMovieQueryExecute",
                               [](sim::genicam::Device& device, const std::string&) {
                                 device.SetString("SSDMovieQueryName", "fields");
                                 for (const Field& f : kFields)
                                   device.SetInt(f.feature, f.value);
                               });
  }
  tqvSSsdMovieInfo info;
  std::memset(&info, 0, sizeof info);
  ASSERT_EQ(tqvGetSsdMovieInfo(h, 0, &info), TQV_OK);
  EXPECT_STREQ(info.name, "fields");
  for (const Field& f : kFields)
    EXPECT_EQ(f.of(info), f.value) << f.path;
}

TEST_P(RecorderFamily, AQueryTheCameraRefusesGivesErrorAndLeavesTheRecordAlone) {
  RecordAndSave(6, "only");
  tqvSSsdMovieInfo info, before;
  std::memset(&info, 0x5A, sizeof info);
  before = info;
  EXPECT_EQ(tqvGetSsdMovieInfo(h, 1, &info), TQV_ERROR) << "an index past the last movie";
  EXPECT_EQ(std::memcmp(&info, &before, sizeof info), 0);
  EXPECT_EQ(tqvGetSsdMovieInfo(h, 0, &info), TQV_OK);
  EXPECT_STREQ(info.name, "only");
}

// The property tree refuses names of 63 characters or more; GenICam reads up to 63 into its
// 64-character limit.
TEST_P(RecorderFamily, LongMovieNames) {
  const std::string longest(isTree() ? 62 : 63, 'n');
  const std::string tooLong = longest + "n";
  RecordAndSave(6, longest.c_str());
  tqvSSsdMovieInfo info{};
  ASSERT_EQ(tqvGetSsdMovieInfo(h, 0, &info), TQV_OK);
  EXPECT_EQ(std::string(info.name), longest);
  RecordAndSave(6, tooLong.c_str());
  std::memset(&info, 0x5A, sizeof info);
  EXPECT_EQ(tqvGetSsdMovieInfo(h, 1, &info), TQV_ERROR);
  EXPECT_EQ(static_cast<unsigned char>(info.name[0]), 0x5A);
}

TEST_P(RecorderFamily, DriveSpaceIsAssembledFromItsHalvesOnThePropertyTree) {
  if (!isTree()) {
    // GenICam gives each size whole, and the count one above the highest query index.
    i64 total = 0;
    ASSERT_EQ(tqvGetSsdDriveSpaceTotal(h, &total), TQV_OK);
    EXPECT_EQ(total, kDrive);
    RecordAndSave(6, "a");
    RecordAndSave(6, "b");
    EXPECT_EQ(camera.device()->GetInt("SSDMovieQueryIndexMax"), 1);
    EXPECT_EQ(Count(), 2u);
    return;
  }
  sim::ptree::Camera& tree = *camera.tree();
  tree.ClearHooks(".system.ssd.driveSpace.read");
  const std::string base = ".system.ssd.driveSpace.";
  struct Case {
    const char* name;
    u32 low, high;
    i64 expected;
    u32 (*get)(void*, i64*);
  };
  const Case cases[] = {
      {"total", 0, 1, 4294967296, &tqvGetSsdDriveSpaceTotal},
      {"used", 0xFFFFFFFFu, 0, 4294967295, &tqvGetSsdDriveSpaceUsed},
      {"free", 7, 232, 232 * 4294967296ll + 7, &tqvGetSsdDriveSpaceFree},
  };
  for (const Case& c : cases) {
    tree.Update(base + c.name + "Low", sim::ptree::Value::U32(c.low));
    tree.Update(base + c.name + "High", sim::ptree::Value::U32(c.high));
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    tree.ClearTraffic();
    i64 bytes = 0;
    ASSERT_EQ(c.get(h, &bytes), TQV_OK);
    EXPECT_EQ(bytes, c.expected);
    // The camera is told to latch the sizes before they are read.
    const std::vector<sim::ptree::Access> traffic = tree.Traffic();
    ASSERT_EQ(traffic.size(), 3u);
    EXPECT_EQ(traffic[0].path, base + "read");
  }
}

TEST_P(RecorderFamily, TheSavedInfoFileNamesWhatTheRecorderHolds) {
  RecordAndSave(6, "described");
  ASSERT_EQ(tqvSsdSaveInfoFile(h, "info.txt"), TQV_OK);
  std::string text;
  if (isTree()) {
    const auto data = camera.tree()->Files().Data("info.txt");
    ASSERT_TRUE(data);
    text.assign(data->begin(), data->end());
  } else {
    const auto data = camera.device()->Files().Read("info.txt");
    ASSERT_TRUE(data);
    text.assign(data->begin(), data->end());
  }
  EXPECT_NE(text.find("frames=6\n"), std::string::npos) << text;
}

// A camera whose recorder refuses commands out of place says so with 170; the default one takes
// them and does nothing.
TEST_P(RecorderFamily, CommandsOutOfPlace) {
  ASSERT_EQ(tqvSsdTrigger(h), TQV_OK);
  ASSERT_EQ(tqvSsdPauseBuffer(h), TQV_OK);
  EXPECT_EQ(State(), 0);
  AnyCamera strict(GetParam(), "sim:ssd-strict", "sim:ssd-strict");
  void* s = strict.handle();
  testutil::LogCapture log;  // the refused executes
  EXPECT_EQ(tqvSsdTrigger(s), TQV_ACCESS_DENIED);
  EXPECT_EQ(tqvSsdPauseBuffer(s), TQV_ACCESS_DENIED);
  EXPECT_EQ(tqvSsdLoadMovie(s, 3), TQV_ACCESS_DENIED);
  EXPECT_EQ(tqvSsdSkipToFrame(s, 3), TQV_ACCESS_DENIED);
  u8 state = 0xEE;
  ASSERT_EQ(tqvGetSsdState(s, &state), TQV_OK);
  EXPECT_EQ(state, 0);
  EXPECT_EQ(tqvSsdArm(s), TQV_OK);
}

// --- Several steps: the fault sweep ------------------------------------------------------------

// A camera with one saved movie.
void WithAMovie(void* handle) {
  ASSERT_EQ(tqvSetSsdNumFrames(handle, 6), TQV_OK);
  ASSERT_EQ(tqvSsdArm(handle), TQV_OK);
  testutil::SleepRecorder sleeps;
  zel::SleepMs(300);  // the simulated cameras count the process's waits as their time
  ASSERT_EQ(tqvSsdTrigger(handle), TQV_OK);
  zel::SleepMs(300);
  ASSERT_EQ(tqvSsdSaveBuffer(handle), TQV_OK);
  zel::SleepMs(1000);
}

struct Swept {
  const char* name;
  u32 (*run)(void* handle, bool faulted);
};

const Swept kSwept[] = {
    {"SsdLoadMovie", [](void* h, bool) { return tqvSsdLoadMovie(h, 0); }},
    {"SsdSaveInfoFile", [](void* h, bool) { return tqvSsdSaveInfoFile(h, "sweep.txt"); }},
    {"GetSsdDriveSpaceTotal",
     [](void* h, bool faulted) {
       i64 bytes = -5;
       const u32 result = tqvGetSsdDriveSpaceTotal(h, &bytes);
       if (faulted) {
         EXPECT_EQ(bytes, -5) << "written after a failure";
       }
       return result;
     }},
    {"GetSsdMovieInfo",
     [](void* h, bool faulted) {
       tqvSSsdMovieInfo info;
       std::memset(&info, 0x5A, sizeof info);
       const u32 result = tqvGetSsdMovieInfo(h, 0, &info);
       // The fields are written in order: after the first one left alone, none is written.
       const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&info);
       if (faulted && bytes[sizeof info - 1] != 0x5A) ADD_FAILURE() << "the last field was written";
       if (!faulted) {
         EXPECT_EQ(info.numFrames, 6u);
       }
       return result;
     }},
};

TEST(RecorderFamilySweep, EveryStepOfTheOperationsOfSeveralStepsIsFailedInTurn) {
  testutil::SleepRecorder noWaiting;
  testutil::LogCapture log;
  testutil::SweepOptions options;
  options.prepare = &WithAMovie;
  for (const Swept& op : kSwept) {
    SCOPED_TRACE(op.name);
    testutil::SweepPTree(op.run, options);
    testutil::SweepGenICam(op.run, options);
  }
}

// --- Threads -------------------------------------------------------------------------------------

// Two threads query different movies on one handle: each gets its own movie (GenICam holds its
// lock for the whole query), and ThreadSanitizer finds nothing on either backend.
TEST_P(RecorderFamily, TwoThreadsQueryMoviesOnOneHandle) {
  RecordAndSave(6, "first");
  RecordAndSave(12, "second");
  auto query = [this](u32 index, const char* name, u32 frames) {
    for (int i = 0; i < 200; ++i) {
      tqvSSsdMovieInfo info{};
      u32 count = 0;
      i64 free = 0;
      ASSERT_EQ(tqvGetSsdMovieCount(h, &count), TQV_OK);
      ASSERT_EQ(tqvGetSsdDriveSpaceFree(h, &free), TQV_OK);
      const u32 result = tqvGetSsdMovieInfo(h, index, &info);
      if (isTree()) continue;  // the tree's query is the camera's to keep apart
      ASSERT_EQ(result, TQV_OK);
      ASSERT_STREQ(info.name, name);
      ASSERT_EQ(info.numFrames, frames);
    }
  };
  std::thread other(query, 1, "second", 12u);
  query(0, "first", 6);
  other.join();
}

}  // namespace
