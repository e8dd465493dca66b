#include "core/String.h"

#include "core/Fatal.h"
#include "core/OutOfMemory.h"
#include "core/StringChars.h"

#include <cstdlib>
#include <cstring>

namespace {
// Bytes kept beyond the length: the terminator and 32 to grow into.
constexpr int kSlack = 33;
// A buffer is shrunk only when more than this many bytes would lie unused.
constexpr int kShrinkThreshold = 512;
// The longest content whose buffer size still fits the signed length.
constexpr int kMaxLength = kWholeText - kSlack;

int checkedSum(int64_t n) {
    if (n > kMaxLength)
        outOfMemory(0xFFFFFFFFu);
    return static_cast<int>(n);
}

int textLength(const char* text) {
    return text ? checkedSum(static_cast<int64_t>(std::strlen(text))) : 0;
}
} // namespace

String::String(const char* text) {
    assign(text);
}

String::String(const char* bytes, int count) {
    assignBytes(bytes, count);
}

String::String(const String& other) {
    assignBytes(other.data_, other.length_);
}

String::String(String&& other) noexcept
    : data_(other.data_), length_(other.length_), capacity_(other.capacity_) {
    other.data_ = nullptr;
    other.length_ = other.capacity_ = 0;
}

String::~String() {
    std::free(data_);
}

String& String::operator=(const String& other) {
    assign(other);
    return *this;
}

String& String::operator=(String&& other) noexcept {
    if (this != &other) {
        std::free(data_);
        data_ = other.data_;
        length_ = other.length_;
        capacity_ = other.capacity_;
        other.data_ = nullptr;
        other.length_ = other.capacity_ = 0;
    }
    return *this;
}

String& String::operator=(const char* text) {
    assign(text);
    return *this;
}

bool String::resize(int n, bool noFail) {
    if (n <= 0) {
        std::free(data_);
        data_ = nullptr;
        length_ = capacity_ = 0;
        return true;
    }
    if (n == length_)
        return true;
    if (n >= capacity_ || n < capacity_ - kShrinkThreshold) {
        if (n > kMaxLength) {
            if (noFail)
                return false;
            outOfMemory(static_cast<unsigned>(n) + kSlack);
        }
        char* buffer = static_cast<char*>(std::realloc(data_, static_cast<size_t>(n) + kSlack));
        if (!buffer) {
            if (noFail)
                return false;
            outOfMemory(static_cast<unsigned>(n) + kSlack);
        }
        data_ = buffer;
        capacity_ = n + kSlack;
    }
    length_ = n;
    data_[n] = '\0';
    return true;
}

void String::setLength(int n) {
    resize(n, false);
}

bool String::setLengthNoFail(int n) {
    return resize(n, true);
}

bool String::ownsPointer(const void* p) const {
    const char* c = static_cast<const char*>(p);
    return data_ && c >= data_ && c < data_ + capacity_;
}

char* String::openGap(int pos, int removeCount, int insertCount) {
    const int newLength = checkedSum(static_cast<int64_t>(length_) - removeCount + insertCount);
    const int tailFrom = pos + removeCount;
    const int tail = length_ - tailFrom;
    if (tail == 0) {
        setLength(newLength);
    } else if (insertCount > removeCount) {
        setLength(newLength);
        std::memmove(data_ + pos + insertCount, data_ + tailFrom, static_cast<size_t>(tail) + 1);
    } else {
        std::memmove(data_ + pos + insertCount, data_ + tailFrom, static_cast<size_t>(tail) + 1);
        setLength(newLength);
    }
    return data_ ? data_ + pos : nullptr;
}

bool String::splice(int pos, int removeCount, const char* source, int sourceLength) {
    if (!source)
        sourceLength = 0;
    if (pos < 0 || pos > length_)
        return false;
    if (removeCount > 0) {
        if (sourceLength < 0)
            return false;
        if (removeCount > length_ - pos)
            removeCount = length_ - pos;
    } else {
        if (sourceLength < 1)
            return false;
        removeCount = 0;
    }
    if (sourceLength > 0 && ownsPointer(source)) {
        // The gap may move or overwrite the source: take a copy first.
        String copy(source, sourceLength);
        return splice(pos, removeCount, copy.data_, sourceLength);
    }
    char* gap = openGap(pos, removeCount, sourceLength);
    if (sourceLength > 0)
        std::memcpy(gap, source, static_cast<size_t>(sourceLength));
    return true;
}

void String::assign(const char* text) {
    assignBytes(text, textLength(text));
}

void String::assign(const String& other) {
    assignBytes(other.data_, other.length_);
}

void String::assignBytes(const void* bytes, int count) {
    if (bytes && count == kWholeText)
        count = textLength(static_cast<const char*>(bytes));
    if (!bytes || count < 1) {
        setLength(0);
        return;
    }
    if (ownsPointer(bytes)) {
        if (bytes == data_ && count == length_)
            return;
        String copy(static_cast<const char*>(bytes), count);
        *this = static_cast<String&&>(copy);
        return;
    }
    // The old content is not kept, so let a reallocation start from nothing.
    if (count >= capacity_ || count < capacity_ - kShrinkThreshold)
        setLength(0);
    setLength(count);
    std::memcpy(data_, bytes, static_cast<size_t>(count));
}

bool String::assignBytesNoFail(const void* bytes, int count) {
    if (bytes && count == kWholeText)
        count = textLength(static_cast<const char*>(bytes));
    if (!bytes || count < 1) {
        setLength(0);
        return true;
    }
    if (ownsPointer(bytes)) {
        if (bytes == data_ && count == length_)
            return true;
        String copy;
        if (!copy.assignBytesNoFail(bytes, count))
            return false;
        *this = static_cast<String&&>(copy);
        return true;
    }
    if (!setLengthNoFail(count))
        return false;
    std::memcpy(data_, bytes, static_cast<size_t>(count));
    return true;
}

void String::assignPrefix(const char* text, int count) {
    int n = 0;
    if (text) {
        while (n < count && text[n])
            ++n;
    }
    assignBytes(text, n);
}

void String::adopt(char* buffer, int count) {
    if (!buffer || count < 1) {
        std::free(buffer);
        setLength(0);
        return;
    }
    char* owned = static_cast<char*>(std::realloc(buffer, static_cast<size_t>(count) + 1));
    if (!owned)
        outOfMemory(static_cast<unsigned>(count) + 1);
    std::free(data_);
    data_ = owned;
    length_ = count;
    capacity_ = count + 1;
    data_[count] = '\0';
}

char* String::detach() {
    char* buffer = data_;
    data_ = nullptr;
    length_ = capacity_ = 0;
    return buffer;
}

bool String::isBlank() const {
    for (int i = 0; i < length_; ++i) {
        if (!isWhiteSpace(data_[i]))
            return false;
    }
    return true;
}

char* String::writablePointer(int i) {
    if (!data_ || i < 0 || i > length_)
        internalError(kCoreModule, 9296);
    return data_ + i;
}

void String::ensureLength(int n) {
    if (n < capacity_) {
        if (n > length_) {
            length_ = n;
            data_[n] = '\0';
        }
    } else {
        setLength(n);
    }
}

char* String::grow(int n) {
    if (n > 0) {
        const int oldLength = length_;
        setLength(checkedSum(static_cast<int64_t>(length_) + n));
        return data_ + oldLength;
    }
    return data_ ? data_ + length_ : nullptr;
}

void String::shrink(int n) {
    if (n > 0)
        setLength(n >= length_ ? 0 : length_ - n);
}

void String::append(char ch) {
    setLength(checkedSum(static_cast<int64_t>(length_) + 1));
    data_[length_ - 1] = ch;
}

void String::append(const char* text) {
    splice(length_, 0, text, textLength(text));
}

void String::append(const String& other) {
    splice(length_, 0, other.data_, other.length_);
}

void String::appendBytes(const void* bytes, int count) {
    splice(length_, 0, static_cast<const char*>(bytes), count);
}

void String::prepend(const char* text) {
    splice(0, 0, text, textLength(text));
}

bool String::insert(int pos, const char* text, int maxCount) {
    int n = 0;
    if (text) {
        while (n < maxCount && text[n])
            ++n;
    }
    return splice(pos, 0, text, n);
}

bool String::insertChars(char ch, int pos, int count) {
    if (pos < 0 || pos > length_ || count < 1)
        return false;
    std::memset(openGap(pos, 0, count), ch, static_cast<size_t>(count));
    return true;
}

void String::prependCharOnce(char ch) {
    if (length_ == 0 || data_[0] != ch)
        splice(0, 0, &ch, 1);
}

bool String::appendLineBreakIfMissing() {
    char last = lastChar();
    if (last == '\r' || last == '\n')
        return false;
    appendBytes("\r\n", 2);
    return true;
}

String operator+(const String& left, char right) {
    String result;
    result.setLength(left.length() + 1);
    char* out = result.writablePointer(0);
    std::memcpy(out, left.c_str(), static_cast<size_t>(left.length()));
    out[left.length()] = right;
    return result;
}

namespace {
String joined(const char* left, int leftLength, const char* right, int rightLength) {
    String result;
    char* out = result.grow(checkedSum(static_cast<int64_t>(leftLength) + rightLength));
    if (out) {
        std::memcpy(out, left, static_cast<size_t>(leftLength));
        std::memcpy(out + leftLength, right, static_cast<size_t>(rightLength));
    }
    return result;
}
} // namespace

String operator+(const String& left, const char* right) {
    return joined(left.c_str(), left.length(), right ? right : "", textLength(right));
}

String operator+(const String& left, const String& right) {
    return joined(left.c_str(), left.length(), right.c_str(), right.length());
}

String operator+(const char* left, const String& right) {
    return joined(left ? left : "", textLength(left), right.c_str(), right.length());
}
