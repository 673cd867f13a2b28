// The lens-controller extension decoder (and the whole-header decoders) on arbitrary headers.
// An extension it does not know leaves the output alone, except the older layout, which is
// written whatever its type.
#include <cstring>

#include "formats_input.h"
#include "tqvSDK.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::uint8_t bytes[129] = {};
  std::memcpy(bytes + 1, data, size < 128 ? size : 128);  // odd address: reads must not align
  tqvSHeaderRaw raw;
  tqvSHeader header;
  fuzz::Check(tqvDecodeHeaderRaw(&raw, bytes + 1) == TQV_OK);
  fuzz::Check(tqvDecodeHeader(&header, bytes + 1) == TQV_OK);
  tqvSVornHeader vorn;
  std::memset(&vorn, 0xA5, sizeof vorn);
  const std::uint32_t result = tqvDecodeVORNHeader(&vorn, &raw);
  fuzz::Check(result == TQV_OK || result == TQV_NOT_SUPPORTED);
  if (result == TQV_NOT_SUPPORTED && raw.bytes[0x61] != 0) fuzz::Check(vorn.type == 0xA5A5);
  if (result == TQV_OK) fuzz::Check((vorn.type & 7) == 1 || raw.bytes[0x61] == 1);
  return 0;
}
