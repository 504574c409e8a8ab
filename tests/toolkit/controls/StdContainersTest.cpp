#include "toolkit/controls/StdPtrArray.h"
#include "toolkit/controls/StdStringPtrMap.h"
#include "toolkit/controls/StdValArray.h"

#include <gtest/gtest.h>

#include <malloc.h>

#include <string>
#include <vector>

namespace {

using SkinUI::CStdPtrArray;
using SkinUI::CStdStringPtrMap;
using SkinUI::CStdValArray;

void* P(int value) { return reinterpret_cast<void*>(static_cast<intptr_t>(value)); }

// Slots the C runtime handed out for an array's storage.
size_t Slots(void* storage, size_t elementSize) {
  return storage == nullptr ? 0 : _msize(storage) / elementSize;
}

std::vector<int> Items(const CStdPtrArray& array) {
  std::vector<int> items;
  for (int i = 0; i < array.GetSize(); ++i)
    items.push_back(static_cast<int>(reinterpret_cast<intptr_t>(array[i])));
  return items;
}

TEST(StdPtrArray, GrowsToElevenThenDoublesKeepingASpareSlot) {
  CStdPtrArray array;
  EXPECT_EQ(nullptr, array.GetData());
  // Capacity after each addition: 11 from the first, 22 when the count
  // reaches 11, 44 at 22, 88 at 44.
  for (int count = 1; count <= 90; ++count) {
    ASSERT_TRUE(array.Add(P(count)));
    size_t expected = count < 11 ? 11 : count < 22 ? 22 : count < 44 ? 44 : count < 88 ? 88 : 176;
    ASSERT_EQ(expected, Slots(array.GetData(), sizeof(void*))) << "count " << count;
    ASSERT_GT(Slots(array.GetData(), sizeof(void*)), static_cast<size_t>(array.GetSize()));
  }
  for (int i = 0; i < 90; ++i) ASSERT_EQ(P(i + 1), array[i]);
}

TEST(StdPtrArray, PreallocationIsTheFirstCapacity) {
  CStdPtrArray array(3);
  EXPECT_EQ(3u, Slots(array.GetData(), sizeof(void*)));
  EXPECT_TRUE(array.IsEmpty());
  array.Add(P(1));
  array.Add(P(2));
  EXPECT_EQ(3u, Slots(array.GetData(), sizeof(void*)));
  array.Add(P(3));
  EXPECT_EQ(6u, Slots(array.GetData(), sizeof(void*)));
  CStdPtrArray none(-4);
  EXPECT_EQ(nullptr, none.GetData());
}

TEST(StdPtrArray, IndexesOutsideTheItemsAreRefused) {
  CStdPtrArray array;
  EXPECT_FALSE(array.InsertAt(1, P(9)));
  EXPECT_FALSE(array.InsertAt(-1, P(9)));
  EXPECT_TRUE(array.InsertAt(0, P(2)));  // into an empty array
  EXPECT_TRUE(array.InsertAt(1, P(4)));  // at the count: appends
  EXPECT_TRUE(array.InsertAt(0, P(1)));  // shifts up
  EXPECT_TRUE(array.InsertAt(2, P(3)));
  EXPECT_EQ((std::vector<int>{1, 2, 3, 4}), Items(array));
  EXPECT_FALSE(array.InsertAt(5, P(9)));

  EXPECT_FALSE(array.SetAt(4, P(9)));
  EXPECT_FALSE(array.SetAt(-1, P(9)));
  EXPECT_TRUE(array.SetAt(3, P(40)));
  EXPECT_EQ(nullptr, array.GetAt(4));
  EXPECT_EQ(nullptr, array.GetAt(-1));
  EXPECT_EQ(P(40), array.GetAt(3));

  EXPECT_FALSE(array.Remove(4));
  EXPECT_FALSE(array.Remove(-1));
  EXPECT_TRUE(array.Remove(1));
  EXPECT_EQ((std::vector<int>{1, 3, 40}), Items(array));
  EXPECT_TRUE(array.Remove(2));
  EXPECT_TRUE(array.Remove(0));
  EXPECT_EQ((std::vector<int>{3}), Items(array));
  EXPECT_EQ(1, array.GetSize());
}

TEST(StdPtrArray, InsertingGrowsLikeAdding) {
  CStdPtrArray array;
  for (int i = 0; i < 30; ++i) ASSERT_TRUE(array.InsertAt(0, P(i)));
  EXPECT_EQ(44u, Slots(array.GetData(), sizeof(void*)));
  for (int i = 0; i < 30; ++i) ASSERT_EQ(P(29 - i), array[i]);
}

TEST(StdPtrArray, FindGivesTheFirstEqualPointer) {
  CStdPtrArray array;
  array.Add(P(5));
  array.Add(nullptr);
  array.Add(P(5));
  EXPECT_EQ(0, array.Find(P(5)));
  EXPECT_EQ(1, array.Find(nullptr));
  EXPECT_EQ(-1, array.Find(P(6)));
  EXPECT_EQ(-1, CStdPtrArray().Find(nullptr));
}

TEST(StdPtrArray, EmptyFreesAndResizeZeroes) {
  CStdPtrArray array;
  for (int i = 1; i <= 5; ++i) array.Add(P(i));
  array.Empty();
  EXPECT_EQ(0, array.GetSize());
  EXPECT_EQ(nullptr, array.GetData());
  array.Add(P(7));
  EXPECT_EQ(11u, Slots(array.GetData(), sizeof(void*)));

  array.Resize(4);
  EXPECT_EQ(4, array.GetSize());
  EXPECT_EQ(4u, Slots(array.GetData(), sizeof(void*)));
  EXPECT_EQ((std::vector<int>{0, 0, 0, 0}), Items(array));
  array.Add(P(8));  // count reaches the capacity at once: it doubles
  EXPECT_EQ(8u, Slots(array.GetData(), sizeof(void*)));
  EXPECT_EQ((std::vector<int>{0, 0, 0, 0, 8}), Items(array));
  array.Resize(0);
  EXPECT_EQ(0, array.GetSize());
  EXPECT_EQ(nullptr, array.GetData());
  array.Resize(-3);
  EXPECT_EQ(0, array.GetSize());
}

TEST(StdPtrArray, CopiesAreIndependent) {
  CStdPtrArray source;
  for (int i = 1; i <= 12; ++i) source.Add(P(i));
  CStdPtrArray copy(source);
  EXPECT_EQ(Items(source), Items(copy));
  EXPECT_NE(source.GetData(), copy.GetData());
  copy.SetAt(0, P(100));
  EXPECT_EQ(P(1), source[0]);
  CStdPtrArray assigned;
  assigned.Add(P(50));
  assigned = source;
  EXPECT_EQ(Items(source), Items(assigned));
  assigned = assigned;
  EXPECT_EQ(Items(source), Items(assigned));
  CStdPtrArray empty;
  CStdPtrArray emptyCopy(empty);
  EXPECT_TRUE(emptyCopy.IsEmpty());
}

struct Record {
  int id;
  char name[10];
  double weight;
};

TEST(StdValArray, CopiesRecordsAndGrowsLikeThePointerArray) {
  CStdValArray array(sizeof(Record));
  EXPECT_TRUE(array.IsEmpty());
  for (int i = 0; i < 25; ++i) {
    Record record = {i, "rec", i * 1.5};
    ASSERT_TRUE(array.Add(&record));
    record.id = -1;  // the array holds its own copy
    size_t expected = i + 1 < 11 ? 11 : i + 1 < 22 ? 22 : 44;
    ASSERT_EQ(expected, Slots(array.GetData(), sizeof(Record))) << i;
  }
  EXPECT_EQ(25, array.GetSize());
  for (int i = 0; i < 25; ++i) {
    const Record* record = static_cast<const Record*>(array.GetAt(i));
    ASSERT_NE(nullptr, record);
    EXPECT_EQ(i, record->id);
    EXPECT_STREQ("rec", record->name);
    EXPECT_EQ(i * 1.5, record->weight);
    EXPECT_EQ(record, array[i]);
  }
  EXPECT_EQ(nullptr, array.GetAt(25));
  EXPECT_EQ(nullptr, array.GetAt(-1));
  EXPECT_FALSE(array.Add(nullptr));
  EXPECT_EQ(25, array.GetSize());
}

TEST(StdValArray, RemoveShiftsAndEmptyKeepsTheStorage) {
  CStdValArray array(sizeof(int), 2);
  EXPECT_EQ(2u, Slots(array.GetData(), sizeof(int)));
  for (int value : {10, 20, 30, 40}) array.Add(&value);
  EXPECT_FALSE(array.Remove(4));
  EXPECT_FALSE(array.Remove(-1));
  EXPECT_TRUE(array.Remove(1));
  EXPECT_TRUE(array.Remove(2));
  ASSERT_EQ(2, array.GetSize());
  EXPECT_EQ(10, *static_cast<int*>(array[0]));
  EXPECT_EQ(30, *static_cast<int*>(array[1]));

  void* storage = array.GetData();
  const size_t slots = Slots(storage, sizeof(int));
  array.Empty();
  EXPECT_TRUE(array.IsEmpty());
  EXPECT_EQ(storage, array.GetData());
  EXPECT_EQ(slots, Slots(array.GetData(), sizeof(int)));
  EXPECT_EQ(nullptr, array.GetAt(0));
  const int value = 77;
  array.Add(&value);
  EXPECT_EQ(77, *static_cast<int*>(array.GetAt(0)));
}

TEST(StdValArray, ASizelessArrayTakesNothing) {
  CStdValArray array(0, 5);
  const int value = 1;
  EXPECT_FALSE(array.Add(&value));
  EXPECT_EQ(0, array.GetSize());
}

// Keys that land in the same bucket of a 16-bucket map: the hash over
// "a" + one character differs by that character, so characters 16 apart
// collide.
const wchar_t* const kCollidingKeys[] = {L"ka", L"kq", L"k\u0081", L"k\u0091"};

std::vector<std::wstring> Keys(const CStdStringPtrMap& map) {
  std::vector<std::wstring> keys;
  for (int i = 0; i < map.GetSize(); ++i) keys.push_back(map.GetAt(i));
  return keys;
}

TEST(StdStringPtrMap, TheHashRunsFromTheLastCharacterToTheFirst) {
  EXPECT_EQ(0u, CStdStringPtrMap::HashKey(L""));
  EXPECT_EQ(0u, CStdStringPtrMap::HashKey(nullptr));
  EXPECT_EQ(97u, CStdStringPtrMap::HashKey(L"a"));
  // "ab": b first, then a: 98 * 33 + 97.
  EXPECT_EQ(98u * 33 + 97, CStdStringPtrMap::HashKey(L"ab"));
  EXPECT_EQ((99u * 33 + 98) * 33 + 97, CStdStringPtrMap::HashKey(L"abc"));
  // Units are taken unsigned, and the value wraps at 32 bits.
  unsigned int expected = 0;
  const std::wstring key(20, L'\uFFFF');
  for (size_t i = 0; i < key.size(); ++i) expected = expected * 33u + 0xFFFFu;
  EXPECT_EQ(expected, CStdStringPtrMap::HashKey(key.c_str()));
  for (const wchar_t* key : kCollidingKeys)
    EXPECT_EQ(CStdStringPtrMap::HashKey(L"ka") % 16, CStdStringPtrMap::HashKey(key) % 16);
}

TEST(StdStringPtrMap, BucketCountsBelowSixteenAreRaised) {
  struct Case {
    int requested;
    int expected;
  };
  for (const Case& c : {Case{5, 16}, Case{0, 16}, Case{-3, 16}, Case{15, 16}, Case{16, 16},
                        Case{17, 17}, Case{83, 83}}) {
    CStdStringPtrMap map(c.requested);
    EXPECT_EQ(c.expected, map.GetBucketCount()) << c.requested;
  }
  EXPECT_EQ(83, CStdStringPtrMap().GetBucketCount());
}

TEST(StdStringPtrMap, InsertFindSetRemove) {
  CStdStringPtrMap map;
  EXPECT_EQ(nullptr, map.Find(L"x"));
  EXPECT_TRUE(map.Insert(L"font", P(1)));
  EXPECT_TRUE(map.Insert(L"image", P(2)));
  EXPECT_FALSE(map.Insert(L"font", P(3)));
  EXPECT_EQ(P(1), map.Find(L"font"));
  EXPECT_EQ(nullptr, map.Find(L"Font"));  // keys are case-sensitive
  EXPECT_EQ(2, map.GetSize());

  EXPECT_EQ(P(1), map.Set(L"font", P(4)));
  EXPECT_EQ(P(4), map.Find(L"font"));
  EXPECT_EQ(nullptr, map.Set(L"default", P(5)));
  EXPECT_EQ(P(5), map.Find(L"default"));
  EXPECT_EQ(3, map.GetSize());

  EXPECT_TRUE(map.Remove(L"image"));
  EXPECT_FALSE(map.Remove(L"image"));
  EXPECT_EQ(nullptr, map.Find(L"image"));
  EXPECT_EQ(2, map.GetSize());

  EXPECT_FALSE(map.Insert(nullptr, P(1)));
  EXPECT_EQ(nullptr, map.Find(nullptr));
  EXPECT_FALSE(map.Remove(nullptr));
  EXPECT_TRUE(map.Insert(L"", P(6)));
  EXPECT_EQ(P(6), map.Find(L""));
}

TEST(StdStringPtrMap, AKeyWithANullValueIsStillPresent) {
  CStdStringPtrMap map;
  EXPECT_TRUE(map.Insert(L"group", nullptr));
  EXPECT_FALSE(map.Insert(L"group", P(1)));
  EXPECT_EQ(1, map.GetSize());
  EXPECT_EQ(nullptr, map.Set(L"group", P(2)));
  EXPECT_EQ(P(2), map.Find(L"group"));
  EXPECT_EQ(1, map.GetSize());
}

TEST(StdStringPtrMap, LongKeysAreKeptWhole) {
  CStdStringPtrMap map;
  const std::wstring longKey(300, L'k');
  EXPECT_TRUE(map.Insert(longKey.c_str(), P(1)));
  EXPECT_EQ(P(1), map.Find(longKey.c_str()));
  EXPECT_EQ(nullptr, map.Find(longKey.substr(1).c_str()));
  EXPECT_EQ(longKey, map.GetAt(0));
}

TEST(StdStringPtrMap, InsertionsGoToTheFrontAndFindsMoveHitsThere) {
  CStdStringPtrMap map(16);
  for (const wchar_t* key : kCollidingKeys) ASSERT_TRUE(map.Insert(key, P(1)));
  // One chain: the newest first.
  EXPECT_EQ((std::vector<std::wstring>{L"k\u0091", L"k\u0081", L"kq", L"ka"}), Keys(map));

  EXPECT_EQ(P(1), map.Find(L"kq", false));
  EXPECT_EQ((std::vector<std::wstring>{L"k\u0091", L"k\u0081", L"kq", L"ka"}), Keys(map));
  EXPECT_EQ(P(1), map.Find(L"kq"));
  EXPECT_EQ((std::vector<std::wstring>{L"kq", L"k\u0091", L"k\u0081", L"ka"}), Keys(map));
  EXPECT_EQ(P(1), map.Find(L"ka"));  // the tail
  EXPECT_EQ((std::vector<std::wstring>{L"ka", L"kq", L"k\u0091", L"k\u0081"}), Keys(map));
  EXPECT_EQ(P(1), map.Find(L"ka"));  // already at the front
  EXPECT_EQ((std::vector<std::wstring>{L"ka", L"kq", L"k\u0091", L"k\u0081"}), Keys(map));
  // The chain's back links followed the moves: removing from every
  // position leaves the rest reachable.
  EXPECT_TRUE(map.Remove(L"kq"));
  EXPECT_TRUE(map.Remove(L"k\u0081"));
  EXPECT_TRUE(map.Remove(L"ka"));
  EXPECT_EQ((std::vector<std::wstring>{L"k\u0091"}), Keys(map));
  EXPECT_EQ(P(1), map.Find(L"k\u0091"));
}

TEST(StdStringPtrMap, IterationRunsFromTheHighestBucketDown) {
  CStdStringPtrMap map(16);
  // Single characters hash to their code: bucket = code % 16.
  for (const wchar_t* key : {L"!", L"a", L"\"", L"o", L"A"}) map.Insert(key, P(1));
  // '!' 33 -> 1, 'a' 97 -> 1, '"' 34 -> 2, 'o' 111 -> 15, 'A' 65 -> 1.
  EXPECT_EQ((std::vector<std::wstring>{L"o", L"\"", L"A", L"a", L"!"}), Keys(map));
  EXPECT_EQ(nullptr, map.GetAt(5));
  EXPECT_EQ(nullptr, map.GetAt(-1));
  EXPECT_STREQ(L"o", map[0]);
}

TEST(StdStringPtrMap, RemovingEveryKeyWhileWalkingTheIteration) {
  CStdStringPtrMap map(16);
  std::vector<std::wstring> inserted;
  for (int i = 0; i < 100; ++i) {
    inserted.push_back(L"name" + std::to_wstring(i));
    ASSERT_TRUE(map.Insert(inserted.back().c_str(), P(i + 1)));
  }
  // Look up every key once (reordering chains), then remove each key as
  // it is reached: the first item is always the next one.
  for (const std::wstring& key : inserted)
    ASSERT_EQ(P(std::stoi(key.substr(4)) + 1), map.Find(key.c_str()));
  int removed = 0;
  while (map.GetSize() > 0) {
    const std::wstring key = map.GetAt(0);
    ASSERT_TRUE(map.Remove(key.c_str())) << key;
    ASSERT_EQ(nullptr, map.Find(key.c_str()));
    ++removed;
  }
  EXPECT_EQ(100, removed);
  EXPECT_EQ(nullptr, map.GetAt(0));
}

TEST(StdStringPtrMap, ResizeAndRemoveAllDropEveryItem) {
  CStdStringPtrMap map;
  for (int i = 0; i < 30; ++i) map.Insert((L"k" + std::to_wstring(i)).c_str(), P(i));
  map.RemoveAll();
  EXPECT_EQ(0, map.GetSize());
  EXPECT_EQ(83, map.GetBucketCount());
  EXPECT_EQ(nullptr, map.Find(L"k1"));
  EXPECT_TRUE(map.Insert(L"k1", P(1)));

  map.Resize(7);  // no minimum here
  EXPECT_EQ(7, map.GetBucketCount());
  EXPECT_EQ(0, map.GetSize());
  EXPECT_TRUE(map.Insert(L"k1", P(2)));
  EXPECT_EQ(P(2), map.Find(L"k1"));

  map.Resize(-1);
  EXPECT_EQ(0, map.GetBucketCount());
  EXPECT_FALSE(map.Insert(L"k1", P(1)));
  EXPECT_EQ(nullptr, map.Set(L"k1", P(1)));
  EXPECT_EQ(0, map.GetSize());
  EXPECT_EQ(nullptr, map.Find(L"k1"));
  EXPECT_EQ(nullptr, map.GetAt(0));
  EXPECT_FALSE(map.Remove(L"k1"));
  map.RemoveAll();
  EXPECT_EQ(0, map.GetBucketCount());
}

}  // namespace
