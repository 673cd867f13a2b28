#include "frame/registry.h"

#include <cstdint>
#include <stdexcept>

#include "ParamTree.h"
#include "zel/cam/gic.h"

namespace {
std::size_t Hash(void* handle, std::size_t mask) {
  // Fibonacci hashing of the address; its low bits are alignment zeros.
  auto bits = reinterpret_cast<std::uintptr_t>(handle);
  return static_cast<std::size_t>((bits * 0x9E3779B97F4A7C15ull) >> 32) & mask;
}
}  // namespace

bool CTQVSDKArray::Find(void* handle, u32* position) const {
  if (m_index.empty() || !handle) return false;
  const std::size_t mask = m_index.size() - 1;
  for (std::size_t i = Hash(handle, mask);; i = (i + 1) & mask) {
    if (m_index[i].handle == handle) {
      *position = m_index[i].position;
      return true;
    }
    if (!m_index[i].handle) return false;
  }
}

void CTQVSDKArray::Index(void* handle, u32 position) {
  if ((static_cast<std::size_t>(m_entries.GetCount()) * 2 > m_index.size())) {
    Reindex();  // grows the index; it holds every entry, the new one included
    return;
  }
  const std::size_t mask = m_index.size() - 1;
  std::size_t i = Hash(handle, mask);
  while (m_index[i].handle)
    i = (i + 1) & mask;
  m_index[i] = {handle, position};
}

void CTQVSDKArray::Reindex() {
  std::size_t size = 16;
  while (size < static_cast<std::size_t>(m_entries.GetCount()) * 2)
    size *= 2;
  m_index.assign(size, Slot{nullptr, 0});
  const std::size_t mask = size - 1;
  for (u32 position = 0; position < m_entries.GetCount(); ++position) {
    void* handle = m_entries[position].get();
    std::size_t i = Hash(handle, mask);
    while (m_index[i].handle)
      i = (i + 1) & mask;
    m_index[i] = {handle, position};
  }
}

zel::TSharedPtr<ITQVSDK> CTQVSDKArray::Resolve(void* handle) {
  zel::CAutoLock hold(m_lock);
  u32 position = 0;
  if (!Find(handle, &position)) return {};
  return m_entries[position];
}

void* CTQVSDKArray::Add(ITQVSDK* backend) {
  zel::TSharedPtr<ITQVSDK> entry(backend);
  zel::CAutoLock hold(m_lock);
  m_entries.Add(std::move(entry));
  Index(backend, m_entries.GetCount() - 1);
  return backend;
}

bool CTQVSDKArray::Remove(void* handle) {
  zel::CAutoLock hold(m_lock);
  u32 position = 0;
  if (!Find(handle, &position)) return false;
  // Releasing the registry's reference deletes the backend when no call holds it.
  m_entries.RemoveAt(position);
  Reindex();
  return true;
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
