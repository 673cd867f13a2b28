/**
 * @file tqvSDK.h
 * The C interface of libtqvSDK, the library through which host programs control cooled-infrared
 * cameras.
 *
 * A host opens a connection to a camera with a client library (property tree or GenICam), hands
 * it to tqvCreateParamTree or tqvCreateGenICam and receives a handle. Every camera function takes
 * that handle first and returns a result code:
 * - TQV_OK on success; outputs are written only on success;
 * - TQV_ERROR for a handle that is not registered (null, never created or destroyed), before
 *   anything else is looked at;
 * - TQV_INVALID_ARGUMENT for a null pointer argument, before the camera is touched, unless the
 *   function says that null means something (optional outputs, a null callback);
 * - otherwise the camera's or the client library's code (texts: tqvErrorToString).
 *
 * A text output is a buffer and its size in bytes: the property tree and the library's own
 * functions copy a text only when the size exceeds its length plus one, GenICam when it exceeds
 * its length; otherwise TQV_ERROR and the buffer untouched. Enumerated settings travel as codes
 * whose texts the tqv<Name>Text functions give. Per-preset functions take preset 0-3 (a frame
 * grabber, board type 6, has preset 0 only); the property tree refuses a preset above 3 with
 * TQV_INVALID_ARGUMENT. The property-tree backend answers repeated reads of settings from its
 * cache (tqvSetCacheEnabled, tqvClearCache).
 *
 * The header compiles as C99 and as C++17. Entry points that use framework types (host file
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

/** Marks the functions the library exports. */
#if defined(__GNUC__)
#define TQV_API __attribute__((visibility("default")))
#else
#define TQV_API
#endif

/* ======================================================================== Result codes */

#define TQV_OK 0u                   /**< success */
#define TQV_TIMEOUT 1u              /**< the camera did not answer in time */
#define TQV_NOT_SUPPORTED 2u        /**< not supported in this form, or inconsistent camera state */
#define TQV_NOT_FOUND 160u          /**< no such item, index or path */
#define TQV_NO_LIMITS 161u          /**< the camera has no limits for this value */
#define TQV_NOT_WRITABLE 162u       /**< not writable in the present configuration */
#define TQV_FAILED 165u             /**< the operation failed */
#define TQV_INVALID_ARGUMENT 166u   /**< an argument is out of range */
#define TQV_UNEXPECTED_VALUE 167u   /**< the camera answered a value the library does not expect */
#define TQV_OUT_OF_ENUMERATION 168u /**< a value outside its enumeration */
#define TQV_TOO_LARGE 169u          /**< a text or table is too long or too large */
#define TQV_ACCESS_DENIED 170u      /**< the camera refused access */
#define TQV_ERROR 0xFFFFFFFFu       /**< unknown handle, or a failure without a finer code */

/* ======================================================================== Records */

/** One event code read from the camera's event queue; 0 means no event. */
typedef uint32_t tqvEEventType;

/** One colour of the overlay colour table. */
typedef struct tqvSRGB {
  uint8_t red;   /**< Red, 0-255. */
  uint8_t green; /**< Green, 0-255. */
  uint8_t blue;  /**< Blue, 0-255. */
} tqvSRGB;

/** The summary (header) of a camera correction (NUC) file. Texts hold at most 63 characters. */
typedef struct tqvSNUCInfo {
  char cameraType[64];         /**< Camera type text. */
  char cameraSerial[64];       /**< Camera serial number. */
  uint32_t fpgaFirmwareNumber; /**< FPGA firmware number. */
  uint8_t fpgaVersion;         /**< FPGA version. */
  uint8_t fpgaMajor;           /**< FPGA major version. */
  uint8_t fpgaMinor;           /**< FPGA minor version. */
  uint16_t windowOffsetX;      /**< Window x offset, pixels. */
  uint16_t windowOffsetY;      /**< Window y offset, pixels. */
  uint16_t windowWidth;        /**< Window width, pixels (columns of the table). */
  uint16_t windowHeight;       /**< Window height, pixels (rows of the table). */
  uint16_t maxWidth;           /**< Sensor width, pixels. */
  uint16_t maxHeight;          /**< Sensor height, pixels. */
  bool compressed;     /**< The data section is compressed (such files are refused on reading). */
  bool invert;         /**< Rows stored top to bottom flipped. */
  bool revert;         /**< Columns stored left to right flipped. */
  uint8_t readoutMode; /**< Frame sync mode code. */
  uint32_t integrationWidth;     /**< Integration period, detector clocks. */
  uint32_t frameWidth;           /**< Frame period, detector clocks. */
  uint8_t filterID;              /**< Filter ID (0-63). */
  uint8_t fpaBiasCount;          /**< Number of detector bias voltages. */
  float fpaBias;                 /**< First detector bias, volts. */
  float fpaBias1;                /**< Second detector bias, volts. */
  uint8_t fpaGainLevel;          /**< Detector gain level. */
  float digitalOffset;           /**< Digital offset. */
  float digitalGain;             /**< Digital gain. */
  float globalOffsetVoltage;     /**< Global offset voltage, volts. */
  char lens[64];                 /**< Lens text. */
  char lensFilter[64];           /**< Lens filter text. */
  bool skimmingEnabled;          /**< Skimming on. */
  float skimmingVoltage;         /**< Skimming voltage, volts. */
  uint8_t color;                 /**< Colour. */
  uint8_t nucType;               /**< Correction type code. */
  uint8_t nucSource;             /**< Correction source code. */
  uint32_t nucNumFrames;         /**< Frames averaged. */
  bool nucDetectBadPixels;       /**< Bad pixel detection on. */
  bool nucDetectTwinklers;       /**< Twinkling pixel detection on. */
  uint32_t nucTwinklerNumFrames; /**< Frames collected for twinkler detection. */
  uint16_t nucTwinklerDelta;     /**< Twinkler delta, counts. */
  uint16_t nucADMin;             /**< A/D minimum, counts. */
  uint16_t nucADMax;             /**< A/D maximum, counts. */
  float nucGainMin;              /**< Gain minimum. */
  float nucGainMax;              /**< Gain maximum. */
  uint32_t bpTotal;              /**< Bad pixels in all. */
  uint32_t bpTwinkling;          /**< Twinkling pixels. */
  uint32_t bpUser;               /**< User and factory bad pixels (one field for both keys). */
  uint32_t bpAboveGainMax;       /**< Pixels above the gain maximum. */
  uint32_t bpBelowGainMin;       /**< Pixels below the gain minimum. */
  uint32_t bpAboveADMaxSrc1;     /**< Pixels above the A/D maximum, source 1. */
  uint32_t bpBelowADMinSrc1;     /**< Pixels below the A/D minimum, source 1. */
  uint32_t bpAboveADMaxSrc2;     /**< Pixels above the A/D maximum, source 2. */
  uint32_t bpBelowADMinSrc2;     /**< Pixels below the A/D minimum, source 2. */
  uint32_t bpNew;                /**< New bad pixels. */
} tqvSNUCInfo;

/** One radiometric calibration stored on the camera. lutX and lutY are filled only on request;
 * they are allocated with tqvAlloc and released by the host with tqvFree. */
typedef struct tqvSCalInfo {
  char tag[256];        /**< The calibration's tag. */
  char name[256];       /**< Name. */
  char lens[256];       /**< Lens. */
  char lensFilter[256]; /**< Lens filter. */
  uint8_t filterID;     /**< Filter ID. */
  double minTemp;       /**< Lowest temperature. */
  double maxTemp;       /**< Highest temperature. */
  double minRad;        /**< Lowest radiance. */
  double maxRad;        /**< Highest radiance. */
  uint16_t minCounts;   /**< Lowest counts. */
  uint16_t maxCounts;   /**< Highest counts. */
  uint32_t lutSize;     /**< Entries of each look-up table. */
  double* lutX;         /**< First look-up table (lutSize entries) or null. */
  double* lutY;         /**< Second look-up table (lutSize entries) or null. */
  int32_t order;        /**< Order of the fit. */
  double C0;            /**< Fit coefficient 0. */
  double C1;            /**< Fit coefficient 1. */
  double C2;            /**< Fit coefficient 2. */
  double C3;            /**< Fit coefficient 3. */
  double C4;            /**< Fit coefficient 4. */
  double C5;            /**< Fit coefficient 5. */
  double C6;            /**< Fit coefficient 6. */
  double bgValue;       /**< Background value. */
  double bandpassLow;   /**< Low edge of the band. */
  double bandpassHigh;  /**< High edge of the band. */
  int32_t tempOrder;    /**< Order of the temperature fit. */
  double tempC0;        /**< Temperature fit coefficient 0. */
  double tempC1;        /**< Temperature fit coefficient 1. */
  double tempC2;        /**< Temperature fit coefficient 2. */
  double tempC3;        /**< Temperature fit coefficient 3. */
  double tempC4;        /**< Temperature fit coefficient 4. */
  double tempC5;        /**< Temperature fit coefficient 5. */
  double tempC6;        /**< Temperature fit coefficient 6. */
  double r;             /**< R of the calibration. */
  double b;             /**< B of the calibration. */
  double f;             /**< F of the calibration. */
  double atmX;          /**< Atmosphere X. */
  double atmAlpha1;     /**< Atmosphere alpha 1. */
  double atmAlpha2;     /**< Atmosphere alpha 2. */
  double atmBeta1;      /**< Atmosphere beta 1. */
  double atmBeta2;      /**< Atmosphere beta 2. */
} tqvSCalInfo;

#pragma pack(push, 1)

/** One movie on the recorder's drive. */
typedef struct tqvSSsdMovieInfo {
  char name[68];             /**< Movie name. */
  uint32_t number;           /**< Movie number. */
  uint16_t width;            /**< Image width, pixels. */
  uint16_t height;           /**< Image height, pixels. */
  uint32_t numFrames;        /**< Frames in the movie. */
  uint16_t startDay;         /**< Start: day of year. */
  uint8_t startHour;         /**< Start hour. */
  uint8_t startMinute;       /**< Start minute. */
  uint8_t startSecond;       /**< Start second. */
  uint16_t startMillisecond; /**< Start millisecond. */
  uint16_t startMicrosecond; /**< Start microsecond. */
  uint16_t endDay;           /**< End: day of year. */
  uint8_t endHour;           /**< End hour. */
  uint8_t endMinute;         /**< End minute. */
  uint8_t endSecond;         /**< End second. */
  uint16_t endMillisecond;   /**< End millisecond. */
  uint16_t endMicrosecond;   /**< End microsecond. */
} tqvSSsdMovieInfo;

/** The 128-byte header at the start of each frame, as it stands in the frame. */
typedef struct tqvSHeaderRaw {
  uint8_t bytes[128]; /**< The header bytes as they stand in the frame. */
} tqvSHeaderRaw;

/** The decoded frame header. Temperatures are in degrees Celsius, integrationTime in
 * milliseconds, frameRate in hertz. */
typedef struct tqvSHeader {
  uint8_t headerByte0;     /**< Byte 0. */
  uint32_t clockFrequency; /**< Detector clock, Hz. */
  uint16_t day;            /**< Time code: day of year. */
  uint8_t hour;            /**< Time code: hour. */
  uint8_t minute;          /**< Time code: minute. */
  uint8_t second;          /**< Time code: second. */
  uint16_t millisecond;    /**< Time code: millisecond. */
  uint16_t microsecond;    /**< Time code: microsecond. */
  bool timeCodeFlag;       /**< Time code flag. */
  uint8_t statusCode;      /**< Status code (2 bits). */
  bool statusBit15;        /**< Status bit 15. */
  bool statusBit14;        /**< Status bit 14. */
  bool statusBit4;         /**< Status bit 4. */
  bool statusBit3;         /**< Status bit 3. */
  bool statusBit2;         /**< Status bit 2. */
  bool statusBit5;         /**< Status bit 5. */
  bool statusBit13;        /**< Status bit 13. */
  float temperature1;      /**< Temperature 1, degrees Celsius. */
  float temperature2;      /**< Temperature 2, degrees Celsius. */
  float temperature3;      /**< Temperature 3, degrees Celsius. */
  float scaledValue1;      /**< A value scaled by 1/100. */
  uint32_t counter1;       /**< Counter 1. */
  double integrationTime;  /**< Integration time, milliseconds. */
  float halfValue1;        /**< A signed value in halves. */
  uint16_t word1E;         /**< Word at offset 0x1E. */
  uint16_t word22;         /**< Word at offset 0x22. */
  uint16_t word24;         /**< Word at offset 0x24. */
  uint16_t word26;         /**< Word at offset 0x26. */
  uint16_t word28;         /**< Word at offset 0x28. */
  uint16_t word2A;         /**< Word at offset 0x2A. */
  uint16_t word2C;         /**< Word at offset 0x2C. */
  uint32_t counter2;       /**< Counter 2. */
  bool counter2Flag;       /**< Top bit of counter 2. */
  double frameRate;        /**< Frame rate, hertz. */
  float fractionValue;     /**< A fraction (word / 16383). */
  float halfValue2;        /**< A signed value in halves. */
  uint8_t byte3A;          /**< Byte at offset 0x3A. */
  uint8_t readout;         /**< Readout chip code. */
  uint8_t byte3C;          /**< Byte at offset 0x3C. */
  uint8_t byte3D;          /**< Byte at offset 0x3D. */
  float milliValue1;       /**< A value in thousandths. */
  float temperature4;      /**< Temperature 4, degrees Celsius. */
  float temperature5;      /**< Temperature 5, degrees Celsius. */
  float temperature6;      /**< Temperature 6, degrees Celsius. */
  float temperature7;      /**< Temperature 7, degrees Celsius. */
  float milliValue2;       /**< A value in thousandths. */
  float milliValue3;       /**< A value in thousandths. */
  float milliValue4;       /**< A value in thousandths. */
  uint32_t counter3;       /**< Counter 3. */
  uint32_t counter4;       /**< Counter 4. */
  uint16_t word56;         /**< Word at offset 0x56. */
  uint8_t byte58;          /**< Byte at offset 0x58. */
  uint8_t byte59;          /**< Byte at offset 0x59. */
  uint16_t word5A;         /**< Word at offset 0x5A. */
  uint16_t word5C;         /**< Word at offset 0x5C. */
  uint16_t word5E;         /**< Word at offset 0x5E. */
  uint8_t byte7A;          /**< Byte at offset 0x7A. */
  bool flag7B;             /**< Bit 0 of byte 0x7B. */
  float centiValue;        /**< A value in hundredths. */
} tqvSHeader;

/** An IRIG time code. */
typedef struct tqvSIRIGTime {
  uint16_t day;         /**< Day of year. */
  uint8_t hour;         /**< Hour. */
  uint8_t minute;       /**< Minute. */
  uint8_t second;       /**< Second. */
  uint16_t millisecond; /**< Millisecond. */
  uint16_t microsecond; /**< Microsecond. */
} tqvSIRIGTime;

#pragma pack(pop)

/** The lens-controller extension of the frame header. */
typedef struct tqvSVornHeader {
  uint16_t type;     /**< Extension type. */
  float value1;      /**< First scaled value. */
  int32_t position1; /**< First position (signed 24 bits). */
  int32_t position2; /**< Second position (signed 24 bits). */
  float value2;      /**< Scaled value 2. */
  float value3;      /**< Scaled value 3. */
  float value4;      /**< Scaled value 4. */
  float value5;      /**< Scaled value 5. */
  float value6;      /**< Scaled value 6. */
  uint16_t word1;    /**< A copied word. */
  uint8_t byte1;     /**< A copied byte. */
} tqvSVornHeader;

/** The second platform's extension of the frame header. */
typedef struct tqvSTeskHeader {
  uint8_t type;      /**< Extension type (1 or 2). */
  uint16_t word1;    /**< A copied word. */
  float temperature; /**< Temperature, degrees Celsius (type 2). */
} tqvSTeskHeader;

/** One row of the camera model table; the table ends with a row whose modelName is null. */
typedef struct tqvSModelInfo {
  uint8_t boardType;       /**< Board type code. */
  uint8_t cameraType;      /**< Camera type code. */
  uint8_t detectorType;    /**< Detector material code. */
  uint8_t readout;         /**< Readout chip code. */
  uint8_t subtype;         /**< Camera subtype code. */
  uint8_t pleoraBoardType; /**< Pleora board type code. */
  uint8_t spare1;          /**< Spare flag. */
  uint8_t lowCost;         /**< 1 for a low-cost model. */
  uint8_t automation;      /**< 1 for an automation model. */
  uint8_t spare2;          /**< Spare flag. */
  const char* modelName;   /**< Model name; null in the end row. */
  const char* subtypeName; /**< Subtype name. */
  const char* partNumber;  /**< Part number. */
  double bandpassLow;      /**< Low edge of the band, micrometres. */
  double bandpassHigh;     /**< High edge of the band, micrometres. */
} tqvSModelInfo;

/** A listing handed to C hosts: an opaque array of directory entries (tqvDirEntryArray_*). */
typedef struct tqvDirEntryArray tqvDirEntryArray;
/** Camera information handed to C hosts: an opaque array of name and value texts. */
typedef struct tqvInfoEntryArray tqvInfoEntryArray;

/** Progress of a transfer: bytes done so far, the size of the whole file, and the host's
 * context. */
typedef int (*tqvProgressCallback)(unsigned int done, unsigned int total, void* context);

#ifdef __cplusplus
#include <zel/cam/gic.h>
#include <zel/zel.h>

/** One entry of a camera directory listing. */
struct tqvSDirEntry {
  zel::CString fname;        /**< Entry name. */
  uint8_t attrib;            /**< Attribute byte (the camera's). */
  uint32_t size;             /**< Size, bytes. */
  uint64_t timeLastModified; /**< Modification time (the camera's value). */
};

/** One line of camera information. */
struct tqvSInfoEntry {
  zel::CString name;  /**< What the line names. */
  zel::CString value; /**< Its value. */
};

/** A host file opened by the caller (tqvOpenFileStdRead, tqvOpenFileStdWrite). */
typedef zel::TSharedPtr<zel::IFile> tqvFilePtr;
/** The progress of a transfer for C++ hosts: (bytes done, total); may be empty. */
typedef zel::delegate<int(unsigned int, unsigned int)> tqvProgressDelegate;
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ======================================================================== Handles */
/** @name Handles
 * Creating, finding and releasing camera handles; memory and result texts. */
/** @{ */

/** Creates a handle over an open property-tree connection (as CreateParamTreeEx with flags 0);
 * TQV_ERROR when the camera is not ready, else the failure of reading its sensor constants. */
TQV_API uint32_t tqvCreateParamTree(void** out, void* connection);
/** Creates a handle over an open property-tree connection; flags bit 0 keeps the handle even when
 * the sensor constants do not read; *out is null on failure. */
TQV_API uint32_t tqvCreateParamTreeEx(void** out, void* connection, uint32_t flags);
/** Releases a handle; calls running on it finish first on the living camera; always TQV_OK, also
 * for an unknown handle. */
TQV_API uint32_t tqvDestroy(void* handle);
/** The first handle created over the property-tree connection, or null. */
TQV_API void* tqvFromParamTree(void* connection);
/** The connection of a property-tree handle; null for an unknown or GenICam handle. */
TQV_API void* tqvGetParamTree(void* handle);

#ifdef __cplusplus
/** Creates a handle over a GenICam device (as CreateGenICamEx with flags 0); TQV_ERROR when the
 * device is not ready. */
TQV_API uint32_t tqvCreateGenICam(void** out, zel::TSharedPtr<zel::cam::gic::IGenICam> device);
/** Creates a handle over a GenICam device; flags bit 0 keeps the handle even when the sensor
 * constants do not read; an empty device gives TQV_INVALID_ARGUMENT. */
TQV_API uint32_t tqvCreateGenICamEx(void** out, zel::TSharedPtr<zel::cam::gic::IGenICam> device,
                                    uint32_t flags);
/** The first handle created over the GenICam device, or null. */
TQV_API void* tqvFromGenICam(zel::TSharedPtr<zel::cam::gic::IGenICam> device);
#endif

/** Allocates memory the host may release with tqvFree. */
TQV_API void* tqvAlloc(size_t size);
/** Releases memory handed out by the library (listing texts, calibration tables); null is ignored.
 */
TQV_API void tqvFree(void* pointer);
/** The text of a result code (a generic text for codes without one); never null. */
TQV_API const char* tqvErrorToString(uint32_t code);

/** @} */

/* ======================================================================== Camera functions */

/** @name Core (connection, cache, board, version, events)
 * Connection test, cache control, board, version and event queue. */
/** @{ */
/** Tests that the camera answers; TQV_OK when it does. */
TQV_API uint32_t tqvTestConnection(void* handle);
/** Reads the camera's main application version (major, minor, build); TQV_UNEXPECTED_VALUE for a
 * GenICam version text that is not four numbers. */
TQV_API uint32_t tqvGetMainAppVersion(void* handle, uint16_t* major, uint16_t* minor,
                                      uint16_t* build);
/** Whether the camera's board is a TQV2 board. */
TQV_API uint32_t tqvIsTQV2(void* handle, bool* value);
/** Empties the property-tree value cache so that the next reads go to the camera; TQV_NOT_SUPPORTED
 * on GenICam (no cache). */
TQV_API uint32_t tqvClearCache(void* handle);
/** Reads every cached setting once (property tree; always TQV_OK); TQV_NOT_SUPPORTED on GenICam. */
TQV_API uint32_t tqvFillCache(void* handle);
/** Reads whether the property-tree backend answers repeated reads from its cache (always true on
 * GenICam). */
TQV_API uint32_t tqvGetCacheEnabled(void* handle, bool* value);
/** Sets whether the property-tree backend answers repeated reads from its cache; false also empties
 * it; GenICam accepts only true (else TQV_NOT_SUPPORTED). */
TQV_API uint32_t tqvSetCacheEnabled(void* handle, bool value);
/** Reads the next event code from the camera's event queue; 0 means no event (also when the camera
 * has no queue). */
TQV_API uint32_t tqvReadEventQueue(void* handle, tqvEEventType* event);

/** @} */

/** @name Image geometry, timing, presets, gain, bias, offset, clock conversions, sensor constants
 * Window, integration and frame periods, presets, sequencing, gain, bias and offset voltages, and
 * the clock arithmetic. Periods (widths) count detector clocks; hertz and milliseconds derive from
 * the clock frequency. Presets are 0-3 (TQV_INVALID_ARGUMENT above 3 on the property tree; a frame
 * grabber has preset 0 only). */
/** @{ */
/** Reads the window (region of interest) of a preset: x and y offset, width and height in pixels;
 * preset 0-3. */
TQV_API uint32_t tqvGetWindow(void* handle, uint8_t preset, uint16_t* xOffset, uint16_t* yOffset,
                              uint16_t* width, uint16_t* height);
/** Sets the window of a preset (offsets, width, height in pixels) in one step that other clients do
 * not see half done; preset 0-3. */
TQV_API uint32_t tqvSetWindow(void* handle, uint8_t preset, uint16_t xOffset, uint16_t yOffset,
                              uint16_t width, uint16_t height);
/** Reads the window limits: minimum and maximum width and height and the x and y increments, in
 * pixels. */
TQV_API uint32_t tqvGetWindowLimits(void* handle, uint16_t* minWidth, uint16_t* maxWidth,
                                    uint16_t* minHeight, uint16_t* maxHeight, uint16_t* xIncrement,
                                    uint16_t* yIncrement);
/** Reads the integration period of a preset, in detector clocks; preset 0-3. */
TQV_API uint32_t tqvGetIntegrationWidth(void* handle, uint8_t preset, uint32_t* clocks);
/** Sets the integration period of a preset, in detector clocks; preset 0-3. */
TQV_API uint32_t tqvSetIntegrationWidth(void* handle, uint8_t preset, uint32_t clocks);
/** Reads the integration period of a preset, in milliseconds; preset 0-3. */
TQV_API uint32_t tqvGetIntegrationTime(void* handle, uint8_t preset, double* milliseconds);
/** Sets the integration period of a preset, in milliseconds; preset 0-3 (converted to clocks
 * first). */
TQV_API uint32_t tqvSetIntegrationTime(void* handle, uint8_t preset, double milliseconds);
/** Reads the frame period of a preset, in detector clocks; preset 0-3. */
TQV_API uint32_t tqvGetFrameWidth(void* handle, uint8_t preset, uint32_t* clocks);
/** Sets the frame period of a preset, in detector clocks; preset 0-3. */
TQV_API uint32_t tqvSetFrameWidth(void* handle, uint8_t preset, uint32_t clocks);
/** Reads the frame rate of a preset, in hertz; preset 0-3. */
TQV_API uint32_t tqvGetFrameRate(void* handle, uint8_t preset, double* hertz);
/** Sets the frame rate of a preset, in hertz; preset 0-3 (converted to the nearest whole number of
 * clocks). */
TQV_API uint32_t tqvSetFrameRate(void* handle, uint8_t preset, double hertz);
/** Reads the preset sequencing mode: 0 Single Preset, 1 Preset Sequencing, 2 Superframing. */
TQV_API uint32_t tqvGetPresetSequencingMode(void* handle, uint8_t* value);
/** Sets the preset sequencing mode: 0 Single Preset, 1 Preset Sequencing, 2 Superframing; a new
 * mode makes the frame widths be read again. */
TQV_API uint32_t tqvSetPresetSequencingMode(void* handle, uint8_t value);
/** Reads the superframe period, in detector clocks. */
TQV_API uint32_t tqvGetSuperframeWidth(void* handle, uint32_t* value);
/** Sets the superframe period, in detector clocks. */
TQV_API uint32_t tqvSetSuperframeWidth(void* handle, uint32_t value);
/** Reads the superframe rate, in hertz. */
TQV_API uint32_t tqvGetSuperframeRate(void* handle, double* value);
/** Sets the superframe rate, in hertz. */
TQV_API uint32_t tqvSetSuperframeRate(void* handle, double value);
/** Reads the active preset (0-3; not range-checked). */
TQV_API uint32_t tqvGetActivePreset(void* handle, uint8_t* value);
/** Sets the active preset (0-3; not range-checked). */
TQV_API uint32_t tqvSetActivePreset(void* handle, uint8_t preset);
/** Reads whether the image is flipped top to bottom. */
TQV_API uint32_t tqvGetInvertEnabled(void* handle, bool* value);
/** Sets whether the image is flipped top to bottom. */
TQV_API uint32_t tqvSetInvertEnabled(void* handle, bool value);
/** Reads whether the image is flipped left to right. */
TQV_API uint32_t tqvGetRevertEnabled(void* handle, bool* value);
/** Sets whether the image is flipped left to right. */
TQV_API uint32_t tqvSetRevertEnabled(void* handle, bool value);
/** Reads the digital gain of a preset (a factor); preset 0-3. */
TQV_API uint32_t tqvGetDigitalGain(void* handle, uint8_t preset, float* gain);
/** Sets the digital gain of a preset (a factor); preset 0-3. */
TQV_API uint32_t tqvSetDigitalGain(void* handle, uint8_t preset, float gain);
/** Reads the digital offset of a preset, in counts; preset 0-3. */
TQV_API uint32_t tqvGetDigitalOffset(void* handle, uint8_t preset, float* offset);
/** Sets the digital offset of a preset, in counts; preset 0-3. */
TQV_API uint32_t tqvSetDigitalOffset(void* handle, uint8_t preset, float offset);
/** Reads the dwell count of a preset (frames it stays active when sequencing); preset 0-3. */
TQV_API uint32_t tqvGetDwellCount(void* handle, uint8_t preset, uint32_t* count);
/** Sets the dwell count of a preset (frames it stays active when sequencing); preset 0-3. */
TQV_API uint32_t tqvSetDwellCount(void* handle, uint8_t preset, uint32_t count);
/** Reads the dwell counts of presets 0-3 in order; stops at the first failure. */
TQV_API uint32_t tqvGetDwellCounts(void* handle, uint32_t* count0, uint32_t* count1,
                                   uint32_t* count2, uint32_t* count3);
/** Sets the dwell counts of presets 0-3 in order; stops at the first failure. */
TQV_API uint32_t tqvSetDwellCounts(void* handle, uint32_t count0, uint32_t count1, uint32_t count2,
                                   uint32_t count3);
/** Reads whether a preset takes part in a superframe; preset 0-3. */
TQV_API uint32_t tqvGetSubframeEnabled(void* handle, uint8_t preset, bool* enabled);
/** Sets whether a preset takes part in a superframe; preset 0-3. */
TQV_API uint32_t tqvSetSubframeEnabled(void* handle, uint8_t preset, bool enabled);
/** Reads the superframe flags of presets 0-3 in order; stops at the first failure. */
TQV_API uint32_t tqvGetSubframesEnabled(void* handle, bool* enabled0, bool* enabled1,
                                        bool* enabled2, bool* enabled3);
/** Sets the superframe flags of presets 0-3 in order; stops at the first failure. */
TQV_API uint32_t tqvSetSubframesEnabled(void* handle, bool enabled0, bool enabled1, bool enabled2,
                                        bool enabled3);
/** Reads the number of detector gain levels (the highest level index plus one). */
TQV_API uint32_t tqvGetSupportedGainLevels(void* handle, uint8_t* value);
/** Reads the detector gain level (0 up to GetSupportedGainLevels - 1). */
TQV_API uint32_t tqvGetGainLevel(void* handle, uint8_t* value);
/** Sets the detector gain level (0 up to GetSupportedGainLevels - 1); TQV_NOT_SUPPORTED for a
 * non-zero level on a GenICam camera without gain levels. */
TQV_API uint32_t tqvSetGainLevel(void* handle, uint8_t value);
/** Reads the first detector bias voltage, in volts. */
TQV_API uint32_t tqvGetFPABias(void* handle, float* value);
/** Sets the first detector bias voltage, in volts. */
TQV_API uint32_t tqvSetFPABias(void* handle, float value);
/** Reads the limits of the first detector bias voltage, in volts. */
TQV_API uint32_t tqvGetFPABiasLimits(void* handle, float* minimum, float* maximum);
/** Reads the global offset voltage, in volts. */
TQV_API uint32_t tqvGetGlobalOffsetVoltage(void* handle, float* value);
/** Sets the global offset voltage, in volts. */
TQV_API uint32_t tqvSetGlobalOffsetVoltage(void* handle, float value);
/** Reads the limits of the global offset voltage, in volts. */
TQV_API uint32_t tqvGetGlobalOffsetVoltageLimits(void* handle, float* minimum, float* maximum);
/** Whether the detector offers skimming. */
TQV_API uint32_t tqvGetSkimmingAvailable(void* handle, bool* value);
/** Reads whether skimming is on. */
TQV_API uint32_t tqvGetSkimmingEnabled(void* handle, bool* value);
/** Sets whether skimming is on. */
TQV_API uint32_t tqvSetSkimmingEnabled(void* handle, bool value);
/** Reads the skimming voltage, in volts. */
TQV_API uint32_t tqvGetSkimmingVoltage(void* handle, float* value);
/** Sets the skimming voltage, in volts. */
TQV_API uint32_t tqvSetSkimmingVoltage(void* handle, float value);
/** Reads the limits of the skimming voltage, in volts; -5.0 to 5.0 when the camera has none. */
TQV_API uint32_t tqvGetSkimmingVoltageLimits(void* handle, float* minimum, float* maximum);
/** Converts a period in detector clocks to a rate in hertz (clock frequency / clocks; 0 clocks
 * gives infinity). */
TQV_API uint32_t tqvClocksToHertz(void* handle, uint32_t clocks, double* hertz);
/** Converts a rate in hertz to a period in detector clocks, rounded to the nearest clock. */
TQV_API uint32_t tqvHertzToClocks(void* handle, double hertz, uint32_t* clocks);
/** The rate in hertz nearest to the given one that a whole number of clocks gives. */
TQV_API uint32_t tqvSnapHertz(void* handle, double hertz, double* snapped);
/** Converts a period in detector clocks to milliseconds. */
TQV_API uint32_t tqvClocksToMilliseconds(void* handle, uint32_t clocks, double* milliseconds);
/** Converts a period in milliseconds to detector clocks, rounded to the nearest clock. */
TQV_API uint32_t tqvMillisecondsToClocks(void* handle, double milliseconds, uint32_t* clocks);
/** The period in milliseconds nearest to the given one that a whole number of clocks gives. */
TQV_API uint32_t tqvSnapMilliseconds(void* handle, double milliseconds, double* snapped);
/** Reads the smallest frame period the detector allows, in clocks. */
TQV_API uint32_t tqvGetMinFrameWidth(void* handle, uint32_t* value);
/** Reads the largest frame period the detector allows, in clocks. */
TQV_API uint32_t tqvGetMaxFrameWidth(void* handle, uint32_t* value);
/** Reads the smallest integration period the detector allows, in clocks. */
TQV_API uint32_t tqvGetMinIntWidth(void* handle, uint32_t* value);
/** Reads the largest integration period the detector allows, in clocks. */
TQV_API uint32_t tqvGetMaxIntWidth(void* handle, uint32_t* value);
/** Calculates the clocks needed to read out a window of the given width and height. */
TQV_API uint32_t tqvCalcDataWidth(void* handle, uint32_t* dataWidth, uint16_t width,
                                  uint16_t height);
/** Calculates the smallest frame period for a window, in clocks, without integration. */
TQV_API uint32_t tqvCalcMinFrameWidth(void* handle, uint32_t* minFrameWidth, uint16_t width,
                                      uint16_t height);
/** Calculates the smallest frame period for a window and integration period, in clocks, integrating
 * then reading (ITR) or while reading; low-cost models are capped in rate. */
TQV_API uint32_t tqvCalcMinFrameWidthEx(void* handle, uint32_t* minFrameWidth, uint16_t width,
                                        uint16_t height, uint32_t integrationWidth, bool itr);
/** Calculates the smallest superframe period for a window, the four integration periods and the
 * four subframe flags (arrays of 4), in clocks. */
TQV_API uint32_t tqvCalcMinSuperframeWidth(void* handle, uint32_t* minSuperframeWidth,
                                           uint16_t width, uint16_t height,
                                           uint32_t* integrationWidths, bool* enabled, bool itr);
/** Calculates the largest integration period that fits a frame period, in clocks. */
TQV_API uint32_t tqvCalcMaxIntWidth(void* handle, uint32_t* maxIntWidth, uint32_t frameWidth);
/** Whether a window, integration and frame period (clocks) leave room to integrate then read. */
TQV_API uint32_t tqvIsITR(void* handle, uint16_t width, uint16_t height, uint32_t integrationWidth,
                          uint32_t frameWidth, bool* itr);
/** Whether a preset sequencing mode and frame sync mode need integrate-then-read: mode not 0 and
 * sync mode 0. */
TQV_API uint32_t tqvNeedITR(void* handle, uint8_t presetSequencingMode, uint8_t frameSyncMode,
                            bool* itr);
/** Whether the camera's present sequencing and frame sync modes need integrate-then-read. */
TQV_API uint32_t tqvNeedITREx(void* handle, bool* value);
/** Raises the superframe period to the smallest one the present settings allow, if it is shorter;
 * never lowers it. */
TQV_API uint32_t tqvBoundSuperframeRate(void* handle, bool itr);
/** Raises a preset's frame period to the smallest one its window and integration allow, if it is
 * shorter; preset 0-3. */
TQV_API uint32_t tqvBoundFrameRate(void* handle, uint8_t preset, bool itr);
/** Raises too short frame periods after a change: the superframe when superframing, else every
 * preset 0-3. */
TQV_API uint32_t tqvBoundFrameRates(void* handle);
/** Reads a detector bias voltage by index (0 or 1, below GetFPABiasCount), in volts;
 * TQV_INVALID_ARGUMENT for another index on the property tree. */
TQV_API uint32_t tqvGetFPABiasEx(void* handle, uint8_t index, float* volts);
/** Sets a detector bias voltage by index (0 or 1, below GetFPABiasCount), in volts;
 * TQV_INVALID_ARGUMENT for another index on the property tree. */
TQV_API uint32_t tqvSetFPABiasEx(void* handle, uint8_t index, float volts);
/** Reads the limits of a detector bias voltage by index (0 or 1), in volts. */
TQV_API uint32_t tqvGetFPABiasLimitsEx(void* handle, uint8_t index, float* minimum, float* maximum);
/** Reads how many detector bias voltages the camera has (1 when it does not say). */
TQV_API uint32_t tqvGetFPABiasCount(void* handle, uint8_t* value);
/** Reads (manufacturing) whether the readout chip configuration is overridden. */
TQV_API uint32_t tqvGetMfgOverrideRoicConfig(void* handle, bool* value);
/** Sets (manufacturing) whether the readout chip configuration is overridden. */
TQV_API uint32_t tqvSetMfgOverrideRoicConfig(void* handle, bool value);
/** Reads (manufacturing) the dead clocks per line and channel. */
TQV_API uint32_t tqvGetMfgLineDeadWidth(void* handle, uint32_t* value);
/** Sets (manufacturing) the dead clocks per line and channel; the timing arithmetic uses the new
 * value. */
TQV_API uint32_t tqvSetMfgLineDeadWidth(void* handle, uint32_t value);
/** Reads (manufacturing) the dead clocks before integration. */
TQV_API uint32_t tqvGetMfgPreIntDeadWidth(void* handle, uint32_t* value);
/** Sets (manufacturing) the dead clocks before integration; the timing arithmetic uses the new
 * value. */
TQV_API uint32_t tqvSetMfgPreIntDeadWidth(void* handle, uint32_t value);
/** Reads (manufacturing) the dead clocks after integration. */
TQV_API uint32_t tqvGetMfgPostIntDeadWidth(void* handle, uint32_t* value);
/** Sets (manufacturing) the dead clocks after integration; the timing arithmetic uses the new
 * value. */
TQV_API uint32_t tqvSetMfgPostIntDeadWidth(void* handle, uint32_t value);
/** Reads (manufacturing) the dead rows read before the image. */
TQV_API uint32_t tqvGetMfgPreDeadRows(void* handle, uint32_t* value);
/** Sets (manufacturing) the dead rows read before the image; the total dead rows are read back. */
TQV_API uint32_t tqvSetMfgPreDeadRows(void* handle, uint32_t value);
/** Reads (manufacturing) the dead rows read after the image. */
TQV_API uint32_t tqvGetMfgPostDeadRows(void* handle, uint32_t* value);
/** Sets (manufacturing) the dead rows read after the image; the total dead rows are read back. */
TQV_API uint32_t tqvSetMfgPostDeadRows(void* handle, uint32_t value);
/** Reads (manufacturing) whether the detector has an extra line sync. */
TQV_API uint32_t tqvGetMfgHasExtraLSync(void* handle, bool* value);
/** Sets (manufacturing) whether the detector has an extra line sync. */
TQV_API uint32_t tqvSetMfgHasExtraLSync(void* handle, bool value);
/** Reads the detector clock frequency, in hertz. */
TQV_API uint32_t tqvGetClockFrequency(void* handle, uint32_t* value);

/** @} */

/** @name Identity, camera information and camera capabilities
 * Serial number, model, type codes, board, colours per preset, reboot. */
/** @{ */
/** Reads the camera's serial number (text). */
TQV_API uint32_t tqvGetCameraSN(void* handle, char* buffer, int32_t size);
/** Sets the camera's serial number (text). */
TQV_API uint32_t tqvSetCameraSN(void* handle, const char* text);
/** Reads the camera's model name (text). */
TQV_API uint32_t tqvGetCameraModel(void* handle, char* buffer, int32_t size);
/** Sets the camera's model name (text). */
TQV_API uint32_t tqvSetCameraModel(void* handle, const char* text);
/** Reads the camera type code (names: tqvGetCameraTypeName). */
TQV_API uint32_t tqvGetCameraType(void* handle, uint8_t* value);
/** Sets the camera type code (names: tqvGetCameraTypeName). */
TQV_API uint32_t tqvSetCameraType(void* handle, uint8_t value);
/** Reads the camera subtype code (names: tqvGetCameraSubtypeName). */
TQV_API uint32_t tqvGetCameraSubtype(void* handle, uint8_t* value);
/** Sets the camera subtype code (names: tqvGetCameraSubtypeName). */
TQV_API uint32_t tqvSetCameraSubtype(void* handle, uint8_t value);
/** Reads the detector material code (names: tqvGetDetectorTypeName). */
TQV_API uint32_t tqvGetDetectorType(void* handle, uint8_t* value);
/** Sets the detector material code (names: tqvGetDetectorTypeName). */
TQV_API uint32_t tqvSetDetectorType(void* handle, uint8_t value);
/** Reads the readout chip code (names: tqvGetReadoutName). */
TQV_API uint32_t tqvGetReadout(void* handle, uint8_t* value);
/** Sets the readout chip code (names: tqvGetReadoutName). */
TQV_API uint32_t tqvSetReadout(void* handle, uint8_t value);
/** Reads the product variant code (0 CameraLink, 1 CoaXpress) (0 when the camera has none). */
TQV_API uint32_t tqvGetVariant(void* handle, uint8_t* value);
/** Sets the product variant code (0 CameraLink, 1 CoaXpress); only 0 on a camera without variant
 * (else TQV_INVALID_ARGUMENT). */
TQV_API uint32_t tqvSetVariant(void* handle, uint8_t value);
/** Reads the camera's operating time (hour meter). */
TQV_API uint32_t tqvGetOperatingTime(void* handle, uint32_t* value);
/** Fills a host's information array with the camera's component versions and serial numbers (name
 * and value texts). */
TQV_API uint32_t tqvGetCameraExtraInfo(void* handle, tqvInfoEntryArray* list);
/** Whether the camera has the legacy video FPGA. */
TQV_API uint32_t tqvGetLegacyVFPGA(void* handle, bool* value);
/** Reads the board type: 0 TQV1, 1 TQV2, 2 Alder, 3 WZN, 4 Birch, 5 Cedar, 6 frame grabber (one
 * preset). */
TQV_API uint32_t tqvGetBoardType(void* handle, uint8_t* value);
/** Whether the camera offers black-hot polarity. */
TQV_API uint32_t tqvGetBlackHotAvailable(void* handle, bool* value);
/** Reads whether the data links show hot as black. */
TQV_API uint32_t tqvGetBlackHotEnabled(void* handle, bool* value);
/** Sets whether the data links show hot as black. */
TQV_API uint32_t tqvSetBlackHotEnabled(void* handle, bool value);
/** Reads how many colours a preset may use (1 when the camera does not say). */
TQV_API uint32_t tqvGetNumColors(void* handle, uint8_t* value);
/** Reads the colour of a preset (below GetNumColors); preset 0-3. */
TQV_API uint32_t tqvGetColor(void* handle, uint8_t preset, uint8_t* color);
/** Sets the colour of a preset (below GetNumColors); preset 0-3; TQV_INVALID_ARGUMENT for a colour
 * out of range on the property tree. */
TQV_API uint32_t tqvSetColor(void* handle, uint8_t preset, uint8_t color);
/** Restarts the camera; TQV_NOT_SUPPORTED on property-tree boards 0-2. */
TQV_API uint32_t tqvReboot(void* handle);

/** @} */

/** @name Temperatures
 * Temperature readings: the detector in kelvin, the others in the camera's own unit. */
/** @{ */
/** Reads the detector's cold temperature setpoint. */
TQV_API uint32_t tqvGetFPAColdTemperature(void* handle, float* value);
/** Sets the detector's cold temperature setpoint. */
TQV_API uint32_t tqvSetFPAColdTemperature(void* handle, float value);
/** Reads the detector (FPA) temperature, in kelvin. */
TQV_API uint32_t tqvGetFPATemperature(void* handle, float* value);
/** Reads the digitizer and power board temperatures. */
TQV_API uint32_t tqvGetBoardTemperatures(void* handle, float* digitizer, float* powerBoard);
/** Reads the front panel, air gap and internal temperatures. */
TQV_API uint32_t tqvGetVxTemperatures(void* handle, float* frontPanel, float* airGap,
                                      float* internal);
/** Reads the front panel and air gap temperatures. */
TQV_API uint32_t tqvGetKxTemperatures(void* handle, float* frontPanel, float* airGap);
/** Reads the chassis temperature. */
TQV_API uint32_t tqvGetTxTemperatures(void* handle, float* value);
/** Reads the lens temperature. */
TQV_API uint32_t tqvGetLensTemperature(void* handle, float* value);

/** @} */

/** @name Clock, IRIG time, frame sync, triggering, sync out
 * Real-time clock, IRIG time, frame synchronisation, triggering, sync and integrate outputs.
 * Enumerated values are the codes of the tqv<Name>Text functions. */
/** @{ */
/** Reads the camera's real-time clock: year since 2000, month, day, hour, minute, second. */
TQV_API uint32_t tqvGetRealTimeClock(void* handle, uint8_t* year, uint8_t* month, uint8_t* day,
                                     uint8_t* hour, uint8_t* minute, uint8_t* second);
/** Sets the camera's real-time clock: year since 2000, month, day, hour, minute, second. */
TQV_API uint32_t tqvSetRealTimeClock(void* handle, uint8_t year, uint8_t month, uint8_t day,
                                     uint8_t hour, uint8_t minute, uint8_t second);
/** Reads the IRIG time: year (0 without IRIG year), day of year, hour, minute, second, millisecond,
 * microsecond. */
TQV_API uint32_t tqvGetIRIGTime(void* handle, uint16_t* year, uint16_t* day, uint8_t* hour,
                                uint8_t* minute, uint8_t* second, uint16_t* millisecond,
                                uint16_t* microsecond);
/** Sets the IRIG time: year (ignored without IRIG year), day of year, hour, minute, second,
 * millisecond, microsecond. */
TQV_API uint32_t tqvSetIRIGTime(void* handle, uint16_t year, uint16_t day, uint8_t hour,
                                uint8_t minute, uint8_t second, uint16_t millisecond,
                                uint16_t microsecond);
/** Whether the camera is locked to an IRIG time source. */
TQV_API uint32_t tqvGetIRIGLocked(void* handle, bool* value);
/** Reads the frame sync mode: 0 Integration, 1 Readout. */
TQV_API uint32_t tqvGetFrameSyncMode(void* handle, uint8_t* value);
/** Sets the frame sync mode: 0 Integration, 1 Readout; TQV_NOT_SUPPORTED for mode 1 on a GenICam
 * camera without it. */
TQV_API uint32_t tqvSetFrameSyncMode(void* handle, uint8_t value);
/** Reads the frame sync source: 0 Internal, 1 External, 2 Video, 3 TriLevelSync. */
TQV_API uint32_t tqvGetFrameSyncSource(void* handle, uint8_t* value);
/** Sets the frame sync source: 0 Internal, 1 External, 2 Video, 3 TriLevelSync. */
TQV_API uint32_t tqvSetFrameSyncSource(void* handle, uint8_t value);
/** Reads the external frame sync polarity: 0 Active Low, 1 Active High. */
TQV_API uint32_t tqvGetFrameSyncPolarity(void* handle, uint8_t* value);
/** Sets the external frame sync polarity: 0 Active Low, 1 Active High. */
TQV_API uint32_t tqvSetFrameSyncPolarity(void* handle, uint8_t value);
/** Reads the external frame sync delay. */
TQV_API uint32_t tqvGetFrameSyncDelay(void* handle, float* value);
/** Sets the external frame sync delay. */
TQV_API uint32_t tqvSetFrameSyncDelay(void* handle, float value);
/** Reads the trigger source: 0 Internal, 1 External, 2 Software, 3 IRIG. */
TQV_API uint32_t tqvGetTriggerSource(void* handle, uint8_t* value);
/** Sets the trigger source: 0 Internal, 1 External, 2 Software, 3 IRIG. */
TQV_API uint32_t tqvSetTriggerSource(void* handle, uint8_t value);
/** Reads the external trigger polarity: 0 Active Low, 1 Active High. */
TQV_API uint32_t tqvGetTriggerPolarity(void* handle, uint8_t* value);
/** Sets the external trigger polarity: 0 Active Low, 1 Active High. */
TQV_API uint32_t tqvSetTriggerPolarity(void* handle, uint8_t value);
/** Reads the external trigger delay. */
TQV_API uint32_t tqvGetTriggerDelay(void* handle, float* value);
/** Sets the external trigger delay. */
TQV_API uint32_t tqvSetTriggerDelay(void* handle, float value);
/** Reads the number of frames a triggered sequence takes. */
TQV_API uint32_t tqvGetSequenceCount(void* handle, uint32_t* value);
/** Sets the number of frames a triggered sequence takes. */
TQV_API uint32_t tqvSetSequenceCount(void* handle, uint32_t value);
/** Reads the internal trigger period, in detector clocks. */
TQV_API uint32_t tqvGetInternalTriggerWidth(void* handle, uint32_t* value);
/** Sets the internal trigger period, in detector clocks. */
TQV_API uint32_t tqvSetInternalTriggerWidth(void* handle, uint32_t value);
/** Reads the internal trigger rate, in hertz. */
TQV_API uint32_t tqvGetInternalTriggerRate(void* handle, double* value);
/** Sets the internal trigger rate, in hertz. */
TQV_API uint32_t tqvSetInternalTriggerRate(void* handle, double value);
/** Reads the trigger mode: 0 Free Run, 1 Triggered Free Run, 2 Triggered Sequence, 3 Triggered
 * Preset Advance. */
TQV_API uint32_t tqvGetTriggerMode(void* handle, uint8_t* value);
/** Sets the trigger mode: 0 Free Run, 1 Triggered Free Run, 2 Triggered Sequence, 3 Triggered
 * Preset Advance. */
TQV_API uint32_t tqvSetTriggerMode(void* handle, uint8_t value);
/** Rearms the trigger. */
TQV_API uint32_t tqvRearmTrigger(void* handle);
/** Triggers the camera from software. */
TQV_API uint32_t tqvSoftwareTrigger(void* handle);
/** Reads the IRIG time latched at the last trigger: day, hour, minute, second, millisecond,
 * microsecond. */
TQV_API uint32_t tqvGetIRIGTriggerTime(void* handle, uint16_t* day, uint8_t* hour, uint8_t* minute,
                                       uint8_t* second, uint16_t* millisecond,
                                       uint16_t* microsecond);
/** Sets the IRIG time at which the camera triggers: day, hour, minute, second, millisecond,
 * microsecond. */
TQV_API uint32_t tqvSetIRIGTriggerTime(void* handle, uint16_t day, uint8_t hour, uint8_t minute,
                                       uint8_t second, uint16_t millisecond, uint16_t microsecond);
/** Reads the polarity of the integrate output: 0 Active Low, 1 Active High. */
TQV_API uint32_t tqvGetIntegrateOutPolarity(void* handle, uint8_t* value);
/** Sets the polarity of the integrate output: 0 Active Low, 1 Active High. */
TQV_API uint32_t tqvSetIntegrateOutPolarity(void* handle, uint8_t value);
/** Reads the event that latches the IRIG time: 0 Frame Start, 1 Integration Start, 2 Integration
 * End. */
TQV_API uint32_t tqvGetIRIGLatchSource(void* handle, uint8_t* value);
/** Sets the event that latches the IRIG time: 0 Frame Start, 1 Integration Start, 2 Integration
 * End. */
TQV_API uint32_t tqvSetIRIGLatchSource(void* handle, uint8_t value);
/** Reads the sync output source: 0 Integration Start, 1 Frame Start, 2 Saturated Flag. */
TQV_API uint32_t tqvGetSyncOutSource(void* handle, uint8_t* value);
/** Sets the sync output source: 0 Integration Start, 1 Frame Start, 2 Saturated Flag. */
TQV_API uint32_t tqvSetSyncOutSource(void* handle, uint8_t value);
/** Reads the sync output delay of a preset; preset 0-3. */
TQV_API uint32_t tqvGetSyncOutDelay(void* handle, uint8_t preset, float* delay);
/** Sets the sync output delay of a preset; preset 0-3. */
TQV_API uint32_t tqvSetSyncOutDelay(void* handle, uint8_t preset, float delay);
/** Reads the sync output polarity: 0 Active Low, 1 Active High. */
TQV_API uint32_t tqvGetSyncOutPolarity(void* handle, uint8_t* value);
/** Sets the sync output polarity: 0 Active Low, 1 Active High. */
TQV_API uint32_t tqvSetSyncOutPolarity(void* handle, uint8_t value);

/** @} */

/** @name Saturation thresholds and saturation status
 * Saturation thresholds and status, per preset 0-3. */
/** @{ */
/** Reads the count above which a pixel of a preset counts as saturated; preset 0-3. */
TQV_API uint32_t tqvGetSaturationCountThreshold(void* handle, uint8_t preset, uint16_t* threshold);
/** Sets the count above which a pixel of a preset counts as saturated; preset 0-3. */
TQV_API uint32_t tqvSetSaturationCountThreshold(void* handle, uint8_t preset, uint16_t threshold);
/** Reads the number of saturated pixels of a preset that raises the saturated flag; preset 0-3. */
TQV_API uint32_t tqvGetSaturationPixelThreshold(void* handle, uint8_t preset, uint32_t* threshold);
/** Sets the number of saturated pixels of a preset that raises the saturated flag; preset 0-3. */
TQV_API uint32_t tqvSetSaturationPixelThreshold(void* handle, uint8_t preset, uint32_t threshold);
/** Reads the number of saturated pixels of a preset; preset 0-3. */
TQV_API uint32_t tqvGetSaturatedPixels(void* handle, uint8_t preset, uint32_t* count);
/** Whether the saturated flag is raised. */
TQV_API uint32_t tqvGetSaturatedFlag(void* handle, bool* value);

/** @} */

/** @name Filter wheel
 * The filter wheel: four slots holding filter IDs 0-63. */
/** @{ */
/** Whether the camera has a filter wheel. */
TQV_API uint32_t tqvGetFilterWheelPresent(void* handle, bool* value);
/** Makes the filter wheel identify the filters in its four slots. */
TQV_API uint32_t tqvScanFilters(void* handle);
/** Reads the filter IDs (0-63) in wheel slots 0-3; on the property tree a slot that does not read
 * is skipped. */
TQV_API uint32_t tqvGetFilterIDs(void* handle, uint8_t* slot0, uint8_t* slot1, uint8_t* slot2,
                                 uint8_t* slot3);
/** Reads the ID of the filter in the light path (0-63). */
TQV_API uint32_t tqvGetCurrentFilterID(void* handle, uint8_t* value);
/** Sets the ID of the filter in the light path (0-63) and turns the wheel to it. */
TQV_API uint32_t tqvSetCurrentFilterID(void* handle, uint8_t value);
/** Reads how many filter slots the wheel has (4 when the camera does not say). */
TQV_API uint32_t tqvGetNumFilters(void* handle, uint8_t* value);
/** Whether the filters can be replaced. */
TQV_API uint32_t tqvGetFilterReplaceable(void* handle, bool* value);
/** Reads the filter ID of a wheel slot (0-3); TQV_NOT_FOUND for a slot above 3, TQV_NOT_SUPPORTED
 * without slot settings. */
TQV_API uint32_t tqvGetFilterIDInSlot(void* handle, uint8_t slot, uint8_t* id);
/** Sets the filter ID of a wheel slot (0-3); TQV_NOT_FOUND for a slot above 3. */
TQV_API uint32_t tqvSetFilterIDInSlot(void* handle, uint8_t slot, uint8_t id);
/** Whether the camera holds its own filter names. */
TQV_API uint32_t tqvGetFilterInfoAvailable(void* handle, bool* value);
/** Reads the camera's name of a filter ID (0-63; above 63 TQV_INVALID_ARGUMENT on the property
 * tree). */
TQV_API uint32_t tqvGetFilterInfoName(void* handle, uint32_t id, char* buffer, int32_t size);
/** Sets the camera's name of a filter ID (0-63; above 63 TQV_INVALID_ARGUMENT on the property
 * tree). */
TQV_API uint32_t tqvSetFilterInfoName(void* handle, uint32_t id, const char* name);

/** @} */

/** @name Voltages
 * Named bias and offset voltages (the name is the camera's own key). */
/** @{ */
/** Reads a named bias or offset voltage, in volts; TQV_NOT_FOUND for a name the GenICam camera does
 * not list. */
TQV_API uint32_t tqvGetVoltage(void* handle, const char* name, float* volts);
/** Whether a named voltage can be set. */
TQV_API uint32_t tqvGetVoltageEditable(void* handle, const char* name, bool* editable);
/** Sets a named voltage, in volts. */
TQV_API uint32_t tqvSetVoltage(void* handle, const char* name, float volts);
/** Reads the limits of a named voltage, in volts; -5.0 to 5.0 when it has none. */
TQV_API uint32_t tqvGetVoltageLimits(void* handle, const char* name, float* minimum,
                                     float* maximum);
/** Reads the display name of a named voltage. */
TQV_API uint32_t tqvGetVoltageDisplayName(void* handle, const char* name, char* buffer,
                                          int32_t size);
#ifdef __cplusplus
/** Lists the names of the camera's bias and offset voltages. */
TQV_API uint32_t tqvListVoltages(void* handle, zel::TArray<zel::CString>& list);
#endif

/** @} */

/** @name Correction (NUC) files
 * Correction files stored on the camera, by name (".nuc" added). Names are checked with the file
 * name rule (TQV_ERROR when refused). Transfers: see the C++ forms here and the StdC forms under
 * File transfers. */
/** @{ */
/** Reads the name of the correction file loaded in a preset, without directory and extension;
 * preset 0-3. */
TQV_API uint32_t tqvGetNUCName(void* handle, uint8_t preset, char* buffer, int32_t size);
/** Loads a correction file from the camera's storage into a preset (".nuc" added); preset 0-3;
 * TQV_ERROR for an empty or invalid name. */
TQV_API uint32_t tqvLoadNUC(void* handle, uint8_t preset, const char* name);
/** Unloads the correction of a preset; preset 0-3. */
TQV_API uint32_t tqvUnloadNUC(void* handle, uint8_t preset);
/** Deletes a correction file from the camera (".nuc" added). */
TQV_API uint32_t tqvDeleteNUC(void* handle, const char* name);
/** Renames a correction file on the camera. */
TQV_API uint32_t tqvRenameNUC(void* handle, const char* oldName, const char* newName);
/** Reads the header of a correction file on the camera into a record; TQV_ERROR when the camera
 * cannot read it or the name is empty. */
TQV_API uint32_t tqvQueryNUCInfo(void* handle, const char* name, tqvSNUCInfo* info);
/** Reads the window size and integration width of a correction file on the camera (the rest of the
 * record: defaults); TQV_ERROR when the camera cannot read it. */
TQV_API uint32_t tqvQueryNUCBasicInfo(void* handle, const char* name, tqvSNUCInfo* info);
/** TQV_OK when the correction file exists on the camera, else the not-found code. */
TQV_API uint32_t tqvNUCExists(void* handle, const char* name);
/** Saves the correction of a preset under its present name; preset 0-3. */
TQV_API uint32_t tqvSaveNUC(void* handle, uint8_t preset);
/** Saves the correction of a preset under a new name (".nuc" added, name checked); preset 0-3. */
TQV_API uint32_t tqvSaveNUCAs(void* handle, uint8_t preset, const char* name);
/** Fills a host's listing with the correction files on the camera (names without extension). */
TQV_API uint32_t tqvListNUCs(void* handle, tqvDirEntryArray* list);
#ifdef __cplusplus
/** Copies a correction file from the camera into a host file object; progress reports (done, total)
 * bytes. */
TQV_API uint32_t tqvDownloadNUC(void* handle, const char* name, tqvFilePtr file,
                                tqvProgressDelegate progress);
/** Copies a host file object to the camera as a correction file of the given name; progress reports
 * (done, total) bytes. */
TQV_API uint32_t tqvUploadNUC(void* handle, const char* name, tqvFilePtr file,
                              tqvProgressDelegate progress);
/** Copies a correction file from the camera to a host path; TQV_ERROR when the host file cannot be
 * opened. */
TQV_API uint32_t tqvDownloadNUCStd(void* handle, const char* name, const char* hostPath,
                                   tqvProgressDelegate progress);
/** Copies a host file to the camera as a correction file named after the file (no directory, no
 * extension). */
TQV_API uint32_t tqvUploadNUCStd(void* handle, const char* hostPath, tqvProgressDelegate progress);
/** Copies a host file to the camera as a correction file named after the name argument (no
 * directory, no extension). */
TQV_API uint32_t tqvUploadNUCStdEx(void* handle, const char* name, const char* hostPath,
                                   tqvProgressDelegate progress);
#endif

/** @} */

/** @name File transfers: states, lens states, palettes, factory default state, any file
 * Host-path transfers with a plain C progress callback (done, total, context; null: no reports) and
 * the listings handed to C hosts. Uploads without a camera name use the host file's name without
 * directories and extension. */
/** @{ */
/** Reads the size (bytes) and modification time of a state on the camera; either output may be
 * null. */
TQV_API uint32_t tqvGetStateFileInfo(void* handle, const char* name, uint32_t* size,
                                     uint64_t* timeLastModified);
/** Reads the size (bytes) and modification time of a lens state on the camera; either output may be
 * null. */
TQV_API uint32_t tqvGetLensStateFileInfo(void* handle, const char* name, uint32_t* size,
                                         uint64_t* timeLastModified);
/** Reads the size (bytes) and modification time of a palette on the camera; either output may be
 * null. */
TQV_API uint32_t tqvGetPaletteFileInfo(void* handle, const char* name, uint32_t* size,
                                       uint64_t* timeLastModified);
/** Reads the size (bytes) and modification time of the factory default state; either output may be
 * null. */
TQV_API uint32_t tqvGetFactoryDefaultStateFileInfo(void* handle, uint32_t* size,
                                                   uint64_t* timeLastModified);
#ifdef __cplusplus
/** Copies a state from the camera into a host file object; progress reports (done, total) bytes. */
TQV_API uint32_t tqvDownloadState(void* handle, const char* name, tqvFilePtr file,
                                  tqvProgressDelegate progress);
/** Copies a host file object to the camera as a state of the given name; progress reports (done,
 * total) bytes. */
TQV_API uint32_t tqvUploadState(void* handle, const char* name, tqvFilePtr file,
                                tqvProgressDelegate progress);
/** Copies a state from the camera to a host path; TQV_ERROR when the host file cannot be opened. */
TQV_API uint32_t tqvDownloadStateStd(void* handle, const char* name, const char* hostPath,
                                     tqvProgressDelegate progress);
/** Copies a host file to the camera as a state named after the file (no directory, no extension).
 */
TQV_API uint32_t tqvUploadStateStd(void* handle, const char* hostPath,
                                   tqvProgressDelegate progress);
/** Copies a lens state from the camera into a host file object; progress reports (done, total)
 * bytes. */
TQV_API uint32_t tqvDownloadLensState(void* handle, const char* name, tqvFilePtr file,
                                      tqvProgressDelegate progress);
/** Copies a host file object to the camera as a lens state of the given name; progress reports
 * (done, total) bytes. */
TQV_API uint32_t tqvUploadLensState(void* handle, const char* name, tqvFilePtr file,
                                    tqvProgressDelegate progress);
/** Copies a lens state from the camera to a host path; TQV_ERROR when the host file cannot be
 * opened. */
TQV_API uint32_t tqvDownloadLensStateStd(void* handle, const char* name, const char* hostPath,
                                         tqvProgressDelegate progress);
/** Copies a host file to the camera as a lens state named after the file (no directory, no
 * extension). */
TQV_API uint32_t tqvUploadLensStateStd(void* handle, const char* hostPath,
                                       tqvProgressDelegate progress);
/** Copies a palette from the camera into a host file object; progress reports (done, total) bytes.
 */
TQV_API uint32_t tqvDownloadPalette(void* handle, const char* name, tqvFilePtr file,
                                    tqvProgressDelegate progress);
/** Copies a host file object to the camera as a palette of the given name; progress reports (done,
 * total) bytes. */
TQV_API uint32_t tqvUploadPalette(void* handle, const char* name, tqvFilePtr file,
                                  tqvProgressDelegate progress);
/** Copies a palette from the camera to a host path; TQV_ERROR when the host file cannot be opened.
 */
TQV_API uint32_t tqvDownloadPaletteStd(void* handle, const char* name, const char* hostPath,
                                       tqvProgressDelegate progress);
/** Copies a host file to the camera as a palette named after the file (no directory, no extension).
 */
TQV_API uint32_t tqvUploadPaletteStd(void* handle, const char* hostPath,
                                     tqvProgressDelegate progress);
/** Copies the factory default state from the camera into a host file object. */
TQV_API uint32_t tqvDownloadFactoryDefaultState(void* handle, tqvFilePtr file,
                                                tqvProgressDelegate progress);
/** Copies a host file object to the camera as the factory default state. */
TQV_API uint32_t tqvUploadFactoryDefaultState(void* handle, tqvFilePtr file,
                                              tqvProgressDelegate progress);
/** Copies the factory default state from the camera to a host path. */
TQV_API uint32_t tqvDownloadFactoryDefaultStateStd(void* handle, const char* hostPath,
                                                   tqvProgressDelegate progress);
/** Copies a host file to the camera as the factory default state. */
TQV_API uint32_t tqvUploadFactoryDefaultStateStd(void* handle, const char* hostPath,
                                                 tqvProgressDelegate progress);
/** Copies any camera file (by path) into a host file object. */
TQV_API uint32_t tqvDownloadFile(void* handle, const char* cameraPath, tqvFilePtr file,
                                 tqvProgressDelegate progress);
/** Copies a host file object to a camera path. */
TQV_API uint32_t tqvUploadFile(void* handle, const char* cameraPath, tqvFilePtr file,
                               tqvProgressDelegate progress);
/** Copies any camera file (by path) to a host path. */
TQV_API uint32_t tqvDownloadFileStd(void* handle, const char* cameraPath, const char* hostPath,
                                    tqvProgressDelegate progress);
/** Copies a host file to a camera path. */
TQV_API uint32_t tqvUploadFileStd(void* handle, const char* cameraPath, const char* hostPath,
                                  tqvProgressDelegate progress);
#endif

/** @} */

/** @name Flag
 * The calibration flag: position, temperature control and cooler. */
/** @{ */
/** Whether the camera has a calibration flag. */
TQV_API uint32_t tqvGetFlagPresent(void* handle, bool* value);
/** Whether the flag's temperature is controlled. */
TQV_API uint32_t tqvGetFlagTemperatureControlled(void* handle, bool* value);
/** Reads the flag position: 0 Stowed, 1 InFOV. */
TQV_API uint32_t tqvGetFlagState(void* handle, uint8_t* value);
/** Sets the flag position: 0 Stowed, 1 InFOV (moves the flag). */
TQV_API uint32_t tqvSetFlagState(void* handle, uint8_t value);
/** Reads the flag's temperature setpoint. */
TQV_API uint32_t tqvGetFlagDesiredTemperature(void* handle, float* value);
/** Sets the flag's temperature setpoint. */
TQV_API uint32_t tqvSetFlagDesiredTemperature(void* handle, float value);
/** Reads whether the flag's cooler is powered. */
TQV_API uint32_t tqvGetFlagCoolerEnabled(void* handle, bool* value);
/** Sets whether the flag's cooler is powered. */
TQV_API uint32_t tqvSetFlagCoolerEnabled(void* handle, bool value);
/** Reads the flag temperature. */
TQV_API uint32_t tqvGetFlagTemperature(void* handle, float* value);

/** @} */

/** @name Focus, autofocus, field of view, lens control and lens information
 * Focus, autofocus, field of view (two-position and continuous lenses), lens controller and lens
 * information. Positions, speeds and percentages are in the lens's own units. */
/** @{ */
/** Whether the lens has a focus motor. */
TQV_API uint32_t tqvGetFocusPresent(void* handle, bool* value);
/** Reads the focus position range (minimum, maximum), in the lens's units. */
TQV_API uint32_t tqvGetFocusRange(void* handle, uint32_t* minimum, uint32_t* maximum);
/** Reads the focus position. */
TQV_API uint32_t tqvGetFocusPos(void* handle, uint32_t* value);
/** Sets the focus position (moves the focus). */
TQV_API uint32_t tqvSetFocusPos(void* handle, uint32_t value);
/** Starts a full autofocus; with wait true returns when it has finished. */
TQV_API uint32_t tqvAutoFocusFull(void* handle, bool wait);
/** Starts a fast autofocus; with wait true returns when it has finished. */
TQV_API uint32_t tqvAutoFocusFast(void* handle, bool wait);
/** Sets whether the autofocus region is drawn while focusing. */
TQV_API uint32_t tqvSetAutoFocusROIShowWhenFocusing(void* handle, bool value);
/** Reads whether the autofocus region is drawn while focusing. */
TQV_API uint32_t tqvGetAutoFocusROIShowWhenFocusing(void* handle, bool* value);
/** Sets the size of the autofocus region. */
TQV_API uint32_t tqvSetAutoFocusROISize(void* handle, uint16_t value);
/** Reads the size of the autofocus region. */
TQV_API uint32_t tqvGetAutoFocusROISize(void* handle, uint16_t* value);
/** Sets the autofocus region position: 0 Center, 1 Top-Left, 2 Top-Right, 3 Bottom-Left, 4
 * Bottom-Right. */
TQV_API uint32_t tqvSetAutoFocusROIPosition(void* handle, uint8_t value);
/** Reads the autofocus region position: 0 Center, 1 Top-Left, 2 Top-Right, 3 Bottom-Left, 4
 * Bottom-Right. */
TQV_API uint32_t tqvGetAutoFocusROIPosition(void* handle, uint8_t* value);
/** Reads the autofocus status code (1: finished) and text; the code is written even when the text
 * does not fit (TQV_ERROR). */
TQV_API uint32_t tqvGetAutoFocusStatus(void* handle, uint16_t* code, char* buffer, int32_t size);
/** Reads the autofocus result code and text; the code is written even when the text does not fit
 * (TQV_ERROR). */
TQV_API uint32_t tqvGetAutoFocusResult(void* handle, uint16_t* code, char* buffer, int32_t size);
/** Waits, polling every 500 ms, until the autofocus status code is 1 (no time limit). */
TQV_API uint32_t tqvWaitForAutoFocusDone(void* handle);
/** Reads the focus position while it moves. */
TQV_API uint32_t tqvGetFocusCurrentPos(void* handle, uint32_t* value);
/** Moves the focus to its nearest position. */
TQV_API uint32_t tqvFocusNear(void* handle);
/** Moves the focus to its farthest position. */
TQV_API uint32_t tqvFocusFar(void* handle);
/** Moves the focus at a speed -3..3 (negative: far, positive: near, 0 stops); TQV_FAILED outside on
 * GenICam. */
TQV_API uint32_t tqvFocusMove(void* handle, int32_t speed);
/** Moves the focus by a paced move of the given percentage. */
TQV_API uint32_t tqvFocusMovePercent(void* handle, float percent);
/** Whether the lens offers paced focus moves. */
TQV_API uint32_t tqvGetFocusMovePercentAvailable(void* handle, bool* value);
/** Moves the focus by a number of steps (relative). */
TQV_API uint32_t tqvFocusMoveBy(void* handle, int32_t steps);
/** Moves the focus to a position. */
TQV_API uint32_t tqvFocusMoveTo(void* handle, uint32_t position);
/** Whether the lens can focus to a distance. */
TQV_API uint32_t tqvGetFocusToDistanceAvailable(void* handle, bool* value);
/** Focuses to a distance. */
TQV_API uint32_t tqvFocusToDistance(void* handle, float distance);
/** Reads the nearest distance the lens can focus to. */
TQV_API uint32_t tqvGetFocusToDistanceMin(void* handle, float* value);
/** Reads the farthest distance the lens can focus to. */
TQV_API uint32_t tqvGetFocusToDistanceMax(void* handle, float* value);
/** Whether the lens has a selectable field of view. */
TQV_API uint32_t tqvGetFOVPresent(void* handle, bool* value);
/** Reads the field of view: 0 Narrow, 1 Wide (2 reads as a continuous lens). */
TQV_API uint32_t tqvGetFOV(void* handle, uint8_t* value);
/** Sets the field of view: 0 Narrow, 1 Wide (2 reads as a continuous lens); TQV_NOT_SUPPORTED on a
 * continuous lens. */
TQV_API uint32_t tqvSetFOV(void* handle, uint8_t value);
/** Reads the near focus position of a field of view (0 narrow, 1 wide; 2 the lens's own limit on
 * reading); TQV_NOT_FOUND for another index. */
TQV_API uint32_t tqvGetFocusNearPos(void* handle, uint8_t fov, uint32_t* position);
/** Sets the near focus position of a field of view (0 narrow, 1 wide; 2 the lens's own limit on
 * reading); TQV_NOT_FOUND for another index. */
TQV_API uint32_t tqvSetFocusNearPos(void* handle, uint8_t fov, uint32_t position);
/** Reads the far focus position of a field of view (0 narrow, 1 wide; 2 the lens's own limit on
 * reading); TQV_NOT_FOUND for another index. */
TQV_API uint32_t tqvGetFocusFarPos(void* handle, uint8_t fov, uint32_t* position);
/** Sets the far focus position of a field of view (0 narrow, 1 wide; 2 the lens's own limit on
 * reading); TQV_NOT_FOUND for another index. */
TQV_API uint32_t tqvSetFocusFarPos(void* handle, uint8_t fov, uint32_t position);
/** Whether the lens zooms continuously. */
TQV_API uint32_t tqvGetFOVIsContinuous(void* handle, bool* value);
/** Reads the zoom position range (minimum, maximum) of a continuous lens. */
TQV_API uint32_t tqvGetFOVRange(void* handle, uint32_t* minimum, uint32_t* maximum);
/** Reads the zoom position of a continuous lens. */
TQV_API uint32_t tqvGetFOVPos(void* handle, uint32_t* value);
/** Sets the zoom position of a continuous lens (moves the zoom). */
TQV_API uint32_t tqvSetFOVPos(void* handle, uint32_t value);
/** Reads the zoom position while it moves. */
TQV_API uint32_t tqvGetFOVCurrentPos(void* handle, uint32_t* value);
/** Zooms to the minimum position. */
TQV_API uint32_t tqvFOVMin(void* handle);
/** Zooms to the maximum position. */
TQV_API uint32_t tqvFOVMax(void* handle);
/** Zooms at a speed (negative one way, positive the other, 0 stops). */
TQV_API uint32_t tqvFOVMove(void* handle, int32_t speed);
/** Zooms by a paced move of the given percentage. */
TQV_API uint32_t tqvFOVMovePercent(void* handle, float percent);
/** Whether the lens offers paced zoom moves. */
TQV_API uint32_t tqvGetFOVMovePercentAvailable(void* handle, bool* value);
/** Zooms by a number of steps (relative). */
TQV_API uint32_t tqvFOVMoveBy(void* handle, int32_t steps);
/** Zooms to a position. */
TQV_API uint32_t tqvFOVMoveTo(void* handle, uint32_t position);
/** Reads the lens controller: 0 None, 1 FMB, 2 Vorn, 3 Tesk. */
TQV_API uint32_t tqvGetLensControlType(void* handle, uint8_t* value);
/** Sets the lens controller: 0 None, 1 FMB, 2 Vorn, 3 Tesk; TQV_NOT_WRITABLE on camera types with a
 * fixed controller. */
TQV_API uint32_t tqvSetLensControlType(void* handle, uint8_t value);
/** Whether the lens controller can be changed (not on camera types 7 and 11-17). */
TQV_API uint32_t tqvGetLensControlTypeWritable(void* handle, bool* value);
/** Whether the focus motor is disengaged for manual focus. */
TQV_API uint32_t tqvGetFocusManualMode(void* handle, bool* value);
/** Whether the lens reports its information. */
TQV_API uint32_t tqvGetLensInfoAvailable(void* handle, bool* value);
/** Reads the lens focal length. */
TQV_API uint32_t tqvGetLensFocalLength(void* handle, int32_t* value);
/** Reads the lens band: 0 Unknown, 1 MWIR, 2 MWIR-BB, 3 LWIR, 4 SWIR. */
TQV_API uint32_t tqvGetLensBandPass(void* handle, uint8_t* value);
/** Reads the lens's specific type code. */
TQV_API uint32_t tqvGetLensSpecificType(void* handle, uint32_t* value);
/** Whether the lens reports a specific type. */
TQV_API uint32_t tqvGetLensSpecificTypeAvailable(void* handle, bool* value);
/** Whether the lens offers athermalization. */
TQV_API uint32_t tqvGetLensAthermalizationEnabledAvailable(void* handle, bool* value);
/** Reads whether the lens's athermalization is on. */
TQV_API uint32_t tqvGetLensAthermalizationEnabled(void* handle, bool* value);
/** Sets whether the lens's athermalization is on. */
TQV_API uint32_t tqvSetLensAthermalizationEnabled(void* handle, bool value);

/** @} */

/** @name Lens states
 * Lens states stored on the camera, by name (".lens" added). */
/** @{ */
/** Loads a lens state stored on the camera (".lens" added, name checked). */
TQV_API uint32_t tqvLoadLensState(void* handle, const char* name);
/** Loads the present lens state again from the camera's storage. */
TQV_API uint32_t tqvReloadLensState(void* handle);
/** Deletes a lens state from the camera. */
TQV_API uint32_t tqvDeleteLensState(void* handle, const char* name);
/** Renames a lens state on the camera. */
TQV_API uint32_t tqvRenameLensState(void* handle, const char* oldName, const char* newName);
/** Saves the lens settings under the present lens state name. */
TQV_API uint32_t tqvSaveLensState(void* handle);
/** Saves the lens settings as a lens state of the given name (".lens" added, name checked). */
TQV_API uint32_t tqvSaveLensStateAs(void* handle, const char* name);
/** Reads the name of the present lens state, without extension. */
TQV_API uint32_t tqvGetLensStateName(void* handle, char* buffer, int32_t size);
/** TQV_OK when the lens state exists on the camera, else the not-found code. */
TQV_API uint32_t tqvLensStateExists(void* handle, const char* name);
/** Fills a host's listing with the lens states on the camera (names without extension). */
TQV_API uint32_t tqvListLensStates(void* handle, tqvDirEntryArray* list);
/** Whether the lens settings differ from the stored lens state. */
TQV_API uint32_t tqvGetLensStateModified(void* handle, bool* value);

/** @} */

/** @name Video output, AGC, overlay, hard defaults
 * The analogue or digital video output, automatic gain control (AGC) and overlay. */
/** @{ */
/** Reads the preset the video output shows (0-3). */
TQV_API uint32_t tqvGetVideoPreset(void* handle, uint8_t* value);
/** Sets the preset the video output shows (0-3); only 0 on a GenICam camera without the setting
 * (else TQV_NOT_SUPPORTED). */
TQV_API uint32_t tqvSetVideoPreset(void* handle, uint8_t value);
/** Reads the video format code (texts: tqvVideoFormatText; offered codes: tqvGetVideoFormats). */
TQV_API uint32_t tqvGetVideoFormat(void* handle, uint8_t* value);
/** Sets the video format code (texts: tqvVideoFormatText; offered codes: tqvGetVideoFormats). */
TQV_API uint32_t tqvSetVideoFormat(void* handle, uint8_t value);
/** Reads the video update rate: 0 Frame, 1 Field. */
TQV_API uint32_t tqvGetVideoUpdateRate(void* handle, uint8_t* value);
/** Sets the video update rate: 0 Frame, 1 Field. */
TQV_API uint32_t tqvSetVideoUpdateRate(void* handle, uint8_t value);
/** Reads the image position on the video output: 0 FPA, 1 Center, 2 Offset. */
TQV_API uint32_t tqvGetVideoPosition(void* handle, uint8_t* value);
/** Sets the image position on the video output: 0 FPA, 1 Center, 2 Offset. */
TQV_API uint32_t tqvSetVideoPosition(void* handle, uint8_t value);
/** Reads the video temporal filter: 0 None, 1 4-Tap, 3 4-Tap Motion Adaptive. */
TQV_API uint32_t tqvGetVideoTemporalFilter(void* handle, uint8_t* value);
/** Sets the video temporal filter: 0 None, 1 4-Tap, 3 4-Tap Motion Adaptive. */
TQV_API uint32_t tqvSetVideoTemporalFilter(void* handle, uint8_t value);
/** Reads the threshold of the video temporal filter. */
TQV_API uint32_t tqvGetVideoTemporalFilterThreshold(void* handle, uint16_t* value);
/** Sets the threshold of the video temporal filter. */
TQV_API uint32_t tqvSetVideoTemporalFilterThreshold(void* handle, uint16_t value);
/** Reads the video zoom: 0 1/2x, 1 1x, 2 2x, 3 4x, 4 4/3x, 5 BestFit (offered codes:
 * tqvGetVideoZoomFactors). */
TQV_API uint32_t tqvGetVideoZoomFactor(void* handle, uint8_t* value);
/** Sets the video zoom: 0 1/2x, 1 1x, 2 2x, 3 4x, 4 4/3x, 5 BestFit (offered codes:
 * tqvGetVideoZoomFactors). */
TQV_API uint32_t tqvSetVideoZoomFactor(void* handle, uint8_t value);
/** Reads whether the video zoom interpolates bilinearly. */
TQV_API uint32_t tqvGetVideoZoomBilinear(void* handle, bool* value);
/** Sets whether the video zoom interpolates bilinearly. */
TQV_API uint32_t tqvSetVideoZoomBilinear(void* handle, bool value);
/** Reads the image offset on the video output (x, y), in pixels. */
TQV_API uint32_t tqvGetVideoOffset(void* handle, int16_t* x, int16_t* y);
/** Sets the image offset on the video output (x, y), in pixels. */
TQV_API uint32_t tqvSetVideoOffset(void* handle, int16_t x, int16_t y);
/** Reads the automatic gain control method: 0 Plateau, 1 DDE, 2 Linear, 3 Manual. */
TQV_API uint32_t tqvGetVideoAGCMethod(void* handle, uint8_t* value);
/** Sets the automatic gain control method: 0 Plateau, 1 DDE, 2 Linear, 3 Manual. */
TQV_API uint32_t tqvSetVideoAGCMethod(void* handle, uint8_t value);
/** Reads whether AGC dampening is on. */
TQV_API uint32_t tqvGetVideoAGCDampeningEnabled(void* handle, bool* value);
/** Sets whether AGC dampening is on. */
TQV_API uint32_t tqvSetVideoAGCDampeningEnabled(void* handle, bool value);
/** Reads the AGC dampening. */
TQV_API uint32_t tqvGetVideoAGCDampening(void* handle, float* value);
/** Sets the AGC dampening. */
TQV_API uint32_t tqvSetVideoAGCDampening(void* handle, float value);
/** Reads whether the AGC filter rate is used. */
TQV_API uint32_t tqvGetVideoAGCFilterRateEnabled(void* handle, bool* value);
/** Sets whether the AGC filter rate is used. */
TQV_API uint32_t tqvSetVideoAGCFilterRateEnabled(void* handle, bool value);
/** Reads the AGC filter rate. */
TQV_API uint32_t tqvGetVideoAGCFilterRate(void* handle, double* value);
/** Sets the AGC filter rate. */
TQV_API uint32_t tqvSetVideoAGCFilterRate(void* handle, double value);
/** Reads the plateau value of the plateau AGC. */
TQV_API uint32_t tqvGetVideoAGCPlateauP(void* handle, uint32_t* value);
/** Sets the plateau value of the plateau AGC. */
TQV_API uint32_t tqvSetVideoAGCPlateauP(void* handle, uint32_t value);
/** Reads the low and high limits of the manual AGC, in counts; stops at the first failure. */
TQV_API uint32_t tqvGetVideoAGCManual(void* handle, uint16_t* low, uint16_t* high);
/** Sets the low and high limits of the manual AGC, in counts; stops at the first failure. */
TQV_API uint32_t tqvSetVideoAGCManual(void* handle, uint16_t low, uint16_t high);
/** Reads the low limit of the manual AGC, in counts. */
TQV_API uint32_t tqvGetVideoAGCManualLow(void* handle, uint16_t* value);
/** Sets the low limit of the manual AGC, in counts. */
TQV_API uint32_t tqvSetVideoAGCManualLow(void* handle, uint16_t value);
/** Reads the high limit of the manual AGC, in counts. */
TQV_API uint32_t tqvGetVideoAGCManualHigh(void* handle, uint16_t* value);
/** Sets the high limit of the manual AGC, in counts. */
TQV_API uint32_t tqvSetVideoAGCManualHigh(void* handle, uint16_t value);
/** Reads the detail enhancement (DDE) sharpness. */
TQV_API uint32_t tqvGetVideoAGCDDESharpness(void* handle, uint16_t* value);
/** Sets the detail enhancement (DDE) sharpness. */
TQV_API uint32_t tqvSetVideoAGCDDESharpness(void* handle, uint16_t value);
/** Reads the detail enhancement (DDE) threshold. */
TQV_API uint32_t tqvGetVideoAGCDDEThreshold(void* handle, uint16_t* value);
/** Sets the detail enhancement (DDE) threshold. */
TQV_API uint32_t tqvSetVideoAGCDDEThreshold(void* handle, uint16_t value);
/** Reads whether the AGC uses its region of interest. */
TQV_API uint32_t tqvGetVideoAGCROIEnabled(void* handle, bool* value);
/** Sets whether the AGC uses its region of interest. */
TQV_API uint32_t tqvSetVideoAGCROIEnabled(void* handle, bool value);
/** Reads whether the AGC region is drawn while in use. */
TQV_API uint32_t tqvGetVideoAGCROIShowWhenEnabled(void* handle, bool* value);
/** Sets whether the AGC region is drawn while in use. */
TQV_API uint32_t tqvSetVideoAGCROIShowWhenEnabled(void* handle, bool value);
/** Reads the AGC region of interest (x and y offset, width, height), in pixels. */
TQV_API uint32_t tqvGetVideoAGCROI(void* handle, uint16_t* xOffset, uint16_t* yOffset,
                                   uint16_t* width, uint16_t* height);
/** Sets the AGC region of interest (x and y offset, width, height), in pixels. */
TQV_API uint32_t tqvSetVideoAGCROI(void* handle, uint16_t xOffset, uint16_t yOffset, uint16_t width,
                                   uint16_t height);
/** Reads whether the overlay is drawn on the video output. */
TQV_API uint32_t tqvGetVideoOverlayEnabled(void* handle, bool* value);
/** Sets whether the overlay is drawn on the video output. */
TQV_API uint32_t tqvSetVideoOverlayEnabled(void* handle, bool value);
/** Reads whether the overlay shows the date. */
TQV_API uint32_t tqvGetVideoOverlayShowDate(void* handle, bool* value);
/** Sets whether the overlay shows the date. */
TQV_API uint32_t tqvSetVideoOverlayShowDate(void* handle, bool value);
/** Reads whether the overlay shows the time. */
TQV_API uint32_t tqvGetVideoOverlayShowTime(void* handle, bool* value);
/** Sets whether the overlay shows the time. */
TQV_API uint32_t tqvSetVideoOverlayShowTime(void* handle, bool value);
/** Reads whether the overlay shows the logo. */
TQV_API uint32_t tqvGetVideoOverlayShowLogo(void* handle, bool* value);
/** Sets whether the overlay shows the logo. */
TQV_API uint32_t tqvSetVideoOverlayShowLogo(void* handle, bool value);
/** Reads whether the overlay shows the field of view. */
TQV_API uint32_t tqvGetVideoOverlayShowFOV(void* handle, bool* value);
/** Sets whether the overlay shows the field of view. */
TQV_API uint32_t tqvSetVideoOverlayShowFOV(void* handle, bool value);
/** Reads whether the overlay shows the zoom factor. */
TQV_API uint32_t tqvGetVideoOverlayShowZoom(void* handle, bool* value);
/** Sets whether the overlay shows the zoom factor. */
TQV_API uint32_t tqvSetVideoOverlayShowZoom(void* handle, bool value);
/** Reads whether the overlay shows the focus position. */
TQV_API uint32_t tqvGetVideoOverlayShowFocus(void* handle, bool* value);
/** Sets whether the overlay shows the focus position. */
TQV_API uint32_t tqvSetVideoOverlayShowFocus(void* handle, bool value);
/** Reads whether the overlay shows the lens temperature. */
TQV_API uint32_t tqvGetVideoOverlayShowLensTemp(void* handle, bool* value);
/** Sets whether the overlay shows the lens temperature. */
TQV_API uint32_t tqvSetVideoOverlayShowLensTemp(void* handle, bool value);
/** Reads whether the overlay shows the air gap temperature. */
TQV_API uint32_t tqvGetVideoOverlayShowAirGapTemp(void* handle, bool* value);
/** Sets whether the overlay shows the air gap temperature. */
TQV_API uint32_t tqvSetVideoOverlayShowAirGapTemp(void* handle, bool value);
/** Reads whether the overlay shows the internal temperature. */
TQV_API uint32_t tqvGetVideoOverlayShowInternalTemp(void* handle, bool* value);
/** Sets whether the overlay shows the internal temperature. */
TQV_API uint32_t tqvSetVideoOverlayShowInternalTemp(void* handle, bool value);
/** Reads whether the overlay shows the chassis temperature. */
TQV_API uint32_t tqvGetVideoOverlayShowChassisTemp(void* handle, bool* value);
/** Sets whether the overlay shows the chassis temperature. */
TQV_API uint32_t tqvSetVideoOverlayShowChassisTemp(void* handle, bool value);
/** Reads whether the overlay shows the front panel temperature. */
TQV_API uint32_t tqvGetVideoOverlayShowFrontPanelTemp(void* handle, bool* value);
/** Sets whether the overlay shows the front panel temperature. */
TQV_API uint32_t tqvSetVideoOverlayShowFrontPanelTemp(void* handle, bool value);
/** Reads whether the overlay shows the AGC region. */
TQV_API uint32_t tqvGetVideoOverlayShowAGCROI(void* handle, bool* value);
/** Sets whether the overlay shows the AGC region. */
TQV_API uint32_t tqvSetVideoOverlayShowAGCROI(void* handle, bool value);
/** Reads whether the overlay shows the autofocus region. */
TQV_API uint32_t tqvGetVideoOverlayShowFocusROI(void* handle, bool* value);
/** Sets whether the overlay shows the autofocus region. */
TQV_API uint32_t tqvSetVideoOverlayShowFocusROI(void* handle, bool value);
/** Reads whether the overlay shows the flag state. */
TQV_API uint32_t tqvGetVideoOverlayShowFlag(void* handle, bool* value);
/** Sets whether the overlay shows the flag state. */
TQV_API uint32_t tqvSetVideoOverlayShowFlag(void* handle, bool value);
/** Reads whether the overlay shows the palette. */
TQV_API uint32_t tqvGetVideoOverlayShowPalette(void* handle, bool* value);
/** Sets whether the overlay shows the palette. */
TQV_API uint32_t tqvSetVideoOverlayShowPalette(void* handle, bool value);
/** Reads whether the overlay shows the IRIG time. */
TQV_API uint32_t tqvGetVideoOverlayShowIRIG(void* handle, bool* value);
/** Sets whether the overlay shows the IRIG time. */
TQV_API uint32_t tqvSetVideoOverlayShowIRIG(void* handle, bool value);
/** Reads whether the overlay shows the frame rate. */
TQV_API uint32_t tqvGetVideoOverlayShowFrameRate(void* handle, bool* value);
/** Sets whether the overlay shows the frame rate. */
TQV_API uint32_t tqvSetVideoOverlayShowFrameRate(void* handle, bool value);
/** Reads whether the overlay shows the preset. */
TQV_API uint32_t tqvGetVideoOverlayShowPreset(void* handle, bool* value);
/** Sets whether the overlay shows the preset. */
TQV_API uint32_t tqvSetVideoOverlayShowPreset(void* handle, bool value);
/** Reads whether the overlay shows the hour meter. */
TQV_API uint32_t tqvGetVideoOverlayShowHourMeter(void* handle, bool* value);
/** Sets whether the overlay shows the hour meter. */
TQV_API uint32_t tqvSetVideoOverlayShowHourMeter(void* handle, bool value);
/** Reads whether the overlay shows the message. */
TQV_API uint32_t tqvGetVideoOverlayShowMessage(void* handle, bool* value);
/** Sets whether the overlay shows the message. */
TQV_API uint32_t tqvSetVideoOverlayShowMessage(void* handle, bool value);
/** Reads whether the overlay shows the camera information. */
TQV_API uint32_t tqvGetVideoOverlayShowCameraInfo(void* handle, bool* value);
/** Sets whether the overlay shows the camera information. */
TQV_API uint32_t tqvSetVideoOverlayShowCameraInfo(void* handle, bool value);
/** Reads whether the overlay shows the state name. */
TQV_API uint32_t tqvGetVideoOverlayShowStateName(void* handle, bool* value);
/** Sets whether the overlay shows the state name. */
TQV_API uint32_t tqvSetVideoOverlayShowStateName(void* handle, bool value);
/** Clears the overlay message. */
TQV_API uint32_t tqvVideoOverlayClearMessage(void* handle);
/** Resets the overlay to its default items and colours. */
TQV_API uint32_t tqvVideoOverlayUseDefaults(void* handle);
/** Clears the overlay. */
TQV_API uint32_t tqvVideoOverlayClear(void* handle);
/** Reads the colour of the overlay texts (index into tqvGetVideoOverlayPalette). */
TQV_API uint32_t tqvGetVideoOverlayTextColor(void* handle, uint8_t* value);
/** Sets the colour of the overlay texts (index into tqvGetVideoOverlayPalette); shown items are
 * redrawn. */
TQV_API uint32_t tqvSetVideoOverlayTextColor(void* handle, uint8_t value);
/** Reads the background colour of the overlay texts (palette index). */
TQV_API uint32_t tqvGetVideoOverlayTextBackground(void* handle, uint8_t* value);
/** Sets the background colour of the overlay texts (palette index); shown items are redrawn. */
TQV_API uint32_t tqvSetVideoOverlayTextBackground(void* handle, uint8_t value);
/** Reads the colour of the drawn AGC region (palette index). */
TQV_API uint32_t tqvGetVideoOverlayAGCROIColor(void* handle, uint8_t* value);
/** Sets the colour of the drawn AGC region (palette index). */
TQV_API uint32_t tqvSetVideoOverlayAGCROIColor(void* handle, uint8_t value);
/** Reads the colour of the drawn autofocus region (palette index). */
TQV_API uint32_t tqvGetVideoOverlayFocusROIColor(void* handle, uint8_t* value);
/** Sets the colour of the drawn autofocus region (palette index). */
TQV_API uint32_t tqvSetVideoOverlayFocusROIColor(void* handle, uint8_t value);
/** Whether the overlay offers a user-defined text field. */
TQV_API uint32_t tqvGetVideoOverlayUserDefinedFieldAvailable(void* handle, bool* value);
/** Reads whether the overlay shows the user-defined text field. */
TQV_API uint32_t tqvGetVideoOverlayShowUserDefinedField(void* handle, bool* value);
/** Sets whether the overlay shows the user-defined text field. */
TQV_API uint32_t tqvSetVideoOverlayShowUserDefinedField(void* handle, bool value);
/** Reads the text of the overlay's user-defined field. */
TQV_API uint32_t tqvGetVideoOverlayUserDefinedFieldText(void* handle, char* buffer, int32_t size);
/** Sets the text of the overlay's user-defined field; at most 64 characters (TQV_TOO_LARGE on the
 * property tree). */
TQV_API uint32_t tqvSetVideoOverlayUserDefinedFieldText(void* handle, const char* text);
/** Reads the video brightness (signed). */
TQV_API uint32_t tqvGetVideoBrightness(void* handle, int8_t* value);
/** Sets the video brightness (signed). */
TQV_API uint32_t tqvSetVideoBrightness(void* handle, int8_t value);
/** Reads the video contrast (signed). */
TQV_API uint32_t tqvGetVideoContrast(void* handle, int8_t* value);
/** Sets the video contrast (signed). */
TQV_API uint32_t tqvSetVideoContrast(void* handle, int8_t value);
/** Loads the camera's built-in default settings (the property-tree cache is emptied). */
TQV_API uint32_t tqvLoadHardDefaults(void* handle);

/** @} */

/** @name Saved states and defaults
 * States (complete camera settings) stored on the camera, by name (".rsc" added), and defaults. */
/** @{ */
/** Loads a state (all camera settings) stored on the camera (".rsc" added, name checked); the
 * property-tree cache is emptied. */
TQV_API uint32_t tqvLoadState(void* handle, const char* name);
/** Deletes a state from the camera. */
TQV_API uint32_t tqvDeleteState(void* handle, const char* name);
/** Renames a state on the camera. */
TQV_API uint32_t tqvRenameState(void* handle, const char* oldName, const char* newName);
/** Saves the camera settings under the present state name. */
TQV_API uint32_t tqvSaveState(void* handle);
/** Saves the camera settings as a state of the given name (".rsc" added, name checked). */
TQV_API uint32_t tqvSaveStateAs(void* handle, const char* name);
/** Reads the name of the state the camera starts with, without extension. */
TQV_API uint32_t tqvGetStateName(void* handle, char* buffer, int32_t size);
/** Whether the camera starts with the factory default state. */
TQV_API uint32_t tqvIsFactoryDefaultState(void* handle, bool* value);
/** TQV_OK when the state exists on the camera, else the not-found code. */
TQV_API uint32_t tqvStateExists(void* handle, const char* name);
/** Loads the factory default settings; TQV_FAILED when the camera reports it could not. */
TQV_API uint32_t tqvLoadFactoryDefaults(void* handle);
/** Saves the camera settings as factory defaults; TQV_FAILED when the camera reports it could not.
 */
TQV_API uint32_t tqvSaveFactoryDefaults(void* handle);
/** Fills a host's listing with the states on the camera (names without extension). */
TQV_API uint32_t tqvListStates(void* handle, tqvDirEntryArray* list);

/** @} */

/** @name Non-uniformity correction control and bad pixels
 * The camera's own correction procedure (NUC) and bad pixels. Status and result codes and texts are
 * the camera's. */
/** @{ */
/** Reads whether the digital outputs carry corrected data. */
TQV_API uint32_t tqvGetDigitalOutputNUCEnabled(void* handle, bool* value);
/** Sets whether the digital outputs carry corrected data. */
TQV_API uint32_t tqvSetDigitalOutputNUCEnabled(void* handle, bool value);
/** Reads whether the video output shows corrected data. */
TQV_API uint32_t tqvGetVideoOutputNUCEnabled(void* handle, bool* value);
/** Sets whether the video output shows corrected data. */
TQV_API uint32_t tqvSetVideoOutputNUCEnabled(void* handle, bool value);
/** Reads the bad pixel correction: 0 Two-Point Gradient, 1 Nearest Neighbor, 2 None. */
TQV_API uint32_t tqvGetBadPixelCorrectionMethod(void* handle, uint8_t* value);
/** Sets the bad pixel correction: 0 Two-Point Gradient, 1 Nearest Neighbor, 2 None. */
TQV_API uint32_t tqvSetBadPixelCorrectionMethod(void* handle, uint8_t value);
/** Reads the correction type: 0 One Point, 1 Two Point, 2 Update Offset. */
TQV_API uint32_t tqvGetNUCType(void* handle, uint8_t* value);
/** Sets the correction type: 0 One Point, 1 Two Point, 2 Update Offset. */
TQV_API uint32_t tqvSetNUCType(void* handle, uint8_t value);
/** Reads the correction source: 0 External, 1 Internal (flag). */
TQV_API uint32_t tqvGetNUCSource(void* handle, uint8_t* value);
/** Sets the correction source: 0 External, 1 Internal (flag). */
TQV_API uint32_t tqvSetNUCSource(void* handle, uint8_t value);
/** Starts the camera's correction procedure; returns once the camera has accepted it (poll
 * GetNUCStatus). */
TQV_API uint32_t tqvStartNUC(void* handle);
/** Lets the correction procedure go on after it waited for the operator. */
TQV_API uint32_t tqvContinueNUC(void* handle);
/** Stops the correction procedure. */
TQV_API uint32_t tqvAbortNUC(void* handle);
/** Keeps the tables of the finished correction. */
TQV_API uint32_t tqvAcceptNUC(void* handle);
/** Reverts the tables of the finished correction (each preset that took part). */
TQV_API uint32_t tqvDiscardNUC(void* handle);
/** Reads the correction procedure's status code and text (the camera's); the code is written even
 * when the text does not fit (TQV_ERROR). */
TQV_API uint32_t tqvGetNUCStatus(void* handle, uint16_t* code, char* buffer, int32_t size);
/** Reads the size in bytes of a correction file on the camera. */
TQV_API uint32_t tqvGetNUCSize(void* handle, const char* name, uint32_t* size);
/** Reads the size (bytes) and modification time of a correction file on the camera; either output
 * may be null. */
TQV_API uint32_t tqvGetNUCFileInfo(void* handle, const char* name, uint32_t* size,
                                   uint64_t* timeLastModified);
/** Estimates the size in bytes of a correction file for a window: width x height x 4 + 1024 (no
 * camera access). */
TQV_API uint32_t tqvGuessNUCSize(void* handle, uint16_t width, uint16_t height, uint32_t* size);
/** Reads the number of frames the correction averages. */
TQV_API uint32_t tqvGetNUCNumFrames(void* handle, uint8_t* value);
/** Sets the number of frames the correction averages. */
TQV_API uint32_t tqvSetNUCNumFrames(void* handle, uint8_t value);
/** Reads the correction limits: gain minimum and maximum, A/D minimum and maximum (counts), bad
 * pixel detection; stops at the first failure. */
TQV_API uint32_t tqvGetNUCSetup(void* handle, float* gainMin, float* gainMax, uint16_t* adMin,
                                uint16_t* adMax, bool* detectBadPixels);
/** Sets the correction limits: gain minimum and maximum, A/D minimum and maximum (counts), bad
 * pixel detection; stops at the first failure. */
TQV_API uint32_t tqvSetNUCSetup(void* handle, float gainMin, float gainMax, uint16_t adMin,
                                uint16_t adMax, bool detectBadPixels);
/** Reads whether the correction applies the factory bad pixel list. */
TQV_API uint32_t tqvGetNUCUseFactoryBadPixels(void* handle, bool* value);
/** Sets whether the correction applies the factory bad pixel list. */
TQV_API uint32_t tqvSetNUCUseFactoryBadPixels(void* handle, bool value);
/** Reads twinkling pixel detection: on or off, frames to collect, delta in counts; stops at the
 * first failure. */
TQV_API uint32_t tqvGetTwinklerSetup(void* handle, bool* detect, uint32_t* framesToCollect,
                                     uint16_t* delta);
/** Sets twinkling pixel detection: on or off, frames to collect, delta in counts; stops at the
 * first failure. */
TQV_API uint32_t tqvSetTwinklerSetup(void* handle, bool detect, uint32_t framesToCollect,
                                     uint16_t delta);
/** Reads whether bad pixels are shown in the image. */
TQV_API uint32_t tqvGetShowBadPixels(void* handle, bool* value);
/** Sets whether bad pixels are shown in the image. */
TQV_API uint32_t tqvSetShowBadPixels(void* handle, bool value);
/** Reads how the flag setpoints are given: 0 Delta, 1 Fixed. */
TQV_API uint32_t tqvGetNUCFlagSetpointType(void* handle, uint8_t* value);
/** Sets how the flag setpoints are given: 0 Delta, 1 Fixed. */
TQV_API uint32_t tqvSetNUCFlagSetpointType(void* handle, uint8_t value);
/** Reads the low and high flag setpoints as differences of temperature. */
TQV_API uint32_t tqvGetNUCFlagSetpointDeltas(void* handle, float* low, float* high);
/** Sets the low and high flag setpoints as differences of temperature. */
TQV_API uint32_t tqvSetNUCFlagSetpointDeltas(void* handle, float low, float high);
/** Reads the low and high fixed flag setpoint temperatures. */
TQV_API uint32_t tqvGetNUCFlagSetpointTemps(void* handle, float* low, float* high);
/** Sets the low and high fixed flag setpoint temperatures. */
TQV_API uint32_t tqvSetNUCFlagSetpointTemps(void* handle, float low, float high);
/** Reads which presets 0-3 a correction run covers. */
TQV_API uint32_t tqvGetNUCPresets(void* handle, bool* preset0, bool* preset1, bool* preset2,
                                  bool* preset3);
/** Sets which presets 0-3 a correction run covers; a GenICam camera without presets takes only
 * (true, false, false, false), else TQV_NOT_SUPPORTED. */
TQV_API uint32_t tqvSetNUCPresets(void* handle, bool preset0, bool preset1, bool preset2,
                                  bool preset3);
/** Reads the finished correction's result code and text (the camera's); the code is written even
 * when the text does not fit (TQV_ERROR). */
TQV_API uint32_t tqvGetNUCResult(void* handle, uint16_t* code, char* buffer, int32_t size);
/** Reads the bad pixel counts of a preset's correction: total, factory, new, twinkling, gain and
 * A/D limits per source; preset 0-3. */
TQV_API uint32_t tqvGetNUCResults(void* handle, uint8_t preset, uint32_t* total, uint32_t* factory,
                                  uint32_t* newPixels, uint32_t* twinkling, uint32_t* aboveGainMax,
                                  uint32_t* belowGainMin, uint32_t* aboveADMaxSrc1,
                                  uint32_t* belowADMinSrc1, uint32_t* aboveADMaxSrc2,
                                  uint32_t* belowADMinSrc2);
/** Reads (manufacturing) the flag's maximum temperature, stable delta, stable count and time-out;
 * stops at the first failure. */
TQV_API uint32_t tqvGetNUCFlagConfig(void* handle, float* maxTemp, float* stableDelta,
                                     uint8_t* stableCount, uint32_t* timeout);
/** Sets (manufacturing) the flag's maximum temperature, stable delta, stable count and time-out;
 * stops at the first failure. */
TQV_API uint32_t tqvSetNUCFlagConfig(void* handle, float maxTemp, float stableDelta,
                                     uint8_t stableCount, uint32_t timeout);
/** Reads the automatic correction: on or off, by temperature change (degrees) and by elapsed time;
 * stops at the first failure. */
TQV_API uint32_t tqvGetAutoNUCSetup(void* handle, bool* enabled, bool* useDeltaTemp,
                                    float* deltaTemp, bool* useDeltaTime, uint32_t* deltaTime);
/** Sets the automatic correction: on or off, by temperature change (degrees) and by elapsed time;
 * stops at the first failure. */
TQV_API uint32_t tqvSetAutoNUCSetup(void* handle, bool enabled, bool useDeltaTemp, float deltaTemp,
                                    bool useDeltaTime, uint32_t deltaTime);
/** Runs the automatic correction now. */
TQV_API uint32_t tqvDoAutoNUC(void* handle);
/** Whether a correction file belongs to a factory calibration. */
TQV_API uint32_t tqvIsFactoryNUC(void* handle, const char* name, bool* isFactory);
/** Marks a pixel (x, y) as bad or good in a preset (-1: all); a GenICam camera without presets
 * takes only 0 and -1. */
TQV_API uint32_t tqvPickBadPixel(void* handle, uint16_t x, uint16_t y, int8_t preset, bool bad);
/** Saves a preset's bad pixel list to a file on the camera; preset 0-3. */
TQV_API uint32_t tqvSaveBadPixelList(void* handle, uint8_t preset, const char* fileName);
/** Loads a preset's bad pixel list from a file on the camera; preset 0-3. */
TQV_API uint32_t tqvLoadBadPixelList(void* handle, uint8_t preset, const char* fileName);
/** (manufacturing) Creates the factory bad pixel list from a preset (-1: all). */
TQV_API uint32_t tqvMfgFactoryBPLCreate(void* handle, int8_t preset);
/** (manufacturing) Appends a preset's bad pixels to the factory list (-1: all). */
TQV_API uint32_t tqvMfgFactoryBPLAppend(void* handle, int8_t preset);
/** (manufacturing) Applies the factory bad pixel list to a preset (-1: all). */
TQV_API uint32_t tqvMfgFactoryBPLApply(void* handle, int8_t preset);
/** Whether the camera can save and load bad pixel lists. */
TQV_API uint32_t tqvGetBadPixelListIOSupported(void* handle, bool* value);
/** Whether an automatic correction is running (a GenICam camera without it: false with
 * TQV_TIMEOUT). */
TQV_API uint32_t tqvGetAutoNUCInProgress(void* handle, bool* value);

/** @} */

/** @name Camera storage: free space, files and directories
 * The camera's file system: free space, files and directories by path. */
/** @{ */
/** Reads the free space of the camera's drive, in bytes. */
TQV_API uint32_t tqvGetDriveFreeSpace(void* handle, uint64_t* value);
/** Reads the space left for correction files, in bytes (10 MiB kept in reserve on the property
 * tree). */
TQV_API uint32_t tqvGetNUCFreeSpace(void* handle, uint64_t* value);
/** Creates a directory on the camera. */
TQV_API uint32_t tqvCreateDir(void* handle, const char* path);
/** Removes a file from the camera. */
TQV_API uint32_t tqvRemoveFile(void* handle, const char* path);
/** Renames (moves) a file on the camera. */
TQV_API uint32_t tqvRenameFile(void* handle, const char* oldPath, const char* newPath);
/** TQV_OK when the file or directory exists on the camera, else the not-found code. */
TQV_API uint32_t tqvFileExists(void* handle, const char* path);
/** Reads the size (bytes) and modification time of a camera file; either output may be null. */
TQV_API uint32_t tqvGetFileInfo(void* handle, const char* path, uint32_t* size,
                                uint64_t* timeLastModified);
/** Fills a host's listing with a camera directory's entries (names whole). */
TQV_API uint32_t tqvListDir(void* handle, const char* path, tqvDirEntryArray* list);
/** Removes an empty directory from the camera. */
TQV_API uint32_t tqvRemoveDir(void* handle, const char* path);

/** @} */

/** @name Palettes
 * Video palettes stored on the camera, by name (".pal" added). */
/** @{ */
/** Fills a host's listing with the palettes on the camera (names without extension). */
TQV_API uint32_t tqvListPalettes(void* handle, tqvDirEntryArray* list);
/** Loads a palette for the video output (".pal" added). */
TQV_API uint32_t tqvLoadPalette(void* handle, const char* name);
/** Reads the name of the palette in use. */
TQV_API uint32_t tqvGetPalette(void* handle, char* buffer, int32_t size);
/** TQV_OK when the palette exists on the camera, else the not-found code. */
TQV_API uint32_t tqvPaletteExists(void* handle, const char* name);
/** Renames a palette on the camera. */
TQV_API uint32_t tqvRenamePalette(void* handle, const char* oldName, const char* newName);
/** Deletes a palette from the camera. */
TQV_API uint32_t tqvDeletePalette(void* handle, const char* name);

/** @} */

/** @name Calibrations
 * Radiometric calibrations stored on the camera, by tag; per preset 0-3. */
/** @{ */
/** Reads the tag of the calibration loaded in a preset; preset 0-3. */
TQV_API uint32_t tqvGetCalTag(void* handle, uint8_t preset, char* buffer, int32_t size);
/** Loads a calibration (by tag) into a preset; preset 0-3. */
TQV_API uint32_t tqvLoadCal(void* handle, uint8_t preset, const char* tag);
/** Unloads the calibration of a preset; preset 0-3. */
TQV_API uint32_t tqvUnloadCal(void* handle, uint8_t preset);
/** Reads the name of a calibration by tag. */
TQV_API uint32_t tqvGetCalName(void* handle, const char* tag, char* buffer, int32_t size);
/** Reads a calibration's description; with withTable the two look-up tables too (released with
 * tqvFree); tags of 255 characters or more: TQV_ERROR. */
TQV_API uint32_t tqvGetCalInfo(void* handle, const char* tag, tqvSCalInfo* info, bool withTable);
/** Reads the number of entries of a calibration's look-up table. */
TQV_API uint32_t tqvGetCalLookupTableSize(void* handle, const char* tag, uint32_t* size);
/** Reads a calibration's look-up table into two arrays of count doubles; TQV_TOO_LARGE when the
 * table has more entries. */
TQV_API uint32_t tqvGetCalLookupTable(void* handle, const char* tag, double* first, double* second,
                                      uint32_t count);
/** TQV_OK when the calibration tag exists, else a failure code. */
TQV_API uint32_t tqvCalExists(void* handle, const char* tag);
/** Whether the camera carries a factory calibration. */
TQV_API uint32_t tqvIsFactoryCalibrated(void* handle, bool* value);
#ifdef __cplusplus
/** Lists the tags of the calibrations on the camera. */
TQV_API uint32_t tqvGetCalTags(void* handle, zel::TArray<zel::CString>& list);
#endif

/** @} */

/** @name Camera interfaces (GigE, CameraLink, CoaXPress, Pleora interface board), lock-in, HSM,
 * header modes, transport type Data links (GigE, CameraLink, CoaXPress, Pleora interface board)
 * with their header modes, lock-in imaging and high-speed mode. */
/** @{ */
/** Reads the preset the GigE link sends: 0-3, 4 All. */
TQV_API uint32_t tqvGetGigEPreset(void* handle, uint8_t* value);
/** Sets the preset the GigE link sends: 0-3, 4 All. */
TQV_API uint32_t tqvSetGigEPreset(void* handle, uint8_t value);
/** Whether the GigE link can send a chosen preset. */
TQV_API uint32_t tqvGetGigEPresetSupported(void* handle, bool* value);
/** Whether the camera offers a CameraLink type setting. */
TQV_API uint32_t tqvGetCameraLinkTypeAvailable(void* handle, bool* value);
/** Whether the CameraLink type can be changed. */
TQV_API uint32_t tqvGetCameraLinkTypeWritable(void* handle, bool* value);
/** Reads the CameraLink type: 0 Base, 1 Full (without the setting: decided by the board type). */
TQV_API uint32_t tqvGetCameraLinkType(void* handle, uint8_t* value);
/** Sets the CameraLink type: 0 Base, 1 Full. */
TQV_API uint32_t tqvSetCameraLinkType(void* handle, uint8_t value);
/** Reads the number of CoaXPress links (without the setting: decided by the board type). */
TQV_API uint32_t tqvGetCoaXPressLinkCount(void* handle, uint8_t* value);
/** Sets the number of CoaXPress links. */
TQV_API uint32_t tqvSetCoaXPressLinkCount(void* handle, uint8_t value);
/** Whether the camera offers a CoaXPress link count setting. */
TQV_API uint32_t tqvGetCoaXPressLinkCountAvailable(void* handle, bool* value);
/** Whether the CoaXPress link count can be changed. */
TQV_API uint32_t tqvGetCoaXPressLinkCountWritable(void* handle, bool* value);
/** Reads the Pleora interface board: 0 PT1000, 1 NTx-UV3, 2 NTx-GigE; TQV_OUT_OF_ENUMERATION for a
 * text the library does not know. */
TQV_API uint32_t tqvGetPleoraBoardType(void* handle, uint8_t* value);
/** Sets the Pleora interface board: 0 PT1000, 1 NTx-UV3, 2 NTx-GigE; codes above 2:
 * TQV_OUT_OF_ENUMERATION. */
TQV_API uint32_t tqvSetPleoraBoardType(void* handle, uint8_t value);
/** Whether the camera offers high-speed mode. */
TQV_API uint32_t tqvGetHSMAvailable(void* handle, bool* value);
/** Reads whether high-speed mode is on. */
TQV_API uint32_t tqvGetHSMEnabled(void* handle, bool* value);
/** Sets whether high-speed mode is on. */
TQV_API uint32_t tqvSetHSMEnabled(void* handle, bool value);
/** Whether the camera offers lock-in imaging. */
TQV_API uint32_t tqvGetLockinAvailable(void* handle, bool* value);
/** Reads the lock-in coupling: 0 AC, 1 DC. */
TQV_API uint32_t tqvGetLockinCoupling(void* handle, uint8_t* value);
/** Sets the lock-in coupling: 0 AC, 1 DC; other codes: TQV_OUT_OF_ENUMERATION. */
TQV_API uint32_t tqvSetLockinCoupling(void* handle, uint8_t value);
/** Reads the lock-in one-shot delay. */
TQV_API uint32_t tqvGetLockinOneShotDelay(void* handle, uint32_t* value);
/** Sets the lock-in one-shot delay. */
TQV_API uint32_t tqvSetLockinOneShotDelay(void* handle, uint32_t value);
/** Reads the estimated lock-in input frequency, in hertz. */
TQV_API uint32_t tqvGetLockinEstInputFreq(void* handle, float* value);
/** Sets the estimated lock-in input frequency, in hertz. */
TQV_API uint32_t tqvSetLockinEstInputFreq(void* handle, float value);
/** Reads the lock-in alpha filter (0: off). */
TQV_API uint32_t tqvGetLockinAlphaFilter(void* handle, uint8_t* value);
/** Sets the lock-in alpha filter (0: off). */
TQV_API uint32_t tqvSetLockinAlphaFilter(void* handle, uint8_t value);
/** Reads the lock-in sample decimation factor. */
TQV_API uint32_t tqvGetLockinSampleDecimation(void* handle, uint32_t* value);
/** Sets the lock-in sample decimation factor. */
TQV_API uint32_t tqvSetLockinSampleDecimation(void* handle, uint32_t value);
/** Reads the lock-in sample frequency, in hertz. */
TQV_API uint32_t tqvGetLockinSampleFreq(void* handle, float* value);
/** Sets the lock-in sample frequency, in hertz. */
TQV_API uint32_t tqvSetLockinSampleFreq(void* handle, float value);
/** Whether the CameraLink link offers header modes. */
TQV_API uint32_t tqvGetCameraLinkHeaderModeAvailable(void* handle, bool* value);
/** Reads the CameraLink frame header mode: 0 headers on, 1 header only, 2 header disabled;
 * TQV_NOT_SUPPORTED when the camera reports both. */
TQV_API uint32_t tqvGetCameraLinkHeaderMode(void* handle, uint8_t* value);
/** Sets the CameraLink frame header mode: 0 headers on, 1 header only, 2 header disabled; other
 * modes: TQV_NOT_SUPPORTED. */
TQV_API uint32_t tqvSetCameraLinkHeaderMode(void* handle, uint8_t value);
/** Whether the CoaXPress link offers header modes. */
TQV_API uint32_t tqvGetCoaXPressHeaderModeAvailable(void* handle, bool* value);
/** Reads the CoaXPress frame header mode: 0 headers on, 1 header only, 2 header disabled;
 * TQV_NOT_SUPPORTED when the camera reports both. */
TQV_API uint32_t tqvGetCoaXPressHeaderMode(void* handle, uint8_t* value);
/** Sets the CoaXPress frame header mode: 0 headers on, 1 header only, 2 header disabled; other
 * modes: TQV_NOT_SUPPORTED. */
TQV_API uint32_t tqvSetCoaXPressHeaderMode(void* handle, uint8_t value);
/** Whether the GigE link offers header modes. */
TQV_API uint32_t tqvGetGigEHeaderModeAvailable(void* handle, bool* value);
/** Reads the GigE frame header mode: 0 headers on, 1 header only, 2 header disabled;
 * TQV_NOT_SUPPORTED when the camera reports both. */
TQV_API uint32_t tqvGetGigEHeaderMode(void* handle, uint8_t* value);
/** Sets the GigE frame header mode: 0 headers on, 1 header only, 2 header disabled; other modes:
 * TQV_NOT_SUPPORTED. */
TQV_API uint32_t tqvSetGigEHeaderMode(void* handle, uint8_t value);
/** Whether the camera reports its transport type (never on the property tree). */
TQV_API uint32_t tqvGetDeviceTLTypeAvailable(void* handle, bool* value);
/** Reads the transport type: 0 GigE, 1 CameraLink, 3 CoaXPress; TQV_NOT_FOUND on the property tree.
 */
TQV_API uint32_t tqvGetDeviceTLType(void* handle, uint8_t* value);

/** @} */

/** @name Manufacturing: clock phase and cooler
 * Manufacturing values: detector clock phase and cooler control. */
/** @{ */
/** (manufacturing) Reads the detector clock phase shift. */
TQV_API uint32_t tqvMfgGetClockPhaseShift(void* handle, uint32_t* value);
/** (manufacturing) Sets the detector clock phase shift. */
TQV_API uint32_t tqvMfgSetClockPhaseShift(void* handle, uint32_t value);
/** (manufacturing) Reads the cooler the cooler values address: 0 NUC flag, 1 Detector, 2
 * Undetermined. */
TQV_API uint32_t tqvMfgGetCoolerType(void* handle, uint8_t* value);
/** (manufacturing) Reads the cooler's control loop: P, I, D and offset; TQV_UNEXPECTED_VALUE for an
 * undetermined cooler. */
TQV_API uint32_t tqvMfgGetCoolerSetup(void* handle, float* p, float* i, float* d, float* offset);
/** (manufacturing) Sets the cooler's control loop: P, I, D and offset. */
TQV_API uint32_t tqvMfgSetCoolerSetup(void* handle, float p, float i, float d, float offset);
/** (manufacturing) Reads the cooler setpoint. */
TQV_API uint32_t tqvMfgGetCoolerSetpoint(void* handle, float* value);
/** (manufacturing) Sets the cooler setpoint. */
TQV_API uint32_t tqvMfgSetCoolerSetpoint(void* handle, float value);
/** (manufacturing) Reads whether the cooler is powered. */
TQV_API uint32_t tqvMfgGetCoolerPowerEnabled(void* handle, bool* value);
/** (manufacturing) Sets whether the cooler is powered. */
TQV_API uint32_t tqvMfgSetCoolerPowerEnabled(void* handle, bool value);

/** @} */

/** @name Manufacturing: focus motor
 * Manufacturing values of the focus motor, per field of view. */
/** @{ */
/** (manufacturing) Reads the slow, medium and fast focus speeds of a field of view (0 narrow, 1
 * wide; else TQV_UNEXPECTED_VALUE on the property tree). */
TQV_API uint32_t tqvMfgGetFocusSpeeds(void* handle, uint8_t fov, uint32_t* slow, uint32_t* medium,
                                      uint32_t* fast);
/** (manufacturing) Sets the slow, medium and fast focus speeds of a field of view (0 narrow, 1
 * wide). */
TQV_API uint32_t tqvMfgSetFocusSpeeds(void* handle, uint8_t fov, uint32_t slow, uint32_t medium,
                                      uint32_t fast);
/** (manufacturing) Reads how the slow focus is controlled: 0 position, 1 speed of a field of view
 * (0 narrow, 1 wide; else TQV_UNEXPECTED_VALUE on the property tree). */
TQV_API uint32_t tqvMfgGetFocusSlowControl(void* handle, uint8_t fov, uint8_t* control);
/** (manufacturing) Sets how the slow focus is controlled: 0 position, 1 speed of a field of view (0
 * narrow, 1 wide). */
TQV_API uint32_t tqvMfgSetFocusSlowControl(void* handle, uint8_t fov, uint8_t control);
/** (manufacturing) Reads the focus position increment of a field of view (0 narrow, 1 wide; else
 * TQV_UNEXPECTED_VALUE on the property tree). */
TQV_API uint32_t tqvMfgGetFocusPositionIncrement(void* handle, uint8_t fov, uint32_t* increment);
/** (manufacturing) Sets the focus position increment of a field of view (0 narrow, 1 wide). */
TQV_API uint32_t tqvMfgSetFocusPositionIncrement(void* handle, uint8_t fov, uint32_t increment);
/** (manufacturing) Reads the focus accuracy of a field of view (0 narrow, 1 wide; else
 * TQV_UNEXPECTED_VALUE on the property tree). */
TQV_API uint32_t tqvMfgGetFocusAccuracy(void* handle, uint8_t fov, uint32_t* accuracy);
/** (manufacturing) Sets the focus accuracy of a field of view (0 narrow, 1 wide). */
TQV_API uint32_t tqvMfgSetFocusAccuracy(void* handle, uint8_t fov, uint32_t accuracy);

/** @} */

/** @name Solid-state recorder
 * The camera's solid-state recorder: recording, playback and movies on its drive. */
/** @{ */
/** Whether the camera has a solid-state recorder. */
TQV_API uint32_t tqvGetSsdPresent(void* handle, bool* value);
/** Reads the recorder state (texts: tqvSsdStateText; 0 Disarmed, 1 Armed, 2 Triggered, 3 Complete,
 * ...). */
TQV_API uint32_t tqvGetSsdState(void* handle, uint8_t* value);
/** Whether the recorder's drive is fitted. */
TQV_API uint32_t tqvGetSsdDrivePresent(void* handle, bool* value);
/** Whether the recorder recognises its drive. */
TQV_API uint32_t tqvGetSsdDriveRecognized(void* handle, bool* value);
/** Arms the recorder. */
TQV_API uint32_t tqvSsdArm(void* handle);
/** Disarms the recorder. */
TQV_API uint32_t tqvSsdDisarm(void* handle);
/** Saves the recorder's buffer to its drive. */
TQV_API uint32_t tqvSsdSaveBuffer(void* handle);
/** Reads the name under which the buffer is saved. */
TQV_API uint32_t tqvGetSsdSaveName(void* handle, char* buffer, int32_t size);
/** Sets the name under which the buffer is saved. */
TQV_API uint32_t tqvSetSsdSaveName(void* handle, const char* text);
/** Formats the recorder's drive. */
TQV_API uint32_t tqvSsdFormatDrive(void* handle);
/** Reads the most frames the recorder's memory holds. */
TQV_API uint32_t tqvGetSsdMaxNumFrames(void* handle, uint32_t* value);
/** Reads the number of frames to record. */
TQV_API uint32_t tqvGetSsdNumFrames(void* handle, uint32_t* value);
/** Sets the number of frames to record. */
TQV_API uint32_t tqvSetSsdNumFrames(void* handle, uint32_t value);
/** Reads the number of frames recorded so far. */
TQV_API uint32_t tqvGetSsdNumFramesAcquired(void* handle, uint32_t* value);
/** Reads the number of frames kept from before the trigger. */
TQV_API uint32_t tqvGetSsdPretriggerFrames(void* handle, uint32_t* value);
/** Sets the number of frames kept from before the trigger. */
TQV_API uint32_t tqvSetSsdPretriggerFrames(void* handle, uint32_t value);
/** Reads the playback frame period, in detector clocks. */
TQV_API uint32_t tqvGetSsdPlaybackWidth(void* handle, uint32_t* value);
/** Sets the playback frame period, in detector clocks. */
TQV_API uint32_t tqvSetSsdPlaybackWidth(void* handle, uint32_t value);
/** Reads the playback rate, in hertz. */
TQV_API uint32_t tqvGetSsdPlaybackRate(void* handle, float* value);
/** Sets the playback rate, in hertz. */
TQV_API uint32_t tqvSetSsdPlaybackRate(void* handle, float value);
/** Triggers the recording. */
TQV_API uint32_t tqvSsdTrigger(void* handle);
/** Plays the buffer back. */
TQV_API uint32_t tqvSsdPlayBuffer(void* handle);
/** Pauses the playback. */
TQV_API uint32_t tqvSsdPauseBuffer(void* handle);
/** Resumes the playback. */
TQV_API uint32_t tqvSsdResumeBuffer(void* handle);
/** Stops the playback. */
TQV_API uint32_t tqvSsdStopBuffer(void* handle);
/** Reads whether the playback loops. */
TQV_API uint32_t tqvGetSsdLoopPlayback(void* handle, bool* value);
/** Sets whether the playback loops. */
TQV_API uint32_t tqvSetSsdLoopPlayback(void* handle, bool value);
/** Reads the frame being played back. */
TQV_API uint32_t tqvGetSsdPlaybackFrame(void* handle, uint32_t* value);
/** Reads the first frame of the playback. */
TQV_API uint32_t tqvGetSsdStartFrame(void* handle, uint32_t* value);
/** Sets the first frame of the playback. */
TQV_API uint32_t tqvSetSsdStartFrame(void* handle, uint32_t value);
/** Reads the last frame of the playback. */
TQV_API uint32_t tqvGetSsdEndFrame(void* handle, uint32_t* value);
/** Sets the last frame of the playback. */
TQV_API uint32_t tqvSetSsdEndFrame(void* handle, uint32_t value);
/** Reads whether the buffer is saved to the drive after recording. */
TQV_API uint32_t tqvGetSsdAutoSave(void* handle, bool* value);
/** Sets whether the buffer is saved to the drive after recording. */
TQV_API uint32_t tqvSetSsdAutoSave(void* handle, bool value);
/** Reads whether the buffer is played back after recording. */
TQV_API uint32_t tqvGetSsdAutoPlay(void* handle, bool* value);
/** Sets whether the buffer is played back after recording. */
TQV_API uint32_t tqvSetSsdAutoPlay(void* handle, bool value);
/** Skips the playback forward. */
TQV_API uint32_t tqvSsdSkipForward(void* handle);
/** Skips the playback backward. */
TQV_API uint32_t tqvSsdSkipBackward(void* handle);
/** Skips the playback to a frame. */
TQV_API uint32_t tqvSsdSkipToFrame(void* handle, uint32_t frame);
/** Loads a movie from the drive by index. */
TQV_API uint32_t tqvSsdLoadMovie(void* handle, int32_t index);
/** Reads the number of movies on the drive. */
TQV_API uint32_t tqvGetSsdMovieCount(void* handle, uint32_t* value);
/** Reads the description of a movie on the drive by index; TQV_ERROR when the camera does not find
 * it. */
TQV_API uint32_t tqvGetSsdMovieInfo(void* handle, uint32_t index, tqvSSsdMovieInfo* info);
/** Reads the drive's size, in bytes. */
TQV_API uint32_t tqvGetSsdDriveSpaceTotal(void* handle, int64_t* value);
/** Reads the used space of the drive, in bytes. */
TQV_API uint32_t tqvGetSsdDriveSpaceUsed(void* handle, int64_t* value);
/** Reads the free space of the drive, in bytes. */
TQV_API uint32_t tqvGetSsdDriveSpaceFree(void* handle, int64_t* value);
/** Whether the recorder offers record modes. */
TQV_API uint32_t tqvGetSsdRecordModeAvailable(void* handle, bool* value);
/** Reads where the recorder records: 0 ToMemory, 1 ToDisk. */
TQV_API uint32_t tqvGetSsdRecordMode(void* handle, uint8_t* value);
/** Sets where the recorder records: 0 ToMemory, 1 ToDisk. */
TQV_API uint32_t tqvSetSsdRecordMode(void* handle, uint8_t value);
/** Reads how a recording ends: 0 NumFrames, 1 Duration, 2 StartStop. */
TQV_API uint32_t tqvGetSsdRecordType(void* handle, uint8_t* value);
/** Sets how a recording ends: 0 NumFrames, 1 Duration, 2 StartStop. */
TQV_API uint32_t tqvSetSsdRecordType(void* handle, uint8_t value);
/** Reads the duration of a recording. */
TQV_API uint32_t tqvGetSsdRecordDuration(void* handle, uint32_t* value);
/** Sets the duration of a recording. */
TQV_API uint32_t tqvSetSsdRecordDuration(void* handle, uint32_t value);
/** Reads whether recording is gated. */
TQV_API uint32_t tqvGetSsdRecordGated(void* handle, bool* value);
/** Sets whether recording is gated. */
TQV_API uint32_t tqvSetSsdRecordGated(void* handle, bool value);
/** Pauses the recording. */
TQV_API uint32_t tqvSsdRecordPause(void* handle);
/** Stops the recording. */
TQV_API uint32_t tqvSsdRecordStop(void* handle);
/** Resumes the recording. */
TQV_API uint32_t tqvSsdRecordResume(void* handle);
/** Writes the recording's information file under the given name. */
TQV_API uint32_t tqvSsdSaveInfoFile(void* handle, const char* name);
/** Reads the most frames the drive holds. */
TQV_API uint32_t tqvGetSsdMaxNumFramesDisk(void* handle, uint32_t* value);
/** Unloads the loaded movie. */
TQV_API uint32_t tqvSsdUnload(void* handle);
/** Whether a movie is loaded. */
TQV_API uint32_t tqvGetSsdMovieLoaded(void* handle, bool* value);
/** Reads whether the recorder rearms after recording. */
TQV_API uint32_t tqvGetSsdAutoRearm(void* handle, bool* value);
/** Sets whether the recorder rearms after recording. */
TQV_API uint32_t tqvSetSsdAutoRearm(void* handle, bool value);
/** Reads whether recordings are offered for download automatically. */
TQV_API uint32_t tqvGetSsdAutoDownload(void* handle, bool* value);
/** Sets whether recordings are offered for download automatically. */
TQV_API uint32_t tqvSetSsdAutoDownload(void* handle, bool value);
/** Starts an automatic download. */
TQV_API uint32_t tqvSsdAutoDownloadStart(void* handle);
/** Tells the camera the automatic download is done. */
TQV_API uint32_t tqvSsdAutoDownloadDone(void* handle);

/** @} */

/** @name Lens cover
 * The lens cover. */
/** @{ */
/** Whether the camera has a lens cover. */
TQV_API uint32_t tqvGetLensCoverPresent(void* handle, bool* value);
/** Reads the lens cover: 0 Open, 1 Closed (2 Unknown on reading). */
TQV_API uint32_t tqvGetLensCoverState(void* handle, uint8_t* value);
/** Sets the lens cover: 0 Open, 1 Closed (2 Unknown on reading); 2 gives TQV_NOT_SUPPORTED. */
TQV_API uint32_t tqvSetLensCoverState(void* handle, uint8_t value);

/** @} */

/* ======================================================================== Family helpers */
/** @name Family helpers
 * Answers computed from other camera functions; each returns the first failing result unchanged. */
/** @{ */

/** Reads how many presets the camera offers: 1 on a frame grabber (board 6), else 4. */
TQV_API uint32_t tqvGetNumPresets(void* handle, uint8_t* count);
/** Whether the detector offers more than one gain level. */
TQV_API uint32_t tqvGetHasFPAGainLevels(void* handle, bool* has);
/** Whether the bad pixel correction method can be chosen (not on an Alder board). */
TQV_API uint32_t tqvGetBadPixelCorrectionMethodAvailable(void* handle, bool* available);
/** Makes the correction cover only one preset; above 3: TQV_NOT_SUPPORTED. */
TQV_API uint32_t tqvSetNUCPreset(void* handle, uint8_t preset);
/** Reads the one preset the correction covers (the lowest enabled; enables preset 0 when none is).
 */
TQV_API uint32_t tqvGetNUCPreset(void* handle, uint8_t* preset);
/** Whether the lens controller keeps lens states (lens control types 1 and 2). */
TQV_API uint32_t tqvGetHasLensStatesFunctionality(void* handle, bool* has);
/** Whether the video position can be set. */
TQV_API uint32_t tqvGetVideoPositionWritable(void* handle, bool* writable);
/** Whether the overlay text colours can be set. */
TQV_API uint32_t tqvGetVideoOverlayTextColorsAvailable(void* handle, bool* available);
/** Whether the camera measures a front panel temperature. */
TQV_API uint32_t tqvGetHasFrontPanelTemperature(void* handle, bool* has);
/** Whether the camera measures an air gap temperature. */
TQV_API uint32_t tqvGetHasAirGapTemperature(void* handle, bool* has);
/** Whether the camera measures a chassis temperature. */
TQV_API uint32_t tqvGetHasChassisTemperature(void* handle, bool* has);
/** Whether the camera measures an internal temperature. */
TQV_API uint32_t tqvGetHasInternalTemperature(void* handle, bool* has);
/** Whether the camera measures a lens temperature. */
TQV_API uint32_t tqvGetHasLensTemperature(void* handle, bool* has);
/** Whether the camera offers genlock (boards below 3). */
TQV_API uint32_t tqvGetGenlockAvailable(void* handle, bool* available);
/** Whether the camera's board is a WZN board (board type 3). */
TQV_API uint32_t tqvIsWZN(void* handle, bool* result);
/** Whether the camera is a WZN board with main application above 3.3. */
TQV_API uint32_t tqvIsXRefresh(void* handle, bool* result);
/** Whether the camera offers the tri-level sync source. */
TQV_API uint32_t tqvGetTriLevelSyncSourceAvailable(void* handle, bool* available);
/** Reads the frame header mode of the camera's data link: 0 headers on, 1 header only, 2 header
 * disabled (0 when the transport type is unknown). */
TQV_API uint32_t tqvGetHeaderMode(void* handle, uint8_t* mode);
/** Sets the frame header mode of the camera's data link: 0 headers on, 1 header only, 2 header
 * disabled; TQV_NOT_SUPPORTED when the transport type is unknown. */
TQV_API uint32_t tqvSetHeaderMode(void* handle, uint8_t mode);

/** @} */

/* ======================================================================== File transfers */
/** @name File transfers
 * Host-path transfers with a plain C progress callback (done, total, context; null: no reports) and
 * the listings handed to C hosts. Uploads without a camera name use the host file's name without
 * directories and extension. */
/** @{ */

/** Copies a correction file from the camera to a host path, with a C progress callback (null:
 * none). */
TQV_API uint32_t tqvDownloadNUCStdC(void* handle, const char* name, const char* hostPath,
                                    tqvProgressCallback callback, void* context);
/** Copies a host file to the camera as a correction file named after the file, with a C progress
 * callback (null: none). */
TQV_API uint32_t tqvUploadNUCStdC(void* handle, const char* hostPath, tqvProgressCallback callback,
                                  void* context);
/** Copies a host file to the camera as a correction file named after the name argument, with a C
 * progress callback. */
TQV_API uint32_t tqvUploadNUCStdExC(void* handle, const char* name, const char* hostPath,
                                    tqvProgressCallback callback, void* context);
/** Copies a state from the camera to a host path, with a C progress callback (null: none). */
TQV_API uint32_t tqvDownloadStateStdC(void* handle, const char* name, const char* hostPath,
                                      tqvProgressCallback callback, void* context);
/** Copies a host file to the camera as a state named after the file, with a C progress callback
 * (null: none). */
TQV_API uint32_t tqvUploadStateStdC(void* handle, const char* hostPath,
                                    tqvProgressCallback callback, void* context);
/** Copies the factory default state to a host path, with a C progress callback (null: none). */
TQV_API uint32_t tqvDownloadFactoryDefaultStateStdC(void* handle, const char* hostPath,
                                                    tqvProgressCallback callback, void* context);
/** Copies a host file to the camera as the factory default state, with a C progress callback. */
TQV_API uint32_t tqvUploadFactoryDefaultStateStdC(void* handle, const char* hostPath,
                                                  tqvProgressCallback callback, void* context);
/** Copies a lens state from the camera to a host path, with a C progress callback (null: none). */
TQV_API uint32_t tqvDownloadLensStateStdC(void* handle, const char* name, const char* hostPath,
                                          tqvProgressCallback callback, void* context);
/** Copies a host file to the camera as a lens state named after the file, with a C progress
 * callback (null: none). */
TQV_API uint32_t tqvUploadLensStateStdC(void* handle, const char* hostPath,
                                        tqvProgressCallback callback, void* context);
/** Copies a palette from the camera to a host path, with a C progress callback (null: none). */
TQV_API uint32_t tqvDownloadPaletteStdC(void* handle, const char* name, const char* hostPath,
                                        tqvProgressCallback callback, void* context);
/** Copies a host file to the camera as a palette named after the file, with a C progress callback
 * (null: none). */
TQV_API uint32_t tqvUploadPaletteStdC(void* handle, const char* hostPath,
                                      tqvProgressCallback callback, void* context);
/** Copies any camera file (by path) to a host path, with a C progress callback (null: none). */
TQV_API uint32_t tqvDownloadFileStdC(void* handle, const char* cameraPath, const char* hostPath,
                                     tqvProgressCallback callback, void* context);
/** Copies a host file to a camera path, with a C progress callback (null: none). */
TQV_API uint32_t tqvUploadFileStdC(void* handle, const char* cameraPath, const char* hostPath,
                                   tqvProgressCallback callback, void* context);

/** Creates an empty listing for the List functions; released with tqvDirEntryArray_Free. */
TQV_API tqvDirEntryArray* tqvDirEntryArray_Alloc(void);
/** The number of entries of a listing (0 for null). */
TQV_API uint32_t tqvDirEntryArray_size(const tqvDirEntryArray* array);
/** A copy of an entry's name, released with tqvFree; out of range: an empty text. */
TQV_API char* tqvDirEntryArray_fnameAt(const tqvDirEntryArray* array, uint32_t index);
/** An entry's attribute byte (the camera's); out of range: 0. */
TQV_API uint8_t tqvDirEntryArray_attribAt(const tqvDirEntryArray* array, uint32_t index);
/** An entry's size in bytes; out of range: 0. */
TQV_API uint32_t tqvDirEntryArray_sizeAt(const tqvDirEntryArray* array, uint32_t index);
/** An entry's modification time (the camera's value); out of range: 0. */
TQV_API uint64_t tqvDirEntryArray_timeLastModifiedAt(const tqvDirEntryArray* array, uint32_t index);
/** Releases a listing and its entries; null is ignored. */
TQV_API void tqvDirEntryArray_Free(tqvDirEntryArray* array);

/** Creates an empty information array for tqvGetCameraExtraInfo; released with
 * tqvInfoEntryArray_Free. */
TQV_API tqvInfoEntryArray* tqvInfoEntryArray_Alloc(void);
/** The number of entries of an information array (0 for null). */
TQV_API uint32_t tqvInfoEntryArray_size(const tqvInfoEntryArray* array);
/** A copy of an entry's name, released with tqvFree; out of range: an empty text. */
TQV_API char* tqvInfoEntryArray_nameAt(const tqvInfoEntryArray* array, uint32_t index);
/** A copy of an entry's value, released with tqvFree; out of range: an empty text. */
TQV_API char* tqvInfoEntryArray_valueAt(const tqvInfoEntryArray* array, uint32_t index);
/** Releases an information array and its entries; null is ignored. */
TQV_API void tqvInfoEntryArray_Free(tqvInfoEntryArray* array);

#ifdef __cplusplus
/* Host files for the file-object transfers; empty when the file cannot be opened. They return a
 * framework object from a C-linkage function, which only C++ callers see. */
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wreturn-type-c-linkage"
#endif
/** Opens a host file for writing (created); empty when it cannot be opened. */
TQV_API tqvFilePtr tqvOpenFileStdWrite(const char* path);
/** Opens a host file for reading; empty when it cannot be opened. */
TQV_API tqvFilePtr tqvOpenFileStdRead(const char* path);
#if defined(__clang__)
#pragma clang diagnostic pop
#endif
#endif

/** @} */

/* ======================================================================== Texts and tables */
/** @name Texts and tables
 * Pure functions: texts of enumeration codes, names into a caller's buffer (copied only when the
 * text's length plus one is less than the size, else TQV_ERROR and the buffer untouched; codes
 * count by their low 8 bits), the model and colour tables, name rules, and look-ups that read the
 * camera's identity. */
/** @{ */

/** The text of a preset sequencing mode code (0 Single Preset, 1 Preset Sequencing, 2
 * Superframing); null outside the table. */
TQV_API const char* tqvPresetSequencingModeText(uint32_t code);
/** The preset sequencing mode code of a text; TQV_ERROR when none matches. */
TQV_API uint32_t tqvPresetSequencingModeEnum(const char* text);
/** The text of a frame sync mode code (0 Integration, 1 Readout); null outside the table. */
TQV_API const char* tqvFrameSyncModeText(uint32_t code);
/** The frame sync mode code of a text; TQV_ERROR when none matches. */
TQV_API uint32_t tqvFrameSyncModeEnum(const char* text);
/** The text of a frame sync source code (0 Internal, 1 External, 2 Video, 3 TriLevelSync); null
 * outside the table. */
TQV_API const char* tqvFrameSyncSourceText(uint32_t code);
/** The frame sync source code of a text; TQV_ERROR when none matches. */
TQV_API uint32_t tqvFrameSyncSourceEnum(const char* text);
/** The text of a polarity code (0 Active Low, 1 Active High); null outside the table. */
TQV_API const char* tqvPolarityText(uint32_t code);
/** The polarity code of a text; TQV_ERROR when none matches. */
TQV_API uint32_t tqvPolarityEnum(const char* text);
/** The text of a trigger source code (0 Internal, 1 External, 2 Software, 3 IRIG); null outside the
 * table. */
TQV_API const char* tqvTriggerSourceText(uint32_t code);
/** The trigger source code of a text; TQV_ERROR when none matches. */
TQV_API uint32_t tqvTriggerSourceEnum(const char* text);
/** The text of a trigger mode code (0 Free Run ... 3 Triggered Preset Advance); null outside the
 * table. */
TQV_API const char* tqvTriggerModeText(uint32_t code);
/** The trigger mode code of a text; TQV_ERROR when none matches. */
TQV_API uint32_t tqvTriggerModeEnum(const char* text);
/** The text of a IRIG latch source code (0 Frame Start, 1 Integration Start, 2 Integration End);
 * null outside the table. */
TQV_API const char* tqvIRIGLatchSourceText(uint32_t code);
/** The IRIG latch source code of a text; TQV_ERROR when none matches. */
TQV_API uint32_t tqvIRIGLatchSourceEnum(const char* text);
/** The text of a sync-out source code (0 Integration Start, 1 Frame Start, 2 Saturated Flag); null
 * outside the table. */
TQV_API const char* tqvSyncOutSourceText(uint32_t code);
/** The sync-out source code of a text; TQV_ERROR when none matches. */
TQV_API uint32_t tqvSyncOutSourceEnum(const char* text);
/** The text of a flag state code (0 Stowed, 1 InFOV); null outside the table. */
TQV_API const char* tqvFlagStateText(uint32_t code);
/** The flag state code of a text (any case); TQV_ERROR when none matches. */
TQV_API uint32_t tqvFlagStateEnum(const char* text);
/** The text of a field of view code (0 Narrow, 1 Wide); null outside the table. */
TQV_API const char* tqvFOVText(uint32_t code);
/** The field of view code of a text (any case); TQV_ERROR when none matches. */
TQV_API uint32_t tqvFOVEnum(const char* text);
/** The text of a video format code (0 NTSC ... 13 1080P25Hz); null outside the table. */
TQV_API const char* tqvVideoFormatText(uint32_t code);
/** The video format code of a text; TQV_ERROR when none matches. */
TQV_API uint32_t tqvVideoFormatEnum(const char* text);
/** The text of a video update rate code (0 Frame, 1 Field); null outside the table. */
TQV_API const char* tqvVideoUpdateRateText(uint32_t code);
/** The video update rate code of a text; TQV_ERROR when none matches. */
TQV_API uint32_t tqvVideoUpdateRateEnum(const char* text);
/** The text of a video position code (0 FPA, 1 Center, 2 Offset); null outside the table. */
TQV_API const char* tqvVideoPositionText(uint32_t code);
/** The video position code of a text; TQV_ERROR when none matches. */
TQV_API uint32_t tqvVideoPositionEnum(const char* text);
/** The text of a video temporal filter code (0 None, 1 4-Tap, 3 4-Tap Motion Adaptive); null
 * outside the table. */
TQV_API const char* tqvVideoTemporalFilterText(uint32_t code);
/** The video temporal filter code of a text; TQV_ERROR when none matches. */
TQV_API uint32_t tqvVideoTemporalFilterEnum(const char* text);
/** The text of a video zoom factor code (0 1/2x ... 5 BestFit); null outside the table. */
TQV_API const char* tqvVideoZoomFactorText(uint32_t code);
/** The video zoom factor code of a text; TQV_ERROR when none matches. */
TQV_API uint32_t tqvVideoZoomFactorEnum(const char* text);
/** The text of a AGC method code (0 Plateau, 1 DDE, 2 Linear, 3 Manual); null outside the table. */
TQV_API const char* tqvVideoAGCMethodText(uint32_t code);
/** The AGC method code of a text; TQV_ERROR when none matches. */
TQV_API uint32_t tqvVideoAGCMethodEnum(const char* text);
/** The text of a correction type code (0 One Point, 1 Two Point, 2 Update Offset); null outside the
 * table. */
TQV_API const char* tqvNUCTypeText(uint32_t code);
/** The correction type code of a text; TQV_ERROR when none matches. */
TQV_API uint32_t tqvNUCTypeEnum(const char* text);
/** The text of a correction source code (0 External, 1 Internal); null outside the table. */
TQV_API const char* tqvNUCSourceText(uint32_t code);
/** The correction source code of a text; TQV_ERROR when none matches. */
TQV_API uint32_t tqvNUCSourceEnum(const char* text);
/** The text of a flag setpoint type code (0 Delta, 1 Fixed); null outside the table. */
TQV_API const char* tqvNUCFlagSetpointTypeText(uint32_t code);
/** The flag setpoint type code of a text; TQV_ERROR when none matches. */
TQV_API uint32_t tqvNUCFlagSetpointTypeEnum(const char* text);
/** The text of a bad pixel correction method code (0 Two-Point Gradient, 1 Nearest Neighbor, 2
 * None); null outside the table. */
TQV_API const char* tqvBadPixelCorrectionMethodText(uint32_t code);
/** The bad pixel correction method code of a text; TQV_ERROR when none matches. */
TQV_API uint32_t tqvBadPixelCorrectionMethodEnum(const char* text);
/** The text of a autofocus region position code (0 Center ... 4 Bottom-Right); null outside the
 * table. */
TQV_API const char* tqvAutoFocusROIPositionText(uint32_t code);
/** The autofocus region position code of a text; TQV_ERROR when none matches. */
TQV_API uint32_t tqvAutoFocusROIPositionEnum(const char* text);
/** The text of a GigE preset code (0-3, 4 All); null outside the table. */
TQV_API const char* tqvGigEPresetText(uint32_t code);
/** The GigE preset code of a text; TQV_ERROR when none matches. */
TQV_API uint32_t tqvGigEPresetEnum(const char* text);
/** The text of a cooler type code (0 NUC flag, 1 Detector, 2 Undetermined); null outside the table.
 */
TQV_API const char* tqvCoolerTypeText(uint32_t code);
/** The cooler type code of a text; TQV_ERROR when none matches. */
TQV_API uint32_t tqvCoolerTypeEnum(const char* text);
/** The text of a CameraLink type code (0 Base, 1 Full); null outside the table. */
TQV_API const char* tqvCameraLinkTypeText(uint32_t code);
/** The CameraLink type code of a text; TQV_ERROR when none matches. */
TQV_API uint32_t tqvCameraLinkTypeEnum(const char* text);
/** The text of a board type code (0 TQV1 ... 5 Cedar); null outside the table. */
TQV_API const char* tqvBoardTypeText(uint32_t code);
/** The board type code of a text (any case); TQV_ERROR when none matches. */
TQV_API uint32_t tqvBoardTypeEnum(const char* text);
/** The text of a recorder state code (0 Disarmed ... 12 RequestAutoDownload); null outside the
 * table. */
TQV_API const char* tqvSsdStateText(uint32_t code);
/** The recorder state code of a text; TQV_ERROR when none matches. */
TQV_API uint32_t tqvSsdStateEnum(const char* text);
/** The text of a lens cover state code (0 Open, 1 Closed, 2 Unknown); null outside the table. */
TQV_API const char* tqvLensCoverStateText(uint32_t code);
/** The lens cover state code of a text (any case); TQV_ERROR when none matches. */
TQV_API uint32_t tqvLensCoverStateEnum(const char* text);
/** The text of a lens control type code (0 None, 1 FMB, 2 Vorn, 3 Tesk); null outside the table. */
TQV_API const char* tqvLensControlTypeText(uint32_t code);
/** The lens control type code of a text (any case); TQV_ERROR when none matches. */
TQV_API uint32_t tqvLensControlTypeEnum(const char* text);
/** The text of a lens band code (0 Unknown, 1 MWIR, 2 MWIR-BB, 3 LWIR, 4 SWIR); null outside the
 * table. */
TQV_API const char* tqvLensBandPassText(uint32_t code);
/** The lens band code of a text; TQV_ERROR when none matches. */
TQV_API uint32_t tqvLensBandPassEnum(const char* text);
/** The text of a record mode code (0 ToMemory, 1 ToDisk); null outside the table. */
TQV_API const char* tqvSsdRecordModeText(uint32_t code);
/** The record mode code of a text; TQV_ERROR when none matches. */
TQV_API uint32_t tqvSsdRecordModeEnum(const char* text);
/** The text of a record type code (0 NumFrames, 1 Duration, 2 StartStop); null outside the table.
 */
TQV_API const char* tqvSsdRecordTypeText(uint32_t code);
/** The record type code of a text; TQV_ERROR when none matches. */
TQV_API uint32_t tqvSsdRecordTypeEnum(const char* text);

/** Copies the name of a camera type code ("Unk(<code>)" without one) by the buffer rule. */
TQV_API uint32_t tqvGetCameraTypeName(uint32_t cameraType, char* buffer, int32_t size);
/** Copies the subtype name of a camera type and subtype from the model table ("Unk(<subtype>)"
 * without one). */
TQV_API uint32_t tqvGetCameraSubtypeName(uint32_t cameraType, uint32_t subtype, char* buffer,
                                         int32_t size);
/** Copies the name of a detector material code: 0 InSb, 1 InGaAs, ... 7 EpiAlloy ("Unk(<code>)"
 * else). */
TQV_API uint32_t tqvGetDetectorTypeName(uint32_t detectorType, char* buffer, int32_t size);
/** Copies the name of a readout chip code with its output channels ("Unk(<code>)" without one). */
TQV_API uint32_t tqvGetReadoutName(uint32_t readout, char* buffer, int32_t size);
/** Copies the name of a variant code: 0 CameraLink, 1 CoaXpress ("Unk(<code>)" else). */
TQV_API uint32_t tqvGetVariantName(uint32_t variant, char* buffer, int32_t size);
/** Copies the name of a Pleora board code: 0 PT1000, 1 NTx-UV3, 2 NTx-GigE ("Unk(<code>)" else). */
TQV_API uint32_t tqvGetPleoraBoardTypeName(uint32_t pleoraBoardType, char* buffer, int32_t size);

/** The static name of a filter ID 0-63 ("I AM ERROR" above 63); never null. */
TQV_API const char* tqvGetFilterName(uint8_t id);
/** Copies the camera's own name of a filter ID when it holds names, else the static one. */
TQV_API uint32_t tqvGetFilterNameEx(void* handle, uint8_t id, char* buffer, int32_t size);

/** The camera model table: rows up to one whose modelName is null. */
TQV_API const tqvSModelInfo* tqvGetModelInfoTable(void);
/** Whether a camera type and subtype are a low-cost model; TQV_ERROR when the model table has no
 * such row. */
TQV_API uint32_t tqvGetIsLowCostEx(uint8_t cameraType, uint8_t subtype, bool* lowCost);
/** Fills 256 colours with the overlay colour table (the handle is not used). */
TQV_API uint32_t tqvGetVideoOverlayPalette(void* handle, tqvSRGB* palette);
/** Not offered by any camera: always TQV_INVALID_ARGUMENT. */
TQV_API uint32_t tqvGetVideoMargin(void* handle, uint16_t* margin);
/** Not offered by any camera: always TQV_INVALID_ARGUMENT. */
TQV_API uint32_t tqvSetVideoMargin(void* handle, uint16_t margin);

/** TQV_OK for a valid camera file name (not empty, no leading blank, none of / \ : * ? " < > |),
 * else TQV_ERROR. */
TQV_API uint32_t tqvIsValidFileName(const char* name);
/** TQV_OK for a valid state name (the file name rule), else TQV_ERROR. */
TQV_API uint32_t tqvIsValidStateName(const char* name);
/** TQV_OK for a valid camera path (not only blanks, none of : * ? " < > |), else TQV_ERROR. */
TQV_API uint32_t tqvIsValidFilePath(const char* path);
/** Sets *valid to whether a calibration tag follows the file name rule; always TQV_OK. */
TQV_API uint32_t tqvIsValidCalTag(const char* tag, bool* valid);

/** Whether the camera is a low-cost model (model table); TQV_ERROR when the table has no row for
 * it. */
TQV_API uint32_t tqvGetIsLowCost(void* handle, bool* lowCost);
/** Whether the camera is an automation model (model table); TQV_ERROR when the table has no row for
 * it. */
TQV_API uint32_t tqvGetIsAutomation(void* handle, bool* automation);
/** Reads the camera's spectral band (low, high) in micrometres from the model table; TQV_ERROR
 * without a row. */
TQV_API uint32_t tqvGetBandpass(void* handle, double* low, double* high);
/** Copies the camera's part number from the model table ("unknown" without a row). */
TQV_API uint32_t tqvGetCameraPartNumber(void* handle, char* buffer, int32_t size);
/** Whether the camera's gain levels have names (readout 10 and 16-20). */
TQV_API uint32_t tqvGetGainLevelsAreNamed(void* handle, bool* named);
/** Copies the name of a gain level (High, Med, Low); TQV_NOT_SUPPORTED when levels are unnamed,
 * TQV_INVALID_ARGUMENT for another level. */
TQV_API uint32_t tqvGetGainLevelName(void* handle, uint8_t level, char* buffer, int32_t size);
#ifdef __cplusplus
/** Lists the video format codes the camera offers, in display order. */
TQV_API uint32_t tqvGetVideoFormats(void* handle, zel::TArray<uint8_t>& formats);
/** Lists the video zoom factor codes the camera offers, in display order. */
TQV_API uint32_t tqvGetVideoZoomFactors(void* handle, zel::TArray<uint8_t>& factors);
#endif

/** @} */

/* ======================================================================== Frame headers */
/** @name Frame headers
 * Decoding the 128-byte header at the start of each frame (pure; 0 or TQV_ERROR for a null
 * pointer). */
/** @{ */

/** Copies the 128 header bytes at the start of a frame into a raw record. */
TQV_API uint32_t tqvDecodeHeaderRaw(tqvSHeaderRaw* raw, const void* header);
/** Decodes a raw header: time code, status, temperatures (deg C), integration time (ms), frame rate
 * (Hz). */
TQV_API uint32_t tqvHeaderFromRawHeader(tqvSHeader* header, const tqvSHeaderRaw* raw);
/** Decodes the 128 header bytes at the start of a frame (as tqvDecodeHeaderRaw, then
 * tqvHeaderFromRawHeader). */
TQV_API uint32_t tqvDecodeHeader(tqvSHeader* header, const void* bytes);
/** Decodes the four words of an IRIG time code; flag: bit 15 of the first word. */
TQV_API uint32_t tqvDecodeIRIG(const uint16_t* words, tqvSIRIGTime* time, bool* flag);
/** Decodes the lens controller's extension of a header; TQV_NOT_SUPPORTED for a version or type it
 * does not know. */
TQV_API uint32_t tqvDecodeVORNHeader(tqvSVornHeader* vorn, const tqvSHeaderRaw* raw);
/** Decodes the second platform's extension of a header; TQV_NOT_SUPPORTED for a version or type it
 * does not know. */
TQV_API uint32_t tqvDecodeTeskHeader(tqvSTeskHeader* tesk, const tqvSHeaderRaw* raw);

/** @} */

/* ======================================================================== Correction files */
/** @name Correction files
 * Correction files on the host and the desktop tool's files (pure; 0 or TQV_ERROR). */
/** @{ */

/** Fills a correction file record with its defaults (640 x 512 window, ...). */
TQV_API uint32_t tqvDefaultNUCInfo(tqvSNUCInfo* info);
/** Reads the header of a correction file on the host into a record; TQV_ERROR for a file that is
 * not one. */
TQV_API uint32_t tqvReadNUCFileInfo(const char* path, tqvSNUCInfo* info);
/** Reads a correction file on the host: its record and a new table of windowWidth x windowHeight
 * words (released with free()). */
TQV_API uint32_t tqvLoadNUCFile(const char* path, tqvSNUCInfo* info, uint32_t** table);
/** Reads a window of a stored table in the requested orientation into the caller's table; info may
 * be null. */
TQV_API uint32_t tqvReadNUCFileTable(const char* path, uint32_t* table, uint16_t xOffset,
                                     uint16_t yOffset, uint16_t width, uint16_t height, bool invert,
                                     bool revert, uint16_t maxWidth, uint16_t maxHeight,
                                     tqvSNUCInfo* info);
/** Writes a correction file on the host: the record's header and windowWidth x windowHeight words.
 */
TQV_API uint32_t tqvSaveNUCFile(const char* path, const tqvSNUCInfo* info, const uint32_t* table);
/** Packs a correction word: flag code (2 bits), offset (clamped to -8192..8191), gain (0..4.0) x
 * 16383. */
TQV_API uint32_t tqvEncodeNUC(int16_t offset, uint8_t flag, float gain);
/** Unpacks a correction word into gain, signed offset and flag code; each output may be null;
 * always TQV_OK. */
TQV_API uint32_t tqvDecodeNUC(uint32_t word, float* gain, uint16_t* offset, uint8_t* flag);

/** Writes the desktop tool's gain, offset and bad pixel files (.scg, .sco, .sbp) from a camera
 * correction file. */
TQV_API uint32_t tqvConvertCameraNUCToLumenNUC(const char* cameraPath, const char* lumenPath);
/** Writes a camera correction file (default record) from the desktop tool's three files. */
TQV_API uint32_t tqvConvertLumenNUCToCameraNUC(const char* lumenPath, const char* cameraPath);
/** Writes a camera correction file from the desktop tool's three files with the caller's record,
 * whose window it updates. */
TQV_API uint32_t tqvConvertLumenNUCToCameraNUCEx(const char* lumenPath, const char* cameraPath,
                                                 tqvSNUCInfo* info);
/** Writes a bad pixel list (count pairs of column, row) as the desktop tool's bad pixel map (.sbp).
 */
TQV_API uint32_t tqvSaveBplAsLumenSbp(const char* path, uint16_t width, uint16_t height,
                                      const uint16_t* pixels, uint32_t count);

/** @} */
#ifdef __cplusplus
} /* extern "C" */

/** The GenICam device of a handle (a new reference); empty for an unknown or property-tree handle.
 */
TQV_API zel::TSharedPtr<zel::cam::gic::IGenICam> tqvGetGenICam(void* handle);
#endif

#endif /* TQVSDK_H */
