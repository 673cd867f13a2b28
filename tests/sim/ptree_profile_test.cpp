// Camera profiles: the built-in cameras, the variants, the line format and its errors, and the
// behaviours the profiles switch on.
#include <fstream>

#include "common/testutil.h"
#include "ptree_fixture.h"

namespace {

using paramtree::Type;
using paramtree::Value;
using ptreetest::Connection;
using sim::ptree::Camera;

// Every path the library reads from a camera, with the type it reads it as.
struct Expected {
  const char* path;
  Type type;
  const char* text;  // null: any value
};

const Expected kSimPaths[] = {
    {".system.ready", Type::Bool, "true"},
    {".system.eventQueue", Type::UInt32, "0"},
    {".system.info.fpa.readoutChannels", Type::UInt8, "4"},
    {".system.info.fpa.clockFrequency", Type::UInt32, "25000000"},
    {".system.info.fpa.deadRows", Type::UInt32, "2"},
    {".system.info.fpa.maximumGainLevel", Type::UInt8, "2"},
    {".system.info.fpa.intDeadWidth", Type::UInt32, nullptr},
    {".system.info.fpa.frameDeadWidth", Type::UInt32, nullptr},
    {".system.info.fpa.overrideRoicConfig", Type::Bool, nullptr},
    {".system.info.fpa.hasExtraLSync", Type::Bool, nullptr},
    {".system.lens.focusPresent", Type::Bool, nullptr},
    {".system.lens.fovPresent", Type::Bool, nullptr},
    {".vorn.settings.enabled", Type::Bool, "false"},
    {".version.product.tqvBoardType", Type::String, "WZN"},
    {".version.product.serial", Type::String, nullptr},
    {".version.product.name", Type::String, nullptr},
    {".version.product.cameraType", Type::UInt8, nullptr},
    {".version.product.subType", Type::UInt8, nullptr},
    {".version.product.detectorType", Type::UInt8, "0"},
    {".version.product.roicType", Type::UInt8, nullptr},
    {".version.product.variant", Type::UInt8, nullptr},
    {".version.product.legacyVFPGA", Type::Bool, "false"},
    {".system.settings.gigE.type", Type::String, "PT1000"},
    {".version.sw.AppCore.major", Type::UInt16, "3"},
    {".version.sw.AppCore.intermediate", Type::UInt16, "4"},
    {".version.sw.AppCore.minor", Type::UInt16, nullptr},
    {".version.sw.AppCore.build", Type::UInt16, nullptr},
    {".system.settings.presetSequencingMode", Type::String, "Single Preset"},
    {".system.settings.superframeWidth", Type::UInt32, nullptr},
    {".system.settings.activePreset", Type::UInt8, "0"},
    {".system.settings.fpa.invert", Type::Bool, nullptr},
    {".system.settings.fpa.revert", Type::Bool, nullptr},
    {".system.settings.fpa.gainLevel", Type::UInt8, nullptr},
    {".system.settings.fpa.skimmingEnabled", Type::Bool, nullptr},
    {".system.settings.fpa.skimmingVoltage", Type::Float, nullptr},
    {".system.settings.sync.start", Type::String, "Integration"},
    {".system.bias.count", Type::UInt8, "2"},
    {".system.bias.detector", Type::Float, nullptr},
    {".system.bias.detector1", Type::Float, nullptr},
    {".system.offset.global", Type::Float, nullptr},
    {".system.manufacturing.hw.biasesAndOffsets.vos.voltageIn", Type::Float, nullptr},
    {".system.settings.filter.info.63.name", Type::String, "Filter 63"},
};

TEST(PtreeProfile, TheDefaultCameraHasEveryPathWithItsType) {
  Connection c;
  for (const Expected& e : kSimPaths) {
    SCOPED_TRACE(e.path);
    std::optional<Value> value = c.camera().Get(e.path);
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->type, e.type);
    if (e.text) {
      EXPECT_EQ(paramtree::ToText(*value), e.text);
    }
  }
  const char* perPreset[][2] = {
      {"window.xOffset", "u16"},   {"window.yOffset", "u16"}, {"window.width", "u16"},
      {"window.height", "u16"},    {"window.read", "bool"},   {"window.commit", "bool"},
      {"integrationWidth", "u32"}, {"frameWidth", "u32"},     {"digitalGain", "f32"},
      {"digitalOffset", "f32"},    {"dwellCount", "u32"},     {"subframe", "bool"},
  };
  std::set<std::string> integrationWidths;
  for (int preset = 0; preset < 4; ++preset) {
    for (const auto& [leaf, type] : perPreset) {
      std::string path = ".system.settings.p" + std::to_string(preset) + "." + leaf;
      SCOPED_TRACE(path);
      ASSERT_TRUE(c.camera().Has(path));
      EXPECT_STREQ(paramtree::TypeName(c.camera().Get(path)->type), type);
    }
    integrationWidths.insert(
        c.camera().Text(".system.settings.p" + std::to_string(preset) + ".integrationWidth"));
  }
  EXPECT_EQ(integrationWidths.size(), 4u);  // a preset mix-up shows
}

TEST(PtreeProfile, TheDefaultSensorConstantsAgreeWithEachOther) {
  Connection c;
  auto fpa = [&](const char* leaf) {
    return c.camera().Integer(std::string(".system.info.fpa.") + leaf);
  };
  EXPECT_EQ(fpa("deadRows"), fpa("preDeadRows") + fpa("postDeadRows"));
  EXPECT_EQ(fpa("maximumIntegrationWidth"),
            fpa("maximumFrameWidth") - fpa("postIntegrationDeadWidth") -
                fpa("preIntegrationDeadWidth") - fpa("pipelineDelay") - fpa("intDeadWidth"));
  EXPECT_LT(fpa("minimumIntegrationWidth"), fpa("maximumIntegrationWidth"));
  EXPECT_LT(fpa("minimumFrameWidth"), fpa("maximumFrameWidth"));
  EXPECT_EQ(fpa("windowLimits.maxWidth"), 640);
  EXPECT_EQ(fpa("windowLimits.maxHeight"), 512);
  for (int preset = 0; preset < 4; ++preset) {
    SCOPED_TRACE(preset);
    std::string p = ".system.settings.p" + std::to_string(preset) + ".";
    Camera& cam = c.camera();
    EXPECT_LE(cam.Integer(p + "window.xOffset") + cam.Integer(p + "window.width"), 640);
    EXPECT_LE(cam.Integer(p + "window.yOffset") + cam.Integer(p + "window.height"), 512);
    EXPECT_EQ(cam.Integer(p + "window.width") % fpa("windowLimits.xIncrement"), 0);
    // The integration fits the frame, and both lie within the sensor's limits.
    EXPECT_LT(cam.Integer(p + "integrationWidth"), cam.Integer(p + "frameWidth"));
    EXPECT_GE(cam.Integer(p + "integrationWidth"), fpa("minimumIntegrationWidth"));
    EXPECT_LE(cam.Integer(p + "frameWidth"), fpa("maximumFrameWidth"));
  }
}

TEST(PtreeProfile, VariantsDifferWhereTheyShould) {
  struct Case {
    const char* address;
    const char* path;
    const char* text;  // null: the path is absent
  };
  const Case cases[] = {
      {"sim:tqv2", ".version.product.tqvBoardType", "TQV2"},
      {"sim:tqv2", ".version.sw.AppCore.major", "2"},
      {"sim:tqv2", ".version.sw.AppCore.minor", "1"},
      {"sim:tqv2", ".version.product.legacyVFPGA", nullptr},
      {"sim:tqv2", ".system.info.fpa.clockFrequency", "25000000"},  // the rest as sim
      {"sim:minimal", ".system.info.fpa.deadRows", nullptr},
      {"sim:minimal", ".system.info.fpa.intDeadWidth", nullptr},
      {"sim:minimal", ".system.info.fpa.frameDeadWidth", nullptr},
      {"sim:minimal", ".version.product.tqvBoardType", nullptr},
      {"sim:minimal", ".system.settings.filter.info", nullptr},
      {"sim:minimal", ".system.bias.count", nullptr},
      {"sim:minimal", ".system.info.fpa.readoutChannels", "4"},
      {"sim:notready", ".system.ready", "false"},
      {"sim:vorn", ".vorn.settings.enabled", "true"},
      {"sim:vorn", ".system.lens.focusPresent", "false"},
      {"sim:sim", ".system.ready", "true"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(std::string(test.address) + " " + test.path);
    Connection c(test.address);
    EXPECT_EQ(resVerify(c.tree(), test.path), test.text ? RES_OK : RES_NOT_FOUND);
    if (test.text) {
      EXPECT_EQ(c.camera().Text(test.path), test.text);
    }
  }
  // Every built-in loads and opens.
  for (const std::string& name : sim::ptree::BuiltinProfiles()) {
    SCOPED_TRACE(name);
    Connection c(("sim:" + name).c_str());
    EXPECT_TRUE(c.camera().Has(".system.ready"));
  }
}

TEST(PtreeProfile, TheLineFormat) {
  Camera cam;
  std::string error;
  ASSERT_EQ(sim::ptree::LoadProfileText(cam, R"(# a camera of its own
include sim                                   # then changes
.system.ready          bool   false  ro
.system.eventQueue     u32    5
.my.list.{2..4}.name   string "item {} of {}"
.my.hex                u32    0x1F   hex ro
.my.volts              f64    -1.5   limits=-5,5
.my.wide               utf16  "Wärme"
.my.group              node
.my.flag               bool   1
remove .system.settings.filter
option chunkSize 512
option clock 1600000000
file /data/blob.bin size 300
file /data/note.txt text "hello \"camera\"\n"
option freeSpace 4096
drop-behaviour window-commit
)",
                                        &error),
            RES_OK)
      << error;
  EXPECT_EQ(cam.Text(".system.ready"), "false");
  EXPECT_TRUE(cam.IsReadOnly(".system.ready"));
  EXPECT_EQ(cam.Children(".system")[1], "eventQueue");  // a redefined path keeps its place
  EXPECT_EQ(cam.Text(".system.eventQueue"), "5");
  EXPECT_EQ(cam.Children(".my.list"), (std::vector<std::string>{"2", "3", "4"}));
  EXPECT_EQ(cam.Text(".my.list.3.name"), "item 3 of 3");
  EXPECT_EQ(cam.Integer(".my.hex"), 31);
  EXPECT_EQ(cam.Get(".my.wide")->utf16, u"Wärme");
  EXPECT_EQ(cam.Get(".my.group")->type, Type::None);
  EXPECT_EQ(cam.Text(".my.flag"), "true");
  EXPECT_FALSE(cam.Has(".system.settings.filter.info.0.name"));
  EXPECT_EQ(cam.ChunkSize(), 512u);
  EXPECT_EQ(cam.Files().Data("/data/blob.bin")->at(260), 9);  // byte i is i % 251
  EXPECT_EQ(cam.Files().Data("/data/note.txt")->size(), 15u);
  EXPECT_EQ(cam.Files().FreeSpace(), 4096u);  // what is left after the files
  EXPECT_EQ(cam.Files().Clock(), 1600000000u);
  // Limits and hex reach the client; without window-commit a commit is just a value.
  void* tree = nullptr;
  ASSERT_EQ(sim::ptree::Connect(std::shared_ptr<Camera>(&cam, [](Camera*) {}), &tree), RES_OK);
  resAttributes attributes{};
  EXPECT_EQ(resGetAttributes(tree, ".my.hex", &attributes), RES_OK);
  EXPECT_EQ(attributes.flags, static_cast<uint32_t>(RES_ATTR_HEX));
  EXPECT_EQ(resSetFlt64(tree, ".my.volts", 6.0, 1), RES_INVALID_ARGUMENT);
  EXPECT_EQ(resSetUInt16(tree, ".system.settings.p0.window.width", 17, 1), RES_OK);
  EXPECT_EQ(resSetBool(tree, ".system.settings.p0.window.commit", true, 1), RES_OK);
  EXPECT_EQ(resClose(tree), RES_OK);
}

TEST(PtreeProfile, MalformedProfilesAreRefusedWithTheLineAndChangeNothing) {
  struct Case {
    const char* text;
    const char* what;
  };
  const Case cases[] = {
      {".a u9 1", "2: unknown type"},
      {"\n.a u8 300", "3: 300 does not fit u8"},
      {".a u8 12x", "not an integer"},
      {".a i8 -129", "does not fit i8"},
      {".a f32 1e39", "does not fit f32"},
      {".a f64 nan", "not a finite number"},
      {".a bool yes", "not a bool"},
      {".a u8", "a value must follow"},
      {".a", "a type must follow"},
      {".a string \"open", "closing quote"},
      {".a string \"bad \\q\"", "unknown escape"},
      {".a u8 1 rw", "unknown flag"},
      {".a f32 1 hex", "hex needs an integer"},
      {".a f32 1 limits=5,1", "limits must read"},
      {".a string x limits=0,1", "limits need a number"},
      {".a node 1", "a node takes no value"},
      {"a.b u8 1", "unknown directive"},
      {"..a u8 1", "is not a tree path"},
      {".a.{3..1} u8 1", "range must run upwards"},
      {".a.{0..9999} u8 1", "at most 4096"},
      {".a.{0..2}.{0..1} u8 1", "one range per path"},
      {".a.{x..2} u8 1", "{first..last}"},
      {"include nosuch", "no built-in profile"},
      {"include", "expected: include"},
      {"remove .", "root cannot be removed"},
      {"behaviour flying", "unknown behaviour"},
      {"option chunkSize 0", "chunkSize must lie"},
      {"option colour 1", "unknown option"},
      {"option clock -1", "not a whole number"},
      {"file /x size 999999999", "file size"},
      {"file /x blob 1", "takes"},
      {".a string \"x\x01\"", "control character"},
      {".a utf16 \"\xC3\x28\"", "not valid UTF-8"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.text);
    Camera cam;
    cam.Set(".keep", Value::U8(1));
    std::string error;
    std::string text = std::string(".first u8 1\n") + test.text;
    EXPECT_EQ(sim::ptree::LoadProfileText(cam, text, &error), RES_INVALID_ARGUMENT);
    EXPECT_NE(error.find(test.what), std::string::npos) << error;
    EXPECT_EQ(error.rfind("<text>:", 0), 0u) << error;
    EXPECT_FALSE(cam.Has(".first"));  // nothing of a refused profile is applied
    EXPECT_EQ(cam.Children("."), std::vector<std::string>{"keep"});
  }
  // Arbitrary bytes are refused or loaded, never more.
  for (uint32_t seed = 1; seed <= 50; ++seed) {
    std::vector<uint8_t> bytes = testutil::RandomBytes(200, seed);
    Camera cam;
    uint32_t result = sim::ptree::LoadProfileText(cam, std::string(bytes.begin(), bytes.end()));
    EXPECT_TRUE(result == RES_OK || result == RES_INVALID_ARGUMENT) << result;
  }
}

TEST(PtreeProfile, ProfileFilesOpenThroughTheAddress) {
  testutil::TempDir dir;
  std::ofstream(dir.File("good.profile")) << "include tqv2\n.extra.value u32 42\n";
  std::ofstream(dir.File("bad.profile")) << "include sim\n\n.extra.value u32 -1\n";
  void* tree = nullptr;
  ASSERT_EQ(resOpen(("sim:file=" + dir.File("good.profile")).c_str(), &tree), RES_OK);
  EXPECT_EQ(sim::ptree::CameraOf(tree)->Text(".extra.value"), "42");
  EXPECT_EQ(sim::ptree::CameraOf(tree)->Text(".version.product.tqvBoardType"), "TQV2");
  EXPECT_TRUE(sim::ptree::LastOpenError().empty());
  ASSERT_EQ(resClose(tree), RES_OK);

  void* untouched = &tree;
  tree = untouched;
  EXPECT_EQ(resOpen(("sim:file=" + dir.File("bad.profile")).c_str(), &tree), RES_INVALID_ARGUMENT);
  EXPECT_EQ(tree, untouched);
  EXPECT_EQ(sim::ptree::LastOpenError(), dir.File("bad.profile") + ":3: -1 does not fit u32");
  EXPECT_EQ(resOpen(("sim:file=" + dir.File("none.profile")).c_str(), &tree), RES_NOT_FOUND);
  EXPECT_EQ(resOpen(("sim:file=" + dir.path()).c_str(), &tree), RES_NOT_FOUND);
  EXPECT_EQ(resOpen("sim:file=", &tree), RES_NOT_FOUND);
  EXPECT_EQ(tree, untouched);
  EXPECT_NE(sim::ptree::LastOpenError().find("cannot be read"), std::string::npos);
}

struct Window {
  uint16_t x, y, width, height;
  bool operator==(const Window&) const = default;
};

Window ReadWindow(void* tree, int preset) {
  std::string p = ".system.settings.p" + std::to_string(preset) + ".window.";
  Window w{};
  EXPECT_EQ(resSetBool(tree, (p + "read").c_str(), true, 1), RES_OK);
  resGetUInt16(tree, (p + "xOffset").c_str(), &w.x);
  resGetUInt16(tree, (p + "yOffset").c_str(), &w.y);
  resGetUInt16(tree, (p + "width").c_str(), &w.width);
  resGetUInt16(tree, (p + "height").c_str(), &w.height);
  return w;
}

uint32_t WriteWindow(void* tree, int preset, Window w) {
  std::string p = ".system.settings.p" + std::to_string(preset) + ".window.";
  uint32_t result = resSetUInt16(tree, (p + "xOffset").c_str(), w.x, 1);
  result |= resSetUInt16(tree, (p + "yOffset").c_str(), w.y, 1);
  result |= resSetUInt16(tree, (p + "width").c_str(), w.width, 1);
  result |= resSetUInt16(tree, (p + "height").c_str(), w.height, 1);
  return result != RES_OK ? result : resSetBool(tree, (p + "commit").c_str(), true, 1);
}

TEST(PtreeProfile, TheWindowCommitChecksTheSensorAndKeepsTheLastGoodWindow) {
  Connection c;
  struct Case {
    Window window;
    uint32_t result;
  };
  const Case cases[] = {
      {{0, 0, 640, 512}, RES_OK},
      {{16, 4, 320, 240}, RES_OK},
      {{336, 4, 320, 240}, RES_INVALID_ARGUMENT},  // past the right edge
      {{0, 300, 640, 256}, RES_INVALID_ARGUMENT},  // past the bottom
      {{8, 0, 320, 240}, RES_INVALID_ARGUMENT},    // offset off the 16-column grid
      {{0, 0, 48, 240}, RES_INVALID_ARGUMENT},     // narrower than the sensor allows
      {{0, 0, 64, 2}, RES_INVALID_ARGUMENT},       // lower than the sensor allows
      {{576, 508, 64, 4}, RES_OK},
  };
  Window last = ReadWindow(c.tree(), 2);
  EXPECT_EQ(last, (Window{0, 128, 640, 256}));
  for (const Case& test : cases) {
    SCOPED_TRACE(std::to_string(test.window.x) + "," + std::to_string(test.window.width));
    EXPECT_EQ(WriteWindow(c.tree(), 2, test.window), test.result);
    if (test.result == RES_OK) last = test.window;
    EXPECT_EQ(ReadWindow(c.tree(), 2), last);
    EXPECT_EQ(c.camera().Text(".system.settings.p2.window.commit"), "false");
    EXPECT_EQ(c.camera().Text(".system.settings.p2.window.read"), "false");
  }
  // Written but not committed: a read request brings back the taken window.
  ASSERT_EQ(resSetUInt16(c.tree(), ".system.settings.p2.window.width", 64, 1), RES_OK);
  EXPECT_EQ(ReadWindow(c.tree(), 2), last);
  EXPECT_EQ(ReadWindow(c.tree(), 3), (Window{256, 192, 128, 128}));  // other presets untouched
}

TEST(PtreeProfile, DeadRowsFollowTheirParts) {
  Connection c;
  uint32_t rows = 0;
  ASSERT_EQ(resSetUInt32(c.tree(), ".system.info.fpa.preDeadRows", 3, 1), RES_OK);
  ASSERT_EQ(resGetUInt32(c.tree(), ".system.info.fpa.deadRows", &rows), RES_OK);
  EXPECT_EQ(rows, 4u);
  ASSERT_EQ(resSetUInt32(c.tree(), ".system.info.fpa.postDeadRows", 5, 1), RES_OK);
  ASSERT_EQ(resGetUInt32(c.tree(), ".system.info.fpa.deadRows", &rows), RES_OK);
  EXPECT_EQ(rows, 8u);
  EXPECT_EQ(resSetUInt32(c.tree(), ".system.info.fpa.deadRows", 1, 1), RES_READ_ONLY);
  Connection minimal("sim:minimal");  // no total to follow
  EXPECT_EQ(resSetUInt32(minimal.tree(), ".system.info.fpa.preDeadRows", 3, 1), RES_OK);
  EXPECT_FALSE(minimal.camera().Has(".system.info.fpa.deadRows"));
}

}  // namespace
