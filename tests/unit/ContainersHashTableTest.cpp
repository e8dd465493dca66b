#include "core/HashTable.h"
#include "core/String.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

template <class V, class K> std::vector<K> keysNewestFirst(HashTable<V, K>& table) {
    std::vector<K> keys;
    for (const auto& entry : table)
        keys.push_back(entry.key());
    return keys;
}

TEST(HashTable, SameKeyTwiceReplacesTheValueAndKeepsOneEntry) {
    HashTable<int, String> table;
    table.setBucketCount(40);
    EXPECT_TRUE(table.insert("C:\\PROGRAM FILES\\APP\\A.DLL", 1));
    EXPECT_FALSE(table.insert("C:\\PROGRAM FILES\\APP\\A.DLL", 2));
    EXPECT_EQ(table.count(), 1);
    ASSERT_NE(table.first(), nullptr);
    EXPECT_EQ(table.first()->value(), 2);
    EXPECT_EQ(*table.find("C:\\PROGRAM FILES\\APP\\A.DLL"), 2);
}

TEST(HashTable, WithoutBucketsNothingGoesIn) {
    HashTable<bool, String> table;
    EXPECT_FALSE(table.insert("x", true));
    table.setBucketCount(-3);
    EXPECT_EQ(table.bucketCount(), 0);
    EXPECT_FALSE(table.insert("x", true));
    EXPECT_EQ(table.count(), 0);
    EXPECT_EQ(table.find("x"), nullptr);
}

TEST(HashTable, StringKeysCompareLengthAndBytesExactly) {
    HashTable<int, String> table;
    table.setBucketCount(7);
    const String keys[] = {"path", "PATH", "pat", String("pa\0h", 4), String("pa\0x", 4), ""};
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(table.insert(keys[i], i)) << i;
    EXPECT_EQ(table.count(), 6);
    for (int i = 0; i < 6; ++i) {
        ASSERT_NE(table.find(keys[i]), nullptr) << i;
        EXPECT_EQ(*table.find(keys[i]), i) << i;
    }
    EXPECT_FALSE(table.contains("Path"));
}

// Every key lands in the one chain: lookups must still find the right one.
TEST(HashTable, ASingleBucketChainsEveryEntry) {
    HashTable<int, int> table;
    table.setBucketCount(1);
    for (int key = -50; key < 50; ++key)
        EXPECT_TRUE(table.insert(key, key * 10));
    EXPECT_FALSE(table.insert(-7, 0));
    EXPECT_EQ(table.count(), 100);
    EXPECT_EQ(*table.find(-7), 0);
    EXPECT_EQ(*table.find(49), 490);
    EXPECT_EQ(table.find(50), nullptr);
}

TEST(HashTable, IteratesNewestFirstAndBackOldestFirst) {
    HashTable<bool, int> table;
    table.setBucketCount(3);
    for (int key : {10, 11, 12, 13, 14})
        table.insert(key, true);
    table.insert(12, false); // a replaced value keeps its entry's place
    EXPECT_EQ(keysNewestFirst(table), (std::vector<int>{14, 13, 12, 11, 10}));
    std::vector<int> back;
    Iterator it;
    for (auto* entry = table.backward(it); entry; entry = table.previous(it))
        back.push_back(entry->key());
    EXPECT_EQ(back, (std::vector<int>{10, 11, 12, 13, 14}));
    EXPECT_EQ(table.last()->key(), 10);
}

TEST(HashTable, ClearKeepsTheBucketsSettingThemEmptiesTheTable) {
    HashTable<bool, String> table;
    table.setBucketCount(40);
    table.insert("A", true);
    table.insert("B", true);
    table.clear();
    EXPECT_EQ(table.count(), 0);
    EXPECT_EQ(table.bucketCount(), 40);
    EXPECT_EQ(table.first(), nullptr);
    EXPECT_TRUE(table.insert("A", true));
    table.setBucketCount(40);
    EXPECT_EQ(table.count(), 0);
    EXPECT_TRUE(table.insert("A", true));
    EXPECT_EQ(keysNewestFirst(table).size(), 1u);
}

TEST(HashTable, CopiesKeepTheOrderAndStandAlone) {
    HashTable<int, int> original;
    original.setBucketCount(5);
    for (int key : {3, 1, 4, 1, 5, 9, 2, 6})
        original.insert(key, key);
    HashTable<int, int> copy(original);
    EXPECT_EQ(keysNewestFirst(copy), keysNewestFirst(original));
    copy.insert(100, 0);
    EXPECT_EQ(original.find(100), nullptr);
    original.clear();
    EXPECT_EQ(copy.count(), 8);
    HashTable<int, int> moved(std::move(copy));
    EXPECT_EQ(keysNewestFirst(moved), (std::vector<int>{100, 6, 2, 9, 5, 4, 1, 3}));
}

TEST(HashTable, HandlersByTypeCode) {
    static unsigned seen;
    HashTable<void (*)(unsigned), unsigned> handlers;
    handlers.setBucketCount(8);
    handlers.insert(7u, [](unsigned code) { seen = code; });
    (*handlers.find(7u))(7u);
    EXPECT_EQ(seen, 7u);
}

TEST(HashTableDeathTest, AddingWithoutAKeyIsAnInternalError) {
    HashTable<bool, String> table;
    table.setBucketCount(4);
    Sequence<Bucket<bool, String>>& entries = table;
    const Bucket<bool, String> loose("x", true);
    EXPECT_DEATH(entries.append(loose),
                 "FATAL ERROR: Internal Fatal Error\r\nModule: qx_core\r\nLine: 2481");
    EXPECT_DEATH(entries.rotate(1), "Internal Fatal Error\r\nModule: qx_core\r\nLine: 6308");
}

} // namespace
