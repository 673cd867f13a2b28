// Non-uniformity correction control and bad pixels over the property tree: the operations that
// are more than one path (families/nuc.def holds the plain ones).
#include <strings.h>

#include <cstdio>
#include <cstring>

#include "common/nuc.h"
#include "common/several.h"
#include "ptree/rows.h"

namespace {

constexpr const char* kNuc = ".system.settings.nuc.";

// Settings of several values, path by path (common/several.h).
template <std::size_t N, typename... T>
u32 ReadAll(void* tree, const char* const (&paths)[N], T*... outputs) {
  return several::Read([tree](const char* path, auto* value) { return resRead(tree, path, value); },
                       paths, outputs...);
}
template <std::size_t N, typename... T>
u32 WriteAll(void* tree, const char* const (&paths)[N], T... values) {
  return several::Write(
      [tree](const char* path, auto value) { return resWrite(tree, path, value); }, paths,
      values...);
}

constexpr const char* kSetup[] = {".system.settings.nuc.gainMin", ".system.settings.nuc.gainMax",
                                  ".system.settings.nuc.adMin", ".system.settings.nuc.adMax",
                                  ".system.settings.nuc.detectBadPixels"};
constexpr const char* kTwinklers[] = {".system.settings.nuc.detectTwinklers",
                                      ".system.settings.nuc.twinklerFramesToCollect",
                                      ".system.settings.nuc.twinklerDelta"};
constexpr const char* kSetpointDeltas[] = {".system.settings.nuc.flagSetpointDeltaLow",
                                           ".system.settings.nuc.flagSetpointDeltaHigh"};
constexpr const char* kSetpointTemps[] = {".system.settings.nuc.flagSetpointTempLow",
                                          ".system.settings.nuc.flagSetpointTempHigh"};
constexpr const char* kPresets[] = {
    ".system.settings.nuc.p0.enabled", ".system.settings.nuc.p1.enabled",
    ".system.settings.nuc.p2.enabled", ".system.settings.nuc.p3.enabled"};
constexpr const char* kFlagConfig[] = {
    ".system.settings.nuc.flagMaxTemp", ".system.settings.nuc.flagStableDelta",
    ".system.settings.nuc.flagStableCount", ".system.settings.nuc.flagTimeout"};
constexpr const char* kAutoSetup[] = {
    ".system.settings.nuc.auto.enabled", ".system.settings.nuc.auto.useDeltaTemp",
    ".system.settings.nuc.auto.deltaTemp", ".system.settings.nuc.auto.useDeltaTime",
    ".system.settings.nuc.auto.deltaTime"};
constexpr const char* kPicker[] = {
    ".system.settings.nuc.bpPicker.x", ".system.settings.nuc.bpPicker.y",
    ".system.settings.nuc.bpPicker.preset", ".system.settings.nuc.bpPicker.bad",
    ".system.settings.nuc.bpPicker.pick"};

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
  return ReadAll(m_tree, kSetup, gainMin, gainMax, adMin, adMax, detectBadPixels);
}

u32 CTQVSDKPTree::SetNUCSetup(float gainMin, float gainMax, u16 adMin, u16 adMax,
                              bool detectBadPixels) {
  return WriteAll(m_tree, kSetup, gainMin, gainMax, adMin, adMax, detectBadPixels);
}

u32 CTQVSDKPTree::GetTwinklerSetup(bool* detect, u32* framesToCollect, u16* delta) {
  return ReadAll(m_tree, kTwinklers, detect, framesToCollect, delta);
}

u32 CTQVSDKPTree::SetTwinklerSetup(bool detect, u32 framesToCollect, u16 delta) {
  return WriteAll(m_tree, kTwinklers, detect, framesToCollect, delta);
}

u32 CTQVSDKPTree::GetNUCFlagSetpointDeltas(float* low, float* high) {
  return ReadAll(m_tree, kSetpointDeltas, low, high);
}

u32 CTQVSDKPTree::SetNUCFlagSetpointDeltas(float low, float high) {
  return WriteAll(m_tree, kSetpointDeltas, low, high);
}

u32 CTQVSDKPTree::GetNUCFlagSetpointTemps(float* low, float* high) {
  return ReadAll(m_tree, kSetpointTemps, low, high);
}

u32 CTQVSDKPTree::SetNUCFlagSetpointTemps(float low, float high) {
  return WriteAll(m_tree, kSetpointTemps, low, high);
}

u32 CTQVSDKPTree::GetNUCPresets(bool* preset0, bool* preset1, bool* preset2, bool* preset3) {
  return ReadAll(m_tree, kPresets, preset0, preset1, preset2, preset3);
}

u32 CTQVSDKPTree::SetNUCPresets(bool preset0, bool preset1, bool preset2, bool preset3) {
  return WriteAll(m_tree, kPresets, preset0, preset1, preset2, preset3);
}

u32 CTQVSDKPTree::GetNUCFlagConfig(float* maxTemp, float* stableDelta, u8* stableCount,
                                   u32* timeout) {
  return ReadAll(m_tree, kFlagConfig, maxTemp, stableDelta, stableCount, timeout);
}

u32 CTQVSDKPTree::SetNUCFlagConfig(float maxTemp, float stableDelta, u8 stableCount, u32 timeout) {
  return WriteAll(m_tree, kFlagConfig, maxTemp, stableDelta, stableCount, timeout);
}

// --- Automatic correction ------------------------------------------------------------------------

// The five values are cached together: one read fills them all, one set refreshes them all.
u32 CTQVSDKPTree::GetAutoNUCSetup(bool* enabled, bool* useDeltaTemp, float* deltaTemp,
                                  bool* useDeltaTime, u32* deltaTime) {
  AutoNUCSetup setup{};
  if (!Cached(m_cache.nuc.autoNUCSetup, &setup)) {
    u32 result = ReadAll(m_tree, kAutoSetup, &setup.enabled, &setup.useDeltaTemp, &setup.deltaTemp,
                         &setup.useDeltaTime, &setup.deltaTime);
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
  u32 result =
      WriteAll(m_tree, kAutoSetup, enabled, useDeltaTemp, deltaTemp, useDeltaTime, deltaTime);
  if (result == rc::kOk) {
    Keep(m_cache.nuc.autoNUCSetup,
         AutoNUCSetup{enabled, useDeltaTemp, deltaTemp, useDeltaTime, deltaTime});
  } else {
    // Some of the five may have been written: the next read asks the camera.
    Forget([&](PTreeCache& c) { c.nuc.autoNUCSetup.valid = false; });
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
  return WriteAll(m_tree, kPicker, x, y, preset, bad, true);
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
  const char* const paths[] = {".system.settings.nuc.factoryBPL.preset", path};
  return WriteAll(m_tree, paths, static_cast<i32>(preset), true);
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
