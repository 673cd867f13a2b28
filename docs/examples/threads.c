/* Handles and threads: any thread may call any function; here two threads share one handle and
 * a third camera has a handle of its own. */
#include <pthread.h>
#include <stdio.h>

#include "ParamTree.h"
#include "tqvSDK.h"

struct job {
  void* camera;
  uint8_t preset;
  uint32_t clocks;
  uint32_t result;
};

static void* set_and_read(void* argument) {
  struct job* job = argument;
  job->result = tqvSetIntegrationWidth(job->camera, job->preset, job->clocks);
  if (job->result == TQV_OK)
    job->result = tqvGetIntegrationWidth(job->camera, job->preset, &job->clocks);
  return NULL;
}

int main(void) {
  void *tree = NULL, *camera = NULL;
  if (resOpen("sim", &tree) != TQV_OK || tqvCreateParamTree(&camera, tree) != TQV_OK) return 1;

  struct job jobs[2] = {{camera, 0, 1000, 0}, {camera, 1, 2000, 0}};
  pthread_t threads[2];
  for (int i = 0; i < 2; ++i)
    pthread_create(&threads[i], NULL, set_and_read, &jobs[i]);
  for (int i = 0; i < 2; ++i)
    pthread_join(threads[i], NULL);
  for (int i = 0; i < 2; ++i)
    printf("preset %u: %s, %u clocks\n", jobs[i].preset, tqvErrorToString(jobs[i].result),
           jobs[i].clocks);

  /* After tqvDestroy the handle is unknown: every camera function answers TQV_ERROR. */
  tqvDestroy(camera);
  uint32_t clocks = 0;
  uint32_t after = tqvGetIntegrationWidth(camera, 0, &clocks);
  printf("after destroy: %s\n", tqvErrorToString(after));
  resClose(tree);
  return jobs[0].result == TQV_OK && jobs[1].result == TQV_OK && after == TQV_ERROR ? 0 : 1;
}
