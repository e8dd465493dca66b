// JSON output of the robot: one object per line on stdout, UTF-8, built by hand so
// that the robot needs nothing but the C++ library and Win32.
#pragma once

#include <string>

namespace robot {

// `text` quoted as a JSON string: quotes, backslashes and every control byte escaped;
// bytes from 0x80 up are passed through (the robot's texts are UTF-8).
std::string jsonString(const std::string& text);

// Builds one JSON object field by field: {"a":1,"b":"x"}.
class JsonObject {
public:
    JsonObject& number(const char* name, long long value);
    JsonObject& text(const char* name, const std::string& value);
    JsonObject& boolean(const char* name, bool value);
    // `json` is an already formed JSON value (an array or an object).
    JsonObject& raw(const char* name, const std::string& json);
    std::string str() const { return body_ + "}"; }

private:
    void key(const char* name);
    std::string body_ = "{";
};

} // namespace robot
