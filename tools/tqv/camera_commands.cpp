#include <algorithm>
#include <cctype>
#include <iostream>

#include "commands.h"
#include "progress.h"
#include "tqvSDK.h"

namespace tqvcli {

void PrintJson(const Json& json) {
  std::cout << json.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
}

void PrintFields(const Fields& fields, bool json) {
  if (json) {
    PrintJson(ToJson(fields));
  } else {
    PrintText(std::cout, fields);
  }
}

namespace {

// After a set, the matching getter read with the same leading inputs shows what the camera
// took (a rate snapped to the clock, say). Empty when there is no such getter.
Fields ReadBack(void* handle, const Call& set) {
  if (set.op.name.rfind("Set", 0) != 0) return {};
  const Operation* get = FindOperation("Get" + set.op.name.substr(3));
  if (!get || !get->HasOutputs()) return {};
  std::vector<std::string> arguments;
  for (const ParamInfo* input : get->Inputs()) {
    auto same = std::find_if(set.op.params.begin(), set.op.params.end(), [&](const ParamInfo& p) {
      return p.IsInput() && p.name == input->name;
    });
    if (same == set.op.params.end()) return {};
    arguments.push_back("--" + input->name);
    arguments.push_back(set.inputs[static_cast<std::size_t>(same - set.op.params.begin())]);
  }
  try {
    return RunOperation(handle, *get, arguments);
  } catch (const Failure& failure) {
    std::cerr << "tqv: reading back: " << failure.what() << '\n';
    return {};
  }
}

}  // namespace

void CommandOperation(Session& session, OperationMode mode, const std::string& address,
                      const std::string& name, std::vector<std::string> arguments, bool json) {
  // The arguments after the operation pass through untouched; --json may stand among them.
  const auto jsonFlag = std::remove(arguments.begin(), arguments.end(), "--json");
  json = json || jsonFlag != arguments.end();
  arguments.erase(jsonFlag, arguments.end());

  const Operation& op = RequireOperation(name, mode == OperationMode::kGet   ? "Get"
                                               : mode == OperationMode::kSet ? "Set"
                                                                             : "");
  if (mode == OperationMode::kGet && !op.HasOutputs()) {
    throw Failure(
        exitcode::kUsage,
        op.name + " reads nothing; run it with tqv set or tqv call\nusage: " + op.Usage());
  }
  Call call = Bind(op, arguments);
  Camera& camera = session.Open(address);
  Progress progress = Progress::For(stderr, op.name);
  const bool transfers = std::any_of(op.params.begin(), op.params.end(), [](const ParamInfo& p) {
    return p.role == Role::kHidden && p.type == std::string_view("progress");
  });
  Fields outputs;
  try {
    outputs = Execute(call, camera.handle(), transfers ? &progress : nullptr);
  } catch (const Failure&) {
    if (transfers) progress.Finish(false);
    throw;
  }
  if (transfers) progress.Finish(true);
  if (mode == OperationMode::kSet && outputs.empty()) outputs = ReadBack(camera.handle(), call);
  if (!outputs.empty() || json) PrintFields(outputs, json);
}

void CommandOps(const std::string& pattern, bool json) {
  auto lower = [](std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
  };
  std::vector<const Operation*> matches;
  for (const Operation& op : Operations())
    if (lower(op.name).find(lower(pattern)) != std::string::npos) matches.push_back(&op);
  if (matches.empty()) throw Failure(exitcode::kUsage, "no operation name contains " + pattern);
  Json list = Json::array();
  for (const Operation* op : matches) {
    if (json) {
      list.push_back(op->Describe());
    } else {
      std::cout << op->Usage() << '\n';
    }
  }
  if (json) PrintJson(list);
}

namespace {

// Short units for outputs whose parameter names one.
std::string UnitOf(const std::string& name) {
  if (name == "milliseconds") return "ms";
  if (name == "hertz") return "Hz";
  if (name == "clocks") return "clocks";
  if (name == "volts") return "V";
  return "";
}

// One line of the summary: an operation's outputs under its name without "Get". Settings the
// camera does not have are left out.
void AddItem(Fields& fields, void* handle, const std::string& name,
             const std::vector<std::string>& arguments = {}) {
  const Operation* op = FindOperation(name);
  if (!op) return;
  Fields outputs;
  try {
    outputs = RunOperation(handle, *op, arguments);
  } catch (const Failure& failure) {
    if (failure.exit() == exitcode::kNotSupported || failure.exit() == exitcode::kNotFound) return;
    fields.push_back({name.substr(name.rfind("Get", 0) == 0 ? 3 : 0),
                      std::string("failed: ") + failure.what(), "", ""});
    return;
  }
  const std::string label = name.rfind("Get", 0) == 0 ? name.substr(3) : name;
  if (outputs.size() == 1) {
    Field field = std::move(outputs.front());
    field.unit = UnitOf(field.name);
    field.name = label;
    fields.push_back(std::move(field));
  } else {
    fields.push_back({label, ToJson(outputs), "", ""});
  }
}

struct Section {
  const char* name;
  std::vector<std::string> operations;
};

const Section kSections[] = {
    {"identity",
     {"GetCameraModel", "GetCameraSN", "GetCameraType", "GetCameraSubtype", "GetDetectorType",
      "GetReadout", "GetVariant", "GetOperatingTime"}},
    {"versions", {"GetMainAppVersion", "IsTQV2", "GetLegacyVFPGA", "GetCameraExtraInfo"}},
    {"board", {"GetBoardType", "GetPleoraBoardType"}},
    {"sensor",
     {"GetWindowLimits", "GetClockFrequency", "GetMinFrameWidth", "GetMaxFrameWidth",
      "GetMinIntWidth", "GetMaxIntWidth", "GetSupportedGainLevels", "GetGainLevel", "GetFPABias",
      "GetGlobalOffsetVoltage", "GetSkimmingEnabled"}},
    {"timing", {"GetActivePreset", "GetPresetSequencingMode", "GetSuperframeRate"}},
    {"temperatures",
     {"GetFPATemperature", "GetFPAColdTemperature", "GetBoardTemperatures", "GetVxTemperatures",
      "GetKxTemperatures", "GetTxTemperatures", "GetLensTemperature"}},
    {"correction",
     {"GetNUCType", "GetNUCSource", "GetDigitalOutputNUCEnabled", "GetVideoOutputNUCEnabled",
      "GetBadPixelCorrectionMethod"}},
    {"recorder", {"GetSsdPresent", "GetSsdState", "GetSsdMovieCount", "GetSsdDriveSpaceFree"}},
};

const char* const kPresetItems[] = {"GetWindow",        "GetIntegrationWidth", "GetIntegrationTime",
                                    "GetFrameWidth",    "GetFrameRate",        "GetDigitalGain",
                                    "GetDigitalOffset", "GetNUCName",          "GetCalTag"};

}  // namespace

void CommandInfo(Session& session, const std::string& address, bool json) {
  Camera& camera = session.Open(address);
  void* handle = camera.handle();
  Check(tqvTestConnection(handle), "TestConnection");

  Fields summary{{"camera", address, "", ""}, {"backend", camera.backend(), "", ""}};
  std::vector<std::pair<std::string, Fields>> sections;
  for (const Section& section : kSections) {
    Fields fields;
    for (const std::string& name : section.operations)
      AddItem(fields, handle, name);
    if (!fields.empty()) sections.emplace_back(section.name, std::move(fields));
  }
  std::uint8_t presets = 4;
  if (tqvGetNumPresets(handle, &presets) != TQV_OK) presets = 4;
  std::vector<Fields> perPreset;
  for (unsigned preset = 0; preset < presets; ++preset) {
    Fields fields;
    for (const char* name : kPresetItems)
      AddItem(fields, handle, name, {std::to_string(preset)});
    perPreset.push_back(std::move(fields));
  }

  if (json) {
    Json all = ToJson(summary);
    for (const auto& [name, fields] : sections)
      all[name] = ToJson(fields);
    all["presets"] = Json::array();
    for (const Fields& fields : perPreset)
      all["presets"].push_back(ToJson(fields));
    PrintJson(all);
    return;
  }
  PrintText(std::cout, summary);
  for (const auto& [name, fields] : sections) {
    std::cout << name << '\n';
    PrintText(std::cout, fields, 2);
  }
  for (std::size_t preset = 0; preset < perPreset.size(); ++preset) {
    std::cout << "preset " << preset << '\n';
    PrintText(std::cout, perPreset[preset], 2);
  }
}

}  // namespace tqvcli
