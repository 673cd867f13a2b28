// zel::CString: an owned, NUL-terminated text.
#pragma once

#include <string>

#include "zel/base.h"

namespace zel {

class ZEL_API CString {
 public:
  CString() = default;
  // `length` -1 means: up to the terminator. A null text gives the empty string.
  CString(const char* text, int length = -1);  // NOLINT(google-explicit-constructor)
  CString(const CString&) = default;
  CString(CString&&) noexcept = default;
  ~CString() = default;

  CString& operator=(const CString&) = default;
  CString& operator=(CString&&) noexcept = default;
  CString& operator=(const char* text);
  // Assigns a NUL-terminated UTF-16 text, converted to UTF-8.
  CString& operator=(const char16_t* text);

  const char* c_str() const { return m_text.c_str(); }
  u32 length() const { return static_cast<u32>(m_text.size()); }
  bool empty() const { return m_text.empty(); }
  // 0 when equal, otherwise the sign of the first difference (strcmp order).
  int compare(const char* text) const;

  friend ZEL_API CString operator+(const CString& a, const CString& b);
  friend ZEL_API CString operator+(const CString& a, const char* b);
  bool operator==(const CString& other) const { return m_text == other.m_text; }
  bool operator==(const char* other) const { return compare(other) == 0; }

 private:
  std::string m_text;
};

ZEL_API CString operator+(const CString& a, const CString& b);
ZEL_API CString operator+(const CString& a, const char* b);

}  // namespace zel
