#pragma once
// The date and time format language. Each code letter (a doubled letter is
// one code) prints one field; every other character is copied.
//
//   d dd      day of month, "%d" / "%02d"      D DD   day as "3rd" / "third"
//   m mm      month number                      M MM   "Jul" / "July"
//   w ww      weekday number 1-7                W WW   "Tue" / "Tuesday"
//   y yy      year % 100 "%02d" / year "%04d"   Y YY   the same in words
//   Q         "Q" and the quarter (dates only)
//   h hh      hour 1-12                         H HH   hour 0-23
//   i ii      minute                            s ss   second
//   ap        "a" or "p"                        AP     "a.m." or "p.m."
//   b         zone offset "+hhmm" / "-hhmm"
//
// The time codes exist only where a time is formatted; there, and in plain
// dates, the other kind's letters are copied.

class Date;
class Time;
class String;

// Used for a null or empty format. Process-wide, changeable at start-up.
String& defaultDateFormat();     // "m/d/y"
String& defaultDateTimeFormat(); // "m/d/y h:ii:ssap"
String& defaultTimeFormat();     // "h:ii:ssap"

// time null: a date alone (Q is a code, time letters are copied); else a
// date and time (Q is copied).
String formatDateAndTime(const char* fmt, const Date& date, const Time* time);
