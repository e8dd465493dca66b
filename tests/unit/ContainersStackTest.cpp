#include "core/Stack.h"
#include "core/String.h"

#include <gtest/gtest.h>

namespace {

TEST(Stack, PopsInReverseOrderOfPushing) {
    Stack<String> stack;
    stack.push("HKEY_LOCAL_MACHINE");
    stack.push("Software");
    stack.top() += "\\Varnoke";
    EXPECT_EQ(stack.count(), 2);
    EXPECT_STREQ(stack.pop().c_str(), "Software\\Varnoke");
    EXPECT_STREQ(stack.top().c_str(), "HKEY_LOCAL_MACHINE");
    EXPECT_STREQ(stack.pop().c_str(), "HKEY_LOCAL_MACHINE");
    EXPECT_TRUE(stack.isEmpty());
    stack.push("again");
    stack.clear();
    EXPECT_TRUE(stack.isEmpty());
}

TEST(StackDeathTest, PopOrTopOfAnEmptyStackIsFatal) {
    Stack<String> strings;
    EXPECT_DEATH(strings.pop(), "FATAL ERROR: Stack<String>::pop");
    Stack<int> positions;
    positions.push(1);
    positions.pop();
    EXPECT_DEATH(positions.pop(), "FATAL ERROR: Stack<int>::pop");
    EXPECT_DEATH(positions.top(), "Vector<int>\\[-1\\]\nmax_index = -1");
}

} // namespace
