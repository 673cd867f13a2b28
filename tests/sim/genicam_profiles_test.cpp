// Camera profiles of the simulated GenICam device: every built-in opens as a camera of its own,
// addresses and profile files, the profile errors, and the component texts the library's version
// test relies on.
#include <gtest/gtest.h>

#include <set>

#include "common/testutil.h"
#include "genicam/SimDevice.h"
#include "zel/cam/gic.h"

namespace {

using namespace zel::cam::gic;
using sim::genicam::Device;

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
  zel::TSharedPtr<IGenICam> device;
  Device* sim = nullptr;
};

TEST(GicProfiles, EveryBuiltInProfileOpensAsANewCamera) {
  for (const std::string& name : sim::genicam::BuiltinProfileNames()) {
    std::string error;
    auto device = sim::genicam::OpenSimDevice(("sim:" + name).c_str(), &error);
    EXPECT_TRUE(device) << name << ": " << error;
    EXPECT_NE(sim::genicam::DeviceOf(device.get()), nullptr) << name;
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

// The library's version test relies on each component keeping its own text.
TEST(GicProfiles, ComponentInfoFollowsItsSelector) {
  Camera camera("sim");
  auto selector = camera.Get<IEnum>("ComponentInfoSelector");
  auto info = camera.Get<IString>("ComponentInfo");
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
  EXPECT_TRUE(camera.sim->Has("PS3FrameRate"));
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
  // Arbitrary bytes give a device or a reason, never more.
  for (zel::u32 seed = 1; seed <= 50; ++seed) {
    std::vector<zel::u8> bytes = testutil::RandomBytes(200, seed);
    std::string error;
    bool opened = static_cast<bool>(
        sim::genicam::OpenSimProfile(std::string(bytes.begin(), bytes.end()), &error));
    EXPECT_NE(opened, error.rfind("profile:", 0) == 0u) << seed << ": " << error;
  }
}

}  // namespace
