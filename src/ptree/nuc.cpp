// Non-uniformity correction control and bad pixels over the property tree: the operations that
// are more than one path (families/nuc.def holds the plain ones).
#include <strings.h>

#include <cstdio>
#include <cstring>
#include <tuple>
#include <utility>

#include "common/nuc.h"
#include "ptree/rows.h"

namespace {

constexpr const char* kNuc = ".system.settings.nuc.";

// One value of a setting of several: its path and where it goes (or what is written).
template <typename T>
using At = std::pair<const char*, T>;

// Reads the values in order; the first failure is returned and no output is written, otherwise
// every output receives its value.
template <typename... T>
u32 ReadAll(void* tree, At<T*>... items) {
  std::tuple<T...> values{};
  u32 result = rc::kOk;
  std::apply(
      [&](T&... value) {
        (void)(((result = resRead(tree, items.first, &value)) == rc::kOk) && ...);
      },
      values);
  if (result != rc::kOk) return result;
  std::apply([&](T&... value) { ((*items.second = value), ...); }, values);
  return rc::kOk;
}

// Writes the values in order and stops at the first failure, whose code is returned; the values
// written before it stay written.
template <typename... T>
u32 WriteAll(void* tree, At<T>... items) {
  u32 result = rc::kOk;
  (void)(((result = resWrite(tree, items.first, items.second)) == rc::kOk) && ...);
  return result;
}

// The path of a per-preset correction value, e.g. ".system.settings.nuc.p2.revert".
const char* NucPresetPath(char (&path)[kPathSize], u8 preset, const char* field) {
  char form[kPathSize];
  std::snprintf(form, sizeof form, ".system.settings.nuc.pn.%s", field);
  return _tqvResourceForPreset(path, sizeof path, form, preset);
}

constexpr rows::Tree kDigitalOutput = TREE(".system.settings.nuc.gigENUCed", CACHED);

}  // namespace

// --- Output enables ------------------------------------------------------------------------------

u32 CTQVSDKPTree::GetDigitalOutputNUCEnabled(bool* value) {
  return RowGet(kDigitalOutput, kDigitalOutput.path, m_cache.nuc.digitalOutputNUCEnabled, value);
}

// Both digital outputs follow the setting; the GigE one is what the getter reads back.
u32 CTQVSDKPTree::SetDigitalOutputNUCEnabled(bool value) {
  u32 result =
      RowSet(kDigitalOutput, kDigitalOutput.path, m_cache.nuc.digitalOutputNUCEnabled, value);
  if (result != rc::kOk) return result;
  return resWrite(m_tree, ".system.settings.nuc.cameraLinkNUCed", value);
}

// --- Procedure commands --------------------------------------------------------------------------

// Older cameras keep every correction they compute; they have nothing to accept.
u32 CTQVSDKPTree::AcceptNUC() {
  constexpr const char* kAccept = ".system.settings.nuc.accept";
  bool exists = false;
  u32 result = PathExists(kAccept, &exists);
  if (result != rc::kOk || !exists) return result;
  return resWrite(m_tree, kAccept, true);
}

// Reverts the presets the correction covered, in preset order.
u32 CTQVSDKPTree::DiscardNUC() {
  bool enabled[4] = {};
  u32 result = GetNUCPresets(&enabled[0], &enabled[1], &enabled[2], &enabled[3]);
  for (u8 preset = 0; result == rc::kOk && preset < 4; ++preset) {
    char path[kPathSize];
    if (enabled[preset]) result = resWrite(m_tree, NucPresetPath(path, preset, "revert"), true);
  }
  return result;
}

// --- Status and results --------------------------------------------------------------------------

namespace {

// A code and its text; the code is given out before the text is read.
u32 CodeAndText(void* tree, const char* codePath, const char* textPath, u16* code, char* buffer,
                i32 size) {
  u16 value = 0;
  u32 result = resRead(tree, codePath, &value);
  if (result != rc::kOk) return result;
  *code = value;
  return _tqvGetString(tree, textPath, buffer, size);
}

}  // namespace

u32 CTQVSDKPTree::GetNUCStatus(u16* code, char* buffer, i32 size) {
  return CodeAndText(m_tree, ".system.settings.nuc.statusCode", ".system.settings.nuc.statusText",
                     code, buffer, size);
}

u32 CTQVSDKPTree::GetNUCResult(u16* code, char* buffer, i32 size) {
  return CodeAndText(m_tree, ".system.settings.nuc.resultCode", ".system.settings.nuc.resultText",
                     code, buffer, size);
}

// Cameras that do not count factory and new bad pixels apart count the user's instead: those are
// the factory ones, and the rest are new.
u32 CTQVSDKPTree::GetNUCResults(u8 preset, u32* total, u32* factory, u32* newPixels, u32* twinkling,
                                u32* aboveGainMax, u32* belowGainMin, u32* aboveADMaxSrc1,
                                u32* belowADMinSrc1, u32* aboveADMaxSrc2, u32* belowADMinSrc2) {
  if (preset > 3) return rc::kInvalidArgument;
  char paths[10][kPathSize];
  static constexpr const char* kCounts[10] = {
      "badPixels.total",          "badPixels.twinklers",
      "badPixels.aboveGainMax",   "badPixels.belowGainMin",
      "badPixels.aboveADMaxSrc1", "badPixels.belowADMinSrc1",
      "badPixels.aboveADMaxSrc2", "badPixels.belowADMinSrc2",
      "badPixels.factory",        "badPixels.new"};
  for (int i = 0; i < 10; ++i)
    NucPresetPath(paths[i], preset, kCounts[i]);
  u32 counts[10] = {};
  for (int i = 0; i < 8; ++i) {
    if (u32 result = resRead(m_tree, paths[i], &counts[i])) return result;
  }
  u32 result = resRead(m_tree, paths[8], &counts[8]);
  if (result == rc::kOk) result = resRead(m_tree, paths[9], &counts[9]);
  if (result != rc::kOk) {
    char user[kPathSize];
    counts[8] = 0;
    resRead(m_tree, NucPresetPath(user, preset, "badPixels.user"), &counts[8]);
    counts[9] = counts[0] - counts[8];
  }
  *total = counts[0];
  *twinkling = counts[1];
  *aboveGainMax = counts[2];
  *belowGainMin = counts[3];
  *aboveADMaxSrc1 = counts[4];
  *belowADMinSrc1 = counts[5];
  *aboveADMaxSrc2 = counts[6];
  *belowADMinSrc2 = counts[7];
  *factory = counts[8];
  *newPixels = counts[9];
  return rc::kOk;
}

// --- Procedure settings --------------------------------------------------------------------------

u32 CTQVSDKPTree::GetNUCSetup(float* gainMin, float* gainMax, u16* adMin, u16* adMax,
                              bool* detectBadPixels) {
  return ReadAll(m_tree, At<float*>{".system.settings.nuc.gainMin", gainMin},
                 At<float*>{".system.settings.nuc.gainMax", gainMax},
                 At<u16*>{".system.settings.nuc.adMin", adMin},
                 At<u16*>{".system.settings.nuc.adMax", adMax},
                 At<bool*>{".system.settings.nuc.detectBadPixels", detectBadPixels});
}

u32 CTQVSDKPTree::SetNUCSetup(float gainMin, float gainMax, u16 adMin, u16 adMax,
                              bool detectBadPixels) {
  return WriteAll(m_tree, At<float>{".system.settings.nuc.gainMin", gainMin},
                  At<float>{".system.settings.nuc.gainMax", gainMax},
                  At<u16>{".system.settings.nuc.adMin", adMin},
                  At<u16>{".system.settings.nuc.adMax", adMax},
                  At<bool>{".system.settings.nuc.detectBadPixels", detectBadPixels});
}

u32 CTQVSDKPTree::GetTwinklerSetup(bool* detect, u32* framesToCollect, u16* delta) {
  return ReadAll(m_tree, At<bool*>{".system.settings.nuc.detectTwinklers", detect},
                 At<u32*>{".system.settings.nuc.twinklerFramesToCollect", framesToCollect},
                 At<u16*>{".system.settings.nuc.twinklerDelta", delta});
}

u32 CTQVSDKPTree::SetTwinklerSetup(bool detect, u32 framesToCollect, u16 delta) {
  return WriteAll(m_tree, At<bool>{".system.settings.nuc.detectTwinklers", detect},
                  At<u32>{".system.settings.nuc.twinklerFramesToCollect", framesToCollect},
                  At<u16>{".system.settings.nuc.twinklerDelta", delta});
}

u32 CTQVSDKPTree::GetNUCFlagSetpointDeltas(float* low, float* high) {
  return ReadAll(m_tree, At<float*>{".system.settings.nuc.flagSetpointDeltaLow", low},
                 At<float*>{".system.settings.nuc.flagSetpointDeltaHigh", high});
}

u32 CTQVSDKPTree::SetNUCFlagSetpointDeltas(float low, float high) {
  return WriteAll(m_tree, At<float>{".system.settings.nuc.flagSetpointDeltaLow", low},
                  At<float>{".system.settings.nuc.flagSetpointDeltaHigh", high});
}

u32 CTQVSDKPTree::GetNUCFlagSetpointTemps(float* low, float* high) {
  return ReadAll(m_tree, At<float*>{".system.settings.nuc.flagSetpointTempLow", low},
                 At<float*>{".system.settings.nuc.flagSetpointTempHigh", high});
}

u32 CTQVSDKPTree::SetNUCFlagSetpointTemps(float low, float high) {
  return WriteAll(m_tree, At<float>{".system.settings.nuc.flagSetpointTempLow", low},
                  At<float>{".system.settings.nuc.flagSetpointTempHigh", high});
}

u32 CTQVSDKPTree::GetNUCPresets(bool* preset0, bool* preset1, bool* preset2, bool* preset3) {
  return ReadAll(m_tree, At<bool*>{".system.settings.nuc.p0.enabled", preset0},
                 At<bool*>{".system.settings.nuc.p1.enabled", preset1},
                 At<bool*>{".system.settings.nuc.p2.enabled", preset2},
                 At<bool*>{".system.settings.nuc.p3.enabled", preset3});
}

u32 CTQVSDKPTree::SetNUCPresets(bool preset0, bool preset1, bool preset2, bool preset3) {
  return WriteAll(m_tree, At<bool>{".system.settings.nuc.p0.enabled", preset0},
                  At<bool>{".system.settings.nuc.p1.enabled", preset1},
                  At<bool>{".system.settings.nuc.p2.enabled", preset2},
                  At<bool>{".system.settings.nuc.p3.enabled", preset3});
}

u32 CTQVSDKPTree::GetNUCFlagConfig(float* maxTemp, float* stableDelta, u8* stableCount,
                                   u32* timeout) {
  return ReadAll(m_tree, At<float*>{".system.settings.nuc.flagMaxTemp", maxTemp},
                 At<float*>{".system.settings.nuc.flagStableDelta", stableDelta},
                 At<u8*>{".system.settings.nuc.flagStableCount", stableCount},
                 At<u32*>{".system.settings.nuc.flagTimeout", timeout});
}

u32 CTQVSDKPTree::SetNUCFlagConfig(float maxTemp, float stableDelta, u8 stableCount, u32 timeout) {
  return WriteAll(m_tree, At<float>{".system.settings.nuc.flagMaxTemp", maxTemp},
                  At<float>{".system.settings.nuc.flagStableDelta", stableDelta},
                  At<u8>{".system.settings.nuc.flagStableCount", stableCount},
                  At<u32>{".system.settings.nuc.flagTimeout", timeout});
}

// --- Automatic correction ------------------------------------------------------------------------

// The five values are cached together: one read fills them all, one set refreshes them all.
u32 CTQVSDKPTree::GetAutoNUCSetup(bool* enabled, bool* useDeltaTemp, float* deltaTemp,
                                  bool* useDeltaTime, u32* deltaTime) {
  AutoNUCSetup setup{};
  if (!Cached(m_cache.nuc.autoNUCSetup, &setup)) {
    u32 result = ReadAll(m_tree, At<bool*>{".system.settings.nuc.auto.enabled", &setup.enabled},
                         At<bool*>{".system.settings.nuc.auto.useDeltaTemp", &setup.useDeltaTemp},
                         At<float*>{".system.settings.nuc.auto.deltaTemp", &setup.deltaTemp},
                         At<bool*>{".system.settings.nuc.auto.useDeltaTime", &setup.useDeltaTime},
                         At<u32*>{".system.settings.nuc.auto.deltaTime", &setup.deltaTime});
    if (result != rc::kOk) return result;
    Keep(m_cache.nuc.autoNUCSetup, setup);
  }
  *enabled = setup.enabled;
  *useDeltaTemp = setup.useDeltaTemp;
  *deltaTemp = setup.deltaTemp;
  *useDeltaTime = setup.useDeltaTime;
  *deltaTime = setup.deltaTime;
  return rc::kOk;
}

u32 CTQVSDKPTree::SetAutoNUCSetup(bool enabled, bool useDeltaTemp, float deltaTemp,
                                  bool useDeltaTime, u32 deltaTime) {
  u32 result = WriteAll(m_tree, At<bool>{".system.settings.nuc.auto.enabled", enabled},
                        At<bool>{".system.settings.nuc.auto.useDeltaTemp", useDeltaTemp},
                        At<float>{".system.settings.nuc.auto.deltaTemp", deltaTemp},
                        At<bool>{".system.settings.nuc.auto.useDeltaTime", useDeltaTime},
                        At<u32>{".system.settings.nuc.auto.deltaTime", deltaTime});
  if (result == rc::kOk) {
    Keep(m_cache.nuc.autoNUCSetup,
         AutoNUCSetup{enabled, useDeltaTemp, deltaTemp, useDeltaTime, deltaTime});
  } else {
    // Some of the five may have been written: the next read asks the camera.
    m_cache.nuc.autoNUCSetup.valid = false;
  }
  return result;
}

// Cameras without automatic correction are never running one.
u32 CTQVSDKPTree::GetAutoNUCInProgress(bool* value) {
  static constexpr rows::Tree kRow = TREE(".system.settings.nuc.auto.InProgress", IF_EXISTS(false));
  TCached<bool> unused{};
  return RowGet(kRow, kRow.path, unused, value);
}

// --- Bad pixels ----------------------------------------------------------------------------------

u32 CTQVSDKPTree::PickBadPixel(u16 x, u16 y, i8 preset, bool bad) {
  return WriteAll(m_tree, At<u16>{".system.settings.nuc.bpPicker.x", x},
                  At<u16>{".system.settings.nuc.bpPicker.y", y},
                  At<i8>{".system.settings.nuc.bpPicker.preset", preset},
                  At<bool>{".system.settings.nuc.bpPicker.bad", bad},
                  At<bool>{".system.settings.nuc.bpPicker.pick", true});
}

// The camera reads or writes the list file while the connection is held, with the long time-out
// for its file work; both are given back on every way out.
u32 CTQVSDKPTree::BadPixelListFile(u8 preset, const char* fileName, const char* action) {
  if (preset > 3 || !fileName) return rc::kInvalidArgument;
  ScopedAcquire exclusive(m_tree);
  if (exclusive.result() != rc::kOk) return exclusive.result();
  ScopedTimeout slow(m_tree, kBadPixelListTimeout);
  char path[kPathSize];
  u32 result = resSetString(m_tree, NucPresetPath(path, preset, "bplFile"), fileName, 1);
  if (result == rc::kOk) result = resWrite(m_tree, NucPresetPath(path, preset, action), true);
  return result;
}

u32 CTQVSDKPTree::SaveBadPixelList(u8 preset, const char* fileName) {
  return BadPixelListFile(preset, fileName, "saveBPL");
}

u32 CTQVSDKPTree::LoadBadPixelList(u8 preset, const char* fileName) {
  return BadPixelListFile(preset, fileName, "loadBPL");
}

u32 CTQVSDKPTree::GetBadPixelListIOSupported(bool* value) {
  bool exists = false;
  u32 result = PathExists(".system.settings.nuc.p0.saveBPL", &exists);
  if (result == rc::kOk) *value = exists;
  return result;
}

// The factory list's preset is a signed 32-bit value on the camera: -1 (every preset) stays -1.
u32 CTQVSDKPTree::FactoryBadPixelList(i8 preset, const char* action) {
  char path[kPathSize];
  std::snprintf(path, sizeof path, "%sfactoryBPL.%s", kNuc, action);
  return WriteAll(m_tree, At<i32>{".system.settings.nuc.factoryBPL.preset", preset},
                  At<bool>{path, true});
}

u32 CTQVSDKPTree::MfgFactoryBPLCreate(i8 preset) { return FactoryBadPixelList(preset, "create"); }

u32 CTQVSDKPTree::MfgFactoryBPLAppend(i8 preset) { return FactoryBadPixelList(preset, "append"); }

u32 CTQVSDKPTree::MfgFactoryBPLApply(i8 preset) { return FactoryBadPixelList(preset, "apply"); }

// --- Size and identity ---------------------------------------------------------------------------

u32 CTQVSDKPTree::GuessNUCSize(u16 width, u16 height, u32* size) {
  *size = GuessedNUCFileSize(width, height);
  return rc::kOk;
}

u32 CTQVSDKPTree::GetNUCSize(const char* name, u32* size) {
  return GetNUCFileInfo(name, size, nullptr);
}

// A correction file is a factory one when a calibration names it as its correction.
u32 CTQVSDKPTree::IsFactoryNUC(const char* name, bool* isFactory) {
  if (!name) return rc::kInvalidArgument;
  *isFactory = false;
  const std::size_t length = std::strlen(name);
  const bool hasExtension = length >= 4 && strcasecmp(name + length - 4, ".nuc") == 0;
  const zel::CString fileName = hasExtension ? zel::CString(name) : zel::CString(name) + ".nuc";
  zel::TArray<zel::CString> tags;
  u32 result = GetCalTags(tags);
  if (result != rc::kOk) return result;
  for (u32 i = 0; i < tags.GetCount(); ++i) {
    char path[kPathSize];
    char* text = nullptr;
    result = resGetString(m_tree, _tqvResourceForCal(path, sizeof path, tags[i].c_str(), "nucFile"),
                          &text);
    if (result != rc::kOk) return result;
    const bool same = text && strcasecmp(text, fileName.c_str()) == 0;
    resFreeString(&text);
    if (same) {
      *isFactory = true;
      break;
    }
  }
  return rc::kOk;
}
