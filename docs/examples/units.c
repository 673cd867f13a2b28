/* Units: the camera counts periods in detector clocks; hertz and milliseconds are derived from
 * the clock frequency. */
#include <stdio.h>

#include "ParamTree.h"
#include "tqvSDK.h"

int main(void) {
  void *tree = NULL, *camera = NULL;
  if (resOpen("sim", &tree) != TQV_OK || tqvCreateParamTree(&camera, tree) != TQV_OK) return 1;

  uint32_t hz = 0, clocks = 0;
  double rate = 0, snapped = 0, ms = 0;
  int ok = tqvGetClockFrequency(camera, &hz) == TQV_OK;
  ok = ok && tqvHertzToClocks(camera, 60.0, &clocks) == TQV_OK; /* rounded to a whole clock */
  ok = ok && tqvSnapHertz(camera, 60.0, &snapped) == TQV_OK;    /* the rate those clocks give */
  ok = ok && tqvClocksToMilliseconds(camera, clocks, &ms) == TQV_OK;
  printf("clock %u Hz: 60 Hz is %u clocks, really %.6f Hz, a period of %.3f ms\n", hz, clocks,
         snapped, ms);

  /* Rates and times are set through clocks: what reads back is the snapped value. */
  ok = ok && tqvSetFrameRate(camera, 0, 60.0) == TQV_OK;
  ok = ok && tqvGetFrameWidth(camera, 0, &clocks) == TQV_OK;
  ok = ok && tqvGetFrameRate(camera, 0, &rate) == TQV_OK;
  printf("preset 0: frame width %u clocks, %.6f Hz\n", clocks, rate);

  /* The shortest frame the window and integration allow; raise short frames after a change. */
  uint16_t x = 0, y = 0, width = 0, height = 0;
  uint32_t integration = 0, minimum = 0;
  ok = ok && tqvGetWindow(camera, 0, &x, &y, &width, &height) == TQV_OK;
  ok = ok && tqvGetIntegrationWidth(camera, 0, &integration) == TQV_OK;
  ok = ok && tqvCalcMinFrameWidthEx(camera, &minimum, width, height, integration, false) == TQV_OK;
  ok = ok && tqvBoundFrameRates(camera) == TQV_OK;
  printf("shortest frame for %u x %u: %u clocks\n", width, height, minimum);

  tqvDestroy(camera);
  resClose(tree);
  return ok && rate == snapped ? 0 : 1;
}
