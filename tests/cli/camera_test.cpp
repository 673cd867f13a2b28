// tqv against both simulated cameras: the summary, settings read and changed by name, and what
// goes wrong on the command line.
#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "tool.h"
#include "tqvSDK.h"

namespace clitest {
namespace {

class OnEachCamera : public testing::TestWithParam<std::string> {};
INSTANTIATE_TEST_SUITE_P(Cli, OnEachCamera, testing::ValuesIn(Addresses()), [](const auto& info) {
  return info.param == "sim" ? "ptree" : "genicam";
});

TEST_P(OnEachCamera, InfoSummarisesTheCameraAsItStands) {
  const Outcome text = Tool({"info", GetParam()});
  ASSERT_EQ(text.exit, 0) << text.err;
  for (const char* heading : {"identity", "versions", "board", "sensor", "timing", "preset 3"})
    EXPECT_NE(text.out.find(std::string("\n") + heading + "\n"), std::string::npos) << heading;
  EXPECT_NE(text.out.find("(WZN)"), std::string::npos) << "board type with its text";

  // Values changed first in the same session show up: the summary reads the camera.
  const Outcome json =
      Tool({"batch"}, "set " + GetParam() + " IntegrationTime 2 1.5\nset " + GetParam() +
                          " Window 3 0 0 288 256\ninfo " + GetParam() + " --json\n");
  ASSERT_EQ(json.exit, 0) << json.err;
  const std::string document = json.out.substr(json.out.find('{'));
  const Json info = Json::parse(document);
  EXPECT_EQ(info["camera"], GetParam());
  EXPECT_EQ(info["board"]["BoardTypeText"],
            tqvBoardTypeText(info["board"]["BoardType"].get<std::uint8_t>()));
  ASSERT_EQ(info["presets"].size(), 4u);
  for (std::size_t preset = 0; preset < 4; ++preset)
    EXPECT_EQ(info["presets"][preset]["IntegrationTime"] == 1.5, preset == 2) << preset;
  EXPECT_EQ(info["presets"][3]["Window"]["width"], 288);
  // Settings the camera does not have are left out rather than shown as failures.
  EXPECT_EQ(document.find("failed"), std::string::npos);
}

// A change and a read in one batch, on one camera: what was written reads back.
struct RoundTrip {
  std::vector<std::string> set;  // after "set ADDRESS"
  std::vector<std::string> get;  // after "get ADDRESS"
  Json expected;                 // the get's JSON output
};

TEST_P(OnEachCamera, SetThenGetRoundTripsAcrossFamiliesPresetsAndEnumerations) {
  const std::vector<RoundTrip> cases = {
      // timing, per preset, by option and by position
      {{"IntegrationTime", "--preset", "2", "1.5"},
       {"IntegrationTime", "--preset=2"},
       {{"milliseconds", 1.5}}},
      {{"DigitalGain", "1", "0.75"}, {"GetDigitalGain", "1"}, {{"gain", 0.75}}},
      {{"Window", "1", "--width", "320", "--height", "256", "--xOffset", "64", "--yOffset", "32"},
       {"Window", "1"},
       {{"xOffset", 64}, {"yOffset", 32}, {"width", 320}, {"height", 256}}},
      // an enumeration by its text, read back with its code and text
      {{"PresetSequencingMode", "Preset Sequencing"},
       {"PresetSequencingMode"},
       {{"value", 1}, {"valueText", "Preset Sequencing"}}},
      // identity, by a name-table text and by number
      {{"CameraType", "Osprey"}, {"CameraType"}, {{"value", 7}, {"valueText", "Osprey"}}},
      {{"DetectorType", "1"}, {"DetectorType"}, {{"value", 1}, {"valueText", "InGaAs"}}},
      // flags
      {{"InvertEnabled", "true"}, {"InvertEnabled"}, {{"value", true}}},
      {{"RevertEnabled", "on"}, {"RevertEnabled"}, {{"value", true}}},
  };
  for (const RoundTrip& test : cases) {
    SCOPED_TRACE(test.set.front());
    std::string script = "set " + GetParam();
    for (const std::string& word : test.set)
      script += " '" + word + "'";
    script += "\nget " + GetParam() + " --json";
    for (const std::string& word : test.get)
      script += " '" + word + "'";
    const Outcome run = Tool({"batch"}, script + "\n");
    ASSERT_EQ(run.exit, 0) << run.err;
    // The set prints what reads back after it; the get's JSON comes last.
    const std::string lastJson = run.out.substr(run.out.find('{'));
    EXPECT_EQ(Json::parse(lastJson), test.expected) << run.out;
  }
}

TEST_P(OnEachCamera, SetAloneShowsWhatTheCameraTook) {
  const Outcome run =
      Tool({"set", GetParam(), "IntegrationTime", "--preset", "1", "2.5", "--json"});
  ASSERT_EQ(run.exit, 0) << run.err;
  EXPECT_EQ(Json::parse(run.out), Json({{"milliseconds", 2.5}}));

  const Outcome text = Tool({"get", GetParam(), "PresetSequencingMode"});
  ASSERT_EQ(text.exit, 0) << text.err;
  EXPECT_EQ(text.out, "value: 0 (Single Preset)\n");
}

TEST_P(OnEachCamera, EachProcessOpensAFreshCameraButABatchKeepsItOpen) {
  ASSERT_EQ(Tool({"set", GetParam(), "DigitalOffset", "0", "12"}).exit, 0);
  const Outcome fresh = Tool({"get", GetParam(), "DigitalOffset", "0", "--json"});
  EXPECT_EQ(Json::parse(fresh.out)["offset"], 0.0);
  const Outcome batch =
      Tool({"batch"}, "set " + GetParam() + " DigitalOffset 0 12\nget " + GetParam() +
                          " DigitalOffset 0 --json\nget sim:tqv2 DigitalOffset 0 --json\n");
  const std::vector<Json> documents = JsonDocuments(batch.out.substr(batch.out.find('{')));
  ASSERT_EQ(documents.size(), 2u) << batch.out;
  EXPECT_EQ(documents[0]["offset"], 12.0);
  EXPECT_EQ(documents[1]["offset"], 0.0) << "another address is another camera";
}

// Command-line mistakes: a clear message on stderr, a documented exit code, no crash.
struct Mistake {
  std::vector<std::string> arguments;  // "@" stands for the camera's address
  int exit;                            // -1: the backend's own code, not 0
  std::string message;
};

TEST_P(OnEachCamera, MistakesGiveAMessageAndAnExitCode) {
  const std::vector<Mistake> cases = {
      {{"get", "@", "NoSuchSetting"}, 2, "no operation named NoSuchSetting"},
      {{"get", "@", "IntegrationTme", "0"}, 2, "did you mean GetIntegrationTime"},
      {{"get", "@", "IntegrationTime"}, 2, "GetIntegrationTime needs preset"},
      {{"get", "@", "IntegrationTime", "0", "1"}, 2, "takes 1 input, 1 more given"},
      {{"get", "@", "IntegrationTime", "--bogus", "1"}, 2, "has no input named bogus"},
      {{"get", "@", "IntegrationTime", "--preset"}, 2, "--preset needs a value"},
      {{"get", "@", "IntegrationTime", "0", "--preset", "1"}, 2, "takes 1 input"},
      {{"set", "@", "IntegrationTime", "0", "fast"}, 2, "\"fast\" is not a double"},
      {{"set", "@", "IntegrationWidth", "0", "-5"}, 2, "\"-5\" is not a u32"},
      {{"set", "@", "Window", "0", "0", "0", "70000", "512"}, 2, "\"70000\" is not a u16"},
      {{"set", "@", "PresetSequencingMode", "Bogus"}, 2, "Single Preset, Preset Sequencing"},
      {{"get", "@", "SetIntegrationTime", "0", "1"}, 2, "reads nothing"},
      {{"call", "@", "CalcMinSuperframeWidth", "640", "512", "1,2,3", "0,0,0,0", "false"},
       2,
       "integrationWidths: give 4 u32 values"},
      {{"get", "@", "IntegrationTime", "9"}, -1, "GetIntegrationTime: "},
      {{"set", "@", "Window", "0", "0", "0", "7", "512"}, 5, "SetWindow: Invalid argument"},
      {{"ls", "@", "/NoSuchDirectory"}, -1, "ListDir: "},
      {{"ls", "@", "--kind", "movies"}, 2, "no file kind movies"},
      {{"download", "@", "/FlashFS/none.bin", "none.bin"}, 1, "DownloadFile:"},
      {{"upload", "@", "/no/such/host/file", "/FlashFS/x"}, 1, "cannot open /no/such/host/file"},
      {{"upload", "@", "README"}, 2, "name the camera path"},
      {{"get", "nowhere", "IntegrationTime", "0"}, 8, "cannot open nowhere"},
      {{"info", "sim:nosuchprofile"}, 8, "cannot open sim:nosuchprofile"},
      {{"info", "gic:sim:nosuchprofile"}, 8, "cannot open gic:sim:nosuchprofile"},
      {{"info", "sim:notready"}, 8, "no camera handle over sim:notready"},
      {{"info"}, 2, "address is required"},
      {{"frobnicate"}, 2, "no command frobnicate"},
      {{}, 2, "A subcommand is required"},
      {{"batch"}, 2, "a batch cannot run another batch"},  // stdin holds the mistake
  };
  for (const Mistake& test : cases) {
    std::vector<std::string> arguments = test.arguments;
    for (std::string& word : arguments)
      if (word == "@") word = GetParam();
    SCOPED_TRACE(testing::PrintToString(arguments));
    const Outcome run = Tool(arguments, "batch\n");
    if (test.exit == -1) {
      EXPECT_GT(run.exit, 0) << run.err;
      EXPECT_LE(run.exit, 8) << run.err;
    } else {
      EXPECT_EQ(run.exit, test.exit) << run.err;
    }
    EXPECT_NE(run.err.find(test.message), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty()) << run.out;
  }
}

TEST(Cli, EveryOperationOfTheTableIsListedWithItsParameters) {
  std::set<std::string> table;
#define TQV_OP(name, params, args) table.insert(#name);
#include "interface/operations.def"
  const Outcome run = Tool({"ops", "--json"});
  ASSERT_EQ(run.exit, 0) << run.err;
  const Json ops = Json::parse(run.out);
  std::set<std::string> listed;
  for (const Json& op : ops)
    listed.insert(op["name"].get<std::string>());
  EXPECT_EQ(listed, table);
  EXPECT_EQ(ops.size(), table.size()) << "each once";

  const Outcome one = Tool({"ops", "getwindowlimits", "--json"});
  ASSERT_EQ(one.exit, 0) << one.err;
  const Json limits = Json::parse(one.out).at(0);
  EXPECT_EQ(limits["inputs"], Json::array());
  ASSERT_EQ(limits["outputs"].size(), 6u);
  EXPECT_EQ(limits["outputs"][5], Json({{"name", "yIncrement"}, {"type", "u16"}}));

  const Outcome text = Tool({"ops", "CameraModel"});
  EXPECT_EQ(text.out, "GetCameraModel -> buffer:text\nSetCameraModel text:text\n")
      << "a text buffer's size is the tool's business";
  EXPECT_EQ(Tool({"ops", "NoOperationHasThis"}).exit, 2);
}

// Every operation called with no arguments on both cameras, one batch each: actions run, and
// the rest answer with a message; nothing crashes or hangs.
TEST_P(OnEachCamera, EveryOperationAnswersWithoutACrash) {
  std::string script;
  std::size_t count = 0;
#define TQV_OP(name, params, args)                 \
  script += "call " + GetParam() + " " #name "\n"; \
  ++count;
#include "interface/operations.def"
  // Reboot would end the session on a real camera; on the simulators it is one more call.
  const Outcome run = Tool({"batch", "--keep-going"}, script);
  EXPECT_GE(run.exit, 0);
  EXPECT_LE(run.exit, 8);
  std::size_t failures = 0;
  for (std::size_t at = run.err.find("tqv: "); at != std::string::npos;
       at = run.err.find("tqv: ", at + 1))
    ++failures;
  EXPECT_LT(failures, count) << "some operations take no inputs and run";
  EXPECT_EQ(run.err.find("internal"), std::string::npos);
}

TEST(Cli, EveryCommandHasHelp) {
  // "" is the tool itself; a space separates a command from its subcommand.
  for (const char* line :
       {"", "info", "get", "set", "call", "ops", "ls", "download", "upload", "rm", "nuc",
        "nuc info", "nuc convert", "nuc image", "header", "batch"}) {
    std::vector<std::string> command;
    std::istringstream words(line);
    for (std::string word; words >> word;)
      command.push_back(word);
    SCOPED_TRACE(testing::PrintToString(command));
    command.push_back("--help");
    const Outcome run = Tool(command);
    EXPECT_EQ(run.exit, 0) << run.err;
    EXPECT_NE(run.out.find("Usage:"), std::string::npos) << run.out;
  }
  EXPECT_NE(Tool({"--help"}).out.find("5  value refused"), std::string::npos)
      << "the exit codes are documented";
}

}  // namespace
}  // namespace clitest
