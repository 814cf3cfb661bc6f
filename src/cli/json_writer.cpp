#include "cli/json_writer.h"

#include <array>
#include <charconv>

namespace lumbra::cli {
namespace {

constexpr size_t kFlushSize = 1 << 16;

// What a byte of a string becomes: itself, a JSON escape, or (Latin-1 above 0x7F) two bytes
// of UTF-8.
enum class ByteClass : uint8_t { Plain, Escape, Latin1High };

constexpr std::array<ByteClass, 256> ByteClasses() {
    std::array<ByteClass, 256> classes{};
    for (size_t byte = 0; byte < classes.size(); ++byte) {
        if (byte < 0x20 || byte == '"' || byte == '\\') classes[byte] = ByteClass::Escape;
        else if (byte >= 0x80) classes[byte] = ByteClass::Latin1High;
    }
    return classes;
}

constexpr std::array<ByteClass, 256> kByteClasses = ByteClasses();

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

// Appends text, escaped, in runs of plain bytes; with latin1, bytes above 0x7F become UTF-8,
// otherwise they are UTF-8 already and pass as they are.
void AppendEscaped(std::string& out, std::string_view text, bool latin1) {
    size_t runStart = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const ByteClass kind = kByteClasses[byte];
        if (kind == ByteClass::Plain || (kind == ByteClass::Latin1High && !latin1)) continue;
        out.append(text.data() + runStart, i - runStart);
        if (kind == ByteClass::Escape) {
            AppendEscape(out, text[i]);
        } else {
            out.push_back(static_cast<char>(0xC0 | (byte >> 6)));
            out.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
        }
        runStart = i + 1;
    }
    out.append(text.data() + runStart, text.size() - runStart);
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
    const bool document = firstInLevel_.empty();
    separate();
    buffer_.push_back('{');
    firstInLevel_.push_back(1);
    if (document) key("format").value(kFormatVersion);
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
    AppendEscaped(buffer_, name, false);
    buffer_ += "\":";
    afterKey_ = true;
    return *this;
}

void JsonWriter::stringValue(std::string_view text, bool latin1) {
    separate();
    buffer_.push_back('"');
    AppendEscaped(buffer_, text, latin1);
    buffer_.push_back('"');
}

JsonWriter& JsonWriter::value(std::string_view text) {
    stringValue(text, false);
    return *this;
}

JsonWriter& JsonWriter::latin1Value(std::string_view latin1) {
    stringValue(latin1, true);
    return *this;
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

JsonWriter& JsonWriter::null() {
    separate();
    buffer_ += "null";
    return *this;
}

void JsonWriter::finish() {
    buffer_.push_back('\n');
    flush();
}

}  // namespace lumbra::cli
