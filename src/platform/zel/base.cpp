#include "zel/base.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>

#include "zel/shared.h"

namespace zel {

void* Alloc(std::size_t size) { return std::malloc(size ? size : 1); }
void* Realloc(void* block, std::size_t size) { return std::realloc(block, size ? size : 1); }
void Free(void* block) { std::free(block); }

void ThrowOutOfRangeException(const char* message) { throw std::out_of_range(message); }
void ThrowBadAllocException() { throw std::bad_alloc(); }

CReferenceCounter* CReferenceCounter::Create() { return new CReferenceCounter(); }
void CReferenceCounter::Destroy() { delete this; }

}  // namespace zel

char* zelStrDup(const char* text) {
  if (!text) return nullptr;
  std::size_t length = std::strlen(text);
  char* copy = static_cast<char*>(zel::Alloc(length + 1));
  if (copy) std::memcpy(copy, text, length + 1);
  return copy;
}
