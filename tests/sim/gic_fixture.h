// Shared pieces of the GenICam simulator suites.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "genicam/SimDevice.h"
#include "zel/cam/gic.h"

namespace gictest {

// A device holding one feature of each kind, with known limits, and a selected feature.
inline const char* const kProfile = R"(
int      Counter     10    min=0 max=100 inc=2
int      Fixed       5     ro
int      Hidden      1     na
float    Gain        1.5   min=0.5 max=4.0
bool     Flag        true
enum     Mode        Fast  entries=Slow:0,Fast:1,Turbo:7
string   Label       "hello world"
command  Start       polls=3
register Buffer      16
int      Index       0     min=0 max=3
string   Named       "none" selector=Index
)";

// The device of kProfile, or the one a simulator address opens.
struct Camera {
  explicit Camera(const char* address = nullptr) {
    std::string error;
    device = address ? sim::genicam::OpenSimDevice(address, &error)
                     : sim::genicam::OpenSimProfile(kProfile, &error);
    EXPECT_TRUE(device) << error;
    sim = device ? sim::genicam::DeviceOf(device.get()) : nullptr;
  }
  template <typename T>
  zel::TSharedPtr<T> Get(const char* name) {
    zel::TSharedPtr<T> feature = device->GetFeature(name).template DynamicCast<T>();
    EXPECT_TRUE(feature) << name;
    return feature;
  }
  zel::TSharedPtr<zel::cam::gic::IGenICam> device;
  sim::genicam::Device* sim = nullptr;
  zel::u8 bytes[8] = {1};
};

}  // namespace gictest
