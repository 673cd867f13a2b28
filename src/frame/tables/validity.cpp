// Which names and paths the camera's file system accepts.
#include <cstring>

#include "frame/tables/tables.h"

namespace {

bool HasAnyOf(const char* text, const char* forbidden) {
  return text[std::strcspn(text, forbidden)] != '\0';
}

bool ValidFileName(const char* name) {
  return name && name[0] != '\0' && name[0] != ' ' && !HasAnyOf(name, "/\\:*?\"<>|");
}

// A path may hold folder separators and leading blanks, but not only blanks.
bool ValidFilePath(const char* path) {
  return path && path[std::strspn(path, " ")] != '\0' && !HasAnyOf(path, ":*?\"<>|");
}

}  // namespace

extern "C" TQV_API uint32_t tqvIsValidFileName(const char* name) {
  return ValidFileName(name) ? rc::kOk : rc::kError;
}

extern "C" TQV_API uint32_t tqvIsValidStateName(const char* name) {
  return ValidFileName(name) ? rc::kOk : rc::kError;
}

extern "C" TQV_API uint32_t tqvIsValidFilePath(const char* path) {
  return ValidFilePath(path) ? rc::kOk : rc::kError;
}

extern "C" TQV_API uint32_t tqvIsValidCalTag(const char* tag, bool* valid) {
  if (!valid) return rc::kInvalidArgument;
  *valid = ValidFileName(tag);
  return rc::kOk;
}
