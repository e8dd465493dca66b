#include "Json.h"

#include <cstdio>

namespace robot {

std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (char ch : text) {
        unsigned char c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20 || c == 0x7F) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            } else {
                out += ch;
            }
        }
    }
    return out + "\"";
}

void JsonObject::key(const char* name) {
    if (body_.size() > 1)
        body_ += ',';
    body_ += jsonString(name);
    body_ += ':';
}

JsonObject& JsonObject::number(const char* name, long long value) {
    key(name);
    body_ += std::to_string(value);
    return *this;
}

JsonObject& JsonObject::text(const char* name, const std::string& value) {
    key(name);
    body_ += jsonString(value);
    return *this;
}

JsonObject& JsonObject::boolean(const char* name, bool value) {
    key(name);
    body_ += value ? "true" : "false";
    return *this;
}

JsonObject& JsonObject::raw(const char* name, const std::string& json) {
    key(name);
    body_ += json;
    return *this;
}

} // namespace robot
