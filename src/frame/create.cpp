// Creation of handles over either client library, and the lookups between handles and
// connections.
#include <memory>

#include "frame/registry.h"
#include "genicam/CTQVSDKGenICam.h"
#include "ptree/CTQVSDKPTree.h"

namespace {

// Flags bit 0: keep the handle even when the sensor constants do not read.
constexpr u32 kKeepOnConstantsFailure = 1;

}  // namespace

extern "C" {

TQV_API uint32_t tqvCreateParamTreeEx(void** out, void* connection, uint32_t flags) {
  if (!out) return rc::kInvalidArgument;
  *out = nullptr;
  bool ready = false;
  u32 result = resGetBool(connection, ".system.ready", &ready);
  if (result != rc::kOk) return result;
  if (!ready) return rc::kError;
  auto backend = std::make_unique<CTQVSDKPTree>(connection);
  result = backend->GetConstants();
  if (result != rc::kOk && !(flags & kKeepOnConstantsFailure)) return result;
  *out = sdks().Add(backend.release());
  return rc::kOk;
}

TQV_API uint32_t tqvCreateParamTree(void** out, void* connection) {
  return tqvCreateParamTreeEx(out, connection, 0);
}

TQV_API void* tqvFromParamTree(void* connection) {
  return sdks().FindFirst<CTQVSDKPTree>(
      [connection](CTQVSDKPTree& backend) { return backend.h() == connection; });
}

TQV_API void* tqvGetParamTree(void* handle) {
  void* connection = nullptr;
  sdks().WithBackend<CTQVSDKPTree>(handle,
                                   [&](CTQVSDKPTree& backend) { connection = backend.h(); });
  return connection;
}

TQV_API uint32_t tqvCreateGenICamEx(void** out, zel::TSharedPtr<zel::cam::gic::IGenICam> device,
                                    uint32_t flags) {
  if (!out) return rc::kInvalidArgument;
  *out = nullptr;
  if (!device) return rc::kInvalidArgument;
  auto backend = std::make_unique<CTQVSDKGenICam>(device);
  u32 result = backend->Init(flags);
  if (result != rc::kOk) return result;
  *out = sdks().Add(backend.release());
  return rc::kOk;
}

TQV_API uint32_t tqvCreateGenICam(void** out, zel::TSharedPtr<zel::cam::gic::IGenICam> device) {
  return tqvCreateGenICamEx(out, device, 0);
}

TQV_API void* tqvFromGenICam(zel::TSharedPtr<zel::cam::gic::IGenICam> device) {
  zel::cam::gic::IGenICam* wanted = device.get();
  return sdks().FindFirst<CTQVSDKGenICam>(
      [wanted](CTQVSDKGenICam& backend) { return backend.gic().get() == wanted; });
}

}  // extern "C"

TQV_API zel::TSharedPtr<zel::cam::gic::IGenICam> tqvGetGenICam(void* handle) {
  zel::TSharedPtr<zel::cam::gic::IGenICam> device;
  sdks().WithBackend<CTQVSDKGenICam>(handle,
                                     [&](CTQVSDKGenICam& backend) { device = backend.gic(); });
  return device;
}
