// The camera correction file's header reader on arbitrary bytes.
#include <cstring>

#include "formats_input.h"
#include "tqvSDK.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static fuzz::TempFile file("info");
  tqvSNUCInfo info;
  if (tqvReadNUCFileInfo(file.Write(data, size), &info) != TQV_OK) return 0;
  // Texts end inside their fields, however long they stood in the file.
  for (const char* text : {info.cameraType, info.cameraSerial, info.lens, info.lensFilter}) {
    fuzz::Check(std::memchr(text, '\0', 64) != nullptr);
  }
  return 0;
}
