// A libzelcam built without Aravis refuses the transport's addresses and says why.
#include <gtest/gtest.h>

#include <string>

#include "zel/cam/gic.h"

TEST(WithoutAravis, TransportAddressesAreRefusedWithTheReason) {
  for (const char* address : {"gev:127.0.0.1", "aravis:Aravis-Fake-GV01"}) {
    zel::CString reason;
    EXPECT_FALSE(zel::cam::gic::OpenDevice(address, &reason)) << address;
    EXPECT_NE(std::string(reason.c_str()).find("without Aravis"), std::string::npos)
        << reason.c_str();
  }
  EXPECT_TRUE(zel::cam::gic::OpenDevice("sim"));
}
