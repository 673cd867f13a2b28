#include "frame/registry.h"

#include <stdexcept>

#include "ParamTree.h"
#include "zel/cam/gic.h"

zel::TSharedPtr<ITQVSDK> CTQVSDKArray::Resolve(void* handle) {
  zel::CAutoLock hold(m_lock);
  for (const zel::TSharedPtr<ITQVSDK>& entry : m_entries) {
    if (entry.get() == handle) return entry;
  }
  return {};
}

void* CTQVSDKArray::Add(ITQVSDK* backend) {
  zel::TSharedPtr<ITQVSDK> entry(backend);
  zel::CAutoLock hold(m_lock);
  m_entries.Add(std::move(entry));
  return backend;
}

bool CTQVSDKArray::Remove(void* handle) {
  zel::CAutoLock hold(m_lock);
  for (u32 i = 0; i < m_entries.GetCount(); ++i) {
    if (m_entries[i].get() == handle) {
      m_entries.RemoveAt(i);
      return true;
    }
  }
  return false;
}

u32 CTQVSDKArray::Count() {
  zel::CAutoLock hold(m_lock);
  return m_entries.GetCount();
}

CTQVSDKArray& sdks() {
  static CTQVSDKArray registry;
  return registry;
}

u32 TranslateException(const std::exception& error) {
  using namespace zel::cam::gic;
  if (dynamic_cast<const CTimeoutException*>(&error)) return rc::kTimeout;
  if (dynamic_cast<const CAccessException*>(&error)) return rc::kAccessDenied;
  if (dynamic_cast<const std::invalid_argument*>(&error)) return rc::kInvalidArgument;
  if (dynamic_cast<const std::out_of_range*>(&error)) return rc::kInvalidArgument;
  if (dynamic_cast<const std::runtime_error*>(&error)) return rc::kFailed;
  if (dynamic_cast<const std::logic_error*>(&error)) return rc::kFailed;
  return rc::kError;
}

extern "C" {

TQV_API uint32_t tqvDestroy(void* handle) {
  sdks().Remove(handle);
  return rc::kOk;
}

TQV_API void* tqvAlloc(size_t size) { return resAlloc(size); }
TQV_API void tqvFree(void* pointer) { resFree(pointer); }
TQV_API const char* tqvErrorToString(uint32_t code) { return resErrorToString(code); }

}  // extern "C"
