// libtqvBridge: the GenICam opener and the C form of every entry point whose parameters are
// framework types. The C forms are made by the compiler from the operation table and the entry
// points' own declarations: each parameter type has a C form (Param below), so a new operation
// with such parameters gets its C form without a line written here.
#include "tqvBridge.h"

#include <string_view>
#include <tuple>
#include <type_traits>
#include <vector>

namespace {

// What a parameter does around the call unless it says otherwise: Ready() is false when the
// call must not be made (a host file that does not open); Deliver() hands outputs over after it.
struct ParamDefaults {
  bool Ready() const { return true; }
  void Deliver(uint32_t) const {}
};

// A parameter in its C form. Plain C types pass unchanged.
template <typename T, bool kDownload>
class Param : public ParamDefaults {
 public:
  static constexpr bool kFramework = false;
  using C = T;
  explicit Param(C value) : m_value(value) {}
  T Get() const { return m_value; }

 private:
  T m_value;
};

// A host file object from a host path: created for a download, read for an upload.
template <bool kDownload>
class Param<tqvFilePtr, kDownload> : public ParamDefaults {
 public:
  static constexpr bool kFramework = true;
  using C = const char*;
  explicit Param(C path)
      : m_file(kDownload ? tqvOpenFileStdWrite(path) : tqvOpenFileStdRead(path)) {}
  bool Ready() const { return static_cast<bool>(m_file); }
  tqvFilePtr Get() const { return m_file; }

 private:
  tqvFilePtr m_file;
};

// A progress delegate that calls the C callback; empty without one.
template <bool kDownload>
class Param<tqvProgressDelegate, kDownload> : public ParamDefaults {
 public:
  static constexpr bool kFramework = true;
  using C = const tqvBridgeProgress*;
  explicit Param(C progress) : m_progress(progress) {}
  tqvProgressDelegate Get() const {
    if (m_progress == nullptr || m_progress->callback == nullptr) return {};
    return tqvProgressDelegate(const_cast<tqvBridgeProgress*>(m_progress), &Report);
  }

 private:
  static int Report(void* object, unsigned done, unsigned total) {
    const auto* progress = static_cast<const tqvBridgeProgress*>(object);
    return progress->callback(done, total, progress->context);
  }
  C m_progress;
};

// A framework array the entry point fills; its elements go to the list after a success.
template <typename E>
class ListParam : public ParamDefaults {
 public:
  static constexpr bool kFramework = true;
  using C = const tqvBridgeList*;
  explicit ListParam(C list) : m_list(list) {}
  zel::TArray<E>& Get() { return m_items; }
  void Deliver(uint32_t result) const {
    if (result != TQV_OK || m_list == nullptr || m_list->add == nullptr) return;
    for (const E& item : m_items) {
      if constexpr (std::is_same_v<E, zel::CString>) {
        m_list->add(m_list->context, item.c_str(), 0);
      } else {
        m_list->add(m_list->context, nullptr, item);
      }
    }
  }

 private:
  C m_list;
  zel::TArray<E> m_items;
};

template <bool kDownload>
class Param<zel::TArray<zel::CString>&, kDownload> : public ListParam<zel::CString> {
 public:
  using ListParam::ListParam;
};

template <bool kDownload>
class Param<zel::TArray<uint8_t>&, kDownload> : public ListParam<uint8_t> {
 public:
  using ListParam::ListParam;
};

// The C form of one entry point, or no entry when all its parameters are C types already.
template <auto kEntryPoint, bool kDownload, typename Signature = decltype(kEntryPoint)>
struct Twin;

template <auto kEntryPoint, bool kDownload, typename... P>
struct Twin<kEntryPoint, kDownload, uint32_t (*)(void*, P...)> {
  static uint32_t Call(void* handle, typename Param<P, kDownload>::C... args) noexcept {
    try {
      std::tuple<Param<P, kDownload>...> params{args...};
      return std::apply(
          [handle](auto&... param) -> uint32_t {
            if (!(param.Ready() && ...)) return TQV_ERROR;
            const uint32_t result = kEntryPoint(handle, param.Get()...);
            (param.Deliver(result), ...);
            return result;
          },
          params);
    } catch (...) {
      return TQV_ERROR;
    }
  }

  static tqvBridgeEntry Entry(const char* name) {
    if constexpr ((Param<P, kDownload>::kFramework || ...)) {
      return {name, reinterpret_cast<void (*)(void)>(&Call)};
    } else {
      return {nullptr, nullptr};
    }
  }
};

constexpr bool IsDownload(std::string_view name) { return name.starts_with("Download"); }

std::vector<tqvBridgeEntry> MakeTable() {
  std::vector<tqvBridgeEntry> table = {
#define TQV_OP(name, params, args) Twin<&::tqv##name, IsDownload(#name)>::Entry(#name),
#include "interface/operations.def"
      // Look-ups outside the operation table that fill framework arrays.
      Twin<&::tqvGetVideoFormats, false>::Entry("GetVideoFormats"),
      Twin<&::tqvGetVideoZoomFactors, false>::Entry("GetVideoZoomFactors"),
  };
  std::erase_if(table, [](const tqvBridgeEntry& entry) { return entry.name == nullptr; });
  table.push_back({nullptr, nullptr});
  return table;
}

}  // namespace

extern "C" TQV_BRIDGE_API uint32_t tqvBridgeOpenGenICam(const char* address, uint32_t flags,
                                                        void** out) {
  if (out == nullptr) return TQV_INVALID_ARGUMENT;
  *out = nullptr;
  if (address == nullptr) return TQV_INVALID_ARGUMENT;
  try {
    zel::TSharedPtr<zel::cam::gic::IGenICam> device = zel::cam::gic::OpenDevice(address);
    if (!device) return TQV_NOT_FOUND;
    return tqvCreateGenICamEx(out, device, flags);
  } catch (...) {
    return TQV_ERROR;
  }
}

extern "C" TQV_BRIDGE_API const tqvBridgeEntry* tqvBridgeTable(void) {
  static const tqvBridgeEntry kEmpty[] = {{nullptr, nullptr}};
  try {
    static const std::vector<tqvBridgeEntry> table = MakeTable();
    return table.data();
  } catch (...) {
    return kEmpty;
  }
}
