// Lens, focus, field of view, filter wheel, lens cover and flag over the property tree. Lens
// operations read the sensor constants first: that read decides whether the lens hangs off the
// external lens controller, whose settings live under ".vorn.settings." (LensPath).
#include <strings.h>

#include <cstdio>

#include "common/lens.h"
#include "ptree/rows.h"
#include "tqvSDK.h"
#include "zel/time.h"

namespace {

constexpr u32 kLastFilterId = 63;
constexpr u8 kFilterSlots = 4;
// The lens control type of the external lens controller, and the field of view of its
// continuous lenses.
constexpr u8 kVornControl = 2;
constexpr u8 kContinuousFOV = 2;
constexpr u8 kCoverUnknown = 2;
constexpr u16 kAutoFocusDone = 1;
constexpr u32 kAutoFocusPollMs = 500;
constexpr int kAutoFocusTextSize = 256;
constexpr const char* kLensTypePath = ".system.lens.lensType";
constexpr const char* kCoolerPath = ".system.settings.flag.coolerPower";

void FilterNamePath(char (&path)[kPathSize], u32 id) {
  std::snprintf(path, sizeof path, ".system.settings.filter.info.%u.name", id);
}

void FilterSlotPath(char (&path)[kPathSize], u8 slot) {
  std::snprintf(path, sizeof path, ".system.settings.filter.config.filterIDInSlot%u", slot);
}

// A camera without slot assignment answers that it lacks the feature, not the path.
u32 SlotResult(u32 result) { return result == rc::kNotFound ? rc::kNotSupported : result; }

// The manufacturing value `field` of the narrow (0) or wide (1) field of view.
u32 MfgLensPath(char (&path)[kPathSize], u8 fov, const char* field) {
  if (fov > 1) return rc::kUnexpectedValue;
  std::snprintf(path, sizeof path, ".system.manufacturing.lens.%s%s", fov == 0 ? "narrow" : "wide",
                field);
  return rc::kOk;
}

}  // namespace

// --- Filter wheel --------------------------------------------------------------------------------

u32 CTQVSDKPTree::ScanFilters() {
  static constexpr rows::Tree kRow = TREE(".system.settings.filter.scan", TIMEOUT(30000));
  u32 result = RowCommand(kRow);
  if (result != rc::kOk) return result;
  // The scan finds the filters anew, and the wheel may have turned.
  Forget([](PTreeCache& cache) {
    for (TCached<u8>& id : cache.lens.filterIDs)
      id.valid = false;
    cache.rows.GetCurrentFilterID.valid = false;
  });
  return rc::kOk;
}

// Each position is read on its own; one that answers is enough.
u32 CTQVSDKPTree::GetFilterIDs(u8* slot0, u8* slot1, u8* slot2, u8* slot3) {
  u8* const outputs[kFilterSlots] = {slot0, slot1, slot2, slot3};
  u32 first = rc::kOk;
  bool any = false;
  for (u8 slot = 0; slot < kFilterSlots; ++slot) {
    char path[kPathSize];
    std::snprintf(path, sizeof path, ".system.settings.filter.filterAt%u", slot);
    const u32 result = CachedGet(m_cache.lens.filterIDs[slot], path, outputs[slot]);
    if (result == rc::kOk) {
      any = true;
    } else if (first == rc::kOk) {
      first = result;
    }
  }
  return any ? rc::kOk : first;
}

u32 CTQVSDKPTree::SetCurrentFilterID(u8 id) {
  static constexpr rows::Tree kRow =
      TREE(".system.settings.filter.current", CACHED, TIMEOUT(30000));
  return RowSet(kRow, kRow.path, m_cache.rows.GetCurrentFilterID, id);
}

// Cameras that do not say whether their filters can be replaced have replaceable filters
// exactly when they have a wheel.
u32 CTQVSDKPTree::GetFilterReplaceable(bool* replaceable) {
  static constexpr const char* kPath = ".system.settings.filter.replaceable";
  if (Cached(m_cache.lens.filterReplaceable, replaceable)) return rc::kOk;
  bool exists = false;
  u32 result = PathExists(kPath, &exists);
  if (result != rc::kOk) return result;
  bool value = false;
  result = exists ? resRead(m_tree, kPath, &value) : GetFilterWheelPresent(&value);
  if (result != rc::kOk) return result;
  Keep(m_cache.lens.filterReplaceable, value);
  *replaceable = value;
  return rc::kOk;
}

u32 CTQVSDKPTree::GetFilterIDInSlot(u8 slot, u8* id) {
  if (slot >= kFilterSlots) return rc::kNotFound;
  char path[kPathSize];
  FilterSlotPath(path, slot);
  return SlotResult(CachedGet(m_cache.lens.filterIDInSlot[slot], path, id));
}

u32 CTQVSDKPTree::SetFilterIDInSlot(u8 slot, u8 id) {
  if (slot >= kFilterSlots) return rc::kNotFound;
  char path[kPathSize];
  FilterSlotPath(path, slot);
  const u32 result = CachedSet(m_cache.lens.filterIDInSlot[slot], path, id);
  if (result == rc::kOk)
    Forget([](PTreeCache& cache) { cache.rows.GetCurrentFilterID.valid = false; });
  return SlotResult(result);
}

u32 CTQVSDKPTree::GetFilterInfoAvailable(bool* available) {
  if (Cached(m_cache.lens.filterInfoAvailable, available)) return rc::kOk;
  bool value = resVerify(m_tree, ".system.settings.filter.info") == rc::kOk;
  Keep(m_cache.lens.filterInfoAvailable, value);
  *available = value;
  return rc::kOk;
}

u32 CTQVSDKPTree::GetFilterInfoName(u32 id, char* buffer, i32 size) {
  if (id > kLastFilterId) return rc::kInvalidArgument;
  char path[kPathSize];
  FilterNamePath(path, id);
  return CachedGetText(m_cache.lens.filterInfoName[id], path, buffer, size);
}

u32 CTQVSDKPTree::SetFilterInfoName(u32 id, const char* name) {
  if (id > kLastFilterId) return rc::kInvalidArgument;
  if (!name) return rc::kInvalidArgument;
  char path[kPathSize];
  FilterNamePath(path, id);
  return CachedSetText(m_cache.lens.filterInfoName[id], path, name);
}

// --- Flag ----------------------------------------------------------------------------------------

u32 CTQVSDKPTree::SetFlagState(u8 state) {
  static constexpr rows::Tree kRow = TREE(".system.settings.flag.state", CACHED, TEXTS(FlagState));
  return RowSet(kRow, kRow.path, m_cache.rows.GetFlagState, state);
}

// The cooler's power is the text "On" or "Off".
u32 CTQVSDKPTree::GetFlagCoolerEnabled(bool* enabled) {
  if (Cached(m_cache.lens.flagCoolerEnabled, enabled)) return rc::kOk;
  char* text = nullptr;
  const u32 result = resGetString(m_tree, kCoolerPath, &text);
  if (result != rc::kOk) return result;
  const bool on = strcasecmp(text, "on") == 0;
  resFreeString(&text);
  Keep(m_cache.lens.flagCoolerEnabled, on);
  *enabled = on;
  return rc::kOk;
}

u32 CTQVSDKPTree::SetFlagCoolerEnabled(bool enabled) {
  const u32 result = resSetString(m_tree, kCoolerPath, enabled ? "On" : "Off", 1);
  if (result == rc::kOk) Keep(m_cache.lens.flagCoolerEnabled, enabled);
  return result;
}

u32 CTQVSDKPTree::GetFlagTemperature(float* temperature) {
  return resRead(m_tree, ".system.settings.flag.temperature", temperature);
}

// --- Focus ---------------------------------------------------------------------------------------

// A lens on the external controller always focuses.
u32 CTQVSDKPTree::GetFocusPresent(bool* present) {
  u32 result = GetConstants();
  if (result != rc::kOk) return result;
  if (Cached(m_cache.lens.focusPresent, present)) return rc::kOk;
  bool value = true;
  if (!m_lensController) result = resRead(m_tree, ".system.lens.focusPresent", &value);
  if (result != rc::kOk) return result;
  Keep(m_cache.lens.focusPresent, value);
  *present = value;
  return rc::kOk;
}

u32 CTQVSDKPTree::GetFocusRange(u32* minimum, u32* maximum) {
  u32 result = GetConstants();
  if (result != rc::kOk) return result;
  std::array<u32, 2> range{};
  if (!Cached(m_cache.lens.focusRange, &range)) {
    result = ReadLensRange(".system.lens.focusMin", ".system.lens.focusMax",
                           ".vorn.settings.focusNear", ".vorn.settings.focusFar", &range);
    if (result != rc::kOk) return result;
    Keep(m_cache.lens.focusRange, range);
  }
  *minimum = range[0];
  *maximum = range[1];
  return rc::kOk;
}

u32 CTQVSDKPTree::SetFocusPos(u32 position) {
  static constexpr rows::Tree kRow =
      TREE(".system.lens.focusPos", VORN(".vorn.settings.focus"), CACHED, TIMEOUT(30000));
  return RowSet(kRow, kRow.path, m_cache.rows.GetFocusPos, position);
}

// The camera judges the speed itself.
u32 CTQVSDKPTree::FocusMove(i32 speed) {
  static constexpr rows::Tree kRow = TREE(
      ".system.lens.focusMove", VORN(".vorn.settings.focusMove"), FLAG0, DROPS(rows.GetFocusPos));
  TCached<i32> unused{};
  return RowSet(kRow, kRow.path, unused, speed);
}

// Cameras without the availability path can focus to a distance exactly when they have the
// distance path.
u32 CTQVSDKPTree::GetFocusToDistanceAvailable(bool* available) {
  static constexpr const char* kAvailable = ".system.lens.focusToDistanceAvailable";
  u32 result = GetConstants();
  if (result != rc::kOk) return result;
  if (Cached(m_cache.lens.focusToDistanceAvailable, available)) return rc::kOk;
  bool exists = false;
  result = PathExists(kAvailable, &exists);
  if (result != rc::kOk) return result;
  bool value = false;
  result = exists ? resRead(m_tree, kAvailable, &value)
                  : PathExists(".system.lens.focusToDistance", &value);
  if (result != rc::kOk) return result;
  Keep(m_cache.lens.focusToDistanceAvailable, value);
  *available = value;
  return rc::kOk;
}

u32 CTQVSDKPTree::GetFocusNearPos(u8 fov, u32* position) {
  return GetFocusEnd(fov, true, position);
}
u32 CTQVSDKPTree::GetFocusFarPos(u8 fov, u32* position) {
  return GetFocusEnd(fov, false, position);
}
u32 CTQVSDKPTree::SetFocusNearPos(u8 fov, u32 position) { return SetFocusEnd(fov, true, position); }
u32 CTQVSDKPTree::SetFocusFarPos(u8 fov, u32 position) { return SetFocusEnd(fov, false, position); }

namespace {
// The focus positions at the near and far ends of the narrow and wide fields of view.
constexpr const char* kFocusEnds[2][2] = {
    {".system.manufacturing.lens.fovNarrowNearPos", ".system.manufacturing.lens.fovNarrowFarPos"},
    {".system.manufacturing.lens.fovWideNearPos", ".system.manufacturing.lens.fovWideFarPos"},
};
}  // namespace

// FOV 2 is the lens's own range: its near and far positions where the camera has them, else the
// ends of the focus range.
u32 CTQVSDKPTree::GetFocusEnd(u8 fov, bool near, u32* position) {
  u32 result = GetConstants();
  if (result != rc::kOk) return result;
  const char* path = nullptr;
  if (fov < 2) {
    path = kFocusEnds[fov][near ? 0 : 1];
  } else if (fov == 2) {
    path = near ? ".system.lens.focusNearPos" : ".system.lens.focusFarPos";
    bool exists = false;
    result = PathExists(path, &exists);
    if (result != rc::kOk) return result;
    if (!exists) path = near ? ".system.lens.focusMin" : ".system.lens.focusMax";
  } else {
    return rc::kNotFound;
  }
  return resRead(m_tree, path, position);
}

u32 CTQVSDKPTree::SetFocusEnd(u8 fov, bool near, u32 position) {
  u32 result = GetConstants();
  if (result != rc::kOk) return result;
  if (fov >= 2) return rc::kNotFound;
  return resWrite(m_tree, kFocusEnds[fov][near ? 0 : 1], position);
}

// --- Autofocus -----------------------------------------------------------------------------------

u32 CTQVSDKPTree::AutoFocusFull(bool wait) {
  static constexpr rows::Tree kRow = TREE(
      ".system.lens.autoFocusFull", VORN(".vorn.settings.autoFocusFull"), DROPS(rows.GetFocusPos));
  return StartAutoFocus(kRow, wait);
}

u32 CTQVSDKPTree::AutoFocusFast(bool wait) {
  static constexpr rows::Tree kRow = TREE(
      ".system.lens.autoFocusFast", VORN(".vorn.settings.autoFocusFast"), DROPS(rows.GetFocusPos));
  return StartAutoFocus(kRow, wait);
}

u32 CTQVSDKPTree::StartAutoFocus(const rows::Tree& start, bool wait) {
  u32 result = RowCommand(start);
  if (result != rc::kOk || !wait) return result;
  result = WaitForAutoFocusDone();
  // A read while the lens was searching may have kept a position on the way.
  Forget([](PTreeCache& cache) { cache.rows.GetFocusPos.valid = false; });
  return result;
}

u32 CTQVSDKPTree::GetAutoFocusStatus(u16* code, char* buffer, i32 size) {
  return GetAutoFocusReport("Status", code, buffer, size);
}

u32 CTQVSDKPTree::GetAutoFocusResult(u16* code, char* buffer, i32 size) {
  return GetAutoFocusReport("Result", code, buffer, size);
}

// The code is handed out before the text is read.
u32 CTQVSDKPTree::GetAutoFocusReport(const char* report, u16* code, char* buffer, i32 size) {
  u32 result = GetConstants();
  if (result != rc::kOk) return result;
  const char* prefix = LensPath(".system.lens.autoFocus", ".vorn.settings.autoFocus");
  char path[kPathSize];
  std::snprintf(path, sizeof path, "%s%sCode", prefix, report);
  result = resRead(m_tree, path, code);
  if (result != rc::kOk) return result;
  std::snprintf(path, sizeof path, "%s%sText", prefix, report);
  return _tqvGetString(m_tree, path, buffer, size);
}

// No overall limit: the wait ends when the camera says it is done or cannot be asked.
u32 CTQVSDKPTree::WaitForAutoFocusDone() {
  for (;;) {
    u16 code = 0;
    char text[kAutoFocusTextSize];
    const u32 result = GetAutoFocusStatus(&code, text, sizeof text);
    if (result != rc::kOk) return result;
    if (code == kAutoFocusDone) return rc::kOk;
    zel::SleepMs(kAutoFocusPollMs);
  }
}

// --- Field of view -------------------------------------------------------------------------------

// The external controller has a field of view unless it says otherwise.
u32 CTQVSDKPTree::GetFOVPresent(bool* present) {
  u32 result = GetConstants();
  if (result != rc::kOk) return result;
  if (Cached(m_cache.lens.fovPresent, present)) return rc::kOk;
  const char* path = LensPath(".system.lens.fovPresent", ".vorn.settings.fovPresent");
  bool exists = true;
  if (m_lensController) result = PathExists(path, &exists);
  bool value = true;
  if (result == rc::kOk && exists) result = resRead(m_tree, path, &value);
  if (result != rc::kOk) return result;
  Keep(m_cache.lens.fovPresent, value);
  *present = value;
  return rc::kOk;
}

// Lenses on the external controller zoom continuously (2); the others are narrow or wide.
u32 CTQVSDKPTree::GetFOV(u8* fov) {
  static constexpr rows::Tree kRow = TREE(".system.lens.fovState", CACHED, TEXTS(FOV));
  u32 result = GetConstants();
  if (result != rc::kOk) return result;
  if (Cached(m_cache.lens.fov, fov)) return rc::kOk;
  bool continuous = m_lensController;
  if (!continuous) {
    u8 type = 0;
    result = GetLensControlType(&type);
    if (result != rc::kOk) return result;
    continuous = type == kVornControl;
  }
  if (!continuous) return RowGet(kRow, kRow.path, m_cache.lens.fov, fov);
  Keep(m_cache.lens.fov, kContinuousFOV);
  *fov = kContinuousFOV;
  return rc::kOk;
}

u32 CTQVSDKPTree::SetFOV(u8 fov) {
  static constexpr rows::Tree kRow =
      TREE(".system.lens.fovState", CACHED, TEXTS(FOV), TIMEOUT(60000), DROPS(rows.GetFocusPos));
  u32 result = GetConstants();
  if (result != rc::kOk) return result;
  if (m_lensController) return fov == kContinuousFOV ? rc::kOk : rc::kNotSupported;
  if (!kRow.text(fov)) return rc::kError;
  u8 type = 0;
  result = GetLensControlType(&type);
  if (result != rc::kOk) return result;
  if (type == kVornControl) return rc::kNotSupported;
  return RowSet(kRow, kRow.path, m_cache.lens.fov, fov);
}

u32 CTQVSDKPTree::GetFOVIsContinuous(bool* continuous) {
  u8 type = 0;
  const u32 result = GetLensControlType(&type);
  if (result == rc::kOk) *continuous = type == kVornControl;
  return result;
}

u32 CTQVSDKPTree::GetFOVRange(u32* minimum, u32* maximum) {
  u32 result = GetConstants();
  if (result != rc::kOk) return result;
  std::array<u32, 2> range{};
  result = ReadLensRange(".system.lens.fovMin", ".system.lens.fovMax", ".vorn.settings.fovMin",
                         ".vorn.settings.fovMax", &range);
  if (result != rc::kOk) return result;
  *minimum = range[0];
  *maximum = range[1];
  return rc::kOk;
}

u32 CTQVSDKPTree::SetFOVPos(u32 position) {
  static constexpr rows::Tree kRow =
      TREE(".system.lens.fov", VORN(".vorn.settings.fov"), DROPS(rows.GetFocusPos));
  TCached<u32> unused{};
  return RowSet(kRow, kRow.path, unused, position);
}

u32 CTQVSDKPTree::ReadLensRange(const char* minimum, const char* maximum, const char* vornMinimum,
                                const char* vornMaximum, std::array<u32, 2>* range) {
  u32 result = resRead(m_tree, LensPath(minimum, vornMinimum), &(*range)[0]);
  if (result == rc::kOk) result = resRead(m_tree, LensPath(maximum, vornMaximum), &(*range)[1]);
  return result;
}

// --- Lens states
// ----------------------------------------------------------------------------------

void CTQVSDKPTree::ForgetLensState() {
  Forget([](PTreeCache& cache) {
    cache.rows.GetFocusPos.valid = false;
    cache.rows.GetAutoFocusROIShowWhenFocusing.valid = false;
    cache.rows.GetAutoFocusROISize.valid = false;
    cache.rows.GetAutoFocusROIPosition.valid = false;
    cache.lens.fov.valid = false;
    cache.storage.lensStateName.valid = false;
  });
}

// --- Lens control, cover and information ---------------------------------------------------------

// Cameras name their lens controller, or show it by which lens paths they have.
u32 CTQVSDKPTree::GetLensControlType(u8* type) {
  static constexpr rows::Tree kRow = TREE(kLensTypePath, TEXTS(LensControlType));
  static constexpr const char* kFocusPresent = ".system.lens.focusPresent";
  static constexpr const char* kVornEnabled = ".vorn.settings.enabled";
  u32 result = GetConstants();
  if (result != rc::kOk) return result;
  bool exists = false;
  if ((result = PathExists(kLensTypePath, &exists))) return result;
  if (exists) {
    TCached<u8> unused{};
    return RowGet(kRow, kRow.path, unused, type);
  }
  if ((result = PathExists(kFocusPresent, &exists))) return result;
  if (exists) {
    bool fov = false;
    if ((result = PathExists(".system.lens.fov", &fov))) return result;
    if (!fov) {
      *type = 1;
      return rc::kOk;
    }
    bool focus = false;
    if ((result = resRead(m_tree, kFocusPresent, &focus))) return result;
    if (focus) {
      bool vorn = false;
      if ((result = resRead(m_tree, kVornEnabled, &vorn))) return result;
      *type = vorn ? kVornControl : 1;
      return rc::kOk;
    }
  }
  if ((result = PathExists(kVornEnabled, &exists))) return result;
  if (!exists) return rc::kNotSupported;
  bool vorn = false;
  if ((result = resRead(m_tree, kVornEnabled, &vorn))) return result;
  *type = vorn ? kVornControl : 0;
  return rc::kOk;
}

u32 CTQVSDKPTree::SetLensControlType(u8 type) {
  u32 result = GetConstants();
  if (result != rc::kOk) return result;
  bool writable = false;
  if ((result = GetLensControlTypeWritable(&writable))) return result;
  if (!writable) return rc::kNotWritable;
  bool named = false;
  if ((result = PathExists(kLensTypePath, &named))) return result;
  if (named) {
    const char* text = tqvLensControlTypeText(type);
    if (!text) return rc::kError;
    if ((result = resSetString(m_tree, kLensTypePath, text, 1))) return result;
  } else {
    if (type != 0 && type != kVornControl) return rc::kNotSupported;
    // Switching between the serial lens link and the external controller: each side saves its
    // settings. A side the camera lacks refuses, which changes nothing.
    struct Write {
      const char* path;
      bool value;
    };
    static constexpr Write kToVorn[] = {{".sercomm.settings.serial.enabled", false},
                                        {".sercomm.settings.saveSettings", true},
                                        {".vorn.settings.enabled", true},
                                        {".vorn.settings.saveSettings", true}};
    static constexpr Write kToNone[] = {{".vorn.settings.enabled", false},
                                        {".vorn.settings.saveSettings", true},
                                        {".sercomm.settings.serial.enabled", true},
                                        {".sercomm.settings.saveSettings", true}};
    for (const Write& write : type == kVornControl ? kToVorn : kToNone)
      resWrite(m_tree, write.path, write.value);
  }
  Forget([](PTreeCache& cache) {
    cache.lens.focusPresent.valid = false;
    cache.lens.focusRange.valid = false;
    cache.rows.GetFocusPos.valid = false;
    cache.lens.fovPresent.valid = false;
    cache.lens.fov.valid = false;
  });
  if (type == 0) {
    m_lensController = false;
  } else if (type == kVornControl && resVerify(m_tree, ".system.lens.fov") == rc::kError) {
    m_lensController = true;
  }
  return rc::kOk;
}

u32 CTQVSDKPTree::GetLensControlTypeWritable(bool* writable) {
  return lens::ControlTypeWritable(*this, writable);
}

// While the cover moves its state is "Unknown"; that state is not kept, so that a host waiting
// for the cover sees it arrive.
u32 CTQVSDKPTree::GetLensCoverState(u8* state) {
  static constexpr rows::Tree kRow =
      TREE(".system.settings.lensCover.state", TEXTS(LensCoverState));
  if (Cached(m_cache.lens.lensCoverState, state)) return rc::kOk;
  TCached<u8> unused{};
  const u32 result = RowGet(kRow, kRow.path, unused, state);
  if (result == rc::kOk && *state != kCoverUnknown) Keep(m_cache.lens.lensCoverState, *state);
  return result;
}

// The cover is on its way after a change: its state is asked again.
u32 CTQVSDKPTree::SetLensCoverState(u8 state) {
  static constexpr rows::Tree kRow =
      TREE(".system.settings.lensCover.state", TEXTS(LensCoverState), DROPS(lens.lensCoverState));
  if (state == kCoverUnknown) return rc::kNotSupported;
  TCached<u8> unused{};
  return RowSet(kRow, kRow.path, unused, state);
}

u32 CTQVSDKPTree::GetLensInfoAvailable(bool* available) {
  static constexpr rows::Tree kRow = TREE(".system.lens.lensInfoAvailable", LENS, IF_EXISTS(false));
  TCached<bool> unused{};
  return RowGet(kRow, kRow.path, unused, available);
}

// --- Manufacturing values of the lens ------------------------------------------------------------

namespace {
constexpr const char* kSpeedFields[3] = {"SlowSpeed", "MediumSpeed", "FastSpeed"};
constexpr const char* kSlowControls[2] = {"Position", "Speed"};
}  // namespace

u32 CTQVSDKPTree::MfgGetFocusSpeeds(u8 fov, u32* slow, u32* medium, u32* fast) {
  u32* const speeds[3] = {slow, medium, fast};
  u32 result = GetConstants();
  for (int i = 0; result == rc::kOk && i < 3; ++i) {
    char path[kPathSize];
    result = MfgLensPath(path, fov, kSpeedFields[i]);
    if (result == rc::kOk) result = resRead(m_tree, path, speeds[i]);
  }
  return result;
}

u32 CTQVSDKPTree::MfgSetFocusSpeeds(u8 fov, u32 slow, u32 medium, u32 fast) {
  const u32 speeds[3] = {slow, medium, fast};
  u32 result = GetConstants();
  for (int i = 0; result == rc::kOk && i < 3; ++i) {
    char path[kPathSize];
    result = MfgLensPath(path, fov, kSpeedFields[i]);
    if (result == rc::kOk) result = resWrite(m_tree, path, speeds[i]);
  }
  return result;
}

// The control is the text "Position" (0) or "Speed" (1); any other text reads as 0 with 167.
u32 CTQVSDKPTree::MfgGetFocusSlowControl(u8 fov, u8* control) {
  char path[kPathSize];
  u32 result = GetConstants();
  if (result == rc::kOk) result = MfgLensPath(path, fov, "SlowControl");
  if (result != rc::kOk) return result;
  char* text = nullptr;
  if ((result = resGetString(m_tree, path, &text))) return result;
  *control = 0;
  result = rc::kUnexpectedValue;
  for (u8 code = 0; code < 2; ++code) {
    if (strcasecmp(text, kSlowControls[code]) == 0) {
      *control = code;
      result = rc::kOk;
    }
  }
  resFreeString(&text);
  return result;
}

u32 CTQVSDKPTree::MfgSetFocusSlowControl(u8 fov, u8 control) {
  char path[kPathSize];
  u32 result = GetConstants();
  if (result == rc::kOk) result = MfgLensPath(path, fov, "SlowControl");
  if (result != rc::kOk) return result;
  if (control > 1) return rc::kUnexpectedValue;
  return resSetString(m_tree, path, kSlowControls[control], 1);
}

u32 CTQVSDKPTree::MfgGetFocusPositionIncrement(u8 fov, u32* increment) {
  return MfgGetLensValue(fov, "PositionIncrement", increment);
}
u32 CTQVSDKPTree::MfgSetFocusPositionIncrement(u8 fov, u32 increment) {
  return MfgSetLensValue(fov, "PositionIncrement", increment);
}
u32 CTQVSDKPTree::MfgGetFocusAccuracy(u8 fov, u32* accuracy) {
  return MfgGetLensValue(fov, "FocusAccuracy", accuracy);
}
u32 CTQVSDKPTree::MfgSetFocusAccuracy(u8 fov, u32 accuracy) {
  return MfgSetLensValue(fov, "FocusAccuracy", accuracy);
}

u32 CTQVSDKPTree::MfgGetLensValue(u8 fov, const char* field, u32* value) {
  char path[kPathSize];
  u32 result = GetConstants();
  if (result == rc::kOk) result = MfgLensPath(path, fov, field);
  return result != rc::kOk ? result : resRead(m_tree, path, value);
}

u32 CTQVSDKPTree::MfgSetLensValue(u8 fov, const char* field, u32 value) {
  char path[kPathSize];
  u32 result = GetConstants();
  if (result == rc::kOk) result = MfgLensPath(path, fov, field);
  return result != rc::kOk ? result : resWrite(m_tree, path, value);
}
