#include "zel/cam/gic.h"

#include <string>

#include "genicam/SimDevice.h"

namespace zel::cam::gic {

IFeature::~IFeature() = default;
IGenICam::~IGenICam() = default;

TSharedPtr<IGenICam> OpenDevice(const char* address) { return OpenDevice(address, nullptr); }

TSharedPtr<IGenICam> OpenDevice(const char* address, CString* reason) {
  // Only the in-process simulated device exists so far; real transports plug in here.
  std::string error;
  TSharedPtr<IGenICam> device = sim::genicam::OpenSimDevice(address, &error);
  if (reason) *reason = device ? "" : error.c_str();
  return device;
}

}  // namespace zel::cam::gic
