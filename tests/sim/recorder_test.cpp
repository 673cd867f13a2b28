// The simulated recorder's state machine in simulated time, apart from either camera: recording by
// each record type, the buffer and drive limits, saving, formatting, loading, playback and the
// automatic steps after a recording, and what a command out of place does.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/Recorder.h"

namespace {

using namespace sim::recorder;

// 60 frames per second, 640 x 512.
Settings Recording(u32 frames, Type type = Type::kNumFrames) {
  Settings s;
  s.numFrames = frames;
  s.type = type;
  return s;
}

// Arms at `t` and returns the time it is armed.
u64 ArmAt(Recorder& r, u64 t, const Settings& s) {
  EXPECT_TRUE(r.Arm(t, s));
  EXPECT_EQ(r.StateAt(t), State::kArming);
  const u64 armed = t + Config{}.armMs;
  EXPECT_EQ(r.StateAt(armed - 1), State::kArming);
  return armed;
}

TEST(SimRecorder, ATriggeredRecordingFillsTheSetFramesAtTheFrameRate) {
  Recorder r;
  const u64 armed = ArmAt(r, 0, Recording(600));
  EXPECT_EQ(r.StateAt(armed), State::kArmed);
  EXPECT_EQ(r.StateAt(armed + 60000), State::kArmed) << "armed waits for its trigger";
  const u64 t = armed + 60000;
  ASSERT_TRUE(r.Trigger(t));
  EXPECT_EQ(r.StateAt(t), State::kTriggered);
  EXPECT_EQ(r.AcquiredAt(t + 5000), 300u);  // half of 600 frames at 60 per second
  EXPECT_EQ(r.StateAt(t + 9999), State::kTriggered);
  EXPECT_EQ(r.StateAt(t + 10000), State::kComplete);
  EXPECT_EQ(r.AcquiredAt(t + 20000), 600u);
  EXPECT_EQ(r.HeldFrames(), 600u);
}

TEST(SimRecorder, PretriggerFramesAreKeptWhileArmedAndCountTowardsTheLength) {
  Recorder r;
  Settings s = Recording(100);
  s.pretriggerFrames = 30;
  const u64 armed = ArmAt(r, 0, s);
  EXPECT_EQ(r.AcquiredAt(armed + 250), 15u);
  EXPECT_EQ(r.AcquiredAt(armed + 5000), 30u) << "no more than the pretrigger frames";
  ASSERT_TRUE(r.Trigger(armed + 5000));
  // 70 frames to go at 60 per second: 1167 ms.
  EXPECT_EQ(r.StateAt(armed + 5000 + 1166), State::kTriggered);
  EXPECT_EQ(r.StateAt(armed + 5000 + 1167), State::kComplete);
  EXPECT_EQ(r.HeldFrames(), 100u);
}

TEST(SimRecorder, RecordTypesEndByLengthByDurationOrByStop) {
  {
    Recorder r;
    Settings s = Recording(5000, Type::kDuration);
    s.durationMs = 500;
    const u64 armed = ArmAt(r, 0, s);
    ASSERT_TRUE(r.Trigger(armed));
    EXPECT_EQ(r.StateAt(armed + 500), State::kComplete);
    EXPECT_EQ(r.HeldFrames(), 30u);
  }
  {
    // Start-stop records from the moment it is armed and needs no trigger.
    Recorder r;
    const u64 armed = ArmAt(r, 0, Recording(10, Type::kStartStop));
    EXPECT_EQ(r.StateAt(armed), State::kTriggered);
    EXPECT_EQ(r.StateAt(armed + 60000), State::kTriggered) << "the length does not end it";
    ASSERT_TRUE(r.RecordStop(armed + 60000));
    EXPECT_EQ(r.StateAt(armed + 60000), State::kComplete);
    EXPECT_EQ(r.HeldFrames(), 3600u);
  }
}

TEST(SimRecorder, APausedRecordingDoesNotCountTheTimeItIsPaused) {
  Recorder r;
  const u64 armed = ArmAt(r, 0, Recording(120));
  ASSERT_TRUE(r.Trigger(armed));
  ASSERT_TRUE(r.RecordPause(armed + 1000));  // 60 frames
  EXPECT_EQ(r.StateAt(armed + 1000), State::kRecordPaused);
  EXPECT_EQ(r.AcquiredAt(armed + 50000), 60u);
  ASSERT_TRUE(r.RecordResume(armed + 50000));
  EXPECT_EQ(r.AcquiredAt(armed + 50500), 90u);
  EXPECT_EQ(r.StateAt(armed + 50999), State::kTriggered);
  EXPECT_EQ(r.StateAt(armed + 51000), State::kComplete);
  EXPECT_EQ(r.HeldFrames(), 120u);
}

TEST(SimRecorder, RecordingStopsWhenTheBufferOrTheDriveIsFull) {
  const u64 frame = Recorder::FrameBytes(640, 512);
  {
    Recorder r(Config{.bufferBytes = 50 * frame});
    EXPECT_EQ(r.MaxFrames(640, 512), 50u);
    EXPECT_EQ(r.MaxFrames(320, 256), 200u);
    const u64 armed = ArmAt(r, 0, Recording(1000));
    ASSERT_TRUE(r.Trigger(armed));
    EXPECT_EQ(r.StateAt(armed + 60000), State::kComplete);
    EXPECT_EQ(r.HeldFrames(), 50u);
  }
  {
    Recorder r(Config{.driveBytes = Recorder::kMovieHeaderBytes + 40 * frame});
    EXPECT_EQ(r.MaxFramesDisk(640, 512), 40u);
    Settings s = Recording(1000);
    s.mode = Mode::kToDisk;
    const u64 armed = ArmAt(r, 0, s);
    ASSERT_TRUE(r.Trigger(armed));
    EXPECT_EQ(r.StateAt(armed + 60000), State::kComplete);
    ASSERT_EQ(r.Movies().size(), 1u) << "recording to disk writes the movie as it ends";
    EXPECT_EQ(r.Movies()[0].numFrames, 40u);
    EXPECT_EQ(r.DriveFree(), 0u);
    EXPECT_EQ(r.MaxFramesDisk(640, 512), 0u);
  }
}

// Records `frames` frames from `t` (armed and triggered) and returns when it completed.
u64 Record(Recorder& r, u64 t, u32 frames) {
  const u64 armed = ArmAt(r, t, Recording(frames));
  EXPECT_TRUE(r.Trigger(armed));
  const u64 done = armed + (frames * 1000 + 59) / 60;
  EXPECT_EQ(r.StateAt(done), State::kComplete);
  return done;
}

TEST(SimRecorder, SavingWritesAMovieAtTheDrivesSpeedAndFormattingEmptiesTheDrive) {
  Recorder r;
  const u64 done = Record(r, 1000, 600);
  Settings named;
  named.saveName = "range-1";
  ASSERT_TRUE(r.SaveBuffer(done, named));
  const u64 bytes = Recorder::kMovieHeaderBytes + 600 * Recorder::FrameBytes(640, 512);
  const u64 ms = (bytes * 1000 + 399999999) / 400000000;  // 400 MB/s, rounded up
  EXPECT_EQ(r.StateAt(done + ms - 1), State::kSaving);
  EXPECT_TRUE(r.Movies().empty());
  EXPECT_EQ(r.StateAt(done + ms), State::kComplete);
  ASSERT_EQ(r.Movies().size(), 1u);
  const Movie& movie = r.Movies()[0];
  EXPECT_EQ(movie.name, "range-1");
  EXPECT_EQ(movie.number, 1u);
  EXPECT_EQ(movie.numFrames, 600u);
  EXPECT_EQ(movie.bytes, bytes);
  EXPECT_EQ(movie.startUs, (1000 + Config{}.armMs) * 1000);
  EXPECT_EQ(movie.endUs - movie.startUs, 10000000u);
  EXPECT_EQ(r.DriveUsed(), bytes);
  EXPECT_EQ(r.DriveFree(), r.DriveTotal() - bytes);
  // Without a name the camera numbers its movies.
  ASSERT_TRUE(r.SaveBuffer(done + ms, Settings{}));
  EXPECT_EQ(r.StateAt(done + 2 * ms), State::kComplete);
  ASSERT_EQ(r.Movies().size(), 2u);
  EXPECT_EQ(r.Movies()[1].name, "Movie2");

  ASSERT_TRUE(r.FormatDrive(done + 2 * ms));
  EXPECT_EQ(r.StateAt(done + 2 * ms + 2999), State::kFormatting);
  EXPECT_EQ(r.Movies().size(), 2u);
  EXPECT_EQ(r.StateAt(done + 2 * ms + 3000), State::kComplete) << "the buffer is not on the drive";
  EXPECT_TRUE(r.Movies().empty());
  EXPECT_EQ(r.DriveFree(), r.DriveTotal());
}

TEST(SimRecorder, TimesFollowTheIrigLayout) {
  const Time t = TimeOf(((2ull * 86400 + 3 * 3600 + 4 * 60 + 5) * 1000 + 6) * 1000 + 7);
  EXPECT_EQ(std::vector<u32>({t.day, t.hour, t.minute, t.second, t.millisecond, t.microsecond}),
            std::vector<u32>({3, 3, 4, 5, 6, 7}));
}

TEST(SimRecorder, PlaybackMovesThroughTheRangeAndPauseResumeSkipAndStopActOnIt) {
  Recorder r;
  u64 t = Record(r, 0, 600);
  Settings play;
  play.playbackRate = 10;
  play.startFrame = 100;
  play.endFrame = 200;
  ASSERT_TRUE(r.Play(t, play));
  EXPECT_EQ(r.StateAt(t), State::kPlaying);
  EXPECT_EQ(r.PlaybackFrameAt(t), 100u);
  EXPECT_EQ(r.PlaybackFrameAt(t + 2500), 125u);
  ASSERT_TRUE(r.Pause(t + 2500));
  EXPECT_EQ(r.PlaybackFrameAt(t + 9000), 125u) << "a pause holds the frame";
  ASSERT_TRUE(r.Skip(t + 9000, 1));
  ASSERT_TRUE(r.Skip(t + 9000, 1));
  ASSERT_TRUE(r.Skip(t + 9000, -1));
  EXPECT_EQ(r.PlaybackFrameAt(t + 9000), 126u);
  ASSERT_TRUE(r.SkipTo(t + 9000, 5));
  EXPECT_EQ(r.PlaybackFrameAt(t + 9000), 100u) << "a frame before the range is its start";
  ASSERT_TRUE(r.SkipTo(t + 9000, 190));
  ASSERT_TRUE(r.Resume(t + 9000));
  EXPECT_EQ(r.PlaybackFrameAt(t + 10000), 200u);
  // The end of the range ends playback, which keeps the last frame.
  EXPECT_EQ(r.StateAt(t + 10099), State::kPlaying);
  EXPECT_EQ(r.StateAt(t + 10100), State::kComplete);
  EXPECT_EQ(r.PlaybackFrameAt(t + 10100), 200u);
  // Looping starts over; a stop goes back to the start.
  t += 20000;
  play.loop = true;
  ASSERT_TRUE(r.Play(t, play));
  EXPECT_EQ(r.PlaybackFrameAt(t + 10100), 100u);
  EXPECT_EQ(r.PlaybackFrameAt(t + 10500), 104u);  // 101 frames a round
  ASSERT_TRUE(r.Stop(t + 10500));
  EXPECT_EQ(r.StateAt(t + 10500), State::kComplete);
  EXPECT_EQ(r.PlaybackFrameAt(t + 10500), 100u);
}

TEST(SimRecorder, ALoadedMovieIsPlayedAndUnloaded) {
  Recorder r;
  u64 t = Record(r, 0, 60);
  ASSERT_TRUE(r.SaveBuffer(t, Settings{}));
  t += 1000;
  t = Record(r, t, 120);
  ASSERT_TRUE(r.SaveBuffer(t, Settings{}));
  t += 1000;
  ASSERT_EQ(r.StateAt(t), State::kComplete);
  ASSERT_TRUE(r.Load(t, 0));
  EXPECT_EQ(r.StateAt(t + 499), State::kLoading);
  EXPECT_EQ(r.StateAt(t + 500), State::kMovieLoaded);
  EXPECT_TRUE(r.MovieLoaded());
  EXPECT_EQ(r.HeldFrames(), 60u);
  t += 500;
  ASSERT_TRUE(r.Play(t, Settings{}));
  EXPECT_EQ(r.StateAt(t + 2000), State::kMovieLoaded) << "60 frames at 30 per second";
  ASSERT_TRUE(r.Unload(t + 2000));
  EXPECT_EQ(r.StateAt(t + 2000), State::kDisarmed);
  EXPECT_FALSE(r.MovieLoaded());
  EXPECT_EQ(r.HeldFrames(), 0u);
}

TEST(SimRecorder, TheAutomaticStepsFollowARecordingInTurn) {
  Recorder r;
  Settings s = Recording(30);
  s.autoDownload = s.autoSave = s.autoPlay = s.autoRearm = true;
  s.playbackRate = 30;
  const u64 armed = ArmAt(r, 0, s);
  ASSERT_TRUE(r.Trigger(armed));
  u64 t = armed + 500;
  EXPECT_EQ(r.StateAt(t), State::kRequestAutoDownload);
  ASSERT_TRUE(r.AutoDownloadStart(t));
  EXPECT_EQ(r.StateAt(t + 60000), State::kRequestAutoDownload) << "until the host is done";
  t += 60000;
  ASSERT_TRUE(r.AutoDownloadDone(t));
  EXPECT_EQ(r.StateAt(t), State::kSaving);
  t += 100;
  EXPECT_EQ(r.StateAt(t), State::kPlaying);
  EXPECT_EQ(r.Movies().size(), 1u);
  t += 1000;  // 30 frames at 30 per second
  EXPECT_EQ(r.StateAt(t), State::kArming);
  EXPECT_EQ(r.StateAt(t + 200), State::kArmed);
}

// --- Commands out of place ----------------------------------------------------------------------

struct OutOfPlace {
  const char* name;
  std::function<void(Recorder&)> setUp;  // leaves the recorder in the state the command meets
  std::function<bool(Recorder&)> command;
};

const u64 kAt = 100000;

const std::vector<OutOfPlace>& Cases() {
  static const std::vector<OutOfPlace> cases = {
      {"trigger while disarmed", [](Recorder&) {}, [](Recorder& r) { return r.Trigger(kAt); }},
      {"trigger while arming", [](Recorder& r) { r.Arm(kAt, Recording(10)); },
       [](Recorder& r) { return r.Trigger(kAt); }},
      {"save with nothing recorded", [](Recorder&) {},
       [](Recorder& r) { return r.SaveBuffer(kAt, Settings{}); }},
      {"play with nothing recorded", [](Recorder&) {},
       [](Recorder& r) { return r.Play(kAt, Settings{}); }},
      {"pause while not playing", [](Recorder&) {}, [](Recorder& r) { return r.Pause(kAt); }},
      {"record pause while armed", [](Recorder& r) { r.Arm(0, Recording(10)); },
       [](Recorder& r) { return r.RecordPause(kAt); }},
      {"arm while recording",
       [](Recorder& r) {
         r.Arm(0, Recording(100000));
         r.Trigger(1000);
       },
       [](Recorder& r) { return r.Arm(kAt, Recording(10)); }},
      {"format while recording",
       [](Recorder& r) {
         r.Arm(0, Recording(100000));
         r.Trigger(1000);
       },
       [](Recorder& r) { return r.FormatDrive(kAt); }},
      {"load a movie the drive lacks", [](Recorder&) {},
       [](Recorder& r) { return r.Load(kAt, 0); }},
      {"unload with nothing loaded", [](Recorder&) {}, [](Recorder& r) { return r.Unload(kAt); }},
      {"download done unasked", [](Recorder&) {},
       [](Recorder& r) { return r.AutoDownloadDone(kAt); }},
  };
  return cases;
}

TEST(SimRecorder, ACommandOutOfPlaceChangesNothingAndIsTakenOrRefusedByTheProfile) {
  for (const bool strict : {false, true}) {
    for (const OutOfPlace& c : Cases()) {
      SCOPED_TRACE(std::string(c.name) + (strict ? ", strict" : ""));
      Recorder r(Config{.strict = strict});
      c.setUp(r);
      const State before = r.StateAt(kAt);
      const u32 frames = r.AcquiredAt(kAt);
      EXPECT_EQ(c.command(r), !strict);
      EXPECT_EQ(r.StateAt(kAt), before);
      EXPECT_EQ(r.AcquiredAt(kAt), frames);
      EXPECT_TRUE(r.Movies().empty());
    }
  }
}

}  // namespace
