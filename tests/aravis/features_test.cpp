// Every feature kind of zel::cam::gic over Aravis, against Aravis's fake GigE Vision camera:
// what the host writes lands in the camera's registers and what the camera holds is what the host
// reads, through Aravis's GigE Vision client on loopback.
#include <arv.h>
#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <thread>

#include "network.h"

namespace {

using namespace zel::cam::gic;
using aravis_test::As;
using aravis_test::Network;

using FeatureKinds = Network;
TEST_F(FeatureKinds, EachNodeHasExactlyOneKindOfOurs) {
  auto device = Open();
  enum Kind { kInteger, kFloat, kBoolean, kEnum, kString, kCommand, kRegister, kPlain };
  struct Case {
    const char* name;
    Kind kind;
  } cases[] = {
      {"MfgClockFrequency", kInteger},  // an integer over registers of value and limits
      {"MfgDeadRows", kInteger},        // a formula over two other integers
      {"PS0IntegrationTime", kFloat},   // a converter over the integration width
      {"DetectorBias", kFloat},         // a float selected by DetectorBiasIndex
      {"Ready", kBoolean},              //
      {"BoardType", kEnum},             // Aravis's enumerations are integers and strings too
      {"DeviceModelName", kString},     //
      {"TriggerSoftware", kCommand},    //
      {"FileAccessBuffer", kRegister},  //
      {"Width__value", kInteger},       // integer registers are not our registers
      {"Root", kPlain},                 // a category: a name without a value
  };
  for (const Case& c : cases) {
    zel::TSharedPtr<IFeature> feature = device->GetFeature(c.name);
    ASSERT_TRUE(feature) << c.name;
    EXPECT_STREQ(feature->GetName().c_str(), c.name);
    const int kinds = (dynamic_cast<IInteger*>(feature.get()) ? 1 << kInteger : 0) |
                      (dynamic_cast<IFloat*>(feature.get()) ? 1 << kFloat : 0) |
                      (dynamic_cast<IBoolean*>(feature.get()) ? 1 << kBoolean : 0) |
                      (dynamic_cast<IEnum*>(feature.get()) ? 1 << kEnum : 0) |
                      (dynamic_cast<IString*>(feature.get()) ? 1 << kString : 0) |
                      (dynamic_cast<ICommand*>(feature.get()) ? 1 << kCommand : 0) |
                      (dynamic_cast<IRegister*>(feature.get()) ? 1 << kRegister : 0);
    EXPECT_EQ(kinds, c.kind == kPlain ? 0 : 1 << c.kind) << c.name;
  }
  EXPECT_FALSE(device->GetFeature("NoSuchFeature"));
  EXPECT_FALSE(device->GetFeature(""));
  EXPECT_FALSE(device->GetFeature(nullptr));
}

using Numbers = Network;
TEST_F(Numbers, IntegersAndFloatsAreCameraRegisters) {
  auto device = Open();
  auto width = As<IInteger>(device, "PS2IntegrationWidth");
  width->SetValue(31250);
  EXPECT_EQ(camera->GetInt("PS2IntegrationWidth"), 31250);
  camera->SetInt("PS2IntegrationWidth", 40000);
  EXPECT_EQ(width->GetValue(), 40000);
  EXPECT_EQ(width->GetMin(), 25);
  EXPECT_EQ(width->GetMax(), 2500000);
  EXPECT_EQ(As<IInteger>(device, "Width")->GetInc(), 8);

  // The time follows the width through the clock frequency, and the other way round.
  auto time = As<IFloat>(device, "PS2IntegrationTime");
  EXPECT_DOUBLE_EQ(time->GetValue(), 1.6);  // 40000 clocks of 25 MHz
  time->SetValue(3.0);
  EXPECT_EQ(camera->GetInt("PS2IntegrationWidth"), 75000);
  As<IFloat>(device, "PS0FrameRate")->SetValue(100.0);  // a rate: the width's inverse
  EXPECT_EQ(camera->GetInt("PS0FrameWidth"), 250000);

  auto gain = As<IFloat>(device, "PS1DigitalGain");
  gain->SetValue(2.75);
  EXPECT_DOUBLE_EQ(camera->GetFloat("PS1DigitalGain"), 2.75);
  EXPECT_DOUBLE_EQ(gain->GetMin(), 0.0);
  EXPECT_DOUBLE_EQ(gain->GetMax(), 16.0);

  // A sum the camera's description computes from two registers.
  As<IInteger>(device, "MfgPreDeadRows")->SetValue(3);
  As<IInteger>(device, "MfgPostDeadRows")->SetValue(4);
  EXPECT_EQ(As<IInteger>(device, "MfgDeadRows")->GetValue(), 7);
}

TEST_F(Numbers, BooleansEnumerationsAndTexts) {
  auto device = Open();
  auto reverse = As<IBoolean>(device, "ReverseX");
  reverse->SetValue(true);
  EXPECT_EQ(camera->GetInt("ReverseX"), 1);
  camera->SetInt("ReverseX", 0);
  EXPECT_FALSE(reverse->GetValue());

  auto mode = As<IEnum>(device, "PresetSequencingMode");
  zel::TArray<CEnumEntry> entries = mode->GetEntries();
  ASSERT_EQ(entries.GetCount(), 3u);
  EXPECT_STREQ(entries[2].name.c_str(), "Superframing");
  EXPECT_EQ(entries[2].value, 2);
  mode->SetValue("Superframing");
  EXPECT_EQ(camera->GetInt("PresetSequencingMode"), 2);
  mode->SetIntValue(1);
  EXPECT_STREQ(mode->GetValue().c_str(), "PresetSequencing");
  camera->SetInt("PresetSequencingMode", 0);
  EXPECT_EQ(mode->GetIntValue(), 0);
  EXPECT_THROW(mode->SetValue("NoSuchMode"), std::invalid_argument);
  EXPECT_THROW(mode->SetValue(nullptr), std::invalid_argument);

  auto model = As<IString>(device, "MfgDeviceModelName");
  model->SetValue("GEV-1024");
  EXPECT_EQ(camera->GetText("MfgDeviceModelName"), "GEV-1024");
  // Its read-only twin reads the same register.
  EXPECT_STREQ(As<IString>(device, "DeviceModelName")->GetValue().c_str(), "GEV-1024");
  EXPECT_THROW(model->SetValue(nullptr), std::invalid_argument);

  // A text selected by an enumeration: one register per selector value.
  auto selector = As<IEnum>(device, "ComponentInfoSelector");
  auto info = As<IString>(device, "ComponentInfo");
  selector->SetValue("FPGA_Version");
  EXPECT_STREQ(info->GetValue().c_str(), "2.17.0.3");
  selector->SetValue("AppCore_Version");
  EXPECT_STREQ(info->GetValue().c_str(), "3.4.0.27");
}

TEST_F(Numbers, SelectedValuesLimitsAndAvailability) {
  Serve(R"(int   Index  0    min=0 max=2
float Volts  1.5  min=0.0 max=5.0 selector=Index
at Index=1 Volts 2.5 min=1.0 max=3.0
at Index=2 Volts - na
int   Hidden 7    na
int   Shown  8
)");
  auto device = Open();
  auto index = As<IInteger>(device, "Index");
  auto volts = As<IFloat>(device, "Volts");
  struct Case {
    zel::i64 index;
    double value, min, max;
    bool available;
  } cases[] = {{0, 1.5, 0.0, 5.0, true}, {1, 2.5, 1.0, 3.0, true}, {2, 1.5, 0.0, 5.0, false}};
  for (const Case& c : cases) {
    index->SetValue(c.index);
    EXPECT_DOUBLE_EQ(volts->GetValue(), c.value) << c.index;
    EXPECT_DOUBLE_EQ(volts->GetMin(), c.min) << c.index;
    EXPECT_DOUBLE_EQ(volts->GetMax(), c.max) << c.index;
    EXPECT_EQ(volts->IsAvailable(), c.available) << c.index;
  }
  index->SetValue(1);
  volts->SetValue(2.0);
  index->SetValue(0);
  EXPECT_DOUBLE_EQ(volts->GetValue(), 1.5);  // the other selector value kept its own
  index->SetValue(1);
  EXPECT_DOUBLE_EQ(volts->GetValue(), 2.0);
  EXPECT_FALSE(device->GetFeature("Hidden")->IsAvailable());
  EXPECT_TRUE(device->GetFeature("Shown")->IsAvailable());
}

// Range and access checks are the camera's business unless the address asks Aravis for them.
TEST_F(Numbers, ChecksOnlyWhenAsked) {
  auto plain = Open();
  As<IInteger>(plain, "GainLevel")->SetValue(9);  // above its maximum of 2
  EXPECT_EQ(camera->GetInt("GainLevel"), 9);
  As<IInteger>(plain, "MfgReadoutChannels")->SetValue(8);  // a read-only feature
  EXPECT_EQ(camera->GetInt("MfgReadoutChannels"), 8);
  plain = {};

  auto checked = Open("checks");
  EXPECT_THROW(As<IInteger>(checked, "GainLevel")->SetValue(3), std::out_of_range);
  EXPECT_THROW(As<IInteger>(checked, "MfgReadoutChannels")->SetValue(4), CAccessException);
  EXPECT_EQ(camera->GetInt("GainLevel"), 9);
  EXPECT_EQ(camera->GetInt("MfgReadoutChannels"), 8);
  As<IInteger>(checked, "GainLevel")->SetValue(1);
  EXPECT_EQ(camera->GetInt("GainLevel"), 1);
}

using Commands = Network;
TEST_F(Commands, DoneWhenTheCameraHasClearedTheRegister) {
  auto device = Open();
  auto trigger = As<ICommand>(device, "TriggerSoftware");
  EXPECT_TRUE(trigger->IsDone());
  trigger->Execute();
  EXPECT_EQ(camera->PendingCommands(), std::vector<std::string>{"TriggerSoftware"});
  EXPECT_FALSE(trigger->IsDone());
  EXPECT_EQ(camera->CompleteCommands(), 1);
  EXPECT_TRUE(trigger->IsDone());
  EXPECT_TRUE(camera->PendingCommands().empty());
}

using Registers = Network;
TEST_F(Registers, WholeAndPartialBlocks) {
  auto device = Open();
  auto buffer = As<IRegister>(device, "FileAccessBuffer");
  ASSERT_EQ(buffer->GetLength(), 512);
  const sim::gev::Register where = sim::gev::DefaultDescription().values.at("FileAccessBuffer");

  std::vector<zel::u8> whole(512);
  for (std::size_t i = 0; i < whole.size(); ++i)
    whole[i] = static_cast<zel::u8>(i * 7 + 1);
  buffer->Set(whole.data(), 512);
  EXPECT_EQ(camera->Read(where.address, 512), whole);

  // Lengths that are not whole words: the bytes after them stay as they were.
  for (zel::i64 length : {0, 1, 3, 4, 13, 100, 511}) {
    std::vector<zel::u8> fresh(static_cast<std::size_t>(length) + 1,
                               static_cast<zel::u8>(0xA0 + length));
    buffer->Set(fresh.data(), length);
    fresh.pop_back();
    std::vector<zel::u8> expected = whole;
    std::copy(fresh.begin(), fresh.end(), expected.begin());
    EXPECT_EQ(camera->Read(where.address, 512), expected) << length;
    std::vector<zel::u8> back(600, 0x55);
    buffer->Get(back.data(), length);
    EXPECT_TRUE(std::equal(fresh.begin(), fresh.end(), back.begin())) << length;
    EXPECT_EQ(back[static_cast<std::size_t>(length)], 0x55) << length;  // nothing past length
    camera->Write(where.address, whole);
  }
  std::vector<zel::u8> back(512);
  buffer->Get(back.data(), 512);
  EXPECT_EQ(back, whole);

  std::vector<zel::u8> big(513);
  EXPECT_THROW(buffer->Get(big.data(), 513), std::out_of_range);
  EXPECT_THROW(buffer->Set(big.data(), 513), std::out_of_range);
  EXPECT_THROW(buffer->Get(nullptr, 4), std::invalid_argument);
  EXPECT_THROW(buffer->Set(big.data(), -1), std::invalid_argument);
  EXPECT_EQ(camera->Read(where.address, 512), whole);
}

// Aravis is not thread safe; the device's lock makes concurrent accesses safe (run it under
// ThreadSanitizer too).
using Threads = Network;
TEST_F(Threads, TwoThreadsOnOneDevice) {
  auto device = Open();
  auto worker = [&](const char* name, zel::i64 base, int* wrong) {
    auto feature = device->GetFeature(name).DynamicCast<IInteger>();
    for (zel::i64 i = 0; i < 200; ++i) {
      feature->SetValue(base + i);
      if (feature->GetValue() != base + i) ++*wrong;
    }
  };
  int wrongA = 0, wrongB = 0;
  std::thread a(worker, "PS0IntegrationWidth", 1000, &wrongA);
  std::thread b(worker, "PS1IntegrationWidth", 5000, &wrongB);
  a.join();
  b.join();
  EXPECT_EQ(wrongA, 0);
  EXPECT_EQ(wrongB, 0);
  EXPECT_EQ(camera->GetInt("PS0IntegrationWidth"), 1199);
  EXPECT_EQ(camera->GetInt("PS1IntegrationWidth"), 5199);
}

}  // namespace

// "aravis:<id>" opens through Aravis's own device list; its in-process fake interface serves one
// here (Aravis's discovery finds nothing else: the namespace has only loopback).
using ById = Network;
TEST_F(ById, AravisIdsOpenThroughAravisDeviceList) {
  arv_enable_interface("Fake");
  zel::CString reason;
  auto device = zel::cam::gic::OpenDevice("aravis:Fake_1", &reason);
  ASSERT_TRUE(device) << reason.c_str();
  auto width = As<IInteger>(device, "Width");
  width->SetValue(256);
  EXPECT_EQ(width->GetValue(), 256);
  EXPECT_FALSE(zel::cam::gic::OpenDevice("aravis:No-Such-Camera", &reason));
  EXPECT_EQ(std::string(reason.c_str()).rfind("Aravis: ", 0), 0u) << reason.c_str();
  arv_disable_interface("Fake");
}

// Aravis takes the control channel at opening, keeps it with its heartbeat while the device is
// open and idle, and gives it back when the device goes.
using Control = Network;
TEST_F(Control, KeptByTheHeartbeatAndGivenBack) {
  auto device = Open();
  EXPECT_TRUE(camera->Controlled());
  // Aravis's heartbeat comes every second; the camera now drops a host silent for 1.5 s. The
  // camera judges it when the next packet comes: the read after the idle time.
  camera->SetHeartbeatTimeout(1500);
  std::this_thread::sleep_for(std::chrono::milliseconds(2500));
  camera->SetInt("ActivePreset", 3);
  EXPECT_EQ(As<IInteger>(device, "ActivePreset")->GetValue(), 3);
  EXPECT_TRUE(camera->Controlled());
  device = {};
  EXPECT_FALSE(camera->Controlled());
}
