#include "core/String.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string text(const String& s) {
    return std::string(s.c_str(), size_t(s.length()));
}

struct SpliceCase {
    const char* name;
    const char* before;
    int pos;
    int removeCount;
    const char* source;
    int sourceLength;
    bool result;
    const char* after;
};

TEST(StringSplice, Rules) {
    const SpliceCase cases[] = {
        {"insert in the middle", "abcdef", 3, 0, "XY", 2, true, "abcXYdef"},
        {"replace shorter", "abcdef", 1, 3, "X", 1, true, "aXef"},
        {"replace longer", "abcdef", 1, 1, "WXYZ", 4, true, "aWXYZcdef"},
        {"remove only", "abcdef", 2, 2, nullptr, 0, true, "abef"},
        {"remove count clamped to the end", "abcdef", 4, 100, "", 0, true, "abcd"},
        {"replace through the end resizes", "abcdef", 4, 9, "XYZ", 3, true, "abcdXYZ"},
        {"append at the length", "abc", 3, 0, "de", 2, true, "abcde"},
        {"into an empty string", "", 0, 0, "xy", 2, true, "xy"},
        {"remove everything", "abc", 0, 3, nullptr, 0, true, ""},
        {"null source counts as nothing", "abc", 1, 1, nullptr, 5, true, "ac"},
        {"position below 0", "abc", -1, 1, "x", 1, false, "abc"},
        {"position past the end", "abc", 4, 0, "x", 1, false, "abc"},
        {"nothing to remove, nothing to insert", "abc", 1, 0, "x", 0, false, "abc"},
        {"negative remove with no source", "abc", 1, -2, nullptr, 0, false, "abc"},
        {"remove with a negative source length", "abc", 1, 1, "x", -1, false, "abc"},
    };
    for (const auto& c : cases) {
        String s(c.before);
        EXPECT_EQ(s.splice(c.pos, c.removeCount, c.source, c.sourceLength), c.result) << c.name;
        EXPECT_EQ(text(s), c.after) << c.name;
        if (s.length() == 0)
            EXPECT_EQ(s.capacity(), 0) << c.name;
        else
            EXPECT_EQ(s.c_str()[s.length()], '\0') << c.name;
    }
}

TEST(StringSplice, SourceInsideTheStringItself) {
    String s("abcdefghij");
    // The source moves with the tail and the buffer is reallocated: it must be copied first.
    s.splice(2, 0, s.c_str() + 4, 3);
    EXPECT_EQ(text(s), "abefgcdefghij");
    String big;
    big.insertChars('.', 0, 40);
    big.splice(0, 0, big.c_str(), 40);
    EXPECT_EQ(text(big), std::string(80, '.'));
    String self("xy");
    self.append(self);
    self.append(self);
    EXPECT_EQ(text(self), "xyxyxyxy");
}

TEST(StringAppend, FormsAndOperators) {
    String s;
    s.append('a');
    s.append("bc");
    s.append(String("de"));
    s.appendBytes("f\0g", 3);
    EXPECT_EQ(text(s), std::string("abcdef\0g", 8));
    s.append(static_cast<const char*>(nullptr));
    s.appendBytes("zz", 0);
    EXPECT_EQ(s.length(), 8);

    const String x("x");
    EXPECT_EQ(text(x + 'y'), "xy");
    EXPECT_EQ(text(x + "yz"), "xyz");
    EXPECT_EQ(text(x + String("w")), "xw");
    EXPECT_EQ(text("v" + x), "vx");
    EXPECT_EQ(text(String() + String()), "");
    EXPECT_EQ((String() + String()).capacity(), 0);
    String y("a");
    y += 'b';
    y += "c";
    y += y;
    EXPECT_TRUE(y == "abcabc");
    EXPECT_TRUE(y != String("abc"));
}

TEST(StringInsert, PrependInsertAndLineBreaks) {
    String s("world");
    s.prepend("hello ");
    EXPECT_EQ(text(s), "hello world");
    EXPECT_TRUE(s.insert(5, ",XYZ", 1));
    EXPECT_EQ(text(s), "hello, world");
    EXPECT_FALSE(s.insert(50, "x"));
    EXPECT_TRUE(s.insertChars('-', 0, 3));
    EXPECT_EQ(text(s), "---hello, world");
    EXPECT_FALSE(s.insertChars('-', 0, 0));

    String path("dir");
    path.prependCharOnce('\\');
    path.prependCharOnce('\\');
    EXPECT_EQ(text(path), "\\dir");

    String line("a");
    EXPECT_TRUE(line.appendLineBreakIfMissing());
    EXPECT_FALSE(line.appendLineBreakIfMissing());
    EXPECT_EQ(text(line), "a\r\n");
    String lf("b\n");
    EXPECT_FALSE(lf.appendLineBreakIfMissing());
}

TEST(StringErase, CuttingAndRemoving) {
    String s("abcdefgh");
    EXPECT_TRUE(s.erase(1, 2));
    EXPECT_EQ(text(s), "adefgh");
    EXPECT_FALSE(s.erase(1, 0));
    EXPECT_TRUE(s.truncate(4));
    EXPECT_EQ(text(s), "adef");
    EXPECT_FALSE(s.truncate(4));
    EXPECT_EQ(s.removeFirst(1), 1);
    EXPECT_EQ(s.removeLast(1), 1);
    EXPECT_EQ(text(s), "de");
    EXPECT_EQ(s.removeLast(9), 2);
    EXPECT_EQ(s.capacity(), 0);
    EXPECT_EQ(s.removeFirst(3), 0);

    String q("\"x\"");
    EXPECT_TRUE(q.removeLeadingChar('"'));
    EXPECT_FALSE(q.removeLeadingChar('"'));
    EXPECT_TRUE(q.removeTrailingChar('"'));
    EXPECT_EQ(text(q), "x");

    String run("path\\\\\\");
    EXPECT_EQ(run.removeTrailingRun('\\'), 3);
    EXPECT_EQ(text(run), "path");

    String cut("name=value=x");
    EXPECT_TRUE(cut.truncateAtChar('='));
    EXPECT_EQ(text(cut), "name");
    EXPECT_FALSE(cut.truncateAtChar('='));
}

TEST(StringErase, RemovingCharactersAndSubstrings) {
    String s("a-b-c-d");
    EXPECT_EQ(s.removeChar('-', 2, kWholeText), 2);
    EXPECT_EQ(text(s), "a-bcd");
    EXPECT_EQ(s.removeChar('-', -5, 0), 0) << "nothing to look at";
    EXPECT_EQ(s.removeChar('-', 9, kWholeText), 0);
    EXPECT_EQ(s.removeChar('-', -5, 1), 1);

    String t("xAbaBxab");
    EXPECT_EQ(t.removeSubstrings("AB", 2, false), 2);
    EXPECT_EQ(text(t), "xxab");
    String again("aabb");
    EXPECT_EQ(again.removeSubstrings("ab", 5, true), 1)
        << "the search goes on at the removal point, not before it";
    EXPECT_EQ(text(again), "ab");

    String u("Hello, \"W o r l d\" x y");
    EXPECT_EQ(u.removeChars(" o", 0, kFindSkipQuoted), 4);
    EXPECT_EQ(text(u), "Hell,\"W o r l d\"xy");
    String v("AbcABC");
    EXPECT_EQ(v.removeChars("ab", 1, kFindNoCase), 3);
    EXPECT_EQ(text(v), "AcC");
    EXPECT_EQ(v.removeChars("", 0, 0), 0);
}

TEST(StringEdit, RemoveCharsFlags) {
    struct Case {
        const char* text;
        const char* set;
        int start;
        int flags;
        int removed;
        const char* result;
    } cases[] = {
        {"C:\\dir\r\n\tx", "\\\r\n\t", 0, 0, 4, "C:dirx"},
        {"a-b-c", "-", 0, kRemoveCharsFirstOnly, 1, "ab-c"},
        {"a-b-c", "-", 4, kFindBackward | kRemoveCharsFirstOnly, 1, "a-bc"},
        {"a-b-c", "-", 99, kFindBackward, 2, "abc"},
        {"a-b-c", "-", 2, kFindBackward, 1, "ab-c"},
        {"  x y ", " ", 0, kRemoveCharsLeadingOnly, 2, "x y "},
        {"  x y  ", " ", 99, kFindBackward | kRemoveCharsLeadingOnly, 2, "  x y"},
        {"a1b2c3", "0123456789", 0, kRemoveCharsNotInSet, 3, "123"},
        {"abc", "", 0, kRemoveCharsNotInSet, 3, ""},
        {"xXyY", "x", 0, kFindNoCase | kRemoveCharsNotInSet, 2, "xX"},
        {"a \"b c\" d", " ", 0, kFindSkipQuoted | kRemoveCharsFirstOnly, 1, "a\"b c\" d"},
        {"", "x", 0, 0, 0, ""},
    };
    for (const Case& c : cases) {
        String s(c.text);
        EXPECT_EQ(s.removeChars(c.set, c.start, c.flags), c.removed)
            << c.text << " flags 0x" << std::hex << c.flags;
        EXPECT_EQ(text(s), c.result) << c.text << " flags 0x" << std::hex << c.flags;
    }
}

TEST(StringTrim, WhiteSpaceAndSets) {
    String s(" \t\r\n text \r\n");
    EXPECT_EQ(s.trim(), 8);
    EXPECT_EQ(text(s), "text");
    String all(" \t ");
    EXPECT_EQ(all.trimLeft(), 3);
    EXPECT_EQ(all.capacity(), 0);
    String r("x  ");
    EXPECT_EQ(r.trimRight(), 2);
    String set("--==value==");
    EXPECT_EQ(set.trimLeftSet("-="), 4);
    EXPECT_EQ(set.trimRightSet("="), 2);
    EXPECT_EQ(text(set), "value");

    EXPECT_TRUE(String(" \r\n\t").isBlank());
    EXPECT_TRUE(String().isBlank());
    EXPECT_FALSE(String(" x ").isBlank());
    EXPECT_TRUE(String("a b").containsWhiteSpace());
    EXPECT_FALSE(String("a_b").containsWhiteSpace());
}

TEST(StringQuote, StripEnclosingAndQuote) {
    struct Case {
        const char* before;
        bool result;
        const char* after;
    };
    const Case cases[] = {
        {"\"C:\\Program Files\"", true, "C:\\Program Files"},
        {"\"open only", false, "\"open only"},
        {"closed only\"", false, "closed only\""},
        {"\"\"", true, ""},
        {"\"", false, "\""},
        {"", false, ""},
    };
    for (const auto& c : cases) {
        String s(c.before);
        EXPECT_EQ(s.stripEnclosing('"'), c.result) << c.before;
        EXPECT_EQ(text(s), c.after) << c.before;
    }

    String t("  \" spaced \"  ");
    t.trimAndUnquote();
    EXPECT_EQ(text(t), "spaced");

    String q("C:\\Program Files\\cmd.exe");
    q.quote();
    EXPECT_EQ(text(q), "\"C:\\Program Files\\cmd.exe\"");
    String e;
    e.quote();
    EXPECT_EQ(text(e), "\"\"");
}

TEST(StringCase, ToUpperAndReplaceChar) {
    String s("abc-xyz-\xE4");
    s.toUpper();
    EXPECT_EQ(text(s), "ABC-XYZ-\xE4") << "only ASCII letters fold";
    String cmd("echo `hi` `there`");
    EXPECT_EQ(cmd.replaceChar('`', '"', true), 4);
    EXPECT_EQ(text(cmd), "echo \"hi\" \"there\"");
    String mixed("aAbB");
    EXPECT_EQ(mixed.replaceChar('a', '*', false), 2);
    EXPECT_EQ(mixed.replaceChar('b', '*', true), 1);
    EXPECT_EQ(text(mixed), "***B");
}

TEST(StringAccess, CharactersAtTheEdges) {
    const String s("xyz");
    EXPECT_EQ(s.charAt(0), 'x');
    EXPECT_EQ(s.charAt(3), '\0');
    EXPECT_EQ(s.charAt(-1), '\0');
    EXPECT_EQ(s.firstChar(), 'x');
    EXPECT_EQ(s.lastChar(), 'z');
    EXPECT_EQ(String().firstChar(), '\0');
    EXPECT_EQ(String().lastChar(), '\0');
}

} // namespace
