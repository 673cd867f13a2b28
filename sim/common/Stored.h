// What the simulated cameras keep in their files: settings snapshots (states, lens states, the
// factory default state) as lines of text, correction files in the camera's own format (a text
// header of key/value lines ended by "DATA", then one 32-bit word per pixel) and calibration
// look-up tables (two arrays of little-endian doubles).
//
// A simulated camera is the camera: it writes and reads these files itself, as a camera's
// firmware does. The code is header-only so that each client library (libParamTree, libzelcam)
// compiles its own copy; neither simulator links the other, nor libtqvSDK, whose format
// functions the tests use on the host side to check what the cameras wrote.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim::stored {

using Bytes = std::vector<std::uint8_t>;

// --- Settings snapshots --------------------------------------------------------------------------

// One setting: its name (a tree path, or a feature with "@<selector value>" for a selected one),
// the kind of its value as the camera names it, and the value as text.
struct Setting {
  std::string name;
  std::string kind;
  std::string value;
};

// The first line of every snapshot file.
inline constexpr std::string_view kSnapshotMagic = "SIMULATED-CAMERA-SETTINGS 1";

// Tabs, line ends and backslashes escaped, so that any text fits one field of one line.
inline std::string Escape(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out += c;
    }
  }
  return out;
}

inline std::string Unescape(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\\' && i + 1 < text.size()) {
      const char next = text[++i];
      c = next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    out += c;
  }
  return out;
}

// "<magic>\n" then "<name>\t<kind>\t<escaped value>\n" per setting.
inline Bytes WriteSnapshot(const std::vector<Setting>& settings) {
  std::string text(kSnapshotMagic);
  text += '\n';
  for (const Setting& setting : settings)
    text += setting.name + '\t' + setting.kind + '\t' + Escape(setting.value) + '\n';
  return Bytes(text.begin(), text.end());
}

// The settings of a snapshot file; nothing for a file that is not one.
inline std::optional<std::vector<Setting>> ReadSnapshot(const Bytes& file) {
  const std::string text(file.begin(), file.end());
  if (text.compare(0, kSnapshotMagic.size(), kSnapshotMagic) != 0) return std::nullopt;
  std::vector<Setting> settings;
  std::size_t start = text.find('\n');
  while (start != std::string::npos && start + 1 < text.size()) {
    const std::size_t end = text.find('\n', start + 1);
    const std::string line =
        text.substr(start + 1, (end == std::string::npos ? text.size() : end) - start - 1);
    const std::size_t tab1 = line.find('\t');
    const std::size_t tab2 = tab1 == std::string::npos ? tab1 : line.find('\t', tab1 + 1);
    if (tab2 == std::string::npos) return std::nullopt;
    settings.push_back({line.substr(0, tab1), line.substr(tab1 + 1, tab2 - tab1 - 1),
                        Unescape(std::string_view(line).substr(tab2 + 1))});
    start = end;
  }
  return settings;
}

// --- Texts the cameras read as values ------------------------------------------------------------

inline bool EqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

// "true"/"yes" and "false"/"no" in any case, otherwise a number that is not 0.
inline bool ParseBool(const std::string& text) {
  if (EqualNoCase(text, "true") || EqualNoCase(text, "yes")) return true;
  if (EqualNoCase(text, "false") || EqualNoCase(text, "no")) return false;
  return std::strtol(text.c_str(), nullptr, 10) != 0;
}

// `name` with `extension` unless it ends with it, in any case.
inline std::string WithExtension(const std::string& name, std::string_view extension) {
  const bool has =
      name.size() >= extension.size() &&
      EqualNoCase(std::string_view(name).substr(name.size() - extension.size()), extension);
  return has ? name : name + std::string(extension);
}

// `directory` + '/' + `name`, without doubling the '/'.
inline std::string Join(const std::string& directory, const std::string& name) {
  if (directory.empty() || directory.back() == '/') return directory + name;
  return directory + "/" + name;
}

// --- Correction files ----------------------------------------------------------------------------

// The header keys in the order the camera writes them, with the value of a key the camera has
// nothing for.
struct HeaderKey {
  const char* key;
  const char* fallback;
};
inline constexpr HeaderKey kCorrectionKeys[] = {
    {"cameraType", "Simulated camera"},
    {"cameraSerial", "Unknown"},
    {"fpgaFirmwareNumber", "0"},
    {"fpgaVersion", "0"},
    {"fpgaMajor", "0"},
    {"fpgaMinor", "0"},
    {"windowOffsetX", "0"},
    {"windowOffsetY", "0"},
    {"windowWidth", "640"},
    {"windowHeight", "512"},
    {"maxWidth", "640"},
    {"maxHeight", "512"},
    {"comprs", "none"},
    {"invert", "false"},
    {"revert", "false"},
    {"readoutMode", "0"},
    {"integrationWidth", "6250"},
    {"frameWidth", "1000000"},
    {"filterID", "63"},
    {"fpaBiasCount", "1"},
    {"fpaBias", "0.000000"},
    {"fpaBias1", "0.000000"},
    {"fpaGainLevel", "0"},
    {"digitalOffset", "0.000000"},
    {"digitalGain", "1.000000"},
    {"globalOffsetVoltage", "0.000000"},
    {"lens", "unknown"},
    {"lensFilter", "no filter"},
    {"skimmingEnabled", "false"},
    {"skimmingVoltage", "0.000000"},
    {"color", "0"},
    {"nucType", "1"},
    {"nucSource", "1"},
    {"nucNumFrames", "16"},
    {"nucDetectBadPixels", "true"},
    {"nucDetectTwinklers", "true"},
    {"nucTwinklerNumFrames", "256"},
    {"nucTwinklerDelta", "200"},
    {"nucADMin", "1000"},
    {"nucADMax", "15000"},
    {"nucGainMin", "0.900000"},
    {"nucGainMax", "1.900000"},
    {"bpTotal", "0"},
    {"bpTwinkling", "0"},
    {"bpUser", "0"},
    {"bpFactory", "0"},
    {"bpNew", "0"},
    {"bpAboveGainMax", "0"},
    {"bpBelowGainMin", "0"},
    {"bpAboveADMaxSrc1", "0"},
    {"bpBelowADMinSrc1", "0"},
    {"bpAboveADMaxSrc2", "0"},
    {"bpBelowADMinSrc2", "0"},
};

// A header's values by key in lower case (the camera compares keys without regard to case; the
// last line of a key wins).
using Header = std::map<std::string, std::string>;

inline std::string Lower(std::string text) {
  for (char& c : text)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The header of a correction file, as the camera reads it: the file starts with "HDSize Auto"
// (any case), lines end at LF (CR dropped), "DATA" (any case) ends the header, and the window's
// four keys must be there. Nothing for a file that is not a correction file.
inline std::optional<Header> ReadCorrectionHeader(const Bytes& file) {
  if (file.size() < 11 ||
      !EqualNoCase(std::string_view(reinterpret_cast<const char*>(file.data()), 11),
                   "HDSize Auto")) {
    return std::nullopt;
  }
  Header header;
  std::string line;
  for (std::size_t i = 0; i <= file.size(); ++i) {
    const char c = i < file.size() ? static_cast<char>(file[i]) : '\n';
    if (c == '\r') continue;
    if (c != '\n') {
      line += c;
      continue;
    }
    if (EqualNoCase(line, "data")) break;
    const std::size_t space = line.find(' ');
    if (space != std::string::npos) header[Lower(line.substr(0, space))] = line.substr(space + 1);
    line.clear();
  }
  for (const char* key : {"windowoffsetx", "windowoffsety", "windowwidth", "windowheight"}) {
    if (!header.count(key)) return std::nullopt;
  }
  return header;
}

// A header completed as the camera reads it: keys the file lacks take the camera's defaults, one
// count stands for the user and factory bad pixels (the later key wins; "bpFactory" is written
// after "bpUser"), and the new ones follow from the total when the file does not say.
inline Header CompleteHeader(const Header& header) {
  Header values;
  for (const HeaderKey& key : kCorrectionKeys)
    values[Lower(key.key)] = key.fallback;
  for (const auto& [key, value] : header)
    values[key] = value;
  const std::string shared = header.count("bpfactory") ? values["bpfactory"] : values["bpuser"];
  values["bpfactory"] = values["bpuser"] = shared;
  if (!header.count("bpnew")) {
    values["bpnew"] = std::to_string(std::strtol(values["bptotal"].c_str(), nullptr, 10) -
                                     std::strtol(shared.c_str(), nullptr, 10));
  }
  return values;
}

// A correction file of the camera's format: the header from `values` (by key as written, the
// fallback for the others), then a neutral correction (gain 1.0, offset 0) for every pixel of the
// window.
inline Bytes WriteCorrectionFile(const std::map<std::string, std::string>& values) {
  auto value = [&](const HeaderKey& key) {
    auto it = values.find(key.key);
    return it == values.end() ? std::string(key.fallback) : it->second;
  };
  std::string text = "HDSize Auto\r\nKeyWrd TQVNUC\r\n";
  unsigned long width = 0, height = 0;
  for (const HeaderKey& key : kCorrectionKeys) {
    const std::string v = value(key);
    text += std::string(key.key) + " " + v + "\r\n";
    if (std::string_view(key.key) == "windowWidth") width = std::strtoul(v.c_str(), nullptr, 10);
    if (std::string_view(key.key) == "windowHeight") height = std::strtoul(v.c_str(), nullptr, 10);
  }
  text += "DATA\r\n";
  Bytes file(text.begin(), text.end());
  constexpr std::uint32_t kNeutral = 16383u << 16;  // gain 1.0, offset 0, no flag
  file.reserve(file.size() + width * height * 4);
  for (unsigned long i = 0; i < width * height; ++i) {
    for (int b = 0; b < 4; ++b)
      file.push_back(static_cast<std::uint8_t>(kNeutral >> (8 * b)));
  }
  return file;
}

// The texts the camera reports for the header's coded values.
inline std::string ReadoutModeText(long code) {
  return code == 0 ? "Integration" : code == 1 ? "Readout" : "Unknown";
}
inline std::string NUCTypeText(long code) {
  return code == 0   ? "One Point"
         : code == 1 ? "Two Point"
         : code == 2 ? "Update Offset"
                     : "Unknown";
}
inline std::string NUCSourceText(long code) {
  return code == 0 ? "External" : code == 1 ? "Internal" : "Unknown";
}

// --- Calibration look-up tables ------------------------------------------------------------------

// `size` counts evenly from `countsLow` to `countsHigh`, then the temperature of each, evenly
// from `tempLow` to `tempHigh`: 16 x size bytes of little-endian doubles.
inline Bytes LookupTableFile(std::uint32_t size, double countsLow, double countsHigh,
                             double tempLow, double tempHigh) {
  Bytes file;
  auto put = [&](double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    for (int b = 0; b < 8; ++b)
      file.push_back(static_cast<std::uint8_t>(bits >> (8 * b)));
  };
  const double steps = size > 1 ? size - 1 : 1;
  for (std::uint32_t i = 0; i < size; ++i)
    put(countsLow + (countsHigh - countsLow) * i / steps);
  for (std::uint32_t i = 0; i < size; ++i)
    put(tempLow + (tempHigh - tempLow) * i / steps);
  return file;
}

}  // namespace sim::stored
