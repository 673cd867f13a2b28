#include "zel/cam/gic.h"

#include "genicam/SimDevice.h"

namespace zel::cam::gic {

IFeature::~IFeature() = default;
IGenICam::~IGenICam() = default;

TSharedPtr<IGenICam> OpenDevice(const char* address) {
  // Only the in-process simulated device exists so far; real transports plug in here.
  return sim::genicam::OpenSimDevice(address);
}

}  // namespace zel::cam::gic
