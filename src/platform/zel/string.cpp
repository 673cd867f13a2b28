#include "zel/string.h"

#include <cstring>

#include "zel/format.h"

namespace zel {

CString::CString(const char* text, int length) {
  if (!text) return;
  if (length < 0) {
    m_text.assign(text);
  } else {
    m_text.assign(text, strnlen(text, static_cast<std::size_t>(length)));
  }
}

CString& CString::operator=(const char* text) {
  if (text) {
    m_text.assign(text);
  } else {
    m_text.clear();
  }
  return *this;
}

CString& CString::operator=(const char16_t* text) {
  std::string out;
  for (const char16_t* p = text; p && *p; ++p) {
    u32 c = *p;
    if (c >= 0xD800 && c <= 0xDBFF && p[1] >= 0xDC00 && p[1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<u32>(p[1]) - 0xDC00);
      ++p;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;  // an unpaired surrogate
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  m_text = std::move(out);
  return *this;
}

int CString::compare(const char* text) const { return std::strcmp(c_str(), text ? text : ""); }

CString operator+(const CString& a, const CString& b) {
  CString result(a);
  result.m_text += b.m_text;
  return result;
}

CString operator+(const CString& a, const char* b) {
  CString result(a);
  if (b) result.m_text += b;
  return result;
}

}  // namespace zel
