// The framework's strings, arrays and shared pointers.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#include "zel/zel.h"

using zel::CString;
using zel::TArray;
using zel::TSharedPtr;

TEST(ZelString, BuildsFromTextsAndLengths) {
  EXPECT_STREQ(CString().c_str(), "");
  EXPECT_STREQ(CString(nullptr).c_str(), "");
  EXPECT_STREQ(CString("camera", 3).c_str(), "cam");
  EXPECT_STREQ(CString("cam", 10).c_str(), "cam");  // a length past the terminator stops there
  EXPECT_EQ(CString("camera").length(), 6u);
  EXPECT_EQ((CString("ab") + "cd" + CString("ef")).compare("abcdef"), 0);
  EXPECT_LT(CString("abc").compare("abd"), 0);
  EXPECT_GT(CString("abc").compare(nullptr), 0);
}

TEST(ZelString, ConvertsUtf16) {
  CString text;
  text = u"A\u00e9\u20ac\U0001F600";
  EXPECT_STREQ(text.c_str(), "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
  const char16_t unpaired[] = {0xD800, u'x', 0};
  text = unpaired;
  EXPECT_STREQ(text.c_str(), "\xEF\xBF\xBDx");
}

TEST(ZelArray, GrowsByDoublingFromOne) {
  TArray<int> values;
  EXPECT_EQ(values.GetCapacity(), 0u);
  std::vector<zel::u32> capacities;
  for (int i = 0; i < 9; ++i) {
    values.Add(i);
    capacities.push_back(values.GetCapacity());
  }
  EXPECT_EQ(capacities, (std::vector<zel::u32>{1, 2, 4, 4, 8, 8, 8, 8, 16}));
  for (int i = 0; i < 9; ++i)
    EXPECT_EQ(values[static_cast<zel::u32>(i)], i);
}

TEST(ZelArray, KeepsOrderOnRemovalCopiesDeeplyAndChecksIndices) {
  TArray<CString> names;
  for (const char* name : {"a", "b", "c", "d"})
    names.Add(CString(name));
  names.RemoveAt(1);
  ASSERT_EQ(names.GetCount(), 3u);
  EXPECT_THROW(names[3], std::out_of_range);
  EXPECT_THROW(names.RemoveAt(3), std::out_of_range);
  EXPECT_STREQ(names[0].c_str(), "a");
  EXPECT_STREQ(names[1].c_str(), "c");
  EXPECT_STREQ(names[2].c_str(), "d");

  TArray<CString> copy(names);
  copy[0] = "changed";
  EXPECT_STREQ(names[0].c_str(), "a");
  names.Add(names[0]);  // an element of the array itself, across a growth
  EXPECT_STREQ(names[3].c_str(), "a");
  names.SetCount(0);
  EXPECT_TRUE(names.IsEmpty());
}

namespace {
struct Counted {
  explicit Counted(int* deletions) : deletions(deletions) {}
  virtual ~Counted() { ++*deletions; }
  int* deletions;
};
struct Derived : Counted {
  using Counted::Counted;
};
int g_customDeletions = 0;
void CustomDelete(void* object) {
  ++g_customDeletions;
  delete static_cast<Counted*>(object);
}
}  // namespace

TEST(ZelSharedPtr, FollowsTheThreeDeleterRules) {
  int deletions = 0;
  {
    TSharedPtr<Counted> owner(new Derived(&deletions));
    TSharedPtr<Counted> copy = owner;
    EXPECT_EQ(owner.counter()->GetCount(), 2u);
    owner.Reset();
    EXPECT_EQ(deletions, 0);
  }
  EXPECT_EQ(deletions, 1);  // null deleter: deleted through the virtual destructor

  Counted kept(&deletions);
  { TSharedPtr<Counted> borrowed(&kept, zel::NoDelete()); }
  EXPECT_EQ(deletions, 1);  // all-ones deleter: not deleted

  g_customDeletions = 0;
  { TSharedPtr<Counted> custom(new Counted(&deletions), &CustomDelete); }
  EXPECT_EQ(g_customDeletions, 1);
  EXPECT_EQ(deletions, 2);
}

TEST(ZelSharedPtr, DynamicCastSharesTheCount) {
  int deletions = 0;
  TSharedPtr<Counted> base(new Derived(&deletions));
  TSharedPtr<Derived> derived = base.DynamicCast<Derived>();
  ASSERT_TRUE(derived);
  EXPECT_EQ(base.counter(), derived.counter());
  EXPECT_EQ(base.counter()->GetCount(), 2u);
  TSharedPtr<Counted> plain(new Counted(&deletions));
  EXPECT_FALSE(plain.DynamicCast<Derived>());
  base.Reset();
  EXPECT_EQ(deletions, 0);
  derived.Reset();
  EXPECT_EQ(deletions, 1);
}

TEST(ZelSharedPtr, CountsSafelyAcrossThreads) {
  int deletions = 0;
  TSharedPtr<Counted> shared(new Counted(&deletions));
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&shared] {
      for (int i = 0; i < 20000; ++i) {
        TSharedPtr<Counted> copy = shared;
        TSharedPtr<Counted> moved = std::move(copy);
      }
    });
  }
  for (std::thread& thread : threads)
    thread.join();
  EXPECT_EQ(shared.counter()->GetCount(), 1u);
  shared.Reset();
  EXPECT_EQ(deletions, 1);
}
