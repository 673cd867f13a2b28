#include <png.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>

#include "commands.h"
#include "tqvSDK.h"
#include "values.h"

namespace tqvcli {

namespace {

Fields FieldsOf(const Json& object) {
  Fields fields;
  for (const auto& [key, value] : object.items())
    fields.push_back({key, value, "", ""});
  return fields;
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// The extension of a path's last component, in lower case, with its dot; empty when none.
std::string Extension(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  return Lower(path.substr(dot));
}

bool IsDesktopExtension(const std::string& extension) {
  return extension == ".scg" || extension == ".sco" || extension == ".sbp";
}

struct FreeTable {
  void operator()(std::uint32_t* table) const { std::free(table); }
};
using TablePtr = std::unique_ptr<std::uint32_t[], FreeTable>;

// An 8-bit grey image, row by row.
bool WritePng(const std::string& path, const std::vector<std::uint8_t>& pixels, std::uint32_t width,
              std::uint32_t height) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  volatile bool written = false;
  // libpng reports its errors by jumping back here; nothing with a destructor lives between.
  if (png && info && setjmp(png_jmpbuf(png)) == 0) {
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (std::uint32_t row = 0; row < height; ++row)
      png_write_row(png, pixels.data() + std::size_t{row} * width);
    png_write_end(png, nullptr);
    written = true;
  }
  png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
  const bool closed = std::fclose(file) == 0;
  return written && closed;
}

}  // namespace

void CommandNucInfo(const std::string& path, bool json) {
  tqvSNUCInfo info{};
  if (tqvReadNUCFileInfo(path.c_str(), &info) != TQV_OK)
    throw Failure(exitcode::kFailed, path + ": not a readable correction file");
  PrintFields(FieldsOf(RecordJson(info)), json);
}

void CommandNucConvert(const std::string& input, const std::string& output,
                       const std::string& like) {
  const std::string from = Extension(input);
  const std::string to = Extension(output);
  if (from == ".nuc" && !like.empty())
    throw Failure(exitcode::kUsage, "--like applies when a camera file is written");
  if (from == ".nuc" && to != ".nuc") {
    if (tqvConvertCameraNUCToLumenNUC(input.c_str(), output.c_str()) != TQV_OK)
      throw Failure(exitcode::kFailed, "cannot convert " + input + " to desktop-tool files");
    const std::string base = IsDesktopExtension(to) ? output.substr(0, output.size() - 4) : output;
    std::cout << "wrote " << base << ".scg " << base << ".sco " << base << ".sbp\n";
    return;
  }
  if (IsDesktopExtension(from) && (to == ".nuc" || to.empty())) {
    tqvSNUCInfo info{};
    tqvDefaultNUCInfo(&info);
    if (!like.empty() && tqvReadNUCFileInfo(like.c_str(), &info) != TQV_OK)
      throw Failure(exitcode::kFailed, like + ": not a readable correction file");
    if (tqvConvertLumenNUCToCameraNUCEx(input.c_str(), output.c_str(), &info) != TQV_OK)
      throw Failure(exitcode::kFailed, "cannot convert the desktop-tool files of " + input +
                                           " (all three of .scg, .sco, .sbp, of one size)");
    std::cout << "wrote " << output << (to.empty() ? ".nuc" : "") << '\n';
    return;
  }
  throw Failure(exitcode::kUsage,
                "convert a camera file (.nuc) to desktop-tool files (.scg, .sco, .sbp) or back");
}

void CommandNucImage(const std::string& path, Table table, const std::string& png) {
  tqvSNUCInfo info{};
  std::uint32_t* raw = nullptr;
  if (tqvLoadNUCFile(path.c_str(), &info, &raw) != TQV_OK)
    throw Failure(exitcode::kFailed, path + ": not a readable correction file");
  TablePtr words(raw);
  const std::uint32_t width = info.windowWidth;
  const std::uint32_t height = info.windowHeight;
  const std::size_t count = std::size_t{width} * height;
  if (count == 0) throw Failure(exitcode::kFailed, path + ": the table is empty");

  std::vector<double> values(count);
  std::vector<bool> good(count);
  for (std::size_t i = 0; i < count; ++i) {
    float gain = 0;
    std::uint16_t offset = 0;
    std::uint8_t flag = 0;
    tqvDecodeNUC(words[i], &gain, &offset, &flag);
    good[i] = flag == 0;
    values[i] = table == Table::kGain     ? gain
                : table == Table::kOffset ? static_cast<std::int16_t>(offset)
                                          : flag;
  }
  // Gains and offsets span black to white over the good pixels, so that a few wild bad pixels
  // do not flatten the picture; flag codes 0..3 map to four greys from black.
  double low = 0, high = 3;
  if (table != Table::kBad) {
    const bool anyGood = std::find(good.begin(), good.end(), true) != good.end();
    low = HUGE_VAL;
    high = -HUGE_VAL;
    for (std::size_t i = 0; i < count; ++i) {
      if (anyGood && !good[i]) continue;
      low = std::min(low, values[i]);
      high = std::max(high, values[i]);
    }
  }
  std::vector<std::uint8_t> pixels(count);
  for (std::size_t i = 0; i < count; ++i) {
    const double scaled = high > low ? (values[i] - low) / (high - low) : 0.5;
    pixels[i] = static_cast<std::uint8_t>(std::lround(std::clamp(scaled, 0.0, 1.0) * 255));
  }
  if (!WritePng(png, pixels, width, height))
    throw Failure(exitcode::kFailed, "cannot write " + png);
  const char* name = table == Table::kGain ? "gain" : table == Table::kOffset ? "offset" : "flag";
  std::cout << "wrote " << png << ": " << width << " x " << height << ", " << name << ' '
            << ScalarText(Json(low)) << " .. " << ScalarText(Json(high)) << " as black .. white\n";
}

void CommandHeader(const std::string& path, std::size_t stride, std::size_t count, bool json) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw Failure(exitcode::kFailed, "cannot read " + path);
  if (stride < sizeof(tqvSHeaderRaw))
    throw Failure(exitcode::kUsage, "headers are 128 bytes apart at least");
  Json headers = Json::array();
  for (std::size_t offset = 0; count == 0 || headers.size() < count; offset += stride) {
    tqvSHeaderRaw bytes{};
    file.seekg(static_cast<std::streamoff>(offset));
    if (!file.read(reinterpret_cast<char*>(bytes.bytes), sizeof bytes.bytes)) break;
    tqvSHeaderRaw raw{};
    tqvSHeader header{};
    if (tqvDecodeHeaderRaw(&raw, bytes.bytes) != TQV_OK ||
        tqvHeaderFromRawHeader(&header, &raw) != TQV_OK) {
      throw Failure(exitcode::kFailed,
                    path + ": the header at byte " + std::to_string(offset) + " does not decode");
    }
    Json entry = {{"offset", offset}, {"header", RecordJson(header)}};
    tqvSVornHeader vorn{};
    if (tqvDecodeVORNHeader(&vorn, &raw) == TQV_OK) entry["vorn"] = RecordJson(vorn);
    tqvSTeskHeader tesk{};
    if (tqvDecodeTeskHeader(&tesk, &raw) == TQV_OK) entry["tesk"] = RecordJson(tesk);
    headers.push_back(std::move(entry));
  }
  if (headers.empty())
    throw Failure(exitcode::kFailed, path + ": holds no complete 128-byte header");
  if (json) {
    PrintJson(headers);
    return;
  }
  for (const Json& entry : headers) {
    std::cout << "header at byte " << entry["offset"].get<std::size_t>() << '\n';
    PrintText(std::cout, FieldsOf(entry["header"]), 2);
    for (const char* extension : {"vorn", "tesk"}) {
      if (!entry.contains(extension)) continue;
      std::cout << "  " << extension << '\n';
      PrintText(std::cout, FieldsOf(entry[extension]), 4);
    }
  }
}

}  // namespace tqvcli
