// Listings for C hosts: the entry arrays, their accessors, and the listing entry points that fill
// them.
#include "frame/nullcheck.h"
#include "frame/registry.h"

namespace {

using DirEntries = zel::TArray<tqvSDirEntry>;
using InfoEntries = zel::TArray<tqvSInfoEntry>;

DirEntries* AsList(tqvDirEntryArray* array) { return reinterpret_cast<DirEntries*>(array); }
const DirEntries* AsList(const tqvDirEntryArray* array) {
  return reinterpret_cast<const DirEntries*>(array);
}
InfoEntries* AsList(tqvInfoEntryArray* array) { return reinterpret_cast<InfoEntries*>(array); }
const InfoEntries* AsList(const tqvInfoEntryArray* array) {
  return reinterpret_cast<const InfoEntries*>(array);
}

template <typename List>
bool InRange(const List* list, u32 index) {
  return list && index < list->GetCount();
}

// A copy the host releases with tqvFree.
char* HostCopy(const zel::CString& text) { return zelStrDup(text.c_str()); }

// Resolves the handle and runs `list` with the host's array; a null array (or a null `path` of a
// directory listing) gives 166 after the handle check.
template <typename Entries, typename Call>
u32 FillList(void* handle, Entries* entries, Call call, const char* path = "") {
  CTQVSDKArray::Ref sdk = sdks().Resolve(handle);
  if (!sdk) return rc::kError;
  if (!entries || !path) return rc::kInvalidArgument;
  return call(*sdk, *entries);
}

}  // namespace

extern "C" {

TQV_API tqvDirEntryArray* tqvDirEntryArray_Alloc(void) {
  return reinterpret_cast<tqvDirEntryArray*>(new DirEntries());
}

TQV_API uint32_t tqvDirEntryArray_size(const tqvDirEntryArray* array) {
  return array ? AsList(array)->GetCount() : 0;
}

TQV_API char* tqvDirEntryArray_fnameAt(const tqvDirEntryArray* array, uint32_t index) {
  const DirEntries* list = AsList(array);
  return HostCopy(InRange(list, index) ? (*list)[index].fname : zel::CString());
}

TQV_API uint8_t tqvDirEntryArray_attribAt(const tqvDirEntryArray* array, uint32_t index) {
  const DirEntries* list = AsList(array);
  return InRange(list, index) ? (*list)[index].attrib : 0;
}

TQV_API uint32_t tqvDirEntryArray_sizeAt(const tqvDirEntryArray* array, uint32_t index) {
  const DirEntries* list = AsList(array);
  return InRange(list, index) ? (*list)[index].size : 0;
}

TQV_API uint64_t tqvDirEntryArray_timeLastModifiedAt(const tqvDirEntryArray* array,
                                                     uint32_t index) {
  const DirEntries* list = AsList(array);
  return InRange(list, index) ? (*list)[index].timeLastModified : 0;
}

TQV_API void tqvDirEntryArray_Free(tqvDirEntryArray* array) { delete AsList(array); }

TQV_API tqvInfoEntryArray* tqvInfoEntryArray_Alloc(void) {
  return reinterpret_cast<tqvInfoEntryArray*>(new InfoEntries());
}

TQV_API uint32_t tqvInfoEntryArray_size(const tqvInfoEntryArray* array) {
  return array ? AsList(array)->GetCount() : 0;
}

TQV_API char* tqvInfoEntryArray_nameAt(const tqvInfoEntryArray* array, uint32_t index) {
  const InfoEntries* list = AsList(array);
  return HostCopy(InRange(list, index) ? (*list)[index].name : zel::CString());
}

TQV_API char* tqvInfoEntryArray_valueAt(const tqvInfoEntryArray* array, uint32_t index) {
  const InfoEntries* list = AsList(array);
  return HostCopy(InRange(list, index) ? (*list)[index].value : zel::CString());
}

TQV_API void tqvInfoEntryArray_Free(tqvInfoEntryArray* array) { delete AsList(array); }

TQV_API uint32_t tqvListNUCs(void* handle, tqvDirEntryArray* list) {
  return FillList(handle, AsList(list),
                  [](ITQVSDK& sdk, DirEntries& e) { return sdk.ListNUCs(e); });
}

TQV_API uint32_t tqvListStates(void* handle, tqvDirEntryArray* list) {
  return FillList(handle, AsList(list),
                  [](ITQVSDK& sdk, DirEntries& e) { return sdk.ListStates(e); });
}

TQV_API uint32_t tqvListLensStates(void* handle, tqvDirEntryArray* list) {
  return FillList(handle, AsList(list),
                  [](ITQVSDK& sdk, DirEntries& e) { return sdk.ListLensStates(e); });
}

TQV_API uint32_t tqvListPalettes(void* handle, tqvDirEntryArray* list) {
  return FillList(handle, AsList(list),
                  [](ITQVSDK& sdk, DirEntries& e) { return sdk.ListPalettes(e); });
}

TQV_API uint32_t tqvListDir(void* handle, const char* path, tqvDirEntryArray* list) {
  return FillList(
      handle, AsList(list), [path](ITQVSDK& sdk, DirEntries& e) { return sdk.ListDir(path, e); },
      path);
}

TQV_API uint32_t tqvGetCameraExtraInfo(void* handle, tqvInfoEntryArray* list) {
  return FillList(handle, AsList(list),
                  [](ITQVSDK& sdk, InfoEntries& e) { return sdk.GetCameraExtraInfo(e); });
}

}  // extern "C"
