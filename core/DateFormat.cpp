#include "core/DateFormat.h"

#include "core/Clock.h"
#include "core/DateTime.h"
#include "core/Number.h"
#include "core/NumberWords.h"
#include "core/String.h"

namespace {

void appendNumber(String& out, int32_t value, bool twoDigits) {
    out.appendFormat(twoDigits ? "%02d" : "%d", value);
}

// The first three letters of a name, or all of it.
void appendName(String& out, const char* name, bool full) {
    if (full)
        out += name;
    else
        out.appendBytes(name, name[0] && name[1] && name[2] ? 3 : 0);
}

void appendZoneOffset(String& out) {
    const int32_t offset = timeZoneOffsetMinutes();
    const int32_t magnitude = offset < 0 ? -offset : offset;
    out.appendFormat("%c%02d%02d", offset < 0 ? '-' : '+', magnitude / 60, magnitude % 60);
}

// Appends the date code at fmt, if it is one; returns the letters used.
int appendDateCode(String& out, const char* fmt, const Date& date, bool quarterIsCode) {
    const bool doubled = fmt[1] == fmt[0];
    const int used = doubled ? 2 : 1;
    switch (fmt[0]) {
    case 'd':
        appendNumber(out, date.day(), doubled);
        return used;
    case 'D':
        out += doubled ? ordinalWords(date.day()) : ordinalSuffix(date.day());
        return used;
    case 'm':
        appendNumber(out, date.month(), doubled);
        return used;
    case 'M':
        appendName(out, monthName(date.month()), doubled);
        return used;
    case 'w':
        appendNumber(out, date.weekday(), doubled);
        return used;
    case 'W':
        appendName(out, weekdayName(date.weekday()), doubled);
        return used;
    case 'y':
        out.appendFormat(doubled ? "%04d" : "%02d", doubled ? date.year() : date.year() % 100);
        return used;
    case 'Y':
        out += numberWords(doubled ? date.year() : date.year() % 100);
        return used;
    case 'Q':
        if (!quarterIsCode)
            return 0;
        out.appendFormat("Q%d", date.quarter());
        return 1;
    default:
        return 0;
    }
}

int appendTimeCode(String& out, const char* fmt, const Time& time) {
    const bool doubled = fmt[1] == fmt[0];
    const int used = doubled ? 2 : 1;
    const int32_t hour = time.hour();
    switch (fmt[0]) {
    case 'h':
        appendNumber(out, hour % 12 == 0 ? 12 : hour % 12, doubled);
        return used;
    case 'H':
        appendNumber(out, hour, doubled);
        return used;
    case 'i':
        appendNumber(out, time.minute(), doubled);
        return used;
    case 's':
        appendNumber(out, time.second(), doubled);
        return used;
    case 'a':
    case 'A':
        if (fmt[1] != 'p' && fmt[1] != 'P')
            return 0;
        if (fmt[0] == 'a')
            out += hour < 12 ? "a" : "p";
        else
            out += hour < 12 ? "a.m." : "p.m.";
        return 2;
    case 'b':
        appendZoneOffset(out);
        return 1;
    default:
        return 0;
    }
}

} // namespace

String& defaultDateFormat() {
    static String format("m/d/y");
    return format;
}

String& defaultDateTimeFormat() {
    static String format("m/d/y h:ii:ssap");
    return format;
}

String& defaultTimeFormat() {
    static String format("h:ii:ssap");
    return format;
}

String formatDateAndTime(const char* fmt, const Date& date, const Time* time) {
    String out;
    for (const char* p = fmt; *p;) {
        int used = appendDateCode(out, p, date, time == nullptr);
        if (!used && time)
            used = appendTimeCode(out, p, *time);
        if (!used) {
            out += *p;
            used = 1;
        }
        p += used;
    }
    return out;
}

String Date::format(const char* fmt) const {
    return formatDateAndTime(fmt && *fmt ? fmt : defaultDateFormat().c_str(), *this, nullptr);
}

String Time::format(const char* fmt) const {
    return formatDateAndTime(fmt && *fmt ? fmt : defaultTimeFormat().c_str(), Date(), this);
}

String DateTime::format(const char* fmt) const {
    return formatDateAndTime(fmt && *fmt ? fmt : defaultDateTimeFormat().c_str(), date_, &time_);
}

String formatNow(const char* fmt) {
    return DateTime::now().format(fmt);
}
