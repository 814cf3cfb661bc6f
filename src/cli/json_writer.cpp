#include "cli/json_writer.h"

#include <cstdio>

namespace lumbra::cli {

std::string JsonEscape(std::string_view text) {
    std::string escaped;
    for (char c : text) {
        switch (c) {
            case '"': escaped += "\\\""; break;
            case '\\': escaped += "\\\\"; break;
            case '\n': escaped += "\\n"; break;
            case '\r': escaped += "\\r"; break;
            case '\t': escaped += "\\t"; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char code[8];
                    std::snprintf(code, sizeof code, "\\u%04x", static_cast<unsigned>(c));
                    escaped += code;
                } else {
                    escaped.push_back(c);
                }
        }
    }
    return escaped;
}

void JsonWriter::separate() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!firstInLevel_.empty()) {
        if (!firstInLevel_.back()) out_ << ",";
        firstInLevel_.back() = false;
    }
}

JsonWriter& JsonWriter::beginObject() {
    separate();
    out_ << "{";
    firstInLevel_.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::endObject() {
    firstInLevel_.pop_back();
    out_ << "}";
    return *this;
}

JsonWriter& JsonWriter::beginArray() {
    separate();
    out_ << "[";
    firstInLevel_.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::endArray() {
    firstInLevel_.pop_back();
    out_ << "]";
    return *this;
}

JsonWriter& JsonWriter::key(std::string_view name) {
    separate();
    out_ << "\"" << JsonEscape(name) << "\":";
    afterKey_ = true;
    return *this;
}

JsonWriter& JsonWriter::value(std::string_view text) {
    separate();
    out_ << "\"" << JsonEscape(text) << "\"";
    return *this;
}

JsonWriter& JsonWriter::value(uint64_t number) {
    separate();
    out_ << number;
    return *this;
}

JsonWriter& JsonWriter::value(int64_t number) {
    separate();
    out_ << number;
    return *this;
}

JsonWriter& JsonWriter::value(bool flag) {
    separate();
    out_ << (flag ? "true" : "false");
    return *this;
}

}  // namespace lumbra::cli
