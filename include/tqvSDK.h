/*
 * tqvSDK.h - the C interface of libtqvSDK, the library through which host programs control
 * cooled-infrared cameras.
 *
 * A host opens a connection to a camera with a client library (property tree or GenICam), hands
 * it to tqvCreateParamTree or tqvCreateGenICam and receives a handle. Every camera function takes
 * that handle first and returns a result code (TQV_OK on success, see below). Outputs are written
 * only on success. A text output is a buffer and its size in bytes.
 *
 * The header compiles as C99 and as C++. Entry points that use framework types (host file
 * objects, progress delegates, framework arrays) are declared for C++ only.
 */
#ifndef TQVSDK_H
#define TQVSDK_H

#if defined(__cplusplus) && __cplusplus < 201703L
#error "tqvSDK.h: the C++ declarations need C++17 or later (-std=c++17; pkg-config tqvSDK-cxx)"
#endif

#include <stdbool.h>
#include <stddef.h>
#include <stdint.h>

#if defined(__GNUC__)
#define TQV_API __attribute__((visibility("default")))
#else
#define TQV_API
#endif

/* ======================================================================== Result codes */

#define TQV_OK 0u                   /* success */
#define TQV_TIMEOUT 1u              /* the camera did not answer in time */
#define TQV_NOT_SUPPORTED 2u        /* not supported in this form, or inconsistent camera state */
#define TQV_NOT_FOUND 160u          /* no such item, index or path */
#define TQV_NO_LIMITS 161u          /* the camera has no limits for this value */
#define TQV_NOT_WRITABLE 162u       /* not writable in the present configuration */
#define TQV_FAILED 165u             /* the operation failed */
#define TQV_INVALID_ARGUMENT 166u   /* an argument is out of range */
#define TQV_UNEXPECTED_VALUE 167u   /* the camera answered a value the library does not expect */
#define TQV_OUT_OF_ENUMERATION 168u /* a value outside its enumeration */
#define TQV_TOO_LARGE 169u          /* a text or table is too long or too large */
#define TQV_ACCESS_DENIED 170u      /* the camera refused access */
#define TQV_ERROR 0xFFFFFFFFu       /* unknown handle, or a failure without a finer code */

/* ======================================================================== Records */

/* One event code read from the camera's event queue; 0 means no event. */
typedef uint32_t tqvEEventType;

/* One colour of the overlay colour table. */
typedef struct tqvSRGB {
  uint8_t red;
  uint8_t green;
  uint8_t blue;
} tqvSRGB;

/* The summary (header) of a camera correction (NUC) file. Texts hold at most 63 characters. */
typedef struct tqvSNUCInfo {
  char cameraType[64];
  char cameraSerial[64];
  uint32_t fpgaFirmwareNumber;
  uint8_t fpgaVersion;
  uint8_t fpgaMajor;
  uint8_t fpgaMinor;
  uint16_t windowOffsetX;
  uint16_t windowOffsetY;
  uint16_t windowWidth;
  uint16_t windowHeight;
  uint16_t maxWidth;
  uint16_t maxHeight;
  bool compressed;
  bool invert;
  bool revert;
  uint8_t readoutMode;
  uint32_t integrationWidth;
  uint32_t frameWidth;
  uint8_t filterID;
  uint8_t fpaBiasCount;
  float fpaBias;
  float fpaBias1;
  uint8_t fpaGainLevel;
  float digitalOffset;
  float digitalGain;
  float globalOffsetVoltage;
  char lens[64];
  char lensFilter[64];
  bool skimmingEnabled;
  float skimmingVoltage;
  uint8_t color;
  uint8_t nucType;
  uint8_t nucSource;
  uint32_t nucNumFrames;
  bool nucDetectBadPixels;
  bool nucDetectTwinklers;
  uint32_t nucTwinklerNumFrames;
  uint16_t nucTwinklerDelta;
  uint16_t nucADMin;
  uint16_t nucADMax;
  float nucGainMin;
  float nucGainMax;
  uint32_t bpTotal;
  uint32_t bpTwinkling;
  uint32_t bpUser; /* user and factory bad pixels share this field */
  uint32_t bpAboveGainMax;
  uint32_t bpBelowGainMin;
  uint32_t bpAboveADMaxSrc1;
  uint32_t bpBelowADMinSrc1;
  uint32_t bpAboveADMaxSrc2;
  uint32_t bpBelowADMinSrc2;
  uint32_t bpNew;
} tqvSNUCInfo;

/* One radiometric calibration stored on the camera. lutX and lutY are filled only on request;
 * they are allocated with tqvAlloc and released by the host with tqvFree. */
typedef struct tqvSCalInfo {
  char tag[256];
  char name[256];
  char lens[256];
  char lensFilter[256];
  uint8_t filterID;
  double minTemp;
  double maxTemp;
  double minRad;
  double maxRad;
  uint16_t minCounts;
  uint16_t maxCounts;
  uint32_t lutSize;
  double* lutX;
  double* lutY;
  int32_t order;
  double C0, C1, C2, C3, C4, C5, C6;
  double bgValue;
  double bandpassLow;
  double bandpassHigh;
  int32_t tempOrder;
  double tempC0, tempC1, tempC2, tempC3, tempC4, tempC5, tempC6;
  double r;
  double b;
  double f;
  double atmX;
  double atmAlpha1;
  double atmAlpha2;
  double atmBeta1;
  double atmBeta2;
} tqvSCalInfo;

#pragma pack(push, 1)

/* One movie on the recorder's drive. */
typedef struct tqvSSsdMovieInfo {
  char name[68];
  uint32_t number;
  uint16_t width;
  uint16_t height;
  uint32_t numFrames;
  uint16_t startDay;
  uint8_t startHour;
  uint8_t startMinute;
  uint8_t startSecond;
  uint16_t startMillisecond;
  uint16_t startMicrosecond;
  uint16_t endDay;
  uint8_t endHour;
  uint8_t endMinute;
  uint8_t endSecond;
  uint16_t endMillisecond;
  uint16_t endMicrosecond;
} tqvSSsdMovieInfo;

/* The 128-byte header at the start of each frame, as it stands in the frame. */
typedef struct tqvSHeaderRaw {
  uint8_t bytes[128];
} tqvSHeaderRaw;

/* The decoded frame header. Temperatures are in degrees Celsius, integrationTime in
 * milliseconds, frameRate in hertz. */
typedef struct tqvSHeader {
  uint8_t headerByte0;
  uint32_t clockFrequency;
  uint16_t day;
  uint8_t hour;
  uint8_t minute;
  uint8_t second;
  uint16_t millisecond;
  uint16_t microsecond;
  bool timeCodeFlag;
  uint8_t statusCode;
  bool statusBit15;
  bool statusBit14;
  bool statusBit4;
  bool statusBit3;
  bool statusBit2;
  bool statusBit5;
  bool statusBit13;
  float temperature1;
  float temperature2;
  float temperature3;
  float scaledValue1;
  uint32_t counter1;
  double integrationTime;
  float halfValue1;
  uint16_t word1E;
  uint16_t word22;
  uint16_t word24;
  uint16_t word26;
  uint16_t word28;
  uint16_t word2A;
  uint16_t word2C;
  uint32_t counter2;
  bool counter2Flag;
  double frameRate;
  float fractionValue;
  float halfValue2;
  uint8_t byte3A;
  uint8_t readout;
  uint8_t byte3C;
  uint8_t byte3D;
  float milliValue1;
  float temperature4;
  float temperature5;
  float temperature6;
  float temperature7;
  float milliValue2;
  float milliValue3;
  float milliValue4;
  uint32_t counter3;
  uint32_t counter4;
  uint16_t word56;
  uint8_t byte58;
  uint8_t byte59;
  uint16_t word5A;
  uint16_t word5C;
  uint16_t word5E;
  uint8_t byte7A;
  bool flag7B;
  float centiValue;
} tqvSHeader;

/* An IRIG time code. */
typedef struct tqvSIRIGTime {
  uint16_t day;
  uint8_t hour;
  uint8_t minute;
  uint8_t second;
  uint16_t millisecond;
  uint16_t microsecond;
} tqvSIRIGTime;

#pragma pack(pop)

/* The lens-controller extension of the frame header. */
typedef struct tqvSVornHeader {
  uint16_t type;
  float value1;
  int32_t position1;
  int32_t position2;
  float value2;
  float value3;
  float value4;
  float value5;
  float value6;
  uint16_t word1;
  uint8_t byte1;
} tqvSVornHeader;

/* The second platform's extension of the frame header. */
typedef struct tqvSTeskHeader {
  uint8_t type;
  uint16_t word1;
  float temperature; /* degrees Celsius */
} tqvSTeskHeader;

/* One row of the camera model table; the table ends with a row whose modelName is null. */
typedef struct tqvSModelInfo {
  uint8_t boardType;
  uint8_t cameraType;
  uint8_t detectorType;
  uint8_t readout;
  uint8_t subtype;
  uint8_t pleoraBoardType;
  uint8_t spare1;
  uint8_t lowCost;
  uint8_t automation;
  uint8_t spare2;
  const char* modelName;
  const char* subtypeName;
  const char* partNumber;
  double bandpassLow;  /* micrometres */
  double bandpassHigh; /* micrometres */
} tqvSModelInfo;

/* Listings handed to C hosts: opaque arrays of directory entries and of information entries. */
typedef struct tqvDirEntryArray tqvDirEntryArray;
typedef struct tqvInfoEntryArray tqvInfoEntryArray;

/* Progress of a transfer: bytes done so far and the size of the whole file. */
typedef int (*tqvProgressCallback)(unsigned int done, unsigned int total, void* context);

#ifdef __cplusplus
#include <zel/cam/gic.h>
#include <zel/zel.h>

/* One entry of a camera directory listing. */
struct tqvSDirEntry {
  zel::CString fname;
  uint8_t attrib;
  uint32_t size;
  uint64_t timeLastModified;
};

/* One line of camera information. */
struct tqvSInfoEntry {
  zel::CString name;
  zel::CString value;
};

/* A host file opened by the caller, and the progress delegate (done, total) of transfers. */
typedef zel::TSharedPtr<zel::IFile> tqvFilePtr;
typedef zel::delegate<int(unsigned int, unsigned int)> tqvProgressDelegate;
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ======================================================================== Handles */

/* Creates a handle over an open property-tree connection. The camera must report ready, and its
 * sensor constants must read; with flags bit 0 set the handle is kept even when they do not. */
TQV_API uint32_t tqvCreateParamTree(void** out, void* connection);
TQV_API uint32_t tqvCreateParamTreeEx(void** out, void* connection, uint32_t flags);
/* Releases a handle. Calls running on it finish first; always TQV_OK. */
TQV_API uint32_t tqvDestroy(void* handle);
/* The first handle created over the connection, or null. */
TQV_API void* tqvFromParamTree(void* connection);
/* The connection of a property-tree handle, or null. */
TQV_API void* tqvGetParamTree(void* handle);

#ifdef __cplusplus
/* Creates a handle over a GenICam device (see tqvCreateParamTree for flags). */
TQV_API uint32_t tqvCreateGenICam(void** out, zel::TSharedPtr<zel::cam::gic::IGenICam> device);
TQV_API uint32_t tqvCreateGenICamEx(void** out, zel::TSharedPtr<zel::cam::gic::IGenICam> device,
                                    uint32_t flags);
/* The first handle created over the device, or null. */
TQV_API void* tqvFromGenICam(zel::TSharedPtr<zel::cam::gic::IGenICam> device);
#endif

/* Memory handed out by the library (texts of listings, calibration tables). */
TQV_API void* tqvAlloc(size_t size);
TQV_API void tqvFree(void* pointer);
/* The text of a result code. */
TQV_API const char* tqvErrorToString(uint32_t code);

/* ======================================================================== Camera functions */

/* ---- Core (connection, cache, board, version, events) ---- */
TQV_API uint32_t tqvTestConnection(void* handle);
TQV_API uint32_t tqvGetMainAppVersion(void* handle, uint16_t* major, uint16_t* minor,
                                      uint16_t* build);
TQV_API uint32_t tqvIsTQV2(void* handle, bool* value);
TQV_API uint32_t tqvClearCache(void* handle);
TQV_API uint32_t tqvFillCache(void* handle);
TQV_API uint32_t tqvGetCacheEnabled(void* handle, bool* value);
TQV_API uint32_t tqvSetCacheEnabled(void* handle, bool value);
TQV_API uint32_t tqvReadEventQueue(void* handle, tqvEEventType* event);

/* ---- Image geometry, timing, presets, gain, bias, offset, clock conversions, sensor constants
 * ---- */
TQV_API uint32_t tqvGetWindow(void* handle, uint8_t preset, uint16_t* xOffset, uint16_t* yOffset,
                              uint16_t* width, uint16_t* height);
TQV_API uint32_t tqvSetWindow(void* handle, uint8_t preset, uint16_t xOffset, uint16_t yOffset,
                              uint16_t width, uint16_t height);
TQV_API uint32_t tqvGetWindowLimits(void* handle, uint16_t* minWidth, uint16_t* maxWidth,
                                    uint16_t* minHeight, uint16_t* maxHeight, uint16_t* xIncrement,
                                    uint16_t* yIncrement);
TQV_API uint32_t tqvGetIntegrationWidth(void* handle, uint8_t preset, uint32_t* clocks);
TQV_API uint32_t tqvSetIntegrationWidth(void* handle, uint8_t preset, uint32_t clocks);
TQV_API uint32_t tqvGetIntegrationTime(void* handle, uint8_t preset, double* milliseconds);
TQV_API uint32_t tqvSetIntegrationTime(void* handle, uint8_t preset, double milliseconds);
TQV_API uint32_t tqvGetFrameWidth(void* handle, uint8_t preset, uint32_t* clocks);
TQV_API uint32_t tqvSetFrameWidth(void* handle, uint8_t preset, uint32_t clocks);
TQV_API uint32_t tqvGetFrameRate(void* handle, uint8_t preset, double* hertz);
TQV_API uint32_t tqvSetFrameRate(void* handle, uint8_t preset, double hertz);
TQV_API uint32_t tqvGetPresetSequencingMode(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetPresetSequencingMode(void* handle, uint8_t value);
TQV_API uint32_t tqvGetSuperframeWidth(void* handle, uint32_t* value);
TQV_API uint32_t tqvSetSuperframeWidth(void* handle, uint32_t value);
TQV_API uint32_t tqvGetSuperframeRate(void* handle, double* value);
TQV_API uint32_t tqvSetSuperframeRate(void* handle, double value);
TQV_API uint32_t tqvGetActivePreset(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetActivePreset(void* handle, uint8_t preset);
TQV_API uint32_t tqvGetInvertEnabled(void* handle, bool* value);
TQV_API uint32_t tqvSetInvertEnabled(void* handle, bool value);
TQV_API uint32_t tqvGetRevertEnabled(void* handle, bool* value);
TQV_API uint32_t tqvSetRevertEnabled(void* handle, bool value);
TQV_API uint32_t tqvGetDigitalGain(void* handle, uint8_t preset, float* gain);
TQV_API uint32_t tqvSetDigitalGain(void* handle, uint8_t preset, float gain);
TQV_API uint32_t tqvGetDigitalOffset(void* handle, uint8_t preset, float* offset);
TQV_API uint32_t tqvSetDigitalOffset(void* handle, uint8_t preset, float offset);
TQV_API uint32_t tqvGetDwellCount(void* handle, uint8_t preset, uint32_t* count);
TQV_API uint32_t tqvSetDwellCount(void* handle, uint8_t preset, uint32_t count);
TQV_API uint32_t tqvGetDwellCounts(void* handle, uint32_t* count0, uint32_t* count1,
                                   uint32_t* count2, uint32_t* count3);
TQV_API uint32_t tqvSetDwellCounts(void* handle, uint32_t count0, uint32_t count1, uint32_t count2,
                                   uint32_t count3);
TQV_API uint32_t tqvGetSubframeEnabled(void* handle, uint8_t preset, bool* enabled);
TQV_API uint32_t tqvSetSubframeEnabled(void* handle, uint8_t preset, bool enabled);
TQV_API uint32_t tqvGetSubframesEnabled(void* handle, bool* enabled0, bool* enabled1,
                                        bool* enabled2, bool* enabled3);
TQV_API uint32_t tqvSetSubframesEnabled(void* handle, bool enabled0, bool enabled1, bool enabled2,
                                        bool enabled3);
TQV_API uint32_t tqvGetSupportedGainLevels(void* handle, uint8_t* value);
TQV_API uint32_t tqvGetGainLevel(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetGainLevel(void* handle, uint8_t value);
TQV_API uint32_t tqvGetFPABias(void* handle, float* value);
TQV_API uint32_t tqvSetFPABias(void* handle, float value);
TQV_API uint32_t tqvGetFPABiasLimits(void* handle, float* minimum, float* maximum);
TQV_API uint32_t tqvGetGlobalOffsetVoltage(void* handle, float* value);
TQV_API uint32_t tqvSetGlobalOffsetVoltage(void* handle, float value);
TQV_API uint32_t tqvGetGlobalOffsetVoltageLimits(void* handle, float* minimum, float* maximum);
TQV_API uint32_t tqvGetSkimmingAvailable(void* handle, bool* value);
TQV_API uint32_t tqvGetSkimmingEnabled(void* handle, bool* value);
TQV_API uint32_t tqvSetSkimmingEnabled(void* handle, bool value);
TQV_API uint32_t tqvGetSkimmingVoltage(void* handle, float* value);
TQV_API uint32_t tqvSetSkimmingVoltage(void* handle, float value);
TQV_API uint32_t tqvGetSkimmingVoltageLimits(void* handle, float* minimum, float* maximum);
TQV_API uint32_t tqvClocksToHertz(void* handle, uint32_t clocks, double* hertz);
TQV_API uint32_t tqvHertzToClocks(void* handle, double hertz, uint32_t* clocks);
TQV_API uint32_t tqvSnapHertz(void* handle, double hertz, double* snapped);
TQV_API uint32_t tqvClocksToMilliseconds(void* handle, uint32_t clocks, double* milliseconds);
TQV_API uint32_t tqvMillisecondsToClocks(void* handle, double milliseconds, uint32_t* clocks);
TQV_API uint32_t tqvSnapMilliseconds(void* handle, double milliseconds, double* snapped);
TQV_API uint32_t tqvGetMinFrameWidth(void* handle, uint32_t* value);
TQV_API uint32_t tqvGetMaxFrameWidth(void* handle, uint32_t* value);
TQV_API uint32_t tqvGetMinIntWidth(void* handle, uint32_t* value);
TQV_API uint32_t tqvGetMaxIntWidth(void* handle, uint32_t* value);
TQV_API uint32_t tqvCalcDataWidth(void* handle, uint32_t* dataWidth, uint16_t width,
                                  uint16_t height);
TQV_API uint32_t tqvCalcMinFrameWidth(void* handle, uint32_t* minFrameWidth, uint16_t width,
                                      uint16_t height);
TQV_API uint32_t tqvCalcMinFrameWidthEx(void* handle, uint32_t* minFrameWidth, uint16_t width,
                                        uint16_t height, uint32_t integrationWidth, bool itr);
TQV_API uint32_t tqvCalcMinSuperframeWidth(void* handle, uint32_t* minSuperframeWidth,
                                           uint16_t width, uint16_t height,
                                           uint32_t* integrationWidths, bool* enabled, bool itr);
TQV_API uint32_t tqvCalcMaxIntWidth(void* handle, uint32_t* maxIntWidth, uint32_t frameWidth);
TQV_API uint32_t tqvIsITR(void* handle, uint16_t width, uint16_t height, uint32_t integrationWidth,
                          uint32_t frameWidth, bool* itr);
TQV_API uint32_t tqvNeedITR(void* handle, uint8_t presetSequencingMode, uint8_t frameSyncMode,
                            bool* itr);
TQV_API uint32_t tqvNeedITREx(void* handle, bool* value);
TQV_API uint32_t tqvBoundSuperframeRate(void* handle, bool itr);
TQV_API uint32_t tqvBoundFrameRate(void* handle, uint8_t preset, bool itr);
TQV_API uint32_t tqvBoundFrameRates(void* handle);
TQV_API uint32_t tqvGetFPABiasEx(void* handle, uint8_t index, float* volts);
TQV_API uint32_t tqvSetFPABiasEx(void* handle, uint8_t index, float volts);
TQV_API uint32_t tqvGetFPABiasLimitsEx(void* handle, uint8_t index, float* minimum, float* maximum);
TQV_API uint32_t tqvGetFPABiasCount(void* handle, uint8_t* value);
TQV_API uint32_t tqvGetMfgOverrideRoicConfig(void* handle, bool* value);
TQV_API uint32_t tqvSetMfgOverrideRoicConfig(void* handle, bool value);
TQV_API uint32_t tqvGetMfgLineDeadWidth(void* handle, uint32_t* value);
TQV_API uint32_t tqvSetMfgLineDeadWidth(void* handle, uint32_t value);
TQV_API uint32_t tqvGetMfgPreIntDeadWidth(void* handle, uint32_t* value);
TQV_API uint32_t tqvSetMfgPreIntDeadWidth(void* handle, uint32_t value);
TQV_API uint32_t tqvGetMfgPostIntDeadWidth(void* handle, uint32_t* value);
TQV_API uint32_t tqvSetMfgPostIntDeadWidth(void* handle, uint32_t value);
TQV_API uint32_t tqvGetMfgPreDeadRows(void* handle, uint32_t* value);
TQV_API uint32_t tqvSetMfgPreDeadRows(void* handle, uint32_t value);
TQV_API uint32_t tqvGetMfgPostDeadRows(void* handle, uint32_t* value);
TQV_API uint32_t tqvSetMfgPostDeadRows(void* handle, uint32_t value);
TQV_API uint32_t tqvGetMfgHasExtraLSync(void* handle, bool* value);
TQV_API uint32_t tqvSetMfgHasExtraLSync(void* handle, bool value);
TQV_API uint32_t tqvGetClockFrequency(void* handle, uint32_t* value);

/* ---- Identity, camera information and camera capabilities ---- */
TQV_API uint32_t tqvGetCameraSN(void* handle, char* buffer, int32_t size);
TQV_API uint32_t tqvSetCameraSN(void* handle, const char* text);
TQV_API uint32_t tqvGetCameraModel(void* handle, char* buffer, int32_t size);
TQV_API uint32_t tqvSetCameraModel(void* handle, const char* text);
TQV_API uint32_t tqvGetCameraType(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetCameraType(void* handle, uint8_t value);
TQV_API uint32_t tqvGetCameraSubtype(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetCameraSubtype(void* handle, uint8_t value);
TQV_API uint32_t tqvGetDetectorType(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetDetectorType(void* handle, uint8_t value);
TQV_API uint32_t tqvGetReadout(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetReadout(void* handle, uint8_t value);
TQV_API uint32_t tqvGetVariant(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetVariant(void* handle, uint8_t value);
TQV_API uint32_t tqvGetOperatingTime(void* handle, uint32_t* value);
TQV_API uint32_t tqvGetCameraExtraInfo(void* handle, tqvInfoEntryArray* list);
TQV_API uint32_t tqvGetLegacyVFPGA(void* handle, bool* value);
TQV_API uint32_t tqvGetBoardType(void* handle, uint8_t* value);
TQV_API uint32_t tqvGetBlackHotAvailable(void* handle, bool* value);
TQV_API uint32_t tqvGetBlackHotEnabled(void* handle, bool* value);
TQV_API uint32_t tqvSetBlackHotEnabled(void* handle, bool value);
TQV_API uint32_t tqvGetNumColors(void* handle, uint8_t* value);
TQV_API uint32_t tqvGetColor(void* handle, uint8_t preset, uint8_t* color);
TQV_API uint32_t tqvSetColor(void* handle, uint8_t preset, uint8_t color);
TQV_API uint32_t tqvReboot(void* handle);

/* ---- Temperatures ---- */
TQV_API uint32_t tqvGetFPAColdTemperature(void* handle, float* value);
TQV_API uint32_t tqvSetFPAColdTemperature(void* handle, float value);
TQV_API uint32_t tqvGetFPATemperature(void* handle, float* value);
TQV_API uint32_t tqvGetBoardTemperatures(void* handle, float* digitizer, float* powerBoard);
TQV_API uint32_t tqvGetVxTemperatures(void* handle, float* frontPanel, float* airGap,
                                      float* internal);
TQV_API uint32_t tqvGetKxTemperatures(void* handle, float* frontPanel, float* airGap);
TQV_API uint32_t tqvGetTxTemperatures(void* handle, float* value);
TQV_API uint32_t tqvGetLensTemperature(void* handle, float* value);

/* ---- Clock, IRIG time, frame sync, triggering, sync out ---- */
TQV_API uint32_t tqvGetRealTimeClock(void* handle, uint8_t* year, uint8_t* month, uint8_t* day,
                                     uint8_t* hour, uint8_t* minute, uint8_t* second);
TQV_API uint32_t tqvSetRealTimeClock(void* handle, uint8_t year, uint8_t month, uint8_t day,
                                     uint8_t hour, uint8_t minute, uint8_t second);
TQV_API uint32_t tqvGetIRIGTime(void* handle, uint16_t* year, uint16_t* day, uint8_t* hour,
                                uint8_t* minute, uint8_t* second, uint16_t* millisecond,
                                uint16_t* microsecond);
TQV_API uint32_t tqvSetIRIGTime(void* handle, uint16_t year, uint16_t day, uint8_t hour,
                                uint8_t minute, uint8_t second, uint16_t millisecond,
                                uint16_t microsecond);
TQV_API uint32_t tqvGetIRIGLocked(void* handle, bool* value);
TQV_API uint32_t tqvGetFrameSyncMode(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetFrameSyncMode(void* handle, uint8_t value);
TQV_API uint32_t tqvGetFrameSyncSource(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetFrameSyncSource(void* handle, uint8_t value);
TQV_API uint32_t tqvGetFrameSyncPolarity(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetFrameSyncPolarity(void* handle, uint8_t value);
TQV_API uint32_t tqvGetFrameSyncDelay(void* handle, float* value);
TQV_API uint32_t tqvSetFrameSyncDelay(void* handle, float value);
TQV_API uint32_t tqvGetTriggerSource(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetTriggerSource(void* handle, uint8_t value);
TQV_API uint32_t tqvGetTriggerPolarity(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetTriggerPolarity(void* handle, uint8_t value);
TQV_API uint32_t tqvGetTriggerDelay(void* handle, float* value);
TQV_API uint32_t tqvSetTriggerDelay(void* handle, float value);
TQV_API uint32_t tqvGetSequenceCount(void* handle, uint32_t* value);
TQV_API uint32_t tqvSetSequenceCount(void* handle, uint32_t value);
TQV_API uint32_t tqvGetInternalTriggerWidth(void* handle, uint32_t* value);
TQV_API uint32_t tqvSetInternalTriggerWidth(void* handle, uint32_t value);
TQV_API uint32_t tqvGetInternalTriggerRate(void* handle, double* value);
TQV_API uint32_t tqvSetInternalTriggerRate(void* handle, double value);
TQV_API uint32_t tqvGetTriggerMode(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetTriggerMode(void* handle, uint8_t value);
TQV_API uint32_t tqvRearmTrigger(void* handle);
TQV_API uint32_t tqvSoftwareTrigger(void* handle);
TQV_API uint32_t tqvGetIRIGTriggerTime(void* handle, uint16_t* day, uint8_t* hour, uint8_t* minute,
                                       uint8_t* second, uint16_t* millisecond,
                                       uint16_t* microsecond);
TQV_API uint32_t tqvSetIRIGTriggerTime(void* handle, uint16_t day, uint8_t hour, uint8_t minute,
                                       uint8_t second, uint16_t millisecond, uint16_t microsecond);
TQV_API uint32_t tqvGetIntegrateOutPolarity(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetIntegrateOutPolarity(void* handle, uint8_t value);
TQV_API uint32_t tqvGetIRIGLatchSource(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetIRIGLatchSource(void* handle, uint8_t value);
TQV_API uint32_t tqvGetSyncOutSource(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetSyncOutSource(void* handle, uint8_t value);
TQV_API uint32_t tqvGetSyncOutDelay(void* handle, uint8_t preset, float* delay);
TQV_API uint32_t tqvSetSyncOutDelay(void* handle, uint8_t preset, float delay);
TQV_API uint32_t tqvGetSyncOutPolarity(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetSyncOutPolarity(void* handle, uint8_t value);

/* ---- Saturation thresholds and saturation status ---- */
TQV_API uint32_t tqvGetSaturationCountThreshold(void* handle, uint8_t preset, uint16_t* threshold);
TQV_API uint32_t tqvSetSaturationCountThreshold(void* handle, uint8_t preset, uint16_t threshold);
TQV_API uint32_t tqvGetSaturationPixelThreshold(void* handle, uint8_t preset, uint32_t* threshold);
TQV_API uint32_t tqvSetSaturationPixelThreshold(void* handle, uint8_t preset, uint32_t threshold);
TQV_API uint32_t tqvGetSaturatedPixels(void* handle, uint8_t preset, uint32_t* count);
TQV_API uint32_t tqvGetSaturatedFlag(void* handle, bool* value);

/* ---- Filter wheel ---- */
TQV_API uint32_t tqvGetFilterWheelPresent(void* handle, bool* value);
TQV_API uint32_t tqvScanFilters(void* handle);
TQV_API uint32_t tqvGetFilterIDs(void* handle, uint8_t* slot0, uint8_t* slot1, uint8_t* slot2,
                                 uint8_t* slot3);
TQV_API uint32_t tqvGetCurrentFilterID(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetCurrentFilterID(void* handle, uint8_t value);
TQV_API uint32_t tqvGetNumFilters(void* handle, uint8_t* value);
TQV_API uint32_t tqvGetFilterReplaceable(void* handle, bool* value);
TQV_API uint32_t tqvGetFilterIDInSlot(void* handle, uint8_t slot, uint8_t* id);
TQV_API uint32_t tqvSetFilterIDInSlot(void* handle, uint8_t slot, uint8_t id);
TQV_API uint32_t tqvGetFilterInfoAvailable(void* handle, bool* value);
TQV_API uint32_t tqvGetFilterInfoName(void* handle, uint32_t id, char* buffer, int32_t size);
TQV_API uint32_t tqvSetFilterInfoName(void* handle, uint32_t id, const char* name);

/* ---- Voltages ---- */
TQV_API uint32_t tqvGetVoltage(void* handle, const char* name, float* volts);
TQV_API uint32_t tqvGetVoltageEditable(void* handle, const char* name, bool* editable);
TQV_API uint32_t tqvSetVoltage(void* handle, const char* name, float volts);
TQV_API uint32_t tqvGetVoltageLimits(void* handle, const char* name, float* minimum,
                                     float* maximum);
TQV_API uint32_t tqvGetVoltageDisplayName(void* handle, const char* name, char* buffer,
                                          int32_t size);
#ifdef __cplusplus
TQV_API uint32_t tqvListVoltages(void* handle, zel::TArray<zel::CString>& list);
#endif

/* ---- Correction (NUC) files ---- */
TQV_API uint32_t tqvGetNUCName(void* handle, uint8_t preset, char* buffer, int32_t size);
TQV_API uint32_t tqvLoadNUC(void* handle, uint8_t preset, const char* name);
TQV_API uint32_t tqvUnloadNUC(void* handle, uint8_t preset);
TQV_API uint32_t tqvDeleteNUC(void* handle, const char* name);
TQV_API uint32_t tqvRenameNUC(void* handle, const char* oldName, const char* newName);
TQV_API uint32_t tqvQueryNUCInfo(void* handle, const char* name, tqvSNUCInfo* info);
TQV_API uint32_t tqvQueryNUCBasicInfo(void* handle, const char* name, tqvSNUCInfo* info);
TQV_API uint32_t tqvNUCExists(void* handle, const char* name);
TQV_API uint32_t tqvSaveNUC(void* handle, uint8_t preset);
TQV_API uint32_t tqvSaveNUCAs(void* handle, uint8_t preset, const char* name);
TQV_API uint32_t tqvListNUCs(void* handle, tqvDirEntryArray* list);
#ifdef __cplusplus
TQV_API uint32_t tqvDownloadNUC(void* handle, const char* name, tqvFilePtr file,
                                tqvProgressDelegate progress);
TQV_API uint32_t tqvUploadNUC(void* handle, const char* name, tqvFilePtr file,
                              tqvProgressDelegate progress);
TQV_API uint32_t tqvDownloadNUCStd(void* handle, const char* name, const char* hostPath,
                                   tqvProgressDelegate progress);
TQV_API uint32_t tqvUploadNUCStd(void* handle, const char* hostPath, tqvProgressDelegate progress);
TQV_API uint32_t tqvUploadNUCStdEx(void* handle, const char* name, const char* hostPath,
                                   tqvProgressDelegate progress);
#endif

/* ---- File transfers: states, lens states, palettes, factory default state, any file ---- */
TQV_API uint32_t tqvGetStateFileInfo(void* handle, const char* name, uint32_t* size,
                                     uint64_t* timeLastModified);
TQV_API uint32_t tqvGetLensStateFileInfo(void* handle, const char* name, uint32_t* size,
                                         uint64_t* timeLastModified);
TQV_API uint32_t tqvGetPaletteFileInfo(void* handle, const char* name, uint32_t* size,
                                       uint64_t* timeLastModified);
TQV_API uint32_t tqvGetFactoryDefaultStateFileInfo(void* handle, uint32_t* size,
                                                   uint64_t* timeLastModified);
#ifdef __cplusplus
TQV_API uint32_t tqvDownloadState(void* handle, const char* name, tqvFilePtr file,
                                  tqvProgressDelegate progress);
TQV_API uint32_t tqvUploadState(void* handle, const char* name, tqvFilePtr file,
                                tqvProgressDelegate progress);
TQV_API uint32_t tqvDownloadStateStd(void* handle, const char* name, const char* hostPath,
                                     tqvProgressDelegate progress);
TQV_API uint32_t tqvUploadStateStd(void* handle, const char* hostPath,
                                   tqvProgressDelegate progress);
TQV_API uint32_t tqvDownloadLensState(void* handle, const char* name, tqvFilePtr file,
                                      tqvProgressDelegate progress);
TQV_API uint32_t tqvUploadLensState(void* handle, const char* name, tqvFilePtr file,
                                    tqvProgressDelegate progress);
TQV_API uint32_t tqvDownloadLensStateStd(void* handle, const char* name, const char* hostPath,
                                         tqvProgressDelegate progress);
TQV_API uint32_t tqvUploadLensStateStd(void* handle, const char* hostPath,
                                       tqvProgressDelegate progress);
TQV_API uint32_t tqvDownloadPalette(void* handle, const char* name, tqvFilePtr file,
                                    tqvProgressDelegate progress);
TQV_API uint32_t tqvUploadPalette(void* handle, const char* name, tqvFilePtr file,
                                  tqvProgressDelegate progress);
TQV_API uint32_t tqvDownloadPaletteStd(void* handle, const char* name, const char* hostPath,
                                       tqvProgressDelegate progress);
TQV_API uint32_t tqvUploadPaletteStd(void* handle, const char* hostPath,
                                     tqvProgressDelegate progress);
TQV_API uint32_t tqvDownloadFactoryDefaultState(void* handle, tqvFilePtr file,
                                                tqvProgressDelegate progress);
TQV_API uint32_t tqvUploadFactoryDefaultState(void* handle, tqvFilePtr file,
                                              tqvProgressDelegate progress);
TQV_API uint32_t tqvDownloadFactoryDefaultStateStd(void* handle, const char* hostPath,
                                                   tqvProgressDelegate progress);
TQV_API uint32_t tqvUploadFactoryDefaultStateStd(void* handle, const char* hostPath,
                                                 tqvProgressDelegate progress);
TQV_API uint32_t tqvDownloadFile(void* handle, const char* cameraPath, tqvFilePtr file,
                                 tqvProgressDelegate progress);
TQV_API uint32_t tqvUploadFile(void* handle, const char* cameraPath, tqvFilePtr file,
                               tqvProgressDelegate progress);
TQV_API uint32_t tqvDownloadFileStd(void* handle, const char* cameraPath, const char* hostPath,
                                    tqvProgressDelegate progress);
TQV_API uint32_t tqvUploadFileStd(void* handle, const char* cameraPath, const char* hostPath,
                                  tqvProgressDelegate progress);
#endif

/* ---- Flag ---- */
TQV_API uint32_t tqvGetFlagPresent(void* handle, bool* value);
TQV_API uint32_t tqvGetFlagTemperatureControlled(void* handle, bool* value);
TQV_API uint32_t tqvGetFlagState(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetFlagState(void* handle, uint8_t value);
TQV_API uint32_t tqvGetFlagDesiredTemperature(void* handle, float* value);
TQV_API uint32_t tqvSetFlagDesiredTemperature(void* handle, float value);
TQV_API uint32_t tqvGetFlagCoolerEnabled(void* handle, bool* value);
TQV_API uint32_t tqvSetFlagCoolerEnabled(void* handle, bool value);
TQV_API uint32_t tqvGetFlagTemperature(void* handle, float* value);

/* ---- Focus, autofocus, field of view, lens control and lens information ---- */
TQV_API uint32_t tqvGetFocusPresent(void* handle, bool* value);
TQV_API uint32_t tqvGetFocusRange(void* handle, uint32_t* minimum, uint32_t* maximum);
TQV_API uint32_t tqvGetFocusPos(void* handle, uint32_t* value);
TQV_API uint32_t tqvSetFocusPos(void* handle, uint32_t value);
TQV_API uint32_t tqvAutoFocusFull(void* handle, bool wait);
TQV_API uint32_t tqvAutoFocusFast(void* handle, bool wait);
TQV_API uint32_t tqvSetAutoFocusROIShowWhenFocusing(void* handle, bool value);
TQV_API uint32_t tqvGetAutoFocusROIShowWhenFocusing(void* handle, bool* value);
TQV_API uint32_t tqvSetAutoFocusROISize(void* handle, uint16_t value);
TQV_API uint32_t tqvGetAutoFocusROISize(void* handle, uint16_t* value);
TQV_API uint32_t tqvSetAutoFocusROIPosition(void* handle, uint8_t value);
TQV_API uint32_t tqvGetAutoFocusROIPosition(void* handle, uint8_t* value);
TQV_API uint32_t tqvGetAutoFocusStatus(void* handle, uint16_t* code, char* buffer, int32_t size);
TQV_API uint32_t tqvGetAutoFocusResult(void* handle, uint16_t* code, char* buffer, int32_t size);
TQV_API uint32_t tqvWaitForAutoFocusDone(void* handle);
TQV_API uint32_t tqvGetFocusCurrentPos(void* handle, uint32_t* value);
TQV_API uint32_t tqvFocusNear(void* handle);
TQV_API uint32_t tqvFocusFar(void* handle);
TQV_API uint32_t tqvFocusMove(void* handle, int32_t speed);
TQV_API uint32_t tqvFocusMovePercent(void* handle, float percent);
TQV_API uint32_t tqvGetFocusMovePercentAvailable(void* handle, bool* value);
TQV_API uint32_t tqvFocusMoveBy(void* handle, int32_t steps);
TQV_API uint32_t tqvFocusMoveTo(void* handle, uint32_t position);
TQV_API uint32_t tqvGetFocusToDistanceAvailable(void* handle, bool* value);
TQV_API uint32_t tqvFocusToDistance(void* handle, float distance);
TQV_API uint32_t tqvGetFocusToDistanceMin(void* handle, float* value);
TQV_API uint32_t tqvGetFocusToDistanceMax(void* handle, float* value);
TQV_API uint32_t tqvGetFOVPresent(void* handle, bool* value);
TQV_API uint32_t tqvGetFOV(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetFOV(void* handle, uint8_t value);
TQV_API uint32_t tqvGetFocusNearPos(void* handle, uint8_t fov, uint32_t* position);
TQV_API uint32_t tqvSetFocusNearPos(void* handle, uint8_t fov, uint32_t position);
TQV_API uint32_t tqvGetFocusFarPos(void* handle, uint8_t fov, uint32_t* position);
TQV_API uint32_t tqvSetFocusFarPos(void* handle, uint8_t fov, uint32_t position);
TQV_API uint32_t tqvGetFOVIsContinuous(void* handle, bool* value);
TQV_API uint32_t tqvGetFOVRange(void* handle, uint32_t* minimum, uint32_t* maximum);
TQV_API uint32_t tqvGetFOVPos(void* handle, uint32_t* value);
TQV_API uint32_t tqvSetFOVPos(void* handle, uint32_t value);
TQV_API uint32_t tqvGetFOVCurrentPos(void* handle, uint32_t* value);
TQV_API uint32_t tqvFOVMin(void* handle);
TQV_API uint32_t tqvFOVMax(void* handle);
TQV_API uint32_t tqvFOVMove(void* handle, int32_t speed);
TQV_API uint32_t tqvFOVMovePercent(void* handle, float percent);
TQV_API uint32_t tqvGetFOVMovePercentAvailable(void* handle, bool* value);
TQV_API uint32_t tqvFOVMoveBy(void* handle, int32_t steps);
TQV_API uint32_t tqvFOVMoveTo(void* handle, uint32_t position);
TQV_API uint32_t tqvGetLensControlType(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetLensControlType(void* handle, uint8_t value);
TQV_API uint32_t tqvGetLensControlTypeWritable(void* handle, bool* value);
TQV_API uint32_t tqvGetFocusManualMode(void* handle, bool* value);
TQV_API uint32_t tqvGetLensInfoAvailable(void* handle, bool* value);
TQV_API uint32_t tqvGetLensFocalLength(void* handle, int32_t* value);
TQV_API uint32_t tqvGetLensBandPass(void* handle, uint8_t* value);
TQV_API uint32_t tqvGetLensSpecificType(void* handle, uint32_t* value);
TQV_API uint32_t tqvGetLensSpecificTypeAvailable(void* handle, bool* value);
TQV_API uint32_t tqvGetLensAthermalizationEnabledAvailable(void* handle, bool* value);
TQV_API uint32_t tqvGetLensAthermalizationEnabled(void* handle, bool* value);
TQV_API uint32_t tqvSetLensAthermalizationEnabled(void* handle, bool value);

/* ---- Lens states ---- */
TQV_API uint32_t tqvLoadLensState(void* handle, const char* name);
TQV_API uint32_t tqvReloadLensState(void* handle);
TQV_API uint32_t tqvDeleteLensState(void* handle, const char* name);
TQV_API uint32_t tqvRenameLensState(void* handle, const char* oldName, const char* newName);
TQV_API uint32_t tqvSaveLensState(void* handle);
TQV_API uint32_t tqvSaveLensStateAs(void* handle, const char* name);
TQV_API uint32_t tqvGetLensStateName(void* handle, char* buffer, int32_t size);
TQV_API uint32_t tqvLensStateExists(void* handle, const char* name);
TQV_API uint32_t tqvListLensStates(void* handle, tqvDirEntryArray* list);
TQV_API uint32_t tqvGetLensStateModified(void* handle, bool* value);

/* ---- Video output, AGC, overlay, hard defaults ---- */
TQV_API uint32_t tqvGetVideoPreset(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetVideoPreset(void* handle, uint8_t value);
TQV_API uint32_t tqvGetVideoFormat(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetVideoFormat(void* handle, uint8_t value);
TQV_API uint32_t tqvGetVideoUpdateRate(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetVideoUpdateRate(void* handle, uint8_t value);
TQV_API uint32_t tqvGetVideoPosition(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetVideoPosition(void* handle, uint8_t value);
TQV_API uint32_t tqvGetVideoTemporalFilter(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetVideoTemporalFilter(void* handle, uint8_t value);
TQV_API uint32_t tqvGetVideoTemporalFilterThreshold(void* handle, uint16_t* value);
TQV_API uint32_t tqvSetVideoTemporalFilterThreshold(void* handle, uint16_t value);
TQV_API uint32_t tqvGetVideoZoomFactor(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetVideoZoomFactor(void* handle, uint8_t value);
TQV_API uint32_t tqvGetVideoZoomBilinear(void* handle, bool* value);
TQV_API uint32_t tqvSetVideoZoomBilinear(void* handle, bool value);
TQV_API uint32_t tqvGetVideoOffset(void* handle, int16_t* x, int16_t* y);
TQV_API uint32_t tqvSetVideoOffset(void* handle, int16_t x, int16_t y);
TQV_API uint32_t tqvGetVideoAGCMethod(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetVideoAGCMethod(void* handle, uint8_t value);
TQV_API uint32_t tqvGetVideoAGCDampeningEnabled(void* handle, bool* value);
TQV_API uint32_t tqvSetVideoAGCDampeningEnabled(void* handle, bool value);
TQV_API uint32_t tqvGetVideoAGCDampening(void* handle, float* value);
TQV_API uint32_t tqvSetVideoAGCDampening(void* handle, float value);
TQV_API uint32_t tqvGetVideoAGCFilterRateEnabled(void* handle, bool* value);
TQV_API uint32_t tqvSetVideoAGCFilterRateEnabled(void* handle, bool value);
TQV_API uint32_t tqvGetVideoAGCFilterRate(void* handle, double* value);
TQV_API uint32_t tqvSetVideoAGCFilterRate(void* handle, double value);
TQV_API uint32_t tqvGetVideoAGCPlateauP(void* handle, uint32_t* value);
TQV_API uint32_t tqvSetVideoAGCPlateauP(void* handle, uint32_t value);
TQV_API uint32_t tqvGetVideoAGCManual(void* handle, uint16_t* low, uint16_t* high);
TQV_API uint32_t tqvSetVideoAGCManual(void* handle, uint16_t low, uint16_t high);
TQV_API uint32_t tqvGetVideoAGCManualLow(void* handle, uint16_t* value);
TQV_API uint32_t tqvSetVideoAGCManualLow(void* handle, uint16_t value);
TQV_API uint32_t tqvGetVideoAGCManualHigh(void* handle, uint16_t* value);
TQV_API uint32_t tqvSetVideoAGCManualHigh(void* handle, uint16_t value);
TQV_API uint32_t tqvGetVideoAGCDDESharpness(void* handle, uint16_t* value);
TQV_API uint32_t tqvSetVideoAGCDDESharpness(void* handle, uint16_t value);
TQV_API uint32_t tqvGetVideoAGCDDEThreshold(void* handle, uint16_t* value);
TQV_API uint32_t tqvSetVideoAGCDDEThreshold(void* handle, uint16_t value);
TQV_API uint32_t tqvGetVideoAGCROIEnabled(void* handle, bool* value);
TQV_API uint32_t tqvSetVideoAGCROIEnabled(void* handle, bool value);
TQV_API uint32_t tqvGetVideoAGCROIShowWhenEnabled(void* handle, bool* value);
TQV_API uint32_t tqvSetVideoAGCROIShowWhenEnabled(void* handle, bool value);
TQV_API uint32_t tqvGetVideoAGCROI(void* handle, uint16_t* xOffset, uint16_t* yOffset,
                                   uint16_t* width, uint16_t* height);
TQV_API uint32_t tqvSetVideoAGCROI(void* handle, uint16_t xOffset, uint16_t yOffset, uint16_t width,
                                   uint16_t height);
TQV_API uint32_t tqvGetVideoOverlayEnabled(void* handle, bool* value);
TQV_API uint32_t tqvSetVideoOverlayEnabled(void* handle, bool value);
TQV_API uint32_t tqvGetVideoOverlayShowDate(void* handle, bool* value);
TQV_API uint32_t tqvSetVideoOverlayShowDate(void* handle, bool value);
TQV_API uint32_t tqvGetVideoOverlayShowTime(void* handle, bool* value);
TQV_API uint32_t tqvSetVideoOverlayShowTime(void* handle, bool value);
TQV_API uint32_t tqvGetVideoOverlayShowLogo(void* handle, bool* value);
TQV_API uint32_t tqvSetVideoOverlayShowLogo(void* handle, bool value);
TQV_API uint32_t tqvGetVideoOverlayShowFOV(void* handle, bool* value);
TQV_API uint32_t tqvSetVideoOverlayShowFOV(void* handle, bool value);
TQV_API uint32_t tqvGetVideoOverlayShowZoom(void* handle, bool* value);
TQV_API uint32_t tqvSetVideoOverlayShowZoom(void* handle, bool value);
TQV_API uint32_t tqvGetVideoOverlayShowFocus(void* handle, bool* value);
TQV_API uint32_t tqvSetVideoOverlayShowFocus(void* handle, bool value);
TQV_API uint32_t tqvGetVideoOverlayShowLensTemp(void* handle, bool* value);
TQV_API uint32_t tqvSetVideoOverlayShowLensTemp(void* handle, bool value);
TQV_API uint32_t tqvGetVideoOverlayShowAirGapTemp(void* handle, bool* value);
TQV_API uint32_t tqvSetVideoOverlayShowAirGapTemp(void* handle, bool value);
TQV_API uint32_t tqvGetVideoOverlayShowInternalTemp(void* handle, bool* value);
TQV_API uint32_t tqvSetVideoOverlayShowInternalTemp(void* handle, bool value);
TQV_API uint32_t tqvGetVideoOverlayShowChassisTemp(void* handle, bool* value);
TQV_API uint32_t tqvSetVideoOverlayShowChassisTemp(void* handle, bool value);
TQV_API uint32_t tqvGetVideoOverlayShowFrontPanelTemp(void* handle, bool* value);
TQV_API uint32_t tqvSetVideoOverlayShowFrontPanelTemp(void* handle, bool value);
TQV_API uint32_t tqvGetVideoOverlayShowAGCROI(void* handle, bool* value);
TQV_API uint32_t tqvSetVideoOverlayShowAGCROI(void* handle, bool value);
TQV_API uint32_t tqvGetVideoOverlayShowFocusROI(void* handle, bool* value);
TQV_API uint32_t tqvSetVideoOverlayShowFocusROI(void* handle, bool value);
TQV_API uint32_t tqvGetVideoOverlayShowFlag(void* handle, bool* value);
TQV_API uint32_t tqvSetVideoOverlayShowFlag(void* handle, bool value);
TQV_API uint32_t tqvGetVideoOverlayShowPalette(void* handle, bool* value);
TQV_API uint32_t tqvSetVideoOverlayShowPalette(void* handle, bool value);
TQV_API uint32_t tqvGetVideoOverlayShowIRIG(void* handle, bool* value);
TQV_API uint32_t tqvSetVideoOverlayShowIRIG(void* handle, bool value);
TQV_API uint32_t tqvGetVideoOverlayShowFrameRate(void* handle, bool* value);
TQV_API uint32_t tqvSetVideoOverlayShowFrameRate(void* handle, bool value);
TQV_API uint32_t tqvGetVideoOverlayShowPreset(void* handle, bool* value);
TQV_API uint32_t tqvSetVideoOverlayShowPreset(void* handle, bool value);
TQV_API uint32_t tqvGetVideoOverlayShowHourMeter(void* handle, bool* value);
TQV_API uint32_t tqvSetVideoOverlayShowHourMeter(void* handle, bool value);
TQV_API uint32_t tqvGetVideoOverlayShowMessage(void* handle, bool* value);
TQV_API uint32_t tqvSetVideoOverlayShowMessage(void* handle, bool value);
TQV_API uint32_t tqvGetVideoOverlayShowCameraInfo(void* handle, bool* value);
TQV_API uint32_t tqvSetVideoOverlayShowCameraInfo(void* handle, bool value);
TQV_API uint32_t tqvGetVideoOverlayShowStateName(void* handle, bool* value);
TQV_API uint32_t tqvSetVideoOverlayShowStateName(void* handle, bool value);
TQV_API uint32_t tqvVideoOverlayClearMessage(void* handle);
TQV_API uint32_t tqvVideoOverlayUseDefaults(void* handle);
TQV_API uint32_t tqvVideoOverlayClear(void* handle);
TQV_API uint32_t tqvGetVideoOverlayTextColor(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetVideoOverlayTextColor(void* handle, uint8_t value);
TQV_API uint32_t tqvGetVideoOverlayTextBackground(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetVideoOverlayTextBackground(void* handle, uint8_t value);
TQV_API uint32_t tqvGetVideoOverlayAGCROIColor(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetVideoOverlayAGCROIColor(void* handle, uint8_t value);
TQV_API uint32_t tqvGetVideoOverlayFocusROIColor(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetVideoOverlayFocusROIColor(void* handle, uint8_t value);
TQV_API uint32_t tqvGetVideoOverlayUserDefinedFieldAvailable(void* handle, bool* value);
TQV_API uint32_t tqvGetVideoOverlayShowUserDefinedField(void* handle, bool* value);
TQV_API uint32_t tqvSetVideoOverlayShowUserDefinedField(void* handle, bool value);
TQV_API uint32_t tqvGetVideoOverlayUserDefinedFieldText(void* handle, char* buffer, int32_t size);
TQV_API uint32_t tqvSetVideoOverlayUserDefinedFieldText(void* handle, const char* text);
TQV_API uint32_t tqvGetVideoBrightness(void* handle, int8_t* value);
TQV_API uint32_t tqvSetVideoBrightness(void* handle, int8_t value);
TQV_API uint32_t tqvGetVideoContrast(void* handle, int8_t* value);
TQV_API uint32_t tqvSetVideoContrast(void* handle, int8_t value);
TQV_API uint32_t tqvLoadHardDefaults(void* handle);

/* ---- Saved states and defaults ---- */
TQV_API uint32_t tqvLoadState(void* handle, const char* name);
TQV_API uint32_t tqvDeleteState(void* handle, const char* name);
TQV_API uint32_t tqvRenameState(void* handle, const char* oldName, const char* newName);
TQV_API uint32_t tqvSaveState(void* handle);
TQV_API uint32_t tqvSaveStateAs(void* handle, const char* name);
TQV_API uint32_t tqvGetStateName(void* handle, char* buffer, int32_t size);
TQV_API uint32_t tqvIsFactoryDefaultState(void* handle, bool* value);
TQV_API uint32_t tqvStateExists(void* handle, const char* name);
TQV_API uint32_t tqvLoadFactoryDefaults(void* handle);
TQV_API uint32_t tqvSaveFactoryDefaults(void* handle);
TQV_API uint32_t tqvListStates(void* handle, tqvDirEntryArray* list);

/* ---- Non-uniformity correction control and bad pixels ---- */
TQV_API uint32_t tqvGetDigitalOutputNUCEnabled(void* handle, bool* value);
TQV_API uint32_t tqvSetDigitalOutputNUCEnabled(void* handle, bool value);
TQV_API uint32_t tqvGetVideoOutputNUCEnabled(void* handle, bool* value);
TQV_API uint32_t tqvSetVideoOutputNUCEnabled(void* handle, bool value);
TQV_API uint32_t tqvGetBadPixelCorrectionMethod(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetBadPixelCorrectionMethod(void* handle, uint8_t value);
TQV_API uint32_t tqvGetNUCType(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetNUCType(void* handle, uint8_t value);
TQV_API uint32_t tqvGetNUCSource(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetNUCSource(void* handle, uint8_t value);
TQV_API uint32_t tqvStartNUC(void* handle);
TQV_API uint32_t tqvContinueNUC(void* handle);
TQV_API uint32_t tqvAbortNUC(void* handle);
TQV_API uint32_t tqvAcceptNUC(void* handle);
TQV_API uint32_t tqvDiscardNUC(void* handle);
TQV_API uint32_t tqvGetNUCStatus(void* handle, uint16_t* code, char* buffer, int32_t size);
TQV_API uint32_t tqvGetNUCSize(void* handle, const char* name, uint32_t* size);
TQV_API uint32_t tqvGetNUCFileInfo(void* handle, const char* name, uint32_t* size,
                                   uint64_t* timeLastModified);
TQV_API uint32_t tqvGuessNUCSize(void* handle, uint16_t width, uint16_t height, uint32_t* size);
TQV_API uint32_t tqvGetNUCNumFrames(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetNUCNumFrames(void* handle, uint8_t value);
TQV_API uint32_t tqvGetNUCSetup(void* handle, float* gainMin, float* gainMax, uint16_t* adMin,
                                uint16_t* adMax, bool* detectBadPixels);
TQV_API uint32_t tqvSetNUCSetup(void* handle, float gainMin, float gainMax, uint16_t adMin,
                                uint16_t adMax, bool detectBadPixels);
TQV_API uint32_t tqvGetNUCUseFactoryBadPixels(void* handle, bool* value);
TQV_API uint32_t tqvSetNUCUseFactoryBadPixels(void* handle, bool value);
TQV_API uint32_t tqvGetTwinklerSetup(void* handle, bool* detect, uint32_t* framesToCollect,
                                     uint16_t* delta);
TQV_API uint32_t tqvSetTwinklerSetup(void* handle, bool detect, uint32_t framesToCollect,
                                     uint16_t delta);
TQV_API uint32_t tqvGetShowBadPixels(void* handle, bool* value);
TQV_API uint32_t tqvSetShowBadPixels(void* handle, bool value);
TQV_API uint32_t tqvGetNUCFlagSetpointType(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetNUCFlagSetpointType(void* handle, uint8_t value);
TQV_API uint32_t tqvGetNUCFlagSetpointDeltas(void* handle, float* low, float* high);
TQV_API uint32_t tqvSetNUCFlagSetpointDeltas(void* handle, float low, float high);
TQV_API uint32_t tqvGetNUCFlagSetpointTemps(void* handle, float* low, float* high);
TQV_API uint32_t tqvSetNUCFlagSetpointTemps(void* handle, float low, float high);
TQV_API uint32_t tqvGetNUCPresets(void* handle, bool* preset0, bool* preset1, bool* preset2,
                                  bool* preset3);
TQV_API uint32_t tqvSetNUCPresets(void* handle, bool preset0, bool preset1, bool preset2,
                                  bool preset3);
TQV_API uint32_t tqvGetNUCResult(void* handle, uint16_t* code, char* buffer, int32_t size);
TQV_API uint32_t tqvGetNUCResults(void* handle, uint8_t preset, uint32_t* total, uint32_t* factory,
                                  uint32_t* newPixels, uint32_t* twinkling, uint32_t* aboveGainMax,
                                  uint32_t* belowGainMin, uint32_t* aboveADMaxSrc1,
                                  uint32_t* belowADMinSrc1, uint32_t* aboveADMaxSrc2,
                                  uint32_t* belowADMinSrc2);
TQV_API uint32_t tqvGetNUCFlagConfig(void* handle, float* maxTemp, float* stableDelta,
                                     uint8_t* stableCount, uint32_t* timeout);
TQV_API uint32_t tqvSetNUCFlagConfig(void* handle, float maxTemp, float stableDelta,
                                     uint8_t stableCount, uint32_t timeout);
TQV_API uint32_t tqvGetAutoNUCSetup(void* handle, bool* enabled, bool* useDeltaTemp,
                                    float* deltaTemp, bool* useDeltaTime, uint32_t* deltaTime);
TQV_API uint32_t tqvSetAutoNUCSetup(void* handle, bool enabled, bool useDeltaTemp, float deltaTemp,
                                    bool useDeltaTime, uint32_t deltaTime);
TQV_API uint32_t tqvDoAutoNUC(void* handle);
TQV_API uint32_t tqvIsFactoryNUC(void* handle, const char* name, bool* isFactory);
TQV_API uint32_t tqvPickBadPixel(void* handle, uint16_t x, uint16_t y, int8_t preset, bool bad);
TQV_API uint32_t tqvSaveBadPixelList(void* handle, uint8_t preset, const char* fileName);
TQV_API uint32_t tqvLoadBadPixelList(void* handle, uint8_t preset, const char* fileName);
TQV_API uint32_t tqvMfgFactoryBPLCreate(void* handle, int8_t preset);
TQV_API uint32_t tqvMfgFactoryBPLAppend(void* handle, int8_t preset);
TQV_API uint32_t tqvMfgFactoryBPLApply(void* handle, int8_t preset);
TQV_API uint32_t tqvGetBadPixelListIOSupported(void* handle, bool* value);
TQV_API uint32_t tqvGetAutoNUCInProgress(void* handle, bool* value);

/* ---- Camera storage: free space, files and directories ---- */
TQV_API uint32_t tqvGetDriveFreeSpace(void* handle, uint64_t* value);
TQV_API uint32_t tqvGetNUCFreeSpace(void* handle, uint64_t* value);
TQV_API uint32_t tqvCreateDir(void* handle, const char* path);
TQV_API uint32_t tqvRemoveFile(void* handle, const char* path);
TQV_API uint32_t tqvRenameFile(void* handle, const char* oldPath, const char* newPath);
TQV_API uint32_t tqvFileExists(void* handle, const char* path);
TQV_API uint32_t tqvGetFileInfo(void* handle, const char* path, uint32_t* size,
                                uint64_t* timeLastModified);
TQV_API uint32_t tqvListDir(void* handle, const char* path, tqvDirEntryArray* list);
TQV_API uint32_t tqvRemoveDir(void* handle, const char* path);

/* ---- Palettes ---- */
TQV_API uint32_t tqvListPalettes(void* handle, tqvDirEntryArray* list);
TQV_API uint32_t tqvLoadPalette(void* handle, const char* name);
TQV_API uint32_t tqvGetPalette(void* handle, char* buffer, int32_t size);
TQV_API uint32_t tqvPaletteExists(void* handle, const char* name);
TQV_API uint32_t tqvRenamePalette(void* handle, const char* oldName, const char* newName);
TQV_API uint32_t tqvDeletePalette(void* handle, const char* name);

/* ---- Calibrations ---- */
TQV_API uint32_t tqvGetCalTag(void* handle, uint8_t preset, char* buffer, int32_t size);
TQV_API uint32_t tqvLoadCal(void* handle, uint8_t preset, const char* tag);
TQV_API uint32_t tqvUnloadCal(void* handle, uint8_t preset);
TQV_API uint32_t tqvGetCalName(void* handle, const char* tag, char* buffer, int32_t size);
TQV_API uint32_t tqvGetCalInfo(void* handle, const char* tag, tqvSCalInfo* info, bool withTable);
TQV_API uint32_t tqvGetCalLookupTableSize(void* handle, const char* tag, uint32_t* size);
TQV_API uint32_t tqvGetCalLookupTable(void* handle, const char* tag, double* first, double* second,
                                      uint32_t count);
TQV_API uint32_t tqvCalExists(void* handle, const char* tag);
TQV_API uint32_t tqvIsFactoryCalibrated(void* handle, bool* value);
#ifdef __cplusplus
TQV_API uint32_t tqvGetCalTags(void* handle, zel::TArray<zel::CString>& list);
#endif

/* ---- Camera interfaces (GigE, CameraLink, CoaXPress, Pleora interface board), lock-in, HSM,
 * header modes, transport type ---- */
TQV_API uint32_t tqvGetGigEPreset(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetGigEPreset(void* handle, uint8_t value);
TQV_API uint32_t tqvGetGigEPresetSupported(void* handle, bool* value);
TQV_API uint32_t tqvGetCameraLinkTypeAvailable(void* handle, bool* value);
TQV_API uint32_t tqvGetCameraLinkTypeWritable(void* handle, bool* value);
TQV_API uint32_t tqvGetCameraLinkType(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetCameraLinkType(void* handle, uint8_t value);
TQV_API uint32_t tqvGetCoaXPressLinkCount(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetCoaXPressLinkCount(void* handle, uint8_t value);
TQV_API uint32_t tqvGetCoaXPressLinkCountAvailable(void* handle, bool* value);
TQV_API uint32_t tqvGetCoaXPressLinkCountWritable(void* handle, bool* value);
TQV_API uint32_t tqvGetPleoraBoardType(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetPleoraBoardType(void* handle, uint8_t value);
TQV_API uint32_t tqvGetHSMAvailable(void* handle, bool* value);
TQV_API uint32_t tqvGetHSMEnabled(void* handle, bool* value);
TQV_API uint32_t tqvSetHSMEnabled(void* handle, bool value);
TQV_API uint32_t tqvGetLockinAvailable(void* handle, bool* value);
TQV_API uint32_t tqvGetLockinCoupling(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetLockinCoupling(void* handle, uint8_t value);
TQV_API uint32_t tqvGetLockinOneShotDelay(void* handle, uint32_t* value);
TQV_API uint32_t tqvSetLockinOneShotDelay(void* handle, uint32_t value);
TQV_API uint32_t tqvGetLockinEstInputFreq(void* handle, float* value);
TQV_API uint32_t tqvSetLockinEstInputFreq(void* handle, float value);
TQV_API uint32_t tqvGetLockinAlphaFilter(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetLockinAlphaFilter(void* handle, uint8_t value);
TQV_API uint32_t tqvGetLockinSampleDecimation(void* handle, uint32_t* value);
TQV_API uint32_t tqvSetLockinSampleDecimation(void* handle, uint32_t value);
TQV_API uint32_t tqvGetLockinSampleFreq(void* handle, float* value);
TQV_API uint32_t tqvSetLockinSampleFreq(void* handle, float value);
TQV_API uint32_t tqvGetCameraLinkHeaderModeAvailable(void* handle, bool* value);
TQV_API uint32_t tqvGetCameraLinkHeaderMode(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetCameraLinkHeaderMode(void* handle, uint8_t value);
TQV_API uint32_t tqvGetCoaXPressHeaderModeAvailable(void* handle, bool* value);
TQV_API uint32_t tqvGetCoaXPressHeaderMode(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetCoaXPressHeaderMode(void* handle, uint8_t value);
TQV_API uint32_t tqvGetGigEHeaderModeAvailable(void* handle, bool* value);
TQV_API uint32_t tqvGetGigEHeaderMode(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetGigEHeaderMode(void* handle, uint8_t value);
TQV_API uint32_t tqvGetDeviceTLTypeAvailable(void* handle, bool* value);
TQV_API uint32_t tqvGetDeviceTLType(void* handle, uint8_t* value);

/* ---- Manufacturing: clock phase and cooler ---- */
TQV_API uint32_t tqvMfgGetClockPhaseShift(void* handle, uint32_t* value);
TQV_API uint32_t tqvMfgSetClockPhaseShift(void* handle, uint32_t value);
TQV_API uint32_t tqvMfgGetCoolerType(void* handle, uint8_t* value);
TQV_API uint32_t tqvMfgGetCoolerSetup(void* handle, float* p, float* i, float* d, float* offset);
TQV_API uint32_t tqvMfgSetCoolerSetup(void* handle, float p, float i, float d, float offset);
TQV_API uint32_t tqvMfgGetCoolerSetpoint(void* handle, float* value);
TQV_API uint32_t tqvMfgSetCoolerSetpoint(void* handle, float value);
TQV_API uint32_t tqvMfgGetCoolerPowerEnabled(void* handle, bool* value);
TQV_API uint32_t tqvMfgSetCoolerPowerEnabled(void* handle, bool value);

/* ---- Manufacturing: focus motor ---- */
TQV_API uint32_t tqvMfgGetFocusSpeeds(void* handle, uint8_t fov, uint32_t* slow, uint32_t* medium,
                                      uint32_t* fast);
TQV_API uint32_t tqvMfgSetFocusSpeeds(void* handle, uint8_t fov, uint32_t slow, uint32_t medium,
                                      uint32_t fast);
TQV_API uint32_t tqvMfgGetFocusSlowControl(void* handle, uint8_t fov, uint8_t* control);
TQV_API uint32_t tqvMfgSetFocusSlowControl(void* handle, uint8_t fov, uint8_t control);
TQV_API uint32_t tqvMfgGetFocusPositionIncrement(void* handle, uint8_t fov, uint32_t* increment);
TQV_API uint32_t tqvMfgSetFocusPositionIncrement(void* handle, uint8_t fov, uint32_t increment);
TQV_API uint32_t tqvMfgGetFocusAccuracy(void* handle, uint8_t fov, uint32_t* accuracy);
TQV_API uint32_t tqvMfgSetFocusAccuracy(void* handle, uint8_t fov, uint32_t accuracy);

/* ---- Solid-state recorder ---- */
TQV_API uint32_t tqvGetSsdPresent(void* handle, bool* value);
TQV_API uint32_t tqvGetSsdState(void* handle, uint8_t* value);
TQV_API uint32_t tqvGetSsdDrivePresent(void* handle, bool* value);
TQV_API uint32_t tqvGetSsdDriveRecognized(void* handle, bool* value);
TQV_API uint32_t tqvSsdArm(void* handle);
TQV_API uint32_t tqvSsdDisarm(void* handle);
TQV_API uint32_t tqvSsdSaveBuffer(void* handle);
TQV_API uint32_t tqvGetSsdSaveName(void* handle, char* buffer, int32_t size);
TQV_API uint32_t tqvSetSsdSaveName(void* handle, const char* text);
TQV_API uint32_t tqvSsdFormatDrive(void* handle);
TQV_API uint32_t tqvGetSsdMaxNumFrames(void* handle, uint32_t* value);
TQV_API uint32_t tqvGetSsdNumFrames(void* handle, uint32_t* value);
TQV_API uint32_t tqvSetSsdNumFrames(void* handle, uint32_t value);
TQV_API uint32_t tqvGetSsdNumFramesAcquired(void* handle, uint32_t* value);
TQV_API uint32_t tqvGetSsdPretriggerFrames(void* handle, uint32_t* value);
TQV_API uint32_t tqvSetSsdPretriggerFrames(void* handle, uint32_t value);
TQV_API uint32_t tqvGetSsdPlaybackWidth(void* handle, uint32_t* value);
TQV_API uint32_t tqvSetSsdPlaybackWidth(void* handle, uint32_t value);
TQV_API uint32_t tqvGetSsdPlaybackRate(void* handle, float* value);
TQV_API uint32_t tqvSetSsdPlaybackRate(void* handle, float value);
TQV_API uint32_t tqvSsdTrigger(void* handle);
TQV_API uint32_t tqvSsdPlayBuffer(void* handle);
TQV_API uint32_t tqvSsdPauseBuffer(void* handle);
TQV_API uint32_t tqvSsdResumeBuffer(void* handle);
TQV_API uint32_t tqvSsdStopBuffer(void* handle);
TQV_API uint32_t tqvGetSsdLoopPlayback(void* handle, bool* value);
TQV_API uint32_t tqvSetSsdLoopPlayback(void* handle, bool value);
TQV_API uint32_t tqvGetSsdPlaybackFrame(void* handle, uint32_t* value);
TQV_API uint32_t tqvGetSsdStartFrame(void* handle, uint32_t* value);
TQV_API uint32_t tqvSetSsdStartFrame(void* handle, uint32_t value);
TQV_API uint32_t tqvGetSsdEndFrame(void* handle, uint32_t* value);
TQV_API uint32_t tqvSetSsdEndFrame(void* handle, uint32_t value);
TQV_API uint32_t tqvGetSsdAutoSave(void* handle, bool* value);
TQV_API uint32_t tqvSetSsdAutoSave(void* handle, bool value);
TQV_API uint32_t tqvGetSsdAutoPlay(void* handle, bool* value);
TQV_API uint32_t tqvSetSsdAutoPlay(void* handle, bool value);
TQV_API uint32_t tqvSsdSkipForward(void* handle);
TQV_API uint32_t tqvSsdSkipBackward(void* handle);
TQV_API uint32_t tqvSsdSkipToFrame(void* handle, uint32_t frame);
TQV_API uint32_t tqvSsdLoadMovie(void* handle, int32_t index);
TQV_API uint32_t tqvGetSsdMovieCount(void* handle, uint32_t* value);
TQV_API uint32_t tqvGetSsdMovieInfo(void* handle, uint32_t index, tqvSSsdMovieInfo* info);
TQV_API uint32_t tqvGetSsdDriveSpaceTotal(void* handle, int64_t* value);
TQV_API uint32_t tqvGetSsdDriveSpaceUsed(void* handle, int64_t* value);
TQV_API uint32_t tqvGetSsdDriveSpaceFree(void* handle, int64_t* value);
TQV_API uint32_t tqvGetSsdRecordModeAvailable(void* handle, bool* value);
TQV_API uint32_t tqvGetSsdRecordMode(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetSsdRecordMode(void* handle, uint8_t value);
TQV_API uint32_t tqvGetSsdRecordType(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetSsdRecordType(void* handle, uint8_t value);
TQV_API uint32_t tqvGetSsdRecordDuration(void* handle, uint32_t* value);
TQV_API uint32_t tqvSetSsdRecordDuration(void* handle, uint32_t value);
TQV_API uint32_t tqvGetSsdRecordGated(void* handle, bool* value);
TQV_API uint32_t tqvSetSsdRecordGated(void* handle, bool value);
TQV_API uint32_t tqvSsdRecordPause(void* handle);
TQV_API uint32_t tqvSsdRecordStop(void* handle);
TQV_API uint32_t tqvSsdRecordResume(void* handle);
TQV_API uint32_t tqvSsdSaveInfoFile(void* handle, const char* name);
TQV_API uint32_t tqvGetSsdMaxNumFramesDisk(void* handle, uint32_t* value);
TQV_API uint32_t tqvSsdUnload(void* handle);
TQV_API uint32_t tqvGetSsdMovieLoaded(void* handle, bool* value);
TQV_API uint32_t tqvGetSsdAutoRearm(void* handle, bool* value);
TQV_API uint32_t tqvSetSsdAutoRearm(void* handle, bool value);
TQV_API uint32_t tqvGetSsdAutoDownload(void* handle, bool* value);
TQV_API uint32_t tqvSetSsdAutoDownload(void* handle, bool value);
TQV_API uint32_t tqvSsdAutoDownloadStart(void* handle);
TQV_API uint32_t tqvSsdAutoDownloadDone(void* handle);

/* ---- Lens cover ---- */
TQV_API uint32_t tqvGetLensCoverPresent(void* handle, bool* value);
TQV_API uint32_t tqvGetLensCoverState(void* handle, uint8_t* value);
TQV_API uint32_t tqvSetLensCoverState(void* handle, uint8_t value);

/* ======================================================================== Family helpers */

/* Presets the camera offers: 1 on a frame-grabber board (type 6), else 4. */
TQV_API uint32_t tqvGetNumPresets(void* handle, uint8_t* count);
/* True when the detector offers more than one gain level. */
TQV_API uint32_t tqvGetHasFPAGainLevels(void* handle, bool* has);
/* True unless the board is an "Alder" board. */
TQV_API uint32_t tqvGetBadPixelCorrectionMethodAvailable(void* handle, bool* available);
/* Single-preset view of the correction presets. */
TQV_API uint32_t tqvSetNUCPreset(void* handle, uint8_t preset);
TQV_API uint32_t tqvGetNUCPreset(void* handle, uint8_t* preset);
/* True for lens control types 1 and 2. */
TQV_API uint32_t tqvGetHasLensStatesFunctionality(void* handle, bool* has);
TQV_API uint32_t tqvGetVideoPositionWritable(void* handle, bool* writable);
TQV_API uint32_t tqvGetVideoOverlayTextColorsAvailable(void* handle, bool* available);
TQV_API uint32_t tqvGetHasFrontPanelTemperature(void* handle, bool* has);
TQV_API uint32_t tqvGetHasAirGapTemperature(void* handle, bool* has);
TQV_API uint32_t tqvGetHasChassisTemperature(void* handle, bool* has);
TQV_API uint32_t tqvGetHasInternalTemperature(void* handle, bool* has);
TQV_API uint32_t tqvGetHasLensTemperature(void* handle, bool* has);
TQV_API uint32_t tqvGetGenlockAvailable(void* handle, bool* available);
TQV_API uint32_t tqvIsWZN(void* handle, bool* result);
TQV_API uint32_t tqvIsXRefresh(void* handle, bool* result);
TQV_API uint32_t tqvGetTriLevelSyncSourceAvailable(void* handle, bool* available);
/* Header mode of the camera's data link: 0 headers on, 1 header only, 2 header disabled. */
TQV_API uint32_t tqvGetHeaderMode(void* handle, uint8_t* mode);
TQV_API uint32_t tqvSetHeaderMode(void* handle, uint8_t mode);

/* ======================================================================== File transfers */

/* Host-path transfers with a plain C progress callback (null: no progress reports). Uploads
 * without a camera name use the host file's name without directories and extension. */
TQV_API uint32_t tqvDownloadNUCStdC(void* handle, const char* name, const char* hostPath,
                                    tqvProgressCallback callback, void* context);
TQV_API uint32_t tqvUploadNUCStdC(void* handle, const char* hostPath, tqvProgressCallback callback,
                                  void* context);
TQV_API uint32_t tqvUploadNUCStdExC(void* handle, const char* name, const char* hostPath,
                                    tqvProgressCallback callback, void* context);
TQV_API uint32_t tqvDownloadStateStdC(void* handle, const char* name, const char* hostPath,
                                      tqvProgressCallback callback, void* context);
TQV_API uint32_t tqvUploadStateStdC(void* handle, const char* hostPath,
                                    tqvProgressCallback callback, void* context);
TQV_API uint32_t tqvDownloadFactoryDefaultStateStdC(void* handle, const char* hostPath,
                                                    tqvProgressCallback callback, void* context);
TQV_API uint32_t tqvUploadFactoryDefaultStateStdC(void* handle, const char* hostPath,
                                                  tqvProgressCallback callback, void* context);
TQV_API uint32_t tqvDownloadLensStateStdC(void* handle, const char* name, const char* hostPath,
                                          tqvProgressCallback callback, void* context);
TQV_API uint32_t tqvUploadLensStateStdC(void* handle, const char* hostPath,
                                        tqvProgressCallback callback, void* context);
TQV_API uint32_t tqvDownloadPaletteStdC(void* handle, const char* name, const char* hostPath,
                                        tqvProgressCallback callback, void* context);
TQV_API uint32_t tqvUploadPaletteStdC(void* handle, const char* hostPath,
                                      tqvProgressCallback callback, void* context);
TQV_API uint32_t tqvDownloadFileStdC(void* handle, const char* cameraPath, const char* hostPath,
                                     tqvProgressCallback callback, void* context);
TQV_API uint32_t tqvUploadFileStdC(void* handle, const char* cameraPath, const char* hostPath,
                                   tqvProgressCallback callback, void* context);

/* Directory listings for C hosts. Texts returned by the At accessors are released with tqvFree;
 * an index out of range gives an empty text or 0. */
TQV_API tqvDirEntryArray* tqvDirEntryArray_Alloc(void);
TQV_API uint32_t tqvDirEntryArray_size(const tqvDirEntryArray* array);
TQV_API char* tqvDirEntryArray_fnameAt(const tqvDirEntryArray* array, uint32_t index);
TQV_API uint8_t tqvDirEntryArray_attribAt(const tqvDirEntryArray* array, uint32_t index);
TQV_API uint32_t tqvDirEntryArray_sizeAt(const tqvDirEntryArray* array, uint32_t index);
TQV_API uint64_t tqvDirEntryArray_timeLastModifiedAt(const tqvDirEntryArray* array, uint32_t index);
TQV_API void tqvDirEntryArray_Free(tqvDirEntryArray* array);

TQV_API tqvInfoEntryArray* tqvInfoEntryArray_Alloc(void);
TQV_API uint32_t tqvInfoEntryArray_size(const tqvInfoEntryArray* array);
TQV_API char* tqvInfoEntryArray_nameAt(const tqvInfoEntryArray* array, uint32_t index);
TQV_API char* tqvInfoEntryArray_valueAt(const tqvInfoEntryArray* array, uint32_t index);
TQV_API void tqvInfoEntryArray_Free(tqvInfoEntryArray* array);

#ifdef __cplusplus
/* Host files for the file-object transfers; empty when the file cannot be opened. They return a
 * framework object from a C-linkage function, which only C++ callers see. */
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wreturn-type-c-linkage"
#endif
TQV_API tqvFilePtr tqvOpenFileStdWrite(const char* path);
TQV_API tqvFilePtr tqvOpenFileStdRead(const char* path);
#if defined(__clang__)
#pragma clang diagnostic pop
#endif
#endif

/* ======================================================================== Texts and tables */

/* Text of an enumeration code (null outside the table) and code of a text (TQV_ERROR when none
 * matches). Texts match whole and exactly; flag state, FOV, board type, lens cover state and lens
 * control type match without regard to ASCII case. */
TQV_API const char* tqvPresetSequencingModeText(uint32_t code);
TQV_API uint32_t tqvPresetSequencingModeEnum(const char* text);
TQV_API const char* tqvFrameSyncModeText(uint32_t code);
TQV_API uint32_t tqvFrameSyncModeEnum(const char* text);
TQV_API const char* tqvFrameSyncSourceText(uint32_t code);
TQV_API uint32_t tqvFrameSyncSourceEnum(const char* text);
TQV_API const char* tqvPolarityText(uint32_t code);
TQV_API uint32_t tqvPolarityEnum(const char* text);
TQV_API const char* tqvTriggerSourceText(uint32_t code);
TQV_API uint32_t tqvTriggerSourceEnum(const char* text);
TQV_API const char* tqvTriggerModeText(uint32_t code);
TQV_API uint32_t tqvTriggerModeEnum(const char* text);
TQV_API const char* tqvIRIGLatchSourceText(uint32_t code);
TQV_API uint32_t tqvIRIGLatchSourceEnum(const char* text);
TQV_API const char* tqvSyncOutSourceText(uint32_t code);
TQV_API uint32_t tqvSyncOutSourceEnum(const char* text);
TQV_API const char* tqvFlagStateText(uint32_t code);
TQV_API uint32_t tqvFlagStateEnum(const char* text);
TQV_API const char* tqvFOVText(uint32_t code);
TQV_API uint32_t tqvFOVEnum(const char* text);
TQV_API const char* tqvVideoFormatText(uint32_t code);
TQV_API uint32_t tqvVideoFormatEnum(const char* text);
TQV_API const char* tqvVideoUpdateRateText(uint32_t code);
TQV_API uint32_t tqvVideoUpdateRateEnum(const char* text);
TQV_API const char* tqvVideoPositionText(uint32_t code);
TQV_API uint32_t tqvVideoPositionEnum(const char* text);
TQV_API const char* tqvVideoTemporalFilterText(uint32_t code);
TQV_API uint32_t tqvVideoTemporalFilterEnum(const char* text);
TQV_API const char* tqvVideoZoomFactorText(uint32_t code);
TQV_API uint32_t tqvVideoZoomFactorEnum(const char* text);
TQV_API const char* tqvVideoAGCMethodText(uint32_t code);
TQV_API uint32_t tqvVideoAGCMethodEnum(const char* text);
TQV_API const char* tqvNUCTypeText(uint32_t code);
TQV_API uint32_t tqvNUCTypeEnum(const char* text);
TQV_API const char* tqvNUCSourceText(uint32_t code);
TQV_API uint32_t tqvNUCSourceEnum(const char* text);
TQV_API const char* tqvNUCFlagSetpointTypeText(uint32_t code);
TQV_API uint32_t tqvNUCFlagSetpointTypeEnum(const char* text);
TQV_API const char* tqvBadPixelCorrectionMethodText(uint32_t code);
TQV_API uint32_t tqvBadPixelCorrectionMethodEnum(const char* text);
TQV_API const char* tqvAutoFocusROIPositionText(uint32_t code);
TQV_API uint32_t tqvAutoFocusROIPositionEnum(const char* text);
TQV_API const char* tqvGigEPresetText(uint32_t code);
TQV_API uint32_t tqvGigEPresetEnum(const char* text);
TQV_API const char* tqvCoolerTypeText(uint32_t code);
TQV_API uint32_t tqvCoolerTypeEnum(const char* text);
TQV_API const char* tqvCameraLinkTypeText(uint32_t code);
TQV_API uint32_t tqvCameraLinkTypeEnum(const char* text);
TQV_API const char* tqvBoardTypeText(uint32_t code);
TQV_API uint32_t tqvBoardTypeEnum(const char* text);
TQV_API const char* tqvSsdStateText(uint32_t code);
TQV_API uint32_t tqvSsdStateEnum(const char* text);
TQV_API const char* tqvLensCoverStateText(uint32_t code);
TQV_API uint32_t tqvLensCoverStateEnum(const char* text);
TQV_API const char* tqvLensControlTypeText(uint32_t code);
TQV_API uint32_t tqvLensControlTypeEnum(const char* text);
TQV_API const char* tqvLensBandPassText(uint32_t code);
TQV_API uint32_t tqvLensBandPassEnum(const char* text);
TQV_API const char* tqvSsdRecordModeText(uint32_t code);
TQV_API uint32_t tqvSsdRecordModeEnum(const char* text);
TQV_API const char* tqvSsdRecordTypeText(uint32_t code);
TQV_API uint32_t tqvSsdRecordTypeEnum(const char* text);

/* Names into a caller's buffer: copied only when the text's length plus one is less than the
 * size, else TQV_ERROR and the buffer untouched. Codes without a name give "Unk(<code>)". Only
 * the low 8 bits of a code count. */
TQV_API uint32_t tqvGetCameraTypeName(uint32_t cameraType, char* buffer, int32_t size);
TQV_API uint32_t tqvGetCameraSubtypeName(uint32_t cameraType, uint32_t subtype, char* buffer,
                                         int32_t size);
TQV_API uint32_t tqvGetDetectorTypeName(uint32_t detectorType, char* buffer, int32_t size);
TQV_API uint32_t tqvGetReadoutName(uint32_t readout, char* buffer, int32_t size);
TQV_API uint32_t tqvGetVariantName(uint32_t variant, char* buffer, int32_t size);
TQV_API uint32_t tqvGetPleoraBoardTypeName(uint32_t pleoraBoardType, char* buffer, int32_t size);

/* The static name of a filter ID ("I AM ERROR" above 63). */
TQV_API const char* tqvGetFilterName(uint8_t id);
/* The camera's own filter name when it holds names, else the static one. */
TQV_API uint32_t tqvGetFilterNameEx(void* handle, uint8_t id, char* buffer, int32_t size);

/* The camera model table, ended by a row whose modelName is null. */
TQV_API const tqvSModelInfo* tqvGetModelInfoTable(void);
TQV_API uint32_t tqvGetIsLowCostEx(uint8_t cameraType, uint8_t subtype, bool* lowCost);
/* The 256-entry overlay colour table. */
TQV_API uint32_t tqvGetVideoOverlayPalette(void* handle, tqvSRGB* palette);
/* Not offered by any camera: always TQV_INVALID_ARGUMENT. */
TQV_API uint32_t tqvGetVideoMargin(void* handle, uint16_t* margin);
TQV_API uint32_t tqvSetVideoMargin(void* handle, uint16_t margin);

/* Name rules for files on the camera: TQV_OK when valid, else TQV_ERROR. */
TQV_API uint32_t tqvIsValidFileName(const char* name);
TQV_API uint32_t tqvIsValidStateName(const char* name);
TQV_API uint32_t tqvIsValidFilePath(const char* path);
TQV_API uint32_t tqvIsValidCalTag(const char* tag, bool* valid);

/* Look-ups that read the camera's identity and answer from the tables. */
TQV_API uint32_t tqvGetIsLowCost(void* handle, bool* lowCost);
TQV_API uint32_t tqvGetIsAutomation(void* handle, bool* automation);
TQV_API uint32_t tqvGetBandpass(void* handle, double* low, double* high);
TQV_API uint32_t tqvGetCameraPartNumber(void* handle, char* buffer, int32_t size);
TQV_API uint32_t tqvGetGainLevelsAreNamed(void* handle, bool* named);
TQV_API uint32_t tqvGetGainLevelName(void* handle, uint8_t level, char* buffer, int32_t size);
#ifdef __cplusplus
/* Video format and zoom factor codes the camera offers, in display order. */
TQV_API uint32_t tqvGetVideoFormats(void* handle, zel::TArray<uint8_t>& formats);
TQV_API uint32_t tqvGetVideoZoomFactors(void* handle, zel::TArray<uint8_t>& factors);
#endif

/* ======================================================================== Frame headers */

TQV_API uint32_t tqvDecodeHeaderRaw(tqvSHeaderRaw* raw, const void* header);
TQV_API uint32_t tqvHeaderFromRawHeader(tqvSHeader* header, const tqvSHeaderRaw* raw);
TQV_API uint32_t tqvDecodeHeader(tqvSHeader* header, const void* bytes);
/* words: the four 16-bit words of the time code; flag: the time-code flag (bit 15 of word 0). */
TQV_API uint32_t tqvDecodeIRIG(const uint16_t* words, tqvSIRIGTime* time, bool* flag);
/* The extension decoders answer TQV_NOT_SUPPORTED for an extension they do not know. */
TQV_API uint32_t tqvDecodeVORNHeader(tqvSVornHeader* vorn, const tqvSHeaderRaw* raw);
TQV_API uint32_t tqvDecodeTeskHeader(tqvSTeskHeader* tesk, const tqvSHeaderRaw* raw);

/* ======================================================================== Correction files */

TQV_API uint32_t tqvDefaultNUCInfo(tqvSNUCInfo* info);
TQV_API uint32_t tqvReadNUCFileInfo(const char* path, tqvSNUCInfo* info);
/* *table receives windowWidth x windowHeight words, released with free(). */
TQV_API uint32_t tqvLoadNUCFile(const char* path, tqvSNUCInfo* info, uint32_t** table);
/* Reads a window of a stored table in the requested orientation; info may be null. */
TQV_API uint32_t tqvReadNUCFileTable(const char* path, uint32_t* table, uint16_t xOffset,
                                     uint16_t yOffset, uint16_t width, uint16_t height, bool invert,
                                     bool revert, uint16_t maxWidth, uint16_t maxHeight,
                                     tqvSNUCInfo* info);
TQV_API uint32_t tqvSaveNUCFile(const char* path, const tqvSNUCInfo* info, const uint32_t* table);
/* The correction word of a pixel: flag code (2 bits), offset (signed 14 bits), gain x 16383. */
TQV_API uint32_t tqvEncodeNUC(int16_t offset, uint8_t flag, float gain);
TQV_API uint32_t tqvDecodeNUC(uint32_t word, float* gain, uint16_t* offset, uint8_t* flag);

/* Desktop-tool correction files (".scg" gains, ".sco" offsets, ".sbp" bad-pixel map). */
TQV_API uint32_t tqvConvertCameraNUCToLumenNUC(const char* cameraPath, const char* lumenPath);
TQV_API uint32_t tqvConvertLumenNUCToCameraNUC(const char* lumenPath, const char* cameraPath);
TQV_API uint32_t tqvConvertLumenNUCToCameraNUCEx(const char* lumenPath, const char* cameraPath,
                                                 tqvSNUCInfo* info);
/* pixels: count pairs of (column, row). */
TQV_API uint32_t tqvSaveBplAsLumenSbp(const char* path, uint16_t width, uint16_t height,
                                      const uint16_t* pixels, uint32_t count);

#ifdef __cplusplus
} /* extern "C" */

/* The GenICam device of a handle; empty for an unknown or property-tree handle. */
TQV_API zel::TSharedPtr<zel::cam::gic::IGenICam> tqvGetGenICam(void* handle);
#endif

#endif /* TQVSDK_H */
