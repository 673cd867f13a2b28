/* The simulated cameras as a development tool: built-in profiles and profile files. */
#include <stdio.h>

#include "ParamTree.h"
#include "tqvSDK.h"

static uint32_t clock_of(const char* address, uint32_t* hz) {
  void *tree = NULL, *camera = NULL;
  uint32_t result = resOpen(address, &tree);
  if (result != TQV_OK) {
    printf("%s: cannot open: %s\n", address, resLastOpenError());
    return result;
  }
  result = tqvCreateParamTree(&camera, tree);
  if (result == TQV_OK) result = tqvGetClockFrequency(camera, hz);
  printf("%s: %s\n", address, tqvErrorToString(result));
  tqvDestroy(camera);
  resClose(tree);
  return result;
}

int main(void) {
  /* A camera of our own: the built-in one with a slower clock. */
  FILE* profile = fopen("guide.profile", "w");
  if (!profile) return 1;
  fputs("include sim\n.system.info.fpa.clockFrequency u32 10000000\n", profile);
  fclose(profile);

  uint32_t hz = 0, builtIn = 0;
  int ok = clock_of("sim", &builtIn) == TQV_OK;
  ok = ok && clock_of("sim:file=guide.profile", &hz) == TQV_OK && hz == 10000000;
  printf("clocks: built-in %u Hz, ours %u Hz\n", builtIn, hz);
  /* A camera that is not ready yet cannot have a handle. */
  ok = ok && clock_of("sim:notready", &hz) == TQV_ERROR;
  return ok ? 0 : 1;
}
