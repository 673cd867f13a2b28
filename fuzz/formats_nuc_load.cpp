// The camera correction file's loader on arbitrary bytes. What loads is saved, loaded and saved
// again: the second load must give the same table and the two saved files must be identical.
#include <cstdlib>
#include <cstring>

#include "formats_input.h"
#include "tqvSDK.h"

namespace {
volatile std::uint32_t g_sink;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static fuzz::TempFile file("load"), first("load1"), second("load2");
  tqvSNUCInfo info;
  std::uint32_t* table = nullptr;
  if (tqvLoadNUCFile(file.Write(data, size), &info, &table) != TQV_OK) return 0;
  const std::size_t words = static_cast<std::size_t>(info.windowWidth) * info.windowHeight;
  fuzz::Check(words * 4 <= size);  // the file held every word handed out
  for (std::size_t i = 0; i < words; ++i)
    g_sink = table[i];  // every word is readable

  if (tqvSaveNUCFile(first.path(), &info, table) == TQV_OK) {
    tqvSNUCInfo again;
    std::uint32_t* reloaded = nullptr;
    fuzz::Check(tqvLoadNUCFile(first.path(), &again, &reloaded) == TQV_OK);
    fuzz::Check(again.windowWidth == info.windowWidth && again.windowHeight == info.windowHeight);
    fuzz::Check(words == 0 || std::memcmp(reloaded, table, words * 4) == 0);
    fuzz::Check(tqvSaveNUCFile(second.path(), &again, reloaded) == TQV_OK);
    fuzz::Check(first.Read() == second.Read());
    std::free(reloaded);
  }
  std::free(table);
  return 0;
}
