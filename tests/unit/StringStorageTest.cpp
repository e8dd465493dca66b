#include "core/String.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

TEST(StringStorage, EmptyStringHasNoBufferButAnEmptyCString) {
    String s;
    EXPECT_EQ(s.capacity(), 0);
    EXPECT_EQ(s.length(), 0);
    ASSERT_NE(s.c_str(), nullptr);
    EXPECT_STREQ(s.c_str(), "");
    EXPECT_TRUE(s.isEmpty());
    EXPECT_EQ(s.detach(), nullptr);

    String fromNull(static_cast<const char*>(nullptr));
    EXPECT_STREQ(fromNull.c_str(), "");
    EXPECT_EQ(fromNull.capacity(), 0);
}

TEST(StringStorage, GrowsWithThirtyTwoSpareBytesAndShrinksOnlyPast512) {
    String s;
    s.setLength(1);
    EXPECT_EQ(s.capacity(), 34);
    s.setLength(33);
    EXPECT_EQ(s.capacity(), 34) << "33 bytes and the terminator still fit";
    s.setLength(34);
    EXPECT_EQ(s.capacity(), 67);

    s.setLength(967);
    ASSERT_EQ(s.capacity(), 1000);
    s.setLength(600);
    EXPECT_EQ(s.capacity(), 1000) << "400 spare bytes are kept";
    s.setLength(488);
    EXPECT_EQ(s.capacity(), 1000) << "exactly 512 spare bytes are kept";
    s.setLength(487);
    EXPECT_EQ(s.capacity(), 520);

    s.setLength(967);
    s.setLength(100);
    EXPECT_EQ(s.capacity(), 133);
    EXPECT_EQ(s.c_str()[100], '\0');

    s.setLength(0);
    EXPECT_EQ(s.capacity(), 0);
    EXPECT_STREQ(s.c_str(), "");
    s.setLength(5);
    s.setLength(-3);
    EXPECT_EQ(s.capacity(), 0);
    EXPECT_EQ(s.length(), 0);
}

TEST(StringStorage, ContentSurvivesGrowthAndShrinking) {
    String s;
    for (int i = 0; i < 5000; ++i)
        s.append(static_cast<char>('a' + i % 26));
    ASSERT_EQ(s.length(), 5000);
    s.setLength(30);
    EXPECT_STREQ(s.c_str(), "abcdefghijklmnopqrstuvwxyzabcd");
}

TEST(StringStorage, EnsureLengthOnlyRaisesWithinTheBuffer) {
    String s("abcdef");
    const int capacity = s.capacity();
    s.ensureLength(3);
    EXPECT_STREQ(s.c_str(), "abcdef") << "never shortens while the buffer holds it";
    s.ensureLength(capacity - 1);
    EXPECT_EQ(s.length(), capacity - 1);
    EXPECT_EQ(s.capacity(), capacity);
    EXPECT_EQ(s.c_str()[capacity - 1], '\0');
    s.ensureLength(capacity);
    EXPECT_EQ(s.capacity(), capacity + 33);
}

TEST(StringStorage, GrowReturnsTheOldEndAndShrinkClamps) {
    String s("abc");
    char* end = s.grow(3);
    std::memcpy(end, "def", 3);
    EXPECT_STREQ(s.c_str(), "abcdef");
    EXPECT_EQ(s.grow(0), s.c_str() + 6);
    s.shrink(2);
    EXPECT_STREQ(s.c_str(), "abcd");
    s.shrink(-1);
    EXPECT_STREQ(s.c_str(), "abcd");
    s.shrink(10);
    EXPECT_EQ(s.capacity(), 0);
}

TEST(StringStorage, BinaryContentKeepsItsLength) {
    const char bytes[] = {'a', '\0', 'b', '\0', 'c'};
    String s(bytes, 5);
    EXPECT_EQ(s.length(), 5);
    EXPECT_EQ(s.charAt(4), 'c');
    EXPECT_STREQ(s.c_str(), "a");
    String copy(s);
    EXPECT_TRUE(copy.equalsString(s));
    EXPECT_FALSE(copy.equalsString(String("a")));
}

TEST(StringStorage, AssignFormsAndLengths) {
    String s;
    s.assignBytes("abcdef", kWholeText);
    EXPECT_STREQ(s.c_str(), "abcdef");
    s.assignBytes("xyz", 2);
    EXPECT_STREQ(s.c_str(), "xy");
    s.assignBytes(nullptr, 4);
    EXPECT_EQ(s.capacity(), 0);
    s.assignBytes("xyz", 0);
    EXPECT_EQ(s.capacity(), 0);
    s.assignPrefix("hello", 3);
    EXPECT_STREQ(s.c_str(), "hel");
    s.assignPrefix("hi", 10);
    EXPECT_EQ(s.length(), 2);
    s.assign(static_cast<const char*>(nullptr));
    EXPECT_TRUE(s.isEmpty());
}

TEST(StringStorage, AssigningFromItsOwnBufferIsSafe) {
    String s("0123456789");
    const char* before = s.c_str();
    s.assign(s);
    EXPECT_EQ(s.c_str(), before) << "whole self-assignment is a no-op";
    s = s;
    EXPECT_STREQ(s.c_str(), "0123456789");

    s.assignBytes(s.c_str() + 3, 4);
    EXPECT_STREQ(s.c_str(), "3456");
    EXPECT_EQ(s.capacity(), 4 + 33);
    s.assign(s.c_str() + 1);
    EXPECT_STREQ(s.c_str(), "456");
}

TEST(StringStorage, CopyAndMove) {
    String a("payload");
    String b(a);
    b.append('!');
    EXPECT_STREQ(a.c_str(), "payload");
    String c(std::move(b));
    EXPECT_STREQ(c.c_str(), "payload!");
    EXPECT_EQ(b.capacity(), 0); // NOLINT(bugprone-use-after-move): moved-from is empty
    a = std::move(c);
    EXPECT_STREQ(a.c_str(), "payload!");
    a = "text";
    EXPECT_STREQ(a.c_str(), "text");
}

TEST(StringStorage, AdoptAndDetachHandOverTheBuffer) {
    char* buffer = static_cast<char*>(std::malloc(4));
    std::memcpy(buffer, "wxyz", 4);
    String s;
    s.adopt(buffer, 4);
    EXPECT_STREQ(s.c_str(), "wxyz");
    EXPECT_EQ(s.capacity(), 5);
    s.append('!');
    char* out = s.detach();
    EXPECT_STREQ(out, "wxyz!");
    EXPECT_EQ(s.length(), 0);
    EXPECT_EQ(s.capacity(), 0);
    std::free(out);

    s.assign("old");
    s.adopt(static_cast<char*>(std::malloc(8)), 0);
    EXPECT_TRUE(s.isEmpty()) << "an empty buffer is freed and leaves the string empty";
}

TEST(StringStorage, NoFailFormsRefuseImpossibleSizesAndKeepTheContent) {
    String s("keep me");
    EXPECT_FALSE(s.setLengthNoFail(0x7FFFFFF0));
    EXPECT_STREQ(s.c_str(), "keep me");
    EXPECT_FALSE(s.assignBytesNoFail("x", 0x7FFFFFF0));
    EXPECT_STREQ(s.c_str(), "keep me");
    EXPECT_TRUE(s.setLengthNoFail(4));
    EXPECT_STREQ(s.c_str(), "keep");
    EXPECT_TRUE(s.assignBytesNoFail("abc", 3));
    EXPECT_STREQ(s.c_str(), "abc");
    EXPECT_TRUE(s.assignBytesNoFail(s.c_str() + 1, 2));
    EXPECT_STREQ(s.c_str(), "bc");
}

#ifdef _WIN32
TEST(StringStorage, NoFailReportsARealAllocationFailure) {
    // A 32-bit process has no 1.75 GB block to give.
    String s("keep me");
    EXPECT_FALSE(s.setLengthNoFail(0x70000000));
    EXPECT_STREQ(s.c_str(), "keep me");
}
#endif

TEST(StringStorageDeathTest, OrdinaryGrowthPastTheLimitIsOutOfMemory) {
    String s("x");
    EXPECT_DEATH(s.setLength(0x7FFFFFF0), "Requested size = 2147483665");
}

TEST(StringStorageDeathTest, WritablePointerOutsideTheStringIsAnInternalError) {
    String s("abc");
    EXPECT_EQ(s.writablePointer(0), s.c_str());
    EXPECT_EQ(s.writablePointer(3), s.c_str() + 3);
    const char* expected = "Internal Fatal Error\r\nModule: qx_core\r\nLine: 9296";
    EXPECT_DEATH(s.writablePointer(4), expected);
    EXPECT_DEATH(s.writablePointer(-1), expected);
    String empty;
    EXPECT_DEATH(empty.writablePointer(0), expected);
}

} // namespace
