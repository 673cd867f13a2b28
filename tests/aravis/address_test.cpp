// Addresses and error classes of the Aravis transport: no camera, no network.
#include <arv.h>
#include <gtest/gtest.h>

#include "aravis/Aravis.h"

namespace {

using zel::cam::gic::aravis::Address;
using zel::cam::gic::aravis::ClassifyError;
using zel::cam::gic::aravis::ErrorClass;
using zel::cam::gic::aravis::ParseAddress;

TEST(AravisAddress, ValidAddresses) {
  struct Case {
    const char* text;
    Address::Kind kind;
    const char* target;
    const char* local;
    bool checks;
  } cases[] = {
      {"gev:192.168.10.20", Address::Kind::GigE, "192.168.10.20", "", false},
      {"gev:127.0.0.1?checks", Address::Kind::GigE, "127.0.0.1", "", true},
      {"gev:10.0.0.7?interface=10.0.0.1", Address::Kind::GigE, "10.0.0.7", "10.0.0.1", false},
      {"gev:10.0.0.7?interface=10.0.0.1&checks", Address::Kind::GigE, "10.0.0.7", "10.0.0.1", true},
      {"aravis:Aravis-Fake-GV01", Address::Kind::Id, "Aravis-Fake-GV01", "", false},
      {"aravis:Maker-Model-1234?checks", Address::Kind::Id, "Maker-Model-1234", "", true},
  };
  for (const Case& c : cases) {
    Address address;
    std::string error;
    ASSERT_TRUE(ParseAddress(c.text, &address, &error)) << c.text << ": " << error;
    EXPECT_EQ(address.kind, c.kind) << c.text;
    EXPECT_EQ(address.target, c.target) << c.text;
    EXPECT_EQ(address.localAddress, c.local) << c.text;
    EXPECT_EQ(address.checks, c.checks) << c.text;
  }
}

TEST(AravisAddress, MalformedAddressesSayWhyAndLeaveTheOutputAlone) {
  struct Case {
    const char* text;
    const char* reason;  // a part of the reason
  } cases[] = {
      {"gev:", "not an IPv4 address"},
      {"gev:camera.local", "not an IPv4 address"},
      {"gev:192.168.1", "not an IPv4 address"},
      {"gev:192.168.1.300", "not an IPv4 address"},
      {"gev:0.0.0.0", "not the address of one camera"},
      {"gev:255.255.255.255", "not the address of one camera"},
      {"gev:239.1.2.3", "not the address of one camera"},
      {"gev:10.0.0.7?", "unknown option ''"},
      {"gev:10.0.0.7?check", "unknown option 'check'"},
      {"gev:10.0.0.7?checks&", "unknown option ''"},
      {"gev:10.0.0.7?interface=nowhere", "not an IPv4 address"},
      {"aravis:", "needs a device id"},
      {"aravis:?checks", "needs a device id"},
      {"aravis:X?interface=10.0.0.1", "unknown option 'interface=10.0.0.1'"},
      {"GEV:10.0.0.7", "not a gev: or aravis: address"},
  };
  for (const Case& c : cases) {
    Address address;
    address.target = "untouched";
    std::string error;
    EXPECT_FALSE(ParseAddress(c.text, &address, &error)) << c.text;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.text << ": " << error;
    EXPECT_EQ(address.target, "untouched") << c.text;
  }
}

TEST(AravisErrors, EachAravisErrorHasItsClass) {
  struct Case {
    GQuark domain;
    int code;
    ErrorClass expected;
  } cases[] = {
      {ARV_DEVICE_ERROR, ARV_DEVICE_ERROR_TIMEOUT, ErrorClass::Timeout},
      {ARV_DEVICE_ERROR, ARV_DEVICE_ERROR_PROTOCOL_ERROR_BUSY, ErrorClass::Timeout},
      {ARV_DEVICE_ERROR, ARV_DEVICE_ERROR_NOT_CONTROLLER, ErrorClass::Access},
      {ARV_DEVICE_ERROR, ARV_DEVICE_ERROR_PROTOCOL_ERROR_ACCESS_DENIED, ErrorClass::Access},
      {ARV_DEVICE_ERROR, ARV_DEVICE_ERROR_PROTOCOL_ERROR_WRITE_PROTECT, ErrorClass::Access},
      {ARV_DEVICE_ERROR, ARV_DEVICE_ERROR_PROTOCOL_ERROR_INVALID_ADDRESS, ErrorClass::OutOfRange},
      {ARV_DEVICE_ERROR, ARV_DEVICE_ERROR_INVALID_PARAMETER, ErrorClass::InvalidArgument},
      {ARV_DEVICE_ERROR, ARV_DEVICE_ERROR_PROTOCOL_ERROR_INVALID_PARAMETER,
       ErrorClass::InvalidArgument},
      {ARV_DEVICE_ERROR, ARV_DEVICE_ERROR_PROTOCOL_ERROR, ErrorClass::Failure},
      {ARV_DEVICE_ERROR, ARV_DEVICE_ERROR_NOT_CONNECTED, ErrorClass::Failure},
      {ARV_DEVICE_ERROR, ARV_DEVICE_ERROR_WRONG_FEATURE, ErrorClass::Failure},
      {ARV_GC_ERROR, ARV_GC_ERROR_READ_ONLY, ErrorClass::Access},
      {ARV_GC_ERROR, ARV_GC_ERROR_OUT_OF_RANGE, ErrorClass::OutOfRange},
      {ARV_GC_ERROR, ARV_GC_ERROR_ENUM_ENTRY_NOT_FOUND, ErrorClass::InvalidArgument},
      {ARV_GC_ERROR, ARV_GC_ERROR_INVALID_LENGTH, ErrorClass::InvalidArgument},
      {ARV_GC_ERROR, ARV_GC_ERROR_NODE_NOT_FOUND, ErrorClass::Failure},
      {ARV_GC_ERROR, ARV_GC_ERROR_PVALUE_NOT_DEFINED, ErrorClass::Failure},
      // The same code numbers in another domain mean nothing to us.
      {G_IO_ERROR, ARV_DEVICE_ERROR_TIMEOUT, ErrorClass::Failure},
      {G_IO_ERROR, ARV_GC_ERROR_READ_ONLY, ErrorClass::Failure},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ClassifyError(c.domain, c.code), c.expected)
        << g_quark_to_string(c.domain) << " " << c.code;
  }
}

// OpenDevice hands the parser's reason on, and names the schemes it knows for any other address.
TEST(AravisOpen, MalformedAndUnknownAddressesGiveTheReason) {
  struct Case {
    const char* address;
    const char* reason;
  } cases[] = {
      {"gev:224.0.0.1", "not the address of one camera"},
      {"usb:1", "unknown address 'usb:1'"},
      {"", "unknown address ''"},
  };
  for (const Case& c : cases) {
    zel::CString reason;
    EXPECT_FALSE(zel::cam::gic::OpenDevice(c.address, &reason)) << c.address;
    EXPECT_NE(std::string(reason.c_str()).find(c.reason), std::string::npos)
        << c.address << ": " << reason.c_str();
  }
  zel::CString reason;
  EXPECT_FALSE(zel::cam::gic::OpenDevice(nullptr, &reason));
  EXPECT_FALSE(reason.empty());
}

}  // namespace
