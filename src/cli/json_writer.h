#pragma once
// A small streaming JSON writer: commas and escapes are its business, the shape is the caller's.
// Strings are UTF-8; on-disk Latin-1 names go through latin1Value. The text is gathered in a
// buffer and handed to the stream in large pieces, so that a list of a million records costs
// no more than its plain-text form. Every document is an object whose first member is
// "format":1, the version of the shapes the commands print: fields are added to a shape, never
// renamed or dropped, while it stays 1.
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace lumbra::cli {

class JsonWriter {
public:
    static constexpr int kFormatVersion = 1;

    explicit JsonWriter(std::ostream& out) : out_(out) {}
    ~JsonWriter() { flush(); }
    JsonWriter(const JsonWriter&) = delete;
    JsonWriter& operator=(const JsonWriter&) = delete;

    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    JsonWriter& key(std::string_view name);
    JsonWriter& value(std::string_view text);
    JsonWriter& value(const char* text) { return value(std::string_view(text)); }
    // A Latin-1 text, written as UTF-8.
    JsonWriter& latin1Value(std::string_view latin1);
    JsonWriter& value(uint64_t number);
    JsonWriter& value(int64_t number);
    JsonWriter& value(uint32_t number) { return value(static_cast<uint64_t>(number)); }
    JsonWriter& value(int number) { return value(static_cast<int64_t>(number)); }
    JsonWriter& value(bool flag);
    JsonWriter& null();
    // Ends the document with a line break and hands it to the stream.
    void finish();

private:
    void separate();
    void stringValue(std::string_view text, bool latin1);
    void flushWhenFull();
    void flush();

    std::ostream& out_;
    std::string buffer_;
    std::vector<uint8_t> firstInLevel_;
    bool afterKey_ = false;
};

}  // namespace lumbra::cli
