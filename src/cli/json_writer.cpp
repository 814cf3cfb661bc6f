#include "cli/json_writer.h"

#include <charconv>

#include "disk/text_encoding.h"

namespace lumbra::cli {
namespace {

constexpr size_t kFlushSize = 1 << 16;

bool NeedsEscape(char c) { return static_cast<unsigned char>(c) < 0x20 || c == '"' || c == '\\'; }

void AppendEscape(std::string& out, char c) {
    static constexpr char kHex[] = "0123456789abcdef";
    switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default: {
            const auto byte = static_cast<unsigned char>(c);
            out += {'\\', 'u', '0', '0', kHex[byte >> 4], kHex[byte & 0x0F]};
        }
    }
}

// Appends text, escaped, in runs between the characters that need an escape.
void AppendEscaped(std::string& out, std::string_view text) {
    size_t runStart = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (!NeedsEscape(text[i])) continue;
        out.append(text.substr(runStart, i - runStart));
        AppendEscape(out, text[i]);
        runStart = i + 1;
    }
    out.append(text.substr(runStart));
}

template <typename Number>
void AppendNumber(std::string& out, Number number) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, number);
    out.append(digits, result.ptr);
}

}  // namespace

void JsonWriter::separate() {
    flushWhenFull();
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!firstInLevel_.empty()) {
        if (!firstInLevel_.back()) buffer_.push_back(',');
        firstInLevel_.back() = 0;
    }
}

void JsonWriter::flushWhenFull() {
    if (buffer_.size() >= kFlushSize) flush();
}

void JsonWriter::flush() {
    out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
}

JsonWriter& JsonWriter::beginObject() {
    separate();
    buffer_.push_back('{');
    firstInLevel_.push_back(1);
    return *this;
}

JsonWriter& JsonWriter::endObject() {
    firstInLevel_.pop_back();
    buffer_.push_back('}');
    return *this;
}

JsonWriter& JsonWriter::beginArray() {
    separate();
    buffer_.push_back('[');
    firstInLevel_.push_back(1);
    return *this;
}

JsonWriter& JsonWriter::endArray() {
    firstInLevel_.pop_back();
    buffer_.push_back(']');
    return *this;
}

JsonWriter& JsonWriter::key(std::string_view name) {
    separate();
    buffer_.push_back('"');
    AppendEscaped(buffer_, name);
    buffer_ += "\":";
    afterKey_ = true;
    return *this;
}

JsonWriter& JsonWriter::value(std::string_view text) {
    separate();
    buffer_.push_back('"');
    AppendEscaped(buffer_, text);
    buffer_.push_back('"');
    return *this;
}

JsonWriter& JsonWriter::latin1Value(std::string_view latin1) {
    for (char c : latin1) {
        if (static_cast<unsigned char>(c) >= 0x80) return value(Latin1ToUtf8(latin1));
    }
    return value(latin1);
}

JsonWriter& JsonWriter::value(uint64_t number) {
    separate();
    AppendNumber(buffer_, number);
    return *this;
}

JsonWriter& JsonWriter::value(int64_t number) {
    separate();
    AppendNumber(buffer_, number);
    return *this;
}

JsonWriter& JsonWriter::value(bool flag) {
    separate();
    buffer_ += flag ? "true" : "false";
    return *this;
}

void JsonWriter::finish() {
    buffer_.push_back('\n');
    flush();
}

}  // namespace lumbra::cli
