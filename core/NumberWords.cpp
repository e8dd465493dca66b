#include "core/NumberWords.h"

#include "core/String.h"

#include <cstring>

namespace {

const char* const kOnes[] = {"zero",    "one",     "two",       "three",    "four",
                             "five",    "six",     "seven",     "eight",    "nine",
                             "ten",     "eleven",  "twelve",    "thirteen", "fourteen",
                             "fifteen", "sixteen", "seventeen", "eighteen", "nineteen"};
const char* const kTens[] = {"",      "",      "twenty",  "thirty", "forty",
                             "fifty", "sixty", "seventy", "eighty", "ninety"};

struct Scale {
    uint64_t value;
    const char* name;
};
const Scale kScales[] = {
    {1000000000000000000u, "quintillion"},
    {1000000000000000u, "quadrillion"},
    {1000000000000u, "trillion"},
    {1000000000u, "billion"},
    {1000000u, "million"},
    {1000u, "thousand"},
};

// 1-999.
void appendHundreds(String& out, uint64_t n) {
    if (n >= 100) {
        out += kOnes[n / 100];
        out += " hundred";
        n %= 100;
        if (n == 0)
            return;
        out += ' ';
    }
    if (n < 20) {
        out += kOnes[n];
        return;
    }
    out += kTens[n / 10];
    if (n % 10) {
        out += '-';
        out += kOnes[n % 10];
    }
}

// An ordinal from the last word of a cardinal: "one" -> "first",
// "twenty" -> "twentieth", "seven" -> "seventh".
void makeLastWordOrdinal(String& words) {
    static const char* const kIrregular[][2] = {
        {"one", "first"},    {"two", "second"}, {"three", "third"},    {"five", "fifth"},
        {"eight", "eighth"}, {"nine", "ninth"}, {"twelve", "twelfth"},
    };
    for (const auto& pair : kIrregular) {
        const int start = words.length() - int(std::strlen(pair[0]));
        const char before = words.charAt(start - 1);
        if (start < 0 || std::strcmp(words.c_str() + start, pair[0]) != 0 ||
            (start > 0 && before != ' ' && before != '-'))
            continue;
        words.truncate(start);
        words += pair[1];
        return;
    }
    if (words.lastChar() == 'y') {
        words.removeLast(1);
        words += "ieth";
        return;
    }
    words += "th";
}

} // namespace

String numberWords(int64_t n) {
    if (n == 0)
        return String(kOnes[0]);
    String out;
    uint64_t magnitude = n < 0 ? 0u - static_cast<uint64_t>(n) : uint64_t(n);
    if (n < 0)
        out += "minus ";
    for (const Scale& scale : kScales) {
        if (magnitude >= scale.value) {
            appendHundreds(out, magnitude / scale.value);
            out += ' ';
            out += scale.name;
            magnitude %= scale.value;
            if (magnitude)
                out += ' ';
        }
    }
    if (magnitude)
        appendHundreds(out, magnitude);
    return out;
}

String ordinalWords(int64_t n) {
    String words = numberWords(n);
    makeLastWordOrdinal(words);
    return words;
}
