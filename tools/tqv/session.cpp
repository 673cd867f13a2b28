#include "session.h"

#include "ParamTree.h"
#include "tqvSDK.h"

namespace tqvcli {

int ExitCodeOf(std::uint32_t result) {
  switch (result) {
    case TQV_OK:
      return exitcode::kOk;
    case TQV_NOT_SUPPORTED:
    case TQV_NO_LIMITS:
      return exitcode::kNotSupported;
    case TQV_NOT_FOUND:
      return exitcode::kNotFound;
    case TQV_INVALID_ARGUMENT:
    case TQV_OUT_OF_ENUMERATION:
    case TQV_TOO_LARGE:
      return exitcode::kRefused;
    case TQV_NOT_WRITABLE:
    case TQV_ACCESS_DENIED:
      return exitcode::kDenied;
    case TQV_TIMEOUT:
      return exitcode::kTimeout;
    default:
      return exitcode::kFailed;
  }
}

void Check(std::uint32_t result, const std::string& what) {
  if (result == TQV_OK) return;
  const char* text = tqvErrorToString(result);
  throw Failure(ExitCodeOf(result), what + ": " + (text ? text : "unknown result") + " (" +
                                        std::to_string(result) + ")");
}

namespace {

class ParamTreeCamera : public Camera {
 public:
  ParamTreeCamera(void* tree, void* handle) : tree_(tree) { handle_ = handle; }
  ~ParamTreeCamera() override {
    tqvDestroy(handle_);
    resClose(tree_);
  }
  const char* backend() const override { return "property tree"; }

 private:
  void* tree_;
};

class GenICamCamera : public Camera {
 public:
  explicit GenICamCamera(void* handle) { handle_ = handle; }
  ~GenICamCamera() override { tqvDestroy(handle_); }
  const char* backend() const override { return "GenICam"; }
};

bool IsParamTreeAddress(const std::string& address) {
  return address == "sim" || address.rfind("sim:", 0) == 0;
}

std::unique_ptr<Camera> OpenParamTree(const std::string& address) {
  void* tree = nullptr;
  const std::uint32_t opened = resOpen(address.c_str(), &tree);
  if (opened != TQV_OK) {
    throw Failure(exitcode::kNoCamera, "cannot open " + address + ": " + resErrorToString(opened) +
                                           " (" + std::to_string(opened) + ")");
  }
  void* handle = nullptr;
  const std::uint32_t created = tqvCreateParamTree(&handle, tree);
  if (created != TQV_OK) {
    resClose(tree);
    throw Failure(exitcode::kNoCamera, "no camera handle over " + address + ": " +
                                           tqvErrorToString(created) + " (" +
                                           std::to_string(created) + ")");
  }
  return std::make_unique<ParamTreeCamera>(tree, handle);
}

std::unique_ptr<Camera> OpenGenICam(const std::string& address, const std::string& device) {
  zel::TSharedPtr<zel::cam::gic::IGenICam> opened = zel::cam::gic::OpenDevice(device.c_str());
  if (!opened) {
    throw Failure(exitcode::kNoCamera,
                  "cannot open " + address +
                      ": no camera there (addresses: sim, sim:<profile>, sim:file=<path>, "
                      "gic:sim, gic:sim:<profile>, gic:sim:file=<path>)");
  }
  void* handle = nullptr;
  const std::uint32_t created = tqvCreateGenICam(&handle, opened);
  if (created != TQV_OK) {
    throw Failure(exitcode::kNoCamera, "no camera handle over " + address + ": " +
                                           tqvErrorToString(created) + " (" +
                                           std::to_string(created) + ")");
  }
  return std::make_unique<GenICamCamera>(handle);
}

}  // namespace

Camera& Session::Open(const std::string& address) {
  auto found = cameras_.find(address);
  if (found != cameras_.end()) return *found->second;
  std::unique_ptr<Camera> camera;
  if (IsParamTreeAddress(address)) {
    camera = OpenParamTree(address);
  } else if (address.rfind("gic:", 0) == 0) {
    camera = OpenGenICam(address, address.substr(4));
  } else {
    camera = OpenGenICam(address, address);
  }
  return *cameras_.emplace(address, std::move(camera)).first->second;
}

const Operation& RequireOperation(const std::string& name, const std::string& prefix) {
  if (!prefix.empty() && name.rfind(prefix, 0) != 0) {
    if (const Operation* op = FindOperation(prefix + name)) return *op;
  }
  if (const Operation* op = FindOperation(name)) return *op;
  std::vector<std::string> similar = SimilarOperations(prefix.empty() ? name : prefix + name);
  if (similar.empty() && !prefix.empty()) similar = SimilarOperations(name);
  std::string message = "no operation named " + name;
  for (std::size_t i = 0; i < similar.size(); ++i)
    message += (i ? ", " : "; did you mean ") + similar[i];
  if (!similar.empty()) message += "?";
  throw Failure(exitcode::kUsage, message + " (tqv ops lists them all)");
}

Call Bind(const Operation& op, const std::vector<std::string>& arguments) {
  Call call(op);
  const std::string problem = BindArguments(call, arguments);
  if (!problem.empty()) throw Failure(exitcode::kUsage, problem + "\nusage: " + op.Usage());
  return call;
}

Fields Execute(Call& call, void* handle, Progress* progress) {
  call.handle = handle;
  call.progress = progress;
  const std::uint32_t result = Invoke(call);
  if (!call.problem.empty()) {
    throw Failure(call.usageProblem ? exitcode::kUsage : exitcode::kFailed,
                  call.op.name + ": " + call.problem);
  }
  Check(result, call.op.name);
  return std::move(call.outputs);
}

Fields RunOperation(void* handle, const Operation& op, const std::vector<std::string>& arguments,
                    Progress* progress) {
  Call call = Bind(op, arguments);
  return Execute(call, handle, progress);
}

}  // namespace tqvcli
