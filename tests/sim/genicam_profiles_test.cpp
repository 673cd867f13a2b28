// Camera profiles of the simulated GenICam device: the built-in models and their variants, the
// behaviours that keep dependent features consistent, profile files and their errors.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>

#include "common/testutil.h"
#include "genicam/SimDevice.h"
#include "zel/cam/gic.h"

namespace {

using namespace zel::cam::gic;
using sim::genicam::Device;
using sim::genicam::Kind;

struct Camera {
  explicit Camera(const char* address) {
    device = OpenDevice(address);
    EXPECT_TRUE(device) << address;
    sim = device ? sim::genicam::DeviceOf(device.get()) : nullptr;
  }
  template <typename T>
  zel::TSharedPtr<T> Get(const std::string& name) {
    zel::TSharedPtr<T> feature = device->GetFeature(name.c_str()).DynamicCast<T>();
    EXPECT_TRUE(feature) << name;
    return feature;
  }
  bool Has(const char* name) { return static_cast<bool>(device->GetFeature(name)); }
  zel::TSharedPtr<IGenICam> device;
  Device* sim = nullptr;
};

TEST(GicProfiles, EveryBuiltInProfileOpens) {
  std::vector<std::string> names = sim::genicam::BuiltinProfileNames();
  for (const char* expected : {"sim", "grabber", "image-size", "no-optional", "camera-file",
                               "no-compression", "not-ready"}) {
    EXPECT_NE(std::find(names.begin(), names.end(), expected), names.end()) << expected;
  }
  for (const std::string& name : names) {
    std::string error;
    auto device = sim::genicam::OpenSimDevice(("sim:" + name).c_str(), &error);
    EXPECT_TRUE(device) << name << ": " << error;
    EXPECT_NE(sim::genicam::DeviceOf(device.get()), nullptr);
  }
  Camera a("sim"), b("sim");
  a.sim->SetInt("GainLevel", 2);
  EXPECT_EQ(b.sim->GetInt("GainLevel"), 0) << "every open gives a new camera";
}

TEST(GicProfiles, UnknownAddressesGiveNoDevice) {
  for (const char* address :
       {"", "simulated", "sim:", "sim:nope", "usb:1", "SIM", "sim:file=/nonexistent/profile.txt"}) {
    EXPECT_FALSE(OpenDevice(address)) << address;
  }
  EXPECT_FALSE(OpenDevice(nullptr));
  std::string error;
  EXPECT_FALSE(sim::genicam::OpenSimDevice("sim:nope", &error));
  EXPECT_NE(error.find("nope"), std::string::npos) << error;
}

TEST(GicProfiles, DefaultCameraHasTheFeaturesTheLibraryUses) {
  Camera camera("sim");
  struct Row {
    const char* name;
    Kind kind;
  } rows[] = {
      {"Ready", Kind::Boolean},
      {"BoardType", Kind::Enumeration},
      {"GainLevel", Kind::Integer},
      {"EventQueue", Kind::Integer},
      {"LensControlTypeChanged", Kind::Boolean},
      {"ComponentInfoSelector", Kind::Enumeration},
      {"ComponentInfo", Kind::String},
      {"MfgIsLegacyVFPGA", Kind::Boolean},
      {"FilterInfoAvailable", Kind::Boolean},
      {"FilterInfoIndex", Kind::Integer},
      {"FilterInfoName", Kind::String},
      {"PresetSequencingMode", Kind::Enumeration},
      {"SuperframeWidth", Kind::Integer},
      {"SuperframeRate", Kind::Float},
      {"ActivePreset", Kind::Integer},
      {"ReverseX", Kind::Boolean},
      {"ReverseY", Kind::Boolean},
      {"OffsetX", Kind::Integer},
      {"SensorHeight", Kind::Integer},
      {"DetectorBiasIndexMax", Kind::Integer},
      {"DetectorBias", Kind::Float},
      {"AnalogOffsetVoltage", Kind::Float},
      {"SkimmingAvailable", Kind::Boolean},
      {"SkimmingVoltageMax", Kind::Float},
      {"VoltageIndex", Kind::Integer},
      {"VoltageVolts", Kind::Float},
      {"VoltageEditable", Kind::Boolean},
      {"VoltageDisplayName", Kind::String},
      {"DeviceSerialNumber", Kind::String},
      {"DeviceModelName", Kind::String},
      {"MfgDeviceID", Kind::String},
      {"Readout", Kind::Enumeration},
      {"MfgPreDeadRows", Kind::Integer},
      {"FileAccessBuffer", Kind::Register},
      {"FileOperationExecute", Kind::Command},
      {"FileCompression", Kind::Enumeration},
      {"DirectoryEntryAttrib", Kind::Enumeration},
      {"DirectoryFreeSpace", Kind::Integer},
      {"FrameSyncMode", Kind::Enumeration},
      {"TriggerSoftware", Kind::Command},
      {"PS2SyncOutDelay", Kind::Float},
  };
  for (const Row& row : rows) {
    ASSERT_TRUE(camera.sim->Has(row.name)) << row.name;
    EXPECT_EQ(camera.sim->KindOf(row.name), row.kind) << row.name;
  }
  for (const char* preset : {"PS0", "PS1", "PS2", "PS3"}) {
    for (const char* name :
         {"IntegrationWidthMin", "IntegrationWidthMax", "FrameWidthMin", "FrameWidthMax",
          "IntegrationWidth", "IntegrationTime", "FrameWidth", "FrameRate", "DigitalGain",
          "DigitalOffset", "DwellCount", "SubframeEnabled"}) {
      EXPECT_TRUE(camera.Has((std::string(preset) + name).c_str())) << preset << name;
    }
  }
  EXPECT_TRUE(camera.Get<IBoolean>("Ready")->GetValue());
  EXPECT_EQ(camera.Get<IEnum>("BoardType")->GetIntValue(), 3);
  EXPECT_EQ(camera.Get<IEnum>("BoardType")->GetEntries().GetCount(), 7u);
  EXPECT_EQ(camera.Get<IInteger>("GainLevel")->GetMax(), 2);
  EXPECT_EQ(camera.Get<IInteger>("MfgReadoutChannels")->GetValue(), 4);
  EXPECT_EQ(camera.Get<IInteger>("MfgClockFrequency")->GetValue(), 25000000);
  EXPECT_EQ(camera.Get<IInteger>("Width")->GetValue(), 640);
  EXPECT_EQ(camera.Get<IInteger>("Height")->GetValue(), 513) << "rows plus one";
  EXPECT_EQ(camera.Get<IInteger>("Height")->GetMin() - 1, 4);
  EXPECT_EQ(camera.Get<IInteger>("SensorWidth")->GetValue(), 640);
  EXPECT_EQ(camera.Get<IInteger>("SensorHeight")->GetValue(), 512);
  EXPECT_EQ(camera.Get<IInteger>("MfgDeadRows")->GetValue(),
            camera.Get<IInteger>("MfgPreDeadRows")->GetValue() +
                camera.Get<IInteger>("MfgPostDeadRows")->GetValue());
  EXPECT_EQ(camera.Get<IRegister>("FileAccessBuffer")->GetLength(), 512);
  EXPECT_FALSE(camera.Has("CameraFileSelector"));
  EXPECT_FALSE(camera.Has("ImageHeight"));
}

TEST(GicProfiles, ComponentInfoFollowsItsSelector) {
  Camera camera("sim");
  auto selector = camera.Get<IEnum>("ComponentInfoSelector");
  auto info = camera.Get<IString>("ComponentInfo");
  selector->SetValue("AppCore_Version");
  int numbers[4];
  char tail;
  EXPECT_EQ(std::sscanf(info->GetValue().c_str(), "%d.%d.%d.%d%c", &numbers[0], &numbers[1],
                        &numbers[2], &numbers[3], &tail),
            4)
      << info->GetValue().c_str();
  std::set<std::string> texts;
  zel::TArray<CEnumEntry> entries = selector->GetEntries();
  EXPECT_GE(entries.GetCount(), 4u);
  for (const CEnumEntry& entry : entries) {
    selector->SetIntValue(entry.value);
    texts.insert(info->GetValue().c_str());
  }
  EXPECT_EQ(texts.size(), entries.GetCount()) << "each component answers its own text";
  EXPECT_THROW(info->SetValue("9.9.9.9"), CAccessException);
}

TEST(GicProfiles, IndexedFeaturesFollowTheirIndex) {
  Camera camera("sim");
  auto filterIndex = camera.Get<IInteger>("FilterInfoIndex");
  auto filterName = camera.Get<IString>("FilterInfoName");
  EXPECT_EQ(filterIndex->GetMax(), 63);
  filterIndex->SetValue(1);
  EXPECT_STREQ(filterName->GetValue().c_str(), "ND 1.0");
  filterIndex->SetValue(40);
  filterName->SetValue("Custom");
  filterIndex->SetValue(0);
  EXPECT_STREQ(filterName->GetValue().c_str(), "Open");
  filterIndex->SetValue(40);
  EXPECT_STREQ(filterName->GetValue().c_str(), "Custom");
  EXPECT_THROW(filterIndex->SetValue(64), std::out_of_range);

  auto index = camera.Get<IInteger>("VoltageIndex");
  auto volts = camera.Get<IFloat>("VoltageVolts");
  bool sawVos = false;
  for (zel::i64 i = index->GetMin(); i <= index->GetMax(); ++i) {
    index->SetValue(i);
    std::string name = camera.Get<IString>("VoltageName")->GetValue().c_str();
    EXPECT_FALSE(name.empty()) << i;
    EXPECT_FALSE(camera.Get<IString>("VoltageDisplayName")->GetValue().empty()) << i;
    EXPECT_LE(volts->GetMin(), volts->GetValue()) << name;
    EXPECT_GE(volts->GetMax(), volts->GetValue()) << name;
    if (name == "vos") {
      sawVos = true;
      EXPECT_DOUBLE_EQ(volts->GetMin(), camera.Get<IFloat>("SkimmingVoltageMin")->GetValue());
      EXPECT_DOUBLE_EQ(volts->GetMax(), camera.Get<IFloat>("SkimmingVoltageMax")->GetValue());
    }
    if (!camera.Get<IBoolean>("VoltageEditable")->GetValue()) {
      EXPECT_THROW(volts->SetValue(volts->GetValue()), CAccessException) << name;
    }
  }
  EXPECT_TRUE(sawVos);

  auto bias = camera.Get<IFloat>("DetectorBias");
  camera.Get<IInteger>("DetectorBiasIndex")->SetValue(1);
  double limits1[] = {bias->GetMin(), bias->GetMax()};
  camera.Get<IInteger>("DetectorBiasIndex")->SetValue(0);
  EXPECT_NE(limits1[0], bias->GetMin()) << "each bias has its own limits";
  EXPECT_NE(limits1[1], bias->GetMax());
}

TEST(GicProfiles, TimesAndRatesFollowTheWidthsThroughTheClock) {
  Camera camera("sim");
  const double clock = 25000000.0;
  camera.Get<IFloat>("PS1IntegrationTime")->SetValue(2.0);
  EXPECT_EQ(camera.Get<IInteger>("PS1IntegrationWidth")->GetValue(), 50000);
  EXPECT_EQ(camera.Get<IInteger>("PS0IntegrationWidth")->GetValue(), 25000) << "presets apart";
  camera.Get<IInteger>("PS1IntegrationWidth")->SetValue(12345);
  EXPECT_DOUBLE_EQ(camera.Get<IFloat>("PS1IntegrationTime")->GetValue(), 12345 * 1000.0 / clock);

  camera.Get<IFloat>("PS2FrameRate")->SetValue(60.0);
  EXPECT_EQ(camera.Get<IInteger>("PS2FrameWidth")->GetValue(), 416667);
  EXPECT_DOUBLE_EQ(camera.Get<IFloat>("PS2FrameRate")->GetValue(), clock / 416667)
      << "a written rate snaps to whole clocks";
  camera.Get<IInteger>("PS3FrameWidth")->SetValue(250000);
  EXPECT_DOUBLE_EQ(camera.Get<IFloat>("PS3FrameRate")->GetValue(), 100.0);
  camera.Get<IFloat>("SuperframeRate")->SetValue(10.0);
  EXPECT_EQ(camera.Get<IInteger>("SuperframeWidth")->GetValue(), 2500000);

  // The float limits are those of the widths.
  auto rate = camera.Get<IFloat>("PS0FrameRate");
  EXPECT_DOUBLE_EQ(rate->GetMax(), clock / camera.Get<IInteger>("PS0FrameWidthMin")->GetValue());
  EXPECT_DOUBLE_EQ(rate->GetMin(), clock / camera.Get<IInteger>("PS0FrameWidthMax")->GetValue());
  EXPECT_THROW(rate->SetValue(rate->GetMax() * 1.01), std::out_of_range);
  auto time = camera.Get<IFloat>("PS0IntegrationTime");
  EXPECT_DOUBLE_EQ(time->GetMin(), 25 * 1000.0 / clock);
  EXPECT_THROW(camera.Get<IInteger>("PS0IntegrationWidth")->SetValue(24), std::out_of_range);
}

TEST(GicProfiles, WindowStaysOnTheSensor) {
  struct Case {
    const char* address;
    const char* width;
    const char* height;
    zel::i64 extra;  // what the height feature holds beyond the rows
  } cases[] = {{"sim", "Width", "Height", 1}, {"sim:image-size", "ImageWidth", "ImageHeight", 0}};
  for (const Case& c : cases) {
    Camera camera(c.address);
    auto offsetX = camera.Get<IInteger>("OffsetX");
    auto offsetY = camera.Get<IInteger>("OffsetY");
    EXPECT_EQ(offsetX->GetMax(), 0) << c.address;
    camera.Get<IInteger>(c.width)->SetValue(320);
    camera.Get<IInteger>(c.height)->SetValue(480 + c.extra);
    EXPECT_EQ(offsetX->GetMax(), 320) << c.address;
    EXPECT_EQ(offsetY->GetMax(), 32) << c.address;
    offsetX->SetValue(320);
    offsetY->SetValue(32);
    EXPECT_THROW(offsetX->SetValue(328), std::out_of_range);
    EXPECT_EQ(camera.Get<IInteger>(c.width)->GetMax(), 320) << "the size follows the offset";
    EXPECT_THROW(camera.Get<IInteger>(c.width)->SetValue(328), std::out_of_range);
    EXPECT_EQ(camera.Get<IInteger>(c.height)->GetMax(), 480 + c.extra);
    // Offsets back to zero first: then any size the sensor holds is accepted.
    offsetX->SetValue(0);
    offsetY->SetValue(0);
    camera.Get<IInteger>(c.width)->SetValue(640);
    camera.Get<IInteger>(c.height)->SetValue(512 + c.extra);
  }
}

TEST(GicProfiles, ManufacturingSettersUpdateWhatTheyDerive) {
  Camera camera("sim");
  camera.Get<IInteger>("MfgPreDeadRows")->SetValue(3);
  camera.Get<IInteger>("MfgPostDeadRows")->SetValue(2);
  EXPECT_EQ(camera.Get<IInteger>("MfgDeadRows")->GetValue(), 5);
  camera.Get<IInteger>("MfgCameraType")->SetValue(7);
  EXPECT_EQ(camera.Get<IInteger>("CameraType")->GetValue(), 7);
  camera.Get<IString>("MfgDeviceID")->SetValue("SN42");
  EXPECT_STREQ(camera.Get<IString>("DeviceSerialNumber")->GetValue().c_str(), "SN42");
  EXPECT_STREQ(camera.Get<IString>("DeviceID")->GetValue().c_str(), "SN42");
  camera.Get<IEnum>("MfgReadout")->SetIntValue(11);
  EXPECT_EQ(camera.Get<IEnum>("Readout")->GetIntValue(), 11);
  EXPECT_THROW(camera.Get<IInteger>("CameraType")->SetValue(1), CAccessException);
  EXPECT_THROW(camera.Get<IInteger>("MfgDeadRows")->SetValue(1), CAccessException);
}

TEST(GicProfiles, VariantsDifferWhereTheirModelsDo) {
  Camera grabber("sim:grabber");
  EXPECT_EQ(grabber.Get<IEnum>("BoardType")->GetIntValue(), 6);
  for (const char* name :
       {"IntegrationWidth", "FrameWidthMin", "IntegrationTime", "FrameRate", "DwellCount"}) {
    EXPECT_TRUE(grabber.Has(name)) << name;
    EXPECT_FALSE(grabber.Has((std::string("PS0") + name).c_str())) << name;
  }
  grabber.Get<IInteger>("FrameWidth")->SetValue(250000);
  EXPECT_DOUBLE_EQ(grabber.Get<IFloat>("FrameRate")->GetValue(), 100.0);

  Camera image("sim:image-size");
  EXPECT_FALSE(image.Has("Width"));
  EXPECT_FALSE(image.Has("Height"));
  EXPECT_EQ(image.Get<IInteger>("ImageHeight")->GetValue(), 512);

  Camera minimal("sim:no-optional");
  for (const char* name : {"PresetSequencingMode", "ActivePreset", "GainLevel"}) {
    EXPECT_FALSE(minimal.Has(name)) << name;
  }
  EXPECT_TRUE(minimal.Has("PS0IntegrationWidth"));

  Camera files("sim:camera-file");
  for (const char* role :
       {"NewName", "ModifiedTime", "Name", "Selector", "OperationSelector", "OperationExecute",
        "OpenMode", "AccessBuffer", "AccessOffset", "AccessLength", "OperationStatus",
        "OperationResult", "Size", "Compression"}) {
    EXPECT_TRUE(files.Has((std::string("CameraFile") + role).c_str())) << role;
    EXPECT_FALSE(files.Has((std::string("File") + role).c_str())) << role;
  }

  EXPECT_FALSE(Camera("sim:no-compression").Has("FileCompression"));
  EXPECT_FALSE(Camera("sim:not-ready").Get<IBoolean>("Ready")->GetValue());
}

TEST(GicProfiles, ProfileFilesLoadAndMayStartFromABuiltInProfile) {
  testutil::TempDir dir;
  std::string path = dir.File("camera.profile");
  std::string text =
      "# a custom camera\n"
      "base sim\n"
      "set Width 320 max=320\n"
      "string CustomNote \"two words\" ro\n"
      "file /FlashFS/nuc/custom.nuc text=abc\n";
  testutil::WriteFile(path, std::vector<zel::u8>(text.begin(), text.end()));
  Camera camera(("sim:file=" + path).c_str());
  ASSERT_TRUE(camera.sim);
  EXPECT_EQ(camera.Get<IInteger>("Width")->GetMax(), 320);
  EXPECT_STREQ(camera.Get<IString>("CustomNote")->GetValue().c_str(), "two words");
  EXPECT_EQ(camera.sim->Files().Read("/FlashFS/nuc/custom.nuc")->size(), 3u);
  EXPECT_TRUE(camera.Has("PS3FrameRate"));
}

TEST(GicProfiles, BadProfilesAreRefusedWithTheLineAndTheReason) {
  struct Case {
    const char* text;
    const char* reason;
  } cases[] = {
      {"int A 1\nwidget B 2\n", "2: unknown line widget"},
      {"int A x1\n", "not an integer"},
      {"int A 5 min=0 max=4\n", "outside its limits"},
      {"int A 1 min=3 max=2\n", "bad limits"},
      {"float A 1.5x\n", "not a number"},
      {"bool A maybe\n", "not true or false"},
      {"enum A X\n", "needs entries"},
      {"enum A X entries=Y:0\n", "no entry X"},
      {"enum A X entries=X:0,X:1\n", "repeats entry"},
      {"string A \"open\n", "quote is not closed"},
      {"int {Q}A 1\n", "no macro Q"},
      {"int A 1 colour=red\n", "unknown attribute colour"},
      {"int A 1 shiny\n", "unknown flag shiny"},
      {"remove A\n", "no feature A to remove"},
      {"set A 1\n", "no feature A"},
      {"int I 0\nstring S x selector=J\nat I=1 S y\n", "not selected by I"},
      {"behaviour teleport\n", "unknown behaviour teleport"},
      {"behaviour period W T ms\n", "needs the feature W"},
      {"base nowhere\n", "no built-in profile nowhere"},
      {"file /a/b\n", "needs size= or text="},
      {"file /a/../b size=1\n", "bad file path"},
      {"register R 99999999999\n", "not sane"},
      {"place 9 /x .y\n", "kinds 1 to 6"},
      {"command C\nset C 1\n", "no value"},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(sim::genicam::OpenSimProfile(c.text, &error)) << c.text;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.text << " -> " << error;
    EXPECT_EQ(error.rfind("profile:", 0), 0u) << error;
  }
}

TEST(GicProfiles, MacrosRepeatLinesPerWordAndDefaultsYieldToDefines) {
  const char* text =
      "define P \"X Y\"\n"
      "default P ignored\n"
      "default N 3\n"
      "int {P}Value {N}\n";
  std::string error;
  auto device = sim::genicam::OpenSimProfile(text, &error);
  ASSERT_TRUE(device) << error;
  Device* sim = sim::genicam::DeviceOf(device.get());
  EXPECT_EQ(sim->Names(), (std::vector<std::string>{"XValue", "YValue"}));
  EXPECT_EQ(sim->GetInt("YValue"), 3);
}

}  // namespace
