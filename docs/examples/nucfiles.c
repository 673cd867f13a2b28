/* Correction files on the host: write one, read its header and table, convert it to the desktop
 * tool's three files and back. */
#include <stdio.h>
#include <stdlib.h>

#include "tqvSDK.h"

int main(void) {
  tqvSNUCInfo info;
  tqvDefaultNUCInfo(&info);
  info.windowWidth = 4;
  info.windowHeight = 2;
  uint32_t table[8];
  for (int i = 0; i < 8; ++i)
    table[i] = tqvEncodeNUC((int16_t)(i - 4), 0, 1.0f + i / 8.0f);
  int ok = tqvSaveNUCFile("guide.nuc", &info, table) == TQV_OK;

  tqvSNUCInfo read;
  uint32_t* loaded = NULL;
  ok = ok && tqvReadNUCFileInfo("guide.nuc", &read) == TQV_OK;
  ok = ok && tqvLoadNUCFile("guide.nuc", &read, &loaded) == TQV_OK;
  for (int i = 0; ok && i < 8; ++i) {
    float gain = 0;
    uint16_t offset = 0;
    uint8_t flag = 0;
    tqvDecodeNUC(loaded[i], &gain, &offset, &flag);
    printf("pixel %d: gain %.4f, offset %d\n", i, gain, (int16_t)offset);
    ok = loaded[i] == table[i];
  }
  free(loaded); /* tables from tqvLoadNUCFile are released with free() */

  ok = ok && tqvConvertCameraNUCToLumenNUC("guide.nuc", "guide-lumen") == TQV_OK;
  ok = ok && tqvConvertLumenNUCToCameraNUC("guide-lumen", "guide-back.nuc") == TQV_OK;
  ok = ok && tqvReadNUCFileInfo("guide-back.nuc", &read) == TQV_OK;
  printf("%u x %u window, written, read, converted and back: %s\n", read.windowWidth,
         read.windowHeight, ok ? "ok" : "failed");
  return ok ? 0 : 1;
}
