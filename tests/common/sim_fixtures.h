// Connections to the simulated cameras and handles over them, released at the end of a test.
// Header-only: the programs that include it link the client libraries.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ParamTree.h"
#include "genicam/SimDevice.h"
#include "interface/types.h"
#include "ptree/SimTree.h"
#include "tqvSDK.h"

namespace testutil {

// A property-tree connection to a new simulated camera.
class SimTree {
 public:
  explicit SimTree(const char* address = "sim") {
    EXPECT_EQ(resOpen(address, &m_tree), 0u) << address;
  }
  ~SimTree() {
    if (m_tree) resClose(m_tree);
  }
  SimTree(const SimTree&) = delete;
  SimTree& operator=(const SimTree&) = delete;
  void* tree() const { return m_tree; }
  sim::ptree::Camera& camera() const { return *sim::ptree::CameraOf(m_tree); }

 private:
  void* m_tree = nullptr;
};

// A handle destroyed at the end of the scope.
class Handle {
 public:
  Handle() = default;
  explicit Handle(void* handle) : m_handle(handle) {}
  ~Handle() { tqvDestroy(m_handle); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  void** out() { return &m_handle; }
  void* get() const { return m_handle; }
  operator void*() const { return m_handle; }  // NOLINT(google-explicit-constructor)

 private:
  void* m_handle = nullptr;
};

// A property-tree camera with a handle over it.
class PTreeCamera {
 public:
  explicit PTreeCamera(const char* address = "sim") : m_tree(address) {
    EXPECT_EQ(tqvCreateParamTree(m_handle.out(), m_tree.tree()), 0u);
    camera().ClearTraffic();
  }
  void* handle() const { return m_handle.get(); }
  void* tree() const { return m_tree.tree(); }
  sim::ptree::Camera& camera() const { return m_tree.camera(); }

 private:
  SimTree m_tree;
  Handle m_handle;
};

// A simulated GenICam device with a handle over it.
class GicCamera {
 public:
  explicit GicCamera(const char* address = "sim", u32 flags = 0)
      : m_device(zel::cam::gic::OpenDevice(address)) {
    EXPECT_TRUE(m_device) << address;
    if (m_device) {
      EXPECT_EQ(tqvCreateGenICamEx(m_handle.out(), m_device, flags), 0u) << address;
      device().ClearLog();
    }
  }
  void* handle() const { return m_handle.get(); }
  zel::TSharedPtr<zel::cam::gic::IGenICam> gic() const { return m_device; }
  sim::genicam::Device& device() const { return *sim::genicam::DeviceOf(m_device.get()); }

 private:
  zel::TSharedPtr<zel::cam::gic::IGenICam> m_device;
  Handle m_handle;
};

// The camera information entries (name, value) through the C interface.
inline std::vector<std::pair<std::string, std::string>> InfoEntries(void* handle, u32* result) {
  tqvInfoEntryArray* list = tqvInfoEntryArray_Alloc();
  *result = tqvGetCameraExtraInfo(handle, list);
  std::vector<std::pair<std::string, std::string>> entries;
  for (u32 i = 0; i < tqvInfoEntryArray_size(list); ++i) {
    char* name = tqvInfoEntryArray_nameAt(list, i);
    char* value = tqvInfoEntryArray_valueAt(list, i);
    entries.emplace_back(name, value);
    tqvFree(name);
    tqvFree(value);
  }
  tqvInfoEntryArray_Free(list);
  return entries;
}

enum class Backend { PropertyTree, GenICam };

inline std::string BackendName(const ::testing::TestParamInfo<Backend>& info) {
  return info.param == Backend::PropertyTree ? "PropertyTree" : "GenICam";
}

// A simulated camera of either kind with a handle over it; the built-in profile is given per
// backend.
class AnyCamera {
 public:
  explicit AnyCamera(Backend backend, const char* treeAddress = "sim",
                     const char* gicAddress = "sim") {
    if (backend == Backend::PropertyTree) {
      m_tree = std::make_unique<PTreeCamera>(treeAddress);
      m_handle = m_tree->handle();
    } else {
      m_gic = std::make_unique<GicCamera>(gicAddress);
      m_handle = m_gic->handle();
    }
  }
  void* handle() const { return m_handle; }
  // The simulated camera behind the handle; null for the other backend.
  sim::ptree::Camera* tree() const { return m_tree ? &m_tree->camera() : nullptr; }
  sim::genicam::Device* device() const { return m_gic ? &m_gic->device() : nullptr; }
  // Moves the camera's simulated time on.
  void AdvanceMs(u64 milliseconds) const {
    if (m_tree) m_tree->camera().AdvanceMs(milliseconds);
    if (m_gic) m_gic->device().AdvanceMs(milliseconds);
  }

 private:
  std::unique_ptr<PTreeCamera> m_tree;
  std::unique_ptr<GicCamera> m_gic;
  void* m_handle = nullptr;
};

}  // namespace testutil
