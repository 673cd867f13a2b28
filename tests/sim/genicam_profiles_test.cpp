// Camera profiles of the simulated GenICam device: every built-in opens as a camera of its own,
// addresses and profile files, and the profile errors.
#include "common/testutil.h"
#include "gic_fixture.h"

namespace {

using namespace zel::cam::gic;
using gictest::Camera;

TEST(GicProfiles, EveryBuiltInOpensAsANewCameraAndUnknownAddressesGiveNone) {
  for (const std::string& name : sim::genicam::BuiltinProfileNames()) {
    Camera camera(("sim:" + name).c_str());
    EXPECT_NE(camera.sim, nullptr) << name;
  }
  Camera a("sim"), b("sim");
  a.sim->SetInt("GainLevel", 2);
  EXPECT_EQ(b.sim->GetInt("GainLevel"), 0) << "every open gives a new camera";

  for (const char* address :
       {"", "simulated", "sim:", "sim:nope", "usb:1", "SIM", "sim:file=/nonexistent/profile.txt"}) {
    EXPECT_FALSE(OpenDevice(address)) << address;
  }
  EXPECT_FALSE(OpenDevice(nullptr));
  std::string error;
  EXPECT_FALSE(sim::genicam::OpenSimDevice("sim:nope", &error));
  EXPECT_NE(error.find("nope"), std::string::npos) << error;
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
