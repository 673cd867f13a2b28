// The GenICam backend's feature access. Each function takes its own reference to the device,
// looks the feature up by name, tests its kind, performs the access and turns every library
// exception into a result code. The typed accesses retry a time-out: `attempts` in all (every
// caller passes 3), 600 ms apart. A missing feature or one of another kind gives 0xFFFFFFFF at
// once, without a log line and without touching the output.
#pragma once

#include "interface/types.h"
#include "zel/cam/gic.h"

using GicDevice = zel::TSharedPtr<zel::cam::gic::IGenICam>;

constexpr int kGicAttempts = 3;

// Whether the device has the feature and it reports itself available (false on any failure).
bool gicIsAvailable(GicDevice device, const char* name);
// Whether the device has the feature at all (a failed lookup counts as absent).
bool gicIsPresent(GicDevice device, const char* name);

u32 gicGetInt64(GicDevice device, const char* name, i64* value, int attempts);
u32 gicSetInt64(GicDevice device, const char* name, i64 value, int attempts);
u32 gicGetUInt32(GicDevice device, const char* name, u32* value, int attempts);
u32 gicGetUInt16(GicDevice device, const char* name, u16* value, int attempts);
u32 gicGetUInt8(GicDevice device, const char* name, u8* value, int attempts);
u32 gicGetInt32(GicDevice device, const char* name, i32* value, int attempts);
// Minimum (skipped for a null pointer) and maximum of an integer feature, truncated.
u32 gicGetLimitsUInt8(GicDevice device, const char* name, u8* minimum, u8* maximum);
u32 gicGetLimitsUInt32(GicDevice device, const char* name, u32* minimum, u32* maximum);
u32 gicGetLimitsInt64(GicDevice device, const char* name, i64* minimum, i64* maximum);
// The increment of an integer feature.
u32 gicGetIncrementInt64(GicDevice device, const char* name, i64* increment);

u32 gicGetFlt64(GicDevice device, const char* name, double* value, int attempts);
u32 gicSetFlt64(GicDevice device, const char* name, double value, int attempts);
u32 gicGetFlt32(GicDevice device, const char* name, float* value, int attempts);
u32 gicGetLimitsFlt32(GicDevice device, const char* name, float* minimum, float* maximum);

u32 gicGetBool(GicDevice device, const char* name, bool* value, int attempts);
u32 gicSetBool(GicDevice device, const char* name, bool value, int attempts);

u32 gicGetEnumValue(GicDevice device, const char* name, i64* value, int attempts);
u32 gicGetEnumValue(GicDevice device, const char* name, u8* value, int attempts);
u32 gicSetEnumValue(GicDevice device, const char* name, i64 value, int attempts);
u32 gicSetEnumValue(GicDevice device, const char* name, const char* entry, int attempts);
// A code held by an integer or an enumeration feature (cameras differ in which they use).
u32 gicGetCode(GicDevice device, const char* name, u8* value, int attempts);
u32 gicGetCode(GicDevice device, const char* name, i64* value, int attempts);
u32 gicSetCode(GicDevice device, const char* name, i64 value, int attempts);

// The entries of an enumeration feature, in its order.
u32 gicGetEnumEntries(GicDevice device, const char* name,
                      zel::TArray<zel::cam::gic::CEnumEntry>* entries, int attempts);

u32 gicGetString(GicDevice device, const char* name, zel::CString& value, int attempts);
u32 gicSetString(GicDevice device, const char* name, const char* value, int attempts);
// The text into a caller's buffer, copied with its terminator only when `size` exceeds the text's
// length; otherwise 0xFFFFFFFF and the buffer untouched.
u32 gicGetString(GicDevice device, const char* name, char* buffer, int size, int attempts);

// Executes a command; with `wait`, polls its completion every 250 ms. Failures are logged.
u32 gicExecute(GicDevice device, const char* name, bool wait);

// Register access for the file protocol.
u32 gicGetRegister(GicDevice device, const char* name,
                   zel::TSharedPtr<zel::cam::gic::IRegister>* reg);
u32 gicReadRegister(zel::cam::gic::IRegister& reg, u8* buffer, i64 length);
u32 gicWriteRegister(zel::cam::gic::IRegister& reg, const u8* buffer, i64 length);
