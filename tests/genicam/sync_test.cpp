// Synchronisation, time, temperatures, voltages, identity and data links over GenICam: the
// features and their order and the fall-backs of cameras without a feature. The operations'
// round trips and fault sweep are sync_family_test.cpp's.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "common/sim_fixtures.h"
#include "common/testutil.h"

using sim::genicam::Fault;
using sim::genicam::FaultSpec;
using testutil::GicCamera;

namespace {

std::vector<std::string> Writes(const sim::genicam::Device& device) {
  std::vector<std::string> writes;
  for (const auto& access : device.Log()) {
    if (access.access == "set" || access.access == "execute") {
      writes.push_back(access.feature + (access.access == "set" ? "=" + access.value : "()"));
    }
  }
  return writes;
}

FaultSpec Failing(const std::string& feature, Fault fault = Fault::RuntimeError,
                  const std::string& access = "get") {
  FaultSpec spec;
  spec.feature = feature;
  spec.fault = fault;
  spec.access = access;
  return spec;
}

}  // namespace

// --- Time ----------------------------------------------------------------------------------------

// The camera keeps the full year; the interface's year is the camera's modulo a hundred. What is
// written and in which order is SyncFamily's, through the simulated clock.
TEST(GicSync, ClockYearIsTheCameraYearModuloAHundred) {
  GicCamera cam;
  ASSERT_EQ(tqvSetRealTimeClock(cam.handle(), 124, 7, 4, 13, 5, 9), TQV_OK);
  EXPECT_EQ(cam.device().GetInt("RTCYear"), 2124);
  u8 year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  ASSERT_EQ(tqvGetRealTimeClock(cam.handle(), &year, &month, &day, &hour, &minute, &second),
            TQV_OK);
  EXPECT_EQ(year, 24);
}

TEST(GicSync, IRIGWithoutAYearNeverAsksForIt) {
  GicCamera cam("sim:irig-no-year");
  u16 year = 9, day = 0, ms = 0, us = 0;
  u8 hour = 0, minute = 0, second = 0;
  ASSERT_EQ(tqvSetIRIGTime(cam.handle(), 2030, 10, 1, 2, 3, 4, 5), TQV_OK);
  ASSERT_EQ(tqvGetIRIGTime(cam.handle(), &year, &day, &hour, &minute, &second, &ms, &us), TQV_OK);
  for (const auto& access : cam.device().Log("IRIGYear")) {
    EXPECT_EQ(access.access, "lookup");
  }
  EXPECT_EQ(Writes(cam.device()).front(), "IRIGDay=10");
}

// --- Temperatures --------------------------------------------------------------------------------

TEST(GicSync, TemperaturesBySelector) {
  GicCamera cam;
  float front = 0, gap = 0, internal = 0;
  ASSERT_EQ(tqvGetVxTemperatures(cam.handle(), &front, &gap, &internal), TQV_OK);
  std::vector<std::string> selected;
  for (const auto& access : cam.device().Log("DeviceTemperatureSelector", "set"))
    selected.push_back(access.value);
  EXPECT_EQ(selected, (std::vector<std::string>{"3", "4", "5"}));
}

// --- Voltages ------------------------------------------------------------------------------------

TEST(GicSync, VoltagesByIndexFromTheListReadOnce) {
  GicCamera cam;
  zel::TArray<zel::CString> names;
  ASSERT_EQ(tqvListVoltages(cam.handle(), names), TQV_OK);
  std::vector<std::string> listed;
  for (u32 i = 0; i < names.GetCount(); ++i)
    listed.emplace_back(names[i].c_str());
  EXPECT_EQ(listed, (std::vector<std::string>{"vdet", "vos", "vref", "vneg"}));
  const std::size_t nameReads = cam.device().Count("VoltageName", "get");

  const struct {
    const char* name;
    bool editable;
  } cases[] = {{"vdet", true}, {"vos", true}, {"vref", false}, {"vneg", true}};
  for (const auto& test : cases) {
    bool editable = !test.editable;
    ASSERT_EQ(tqvGetVoltageEditable(cam.handle(), test.name, &editable), TQV_OK);
    EXPECT_EQ(editable, test.editable) << test.name;
  }
  EXPECT_EQ(tqvSetVoltage(cam.handle(), "vref", 1.0f), TQV_ACCESS_DENIED);
  float low = 0, high = 0;
  ASSERT_EQ(tqvGetVoltageLimits(cam.handle(), "vneg", &low, &high), TQV_OK);
  EXPECT_FLOAT_EQ(low, -5.0f);
  EXPECT_FLOAT_EQ(high, 0.0f);
  // The property tree calls an unknown voltage not editable; here it is not found.
  bool editable = true;
  EXPECT_EQ(tqvGetVoltageEditable(cam.handle(), "nope", &editable), TQV_NOT_FOUND);
  EXPECT_EQ(tqvGetVoltageLimits(cam.handle(), "nope", &low, &high), TQV_NOT_FOUND);
  EXPECT_EQ(cam.device().Count("VoltageName", "get"), nameReads);  // the list is kept
}

// --- Identity ------------------------------------------------------------------------------------

TEST(GicSync, SerialNumberFromTheFirstFeatureThatReads) {
  const struct {
    std::vector<std::string> missing, failing;
    u32 result;
    const char* serial;
  } cases[] = {
      {{}, {}, TQV_OK, "CAM-1"},
      {{}, {"CameraSerial"}, TQV_OK, "DSN-2"},
      {{"CameraSerial"}, {"DeviceSerialNumber"}, TQV_OK, "ID-3"},
      {{"CameraSerial", "DeviceSerialNumber", "DeviceID"}, {}, TQV_ERROR, ""},
      {{"CameraSerial", "DeviceSerialNumber"}, {"DeviceID"}, TQV_FAILED, ""},
  };
  for (const auto& test : cases) {
    GicCamera cam;
    sim::genicam::Device& device = cam.device();
    device.SetString("CameraSerial", "CAM-1");
    device.SetString("DeviceSerialNumber", "DSN-2");
    device.SetString("DeviceID", "ID-3");
    for (const std::string& name : test.missing)
      device.Remove(name);
    for (const std::string& name : test.failing)
      device.InjectFault(Failing(name));
    char serial[32] = "";
    EXPECT_EQ(tqvGetCameraSN(cam.handle(), serial, sizeof serial), test.result) << test.serial;
    EXPECT_STREQ(serial, test.serial);
  }
  GicCamera cam;
  ASSERT_EQ(tqvSetCameraSN(cam.handle(), "NEW-7"), TQV_OK);
  EXPECT_EQ(Writes(cam.device()), (std::vector<std::string>{"MfgDeviceID=NEW-7"}));
}

TEST(GicSync, ExtraInformationInTheSelectorsOrder) {
  GicCamera cam;
  // The digitizer's component reads nothing on this camera.
  cam.device().SetString("ComponentInfoSelector", "Digitizer_Version");
  cam.device().SetAvailable("ComponentInfo", false);
  cam.device().SetString("ComponentInfoSelector", "AppCore_Version");
  u32 result = 1;
  const auto entries = testutil::InfoEntries(cam.handle(), &result);
  ASSERT_EQ(result, TQV_OK);
  EXPECT_EQ(entries, (std::vector<std::pair<std::string, std::string>>{
                         {"AppCore_Version", "3.4.0.27"},
                         {"Bootloader_Version", "1.2.0.5"},
                         {"FPGA_Version", "2.17.0.3"},
                         {"Digitizer_Version", "Error"},
                         {"Updater_Version", "1.1.0.9"},
                     }));
  // Without the list of components nothing can be named.
  cam.device().InjectFault(Failing("ComponentInfoSelector", Fault::RuntimeError, "entries"));
  EXPECT_TRUE(testutil::InfoEntries(cam.handle(), &result).empty());
  EXPECT_EQ(result, TQV_FAILED);
}

// --- Data links ----------------------------------------------------------------------------------

TEST(GicSync, LinkSettingsOfTheBoardWhenTheCameraDoesNotSay) {
  const struct {
    i64 board;
    u8 type, links;
    bool gigEPresets;
  } cases[] = {{0, 0, 1, false}, {1, 1, 2, true},  {2, 0, 1, false}, {3, 1, 2, true},
               {4, 0, 1, false}, {5, 1, 2, false}, {6, 0, 1, false}};
  for (const auto& test : cases) {
    SCOPED_TRACE(test.board);
    GicCamera cam;
    sim::genicam::Device& device = cam.device();
    device.Remove("CameraLinkTypeAvailable");
    device.Remove("CameraLinkTypeWritable");
    device.Remove("CoaXPressLinkCountAvailable");
    device.SetInt("BoardType", test.board);
    bool available = true, writable = true, presets = !test.gigEPresets;
    u8 type = 9, links = 9;
    ASSERT_EQ(tqvGetCameraLinkTypeAvailable(cam.handle(), &available), TQV_OK);
    ASSERT_EQ(tqvGetCameraLinkTypeWritable(cam.handle(), &writable), TQV_OK);
    EXPECT_FALSE(available);
    EXPECT_FALSE(writable);
    ASSERT_EQ(tqvGetCameraLinkType(cam.handle(), &type), TQV_OK);
    EXPECT_EQ(type, test.type);
    ASSERT_EQ(tqvGetCoaXPressLinkCount(cam.handle(), &links), TQV_OK);
    EXPECT_EQ(links, test.links);
    EXPECT_EQ(tqvSetCameraLinkType(cam.handle(), test.type), TQV_OK);
    EXPECT_EQ(tqvSetCoaXPressLinkCount(cam.handle(), 3), TQV_NOT_SUPPORTED);
    EXPECT_TRUE(Writes(device).empty());
    ASSERT_EQ(tqvGetGigEPresetSupported(cam.handle(), &presets), TQV_OK);
    EXPECT_EQ(presets, test.gigEPresets);
  }
}

// The switches themselves are PtreeSync's: both backends share the rules.
TEST(GicSync, TheTransportLayerIsTheCamerasOwn) {
  GicCamera cam;
  bool available = false;
  u8 type = 9;
  ASSERT_EQ(tqvGetDeviceTLTypeAvailable(cam.handle(), &available), TQV_OK);
  EXPECT_TRUE(available);
  ASSERT_EQ(tqvGetDeviceTLType(cam.handle(), &type), TQV_OK);
  EXPECT_EQ(type, 0);  // GigE Vision
}

// --- Colours, lock-in, reboot --------------------------------------------------------------------

TEST(GicSync, CamerasWithoutColoursOrLockin) {
  GicCamera cam;
  cam.device().SetAvailable("ColorMax", false);
  cam.device().Remove("LockinAvailable");
  u8 colors = 0, color = 9;
  bool lockin = true;
  ASSERT_EQ(tqvGetNumColors(cam.handle(), &colors), TQV_OK);
  EXPECT_EQ(colors, 1);
  ASSERT_EQ(tqvGetColor(cam.handle(), 1, &color), TQV_OK);
  EXPECT_EQ(color, 0);
  EXPECT_EQ(tqvSetColor(cam.handle(), 1, 0), TQV_OK);
  EXPECT_EQ(tqvSetColor(cam.handle(), 1, 1), TQV_NOT_SUPPORTED);
  ASSERT_EQ(tqvGetLockinAvailable(cam.handle(), &lockin), TQV_OK);
  EXPECT_FALSE(lockin);
  EXPECT_TRUE(Writes(cam.device()).empty());
}

TEST(GicSync, RebootDoesNotWaitForTheCamera) {
  GicCamera cam;
  cam.device().SetPollsUntilDone("MfgUpdateReboot", 1000);
  ASSERT_EQ(tqvReboot(cam.handle()), TQV_OK);
  EXPECT_EQ(cam.device().ExecuteCount("MfgUpdateReboot"), 1);
  EXPECT_EQ(cam.device().Count("MfgUpdateReboot", "isDone"), 0u);
}
