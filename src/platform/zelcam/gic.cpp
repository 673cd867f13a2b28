#include "zel/cam/gic.h"

namespace zel::cam::gic {

IFeature::~IFeature() = default;
IGenICam::~IGenICam() = default;

}  // namespace zel::cam::gic
