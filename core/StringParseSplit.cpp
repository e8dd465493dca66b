#include "core/Array.h"
#include "core/String.h"
#include "core/StringChars.h"
#include "core/StringParse.h"

#include <cstring>

namespace {

class Splitter {
public:
    Splitter(Array<String>& list, const char* delimiters, int flags)
        : list_(list), delimiters_(delimiters ? delimiters : "",
                                   delimiters ? int(std::strlen(delimiters)) : 0, false),
          flags_(flags) {}

    int run(const char* text, int length) {
        bool quoted = false;
        bool endedByTerminator = false;
        int i = 0;
        while (i < length) {
            const char c = text[i];
            endedByTerminator = false;
            if (has(kSplitBackslashEscapes) && c == '\\' && i + 1 < length) {
                token_ += text[i + 1];
                i += 2;
                continue;
            }
            if (has(kSplitQuotesProtect) && c == '"')
                quoted = !quoted;
            const int end = terminatorLength(text, length, i, quoted);
            if (end == 0) {
                token_ += c;
                ++i;
                continue;
            }
            if (end < 0) { // a doubled delimiter stands for itself
                token_ += c;
                i += 2;
                continue;
            }
            finishToken(text + i, end);
            quoted = false;
            i += end;
            endedByTerminator = true;
        }
        if (!token_.isEmpty() || (endedByTerminator && has(kSplitKeepEmpty)))
            finishToken(nullptr, 0);
        return added_;
    }

private:
    bool has(int flag) const { return (flags_ & flag) != 0; }

    // How many characters at i end the token: 0 for none, 1 or 2 (a CR LF or
    // LF CR pair), or -1 for a doubled delimiter that is a plain character.
    int terminatorLength(const char* text, int length, int i, bool quoted) const {
        const char c = text[i];
        if (has(kSplitAtZero) && c == '\0')
            return 1;
        if (has(kSplitAtLineBreak) && (c == '\r' || c == '\n')) {
            const char pair = c == '\r' ? '\n' : '\r';
            return i + 1 < length && text[i + 1] == pair ? 2 : 1;
        }
        if (quoted || c == '\0' || !delimiters_.contains(c))
            return 0;
        if (has(kSplitDoubledIsLiteral) && i + 1 < length && text[i + 1] == c)
            return -1;
        return 1;
    }

    void finishToken(const char* terminator, int terminatorLength) {
        if (has(kSplitTrim))
            token_.trim();
        if (has(kSplitUnquote) && token_.stripEnclosing('"')) {
            if (has(kSplitUndoubleQuotes))
                token_.replaceAll("\"\"", "\"");
            if (has(kSplitTrim))
                token_.trim();
        }
        if (has(kSplitKeepDelimiter))
            token_.appendBytes(terminator, terminatorLength);
        if (!token_.isEmpty() || has(kSplitKeepEmpty)) {
            list_.append(std::move(token_));
            ++added_;
        }
        token_.clear();
    }

    Array<String>& list_;
    const CharSet delimiters_;
    const int flags_;
    String token_;
    int added_ = 0;
};

} // namespace

int split(const String& s, Array<String>& list, const char* delimiters, int flags) {
    return Splitter(list, delimiters, flags).run(s.c_str(), s.length());
}

int splitLines(const String& s, Array<String>& list) {
    return split(s, list, nullptr, kSplitKeepEmpty | kSplitAtZero | kSplitAtLineBreak);
}
