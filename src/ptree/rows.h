// The property-tree realisation of the family tables' plain rows (families/rows.h): the member
// templates of CTQVSDKPTree that ptree/rows.cpp instantiates once per row, and that hand-written
// operations may use for a path of their own.
#pragma once

#include <cstring>
#include <optional>
#include <type_traits>

#include "ptree/CTQVSDKPTree.h"

template <typename T>
u32 CTQVSDKPTree::RowGet(const rows::Tree& row, const char* path, TCached<T>& entry, T* out) {
  u32 result = RowLensPath(row, path);
  if (result != rc::kOk) return result;
  if (row.cached && Cached(entry, out)) return rc::kOk;
  T value{};
  bool exists = true;
  if (row.ifExists) result = PathExists(path, &exists);
  if (result != rc::kOk) return result;
  if (!exists) {
    value = static_cast<T>(row.fallback);
  } else if (row.text) {
    if constexpr (std::is_same_v<T, u8>) {
      char* text = nullptr;
      result = resGetString(m_tree, path, &text);
      if (result != rc::kOk) return result;
      const u32 code = row.code(text);
      resFreeString(&text);
      if (code > 0xFF) {
        *out = 255;  // a text the library does not know
        return rc::kError;
      }
      value = static_cast<u8>(code);
    }
  } else if (row.stored == rows::Stored::kU8) {
    u8 stored = 0;
    result = resRead(m_tree, path, &stored);
    value = static_cast<T>(stored);
  } else if (row.stored == rows::Stored::kF64) {
    double stored = 0;
    result = resRead(m_tree, path, &stored);
    value = static_cast<T>(stored);
  } else {
    result = resRead(m_tree, path, &value);
  }
  if (result != rc::kOk) return result;
  if (row.cached) Keep(entry, value);
  *out = value;
  return rc::kOk;
}

template <typename T>
u32 CTQVSDKPTree::RowSet(const rows::Tree& row, const char* path, TCached<T>& entry, T value) {
  u32 result = RowLensPath(row, path);
  if (result != rc::kOk) return result;
  const char* text = nullptr;
  if (row.text) {
    text = row.text(static_cast<u32>(value));
    if (!text) return rc::kError;  // a code without a text is never sent
  }
  std::optional<ScopedTimeout> slow;
  if (row.timeout) slow.emplace(m_tree, row.timeout);
  if (text) {
    result = resSetString(m_tree, path, text, row.commit);
  } else if (row.stored == rows::Stored::kU8) {
    result = resWrite(m_tree, path, static_cast<u8>(value), row.commit);
  } else if (row.stored == rows::Stored::kF64) {
    result = resWrite(m_tree, path, static_cast<double>(value), row.commit);
  } else {
    result = resWrite(m_tree, path, value, row.commit);
  }
  if (result != rc::kOk) return result;
  if (row.cached) Keep(entry, value);
  if (row.drop) Forget(row.drop);
  return result;
}

template <typename T>
u32 CTQVSDKPTree::RowGetPreset(const rows::Tree& row, u8 preset, TCached<T> PresetRowCache::*member,
                               T* out) {
  if (preset > 3) return rc::kInvalidArgument;
  char path[kPathSize];
  return RowGet(row, _tqvResourceForPreset(path, sizeof path, row.path, preset),
                m_cache.preset[preset].rows.*member, out);
}

template <typename T>
u32 CTQVSDKPTree::RowSetPreset(const rows::Tree& row, u8 preset, TCached<T> PresetRowCache::*member,
                               T value) {
  if (preset > 3) return rc::kInvalidArgument;
  char path[kPathSize];
  return RowSet(row, _tqvResourceForPreset(path, sizeof path, row.path, preset),
                m_cache.preset[preset].rows.*member, value);
}

template <u32 N>
u32 CTQVSDKPTree::RowGetText(const rows::Tree& row, TCachedText<N>& entry, char* buffer, int size) {
  if (row.cached) return CachedGetText(entry, row.path, buffer, size);
  return _tqvGetString(m_tree, row.path, buffer, size);
}

template <u32 N>
u32 CTQVSDKPTree::RowSetText(const rows::Tree& row, TCachedText<N>& entry, const char* text) {
  if (!text) return rc::kInvalidArgument;
  if (row.maxLength && std::strlen(text) > row.maxLength) return rc::kTooLarge;
  std::optional<ScopedTimeout> slow;
  if (row.timeout) slow.emplace(m_tree, row.timeout);
  if (row.cached) return CachedSetText(entry, row.path, text);
  return resSetString(m_tree, row.path, text, row.commit);
}
