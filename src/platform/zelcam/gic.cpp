#include "zel/cam/gic.h"

#include <string>

#include "genicam/SimDevice.h"
#if TQV_WITH_ARAVIS
#include "aravis/Aravis.h"
#endif

namespace zel::cam::gic {

IFeature::~IFeature() = default;
IGenICam::~IGenICam() = default;

namespace {

bool HasScheme(const std::string& address, const char* scheme) {
  return address.rfind(scheme, 0) == 0;
}

}  // namespace

TSharedPtr<IGenICam> OpenDevice(const char* address) { return OpenDevice(address, nullptr); }

TSharedPtr<IGenICam> OpenDevice(const char* address, CString* reason) {
  const std::string text = address ? address : "";
  std::string why;
  TSharedPtr<IGenICam> device;
  if (HasScheme(text, "sim")) {
    device = sim::genicam::OpenSimDevice(address, &why);
  } else if (HasScheme(text, "gev:") || HasScheme(text, "aravis:")) {
#if TQV_WITH_ARAVIS
    device = aravis::Open(address, &why);
#else
    why = "this libzelcam is built without Aravis: " + text + " needs TQV_WITH_ARAVIS";
#endif
  } else {
    why = "unknown address '" + text + "' (sim, sim:<profile>, gev:<IPv4> or aravis:<id>)";
  }
  if (!device && reason) *reason = why.c_str();
  return device;
}

}  // namespace zel::cam::gic
