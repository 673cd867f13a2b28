// Every exported function called with null pointers, through the shared library as a host calls
// it: on a live handle of each simulated camera, each pointer argument in turn is null while the
// others are valid. The call must not crash, must answer its null result (166 unless the function
// gives null another meaning) and must not touch the camera. A never-created handle still answers
// 0xFFFFFFFF. A further test checks that the sweep covers every function the public header
// declares.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>

#include "common/sim_fixtures.h"
#include "common/testutil.h"

namespace {

constexpr int kAllNull = -1;

// Valid values for the arguments that are not the null one.
alignas(16) unsigned char g_scratch[1 << 16];
std::string g_text = "x";  // a valid text argument (a name, a path)
zel::TSharedPtr<zel::cam::gic::IGenICam> g_device;

int Progress(unsigned int, unsigned int, void*) { return 0; }

// One argument of type T: kPointer when it can be null, Get(null) its value.
template <typename T>
struct Param {
  static constexpr bool kPointer = false;
  T Get(bool) { return T{}; }
};
template <typename T>
struct Param<T&> {
  static constexpr bool kPointer = false;
  std::remove_cv_t<T> object{};
  T& Get(bool) { return object; }
};
template <typename T>
struct Param<T*> {
  static constexpr bool kPointer = true;
  T* Get(bool null) {
    if (null) return nullptr;
    if constexpr (std::is_same_v<T, const char>) {
      return g_text.c_str();
    } else {
      return reinterpret_cast<T*>(g_scratch);
    }
  }
};
template <>
struct Param<tqvProgressCallback> {
  static constexpr bool kPointer = true;
  tqvProgressCallback Get(bool null) { return null ? nullptr : &Progress; }
};
// A real listing array, so that a call that wrongly goes on finds a valid one.
template <typename Array, Array* (*Alloc)(), void (*Free)(Array*)>
struct ArrayParam {
  static constexpr bool kPointer = true;
  Array* array = Alloc();
  ~ArrayParam() { Free(array); }
  Array* Get(bool null) { return null ? nullptr : array; }
};
template <>
struct Param<tqvDirEntryArray*>
    : ArrayParam<tqvDirEntryArray, tqvDirEntryArray_Alloc, tqvDirEntryArray_Free> {};
template <>
struct Param<tqvInfoEntryArray*>
    : ArrayParam<tqvInfoEntryArray, tqvInfoEntryArray_Alloc, tqvInfoEntryArray_Free> {};
template <>
struct Param<tqvFilePtr> {
  static constexpr bool kPointer = true;
  tqvFilePtr Get(bool null) { return null ? tqvFilePtr() : tqvOpenFileStdRead("/dev/null"); }
};
template <>
struct Param<zel::TSharedPtr<zel::cam::gic::IGenICam>> {
  static constexpr bool kPointer = true;
  zel::TSharedPtr<zel::cam::gic::IGenICam> Get(bool null) {
    return null ? zel::TSharedPtr<zel::cam::gic::IGenICam>() : g_device;
  }
};

// Calls fn with argument `nullAt` of P null (every pointer with kAllNull); CallOn gives the handle
// first.
template <typename... P, typename Fn, std::size_t... I>
auto CallNulling(Fn fn, int nullAt, std::index_sequence<I...>) {
  std::tuple<Param<P>...> params;
  return fn(std::get<I>(params).Get(Param<P>::kPointer &&
                                    (nullAt == kAllNull || nullAt == static_cast<int>(I)))...);
}
template <typename R, typename... P>
R CallWith(R (*fn)(P...), int nullAt) {
  return CallNulling<P...>(fn, nullAt, std::index_sequence_for<P...>{});
}
template <typename R, typename... P>
R CallOn(R (*fn)(void*, P...), void* handle, int nullAt) {
  return CallNulling<P...>([&](P... args) { return fn(handle, std::forward<P>(args)...); }, nullAt,
                           std::index_sequence_for<P...>{});
}

// What a function answers for a null argument. Bit i of `optional`: argument i (after the handle
// for camera functions) may be null, so the sweep leaves it alone.
struct Expect {
  u32 answer = TQV_INVALID_ARGUMENT;
  u32 optional = 0;
  bool checksHandle = true;
};
constexpr u32 Arg(int position) { return 1u << position; }

// A live handle over one of the simulated cameras, with its traffic.
struct Live {
  void* handle;
  std::function<void()> clear;
  std::function<std::size_t()> traffic;
};

template <typename... P>
void SweepCamera(const char* name, u32 (*fn)(void*, P...), const Live& live, Expect expect) {
  SCOPED_TRACE(name);
  constexpr bool pointers[] = {Param<P>::kPointer..., false};
  for (int i = 0; i < static_cast<int>(sizeof...(P)); ++i) {
    if (!pointers[i] || (expect.optional & Arg(i))) continue;
    live.clear();
    EXPECT_EQ(CallOn(fn, live.handle, i), expect.answer) << "argument " << i << " null";
    EXPECT_EQ(live.traffic(), 0u) << "argument " << i << " null reached the camera";
  }
  int unknown = 0;
  const u32 expected = expect.checksHandle ? TQV_ERROR : expect.answer;
  EXPECT_EQ(CallOn(fn, &unknown, kAllNull), expected) << "never-created handle";
  EXPECT_EQ(CallOn(fn, nullptr, kAllNull), expected) << "null handle";
}

// The table's exceptions to "166 for any null pointer", as the operations define them.
Expect ExpectForOperation(const std::string& name) {
  static const std::pair<const char*, Expect> kExceptions[] = {
      // Size and time of a file are each optional.
      {"GetFileInfo", {TQV_INVALID_ARGUMENT, Arg(1) | Arg(2)}},
      {"GetNUCFileInfo", {TQV_INVALID_ARGUMENT, Arg(1) | Arg(2)}},
      {"GetStateFileInfo", {TQV_INVALID_ARGUMENT, Arg(1) | Arg(2)}},
      {"GetLensStateFileInfo", {TQV_INVALID_ARGUMENT, Arg(1) | Arg(2)}},
      {"GetPaletteFileInfo", {TQV_INVALID_ARGUMENT, Arg(1) | Arg(2)}},
      {"GetFactoryDefaultStateFileInfo", {TQV_INVALID_ARGUMENT, Arg(0) | Arg(1)}},
      // A correction-file query without a record fails as an unreadable query does.
      {"QueryNUCInfo", {TQV_ERROR}},
      {"QueryNUCBasicInfo", {TQV_ERROR}},
  };
  for (const auto& [operation, expect] : kExceptions) {
    if (name == operation) return expect;
  }
  return {};
}

// The exported camera functions that are not generated from the operation table, with their
// answers to null.
constexpr Expect kProgressOptional2{TQV_INVALID_ARGUMENT, Arg(2) | Arg(3)};
constexpr Expect kProgressOptional1{TQV_INVALID_ARGUMENT, Arg(1) | Arg(2)};
// clang-format off
#define TQV_CAMERA_HELPERS(X)                                                   \
  X(GetNumPresets, {}) X(GetHasFPAGainLevels, {})                               \
  X(GetBadPixelCorrectionMethodAvailable, {}) X(SetNUCPreset, {})               \
  X(GetNUCPreset, {}) X(GetHasLensStatesFunctionality, {})                      \
  X(GetHasFrontPanelTemperature, {}) X(GetHasAirGapTemperature, {})             \
  X(GetHasChassisTemperature, {}) X(GetHasInternalTemperature, {})              \
  X(GetHasLensTemperature, {}) X(GetGenlockAvailable, {}) X(IsWZN, {})          \
  X(IsXRefresh, {}) X(GetTriLevelSyncSourceAvailable, {}) X(GetHeaderMode, {})  \
  X(SetHeaderMode, {}) X(GetVideoPositionWritable, {})                          \
  X(GetVideoOverlayTextColorsAvailable, {}) X(GetIsLowCost, {})                 \
  X(GetIsAutomation, {}) X(GetBandpass, {}) X(GetCameraPartNumber, {})          \
  X(GetGainLevelsAreNamed, {}) X(GetGainLevelName, {}) X(GetVideoFormats, {})   \
  X(GetVideoZoomFactors, {}) X(GetFilterNameEx, {})                             \
  X(GetVideoOverlayPalette, (Expect{TQV_INVALID_ARGUMENT, 0, false}))           \
  X(GetVideoMargin, (Expect{TQV_INVALID_ARGUMENT, 0, false}))                    \
  X(SetVideoMargin, (Expect{TQV_INVALID_ARGUMENT, 0, false}))                   \
  X(DownloadNUCStdC, kProgressOptional2) X(UploadNUCStdC, kProgressOptional1)   \
  X(UploadNUCStdExC, kProgressOptional2) X(DownloadStateStdC, kProgressOptional2) \
  X(UploadStateStdC, kProgressOptional1)                                        \
  X(DownloadFactoryDefaultStateStdC, kProgressOptional1)                        \
  X(UploadFactoryDefaultStateStdC, kProgressOptional1)                          \
  X(DownloadLensStateStdC, kProgressOptional2) X(UploadLensStateStdC, kProgressOptional1) \
  X(DownloadPaletteStdC, kProgressOptional2) X(UploadPaletteStdC, kProgressOptional1) \
  X(DownloadFileStdC, kProgressOptional2) X(UploadFileStdC, kProgressOptional2)
// clang-format on
void SweepEveryCameraFunction(const Live& live) {
#define TQV_OP(name, params, args) \
  SweepCamera(#name, &::tqv##name, live, ExpectForOperation(#name));
#include "interface/operations.def"
#define TQV_SWEEP_HELPER(name, expect) SweepCamera(#name, &::tqv##name, live, expect);
  TQV_CAMERA_HELPERS(TQV_SWEEP_HELPER)
}

class NullSweep : public ::testing::Test {
 protected:
  testutil::SleepRecorder m_sleeps;  // nothing may wait, but nothing may sleep for real either
};

TEST_F(NullSweep, PropertyTreeCameraFunctionsRefuseNullPointersBeforeTheCamera) {
  testutil::PTreeCamera camera;
  Live live{camera.handle(), [&] { camera.camera().ClearTraffic(); },
            [&] { return camera.camera().Traffic().size(); }};
  SweepEveryCameraFunction(live);
}

TEST_F(NullSweep, GenICamCameraFunctionsRefuseNullPointersBeforeTheCamera) {
  testutil::GicCamera camera;
  Live live{camera.handle(), [&] { camera.device().ClearLog(); },
            [&] { return camera.device().Log().size(); }};
  SweepEveryCameraFunction(live);
}

template <typename T>
struct IsShared : std::false_type {};
template <typename T>
struct IsShared<zel::TSharedPtr<T>> : std::true_type {};

// Functions without a handle: each pointer argument null in turn gives `answer` (compared as the
// function's result type); `optional` positions are left alone.
template <typename R>
struct FreeExpect {
  R answer{};
  u32 optional = 0;
};
template <>
struct FreeExpect<void> {
  u32 optional = 0;
};

// What the allocating functions hand out goes back to them.
template <typename R>
void Release(R) {}
void Release(void* block) { tqvFree(block); }
void Release(tqvDirEntryArray* array) { tqvDirEntryArray_Free(array); }
void Release(tqvInfoEntryArray* array) { tqvInfoEntryArray_Free(array); }

template <typename R, typename... P>
void SweepFree(const char* name, R (*fn)(P...), FreeExpect<R> expect) {
  SCOPED_TRACE(name);
  constexpr bool pointers[] = {Param<P>::kPointer..., false};
  if (!(Param<P>::kPointer || ...)) {
    // Nothing to null; the call is listed for completeness (what it hands out goes back).
    if constexpr (!std::is_void_v<R>) Release(CallWith(fn, kAllNull));
    return;
  }
  for (int i = -1; i < static_cast<int>(sizeof...(P)); ++i) {
    if (i >= 0 && (!pointers[i] || (expect.optional & Arg(i)))) continue;
    if (i == kAllNull && expect.optional) continue;
    if constexpr (std::is_void_v<R>) {
      CallWith(fn, i);
    } else if constexpr (std::is_same_v<R, char*>) {
      char* text = CallWith(fn, i);
      ASSERT_NE(text, nullptr);
      EXPECT_STREQ(text, "");
      tqvFree(text);
    } else if constexpr (IsShared<R>::value) {
      EXPECT_FALSE(CallWith(fn, i)) << "argument " << i << " null";
    } else {
      EXPECT_EQ(CallWith(fn, i), expect.answer) << "argument " << i << " null";
    }
  }
}

// The exported functions without a handle, each with what it answers for a null argument.
using FreeSweep = std::pair<const char*, std::function<void()>>;
#define TQV_FREE(name, ...)                                    \
  FreeSweep {                                                  \
#name, [] { SweepFree(#name, &::tqv##name, __VA_ARGS__); } \
  }
constexpr FreeExpect<u32> kError{TQV_ERROR};
constexpr FreeExpect<u32> kInvalid{TQV_INVALID_ARGUMENT};
constexpr FreeExpect<u32> kOk{TQV_OK};

const std::vector<FreeSweep>& FreeFunctions() {
  static const std::vector<FreeSweep> kList = {
      // Handles and look-ups: a null output gives 166; a null connection or device finds nothing.
      TQV_FREE(CreateParamTree, kInvalid),
      TQV_FREE(CreateParamTreeEx, kInvalid),
      TQV_FREE(CreateGenICam, kInvalid),
      TQV_FREE(CreateGenICamEx, kInvalid),
      TQV_FREE(Destroy, kOk),
      TQV_FREE(FromParamTree, FreeExpect<void*>{}),
      TQV_FREE(GetParamTree, FreeExpect<void*>{}),
      TQV_FREE(FromGenICam, FreeExpect<void*>{}),
      TQV_FREE(GetGenICam, FreeExpect<zel::TSharedPtr<zel::cam::gic::IGenICam>>{}),
      TQV_FREE(Alloc, FreeExpect<void*>{}),  // no pointer argument
      TQV_FREE(Free, FreeExpect<void>{}),
      TQV_FREE(ErrorToString, FreeExpect<const char*>{}),  // no pointer argument
      // Texts and tables.
      TQV_FREE(GetCameraTypeName, kInvalid),
      TQV_FREE(GetCameraSubtypeName, kInvalid),
      TQV_FREE(GetDetectorTypeName, kInvalid),
      TQV_FREE(GetReadoutName, kInvalid),
      TQV_FREE(GetVariantName, kInvalid),
      TQV_FREE(GetPleoraBoardTypeName, kInvalid),
      TQV_FREE(GetFilterName, FreeExpect<const char*>{}),  // no pointer argument
      TQV_FREE(GetModelInfoTable, FreeExpect<const tqvSModelInfo*>{}),
      TQV_FREE(GetIsLowCostEx, kInvalid),
      TQV_FREE(IsValidFileName, kError),
      TQV_FREE(IsValidStateName, kError),
      TQV_FREE(IsValidFilePath, kError),
      TQV_FREE(IsValidCalTag, FreeExpect<u32>{TQV_INVALID_ARGUMENT, Arg(0)}),
      // Frame headers and correction files keep their own convention: 0xFFFFFFFF.
      TQV_FREE(DecodeHeaderRaw, kError),
      TQV_FREE(HeaderFromRawHeader, kError),
      TQV_FREE(DecodeHeader, kError),
      TQV_FREE(DecodeIRIG, kError),
      TQV_FREE(DecodeVORNHeader, kError),
      TQV_FREE(DecodeTeskHeader, kError),
      TQV_FREE(DefaultNUCInfo, kError),
      TQV_FREE(ReadNUCFileInfo, kError),
      TQV_FREE(LoadNUCFile, kError),
      // The record is optional; so is the table when no row is asked for (height 0 here).
      TQV_FREE(ReadNUCFileTable, FreeExpect<u32>{TQV_ERROR, Arg(1) | Arg(10)}),
      // An empty window (the zero record given here) needs no table.
      TQV_FREE(SaveNUCFile, FreeExpect<u32>{TQV_ERROR, Arg(2)}),
      TQV_FREE(EncodeNUC, FreeExpect<u32>{}),  // no pointer argument
      TQV_FREE(DecodeNUC, FreeExpect<u32>{TQV_OK, Arg(1) | Arg(2) | Arg(3)}),
      TQV_FREE(ConvertCameraNUCToLumenNUC, kError),
      TQV_FREE(ConvertLumenNUCToCameraNUC, kError),
      TQV_FREE(ConvertLumenNUCToCameraNUCEx, kError),
      // An empty list may come without pixels.
      TQV_FREE(SaveBplAsLumenSbp, FreeExpect<u32>{TQV_ERROR, Arg(3)}),
      // Listings for C hosts: a null array is empty.
      TQV_FREE(DirEntryArray_Alloc, FreeExpect<tqvDirEntryArray*>{}),
      TQV_FREE(DirEntryArray_size, FreeExpect<u32>{0}),
      TQV_FREE(DirEntryArray_fnameAt, FreeExpect<char*>{}),
      TQV_FREE(DirEntryArray_attribAt, FreeExpect<u8>{0}),
      TQV_FREE(DirEntryArray_sizeAt, FreeExpect<u32>{0}),
      TQV_FREE(DirEntryArray_timeLastModifiedAt, FreeExpect<u64>{0}),
      TQV_FREE(DirEntryArray_Free, FreeExpect<void>{}),
      TQV_FREE(InfoEntryArray_Alloc, FreeExpect<tqvInfoEntryArray*>{}),
      TQV_FREE(InfoEntryArray_size, FreeExpect<u32>{0}),
      TQV_FREE(InfoEntryArray_nameAt, FreeExpect<char*>{}),
      TQV_FREE(InfoEntryArray_valueAt, FreeExpect<char*>{}),
      TQV_FREE(InfoEntryArray_Free, FreeExpect<void>{}),
      TQV_FREE(OpenFileStdWrite, FreeExpect<tqvFilePtr>{}),
      TQV_FREE(OpenFileStdRead, FreeExpect<tqvFilePtr>{}),
  };
  return kList;
}

// Every enumeration's pair: the Text function takes a code only; the Enum function answers
// 0xFFFFFFFF for a null text.
// clang-format off
#define TQV_ENUMERATIONS(X)                                                                    \
  X(PresetSequencingMode) X(FrameSyncMode) X(FrameSyncSource) X(Polarity) X(TriggerSource)     \
  X(TriggerMode) X(IRIGLatchSource) X(SyncOutSource) X(FlagState) X(FOV) X(VideoFormat)        \
  X(VideoUpdateRate) X(VideoPosition) X(VideoTemporalFilter) X(VideoZoomFactor)                \
  X(VideoAGCMethod) X(NUCType) X(NUCSource) X(NUCFlagSetpointType) X(BadPixelCorrectionMethod) \
  X(AutoFocusROIPosition) X(GigEPreset) X(CoolerType) X(CameraLinkType) X(BoardType)           \
  X(SsdState) X(LensCoverState) X(LensControlType) X(LensBandPass) X(SsdRecordMode)            \
  X(SsdRecordType)
// clang-format on

TEST_F(NullSweep, FunctionsWithoutAHandleSurviveNullPointers) {
  testutil::TempDir dir;
  // Valid paths name a real correction file, so that a null record or table is what fails.
  g_text = dir.File("valid.nuc");
  tqvSNUCInfo info;
  ASSERT_EQ(tqvDefaultNUCInfo(&info), TQV_OK);
  info.windowWidth = info.windowHeight = 2;
  const uint32_t table[4] = {1, 2, 3, 4};
  ASSERT_EQ(tqvSaveNUCFile(g_text.c_str(), &info, table), TQV_OK);
  g_device = zel::cam::gic::OpenDevice("sim");
  ASSERT_TRUE(g_device);

  for (const auto& [name, sweep] : FreeFunctions())
    sweep();
#define TQV_SWEEP_ENUMERATION(name)              \
  SweepFree("Enum", &::tqv##name##Enum, kError); \
  EXPECT_EQ(tqv##name##Text(0xFFFFFFFFu), nullptr);
  TQV_ENUMERATIONS(TQV_SWEEP_ENUMERATION)

  g_device = {};
  g_text.assign(1, 'x');  // (assigning a literal trips GCC 12's -Wrestrict at -O3)
}

// Every function the public header declares is swept above.
TEST(NullSweepCoverage, EveryDeclaredFunctionIsSwept) {
  std::ifstream header(TQV_PUBLIC_HEADER);
  ASSERT_TRUE(header) << TQV_PUBLIC_HEADER;
  std::stringstream text;
  text << header.rdbuf();
  const std::string source = text.str();
  std::set<std::string> declared;
  const std::regex declaration(R"(TQV_API[^;]*?\b(tqv\w+)\s*\()");
  for (auto it = std::sregex_iterator(source.begin(), source.end(), declaration);
       it != std::sregex_iterator(); ++it) {
    declared.insert((*it)[1]);
  }
  EXPECT_GT(declared.size(), 700u);

  std::set<std::string> swept;
#define TQV_OP(name, params, args) swept.insert("tqv" #name);
#include "interface/operations.def"
#define TQV_NAME_HELPER(name, expect) swept.insert("tqv" #name);
  TQV_CAMERA_HELPERS(TQV_NAME_HELPER)
  for (const auto& [name, sweep] : FreeFunctions())
    swept.insert(std::string("tqv") + name);
#define TQV_NAME_ENUMERATION(name)  \
  swept.insert("tqv" #name "Text"); \
  swept.insert("tqv" #name "Enum");
  TQV_ENUMERATIONS(TQV_NAME_ENUMERATION)

  for (const std::string& name : declared)
    EXPECT_TRUE(swept.count(name)) << name << " is not swept";
  for (const std::string& name : swept)
    EXPECT_TRUE(declared.count(name)) << name << " is not declared";
}

}  // namespace
