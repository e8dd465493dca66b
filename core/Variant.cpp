#include "core/Variant.h"

#include "core/Number.h"
#include "core/StringParse.h"

#include <cmath>

void Variant::setNone() {
    *this = Variant();
}

void Variant::setInteger(VariantKind kind, int64_t value) {
    setNone();
    kind_ = kind;
    storage_ = VariantStorage::Integer;
    integer_ = value;
}

void Variant::setFloating(VariantKind kind, double value) {
    setNone();
    kind_ = kind;
    storage_ = VariantStorage::Floating;
    floating_ = value;
    conversion_ = floatingConversion;
}

void Variant::setDateTimeStorage(VariantKind kind, const DateTime& value) {
    setNone();
    kind_ = kind;
    storage_ = VariantStorage::DateTime;
    dateTime_ = value;
    conversion_ = dateTimeConversion;
}

void Variant::setBool(bool value) {
    setInteger(VariantKind::Bool, value ? 1 : 0);
}
void Variant::setInt8(int8_t value) {
    setInteger(VariantKind::Int8, value);
}
void Variant::setUInt8(uint8_t value) {
    setInteger(VariantKind::UInt8, value);
}
void Variant::setInt16(int16_t value) {
    setInteger(VariantKind::Int16, value);
}
void Variant::setUInt16(uint16_t value) {
    setInteger(VariantKind::UInt16, value);
}
void Variant::setInt32(int32_t value) {
    setInteger(VariantKind::Int32, value);
}
void Variant::setUInt32(uint32_t value) {
    setInteger(VariantKind::UInt32, value);
}
void Variant::setInt64(int64_t value) {
    setInteger(VariantKind::Int64, value);
}
void Variant::setUInt64(uint64_t value) {
    setInteger(VariantKind::UInt64, static_cast<int64_t>(value));
}
void Variant::setUInt32b(uint32_t value) {
    setInteger(VariantKind::UInt32b, value);
}
void Variant::setFloat(float value) {
    setFloating(VariantKind::Float, value);
}
void Variant::setDouble(double value) {
    setFloating(VariantKind::Double, value);
}

void Variant::setText(const String& value) {
    String copy = value; // value may be this variant's own text
    setNone();
    kind_ = VariantKind::Text;
    storage_ = VariantStorage::Text;
    text_ = static_cast<String&&>(copy);
}

void Variant::setTextBytes(const void* bytes, int32_t count) {
    String copy;
    copy.assignBytes(bytes, count);
    setText(copy);
}

void Variant::setDate(const Date& value) {
    setDateTimeStorage(VariantKind::Date, DateTime(value, Time()));
}

void Variant::setDateTime(const DateTime& value) {
    setDateTimeStorage(VariantKind::DateTime, value);
}

void Variant::setTime(const Time& value) {
    setDateTimeStorage(VariantKind::Time, DateTime(Date(), value));
}

int64_t Variant::truncatedFloating() const {
    const double x = std::trunc(floating_);
    if (x != x)
        return 0;
    if (x <= -9223372036854775808.0)
        return INT64_MIN;
    if (x >= 9223372036854775808.0)
        return INT64_MAX;
    return static_cast<int64_t>(x);
}

int64_t Variant::floatingConversion(const Variant& value, Query query, String* text) {
    switch (query) {
    case Query::Bool:
        return value.floating_ != 0.0;
    case Query::Int64:
        return value.truncatedFloating();
    case Query::Text:
        *text = fromDouble(value.floating_, -1);
        break;
    case Query::Empty:
        return value.floating_ == 0.0;
    }
    return 0;
}

int64_t Variant::dateTimeConversion(const Variant& value, Query query, String* text) {
    const DateTime& moment = value.dateTime_;
    const bool dateSet = value.kind_ != VariantKind::Time && moment.date().isValid();
    const bool timeSet = value.kind_ != VariantKind::Date && moment.time().isValid();
    // A date kind counts its date only, a time kind its time only, a moment both.
    const bool complete = (dateSet || value.kind_ == VariantKind::Time) &&
                          (timeSet || value.kind_ == VariantKind::Date);
    switch (query) {
    case Query::Bool:
        return complete;
    case Query::Int64:
        return moment.date().dayNumber();
    case Query::Text:
        if (dateSet && timeSet)
            *text = moment.format("m/d/yy HH:ii:ss");
        else if (dateSet)
            *text = moment.date().format("m/d/yy");
        else if (timeSet)
            *text = moment.time().format("HH:ii:ss");
        break;
    case Query::Empty:
        return !complete;
    }
    return 0;
}

bool Variant::toBool() const {
    switch (storage_) {
    case VariantStorage::Integer:
        return integer_ != 0;
    case VariantStorage::Text:
        return ::toBool(text_);
    case VariantStorage::Floating:
    case VariantStorage::DateTime:
        return conversion_(*this, Query::Bool, nullptr) != 0;
    case VariantStorage::None:
        break;
    }
    return false;
}

int64_t Variant::toInt64() const {
    switch (storage_) {
    case VariantStorage::Integer:
        return integer_;
    case VariantStorage::Text:
        return ::toInt64(text_);
    case VariantStorage::Floating:
    case VariantStorage::DateTime:
        return conversion_(*this, Query::Int64, nullptr);
    case VariantStorage::None:
        break;
    }
    return 0;
}

int32_t Variant::toInt32() const {
    if (storage_ == VariantStorage::Text)
        return parseInt(text_);
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(toInt64())));
}

namespace {
// The low bits of an integer, the truncation of a float, parseInt of text.
template <class T> T smallInteger(VariantStorage storage, int64_t number, const String& text) {
    if (storage == VariantStorage::Text)
        return static_cast<T>(parseInt(text));
    if (storage == VariantStorage::Integer || storage == VariantStorage::Floating)
        return static_cast<T>(number);
    return 0;
}
} // namespace

int8_t Variant::toInt8() const {
    if (storage_ == VariantStorage::Text)
        return static_cast<int8_t>(text_.firstChar());
    return smallInteger<int8_t>(storage_, toInt64(), text_);
}

uint8_t Variant::toUInt8() const {
    return smallInteger<uint8_t>(storage_, toInt64(), text_);
}
int16_t Variant::toInt16() const {
    return smallInteger<int16_t>(storage_, toInt64(), text_);
}
uint16_t Variant::toUInt16() const {
    return smallInteger<uint16_t>(storage_, toInt64(), text_);
}

namespace {
// An optional sign, digits, and after a point further digits.
double decimalFromText(const String& text) {
    const char* p = text.c_str();
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    double value = 0.0;
    for (; *p >= '0' && *p <= '9'; ++p)
        value = value * 10.0 + (*p - '0');
    if (*p == '.') {
        double scale = 0.1;
        for (++p; *p >= '0' && *p <= '9'; ++p, scale /= 10.0)
            value += (*p - '0') * scale;
    }
    return negative ? -value : value;
}
} // namespace

double Variant::toDouble() const {
    switch (storage_) {
    case VariantStorage::Integer:
        return static_cast<double>(integer_);
    case VariantStorage::Floating:
        return floating_;
    case VariantStorage::Text:
        return decimalFromText(text_);
    default:
        return 0.0;
    }
}

float Variant::toFloat() const {
    switch (storage_) {
    case VariantStorage::Integer:
    case VariantStorage::Floating:
        return static_cast<float>(toDouble());
    case VariantStorage::Text:
        return static_cast<float>(parseInt(text_));
    default:
        return 0.0f;
    }
}

String Variant::toText() const {
    String text;
    switch (storage_) {
    case VariantStorage::Integer:
        return fromInt64(integer_);
    case VariantStorage::Text:
        return text_;
    case VariantStorage::Floating:
    case VariantStorage::DateTime:
        conversion_(*this, Query::Text, &text);
        break;
    case VariantStorage::None:
        break;
    }
    return text;
}

Date Variant::toDate() const {
    Date date;
    if (storage_ == VariantStorage::Text) {
        date.parse(text_.c_str(), false);
    } else if (storage_ == VariantStorage::DateTime) {
        date = dateTime_.date();
    } else if (kind_ == VariantKind::Int32 || kind_ == VariantKind::UInt32 ||
               kind_ == VariantKind::Int64) {
        if (integer_ >= INT32_MIN && integer_ <= INT32_MAX)
            date.setFromDayNumber(static_cast<int32_t>(integer_));
    }
    return date;
}

DateTime Variant::toDateTime() const {
    DateTime moment;
    if (storage_ == VariantStorage::Text) {
        // A text with a date and no time is still a date.
        if (!moment.parse(text_.c_str()))
            moment.date().parse(text_.c_str(), false);
    } else if (storage_ == VariantStorage::DateTime) {
        moment = dateTime_;
    }
    return moment;
}

Time Variant::toTime() const {
    Time time;
    if (storage_ == VariantStorage::Text) {
        const char* cursor = text_.c_str();
        time.parse(cursor);
    } else if (storage_ == VariantStorage::DateTime) {
        time = dateTime_.time();
    }
    return time;
}

bool Variant::isEmpty() const {
    switch (storage_) {
    case VariantStorage::Integer:
        return integer_ == 0;
    case VariantStorage::Text:
        return text_.isEmpty();
    case VariantStorage::Floating:
    case VariantStorage::DateTime:
        return conversion_(*this, Query::Empty, nullptr) != 0;
    case VariantStorage::None:
        break;
    }
    return true;
}
