// The solid-state recorder on the simulated device (common/Recorder.h says how it behaves):
// "behaviour recorder" accepts a command that makes no sense in the recorder's state and does
// nothing; "behaviour recorder strict" refuses it with an access exception.
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "common/Recorder.h"
#include "genicam/Families.h"

namespace sim::genicam {

namespace {

const char* const kSection = R"(
# --- The solid-state recorder ----------------------------------------------------------------
bool     SSDPresent                  true        ro
enum     SSDState                    Disarmed    ro entries=Disarmed:0,Armed:1,Triggered:2,Complete:3,Playing:4,Saving:5,Paused:6,Formatting:7,Loading:8,RecordPaused:9,MovieLoaded:10,Arming:11,RequestAutoDownload:12
bool     SSDDrivePresent             true        ro
bool     SSDDriveRecognized          true        ro
command  SSDArm
command  SSDDisarm
command  SSDTrigger
command  SSDSaveBuffer
string   SSDSaveName                 ""
command  SSDFormatDrive
int      SSDMaxNumFrames             13107       ro min=0
int      SSDMaxNumFramesDisk         1526190     ro min=0
int      SSDNumFrames                1000        min=1 max=1000000
int      SSDNumFramesAcquired        0           ro min=0
int      SSDPretriggerFrames         0           min=0 max=10000
int      SSDPlaybackWidth            640         min=32 max=1920
float    SSDPlaybackRate             30.0        min=1 max=1000
command  SSDPlayBuffer
command  SSDPauseBuffer
command  SSDResumeBuffer
command  SSDStopBuffer
bool     SSDLoopPlayback             false
int      SSDPlaybackFrame            0           ro min=0
int      SSDStartFrame               0           min=0 max=4294967295
int      SSDEndFrame                 0           min=0 max=4294967295
command  SSDSkipForward
command  SSDSkipBackward
int      SSDSkipToFrame              0           min=0 max=4294967295
bool     SSDAutoSave                 false
bool     SSDAutoPlay                 false
bool     SSDAutoRearm                false
bool     SSDAutoDownload             false
command  SSDAutoDownloadStart
command  SSDAutoDownloadDone
int      SSDLoadMovieIndex           0           min=-2147483648 max=2147483647
command  SSDLoadMovie
command  SSDUnload
bool     SSDMovieLoaded              false       ro
int      SSDMovieQueryIndexMax       -1          ro min=-1
int      SSDMovieQueryIndex          0           min=0 max=4294967295
command  SSDMovieQueryExecute
bool     SSDMovieQueryStatus         false       ro
string   SSDMovieQueryName           ""          ro
int      SSDMovieQueryNumber         0           ro
int      SSDMovieQueryWidth          0           ro
int      SSDMovieQueryHeight         0           ro
int      SSDMovieQueryNumFrames      0           ro
int      SSDMovieQueryStartDay       0           ro
int      SSDMovieQueryStartHour      0           ro
int      SSDMovieQueryStartMinute    0           ro
int      SSDMovieQueryStartSecond    0           ro
int      SSDMovieQueryStartMillisecond 0         ro
int      SSDMovieQueryStartMicrosecond 0         ro
int      SSDMovieQueryEndDay         0           ro
int      SSDMovieQueryEndHour        0           ro
int      SSDMovieQueryEndMinute      0           ro
int      SSDMovieQueryEndSecond      0           ro
int      SSDMovieQueryEndMillisecond 0           ro
int      SSDMovieQueryEndMicrosecond 0           ro
int      SSDDriveSpaceTotal          1000204886016 ro
int      SSDDriveSpaceUsed           0           ro
int      SSDDriveSpaceFree           1000204886016 ro
enum     SSDRecordMode               ToMemory    entries=ToMemory:0,ToDisk:1
enum     SSDRecordType               NumFrames   entries=NumFrames:0,Duration:1,StartStop:2
int      SSDRecordDuration           1000        min=1 max=3600000
bool     SSDRecordGated              false
command  SSDRecordPause
command  SSDRecordStop
command  SSDRecordResume
string   SSDSaveInfoFilename         ""
command  SSDSaveInfoFile
behaviour recorder
)";

namespace rec = sim::recorder;

// The device's values, for a feature a test may have taken away.
i64 IntOr(const Device& d, const std::string& name, i64 fallback) {
  return d.Has(name) ? d.GetInt(name) : fallback;
}
bool BoolOr(const Device& d, const std::string& name) { return d.Has(name) && d.GetBool(name); }
double FloatOr(const Device& d, const std::string& name, double fallback) {
  return d.Has(name) ? d.GetFloat(name) : fallback;
}
void Show(Device& d, const std::string& name, i64 value) {
  if (d.Has(name)) d.SetInt(name, value);
}

// What the device is set to now.
rec::Settings SettingsOf(const Device& d) {
  rec::Settings s;
  s.numFrames = static_cast<u32>(IntOr(d, "SSDNumFrames", s.numFrames));
  s.pretriggerFrames = static_cast<u32>(IntOr(d, "SSDPretriggerFrames", 0));
  s.mode = static_cast<rec::Mode>(IntOr(d, "SSDRecordMode", 0));
  s.type = static_cast<rec::Type>(IntOr(d, "SSDRecordType", 0));
  s.durationMs = static_cast<u32>(IntOr(d, "SSDRecordDuration", s.durationMs));
  s.autoSave = BoolOr(d, "SSDAutoSave");
  s.autoPlay = BoolOr(d, "SSDAutoPlay");
  s.autoRearm = BoolOr(d, "SSDAutoRearm");
  s.autoDownload = BoolOr(d, "SSDAutoDownload");
  s.width = static_cast<u32>(IntOr(d, "Width", s.width));
  s.height = static_cast<u32>(IntOr(d, "Height", s.height + 1) - 1);  // rows plus one
  s.frameRate =
      FloatOr(d, "PS" + std::to_string(IntOr(d, "ActivePreset", 0)) + "FrameRate", s.frameRate);
  s.playbackRate = FloatOr(d, "SSDPlaybackRate", s.playbackRate);
  s.loop = BoolOr(d, "SSDLoopPlayback");
  s.startFrame = static_cast<u32>(IntOr(d, "SSDStartFrame", 0));
  s.endFrame = static_cast<u32>(IntOr(d, "SSDEndFrame", 0));
  if (d.Has("SSDSaveName")) s.saveName = d.GetString("SSDSaveName");
  return s;
}

// Brings the readings up to the device's time.
void Publish(rec::Recorder& r, Device& d) {
  const u64 now = d.NowMs();
  Show(d, "SSDState", static_cast<i64>(r.StateAt(now)));
  Show(d, "SSDNumFramesAcquired", r.AcquiredAt(now));
  Show(d, "SSDPlaybackFrame", r.PlaybackFrameAt(now));
  if (d.Has("SSDMovieLoaded")) d.SetBool("SSDMovieLoaded", r.MovieLoaded());
  Show(d, "SSDMovieQueryIndexMax", static_cast<i64>(r.Movies().size()) - 1);
  const rec::Settings s = SettingsOf(d);
  Show(d, "SSDMaxNumFrames", r.MaxFrames(s.width, s.height));
  Show(d, "SSDMaxNumFramesDisk", r.MaxFramesDisk(s.width, s.height));
  Show(d, "SSDDriveSpaceTotal", static_cast<i64>(r.DriveTotal()));
  Show(d, "SSDDriveSpaceUsed", static_cast<i64>(r.DriveUsed()));
  Show(d, "SSDDriveSpaceFree", static_cast<i64>(r.DriveFree()));
}

void QueryMovie(const rec::Recorder& r, Device& d) {
  const auto& movies = r.Movies();
  const u64 index = static_cast<u64>(d.GetInt("SSDMovieQueryIndex"));
  const bool found = index < movies.size();
  d.SetBool("SSDMovieQueryStatus", found);
  if (!found) return;
  const rec::Movie& m = movies[index];
  d.SetString("SSDMovieQueryName", m.name);
  d.SetInt("SSDMovieQueryNumber", m.number);
  d.SetInt("SSDMovieQueryWidth", m.width);
  d.SetInt("SSDMovieQueryHeight", m.height);
  d.SetInt("SSDMovieQueryNumFrames", m.numFrames);
  for (const auto& [which, us] : {std::pair{"Start", m.startUs}, {"End", m.endUs}}) {
    const rec::Time t = rec::TimeOf(us);
    const std::string base = std::string("SSDMovieQuery") + which;
    d.SetInt(base + "Day", t.day);
    d.SetInt(base + "Hour", t.hour);
    d.SetInt(base + "Minute", t.minute);
    d.SetInt(base + "Second", t.second);
    d.SetInt(base + "Millisecond", t.millisecond);
    d.SetInt(base + "Microsecond", t.microsecond);
  }
}

void Refused(const std::string& command) {
  throw zel::cam::gic::CAccessException(
      ("GenICam: the recorder cannot take " + command + " now").c_str());
}

void Install(Device& device, bool strict) {
  auto r = std::make_shared<rec::Recorder>(rec::Config{.strict = strict});
  using Command = bool (*)(rec::Recorder&, Device&);
  static const std::pair<const char*, Command> kCommands[] = {
      {"SSDArm", [](rec::Recorder& r, Device& d) { return r.Arm(d.NowMs(), SettingsOf(d)); }},
      {"SSDDisarm", [](rec::Recorder& r, Device& d) { return r.Disarm(d.NowMs()); }},
      {"SSDTrigger", [](rec::Recorder& r, Device& d) { return r.Trigger(d.NowMs()); }},
      {"SSDRecordPause", [](rec::Recorder& r, Device& d) { return r.RecordPause(d.NowMs()); }},
      {"SSDRecordResume", [](rec::Recorder& r, Device& d) { return r.RecordResume(d.NowMs()); }},
      {"SSDRecordStop", [](rec::Recorder& r, Device& d) { return r.RecordStop(d.NowMs()); }},
      {"SSDSaveBuffer",
       [](rec::Recorder& r, Device& d) { return r.SaveBuffer(d.NowMs(), SettingsOf(d)); }},
      {"SSDFormatDrive", [](rec::Recorder& r, Device& d) { return r.FormatDrive(d.NowMs()); }},
      {"SSDPlayBuffer",
       [](rec::Recorder& r, Device& d) { return r.Play(d.NowMs(), SettingsOf(d)); }},
      {"SSDPauseBuffer", [](rec::Recorder& r, Device& d) { return r.Pause(d.NowMs()); }},
      {"SSDResumeBuffer", [](rec::Recorder& r, Device& d) { return r.Resume(d.NowMs()); }},
      {"SSDStopBuffer", [](rec::Recorder& r, Device& d) { return r.Stop(d.NowMs()); }},
      {"SSDSkipForward", [](rec::Recorder& r, Device& d) { return r.Skip(d.NowMs(), 1); }},
      {"SSDSkipBackward", [](rec::Recorder& r, Device& d) { return r.Skip(d.NowMs(), -1); }},
      {"SSDLoadMovie",
       [](rec::Recorder& r, Device& d) {
         return r.Load(d.NowMs(), IntOr(d, "SSDLoadMovieIndex", -1));
       }},
      {"SSDUnload", [](rec::Recorder& r, Device& d) { return r.Unload(d.NowMs()); }},
      {"SSDAutoDownloadStart",
       [](rec::Recorder& r, Device& d) { return r.AutoDownloadStart(d.NowMs()); }},
      {"SSDAutoDownloadDone",
       [](rec::Recorder& r, Device& d) { return r.AutoDownloadDone(d.NowMs()); }},
      {"SSDSaveInfoFile",
       [](rec::Recorder& r, Device& d) {
         std::string text;
         if (!r.Describe(d.NowMs(), &text)) return false;
         if (!text.empty()) {
           d.Files().Write(d.Has("SSDSaveInfoFilename") ? d.GetString("SSDSaveInfoFilename") : "",
                           std::vector<u8>(text.begin(), text.end()));
         }
         return true;
       }},
  };
  for (const auto& [name, entry] : kCommands) {
    const Command command =
        entry;  // (a structured binding cannot be captured before C++20 in clang 14)
    device.OnExecute(name, [r, command](Device& d, const std::string& feature) {
      const bool taken = command(*r, d);
      Publish(*r, d);
      if (!taken) Refused(feature);
    });
  }
  device.OnWrite("SSDSkipToFrame", [r](Device& d, const std::string& feature) {
    const bool taken = r->SkipTo(d.NowMs(), static_cast<u32>(d.GetInt(feature)));
    Publish(*r, d);
    if (!taken) Refused(feature);
  });
  device.OnExecute("SSDMovieQueryExecute", [r](Device& d, const std::string&) {
    Publish(*r, d);  // what the recorder finished by now counts
    QueryMovie(*r, d);
  });
  for (const char* reading :
       {"SSDState", "SSDNumFramesAcquired", "SSDPlaybackFrame", "SSDMovieLoaded",
        "SSDMovieQueryIndexMax", "SSDMaxNumFrames", "SSDMaxNumFramesDisk", "SSDDriveSpaceTotal",
        "SSDDriveSpaceUsed", "SSDDriveSpaceFree"}) {
    device.OnRead(reading, [r](Device& d, const std::string&) { Publish(*r, d); });
  }
}

bool InstallBehaviour(Device& device, const std::vector<std::string>& args) {
  if (args[0] != "recorder") return false;
  const bool strict = args.size() == 2 && args[1] == "strict";
  if (args.size() > 2 || (args.size() == 2 && !strict))
    throw std::runtime_error("recorder takes nothing or \"strict\"");
  for (const char* name : {"SSDState", "SSDNumFrames", "SSDMovieQueryIndexMax", "SSDRecordMode",
                           "SSDRecordType", "SSDPlaybackRate", "SSDSaveName"}) {
    if (!device.Has(name)) throw std::runtime_error(std::string("recorder needs ") + name);
  }
  Install(device, strict);
  return true;
}

}  // namespace

extern const FamilyPart kRecorderPart{"recorder", kSection, &InstallBehaviour};

}  // namespace sim::genicam
