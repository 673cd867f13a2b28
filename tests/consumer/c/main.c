/* A C host: opens the built-in simulated camera and reads its detector clock. */
#include <stdio.h>

#include "ParamTree.h"
#include "tqvSDK.h"

int main(void) {
  void* tree = NULL;
  void* camera = NULL;
  uint32_t clock = 0;
  if (resOpen("sim", &tree) != TQV_OK) return 1;
  uint32_t result = tqvCreateParamTree(&camera, tree);
  if (result == TQV_OK) result = tqvGetClockFrequency(camera, &clock);
  tqvDestroy(camera);
  resClose(tree);
  printf("C host: result %u, clock %u Hz\n", result, clock);
  return result == TQV_OK && clock > 0 ? 0 : 1;
}
