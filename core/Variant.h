#pragma once
// The dynamically typed value. Every registry value is read into one and
// written from one, so its kind decides the registry data type.

#include "core/DateTime.h"
#include "core/String.h"

#include <cstdint>

enum class VariantKind : int32_t {
    None = 0,
    Bool = 1,
    Int8 = 2,
    UInt8 = 3,
    Int16 = 4,
    UInt16 = 5,
    Int32 = 6,
    UInt32 = 7,
    Int64 = 8,
    UInt64 = 9,
    Float = 10,
    Double = 11,
    Text = 12,
    Date = 13,
    DateTime = 14,
    Time = 15,
    UInt32b = 16, // a second unsigned 32-bit kind, stored and converted alike
};

// Where the value of each kind lives.
enum class VariantStorage : int32_t {
    None = 0,
    Integer = 1,  // 64 bits: booleans 0/1, small kinds sign- or zero-extended
    Floating = 2, // a double; single floats widened
    Text = 3,
    DateTime = 4, // date kinds with the time unset, time kinds with the date cleared
};

class Variant {
public:
    Variant() = default;
    explicit Variant(const String& text) { setText(text); }

    void setNone();
    void setBool(bool value);
    void setInt8(int8_t value);
    void setUInt8(uint8_t value);
    void setInt16(int16_t value);
    void setUInt16(uint16_t value);
    void setInt32(int32_t value);
    void setUInt32(uint32_t value);
    void setInt64(int64_t value);
    void setUInt64(uint64_t value);
    void setFloat(float value);
    void setDouble(double value);
    void setText(const String& value);
    void setTextBytes(const void* bytes, int32_t count);
    void setDate(const Date& value);
    void setDateTime(const DateTime& value);
    void setTime(const Time& value);
    void setUInt32b(uint32_t value);

    VariantKind kind() const { return kind_; }
    VariantStorage storage() const { return storage_; }
    // The text storage, meaningful for text values; the registry reads
    // values straight into it.
    const String& text() const { return text_; }
    String& text() { return text_; }

    // Text counts as false when blank, "0", "n", "no", "f" or "false"; dates
    // and times as true when valid.
    bool toBool() const;
    // Integers give their low bits, floats are truncated toward zero, text is
    // read as a number (toInt8: its first character's code), dates give their
    // day number (toInt32 and toInt64 only).
    int32_t toInt32() const;
    int64_t toInt64() const;
    int8_t toInt8() const;
    uint8_t toUInt8() const;
    int16_t toInt16() const;
    uint16_t toUInt16() const;
    // Text: sign, digits and decimals ("2.75").
    double toDouble() const;
    // Text: the integer part only ("2.75" gives 2).
    float toFloat() const;
    // Integers in decimal (signed), floats with up to six decimals, dates
    // "m/d/yy", times "HH:ii:ss"; an unset date or time prints nothing.
    String toText() const;
    Date toDate() const;
    DateTime toDateTime() const;
    Time toTime() const;

    // Zero, an empty text, an unset date or time, or no value at all.
    bool isEmpty() const;
    // Replaces the value by its conversion to kind. Inline, so that a call
    // with a constant kind carries that one conversion, not all sixteen.
    void convertTo(VariantKind kind);

private:
    // The floating and calendar storages convert through a function that
    // only their setters name: a program that never makes such a value
    // carries neither the decimal printing nor the calendar's conversions.
    enum class Query { Bool, Int64, Text, Empty };
    using Conversion = int64_t (*)(const Variant& value, Query query, String* text);
    static int64_t floatingConversion(const Variant& value, Query query, String* text);
    static int64_t dateTimeConversion(const Variant& value, Query query, String* text);

    void setInteger(VariantKind kind, int64_t value);
    void setFloating(VariantKind kind, double value);
    void setDateTimeStorage(VariantKind kind, const DateTime& value);
    int64_t truncatedFloating() const;

    VariantKind kind_ = VariantKind::None;
    VariantStorage storage_ = VariantStorage::None;
    int64_t integer_ = 0;
    double floating_ = 0.0;
    String text_;
    DateTime dateTime_;
    Conversion conversion_ = nullptr; // set with the floating and calendar storages
};

inline void Variant::convertTo(VariantKind kind) {
    if (kind == kind_)
        return;
    switch (kind) {
    case VariantKind::None:
        setNone();
        break;
    case VariantKind::Bool:
        setBool(toBool());
        break;
    case VariantKind::Int8:
        setInt8(toInt8());
        break;
    case VariantKind::UInt8:
        setUInt8(toUInt8());
        break;
    case VariantKind::Int16:
        setInt16(toInt16());
        break;
    case VariantKind::UInt16:
        setUInt16(toUInt16());
        break;
    case VariantKind::Int32:
        setInt32(toInt32());
        break;
    case VariantKind::UInt32:
        setUInt32(static_cast<uint32_t>(toInt32()));
        break;
    case VariantKind::Int64:
        setInt64(toInt64());
        break;
    case VariantKind::UInt64:
        setUInt64(static_cast<uint64_t>(toInt64()));
        break;
    case VariantKind::Float:
        setFloat(toFloat());
        break;
    case VariantKind::Double:
        setDouble(toDouble());
        break;
    case VariantKind::Text:
        setText(toText());
        break;
    case VariantKind::Date:
        setDate(toDate());
        break;
    case VariantKind::DateTime:
        setDateTime(toDateTime());
        break;
    case VariantKind::Time:
        setTime(toTime());
        break;
    case VariantKind::UInt32b:
        setUInt32b(static_cast<uint32_t>(toInt32()));
        break;
    }
}
