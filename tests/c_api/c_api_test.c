/* Drives the library through its public header from C99: the header must compile as C, and the
 * entry points must behave as a C host expects. */
#include <stdio.h>
#include <string.h>

#include "ParamTree.h"
#include "tqvSDK.h"

static int failures = 0;

#define CHECK(condition)                                                            \
  do {                                                                              \
    if (!(condition)) {                                                             \
      fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      ++failures;                                                                   \
    }                                                                               \
  } while (0)

static void unknown_handles(void) {
  uint8_t value = 7;
  int marker = 0;
  CHECK(tqvTestConnection(NULL) == TQV_ERROR);
  CHECK(tqvGetBoardType(&marker, &value) == TQV_ERROR);
  CHECK(value == 7);
  CHECK(tqvDestroy(&marker) == TQV_OK);
  CHECK(tqvGetParamTree(&marker) == NULL);
}

static void camera(void) {
  void* tree = NULL;
  void* handle = NULL;
  CHECK(resOpen("sim", &tree) == TQV_OK);
  if (!tree) return;
  CHECK(tqvCreateParamTree(&handle, tree) == TQV_OK);
  CHECK(handle != NULL);
  CHECK(tqvFromParamTree(tree) == handle);
  CHECK(tqvGetParamTree(handle) == tree);
  CHECK(tqvTestConnection(handle) == TQV_OK);

  uint8_t board = 255;
  CHECK(tqvGetBoardType(handle, &board) == TQV_OK);
  CHECK(board <= 6);

  uint16_t major = 0, minor = 0, build = 0;
  CHECK(tqvGetMainAppVersion(handle, &major, &minor, &build) == TQV_OK);
  CHECK(major > 0);

  bool enabled = false;
  CHECK(tqvGetCacheEnabled(handle, &enabled) == TQV_OK && enabled);

  CHECK(tqvDestroy(handle) == TQV_OK);
  CHECK(tqvTestConnection(handle) == TQV_ERROR);
  CHECK(tqvFromParamTree(tree) == NULL);
  resClose(tree);
}

static void texts(void) {
  CHECK(tqvErrorToString(TQV_INVALID_ARGUMENT) != NULL);
  CHECK(strcmp(tqvPolarityText(1), "Active High") == 0);
  CHECK(tqvPolarityEnum("Active Low") == 0);
  CHECK(tqvVideoTemporalFilterText(2) == NULL);
  char buffer[16];
  CHECK(tqvGetDetectorTypeName(0, buffer, sizeof buffer) == TQV_OK);
  CHECK(strcmp(buffer, "InSb") == 0);
}

static void entry_arrays(void) {
  tqvDirEntryArray* list = tqvDirEntryArray_Alloc();
  CHECK(list != NULL);
  CHECK(tqvDirEntryArray_size(list) == 0);
  char* name = tqvDirEntryArray_fnameAt(list, 0);
  CHECK(name != NULL && name[0] == '\0');
  tqvFree(name);
  CHECK(tqvDirEntryArray_sizeAt(list, 0) == 0);
  tqvDirEntryArray_Free(list);
  tqvDirEntryArray_Free(NULL);
}

static void formats(void) {
  float gain = 0.0f;
  uint16_t offset = 0;
  uint8_t flag = 0;
  uint32_t word = tqvEncodeNUC(-9000, 1, 5.0f);
  CHECK((word >> 16) == 0xFFFCu);
  CHECK(tqvDecodeNUC(word, &gain, &offset, &flag) == TQV_OK);
  CHECK((int16_t)offset == -8192);
  CHECK(flag == 1);
}

int main(void) {
  unknown_handles();
  camera();
  texts();
  entry_arrays();
  formats();
  if (failures) {
    fprintf(stderr, "%d check(s) failed\n", failures);
    return 1;
  }
  printf("all C interface checks passed\n");
  return 0;
}
