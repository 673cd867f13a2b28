/* File transfers with progress: a host file up to the camera and back, then a listing. */
#include <stdio.h>
#include <string.h>

#include "ParamTree.h"
#include "tqvSDK.h"

static int progress(unsigned int done, unsigned int total, void* context) {
  unsigned int* reports = context;
  ++*reports;
  printf("  %u of %u bytes\n", done, total);
  return 0;
}

int main(void) {
  void *tree = NULL, *camera = NULL;
  if (resOpen("sim", &tree) != TQV_OK || tqvCreateParamTree(&camera, tree) != TQV_OK) return 1;
  FILE* file = fopen("guide-upload.txt", "wb");
  if (!file) return 1;
  for (int i = 0; i < 1000; ++i)
    fputs("ten bytes\n", file);
  fclose(file);

  unsigned int reports = 0;
  uint32_t result =
      tqvUploadFileStdC(camera, "/FlashFS/guide.txt", "guide-upload.txt", progress, &reports);
  printf("upload: %s after %u reports\n", tqvErrorToString(result), reports);
  if (result == TQV_OK) /* a null callback: no reports */
    result = tqvDownloadFileStdC(camera, "/FlashFS/guide.txt", "guide-download.txt", NULL, NULL);
  uint32_t size = 0;
  if (result == TQV_OK) result = tqvGetFileInfo(camera, "/FlashFS/guide.txt", &size, NULL);
  printf("download: %s; the camera's file has %u bytes\n", tqvErrorToString(result), size);

  tqvDirEntryArray* list = tqvDirEntryArray_Alloc();
  if (result == TQV_OK) result = tqvListDir(camera, "/FlashFS", list);
  for (uint32_t i = 0; result == TQV_OK && i < tqvDirEntryArray_size(list); ++i) {
    char* entry = tqvDirEntryArray_fnameAt(list, i);
    printf("  /FlashFS/%s\n", entry);
    tqvFree(entry);
  }
  tqvDirEntryArray_Free(list);
  tqvDestroy(camera);
  resClose(tree);
  return result == TQV_OK && size == 10000 && reports > 0 ? 0 : 1;
}
