// Synchronisation, time, temperatures, voltages, identity and data links over the property tree:
// the paths and their order, the fall-backs of cameras without a path, the derived frequencies
// and the cache. The operations' round trips and fault sweep are sync_family_test.cpp's.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "common/sim_fixtures.h"
#include "common/testutil.h"

using sim::ptree::Value;
using testutil::PTreeCamera;

namespace {

// An operation that only reads, called with throw-away outputs.
template <typename... Out>
std::function<u32(void*)> Reading(u32 (*op)(void*, Out*...)) {
  return [op](void* handle) {
    std::tuple<Out...> outputs{};
    return std::apply([&](Out&... out) { return op(handle, &out...); }, outputs);
  };
}

}  // namespace

// --- Time ----------------------------------------------------------------------------------------

// The camera keeps the full year; the interface's year is the camera's less 2000, kept to eight
// bits. What is written and in which order is SyncFamily's, through the simulated clock.
TEST(PtreeSync, ClockYearIsTheCameraYearLess2000) {
  PTreeCamera cam;
  ASSERT_EQ(tqvSetRealTimeClock(cam.handle(), 124, 1, 1, 0, 0, 0), TQV_OK);
  EXPECT_EQ(cam.camera().Integer(".system.time.year"), 2124);
  cam.camera().ClearTraffic();
  u8 year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  ASSERT_EQ(tqvGetRealTimeClock(cam.handle(), &year, &month, &day, &hour, &minute, &second),
            TQV_OK);
  EXPECT_EQ(year, 124);
  EXPECT_EQ(cam.camera().Traffic().front().path, ".system.time.read");
}

TEST(PtreeSync, IRIGWithoutAYearNeverTouchesTheYear) {
  PTreeCamera cam("sim:irig-no-year");
  ASSERT_EQ(tqvSetIRIGTime(cam.handle(), 2030, 10, 1, 2, 3, 4, 5), TQV_OK);
  ASSERT_EQ(Reading(&tqvGetIRIGTime)(cam.handle()), TQV_OK);
  for (const sim::ptree::Access& access : cam.camera().Traffic()) {
    if (access.path == ".system.irig.year") {
      EXPECT_EQ(access.kind, "verify");
    }
  }
  EXPECT_EQ(cam.camera().Writes().front(), ".system.irig.day=10");
}

// --- Voltages ------------------------------------------------------------------------------------

TEST(PtreeSync, VoltagesByTheirInputAndOutputPaths) {
  PTreeCamera cam;
  zel::TArray<zel::CString> names;
  names.Add("stale");
  ASSERT_EQ(tqvListVoltages(cam.handle(), names), TQV_OK);
  std::vector<std::string> listed;
  for (u32 i = 0; i < names.GetCount(); ++i)
    listed.emplace_back(names[i].c_str());
  EXPECT_EQ(listed, (std::vector<std::string>{"vos", "vdet", "vdd", "vref"}));

  // A voltage the camera only reports is read from its output and is not editable.
  float volts = 0, low = 0, high = 0;
  bool editable = true;
  ASSERT_EQ(tqvGetVoltage(cam.handle(), "vref", &volts), TQV_OK);
  EXPECT_FLOAT_EQ(volts, 2.048f);
  ASSERT_EQ(tqvGetVoltageEditable(cam.handle(), "vref", &editable), TQV_OK);
  EXPECT_FALSE(editable);
  EXPECT_EQ(tqvSetVoltage(cam.handle(), "vref", 1.0f), TQV_NOT_FOUND);
  // Without limits of its own a voltage may be set within +-5 V.
  ASSERT_EQ(tqvGetVoltageLimits(cam.handle(), "vdd", &low, &high), TQV_OK);
  EXPECT_EQ(low, -5.0f);
  EXPECT_EQ(high, 5.0f);
  ASSERT_EQ(tqvGetVoltageLimits(cam.handle(), "vdet", &low, &high), TQV_OK);
  EXPECT_FLOAT_EQ(low, 2.5f);
  EXPECT_FLOAT_EQ(high, 3.6f);
}

TEST(PtreeSync, SettingANamedVoltageForgetsTheCachedBias) {
  PTreeCamera cam;
  float bias = 0, low = 0, high = 0;
  ASSERT_EQ(tqvGetFPABias(cam.handle(), &bias), TQV_OK);
  ASSERT_EQ(tqvGetFPABiasLimits(cam.handle(), &low, &high), TQV_OK);
  cam.camera().ClearTraffic();
  ASSERT_EQ(tqvGetFPABias(cam.handle(), &bias), TQV_OK);
  EXPECT_EQ(cam.camera().CountPath(".system.bias.detector"), 0u);
  ASSERT_EQ(tqvSetVoltage(cam.handle(), "vdet", 3.0f), TQV_OK);
  ASSERT_EQ(tqvGetFPABias(cam.handle(), &bias), TQV_OK);
  ASSERT_EQ(tqvGetFPABiasLimits(cam.handle(), &low, &high), TQV_OK);
  EXPECT_EQ(cam.camera().Count("get", ".system.bias.detector"), 1u);
  EXPECT_EQ(cam.camera().Count("limits", ".system.bias.detector"), 1u);
}

// --- Identity ------------------------------------------------------------------------------------

TEST(PtreeSync, VariantWithoutAPathAndAFixedVariant) {
  PTreeCamera minimal("sim:minimal");
  u8 variant = 9;
  ASSERT_EQ(tqvGetVariant(minimal.handle(), &variant), TQV_OK);
  EXPECT_EQ(variant, 0);
  EXPECT_EQ(tqvSetVariant(minimal.handle(), 0), TQV_OK);
  EXPECT_EQ(tqvSetVariant(minimal.handle(), 1), TQV_INVALID_ARGUMENT);
  EXPECT_TRUE(minimal.camera().Writes().empty());

  // A fixed variant refuses writes, yet asking for the one it is succeeds.
  PTreeCamera fixed;
  fixed.camera().SetReadOnly(".version.product.variant");
  EXPECT_EQ(tqvSetVariant(fixed.handle(), 0), TQV_OK);
  EXPECT_EQ(tqvSetVariant(fixed.handle(), 1), TQV_NOT_WRITABLE);
  ASSERT_EQ(tqvGetVariant(fixed.handle(), &variant), TQV_OK);
  EXPECT_EQ(variant, 0);
}

TEST(PtreeSync, PleoraBoardTexts) {
  const struct {
    const char* text;
    u32 result;
    u8 code;
  } reads[] = {{"usb3", TQV_OK, 1}, {"Ntx", TQV_OK, 2}, {"GigE", TQV_OUT_OF_ENUMERATION, 9}};
  for (const auto& test : reads) {
    PTreeCamera cam;
    cam.camera().Set(".system.settings.gigE.type", Value::Str(test.text));
    u8 code = 9;
    EXPECT_EQ(tqvGetPleoraBoardType(cam.handle(), &code), test.result) << test.text;
    EXPECT_EQ(code, test.code) << test.text;
  }
  PTreeCamera cam;
  ASSERT_EQ(tqvSetPleoraBoardType(cam.handle(), 1), TQV_OK);
  EXPECT_EQ(cam.camera().Text(".system.settings.gigE.type"), "USB3");
  cam.camera().ClearTraffic();
  EXPECT_EQ(tqvSetPleoraBoardType(cam.handle(), 3), TQV_OUT_OF_ENUMERATION);
  EXPECT_TRUE(cam.camera().Traffic().empty());
}

TEST(PtreeSync, ExtraInformationInItsOrder) {
  PTreeCamera cam;
  u32 result = 1;
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"CPLD Version", "00020105"},    {"NFPGA Version", "03040012"},
      {"NFPGA CRC", "5A3C96E1"},       {"VFPGA Version", "02010007"},
      {"VFPGA CRC", "1B7E44C0"},       {"Digitizer Version", "01020003"},
      {"FPA Serial", "FPA-22-0193"},   {"IDCA/DDCA Serial", "ID-7781"},
      {"Cooler Serial", "CL-5520"},    {"Flex Part Number", "FX-640-2"},
      {"Flex Revision", "3"},          {"Flex Serial", "40917"},
      {"AppCore Version", "3.4.1187"}, {"Bootloader Version", "1.6.2"},
      {"WebServer Version", "2.0.9"},  {"FpgaLoader Version", "1.1.0"},
      {"Updater Version", "2.3.0"},
  };
  EXPECT_EQ(testutil::InfoEntries(cam.handle(), &result), expected);
  EXPECT_EQ(result, TQV_OK);

  // A value that does not read shows "Error" and the rest still come; an FPGA without a version
  // is left out; an FPGA whose version cannot be asked for shows its entries as errors.
  PTreeCamera broken;
  broken.camera().Remove(".version.product.flexPartNumber");
  broken.camera().Remove(".version.hw.fpga.versionVFPGA");
  broken.camera().InjectFault(".version.hw.fpga.versionPFPGA", 165, 1, "verify");
  broken.camera().InjectFault(".version.sw.Bootloader.ver", 165);
  const auto entries = testutil::InfoEntries(broken.handle(), &result);
  EXPECT_EQ(result, TQV_OK);
  const std::map<std::string, std::string> values(entries.begin(), entries.end());
  for (const auto& [name, value] :
       std::map<std::string, std::string>{{"Flex Part Number", "Error"},
                                          {"VFPGA Version", "absent"},
                                          {"VFPGA CRC", "absent"},
                                          {"PFPGA Version", "Error"},
                                          {"PFPGA CRC", "Error"},
                                          {"Bootloader Version", "Error"},
                                          {"Flex Revision", "3"},
                                          {"Updater Version", "2.3.0"}}) {
    EXPECT_EQ(values.contains(name) ? values.at(name) : "absent", value) << name;
  }

  // The programs are listed from the camera; without a list nothing can be named.
  PTreeCamera unlisted;
  unlisted.camera().InjectFault(".version.sw", 165, 1, "children");
  testutil::InfoEntries(unlisted.handle(), &result);
  EXPECT_EQ(result, 165u);
}

// --- Data links ----------------------------------------------------------------------------------

// A camera that does not say has the links of its board (which board has which is GicSync's
// table: the backends share it).
TEST(PtreeSync, CameraLinkTypeAndLinkCountOfTheBoard) {
  PTreeCamera cam;
  cam.camera().Remove(".system.settings.cameraLink.typeAvailable");
  cam.camera().Remove(".system.settings.coaXPress.numLinksAvailable");
  cam.camera().Set(".version.product.tqvBoardType", Value::Str("TQV1"));
  bool available = true, writable = true;
  u8 type = 9, links = 9;
  ASSERT_EQ(tqvGetCameraLinkTypeAvailable(cam.handle(), &available), TQV_OK);
  EXPECT_FALSE(available);
  ASSERT_EQ(tqvGetCameraLinkType(cam.handle(), &type), TQV_OK);
  EXPECT_EQ(type, 0);
  ASSERT_EQ(tqvGetCoaXPressLinkCount(cam.handle(), &links), TQV_OK);
  EXPECT_EQ(links, 1);
  // Only the board's own value can be asked for, and nothing is written.
  EXPECT_EQ(tqvSetCameraLinkType(cam.handle(), 0), TQV_OK);
  EXPECT_EQ(tqvSetCameraLinkType(cam.handle(), 1), TQV_NOT_SUPPORTED);
  EXPECT_EQ(tqvSetCoaXPressLinkCount(cam.handle(), 1), TQV_OK);
  EXPECT_EQ(tqvSetCoaXPressLinkCount(cam.handle(), 3), TQV_NOT_SUPPORTED);
  EXPECT_TRUE(cam.camera().Writes().empty());
  // Writable follows the availability where the camera does not say.
  cam.camera().Remove(".system.settings.coaXPress.numLinksWritable");
  ASSERT_EQ(tqvGetCoaXPressLinkCountWritable(cam.handle(), &writable), TQV_OK);
  EXPECT_FALSE(writable);

  // An older camera says only that it has the link.
  PTreeCamera older;
  older.camera().Remove(".system.settings.cameraLink.typeAvailable");
  older.camera().Remove(".system.settings.cameraLink.typeWritable");
  older.camera().Set(".system.settings.cameraLink.present", Value::Bool(true));
  type = 9;
  ASSERT_EQ(tqvGetCameraLinkTypeWritable(older.handle(), &writable), TQV_OK);
  EXPECT_TRUE(writable);
  ASSERT_EQ(tqvSetCameraLinkType(older.handle(), 0), TQV_OK);
  EXPECT_EQ(older.camera().Text(".system.settings.cameraLink.type"), "Base");
  older.camera().Set(".system.settings.cameraLink.type", Value::Str("Medium"));
  ASSERT_EQ(tqvClearCache(older.handle()), TQV_OK);
  EXPECT_EQ(tqvGetCameraLinkType(older.handle(), &type), TQV_ERROR);
  EXPECT_EQ(type, 255);
}

TEST(PtreeSync, HeaderModeSwitchesAreWrittenOffFirst) {
  const struct {
    u8 mode;
    u32 result;
    std::vector<std::string> writes;
  } cases[] = {
      {1,
       TQV_OK,
       {".system.settings.cameraLink.headerDisabled=false",
        ".system.settings.cameraLink.headerOnly=true"}},
      {2,
       TQV_OK,
       {".system.settings.cameraLink.headerOnly=false",
        ".system.settings.cameraLink.headerDisabled=true"}},
      {0,
       TQV_OK,
       {".system.settings.cameraLink.headerDisabled=false",
        ".system.settings.cameraLink.headerOnly=false"}},
      {7, TQV_NOT_SUPPORTED, {}},
  };
  for (const auto& test : cases) {
    PTreeCamera cam;
    EXPECT_EQ(tqvSetCameraLinkHeaderMode(cam.handle(), test.mode), test.result) << int(test.mode);
    EXPECT_EQ(cam.camera().Writes(), test.writes) << int(test.mode);
  }
  // Both switches on is no mode at all.
  PTreeCamera cam;
  cam.camera().Set(".system.settings.cameraLink.headerOnly", Value::Bool(true));
  cam.camera().Set(".system.settings.cameraLink.headerDisabled", Value::Bool(true));
  u8 mode = 9;
  EXPECT_EQ(tqvGetCameraLinkHeaderMode(cam.handle(), &mode), TQV_NOT_SUPPORTED);
  EXPECT_EQ(mode, 9);
  // The property tree does not report a transport layer.
  bool available = true;
  ASSERT_EQ(tqvGetDeviceTLTypeAvailable(cam.handle(), &available), TQV_OK);
  EXPECT_FALSE(available);
  EXPECT_EQ(tqvGetDeviceTLType(cam.handle(), &mode), TQV_NOT_FOUND);
  EXPECT_EQ(mode, 9);
}

TEST(PtreeSync, GigEPresetsOnlyOnTQV2BoardsWithTheSetting) {
  const struct {
    const char* board;
    bool hasPath, supported;
  } cases[] = {
      {"TQV2", true, true}, {"TQV2", false, false}, {"WZN", true, false}, {"TQV1", true, false}};
  for (const auto& test : cases) {
    PTreeCamera cam;
    cam.camera().Set(".version.product.tqvBoardType", Value::Str(test.board));
    if (!test.hasPath) cam.camera().Remove(".system.settings.gigePreset");
    bool supported = !test.supported;
    ASSERT_EQ(tqvGetGigEPresetSupported(cam.handle(), &supported), TQV_OK);
    EXPECT_EQ(supported, test.supported) << test.board << test.hasPath;
  }
}

// --- Lock-in -------------------------------------------------------------------------------------

TEST(PtreeSync, LockinFrequenciesFromAQuarterOfTheClock) {
  // 25 000 003 Hz: a quarter is 6 250 000 Hz once the remainder is dropped. The handle reads the
  // clock when it is made.
  testutil::SimTree cam;
  cam.camera().Set(".system.info.fpa.clockFrequency", Value::U32(25000003));
  testutil::Handle handle;
  ASSERT_EQ(tqvCreateParamTree(handle.out(), cam.tree()), TQV_OK);
  float hertz = 0;
  ASSERT_EQ(tqvGetLockinEstInputFreq(handle, &hertz), TQV_OK);
  EXPECT_FLOAT_EQ(hertz, 4687.5f);  // one-shot delay 1000: 6 250 000 / (1000 / 0.75)
  ASSERT_EQ(tqvGetLockinSampleFreq(handle, &hertz), TQV_OK);
  EXPECT_FLOAT_EQ(hertz, 1562500.0f);  // decimation 4

  // Three quarters of a period, and a whole number of clocks (rounding is timing_math_test's).
  ASSERT_EQ(tqvSetLockinEstInputFreq(handle, 5000.0f), TQV_OK);
  EXPECT_EQ(cam.camera().Integer(".system.settings.lockIn.oneShotDelay"), 938);  // 937.5
  ASSERT_EQ(tqvSetLockinSampleFreq(handle, 150000.0f), TQV_OK);
  EXPECT_EQ(cam.camera().Integer(".system.settings.lockIn.decimationFactor"), 42);  // 41.67
}

TEST(PtreeSync, LockinCouplingAlphaAndAvailability) {
  PTreeCamera cam;
  ASSERT_EQ(tqvSetLockinAlphaFilter(cam.handle(), 5), TQV_OK);
  ASSERT_EQ(tqvSetLockinAlphaFilter(cam.handle(), 0), TQV_OK);
  EXPECT_EQ(cam.camera().Writes(),
            (std::vector<std::string>{
                ".system.settings.lockIn.alpha=5", ".system.settings.lockIn.dataFilter=enabled",
                ".system.settings.lockIn.alpha=0", ".system.settings.lockIn.dataFilter=disabled"}));

  const struct {
    const char* text;
    u32 result;
    u8 code;
  } texts[] = {{"Dc", TQV_OK, 1}, {"ac", TQV_OK, 0}, {"ACDC", TQV_OUT_OF_ENUMERATION, 9}};
  for (const auto& test : texts) {
    cam.camera().Set(".system.settings.lockIn.coupling", Value::Str(test.text));
    ASSERT_EQ(tqvClearCache(cam.handle()), TQV_OK);
    u8 code = 9;
    EXPECT_EQ(tqvGetLockinCoupling(cam.handle(), &code), test.result) << test.text;
    EXPECT_EQ(code, test.code) << test.text;
  }
  cam.camera().ClearTraffic();
  EXPECT_EQ(tqvSetLockinCoupling(cam.handle(), 2), TQV_OUT_OF_ENUMERATION);
  EXPECT_TRUE(cam.camera().Traffic().empty());

  // Without its own flag, lock-in is there when its coupling is.
  bool available = false;
  cam.camera().Remove(".system.settings.lockIn.available");
  ASSERT_EQ(tqvGetLockinAvailable(cam.handle(), &available), TQV_OK);
  EXPECT_TRUE(available);
  cam.camera().Remove(".system.settings.lockIn.coupling");
  ASSERT_EQ(tqvGetLockinAvailable(cam.handle(), &available), TQV_OK);
  EXPECT_FALSE(available);
}

// --- Black hot, colours, reboot, coolers ---------------------------------------------------------

TEST(PtreeSync, BlackHotGoesToEveryLinkTheCameraHas) {
  PTreeCamera cam;
  ASSERT_EQ(tqvSetBlackHotEnabled(cam.handle(), true), TQV_OK);
  EXPECT_EQ(cam.camera().Writes(), (std::vector<std::string>{
                                       ".system.settings.gigE.blackHot=true",
                                       ".system.settings.coaXPress.blackHot=true",
                                       ".system.settings.cameraLink.blackHot=true",
                                   }));
  cam.camera().ClearTraffic();
  cam.camera().Remove(".system.settings.gigE.blackHot");
  ASSERT_EQ(tqvSetBlackHotEnabled(cam.handle(), false), TQV_OK);
  EXPECT_EQ(cam.camera().Writes().size(), 2u);
  bool on = true;
  ASSERT_EQ(tqvGetBlackHotEnabled(cam.handle(), &on), TQV_OK);
  EXPECT_FALSE(on);  // without the GigE switch
  cam.camera().Remove(".system.settings.coaXPress.blackHot");
  cam.camera().Remove(".system.settings.cameraLink.blackHot");
  EXPECT_EQ(tqvSetBlackHotEnabled(cam.handle(), true), TQV_NOT_SUPPORTED);
}

TEST(PtreeSync, SingleColourCameras) {
  PTreeCamera cam;
  cam.camera().Remove(".system.info.fpa.numColors");
  for (int p = 0; p < 4; ++p)
    cam.camera().Remove(".system.settings.p" + std::to_string(p) + ".color");
  u8 colors = 0, color = 9;
  ASSERT_EQ(tqvGetNumColors(cam.handle(), &colors), TQV_OK);
  EXPECT_EQ(colors, 1);
  cam.camera().ClearTraffic();
  ASSERT_EQ(tqvGetColor(cam.handle(), 2, &color), TQV_OK);
  EXPECT_EQ(color, 0);
  EXPECT_EQ(tqvSetColor(cam.handle(), 2, 0), TQV_OK);
  EXPECT_EQ(tqvSetColor(cam.handle(), 2, 1), TQV_INVALID_ARGUMENT);
  EXPECT_EQ(tqvGetColor(cam.handle(), 4, &color), TQV_INVALID_ARGUMENT);
  EXPECT_EQ(tqvSetColor(cam.handle(), 4, 0), TQV_INVALID_ARGUMENT);
  EXPECT_TRUE(cam.camera().Traffic().empty());
}

TEST(PtreeSync, RebootOnlyFromBoardsAboveTwo) {
  PTreeCamera tqv2("sim:tqv2");
  EXPECT_EQ(tqvReboot(tqv2.handle()), TQV_NOT_SUPPORTED);
  EXPECT_TRUE(tqv2.camera().Writes().empty());

  PTreeCamera cam;
  u8 type = 0;
  ASSERT_EQ(tqvGetCameraType(cam.handle(), &type), TQV_OK);
  cam.camera().ClearTraffic();
  ASSERT_EQ(tqvReboot(cam.handle()), TQV_OK);
  bool written = false;
  for (const sim::ptree::Access& access : cam.camera().Traffic()) {
    if (access.kind != "set") continue;
    EXPECT_EQ(access.path, ".system.restart");
    EXPECT_EQ(access.value, "true");
    EXPECT_EQ(access.commit, 0);
    written = true;
  }
  EXPECT_TRUE(written);
  // The camera comes back with its power-up settings: nothing cached is trusted.
  cam.camera().ClearTraffic();
  ASSERT_EQ(tqvGetCameraType(cam.handle(), &type), TQV_OK);
  EXPECT_EQ(cam.camera().Count("get", ".version.product.cameraType"), 1u);
}

TEST(PtreeSync, LegacyVideoFPGAFromTheVersionWhenNotSaid) {
  const struct {
    u16 major, minor;
    bool legacy;
  } cases[] = {{1, 9, true}, {2, 1, true}, {2, 2, false}, {3, 0, false}};
  for (const auto& test : cases) {
    PTreeCamera cam("sim:tqv2");
    cam.camera().Set(".version.sw.AppCore.major", Value::U16(test.major));
    cam.camera().Set(".version.sw.AppCore.minor", Value::U16(test.minor));
    bool legacy = !test.legacy;
    ASSERT_EQ(tqvGetLegacyVFPGA(cam.handle(), &legacy), TQV_OK);
    EXPECT_EQ(legacy, test.legacy) << test.major << "." << test.minor;
  }
}

TEST(PtreeSync, CoolerValuesOfTheCoolerTheCameraHas) {
  const struct {
    const char* type;
    u32 result;
    const char* cooler;
  } cases[] = {{"Detector", TQV_OK, "detectorCooler"},
               {"NUC flag", TQV_OK, "flagCooler"},
               {"Undetermined", TQV_UNEXPECTED_VALUE, nullptr},
               {"Peltier", TQV_ERROR, nullptr}};
  for (const auto& test : cases) {
    SCOPED_TRACE(test.type);
    PTreeCamera cam;
    cam.camera().Set(".system.manufacturing.hw.coolerType", Value::Str(test.type));
    EXPECT_EQ(tqvMfgSetCoolerSetpoint(cam.handle(), 70.0f), test.result);
    EXPECT_EQ(tqvMfgSetCoolerSetup(cam.handle(), 1, 2, 3, 4), test.result);
    float p = -1, i = -1, d = -1, offset = -1;
    EXPECT_EQ(tqvMfgGetCoolerSetup(cam.handle(), &p, &i, &d, &offset), test.result);
    bool power = false;
    EXPECT_EQ(tqvMfgSetCoolerPowerEnabled(cam.handle(), true), test.result);
    if (!test.cooler) {
      EXPECT_TRUE(cam.camera().Writes().empty());
      EXPECT_EQ(p, -1);
      continue;
    }
    const std::string base = std::string(".system.manufacturing.hw.") + test.cooler + ".";
    EXPECT_EQ(
        cam.camera().Writes(),
        (std::vector<std::string>{base + "setpoint=70", base + "kp=1", base + "ki=2", base + "kd=3",
                                  base + "koff=4", base + "powerEnabled=true"}));
    EXPECT_EQ(offset, 4);
    ASSERT_EQ(tqvMfgGetCoolerPowerEnabled(cam.handle(), &power), TQV_OK);
    EXPECT_TRUE(power);
  }
}

// --- Cache ---------------------------------------------------------------------------------------

TEST(PtreeSync, CachedGettersAskOnceLiveOnesEveryTime) {
  const struct {
    const char* name;
    std::function<u32(void*)> get;
    bool cached;
    bool filled;  // by FillCache
  } getters[] = {
      {"serial", Reading(+[](void* h, std::array<char, 32>* s) {
         return tqvGetCameraSN(h, s->data(), static_cast<i32>(s->size()));
       }),
       true, true},
      {"variant", Reading(&tqvGetVariant), true, false},
      {"pleora", Reading(&tqvGetPleoraBoardType), true, false},
      {"legacy", Reading(&tqvGetLegacyVFPGA), true, true},
      {"gige presets", Reading(&tqvGetGigEPresetSupported), true, true},
      {"cl available", Reading(&tqvGetCameraLinkTypeAvailable), true, true},
      {"cl type", Reading(&tqvGetCameraLinkType), true, true},
      {"cxp links", Reading(&tqvGetCoaXPressLinkCount), true, false},
      {"coupling", Reading(&tqvGetLockinCoupling), true, false},
      {"colours", Reading(&tqvGetNumColors), true, false},
      {"colour", Reading(+[](void* h, u8* v) { return tqvGetColor(h, 1, v); }), true, false},
      {"fpa", Reading(&tqvGetFPATemperature), false, false},
      {"voltage", Reading(+[](void* h, float* v) { return tqvGetVoltage(h, "vos", v); }), false,
       false},
      {"header", Reading(&tqvGetGigEHeaderMode), false, false},
      {"black hot", Reading(&tqvGetBlackHotEnabled), false, false},
      {"clock", Reading(&tqvGetRealTimeClock), false, false},
  };
  for (const auto& getter : getters) {
    SCOPED_TRACE(getter.name);
    PTreeCamera cam;
    ASSERT_EQ(getter.get(cam.handle()), TQV_OK);
    const std::size_t first = cam.camera().Traffic().size();
    EXPECT_GT(first, 0u);
    cam.camera().ClearTraffic();
    ASSERT_EQ(getter.get(cam.handle()), TQV_OK);
    EXPECT_EQ(cam.camera().Traffic().size(), getter.cached ? 0u : first);
    ASSERT_EQ(tqvClearCache(cam.handle()), TQV_OK);
    cam.camera().ClearTraffic();
    ASSERT_EQ(getter.get(cam.handle()), TQV_OK);
    EXPECT_GT(cam.camera().Traffic().size(), 0u);
  }
  // FillCache reads the identity and the link settings once for all.
  PTreeCamera cam;
  ASSERT_EQ(tqvFillCache(cam.handle()), TQV_OK);
  cam.camera().ClearTraffic();
  for (const auto& getter : getters) {
    if (!getter.filled) continue;
    ASSERT_EQ(getter.get(cam.handle()), TQV_OK);
    EXPECT_TRUE(cam.camera().Traffic().empty()) << getter.name;
  }
}
