// The solid-state recorder on the simulated camera (common/Recorder.h says how it behaves):
// behaviour "recorder" accepts a command that makes no sense in the recorder's state and does
// nothing; "recorder-strict" refuses it with 170 (access denied).
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Families.h"
#include "common/Recorder.h"

namespace sim::ptree {

namespace {

constexpr const char* kSection = R"(
# --- The solid-state recorder ----------------------------------------------------------------
behaviour recorder
.system.ssd.present                  bool    true                 ro
.system.ssd.state                    string  "Disarmed"           ro
.system.ssd.drivePresent             bool    true                 ro
.system.ssd.driveRecognized          bool    true                 ro
.system.ssd.arm                      bool    false
.system.ssd.disarm                   bool    false
.system.ssd.trigger                  bool    false
.system.ssd.saveBuffer               bool    false
.system.ssd.saveName                 string  ""
.system.ssd.formatDrive              bool    false
.system.ssd.maxNumFrames             u32     13107                ro
.system.ssd.maxNumFramesDisk         u32     1526190              ro
.system.ssd.numFrames                u32     1000                 limits=1,1000000
.system.ssd.numFramesAcquired        u32     0                    ro
.system.ssd.pretriggerFrames         u32     0                    limits=0,10000
.system.ssd.playbackWidth            u32     640                  limits=32,1920
.system.ssd.playbackRate             f32     30.0                 limits=1,1000
.system.ssd.playBuffer               bool    false
.system.ssd.pauseBuffer              bool    false
.system.ssd.resumeBuffer             bool    false
.system.ssd.stopBuffer               bool    false
.system.ssd.loopPlayback             bool    false
.system.ssd.playbackFrame            u32     0                    ro
.system.ssd.startFrame               u32     0
.system.ssd.endFrame                 u32     0
.system.ssd.skipForward              bool    false
.system.ssd.skipBackward             bool    false
.system.ssd.skipToFrame              u32     0
.system.ssd.autoSave                 bool    false
.system.ssd.autoPlay                 bool    false
.system.ssd.autoRearm                bool    false
.system.ssd.autoDownload             bool    false
.system.ssd.autoDownloadStart        bool    false
.system.ssd.autoDownloadDone         bool    false
.system.ssd.loadMovieIndex           i32     0
.system.ssd.loadMovie                bool    false
.system.ssd.unload                   bool    false
.system.ssd.movieLoaded              bool    false                ro
.system.ssd.movies.count             u32     0                    ro
.system.ssd.movies.index             u32     0
.system.ssd.movies.read              bool    false
.system.ssd.movies.readOk            bool    false                ro
.system.ssd.movies.name              string  ""                   ro
.system.ssd.movies.number            u32     0                    ro
.system.ssd.movies.width             u16     0                    ro
.system.ssd.movies.height            u16     0                    ro
.system.ssd.movies.numFrames         u32     0                    ro
.system.ssd.movies.startTime.day     u16     0                    ro
.system.ssd.movies.startTime.hour    u8      0                    ro
.system.ssd.movies.startTime.min     u8      0                    ro
.system.ssd.movies.startTime.sec     u8      0                    ro
.system.ssd.movies.startTime.msec    u16     0                    ro
.system.ssd.movies.startTime.usec    u16     0                    ro
.system.ssd.movies.endTime.day       u16     0                    ro
.system.ssd.movies.endTime.hour      u8      0                    ro
.system.ssd.movies.endTime.min       u8      0                    ro
.system.ssd.movies.endTime.sec       u8      0                    ro
.system.ssd.movies.endTime.msec      u16     0                    ro
.system.ssd.movies.endTime.usec      u16     0                    ro
.system.ssd.driveSpace.read          bool    false
.system.ssd.driveSpace.totalLow      u32     0                    ro
.system.ssd.driveSpace.totalHigh     u32     0                    ro
.system.ssd.driveSpace.usedLow       u32     0                    ro
.system.ssd.driveSpace.usedHigh      u32     0                    ro
.system.ssd.driveSpace.freeLow       u32     0                    ro
.system.ssd.driveSpace.freeHigh      u32     0                    ro
.system.ssd.recordMode               string  "ToMemory"
.system.ssd.recordType               string  "NumFrames"
.system.ssd.recordDuration           u32     1000                 limits=1,3600000
.system.ssd.recordGated              bool    false
.system.ssd.recordPause              bool    false
.system.ssd.recordStop               bool    false
.system.ssd.recordResume             bool    false
.system.ssd.saveInfoFilename         string  ""
.system.ssd.saveInfoFile             bool    false
)";

using namespace paramtree;
namespace rec = sim::recorder;

const std::string kSsd = ".system.ssd.";

template <std::size_t N>
u8 CodeOf(const std::string& text, const char* const (&names)[N]) {
  for (std::size_t i = 0; i < N; ++i) {
    if (text == names[i]) return static_cast<u8>(i);
  }
  return 0;
}

// The recorder behind the camera's paths. Readings are written to their paths when they change,
// so a value a test puts there stays until the recorder moves on.
class TreeRecorder {
 public:
  TreeRecorder(Camera& camera, bool strict) : m_recorder(rec::Config{.strict = strict}) {
    Publish(camera);
  }

  rec::Recorder& recorder() { return m_recorder; }

  // What the camera is set to now.
  rec::Settings Settings(const Camera& c) const {
    rec::Settings s;
    s.numFrames = static_cast<u32>(c.Integer(kSsd + "numFrames", s.numFrames));
    s.pretriggerFrames = static_cast<u32>(c.Integer(kSsd + "pretriggerFrames"));
    s.mode = static_cast<rec::Mode>(CodeOf(c.Text(kSsd + "recordMode"), rec::kModeNames));
    s.type = static_cast<rec::Type>(CodeOf(c.Text(kSsd + "recordType"), rec::kTypeNames));
    s.durationMs = static_cast<u32>(c.Integer(kSsd + "recordDuration", s.durationMs));
    s.autoSave = c.Integer(kSsd + "autoSave") != 0;
    s.autoPlay = c.Integer(kSsd + "autoPlay") != 0;
    s.autoRearm = c.Integer(kSsd + "autoRearm") != 0;
    s.autoDownload = c.Integer(kSsd + "autoDownload") != 0;
    const std::string preset =
        ".system.settings.p" + std::to_string(c.Integer(".system.settings.activePreset")) + ".";
    s.width = static_cast<u32>(c.Integer(preset + "window.width", s.width));
    s.height = static_cast<u32>(c.Integer(preset + "window.height", s.height));
    const i64 clocks = c.Integer(preset + "frameWidth");
    if (clocks > 0) {
      s.frameRate = static_cast<double>(c.Integer(".system.info.fpa.clockFrequency", 25000000)) /
                    static_cast<double>(clocks);
    }
    if (std::optional<Value> rate = c.Get(kSsd + "playbackRate")) s.playbackRate = rate->real;
    s.loop = c.Integer(kSsd + "loopPlayback") != 0;
    s.startFrame = static_cast<u32>(c.Integer(kSsd + "startFrame"));
    s.endFrame = static_cast<u32>(c.Integer(kSsd + "endFrame"));
    s.saveName = c.Text(kSsd + "saveName");
    return s;
  }

  // Brings the readings up to the camera's time.
  void Publish(Camera& c) {
    const u64 now = c.NowMs();
    const rec::State state = m_recorder.StateAt(now);
    Show(c, "state", -1, rec::kStateNames[static_cast<int>(state)]);
    Show(c, "numFramesAcquired", m_recorder.AcquiredAt(now));
    Show(c, "playbackFrame", m_recorder.PlaybackFrameAt(now));
    Show(c, "movieLoaded", m_recorder.MovieLoaded());
    Show(c, "movies.count", static_cast<i64>(m_recorder.Movies().size()));
    const rec::Settings s = Settings(c);
    Show(c, "maxNumFrames", m_recorder.MaxFrames(s.width, s.height));
    Show(c, "maxNumFramesDisk", m_recorder.MaxFramesDisk(s.width, s.height));
  }

 private:
  void Show(Camera& c, const std::string& name, i64 value, const char* text = nullptr) {
    const std::string shown = text ? text : std::to_string(value);
    auto [at, added] = m_shown.try_emplace(name, shown);
    if (!added && at->second == shown) return;
    at->second = shown;
    const std::string path = kSsd + name;
    if (text) {
      c.Update(path, Value::Str(text));
    } else if (std::optional<Value> old = c.Get(path)) {
      c.Update(path, Value::OfInteger(old->type, value));
    }
  }

  rec::Recorder m_recorder;
  std::map<std::string, std::string> m_shown;
};

void Put(Camera& c, const std::string& name, i64 value) {
  if (std::optional<Value> old = c.Get(kSsd + name))
    c.Update(kSsd + name, Value::OfInteger(old->type, value));
}

// The query of one movie: its fields, or readOk false for an index past the last.
u32 QueryMovie(TreeRecorder& r, Camera& c) {
  const auto& movies = r.recorder().Movies();
  const u64 index = static_cast<u64>(c.Integer(kSsd + "movies.index"));
  const bool found = index < movies.size();
  c.Update(kSsd + "movies.readOk", Value::Bool(found));
  if (!found) return kOk;
  const rec::Movie& m = movies[index];
  c.Update(kSsd + "movies.name", Value::Str(m.name));
  Put(c, "movies.number", m.number);
  Put(c, "movies.width", m.width);
  Put(c, "movies.height", m.height);
  Put(c, "movies.numFrames", m.numFrames);
  for (const auto& [which, us] : {std::pair{"startTime.", m.startUs}, {"endTime.", m.endUs}}) {
    const rec::Time t = rec::TimeOf(us);
    const std::string base = std::string("movies.") + which;
    Put(c, base + "day", t.day);
    Put(c, base + "hour", t.hour);
    Put(c, base + "min", t.minute);
    Put(c, base + "sec", t.second);
    Put(c, base + "msec", t.millisecond);
    Put(c, base + "usec", t.microsecond);
  }
  return kOk;
}

// The three sizes, each in two 32-bit halves.
u32 LatchDriveSpace(TreeRecorder& r, Camera& c) {
  const rec::Recorder& d = r.recorder();
  for (const auto& [name, bytes] :
       {std::pair{"total", d.DriveTotal()}, {"used", d.DriveUsed()}, {"free", d.DriveFree()}}) {
    Put(c, std::string("driveSpace.") + name + "Low", static_cast<i64>(bytes & 0xFFFFFFFFu));
    Put(c, std::string("driveSpace.") + name + "High", static_cast<i64>(bytes >> 32));
  }
  return kOk;
}

u32 SaveInfoFile(TreeRecorder& r, Camera& c) {
  std::string text;
  if (!r.recorder().Describe(c.NowMs(), &text)) return kAccessDenied;
  if (text.empty()) return kOk;  // nothing held, and the camera lets that pass
  return c.Files().Put(c.Text(kSsd + "saveInfoFilename"),
                       std::vector<u8>(text.begin(), text.end()));
}

void Install(Camera& camera, bool strict) {
  auto r = std::make_shared<TreeRecorder>(camera, strict);
  using Command = bool (*)(TreeRecorder&, Camera&);
  static const std::pair<const char*, Command> kCommands[] = {
      {"arm",
       [](TreeRecorder& r, Camera& c) { return r.recorder().Arm(c.NowMs(), r.Settings(c)); }},
      {"disarm", [](TreeRecorder& r, Camera& c) { return r.recorder().Disarm(c.NowMs()); }},
      {"trigger", [](TreeRecorder& r, Camera& c) { return r.recorder().Trigger(c.NowMs()); }},
      {"recordPause",
       [](TreeRecorder& r, Camera& c) { return r.recorder().RecordPause(c.NowMs()); }},
      {"recordResume",
       [](TreeRecorder& r, Camera& c) { return r.recorder().RecordResume(c.NowMs()); }},
      {"recordStop", [](TreeRecorder& r, Camera& c) { return r.recorder().RecordStop(c.NowMs()); }},
      {"saveBuffer", [](TreeRecorder& r,
                        Camera& c) { return r.recorder().SaveBuffer(c.NowMs(), r.Settings(c)); }},
      {"formatDrive",
       [](TreeRecorder& r, Camera& c) { return r.recorder().FormatDrive(c.NowMs()); }},
      {"playBuffer",
       [](TreeRecorder& r, Camera& c) { return r.recorder().Play(c.NowMs(), r.Settings(c)); }},
      {"pauseBuffer", [](TreeRecorder& r, Camera& c) { return r.recorder().Pause(c.NowMs()); }},
      {"resumeBuffer", [](TreeRecorder& r, Camera& c) { return r.recorder().Resume(c.NowMs()); }},
      {"stopBuffer", [](TreeRecorder& r, Camera& c) { return r.recorder().Stop(c.NowMs()); }},
      {"skipForward", [](TreeRecorder& r, Camera& c) { return r.recorder().Skip(c.NowMs(), 1); }},
      {"skipBackward", [](TreeRecorder& r, Camera& c) { return r.recorder().Skip(c.NowMs(), -1); }},
      {"loadMovie",
       [](TreeRecorder& r, Camera& c) {
         return r.recorder().Load(c.NowMs(), c.Integer(kSsd + "loadMovieIndex"));
       }},
      {"unload", [](TreeRecorder& r, Camera& c) { return r.recorder().Unload(c.NowMs()); }},
      {"autoDownloadStart",
       [](TreeRecorder& r, Camera& c) { return r.recorder().AutoDownloadStart(c.NowMs()); }},
      {"autoDownloadDone",
       [](TreeRecorder& r, Camera& c) { return r.recorder().AutoDownloadDone(c.NowMs()); }},
  };
  for (const auto& [name, entry] : kCommands) {
    const Command command =
        entry;  // (a structured binding cannot be captured before C++20 in clang 14)
    camera.OnWrite(kSsd + name,
                   [r, command](Camera& c, const std::string& path, const Value& value) -> u32 {
                     if (!value.integer) return kOk;
                     c.Update(path, Value::Bool(false));
                     const bool taken = command(*r, c);
                     r->Publish(c);
                     return taken ? kOk : kAccessDenied;
                   });
  }
  camera.OnWrite(kSsd + "skipToFrame", [r](Camera& c, const std::string&, const Value& value) {
    const bool taken = r->recorder().SkipTo(c.NowMs(), static_cast<u32>(value.integer));
    r->Publish(c);
    return taken ? kOk : kAccessDenied;
  });
  // True runs `act` on the recorder as it is now, and the path reads back false.
  auto onTrue = [r](u32 (*act)(TreeRecorder&, Camera&)) {
    return [r, act](Camera& c, const std::string& written, const Value& value) -> u32 {
      if (!value.integer) return kOk;
      c.Update(written, Value::Bool(false));
      r->Publish(c);  // what the recorder finished by now counts
      return act(*r, c);
    };
  };
  camera.OnWrite(kSsd + "movies.read", onTrue(&QueryMovie));
  camera.OnWrite(kSsd + "driveSpace.read", onTrue(&LatchDriveSpace));
  camera.OnWrite(kSsd + "saveInfoFile", onTrue(&SaveInfoFile));
  for (const char* reading : {"state", "numFramesAcquired", "playbackFrame", "movieLoaded",
                              "movies.count", "maxNumFrames", "maxNumFramesDisk"}) {
    camera.OnRead(kSsd + reading, [r](Camera& c, const std::string&) -> u32 {
      r->Publish(c);
      return kOk;
    });
  }
}

constexpr Behaviour kBehaviours[] = {
    {"recorder", [](Camera& camera) { Install(camera, false); }},
    {"recorder-strict", [](Camera& camera) { Install(camera, true); }},
};

}  // namespace

extern const FamilyPart kRecorderPart{"recorder", kSection, kBehaviours};

}  // namespace sim::ptree
