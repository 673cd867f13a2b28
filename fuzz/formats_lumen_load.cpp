// The desktop-tool file loader on arbitrary bytes. What loads is saved again and must give back
// exactly the bytes it was read from.
#include <vector>

#include "formats/lumen.h"
#include "formats_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static fuzz::TempFile file("lumen"), saved("lumen1");
  formats::_tqvSLumenNUCFile record;
  if (!formats::_tqvLoadLumenNUCFile(file.Write(data, size), &record)) return 0;
  fuzz::Check(formats::_tqvSaveLumenNUCFile(saved.path(), &record));
  const std::vector<std::uint8_t> back = saved.Read();
  fuzz::Check(back.size() <= size && std::vector<std::uint8_t>(data, data + back.size()) == back);
  formats::_tqvSLumenNUCFileFini(&record);
  return 0;
}
