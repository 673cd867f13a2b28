// The solid-state recorder of the simulated cameras, apart from how either camera presents it: a
// memory buffer and a drive, driven by commands and by simulated time. Both simulated cameras hold
// one, take its settings from their own paths or features when a command needs them, and show its
// readings before they are read.
//
// Recording: arming takes a moment (Arming), then the recorder waits for a trigger (Armed) while
// it keeps up to the pretrigger frames; a trigger records (Triggered) at the frame rate until the
// record type's end: the set number of frames, the set duration (milliseconds), or, for
// StartStop, a stop (StartStop records from the moment it is armed, without a trigger). Recording
// to disk writes the movie to the drive as it ends; recording to memory fills the buffer, which
// SaveBuffer writes to the drive at the drive's speed (Saving). Both stop when the buffer or the
// drive is full. When a recording ends the automatic steps follow, in this order: a request for
// download (until AutoDownloadDone), saving, playing, arming again.
//
// Playback runs over the buffer or the loaded movie from the start frame to the end frame (0:
// the last) at the playback rate, and ends there or starts over when it loops.
//
// A command that makes no sense in the state the recorder is in changes nothing; the camera
// either accepts it silently (the default) or refuses it (strict).
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace sim::recorder {

using u8 = std::uint8_t;
using u32 = std::uint32_t;
using u64 = std::uint64_t;

// The codes are the recorder state enumeration's.
enum class State : u8 {
  kDisarmed = 0,
  kArmed = 1,
  kTriggered = 2,
  kComplete = 3,
  kPlaying = 4,
  kSaving = 5,
  kPaused = 6,
  kFormatting = 7,
  kLoading = 8,
  kRecordPaused = 9,
  kMovieLoaded = 10,
  kArming = 11,
  kRequestAutoDownload = 12,
};
inline constexpr const char* kStateNames[] = {
    "Disarmed",    "Armed",  "Triggered",          "Complete", "Playing",
    "Saving",      "Paused", "Formatting",         "Loading",  "RecordPaused",
    "MovieLoaded", "Arming", "RequestAutoDownload"};
inline constexpr const char* kModeNames[] = {"ToMemory", "ToDisk"};
inline constexpr const char* kTypeNames[] = {"NumFrames", "Duration", "StartStop"};

enum class Mode : u8 { kToMemory = 0, kToDisk = 1 };
enum class Type : u8 { kNumFrames = 0, kDuration = 1, kStartStop = 2 };

// What the camera is set to when a command is given.
struct Settings {
  u32 numFrames = 1000;
  u32 pretriggerFrames = 0;
  Mode mode = Mode::kToMemory;
  Type type = Type::kNumFrames;
  u32 durationMs = 1000;
  bool autoSave = false;
  bool autoPlay = false;
  bool autoRearm = false;
  bool autoDownload = false;
  // The image the sensor delivers now.
  double frameRate = 60.0;
  u32 width = 640;
  u32 height = 512;
  double playbackRate = 30.0;
  bool loop = false;
  u32 startFrame = 0;
  u32 endFrame = 0;  // 0: the last frame
  std::string saveName;
};

// Start and end times count microseconds from the start of the year of the camera's clock.
struct Movie {
  std::string name;
  u32 number = 0;
  u32 width = 0;
  u32 height = 0;
  u32 numFrames = 0;
  u64 bytes = 0;
  u64 startUs = 0;
  u64 endUs = 0;
};

// A time as the camera's IRIG fields give it.
struct Time {
  u32 day, hour, minute, second, millisecond, microsecond;
};
inline Time TimeOf(u64 us) {
  const u64 seconds = us / 1000000;
  return Time{static_cast<u32>(seconds / 86400 + 1), static_cast<u32>(seconds / 3600 % 24),
              static_cast<u32>(seconds / 60 % 60),   static_cast<u32>(seconds % 60),
              static_cast<u32>(us / 1000 % 1000),    static_cast<u32>(us % 1000)};
}

struct Config {
  u64 bufferBytes = 8ull << 30;
  u64 driveBytes = 1000204886016ull;
  double driveBytesPerSecond = 400e6;
  u64 armMs = 200;
  u64 formatMs = 3000;
  u64 loadMs = 500;
  bool strict = false;
};

class Recorder {
 public:
  static constexpr u64 kMovieHeaderBytes = 4096;

  explicit Recorder(Config config = {}) : m_config(config) {}

  // --- Readings, brought up to `now` (milliseconds of simulated time) first ---
  State StateAt(u64 now) {
    Advance(now);
    return m_state;
  }
  u32 AcquiredAt(u64 now) {
    Advance(now);
    return m_acquired;
  }
  u32 PlaybackFrameAt(u64 now) {
    Advance(now);
    return m_frame;
  }
  bool MovieLoaded() const { return m_loaded; }
  const std::vector<Movie>& Movies() const { return m_movies; }
  u64 DriveTotal() const { return m_config.driveBytes; }
  u64 DriveUsed() const {
    u64 used = 0;
    for (const Movie& movie : m_movies)
      used += movie.bytes;
    return used;
  }
  u64 DriveFree() const { return m_config.driveBytes - DriveUsed(); }
  static u64 FrameBytes(u32 width, u32 height) { return std::max<u64>(1, u64{width} * height * 2); }
  u32 MaxFrames(u32 width, u32 height) const {
    return Clamp32(m_config.bufferBytes / FrameBytes(width, height));
  }
  u32 MaxFramesDisk(u32 width, u32 height) const {
    const u64 free = DriveFree();
    return free > kMovieHeaderBytes
               ? Clamp32((free - kMovieHeaderBytes) / FrameBytes(width, height))
               : 0;
  }
  // The frames held by the buffer or the loaded movie, and their size.
  u32 HeldFrames() const { return m_held.numFrames; }

  // --- Commands: true when the recorder takes them ---
  bool Arm(u64 now, const Settings& s) {
    Advance(now);
    if (m_state != State::kDisarmed && m_state != State::kComplete) return Refuse();
    m_settings = s;
    StartArming(now);
    return true;
  }
  bool Disarm(u64 now) {
    Advance(now);
    switch (m_state) {
      case State::kDisarmed:
        return true;
      case State::kArming:
      case State::kArmed:
      case State::kTriggered:
      case State::kRecordPaused:
        m_acquired = 0;
        m_state = State::kDisarmed;
        return true;
      default:
        return Refuse();
    }
  }
  bool Trigger(u64 now) {
    Advance(now);
    if (m_state != State::kArmed) return Refuse();
    StartRecording(now);
    return true;
  }
  bool RecordPause(u64 now) {
    Advance(now);
    if (m_state != State::kTriggered) return Refuse();
    m_recordedBefore += now - m_segmentStart;
    m_state = State::kRecordPaused;
    return true;
  }
  bool RecordResume(u64 now) {
    Advance(now);
    if (m_state != State::kRecordPaused) return Refuse();
    m_segmentStart = now;
    m_state = State::kTriggered;
    return true;
  }
  bool RecordStop(u64 now) {
    Advance(now);
    if (m_state != State::kTriggered && m_state != State::kRecordPaused) return Refuse();
    FinishRecording(now);
    return true;
  }
  bool SaveBuffer(u64 now, const Settings& s) {
    Advance(now);
    if (m_state != State::kComplete || m_loaded || m_held.numFrames == 0 || !Fits(m_held))
      return Refuse();
    m_settings.saveName = s.saveName;
    StartSaving(now);
    return true;
  }
  bool FormatDrive(u64 now) {
    Advance(now);
    if (m_state != State::kDisarmed && m_state != State::kComplete &&
        m_state != State::kMovieLoaded)
      return Refuse();
    m_state = State::kFormatting;
    m_deadline = now + m_config.formatMs;
    return true;
  }
  bool Play(u64 now, const Settings& s) {
    Advance(now);
    if (m_state == State::kPaused) return Resume(now);
    if (!Idle() || m_held.numFrames == 0) return Refuse();
    m_settings.playbackRate = s.playbackRate;
    m_settings.loop = s.loop;
    m_settings.startFrame = s.startFrame;
    m_settings.endFrame = s.endFrame;
    StartPlaying(now, First());
    return true;
  }
  bool Pause(u64 now) {
    Advance(now);
    if (m_state != State::kPlaying) return Refuse();
    m_state = State::kPaused;
    return true;
  }
  bool Resume(u64 now) {
    Advance(now);
    if (m_state != State::kPaused) return Refuse();
    StartPlaying(now, m_frame);
    return true;
  }
  bool Stop(u64 now) {
    Advance(now);
    if (m_state != State::kPlaying && m_state != State::kPaused) return Refuse();
    m_frame = First();
    m_state = IdleState();
    return true;
  }
  bool Skip(u64 now, int frames) {
    Advance(now);
    if (m_state != State::kPlaying && m_state != State::kPaused) return Refuse();
    const long long to = static_cast<long long>(m_frame) + frames;
    SetFrame(now, static_cast<u32>(std::clamp<long long>(to, First(), Last())));
    return true;
  }
  // A frame outside the played range is taken as its nearest end.
  bool SkipTo(u64 now, u32 frame) {
    Advance(now);
    if (m_state != State::kPlaying && m_state != State::kPaused && !Idle()) return Refuse();
    if (m_held.numFrames == 0) return Refuse();
    SetFrame(now, std::clamp(frame, First(), Last()));
    return true;
  }
  bool Load(u64 now, long long index) {
    Advance(now);
    if (index < 0 || index >= static_cast<long long>(m_movies.size())) return Refuse();
    if (m_state != State::kDisarmed && m_state != State::kComplete &&
        m_state != State::kMovieLoaded)
      return Refuse();
    m_loading = m_movies[static_cast<std::size_t>(index)];
    m_state = State::kLoading;
    m_deadline = now + m_config.loadMs;
    return true;
  }
  bool Unload(u64 now) {
    Advance(now);
    if (m_state != State::kMovieLoaded) return Refuse();
    m_loaded = false;
    m_held = Movie{};
    m_frame = 0;
    m_acquired = 0;
    m_state = State::kDisarmed;
    return true;
  }
  bool AutoDownloadStart(u64 now) {
    Advance(now);
    return m_state == State::kRequestAutoDownload || Refuse();
  }
  bool AutoDownloadDone(u64 now) {
    Advance(now);
    if (m_state != State::kRequestAutoDownload) return Refuse();
    AfterRecording(now, Step::kSave);
    return true;
  }
  // The description the camera writes for the info file of what it holds.
  bool Describe(u64 now, std::string* text) {
    Advance(now);
    if (m_held.numFrames == 0) return Refuse();
    const Time start = TimeOf(m_held.startUs);
    *text = "name=" + m_held.name + "\nframes=" + std::to_string(m_held.numFrames) +
            "\nwidth=" + std::to_string(m_held.width) +
            "\nheight=" + std::to_string(m_held.height) +
            "\nstartDay=" + std::to_string(start.day) + "\n";
    return true;
  }

 private:
  enum class Step { kDownload, kSave, kPlay, kRearm };

  static u32 Clamp32(u64 value) { return static_cast<u32>(std::min<u64>(value, 0xFFFFFFFFu)); }
  bool Refuse() const { return !m_config.strict; }
  bool Idle() const { return m_state == State::kComplete || m_state == State::kMovieLoaded; }
  State IdleState() const { return m_loaded ? State::kMovieLoaded : State::kComplete; }
  u32 First() const { return std::min(m_settings.startFrame, Last()); }
  u32 Last() const {
    const u32 last = m_held.numFrames ? m_held.numFrames - 1 : 0;
    return m_settings.endFrame && m_settings.endFrame < last ? m_settings.endFrame : last;
  }
  bool Fits(const Movie& movie) const { return movie.bytes <= DriveFree(); }
  static u64 Frames(u64 ms, double rate) {
    return static_cast<u64>(std::floor(static_cast<double>(ms) * rate / 1000.0 + 1e-9));
  }
  // Milliseconds until `frames` frames have passed at `rate` (rounded up).
  static u64 MsFor(u64 frames, double rate) {
    return rate > 0
               ? static_cast<u64>(std::ceil(static_cast<double>(frames) * 1000.0 / rate - 1e-9))
               : ~0ull / 2;
  }

  void StartArming(u64 now) {
    m_loaded = false;
    m_acquired = 0;
    m_frame = 0;
    m_state = State::kArming;
    m_deadline = now + m_config.armMs;
  }
  void Armed(u64 at) {
    if (m_settings.type == Type::kStartStop) {
      StartRecording(at);
      return;
    }
    m_state = State::kArmed;
    m_armedAt = at;
  }
  u32 Capacity() const {
    const Settings& s = m_settings;
    return s.mode == Mode::kToDisk ? MaxFramesDisk(s.width, s.height)
                                   : MaxFrames(s.width, s.height);
  }
  void StartRecording(u64 now) {
    const Settings& s = m_settings;
    m_kept = std::min(m_acquired, Capacity());
    u64 target = Capacity();
    if (s.type == Type::kNumFrames) target = std::max(s.numFrames, m_kept);
    if (s.type == Type::kDuration) target = m_kept + Frames(s.durationMs, s.frameRate);
    m_target = Clamp32(std::min<u64>(target, Capacity()));
    m_recordStart = now;
    m_segmentStart = now;
    m_recordedBefore = 0;
    m_state = State::kTriggered;
  }
  u32 RecordedAt(u64 t) const {
    const u64 ms = m_recordedBefore + (m_state == State::kTriggered ? t - m_segmentStart : 0);
    return Clamp32(std::min<u64>(m_kept + Frames(ms, m_settings.frameRate), m_target));
  }
  void FinishRecording(u64 at) {
    const Settings& s = m_settings;
    m_acquired = RecordedAt(at);
    Movie held;
    held.width = s.width;
    held.height = s.height;
    held.numFrames = m_acquired;
    held.bytes = kMovieHeaderBytes + u64{m_acquired} * FrameBytes(s.width, s.height);
    held.startUs = m_recordStart * 1000;
    held.endUs = held.startUs + MsFor(m_acquired - m_kept, s.frameRate) * 1000;
    m_held = held;
    m_saved = false;
    if (s.mode == Mode::kToDisk && m_acquired > 0) Store(s.saveName);
    AfterRecording(at, Step::kDownload);
  }
  void AfterRecording(u64 at, Step from) {
    const Settings& s = m_settings;
    if (from <= Step::kDownload && s.autoDownload) {
      m_state = State::kRequestAutoDownload;
    } else if (from <= Step::kSave && s.autoSave && !m_saved && m_held.numFrames && Fits(m_held)) {
      StartSaving(at);
    } else if (from <= Step::kPlay && s.autoPlay && m_held.numFrames) {
      m_state = State::kComplete;
      StartPlaying(at, First());
    } else if (s.autoRearm) {
      StartArming(at);
    } else {
      m_state = State::kComplete;
    }
  }
  void StartSaving(u64 now) {
    m_state = State::kSaving;
    const double seconds = static_cast<double>(m_held.bytes) / m_config.driveBytesPerSecond;
    m_deadline = now + static_cast<u64>(std::ceil(seconds * 1000.0));
  }
  void Store(const std::string& name) {
    Movie movie = m_held;
    movie.number = ++m_lastNumber;
    movie.name = name.empty() ? "Movie" + std::to_string(movie.number) : name;
    m_movies.push_back(movie);
    m_saved = true;
  }
  void StartPlaying(u64 now, u32 frame) {
    m_state = State::kPlaying;
    m_frame = frame;
    m_playFrom = frame;
    m_playStart = now;
  }
  void SetFrame(u64 now, u32 frame) {
    m_frame = frame;
    m_playFrom = frame;
    m_playStart = now;
  }

  // Moves the recorder through everything that happened up to `now`.
  void Advance(u64 now) {
    for (int guard = 0; guard < 64; ++guard) {
      switch (m_state) {
        case State::kArming:
          if (now < m_deadline) return;
          Armed(m_deadline);
          continue;
        case State::kArmed:
          m_acquired = Clamp32(std::min<u64>(
              m_settings.pretriggerFrames,
              std::min<u64>(Frames(now - m_armedAt, m_settings.frameRate), Capacity())));
          return;
        case State::kTriggered: {
          const u64 ms = MsFor(m_target - std::min(m_target, m_kept), m_settings.frameRate);
          const u64 end = m_segmentStart + (ms > m_recordedBefore ? ms - m_recordedBefore : 0);
          if (now < end) {
            m_acquired = RecordedAt(now);
            return;
          }
          FinishRecording(end);
          continue;
        }
        case State::kSaving:
          if (now < m_deadline) return;
          Store(m_settings.saveName);
          AfterRecording(m_deadline, Step::kPlay);
          continue;
        case State::kFormatting:
          if (now < m_deadline) return;
          m_movies.clear();
          if (m_loaded) {
            m_loaded = false;
            m_held = Movie{};
            m_acquired = 0;
          }
          m_state = m_held.numFrames ? State::kComplete : State::kDisarmed;
          continue;
        case State::kLoading:
          if (now < m_deadline) return;
          m_held = m_loading;
          m_loaded = true;
          m_acquired = m_held.numFrames;
          m_frame = 0;
          m_state = State::kMovieLoaded;
          continue;
        case State::kPlaying: {
          const u32 first = First(), last = Last();
          const u64 moved = Frames(now - m_playStart, m_settings.playbackRate);
          if (m_playFrom + moved <= last) {
            m_frame = static_cast<u32>(m_playFrom + moved);
            return;
          }
          if (m_settings.loop) {
            const u64 span = u64{last} - first + 1;
            m_frame = static_cast<u32>(first + (m_playFrom - first + moved) % span);
            return;
          }
          m_frame = last;
          m_state = IdleState();
          if (!m_loaded && m_settings.autoRearm)
            StartArming(m_playStart + MsFor(last - m_playFrom + 1, m_settings.playbackRate));
          continue;
        }
        default:
          return;
      }
    }
  }

  Config m_config;
  Settings m_settings;
  State m_state = State::kDisarmed;
  u64 m_deadline = 0;
  u64 m_armedAt = 0;
  // Recording: frames kept from before the trigger, the frames to end at, when it started, and
  // the recording time of the segments before the current one (pauses do not count).
  u32 m_kept = 0;
  u32 m_target = 0;
  u64 m_recordStart = 0;
  u64 m_segmentStart = 0;
  u64 m_recordedBefore = 0;
  u32 m_acquired = 0;
  // What the buffer (or the loaded movie) holds, and whether it is on the drive.
  Movie m_held;
  bool m_saved = false;
  bool m_loaded = false;
  Movie m_loading;
  // Playback: the frame shown, and the frame and time it was last set at.
  u32 m_frame = 0;
  u32 m_playFrom = 0;
  u64 m_playStart = 0;
  std::vector<Movie> m_movies;
  u32 m_lastNumber = 0;
};

}  // namespace sim::recorder
