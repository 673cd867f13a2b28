/* The main job: open the built-in simulated camera (or the address given as the first argument),
 * create a handle and print what the library reads from the camera. When the camera cannot be
 * opened or a handle cannot be created, it says why. */
#include <stdio.h>

#include "ParamTree.h"
#include "tqvSDK.h"

static int report(const char* what, uint32_t result) {
  if (result != TQV_OK) printf("%-28s failed: %s (%u)\n", what, tqvErrorToString(result), result);
  return result == TQV_OK;
}

/* Why no handle could be created: the camera is not ready, or it lacks one of the sensor
 * constants the library reads at creation. */
static void explain_create_failure(void* tree, uint32_t result) {
  static const char* const kConstants[] = {
      "readoutChannels",         "clockFrequency",           "lineDeadWidth",
      "preIntegrationDeadWidth", "postIntegrationDeadWidth", "minimumIntegrationWidth",
      "maximumIntegrationWidth", "minimumFrameWidth",        "maximumFrameWidth",
      "pipelineDelay",           "maximumGainLevel"};
  bool ready = false;
  uint32_t check = resGetBool(tree, ".system.ready", &ready);
  if (check != TQV_OK) {
    fprintf(stderr, "cannot create a handle: the camera's ready flag does not read: %s (%u)\n",
            resErrorToString(check), check);
    return;
  }
  if (!ready) {
    fprintf(stderr, "cannot create a handle: the camera is not ready (.system.ready is false)\n");
    return;
  }
  for (size_t i = 0; i < sizeof kConstants / sizeof kConstants[0]; ++i) {
    char path[64];
    snprintf(path, sizeof path, ".system.info.fpa.%s", kConstants[i]);
    check = resVerify(tree, path);
    if (check != TQV_OK) {
      fprintf(stderr, "cannot create a handle: the camera lacks the sensor constant %s: %s (%u)\n",
              path, resErrorToString(check), check);
      return;
    }
  }
  fprintf(stderr, "cannot create a handle: %s (%u)\n", tqvErrorToString(result), result);
}

int main(int argc, char** argv) {
  const char* address = argc > 1 ? argv[1] : "sim";
  void* tree = NULL;
  void* camera = NULL;
  uint32_t result = resOpen(address, &tree);
  if (result != TQV_OK) {
    const char* reason = resLastOpenError();
    fprintf(stderr, "cannot open %s: %s (%u)%s%s\n", address, resErrorToString(result), result,
            *reason ? ": " : "", reason);
    return 1;
  }
  result = tqvCreateParamTree(&camera, tree);
  if (result != TQV_OK) {
    explain_create_failure(tree, result);
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
