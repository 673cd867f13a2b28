// CTQVSDKPTree: the camera interface over a property-tree connection. Settings are dotted paths;
// per-preset paths carry the preset digit in place of the n of ".pn."; repeated reads of settings
// are answered from a value cache.
#pragma once

#include <atomic>
#include <cstring>
#include <initializer_list>
#include <mutex>
#include <span>

#include "ParamTree.h"
#include "families/rows.h"
#include "interface/ITQVSDK.h"
#include "interface/constants.h"
#include "ptree/cache.h"

class CTQVSDKPTree : public ITQVSDK {
 public:
  explicit CTQVSDKPTree(void* connection);
  ~CTQVSDKPTree() override;
  CTQVSDKPTree(const CTQVSDKPTree&) = delete;
  CTQVSDKPTree& operator=(const CTQVSDKPTree&) = delete;

  // The client-library connection (not owned).
  void* h() const { return m_tree; }
  // Reads the sensor constants once; a failure leaves them unloaded so that the next call retries.
  u32 GetConstants();
  const FPAConstants& constants() const { return m_constants; }
  bool lensControllerInUse() const { return m_lensController; }

#define TQV_OP(name, params, args) u32 name params override;
#include "interface/operations.def"

 private:
  // --- The plain rows of the family tables (families/rows.h); defined in ptree/rows.h --------

  // The getter of a row at `path` (a per-preset row's path carries the preset digit already).
  template <typename T>
  u32 RowGet(const rows::Tree& row, const char* path, TCached<T>& entry, T* out);
  template <typename T>
  u32 RowSet(const rows::Tree& row, const char* path, TCached<T>& entry, T value);
  // A per-preset row: presets above 3 give 166 before anything is sent.
  template <typename T>
  u32 RowGetPreset(const rows::Tree& row, u8 preset, TCached<T> PresetRowCache::*member, T* out);
  template <typename T>
  u32 RowSetPreset(const rows::Tree& row, u8 preset, TCached<T> PresetRowCache::*member, T value);
  u32 RowCommand(const rows::Tree& row);
  u32 RowExists(const rows::Tree& row, bool* out);
  template <u32 N>
  u32 RowGetText(const rows::Tree& row, TCachedText<N>& entry, char* buffer, int size);
  template <u32 N>
  u32 RowSetText(const rows::Tree& row, TCachedText<N>& entry, const char* text);
  // Whether the camera has `path`: 0 with the answer, or the failure of the test. Only the
  // missing-path answer (160) means that the camera lacks it.
  u32 PathExists(const char* path, bool* exists);
  // A lens row (LENS, VORN) reads the constants first and, on a camera whose lens hangs off the
  // external lens controller, takes its VORN path; other rows keep `path`.
  u32 RowLensPath(const rows::Tree& row, const char*& path);

  // --- Helpers of non-uniformity correction and bad pixels (nuc.cpp) ---

  // Writes the list file's name, then triggers `action` ("saveBPL", "loadBPL") for the preset,
  // holding the connection under the bad-pixel-list time-out.
  u32 BadPixelListFile(u8 preset, const char* fileName, const char* action);
  static constexpr u32 kBadPixelListTimeout = 60000;
  // The factory list's preset, then its `action` ("create", "append", "apply").
  u32 FactoryBadPixelList(i8 preset, const char* action);

  // --- Helpers of stored configurations (storage.cpp) ---

  // A stored name as GetNUCName, GetStateName and GetLensStateName hand it out (without the
  // extension, and without the directory where `dropDirectory`), kept in `entry`.
  u32 CachedGetName(TCachedText<256>& entry, const char* path, const char* extension,
                    bool dropDirectory, char* buffer, int size);

  // --- Helpers of lens, focus, field of view, filter wheel and flag (lens.cpp) ---

  // `vorn` on a camera whose lens hangs off the external lens controller, else `own`.
  const char* LensPath(const char* own, const char* vorn) const {
    return m_lensController ? vorn : own;
  }
  // Two values of a range, each at its own path or at the controller's.
  u32 ReadLensRange(const char* minimum, const char* maximum, const char* vornMinimum,
                    const char* vornMaximum, std::array<u32, 2>* range);
  // The focus position at the near or far end of a field of view (0 narrow, 1 wide, 2 the lens's
  // own range when reading); 160 for another.
  u32 GetFocusEnd(u8 fov, bool near, u32* position);
  u32 SetFocusEnd(u8 fov, bool near, u32 position);
  // Starts an autofocus (writes true to the row's path) and, when told, waits until it is done.
  u32 StartAutoFocus(const rows::Tree& start, bool wait);
  // The autofocus "Status" or "Result": its code, then its text into the caller's buffer.
  u32 GetAutoFocusReport(const char* report, u16* code, char* buffer, i32 size);
  // A manufacturing value of the narrow (0) or wide (1) field of view; 167 for another.
  u32 MfgGetLensValue(u8 fov, const char* field, u32* value);
  u32 MfgSetLensValue(u8 fov, const char* field, u32 value);
  // Forgets what loading a lens state changes: the focus position, the autofocus region's display,
  // size and position, and the field of view.
  void ForgetLensState();

  // --- Helpers of video output, AGC and overlay (video.cpp) ---

  // A record the camera hands over as a whole, cached as one entry: writing true to `read` loads
  // its fields, and what is written to its fields takes effect when true is written to `commit`.
  template <typename T, std::size_t N>
  u32 GetRecord(const char* read, const std::array<const char*, N>& fields,
                TCached<std::array<T, N>>& entry, std::array<T, N>* out);
  template <typename T, std::size_t N>
  u32 SetRecord(const std::array<const char*, N>& fields, const char* commit,
                TCached<std::array<T, N>>& entry, const std::array<T, N>& values);
  // Writes the colour `field` ("fgColor" or "bgColor") of each overlay item in turn, redrawing
  // the items shown; the first failure ends the call. `entry` caches the first item's colour.
  u32 SetItemColors(std::span<const char* const> items, const char* field, u8 color,
                    TCached<u8>& entry);
  // Forgets every cached overlay value.
  void DropOverlayCache();

  // --- Helpers of synchronisation, time, temperatures, identity and data links (sync.cpp) ---

  // Reads the boolean at the first of `paths` the camera has; `found` says whether there was one
  // (the value is left alone when not).
  u32 ReadFirstBool(std::initializer_list<const char*> paths, bool* value, bool* found);
  // The frame header mode of a link ("cameraLink", "coaXPress", "gigE").
  u32 GetLinkHeaderMode(const char* link, u8* mode);
  u32 SetLinkHeaderMode(const char* link, u8 mode);
  // The path prefix of the manufacturing values of the camera's cooler.
  u32 CoolerPrefix(zel::CString* prefix);
  // A setting stored as one of `texts`, its code the text's index, with the cache: a text read
  // is matched without regard to case (another text: 168); a code without a text gives 168
  // before anything is sent.
  u32 CachedGetTextCode(TCached<u8>& entry, const char* path, std::span<const char* const> texts,
                        u8* code);
  u32 CachedSetTextCode(TCached<u8>& entry, const char* path, std::span<const char* const> texts,
                        u8 code);

  // --- Shared helpers of the family files -----------------------------------------------------

  // The cached getter: answers from the cache when enabled and valid, else reads `path` and
  // (when enabled) keeps the value.
  template <typename T>
  u32 CachedGet(TCached<T>& entry, const char* path, T* out);
  // The cached setter: writes `path` (commit 1) and, on success, keeps the value when enabled.
  template <typename T>
  u32 CachedSet(TCached<T>& entry, const char* path, T value);
  // The same for a per-preset path; presets above 3 give 166 before anything is sent.
  template <typename T>
  u32 CachedGetPreset(TCached<T> PresetCache::*member, const char* path, u8 preset, T* out);
  template <typename T>
  u32 CachedSetPreset(TCached<T> PresetCache::*member, const char* path, u8 preset, T value);
  // Keeps `value` in the entry when caching is on.
  template <typename T>
  void Keep(TCached<T>& entry, const T& value) {
    std::lock_guard<std::mutex> hold(m_cacheLock);
    if (m_cacheEnabled) {
      entry.value = value;
      entry.valid = true;
    }
  }
  // The cached value, when caching is on and the entry is valid.
  template <typename T>
  bool Cached(const TCached<T>& entry, T* out) const {
    std::lock_guard<std::mutex> hold(m_cacheLock);
    if (!m_cacheEnabled || !entry.valid) return false;
    *out = entry.value;
    return true;
  }
  // Forgets what the cache holds in the entries `drop` names (the camera changed them itself):
  // drop(PTreeCache&) runs under the cache's lock.
  template <typename Drop>
  void Forget(Drop drop) {
    std::lock_guard<std::mutex> hold(m_cacheLock);
    drop(m_cache);
  }
  // Forgets everything the cache holds (the camera's whole configuration changed).
  void ForgetAll() {
    Forget([](PTreeCache& cache) { cache = PTreeCache{}; });
  }
  // A text into a caller's buffer by the backend's rule (size above the length plus one).
  static u32 CopyText(const char* text, char* buffer, int size);
  // Keeps a text that fits the entry; otherwise the entry is invalid.
  template <u32 N>
  void KeepText(TCachedText<N>& entry, const char* text);
  // Enumerated settings stored as texts, with the cache.
  u32 CachedGetEnum(TCached<u8>& entry, const char* path, u8* out, u32 (*textToValue)(const char*));
  u32 CachedSetEnum(TCached<u8>& entry, const char* path, u8 value,
                    const char* (*valueToText)(u32));
  // A text getter into a caller's buffer with the cache (see _tqvGetString for the buffer rule).
  template <u32 N>
  u32 CachedGetText(TCachedText<N>& entry, const char* path, char* buffer, int size);
  // Text setter with the cache.
  template <u32 N>
  u32 CachedSetText(TCachedText<N>& entry, const char* path, const char* text);

  // What the shared timing operations need: the loaded constants (read first, their failure
  // returned), and no serialisation of its own.
  template <typename Use>
  u32 WithConstants(Use use) {
    u32 result = GetConstants();
    return result != rc::kOk ? result : use(m_constants);
  }
  template <typename Use>
  u32 Serialised(Use use) {
    return use();
  }
  // Float limits of a path, kept in the cache.
  u32 CachedLimits(TCached<std::array<float, 2>>& entry, const char* path, float* minimum,
                   float* maximum);
  // 166 for a detector bias index the camera does not have (or above 1).
  u32 CheckBiasIndex(u8 index);
  // Manufacturing setters that keep the loaded constants in step.
  u32 SetConstantPath(const char* path, u32 value, u32* constant);
  u32 SetDeadRowsPath(const char* path, u32 value);

  FPAConstants m_constants;
  bool m_constantsLoaded = false;
  // The cache is read and changed under this lock only, never while the camera is asked, so
  // that two threads on one handle do not tear its entries; operations themselves run
  // unserialised.
  mutable std::mutex m_cacheLock;
  PTreeCache m_cache{};
  bool m_cacheEnabled = true;
  void* m_tree;
  std::atomic<bool> m_lensController{false};
};

// --- File-local helpers shared by the backend's files --------------------------------------------

// Longest path the backend builds (including the terminator).
constexpr u32 kPathSize = 512;

// A path with the preset digit in place of the n of ".system.settings.pn.", of
// ".system.settings.NUC.pn." or of ".system.settings.tdrift.pn." (prefixes matched without regard
// to case). Other paths, and presets of 4 or more, stay as they are. The copy is bounded by
// `size`; returns `dst`.
char* _tqvResourceForPreset(char* dst, u32 size, const char* path, u8 preset);
// ".system.calib.cals." + calName + "." + field, bounded by `size`; returns `dst`.
char* _tqvResourceForCal(char* dst, u32 size, const char* calName, const char* field);

// A text at `path` into a caller's buffer, copied with its terminator only when `size` exceeds the
// text's length plus one; otherwise 0xFFFFFFFF and the buffer untouched.
u32 _tqvGetString(void* tree, const char* path, char* buffer, int size);

// An enumerated setting stored as text: the text read is mapped with the enumeration's Enum
// function; an unknown text gives 0xFFFFFFFF and leaves *value unchanged.
u32 resGetEnum(void* tree, const char* path, u8* value, u32 (*textToValue)(const char*));
// A code without a text gives 0xFFFFFFFF without a write.
u32 resSetEnum(void* tree, const char* path, u32 value, const char* (*valueToText)(u32));

// The value at `path` as text, whatever its type (used for camera information): the failure of
// the read is returned, a type that cannot be shown gives "Unsupported Type".
u32 ReadAsText(void* tree, const char* path, zel::CString* text);
// The same, with an empty text for a failed read.
zel::CString GetResString(void* tree, const char* path);

// Typed reads and writes by the C++ type of the value (writes commit unless told otherwise).
u32 resRead(void* tree, const char* path, bool* value);
u32 resRead(void* tree, const char* path, i8* value);
u32 resRead(void* tree, const char* path, u8* value);
u32 resRead(void* tree, const char* path, i16* value);
u32 resRead(void* tree, const char* path, u16* value);
u32 resRead(void* tree, const char* path, i32* value);
u32 resRead(void* tree, const char* path, u32* value);
u32 resRead(void* tree, const char* path, float* value);
u32 resRead(void* tree, const char* path, double* value);
u32 resWrite(void* tree, const char* path, bool value, int commit = 1);
u32 resWrite(void* tree, const char* path, i8 value, int commit = 1);
u32 resWrite(void* tree, const char* path, u8 value, int commit = 1);
u32 resWrite(void* tree, const char* path, i16 value, int commit = 1);
u32 resWrite(void* tree, const char* path, u16 value, int commit = 1);
u32 resWrite(void* tree, const char* path, i32 value, int commit = 1);
u32 resWrite(void* tree, const char* path, u32 value, int commit = 1);
u32 resWrite(void* tree, const char* path, float value, int commit = 1);
u32 resWrite(void* tree, const char* path, double value, int commit = 1);

// Raises the connection's request time-out for a long operation and sets it back to 10000 ms on
// every way out.
class ScopedTimeout {
 public:
  ScopedTimeout(void* tree, u32 milliseconds) : m_tree(tree) { resSetTimeout(tree, milliseconds); }
  ~ScopedTimeout() { resSetTimeout(m_tree, kDefaultTimeout); }
  ScopedTimeout(const ScopedTimeout&) = delete;
  ScopedTimeout& operator=(const ScopedTimeout&) = delete;
  static constexpr u32 kDefaultTimeout = 10000;

 private:
  void* m_tree;
};

// Holds the connection exclusively (resAcquire) until it goes out of scope; check result() first.
class ScopedAcquire {
 public:
  explicit ScopedAcquire(void* tree) : m_tree(tree), m_result(resAcquire(tree)) {}
  ~ScopedAcquire() {
    if (m_result == 0) resRelease(m_tree);
  }
  ScopedAcquire(const ScopedAcquire&) = delete;
  ScopedAcquire& operator=(const ScopedAcquire&) = delete;
  u32 result() const { return m_result; }

 private:
  void* m_tree;
  u32 m_result;
};

// --- Template definitions --------------------------------------------------------------------

template <typename T>
u32 CTQVSDKPTree::CachedGet(TCached<T>& entry, const char* path, T* out) {
  if (Cached(entry, out)) return rc::kOk;
  T value{};
  u32 result = resRead(m_tree, path, &value);
  if (result != rc::kOk) return result;
  Keep(entry, value);
  *out = value;
  return rc::kOk;
}

template <typename T>
u32 CTQVSDKPTree::CachedSet(TCached<T>& entry, const char* path, T value) {
  u32 result = resWrite(m_tree, path, value);
  if (result == rc::kOk) Keep(entry, value);
  return result;
}

template <typename T>
u32 CTQVSDKPTree::CachedGetPreset(TCached<T> PresetCache::*member, const char* path, u8 preset,
                                  T* out) {
  if (preset > 3) return rc::kInvalidArgument;
  char full[kPathSize];
  return CachedGet(m_cache.preset[preset].*member,
                   _tqvResourceForPreset(full, sizeof full, path, preset), out);
}

template <typename T>
u32 CTQVSDKPTree::CachedSetPreset(TCached<T> PresetCache::*member, const char* path, u8 preset,
                                  T value) {
  if (preset > 3) return rc::kInvalidArgument;
  char full[kPathSize];
  return CachedSet(m_cache.preset[preset].*member,
                   _tqvResourceForPreset(full, sizeof full, path, preset), value);
}

template <u32 N>
void CTQVSDKPTree::KeepText(TCachedText<N>& entry, const char* text) {
  const std::size_t length = std::strlen(text);
  std::lock_guard<std::mutex> hold(m_cacheLock);
  if (m_cacheEnabled && length < N) {
    std::memcpy(entry.value, text, length + 1);
    entry.valid = true;
  } else {
    entry.valid = false;
  }
}

template <u32 N>
u32 CTQVSDKPTree::CachedGetText(TCachedText<N>& entry, const char* path, char* buffer, int size) {
  {
    std::lock_guard<std::mutex> hold(m_cacheLock);
    if (m_cacheEnabled && entry.valid) return CopyText(entry.value, buffer, size);
  }
  char* read = nullptr;
  u32 result = resGetString(m_tree, path, &read);
  if (result != rc::kOk) return result;
  KeepText(entry, read);
  result = CopyText(read, buffer, size);
  resFreeString(&read);
  return result;
}

template <u32 N>
u32 CTQVSDKPTree::CachedSetText(TCachedText<N>& entry, const char* path, const char* text) {
  u32 result = resSetString(m_tree, path, text, 1);
  if (result == rc::kOk) KeepText(entry, text);
  return result;
}
