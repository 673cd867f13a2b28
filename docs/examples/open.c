/* Opening a camera: a connection, a handle, and the reason when either fails. */
#include <stdio.h>

#include "ParamTree.h"
#include "tqvSDK.h"

int main(void) {
  void* tree = NULL;
  uint32_t result = resOpen("sim", &tree); /* the built-in simulated camera */
  if (result != TQV_OK) {
    printf("cannot open: %s: %s\n", resErrorToString(result), resLastOpenError());
    return 1;
  }
  void* camera = NULL;
  result = tqvCreateParamTree(&camera, tree);
  if (result != TQV_OK) {
    printf("no handle: %s\n", tqvErrorToString(result));
    resClose(tree);
    return 1;
  }
  printf("connection test: %s\n", tqvErrorToString(tqvTestConnection(camera)));
  printf("handle of the connection found again: %s\n",
         tqvFromParamTree(tree) == camera ? "yes" : "no");

  /* An address nothing answers at: the client says why. */
  void* other = NULL;
  result = resOpen("camera.local", &other);
  printf("camera.local: %u (%s)\n", result, resLastOpenError());

  tqvDestroy(camera); /* the handle first, then the connection it uses */
  resClose(tree);
  return result == TQV_NOT_FOUND ? 0 : 1;
}
