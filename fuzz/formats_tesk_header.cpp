// The second platform's extension decoder on arbitrary headers: known types give a record,
// anything else leaves the output alone.
#include <cstring>

#include "formats_input.h"
#include "tqvSDK.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tqvSHeaderRaw raw;
  std::memset(&raw, 0, sizeof raw);
  std::memcpy(raw.bytes, data, size < 128 ? size : 128);
  tqvSTeskHeader tesk;
  std::memset(&tesk, 0xA5, sizeof tesk);
  const std::uint32_t result = tqvDecodeTeskHeader(&tesk, &raw);
  const bool known = raw.bytes[0x61] == 2 && (raw.bytes[0x60] == 1 || raw.bytes[0x60] == 2);
  fuzz::Check(result == (known ? TQV_OK : TQV_NOT_SUPPORTED));
  fuzz::Check(known ? tesk.type == raw.bytes[0x60] : tesk.type == 0xA5);
  const std::uint16_t words[4] = {static_cast<std::uint16_t>(raw.bytes[2] | raw.bytes[3] << 8),
                                  static_cast<std::uint16_t>(raw.bytes[4] | raw.bytes[5] << 8),
                                  static_cast<std::uint16_t>(raw.bytes[6] | raw.bytes[7] << 8),
                                  static_cast<std::uint16_t>(raw.bytes[8] | raw.bytes[9] << 8)};
  tqvSIRIGTime time;
  bool flag;
  fuzz::Check(tqvDecodeIRIG(words, &time, &flag) == TQV_OK && time.hour < 64 && time.day < 512);
  return 0;
}
