/* Result codes: every function answers one; tqvErrorToString gives its text. */
#include <stdio.h>

#include "ParamTree.h"
#include "tqvSDK.h"

static int expect(const char* what, uint32_t result, uint32_t expected) {
  printf("%-18s %10u  %s\n", what, result, tqvErrorToString(result));
  return result == expected;
}

int main(void) {
  void *tree = NULL, *camera = NULL;
  if (resOpen("sim", &tree) != TQV_OK || tqvCreateParamTree(&camera, tree) != TQV_OK) return 1;
  uint32_t clocks = 0;
  float volts = 0;
  char name[5];
  int unknown = 0;
  int ok = 1;
  ok &= expect("success", tqvGetIntegrationWidth(camera, 0, &clocks), TQV_OK);
  ok &= expect("unknown handle", tqvGetIntegrationWidth(&unknown, 0, &clocks), TQV_ERROR);
  ok &= expect("null output", tqvGetIntegrationWidth(camera, 0, NULL), TQV_INVALID_ARGUMENT);
  ok &= expect("preset above 3", tqvGetIntegrationWidth(camera, 7, &clocks), TQV_INVALID_ARGUMENT);
  ok &= expect("bias index 2", tqvGetFPABiasEx(camera, 2, &volts), TQV_INVALID_ARGUMENT);
  /* "InSb" needs a buffer of 6 bytes: the length plus one must be less than the size. */
  ok &= expect("buffer too small", tqvGetDetectorTypeName(0, name, sizeof name), TQV_ERROR);
  tqvDestroy(camera);
  resClose(tree);
  return ok ? 0 : 1;
}
