#pragma once
// A small streaming JSON writer: commas and escapes are its business, the shape is the caller's.
// Strings are UTF-8; convert on-disk Latin-1 names with Latin1ToUtf8 first.
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace lumbra::cli {

class JsonWriter {
public:
    explicit JsonWriter(std::ostream& out) : out_(out) {}

    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    JsonWriter& key(std::string_view name);
    JsonWriter& value(std::string_view text);
    JsonWriter& value(const char* text) { return value(std::string_view(text)); }
    JsonWriter& value(uint64_t number);
    JsonWriter& value(int64_t number);
    JsonWriter& value(uint32_t number) { return value(static_cast<uint64_t>(number)); }
    JsonWriter& value(int number) { return value(static_cast<int64_t>(number)); }
    JsonWriter& value(bool flag);
    // Ends the document with a line break.
    void finish() { out_ << "\n"; }

private:
    void separate();
    std::ostream& out_;
    std::vector<bool> firstInLevel_;
    bool afterKey_ = false;
};

std::string JsonEscape(std::string_view text);

}  // namespace lumbra::cli
