// CTQVSDKGenICam: the camera interface over a GenICam device. Settings are features; per-preset
// features carry the prefix "PS0".."PS3". Every operation holds the handle's recursive lock.
#pragma once

#include <atomic>
#include <initializer_list>
#include <mutex>
#include <thread>

#include "families/rows.h"
#include "interface/ITQVSDK.h"
#include "interface/constants.h"
#include "zel/cam/gic.h"

// The backend's operation lock: recursive, so that operations may call each other, and able to be
// released completely for a while (transfers release it while they touch the host file, run zlib
// or call progress; autofocus waits release it while they sleep).
class OperationLock {
 public:
  void lock() {
    if (m_owner.load(std::memory_order_relaxed) == std::this_thread::get_id()) {
      ++m_depth;
      return;
    }
    m_mutex.lock();
    m_owner.store(std::this_thread::get_id(), std::memory_order_relaxed);
    m_depth = 1;
  }
  void unlock() {
    if (--m_depth == 0) {
      m_owner.store(std::thread::id(), std::memory_order_relaxed);
      m_mutex.unlock();
    }
  }
  // Releases every level the calling thread holds; returns how many to take back.
  int ReleaseAll() {
    int depth = m_depth;
    m_depth = 0;
    m_owner.store(std::thread::id(), std::memory_order_relaxed);
    m_mutex.unlock();
    return depth;
  }
  void Reacquire(int depth) {
    m_mutex.lock();
    m_owner.store(std::this_thread::get_id(), std::memory_order_relaxed);
    m_depth = depth;
  }

 private:
  std::mutex m_mutex;
  std::atomic<std::thread::id> m_owner{};
  int m_depth = 0;  // only touched by the owner
};

class CTQVSDKGenICam : public ITQVSDK {
 public:
  using Device = zel::TSharedPtr<zel::cam::gic::IGenICam>;

  explicit CTQVSDKGenICam(Device device);
  ~CTQVSDKGenICam() override;
  CTQVSDKGenICam(const CTQVSDKGenICam&) = delete;
  CTQVSDKGenICam& operator=(const CTQVSDKGenICam&) = delete;

  // A new reference to the device.
  Device gic() const { return m_device; }
  // Reads readiness, board type and sensor constants; with flags bit 0 a failure of the
  // constants is tolerated.
  u32 Init(u32 flags);
  // "PS0".."PS3" for presets 0..3, "PSX" above; empty on a frame-grabber board (type 6).
  zel::CString PresetText(u8 preset) const;
  const FPAConstants& constants() const { return m_constants; }
  u32 boardType() const { return m_boardType; }

#define TQV_OP(name, params, args) u32 name params override;
#include "interface/operations.def"

  // The camera file and directory protocol. `kind` is the file kind (0 any file by path,
  // 1 state, 2 correction file, 3 lens state, 4 palette, 5 factory default state, 6 calibration
  // look-up table); for directories the directory selector (0 by name, 1 states, 2 correction
  // files, 3 lens states, 4 palettes).
  u32 FileDownload(u8 kind, const char* name, zel::TSharedPtr<zel::IFile> file,
                   zel::delegate<int(u32, u32)> progress);
  u32 FileUpload(u8 kind, const char* name, zel::TSharedPtr<zel::IFile> file,
                 zel::delegate<int(u32, u32)> progress);
  u32 FileGetInfo(u8 kind, const char* name, u32* size, u64* modifiedTime);
  u32 FileExists(u8 kind, const char* name);
  u32 FileDelete(u8 kind, const char* name);
  u32 FileRename(u8 kind, const char* name, const char* newName);
  u32 DirectoryList(u8 kind, const char* name, zel::TArray<tqvSDirEntry>& list);
  u32 DirectoryFreeSpace(u8 kind, const char* name, u64* freeBytes);

 private:
  // --- The plain rows of the family tables (families/rows.h); defined in genicam/rows.h -------

  // `feature` is the row's feature with the preset prefix where the row is per preset;
  // `alternative` likewise for the feature of OR (null without one).
  template <typename T>
  u32 RowGet(const rows::Gic& row, const char* feature, const char* alternative, T* out);
  template <typename T>
  u32 RowSet(const rows::Gic& row, const char* feature, const char* alternative, T value);
  template <typename T>
  u32 RowGetPreset(const rows::Gic& row, u8 preset, T* out);
  template <typename T>
  u32 RowSetPreset(const rows::Gic& row, u8 preset, T value);
  u32 RowCommand(const rows::Gic& row);
  u32 RowExists(const rows::Gic& row, bool* out);
  u32 RowGetText(const rows::Gic& row, char* buffer, int size);
  u32 RowSetText(const rows::Gic& row, const char* text);
  // Whether a row's feature is there in the sense of its IF_PRESENT or IF_AVAILABLE mark.
  bool RowFeatureThere(const rows::Gic& row, const char* feature);

  // --- Helpers of non-uniformity correction and bad pixels (nuc.cpp) ---

  // A code feature, then the text feature into the caller's buffer.
  u32 CodeAndText(const char* codeFeature, const char* textFeature, u16* code, char* buffer,
                  i32 size);
  u32 WritePreset(const char* feature, i64 preset, bool everyPreset);
  // Preset and file name of a bad-pixel list, then `command` (save or load), waited for.
  u32 BadPixelListFile(u8 preset, const char* fileName, const char* command);
  u32 FactoryBadPixelList(i8 preset, const char* command);
  u32 FillFactoryNUCNames();

  // --- Helpers of stored configurations (storage.cpp) ---

  // Writes `name` to the text feature `nameFeature`, then executes `command` and waits for it.
  u32 NameAndExecute(const char* nameFeature, const char* name, const char* command);
  // The camera's calibration tags, read once; then finds or selects a calibration by its tag
  // (0xFFFFFFFF for a tag the camera does not have).
  u32 FillCalTags();
  u32 FindCal(const char* tag, i64* index);
  u32 SelectCal(const char* tag);
  // The correction file query, basic or full.
  u32 QueryNUCInfoAs(const char* name, tqvSNUCInfo* info, bool full);

  // --- Helpers of lens, focus, field of view, filter wheel and flag (lens.cpp) ---

  // Cameras with the `tested` feature take `desired` and then the command `command`; the others
  // take `direct`.
  u32 MoveToDesired(const char* tested, const char* desired, const char* command,
                    const char* direct, i64 value);
  // States 0 and 1 by their commands where the camera has them, else by writing `feature`.
  u32 SetStateByCommand(u8 state, const char* toZero, const char* toOne, const char* feature);
  // Two integer features, handed out only when both are read.
  u32 GetRange(const char* minimum, const char* maximum, u32* low, u32* high);
  // A boolean feature that reads false when the camera lacks it.
  u32 GetBoolIfPresent(const char* feature, bool* value);
  // Executes the autofocus command and, when told, waits until it is done.
  u32 StartAutoFocus(const char* command, bool wait);
  // An autofocus code (enumeration value) and then its text.
  u32 GetAutoFocusReport(const char* codeFeature, const char* textFeature, u16* code, char* buffer,
                         i32 size);

  // --- Helpers of video output, AGC and overlay (video.cpp) ---

  // --- Helpers of synchronisation, time, temperatures, identity and data links (sync.cpp) ---

  // One temperature: the "DeviceTemperatureSelector" value, where it goes, and what is added to
  // the camera's degrees Celsius.
  struct Sensor {
    i64 selector;
    float* out;
    double offset = 0;
  };
  // Reads the sensors in order; the first failure ends the reading.
  u32 ReadTemperatures(std::initializer_list<Sensor> sensors);

  // The roles of the file protocol's features; the names are the standard ones, or the
  // "CameraFile..." ones on a camera that has "CameraFileSelector".
  struct FileFeatureNames {
    const char* newName;
    const char* modifiedTime;
    const char* fileName;
    const char* selector;
    const char* operationSelector;
    const char* operationExecute;
    const char* openMode;
    const char* accessBuffer;
    const char* accessOffset;
    const char* accessLength;
    const char* operationStatus;
    const char* operationResult;
    const char* fileSize;
    const char* compression;
  };
  static const FileFeatureNames kStandardFileNames;
  static const FileFeatureNames kCameraFileNames;

  // Runs a file operation: selector, execute and wait, status (other than 0: 0xFFFFFFFF).
  u32 RunFileOperation(i64 operation);
  // Execute and wait, then the status, for the operation already selected.
  u32 ExecuteFileOperation();
  // File selector = kind, and (unless the kind is the factory default state) the file name.
  u32 SelectFile(u8 kind, const char* name);
  // Whether the camera compresses transfers; if so, asks for a zlib stream.
  u32 RequestCompression(bool* compressed);
  // Opens the selected file for reading (0) or writing (1, announcing `size`).
  u32 OpenFile(i64 mode, u32 size);
  // The close step of a transfer: a failing close replaces `result`.
  u32 CloseFile(u32 result);
  // The directory selector and, for selector 0, the directory name.
  u32 SelectDirectory(u8 kind, const char* name);
  // Runs a directory operation; the status is returned in `status`.
  u32 RunDirectoryOperation(i64 operation, u8* status);

  // The voltage list, read once; then selects a voltage by name (160 when the camera has none of
  // that name).
  u32 FillVoltageNames();
  u32 SelectVoltage(const char* name);
  // What the shared timing operations need: the constants read at initialisation, under the
  // operation lock.
  template <typename Use>
  u32 WithConstants(Use use);
  template <typename Use>
  u32 Serialised(Use use);
  // Selects a detector bias on cameras that have several.
  u32 SelectBias(u8 index);
  // Writes a manufacturing constant and keeps the loaded copy in step.
  u32 SetConstantFeature(const char* name, u32 value, u32* constant);
  u32 SetDeadRowsFeature(const char* name, u32 value);

  // The per-preset feature name: PresetText(preset) followed by `name`.
  zel::CString PresetFeature(u8 preset, const char* name) const;

  FPAConstants m_constants;
  Device m_device;
  zel::TArray<zel::CString> m_voltageNames;
  bool m_voltageNamesFilled = false;
  i64 m_voltageFirstIndex = 0;
  zel::TArray<zel::CString> m_calTags;
  bool m_calTagsFilled = false;
  i64 m_calFirstIndex = 0;
  zel::TArray<zel::CString> m_factoryNUCNames;
  bool m_factoryNUCNamesFilled = false;
  const FileFeatureNames* m_fileNames = &kStandardFileNames;
  u32 m_boardType = 0;
  mutable OperationLock m_lock;

  friend class GenICamLockRelease;
};

// Releases the backend's lock completely for a scope (host file work, zlib, progress callbacks,
// autofocus waits) and takes it back, to the same depth, at the end. The caller holds the lock.
class GenICamLockRelease {
 public:
  explicit GenICamLockRelease(CTQVSDKGenICam& backend)
      : m_lock(backend.m_lock), m_depth(m_lock.ReleaseAll()) {}
  ~GenICamLockRelease() { m_lock.Reacquire(m_depth); }
  GenICamLockRelease(const GenICamLockRelease&) = delete;
  GenICamLockRelease& operator=(const GenICamLockRelease&) = delete;

 private:
  OperationLock& m_lock;
  int m_depth;
};

// Every operation of the backend starts with this line.
#define TQV_GIC_OPERATION() std::lock_guard<OperationLock> tqvOperationLock(m_lock)

template <typename Use>
u32 CTQVSDKGenICam::WithConstants(Use use) {
  TQV_GIC_OPERATION();
  return use(m_constants);
}

template <typename Use>
u32 CTQVSDKGenICam::Serialised(Use use) {
  TQV_GIC_OPERATION();
  return use();
}
