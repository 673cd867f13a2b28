#include "frame/registry.h"

#include <cstdint>
#include <stdexcept>
#include <thread>

#include "ParamTree.h"
#include "zel/cam/gic.h"

namespace {

std::size_t Hash(void* handle, std::size_t mask) {
  // Fibonacci hashing of the address; its low bits are alignment zeros.
  auto bits = reinterpret_cast<std::uintptr_t>(handle);
  return static_cast<std::size_t>((bits * 0x9E3779B97F4A7C15ull) >> 32) & mask;
}

constexpr std::size_t kFirstTableSize = 16;
constexpr std::size_t kRecordBlock = 32;

}  // namespace

// How a call finds its backend without a lock (Resolve):
// - the index's slots and a record's handle and pins are atomics, and records and tables are
//   never freed while the registry lives, so a reader racing a change reads stale values at
//   worst, never freed memory;
// - a reader pins the record it found (only while the registry or a call still holds it) and
//   then checks that the record serves its handle; a record that was freed and reused for another
//   handle meanwhile fails the check and is let go;
// - an answer of "unknown" is given only when no removal ran during the search (m_version), since
//   a removal moves slots and a reader may miss an entry that moves past it.
// Adding writes the record completely, then pins it for the registry (release), then fills a
// free slot, so a reader that sees the slot sees the record. Removing empties the slot, then
// drops the registry's pin; the last pin deletes the backend and frees the record.

bool CTQVSDKArray::Pin(Record* record) {
  u32 pins = record->pins.load(std::memory_order_relaxed);
  do {
    if (pins == 0) return false;  // being freed, or free
  } while (!record->pins.compare_exchange_weak(pins, pins + 1, std::memory_order_acquire,
                                               std::memory_order_relaxed));
  return true;
}

void CTQVSDKArray::Retire(Record* record) {
  record->backend.Reset();  // deletes the backend unless a shared pointer taken from it lives on
  record->handle.store(nullptr, std::memory_order_relaxed);
  GiveBack(record);
}

CTQVSDKArray::Record* CTQVSDKArray::Lookup(void* handle) const {
  const Table* table = m_table.load(std::memory_order_acquire);
  if (!table || !handle) return nullptr;
  for (std::size_t i = Hash(handle, table->mask);; i = (i + 1) & table->mask) {
    void* occupant = table->slots[i].handle.load(std::memory_order_acquire);
    if (occupant == handle) return table->slots[i].record.load(std::memory_order_acquire);
    if (!occupant) return nullptr;
  }
}

CTQVSDKArray::Ref CTQVSDKArray::Resolve(void* handle) {
  if (!handle) return Ref();
  for (;;) {
    const u32 version = m_version.load(std::memory_order_acquire);
    if (version % 2 == 0) {
      Record* record = Lookup(handle);
      if (record && Pin(record)) {
        if (record->handle.load(std::memory_order_relaxed) == handle) return Ref(record);
        Unpin(record);  // reused for another handle since the slot was read
      }
      // The slots were read with acquire: a value a removal wrote makes its odd version
      // visible here.
      if (m_version.load(std::memory_order_acquire) == version) return Ref();
    }
    std::this_thread::yield();  // a removal is moving slots; it takes a moment
  }
}

void CTQVSDKArray::Insert(const Table& table, void* handle, Record* record) {
  std::size_t i = Hash(handle, table.mask);
  while (table.slots[i].handle.load(std::memory_order_relaxed))
    i = (i + 1) & table.mask;
  table.slots[i].record.store(record, std::memory_order_relaxed);
  table.slots[i].handle.store(handle, std::memory_order_release);
}

// Backward-shift deletion: the entries after the emptied slot move up where their probe allows,
// so that no search stops early at a hole.
void CTQVSDKArray::Erase(void* handle) {
  const Table& table = *m_table.load(std::memory_order_relaxed);
  std::size_t hole = Hash(handle, table.mask);
  while (table.slots[hole].handle.load(std::memory_order_relaxed) != handle)
    hole = (hole + 1) & table.mask;
  // Every slot is written with release below, so a reader that sees one of the new values also
  // sees the odd version.
  const u32 version = m_version.load(std::memory_order_relaxed);
  m_version.store(version + 1, std::memory_order_relaxed);
  for (std::size_t next = (hole + 1) & table.mask;; next = (next + 1) & table.mask) {
    void* occupant = table.slots[next].handle.load(std::memory_order_relaxed);
    if (!occupant) break;
    const std::size_t home = Hash(occupant, table.mask);
    // The occupant may move into the hole when its home is not within (hole, next].
    const bool stays = hole < next ? (hole < home && home <= next) : (hole < home || home <= next);
    if (stays) continue;
    table.slots[hole].record.store(table.slots[next].record.load(std::memory_order_relaxed),
                                   std::memory_order_release);
    table.slots[hole].handle.store(occupant, std::memory_order_release);
    hole = next;
  }
  table.slots[hole].handle.store(nullptr, std::memory_order_release);
  table.slots[hole].record.store(nullptr, std::memory_order_release);
  m_version.store(version + 2, std::memory_order_release);
}

CTQVSDKArray::Record* CTQVSDKArray::TakeRecord() {
  std::lock_guard<std::mutex> hold(m_freeLock);
  if (!m_free) {
    m_blocks.reserve(m_blocks.size() + 1);
    std::unique_ptr<Record[]> block(new Record[kRecordBlock]);
    for (std::size_t i = 0; i < kRecordBlock; ++i) {
      block[i].owner = this;
      block[i].nextFree = i + 1 < kRecordBlock ? &block[i + 1] : nullptr;
    }
    m_free = &block[0];
    m_blocks.push_back(std::move(block));
  }
  Record* record = m_free;
  m_free = record->nextFree;
  return record;
}

void CTQVSDKArray::GiveBack(Record* record) {
  std::lock_guard<std::mutex> hold(m_freeLock);
  record->nextFree = m_free;
  m_free = record;
}

void* CTQVSDKArray::Add(ITQVSDK* backend) {
  // Every step that can run out of memory comes before the registry changes: a failure leaves
  // it as it was, and the entry that was not added deletes the backend as it goes.
  zel::TSharedPtr<ITQVSDK> entry(backend);
  zel::CAutoLock hold(m_lock);
  Record* record = TakeRecord();
  struct Unused {
    CTQVSDKArray* registry;
    Record* record;
    ~Unused() {
      if (record) registry->GiveBack(record);
    }
  } unused{this, record};

  const Table* table = m_table.load(std::memory_order_relaxed);
  const std::size_t count = static_cast<std::size_t>(m_entries.GetCount()) + 1;
  std::unique_ptr<Table> grown;
  if (!table || count * 2 > table->mask + 1) {
    std::size_t size = table ? (table->mask + 1) * 2 : kFirstTableSize;
    while (size < count * 2)
      size *= 2;
    grown = std::make_unique<Table>(size);
    m_tables.reserve(m_tables.size() + 1);
    for (Record* registered : m_entries)
      Insert(*grown, registered->handle.load(std::memory_order_relaxed), registered);
  }
  m_entries.Add(record);  // the last step that may fail; it changes nothing when it does

  record->backend = std::move(entry);
  record->handle.store(backend, std::memory_order_relaxed);
  record->pins.store(1, std::memory_order_release);
  if (grown) {
    Insert(*grown, backend, record);
    m_table.store(grown.get(), std::memory_order_release);
    m_tables.push_back(std::move(grown));
  } else {
    Insert(*table, backend, record);
  }
  unused.record = nullptr;
  return backend;
}

bool CTQVSDKArray::Remove(void* handle) {
  Record* record = nullptr;
  {
    zel::CAutoLock hold(m_lock);
    record = Lookup(handle);
    if (!record) return false;
    Erase(handle);
    for (u32 i = 0; i < m_entries.GetCount(); ++i) {
      if (m_entries[i] == record) {
        m_entries.RemoveAt(i);  // allocates nothing: removing cannot fail
        break;
      }
    }
  }
  Unpin(record);  // the registry's pin, outside the lock: the backend may be deleted here
  return true;
}

u32 CTQVSDKArray::Count() {
  zel::CAutoLock hold(m_lock);
  return m_entries.GetCount();
}

CTQVSDKArray::~CTQVSDKArray() {
  // At exit: every handle still registered is released.
  for (Record* record : m_entries)
    Unpin(record);
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
