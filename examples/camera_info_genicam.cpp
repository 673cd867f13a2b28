// The main job over GenICam: open the built-in simulated device (or the address given as the
// first argument), create a handle and print what the library reads from the camera. When the
// device cannot be opened or a handle cannot be created, it says why.
// A real GigE Vision camera: camera_info_genicam gev:192.168.1.20 (docs/gige.md); Aravis's fake
// camera: tqv-fake-gev-camera -- camera_info_genicam gev:127.0.0.1
#include <cstdio>
#include <string>

#include "tqvSDK.h"

namespace {

bool Report(const char* what, uint32_t result) {
  if (result != TQV_OK)
    std::printf("%-28s failed: %s (%u)\n", what, tqvErrorToString(result), result);
  return result == TQV_OK;
}

// Why no handle could be created: the camera is not ready, or it lacks one of the sensor
// constants the library reads at creation (per-preset ones carry the prefix "PS0", except on a
// frame grabber).
void ExplainCreateFailure(zel::cam::gic::IGenICam& device, uint32_t result) {
  using namespace zel::cam::gic;
  static const char* const kConstants[] = {
      "MfgDeadRows",         "MfgReadoutChannels",         "MfgClockFrequency",
      "MfgLineDeadWidth",    "MfgPreIntegrationDeadWidth", "MfgPostIntegrationDeadWidth",
      "IntegrationWidthMin", "IntegrationWidthMax",        "FrameWidthMin",
      "FrameWidthMax",       "MfgPipelineDelay",           "MfgIntegrationDeadWidth",
      "MfgFrameDeadWidth"};
  zel::TSharedPtr<IFeature> ready = device.GetFeature("Ready");
  auto* flag = dynamic_cast<IBoolean*>(ready.get());
  try {
    if (!flag) {
      std::fprintf(stderr, "cannot create a handle: the camera has no boolean feature Ready\n");
      return;
    }
    if (!flag->GetValue()) {
      std::fprintf(stderr, "cannot create a handle: the camera is not ready (Ready is false)\n");
      return;
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "cannot create a handle: Ready does not read: %s\n", error.what());
    return;
  }
  for (const char* name : kConstants) {
    const std::string prefixed = std::string("PS0") + name;
    if (!device.GetFeature(name) && !device.GetFeature(prefixed.c_str())) {
      std::fprintf(stderr, "cannot create a handle: the camera lacks the sensor constant %s\n",
                   name);
      return;
    }
  }
  std::fprintf(stderr, "cannot create a handle: %s (%u)\n", tqvErrorToString(result), result);
}

}  // namespace

int main(int argc, char** argv) {
  const char* address = argc > 1 ? argv[1] : "sim";
  zel::CString reason;
  zel::TSharedPtr<zel::cam::gic::IGenICam> device = zel::cam::gic::OpenDevice(address, &reason);
  if (!device) {
    std::fprintf(stderr, "cannot open %s: %s\n", address, reason.c_str());
    return 1;
  }
  void* camera = nullptr;
  uint32_t result = tqvCreateGenICam(&camera, device);
  if (result != TQV_OK) {
    ExplainCreateFailure(*device, result);
    return 1;
  }

  bool ok = Report("connection test", tqvTestConnection(camera));
  std::printf("%-28s %s\n", "connection", ok ? "ok" : "failed");

  uint8_t board = 0;
  if (Report("board type", tqvGetBoardType(camera, &board))) {
    const char* text = tqvBoardTypeText(board);
    std::printf("%-28s %u (%s)\n", "board type", board, text ? text : "frame grabber");
  } else {
    ok = false;
  }

  uint16_t major = 0, minor = 0, build = 0;
  if (Report("main application version", tqvGetMainAppVersion(camera, &major, &minor, &build))) {
    std::printf("%-28s %u.%u build %u\n", "main application version", major, minor, build);
  } else {
    ok = false;
  }

  uint32_t clock = 0, minFrame = 0, maxFrame = 0, minInt = 0, maxInt = 0;
  uint8_t gainLevels = 0;
  if (Report("clock frequency", tqvGetClockFrequency(camera, &clock)) &&
      Report("frame width limits", tqvGetMinFrameWidth(camera, &minFrame)) &&
      Report("frame width limits", tqvGetMaxFrameWidth(camera, &maxFrame)) &&
      Report("integration width limits", tqvGetMinIntWidth(camera, &minInt)) &&
      Report("integration width limits", tqvGetMaxIntWidth(camera, &maxInt)) &&
      Report("gain levels", tqvGetSupportedGainLevels(camera, &gainLevels))) {
    std::printf("%-28s %u Hz\n", "detector clock", clock);
    std::printf("%-28s %u .. %u clocks\n", "frame width", minFrame, maxFrame);
    std::printf("%-28s %u .. %u clocks\n", "integration width", minInt, maxInt);
    std::printf("%-28s %u\n", "supported gain levels", gainLevels);
  } else {
    ok = false;
  }

  tqvDestroy(camera);
  return ok ? 0 : 1;
}
