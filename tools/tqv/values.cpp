#include "values.h"

#include <algorithm>
#include <array>

namespace tqvcli {

// Each enumerated setting with a Text/Enum pair in the library.
#define TQV_CLI_TEXT_ENUMS(X)                                                                      \
  X(PresetSequencingMode)                                                                          \
  X(FrameSyncMode)                                                                                 \
  X(FrameSyncSource)                                                                               \
  X(Polarity)                                                                                      \
  X(TriggerSource) X(TriggerMode) X(IRIGLatchSource) X(SyncOutSource) X(FlagState) X(FOV)          \
      X(VideoFormat) X(VideoUpdateRate) X(VideoPosition) X(VideoTemporalFilter) X(VideoZoomFactor) \
          X(VideoAGCMethod) X(NUCType) X(NUCSource) X(NUCFlagSetpointType)                         \
              X(BadPixelCorrectionMethod) X(AutoFocusROIPosition) X(GigEPreset) X(CoolerType)      \
                  X(CameraLinkType) X(BoardType) X(SsdState) X(LensCoverState) X(LensControlType)  \
                      X(LensBandPass) X(SsdRecordMode) X(SsdRecordType)
// Each identity code with a name table (names only; codes are found by their names).
#define TQV_CLI_NAME_TABLES(X) \
  X(CameraType) X(DetectorType) X(Readout) X(Variant) X(PleoraBoardType)

namespace {

#define TQV_CLI_TEXT_ENTRY(setting) \
  EnumTexts{#setting, &::tqv##setting##Text, &::tqv##setting##Enum, nullptr},
#define TQV_CLI_NAME_ENTRY(setting) EnumTexts{#setting, nullptr, nullptr, &::tqvGet##setting##Name},
const EnumTexts kEnumTexts[] = {TQV_CLI_TEXT_ENUMS(TQV_CLI_TEXT_ENTRY)
                                    TQV_CLI_NAME_TABLES(TQV_CLI_NAME_ENTRY)};

// Name tables answer "Unk(<code>)" for codes without a name; such a text is no name.
bool IsUnknownName(const std::string& text) { return text.rfind("Unk(", 0) == 0; }

}  // namespace

std::string EnumTexts::TextOf(std::uint32_t value) const {
  if (text) {
    const char* found = text(value);
    return found ? found : "";
  }
  char buffer[128] = {};
  if (name(value, buffer, sizeof buffer) != TQV_OK) return "";
  std::string found = buffer;
  return IsUnknownName(found) ? "" : found;
}

bool EnumTexts::CodeOf(const std::string& wanted, std::uint32_t& value) const {
  if (code) {
    const std::uint32_t found = code(wanted.c_str());
    if (found == TQV_ERROR) return false;
    value = found;
    return true;
  }
  // Name tables count only the low 8 bits of a code.
  for (std::uint32_t candidate = 0; candidate < 256; ++candidate) {
    if (TextOf(candidate) == wanted) {
      value = candidate;
      return true;
    }
  }
  return false;
}

std::string EnumTexts::AllTexts() const {
  std::string all;
  for (std::uint32_t candidate = 0; candidate < 256; ++candidate) {
    const std::string found = TextOf(candidate);
    if (!found.empty()) all += (all.empty() ? "" : ", ") + found;
  }
  return all;
}

const EnumTexts* EnumTextsFor(std::string_view operation) {
  for (std::string_view prefix : {"Get", "Set"}) {
    if (operation.substr(0, prefix.size()) == prefix) operation.remove_prefix(prefix.size());
  }
  // The longest setting name that ends the operation's name: PleoraBoardType before BoardType.
  const EnumTexts* best = nullptr;
  for (const EnumTexts& entry : kEnumTexts) {
    const std::string_view setting = entry.setting;
    if (setting.size() <= operation.size() &&
        operation.substr(operation.size() - setting.size()) == setting &&
        (!best || setting.size() > best->setting.size())) {
      best = &entry;
    }
  }
  return best;
}

// Record fields, listed once per record; a field's value is read by value, since some records
// are packed.
#define TQV_CLI_PARENS ()
#define TQV_CLI_EXPAND(...) \
  TQV_CLI_EXPAND4(TQV_CLI_EXPAND4(TQV_CLI_EXPAND4(TQV_CLI_EXPAND4(__VA_ARGS__))))
#define TQV_CLI_EXPAND4(...) \
  TQV_CLI_EXPAND3(TQV_CLI_EXPAND3(TQV_CLI_EXPAND3(TQV_CLI_EXPAND3(__VA_ARGS__))))
#define TQV_CLI_EXPAND3(...) \
  TQV_CLI_EXPAND2(TQV_CLI_EXPAND2(TQV_CLI_EXPAND2(TQV_CLI_EXPAND2(__VA_ARGS__))))
#define TQV_CLI_EXPAND2(...) \
  TQV_CLI_EXPAND1(TQV_CLI_EXPAND1(TQV_CLI_EXPAND1(TQV_CLI_EXPAND1(__VA_ARGS__))))
#define TQV_CLI_EXPAND1(...) __VA_ARGS__
#define TQV_CLI_FOR_EACH(macro, ...) \
  __VA_OPT__(TQV_CLI_EXPAND(TQV_CLI_FOR_EACH_STEP(macro, __VA_ARGS__)))
#define TQV_CLI_FOR_EACH_STEP(macro, first, ...) \
  macro(first) __VA_OPT__(TQV_CLI_FOR_EACH_AGAIN TQV_CLI_PARENS(macro, __VA_ARGS__))
#define TQV_CLI_FOR_EACH_AGAIN() TQV_CLI_FOR_EACH_STEP
#define TQV_CLI_FIELD(field) json[#field] = FieldValue(record.field, sizeof(record.field));
#define TQV_CLI_RECORD(type, ...)                \
  Json RecordFields(const type& record) {        \
    Json json = Json::object();                  \
    TQV_CLI_FOR_EACH(TQV_CLI_FIELD, __VA_ARGS__) \
    return json;                                 \
  }

namespace {

TQV_CLI_RECORD(tqvSNUCInfo, cameraType, cameraSerial, fpgaFirmwareNumber, fpgaVersion, fpgaMajor,
               fpgaMinor, windowOffsetX, windowOffsetY, windowWidth, windowHeight, maxWidth,
               maxHeight, compressed, invert, revert, readoutMode, integrationWidth, frameWidth,
               filterID, fpaBiasCount, fpaBias, fpaBias1, fpaGainLevel, digitalOffset, digitalGain,
               globalOffsetVoltage, lens, lensFilter, skimmingEnabled, skimmingVoltage, color,
               nucType, nucSource, nucNumFrames, nucDetectBadPixels, nucDetectTwinklers,
               nucTwinklerNumFrames, nucTwinklerDelta, nucADMin, nucADMax, nucGainMin, nucGainMax,
               bpTotal, bpTwinkling, bpUser, bpAboveGainMax, bpBelowGainMin, bpAboveADMaxSrc1,
               bpBelowADMinSrc1, bpAboveADMaxSrc2, bpBelowADMinSrc2, bpNew)
TQV_CLI_RECORD(tqvSCalInfo, tag, name, lens, lensFilter, filterID, minTemp, maxTemp, minRad, maxRad,
               minCounts, maxCounts, lutSize, order, C0, C1, C2, C3, C4, C5, C6, bgValue,
               bandpassLow, bandpassHigh, tempOrder, tempC0, tempC1, tempC2, tempC3, tempC4, tempC5,
               tempC6, r, b, f, atmX, atmAlpha1, atmAlpha2, atmBeta1, atmBeta2)
TQV_CLI_RECORD(tqvSSsdMovieInfo, name, number, width, height, numFrames, startDay, startHour,
               startMinute, startSecond, startMillisecond, startMicrosecond, endDay, endHour,
               endMinute, endSecond, endMillisecond, endMicrosecond)
TQV_CLI_RECORD(tqvSHeader, headerByte0, clockFrequency, day, hour, minute, second, millisecond,
               microsecond, timeCodeFlag, statusCode, statusBit15, statusBit14, statusBit4,
               statusBit3, statusBit2, statusBit5, statusBit13, temperature1, temperature2,
               temperature3, scaledValue1, counter1, integrationTime, halfValue1, word1E, word22,
               word24, word26, word28, word2A, word2C, counter2, counter2Flag, frameRate,
               fractionValue, halfValue2, byte3A, readout, byte3C, byte3D, milliValue1,
               temperature4, temperature5, temperature6, temperature7, milliValue2, milliValue3,
               milliValue4, counter3, counter4, word56, byte58, byte59, word5A, word5C, word5E,
               byte7A, flag7B, centiValue)
TQV_CLI_RECORD(tqvSVornHeader, type, value1, position1, position2, value2, value3, value4, value5,
               value6, word1, byte1)
TQV_CLI_RECORD(tqvSTeskHeader, type, word1, temperature)

}  // namespace

Json RecordJson(const tqvSNUCInfo& info) { return RecordFields(info); }
Json RecordJson(const tqvSSsdMovieInfo& info) { return RecordFields(info); }
Json RecordJson(const tqvSHeader& header) { return RecordFields(header); }
Json RecordJson(const tqvSVornHeader& header) { return RecordFields(header); }
Json RecordJson(const tqvSTeskHeader& header) { return RecordFields(header); }

Json RecordJson(const tqvSCalInfo& info) {
  Json json = RecordFields(info);
  if (info.lutX && info.lutY) {
    json["lutX"] = std::vector<double>(info.lutX, info.lutX + info.lutSize);
    json["lutY"] = std::vector<double>(info.lutY, info.lutY + info.lutSize);
  }
  return json;
}

}  // namespace tqvcli
