// A C++ host: opens the built-in simulated GenICam camera and reads its board type.
#include <cstdio>

#include "tqvSDK.h"

int main() {
  zel::TSharedPtr<zel::cam::gic::IGenICam> device = zel::cam::gic::OpenDevice("sim");
  void* camera = nullptr;
  uint8_t board = 0xFF;
  uint32_t result = device ? tqvCreateGenICam(&camera, device) : TQV_ERROR;
  if (result == TQV_OK) result = tqvGetBoardType(camera, &board);
  tqvDestroy(camera);
  std::printf("C++ host (C++ %ld): result %u, board type %u\n", static_cast<long>(__cplusplus),
              result, board);
  return result == TQV_OK && board != 0xFF ? 0 : 1;
}
