#pragma once
// English number words for the spelled-out date codes: 2005 is
// "two thousand five", 21 is "twenty-one", its ordinal "twenty-first".

#include <cstdint>

class String;

String numberWords(int64_t n);
String ordinalWords(int64_t n);
