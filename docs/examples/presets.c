/* Presets: up to four sets of window and timing, numbered 0-3 (one preset on a frame grabber). */
#include <stdio.h>

#include "ParamTree.h"
#include "tqvSDK.h"

int main(void) {
  void *tree = NULL, *camera = NULL;
  if (resOpen("sim", &tree) != TQV_OK || tqvCreateParamTree(&camera, tree) != TQV_OK) return 1;

  uint8_t count = 0;
  int ok = tqvGetNumPresets(camera, &count) == TQV_OK;
  for (uint8_t preset = 0; ok && preset < count; ++preset) {
    uint16_t x = 0, y = 0, width = 0, height = 0;
    ok = tqvGetWindow(camera, preset, &x, &y, &width, &height) == TQV_OK;
    printf("preset %u: %u x %u at (%u, %u)\n", preset, width, height, x, y);
  }
  ok = ok && tqvSetActivePreset(camera, 1) == TQV_OK;

  /* A preset above 3 is an invalid argument. */
  uint32_t clocks = 0;
  uint32_t result = tqvGetIntegrationWidth(camera, 4, &clocks);
  printf("preset 4: %s\n", tqvErrorToString(result));

  tqvDestroy(camera);
  resClose(tree);
  return ok && count == 4 && result == TQV_INVALID_ARGUMENT ? 0 : 1;
}
