/* The main job: open the built-in simulated camera (or the address given as the first argument),
 * create a handle and print what the library reads from the camera. */
#include <stdio.h>

#include "ParamTree.h"
#include "tqvSDK.h"

static int report(const char* what, uint32_t result) {
  if (result != TQV_OK) printf("%-28s failed: %s (%u)\n", what, tqvErrorToString(result), result);
  return result == TQV_OK;
}

int main(int argc, char** argv) {
  const char* address = argc > 1 ? argv[1] : "sim";
  void* tree = NULL;
  void* camera = NULL;
  uint32_t result = resOpen(address, &tree);
  if (result != TQV_OK) {
    fprintf(stderr, "cannot open %s: %s\n", address, resErrorToString(result));
    return 1;
  }
  result = tqvCreateParamTree(&camera, tree);
  if (result != TQV_OK) {
    fprintf(stderr, "cannot create a handle: %s\n", tqvErrorToString(result));
    resClose(tree);
    return 1;
  }

  int ok = 1;
  ok &= report("connection test", tqvTestConnection(camera));
  printf("%-28s %s\n", "connection", ok ? "ok" : "failed");

  uint8_t board = 0;
  if (report("board type", tqvGetBoardType(camera, &board))) {
    const char* text = tqvBoardTypeText(board);
    printf("%-28s %u (%s)\n", "board type", board, text ? text : "frame grabber");
  } else {
    ok = 0;
  }

  uint16_t major = 0, minor = 0, build = 0;
  if (report("main application version", tqvGetMainAppVersion(camera, &major, &minor, &build))) {
    printf("%-28s %u.%u build %u\n", "main application version", major, minor, build);
  } else {
    ok = 0;
  }

  uint32_t clock = 0, minFrame = 0, maxFrame = 0, minInt = 0, maxInt = 0;
  uint8_t gainLevels = 0;
  if (report("clock frequency", tqvGetClockFrequency(camera, &clock)) &&
      report("frame width limits", tqvGetMinFrameWidth(camera, &minFrame)) &&
      report("frame width limits", tqvGetMaxFrameWidth(camera, &maxFrame)) &&
      report("integration width limits", tqvGetMinIntWidth(camera, &minInt)) &&
      report("integration width limits", tqvGetMaxIntWidth(camera, &maxInt)) &&
      report("gain levels", tqvGetSupportedGainLevels(camera, &gainLevels))) {
    printf("%-28s %u Hz\n", "detector clock", clock);
    printf("%-28s %u .. %u clocks\n", "frame width", minFrame, maxFrame);
    printf("%-28s %u .. %u clocks\n", "integration width", minInt, maxInt);
    printf("%-28s %u\n", "supported gain levels", gainLevels);
  } else {
    ok = 0;
  }

  tqvDestroy(camera);
  resClose(tree);
  return ok ? 0 : 1;
}
