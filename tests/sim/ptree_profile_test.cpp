// Camera profiles of the simulated property tree: every built-in loads, the line format, the
// errors of malformed profiles (refused whole, never half applied) and profile files.
#include <fstream>
#include <thread>

#include "common/testutil.h"
#include "ptree_fixture.h"

namespace {

using paramtree::Type;
using paramtree::Value;
using sim::ptree::Camera;

TEST(PtreeProfile, EveryBuiltInLoadsAndOpens) {
  for (const std::string& name : sim::ptree::BuiltinProfiles()) {
    SCOPED_TRACE(name);
    ptreetest::Connection c(("sim:" + name).c_str());
    EXPECT_TRUE(c.camera().Has(".system.ready"));
  }
}

// What the built-in profiles do not use: redefinitions, two substitutions, utf16, nodes, escapes.
TEST(PtreeProfile, TheLineFormat) {
  Camera cam;
  std::string error;
  ASSERT_EQ(sim::ptree::LoadProfileText(cam, R"(# a camera of its own
include sim                                   # then changes
.system.ready          bool   false  ro
.my.list.{2..4}.name   string "item {} of {}"
.my.hex                u32    0x1F   hex ro
.my.volts              f64    -1.5   limits=-5,5
.my.wide               utf16  "Wärme"
.my.group              node
.my.flag               bool   1
file /data/note.txt text "hello \"camera\"\n"
)",
                                        &error),
            RES_OK)
      << error;
  EXPECT_EQ(cam.Text(".system.ready"), "false");
  EXPECT_TRUE(cam.IsReadOnly(".system.ready"));
  EXPECT_EQ(cam.Children(".system")[0], "ready");  // a redefined path keeps its place
  EXPECT_EQ(cam.Children(".my.list"), (std::vector<std::string>{"2", "3", "4"}));
  EXPECT_EQ(cam.Text(".my.list.3.name"), "item 3 of 3");
  EXPECT_EQ(cam.Integer(".my.hex"), 31);
  EXPECT_EQ(cam.Get(".my.wide")->utf16, u"Wärme");
  EXPECT_EQ(cam.Get(".my.group")->type, Type::None);
  EXPECT_EQ(cam.Text(".my.flag"), "true");
  EXPECT_EQ(cam.Files().Data("/data/note.txt")->size(), 15u);
  // Limits and hex reach the client.
  void* tree = nullptr;
  ASSERT_EQ(sim::ptree::Connect(std::shared_ptr<Camera>(&cam, [](Camera*) {}), &tree), RES_OK);
  resAttributes attributes{};
  EXPECT_EQ(resGetAttributes(tree, ".my.hex", &attributes), RES_OK);
  EXPECT_EQ(attributes.flags, static_cast<uint32_t>(RES_ATTR_HEX));
  EXPECT_EQ(resSetFlt64(tree, ".my.volts", 6.0, 1), RES_INVALID_ARGUMENT);
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

// A failed open leaves the output alone and tells why, per thread; a success clears the reason.
TEST(PtreeProfile, ProfileFilesOpenThroughTheAddressAndFailedOpensTellWhy) {
  testutil::TempDir dir;
  std::ofstream(dir.File("good.profile")) << "include tqv2\n.extra.value u32 42\n";
  std::ofstream(dir.File("bad.profile")) << "include sim\n\n.extra.value u32 -1\n";
  const struct {
    std::string address;
    uint32_t result;
    std::string reason;  // expected text, or a part of it after '~'
  } cases[] = {
      {"sim:file=" + dir.File("bad.profile"), RES_INVALID_ARGUMENT,
       dir.File("bad.profile") + ":3: -1 does not fit u32"},
      {"sim:file=" + dir.File("none.profile"), RES_NOT_FOUND, "~cannot be read"},
      {"sim:file=" + dir.path(), RES_NOT_FOUND, "~cannot be read"},
      {"sim:file=", RES_NOT_FOUND, "~cannot be read"},
      {"sim:nosuchprofile", RES_NOT_FOUND, "~nosuchprofile"},
      {"camera.local", RES_NOT_FOUND, "~\"camera.local\""},
  };
  void* tree = nullptr;
  void* const untouched = &tree;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.address);
    tree = untouched;
    EXPECT_EQ(resOpen(c.address.c_str(), &tree), c.result);
    EXPECT_EQ(tree, untouched);
    const std::string reason = resLastOpenError();
    if (c.reason[0] == '~') {
      EXPECT_NE(reason.find(c.reason.substr(1)), std::string::npos) << reason;
    } else {
      EXPECT_EQ(reason, c.reason);
    }
    if (c.address.starts_with("sim")) {
      EXPECT_EQ(sim::ptree::LastOpenError(), reason);
    }
    // Another thread's opens leave this thread's reason alone.
    std::thread([&] {
      void* other = nullptr;
      EXPECT_EQ(resOpen("sim", &other), RES_OK);
      EXPECT_STREQ(resLastOpenError(), "");
      resClose(other);
    }).join();
    EXPECT_EQ(resLastOpenError(), reason);
  }
  EXPECT_EQ(resOpen(nullptr, &tree), RES_INVALID_ARGUMENT);
  EXPECT_STRNE(resLastOpenError(), "");
  ASSERT_EQ(resOpen(("sim:file=" + dir.File("good.profile")).c_str(), &tree), RES_OK);
  EXPECT_STREQ(resLastOpenError(), "");
  EXPECT_EQ(sim::ptree::CameraOf(tree)->Text(".extra.value"), "42");
  EXPECT_EQ(sim::ptree::CameraOf(tree)->Text(".version.product.tqvBoardType"), "TQV2");
  EXPECT_EQ(resClose(tree), RES_OK);
}

}  // namespace
