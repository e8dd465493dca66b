#include "core/Variant.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

std::string text(const String& s) {
    return std::string(s.c_str(), size_t(s.length()));
}

Variant make(const std::function<void(Variant&)>& set) {
    Variant v;
    set(v);
    return v;
}

const Date kJuly3(7, 3, 2005);
const DateTime kMoment(Date(12, 5, 2026), Time(15, 4, 5));

struct ConversionCase {
    const char* what;
    Variant value;
    VariantKind kind;
    VariantStorage storage;
    const char* text;
    int32_t int32;
    double number;
    bool truth;
};

TEST(VariantConversion, EveryKindToTextIntegerDoubleAndBool) {
    const int32_t july3 = kJuly3.dayNumber();
    const int32_t december5 = kMoment.date().dayNumber();
    using K = VariantKind;
    using S = VariantStorage;
    const ConversionCase cases[] = {
        {"none", Variant(), K::None, S::None, "", 0, 0, false},
        {"true", make([](Variant& v) { v.setBool(true); }), K::Bool, S::Integer, "1", 1, 1, true},
        {"false", make([](Variant& v) { v.setBool(false); }), K::Bool, S::Integer, "0", 0, 0,
         false},
        {"int8", make([](Variant& v) { v.setInt8(-5); }), K::Int8, S::Integer, "-5", -5, -5, true},
        {"uint8", make([](Variant& v) { v.setUInt8(200); }), K::UInt8, S::Integer, "200", 200, 200,
         true},
        {"int16", make([](Variant& v) { v.setInt16(-300); }), K::Int16, S::Integer, "-300", -300,
         -300, true},
        {"uint16", make([](Variant& v) { v.setUInt16(65535); }), K::UInt16, S::Integer, "65535",
         65535, 65535, true},
        {"int32", make([](Variant& v) { v.setInt32(INT32_MIN); }), K::Int32, S::Integer,
         "-2147483648", INT32_MIN, -2147483648.0, true},
        {"uint32", make([](Variant& v) { v.setUInt32(0xFFFFFFFFu); }), K::UInt32, S::Integer,
         "4294967295", -1, 4294967295.0, true},
        {"int64", make([](Variant& v) { v.setInt64(-(int64_t(1) << 40) + 7); }), K::Int64,
         S::Integer, "-1099511627769", 7, -1099511627769.0, true},
        {"uint64 top bit", make([](Variant& v) { v.setUInt64(uint64_t(1) << 63); }), K::UInt64,
         S::Integer, "-9223372036854775808", 0, -9223372036854775808.0, true},
        {"float", make([](Variant& v) { v.setFloat(2.5f); }), K::Float, S::Floating, "2.5", 2, 2.5,
         true},
        {"double", make([](Variant& v) { v.setDouble(-2.75); }), K::Double, S::Floating, "-2.75",
         -2, -2.75, true},
        {"double zero", make([](Variant& v) { v.setDouble(0.0); }), K::Double, S::Floating, "0", 0,
         0, false},
        {"double big", make([](Variant& v) { v.setDouble(123456789012.125); }), K::Double,
         S::Floating, "123456789012.125", int32_t(123456789012 & 0xFFFFFFFF), 123456789012.125,
         true},
        {"text digits", Variant(String("12abc")), K::Text, S::Text, "12abc", 12, 12, true},
        {"text letters", Variant(String("abc")), K::Text, S::Text, "abc", 0, 0, true},
        {"text no", Variant(String(" No ")), K::Text, S::Text, " No ", 0, 0, false},
        {"text decimal", Variant(String("-2.75")), K::Text, S::Text, "-2.75", -2, -2.75, true},
        {"text empty", Variant(String()), K::Text, S::Text, "", 0, 0, false},
        {"date", make([](Variant& v) { v.setDate(kJuly3); }), K::Date, S::DateTime, "7/3/2005",
         july3, 0, true},
        {"unset date", make([](Variant& v) { v.setDate(Date()); }), K::Date, S::DateTime, "", 0, 0,
         false},
        {"date and time", make([](Variant& v) { v.setDateTime(kMoment); }), K::DateTime,
         S::DateTime, "12/5/2026 15:04:05", december5, 0, true},
        {"date, no time", make([](Variant& v) { v.setDateTime(DateTime(kMoment.date(), Time())); }),
         K::DateTime, S::DateTime, "12/5/2026", december5, 0, false},
        {"time, no date", make([](Variant& v) { v.setDateTime(DateTime(Date(), Time(9, 5, 7))); }),
         K::DateTime, S::DateTime, "09:05:07", 0, 0, false},
        {"neither", make([](Variant& v) { v.setDateTime(DateTime()); }), K::DateTime, S::DateTime,
         "", 0, 0, false},
        {"time", make([](Variant& v) { v.setTime(Time(15, 4, 5)); }), K::Time, S::DateTime,
         "15:04:05", 0, 0, true},
        {"unset time", make([](Variant& v) { v.setTime(Time()); }), K::Time, S::DateTime, "", 0, 0,
         false},
        {"uint32b", make([](Variant& v) { v.setUInt32b(0xFFFFFFFFu); }), K::UInt32b, S::Integer,
         "4294967295", -1, 4294967295.0, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.value.kind(), c.kind) << c.what;
        EXPECT_EQ(c.value.storage(), c.storage) << c.what;
        EXPECT_EQ(text(c.value.toText()), c.text) << c.what;
        EXPECT_EQ(c.value.toInt32(), c.int32) << c.what;
        EXPECT_EQ(c.value.toDouble(), c.number) << c.what;
        EXPECT_EQ(c.value.toBool(), c.truth) << c.what;
    }
}

TEST(VariantConversion, SmallIntegersFloatsAndSixtyFourBits) {
    const Variant text(String("300 apples"));
    EXPECT_EQ(text.toInt8(), int8_t('3'));
    EXPECT_EQ(text.toUInt8(), uint8_t(300 & 0xFF));
    EXPECT_EQ(text.toInt16(), 300);
    EXPECT_EQ(text.toUInt16(), 300);
    EXPECT_EQ(text.toInt64(), 300);
    EXPECT_EQ(Variant(String("1,234,567,890,123")).toInt64(), 1234567890123LL);
    EXPECT_EQ(Variant(String("2.75")).toFloat(), 2.0f);
    EXPECT_EQ(Variant(String("2.75")).toDouble(), 2.75);
    EXPECT_EQ(Variant(String(" 12")).toInt32(), 0);

    Variant number;
    number.setInt32(0x12345678);
    EXPECT_EQ(number.toInt8(), 0x78);
    EXPECT_EQ(number.toUInt16(), 0x5678);
    EXPECT_EQ(number.toFloat(), float(0x12345678));
    number.setDouble(-300.9);
    EXPECT_EQ(number.toInt8(), int8_t(-300));
    EXPECT_EQ(number.toInt16(), -300);
    EXPECT_EQ(number.toInt64(), -300);
    number.setDouble(1e300);
    EXPECT_EQ(number.toInt64(), INT64_MAX);
    number.setDate(kJuly3);
    EXPECT_EQ(number.toInt64(), kJuly3.dayNumber());
    EXPECT_EQ(number.toInt8(), 0);
    EXPECT_EQ(number.toFloat(), 0.0f);
}

TEST(VariantConversion, DatesAndTimes) {
    Variant v;
    v.setInt32(kJuly3.dayNumber());
    EXPECT_EQ(v.toDate().dayNumber(), kJuly3.dayNumber());
    EXPECT_EQ(v.toDate().month(), 7);
    v.setUInt8(5);
    EXPECT_EQ(v.toDate().dayNumber(), 0);
    v.setDouble(double(kJuly3.dayNumber()));
    EXPECT_EQ(v.toDate().dayNumber(), 0);

    v.setText(String("5-Dec-2026 3:04:05p"));
    EXPECT_EQ(v.toDate().dayNumber(), kMoment.date().dayNumber());
    EXPECT_EQ(compare(v.toDateTime(), kMoment), 0);
    v.setText(String("3:04:05p"));
    EXPECT_EQ(compare(v.toTime(), kMoment.time()), 0);
    v.setText(String("12/5/2026"));
    EXPECT_EQ(v.toDateTime().date().dayNumber(), kMoment.date().dayNumber());
    EXPECT_FALSE(v.toDateTime().time().isValid());
    v.setText(String("nonsense"));
    EXPECT_FALSE(v.toDate().isValid());
    EXPECT_FALSE(v.toTime().isValid());

    v.setDateTime(kMoment);
    EXPECT_EQ(v.toDate().dayNumber(), kMoment.date().dayNumber());
    EXPECT_EQ(compare(v.toTime(), kMoment.time()), 0);
    v.setTime(Time(1, 2, 3));
    EXPECT_EQ(v.toDateTime().date().dayNumber(), 0);
    EXPECT_EQ(v.toDateTime().time().second(), 3);
}

TEST(VariantEmpty, RegistryDeletesEmptyValues) {
    const struct {
        const char* what;
        Variant value;
        bool empty;
    } cases[] = {
        {"none", Variant(), true},
        {"integer 0", make([](Variant& v) { v.setInt32(0); }), true},
        {"false", make([](Variant& v) { v.setBool(false); }), true},
        {"integer 1", make([](Variant& v) { v.setUInt8(1); }), false},
        {"0.0", make([](Variant& v) { v.setDouble(0.0); }), true},
        {"0.5", make([](Variant& v) { v.setFloat(0.5f); }), false},
        {"empty text", Variant(String()), true},
        {"text 0", Variant(String("0")), false},
        {"unset date", make([](Variant& v) { v.setDate(Date(2, 30, 2026)); }), true},
        {"date", make([](Variant& v) { v.setDate(kJuly3); }), false},
        {"date, no time", make([](Variant& v) { v.setDateTime(DateTime(kJuly3, Time())); }), true},
        {"date and time", make([](Variant& v) { v.setDateTime(kMoment); }), false},
        {"unset time", make([](Variant& v) { v.setTime(Time(25, 0, 0)); }), true},
        {"midnight", make([](Variant& v) { v.setTime(Time(0, 0, 0)); }), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.value.isEmpty(), c.empty) << c.what;
}

TEST(VariantConvertTo, ReplacesKindAndValue) {
    using K = VariantKind;
    const struct {
        const char* what;
        Variant from;
        VariantKind to;
        VariantStorage storage;
        const char* text;
    } cases[] = {
        {"text to int32", Variant(String("42 things")), K::Int32, VariantStorage::Integer, "42"},
        {"text to uint32", Variant(String("-1")), K::UInt32, VariantStorage::Integer, "4294967295"},
        {"text to bool", Variant(String("no")), K::Bool, VariantStorage::Integer, "0"},
        {"text to double", Variant(String("2.75")), K::Double, VariantStorage::Floating, "2.75"},
        {"text to float", Variant(String("2.75")), K::Float, VariantStorage::Floating, "2"},
        {"text to int8", Variant(String("A")), K::Int8, VariantStorage::Integer, "65"},
        {"text to date", Variant(String("July 3rd, 2005")), K::Date, VariantStorage::DateTime,
         "7/3/2005"},
        {"text to time", Variant(String("3:04 pm")), K::Time, VariantStorage::DateTime, "15:04:00"},
        {"int to text", make([](Variant& v) { v.setInt16(-7); }), K::Text, VariantStorage::Text,
         "-7"},
        {"int to uint8", make([](Variant& v) { v.setInt32(0x1FF); }), K::UInt8,
         VariantStorage::Integer, "255"},
        {"int to none", make([](Variant& v) { v.setInt32(5); }), K::None, VariantStorage::None, ""},
        {"date to text", make([](Variant& v) { v.setDate(kJuly3); }), K::Text, VariantStorage::Text,
         "7/3/2005"},
        {"date to int64", make([](Variant& v) { v.setDate(kJuly3); }), K::Int64,
         VariantStorage::Integer, "2453554"},
        {"date and time to date", make([](Variant& v) { v.setDateTime(kMoment); }), K::Date,
         VariantStorage::DateTime, "12/5/2026"},
        {"double to uint32b", make([](Variant& v) { v.setDouble(-1.9); }), K::UInt32b,
         VariantStorage::Integer, "4294967295"},
    };
    for (const auto& c : cases) {
        Variant v = c.from;
        v.convertTo(c.to);
        EXPECT_EQ(v.kind(), c.to) << c.what;
        EXPECT_EQ(v.storage(), c.storage) << c.what;
        EXPECT_EQ(text(v.toText()), c.text) << c.what;
    }
}

TEST(VariantConvertTo, SameKindKeepsTheValue) {
    Variant v(String("  spaced  "));
    v.convertTo(VariantKind::Text);
    EXPECT_EQ(text(v.text()), "  spaced  ");
}

TEST(VariantSet, TextBytesAndSelfAssignment) {
    Variant v;
    v.setTextBytes("a\0b", 3);
    EXPECT_EQ(v.kind(), VariantKind::Text);
    EXPECT_EQ(v.text().length(), 3);
    v.setText(v.text());
    EXPECT_EQ(v.text().length(), 3);
    v.setTextBytes(nullptr, 5);
    EXPECT_TRUE(v.text().isEmpty());
    v.setInt32(3);
    EXPECT_TRUE(v.text().isEmpty());
}

} // namespace
