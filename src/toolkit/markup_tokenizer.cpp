#include "toolkit/markup_tokenizer.h"

#include <algorithm>
#include <cstdlib>

namespace lumbra {

namespace {

MarkupToken MakeTag(std::string_view inner) {
    MarkupToken token;
    token.kind = MarkupToken::Kind::Tag;
    const size_t nameEnd = inner.find_first_of(" =");
    std::string_view name = inner.substr(0, nameEnd);
    if (!name.empty() && name[0] == '/') {
        token.closing = true;
        name.remove_prefix(1);
    }
    token.text = std::string(name);
    if (nameEnd != std::string_view::npos) {
        std::string_view params = inner.substr(nameEnd);
        while (!params.empty() && params.front() == ' ') params.remove_prefix(1);
        token.params = std::string(params);
    }
    return token;
}

void SkipSpaces(std::string_view text, size_t& pos) {
    while (pos < text.size() && text[pos] == ' ') ++pos;
}

}  // namespace

std::optional<MarkupToken> MarkupTokenizer::next() {
    std::string run;
    while (pos_ < text_.size()) {
        if (text_[pos_] != '<') {
            const size_t lt = text_.find('<', pos_);
            const size_t end = lt == std::string_view::npos ? text_.size() : lt;
            run.append(text_.substr(pos_, end - pos_));
            pos_ = end;
            continue;
        }
        if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '<') {
            run += '<';
            pos_ += 2;
            continue;
        }
        const size_t gt = text_.find('>', pos_ + 1);
        if (gt == std::string_view::npos) {
            ++pos_;  // a "<" without ">" is dropped, the text goes on
            continue;
        }
        if (gt == pos_ + 1) {
            pos_ += 2;  // an empty tag
            continue;
        }
        if (!run.empty()) break;  // the tag waits for the next call
        const size_t start = pos_;
        pos_ = gt + 1;
        return MakeTag(text_.substr(start + 1, gt - start - 1));
    }
    if (run.empty()) return std::nullopt;
    return MarkupToken{MarkupToken::Kind::Text, std::move(run), {}, false};
}

MarkupAttributes ParseAttributes(std::string_view params) {
    MarkupAttributes result;
    size_t pos = 0;
    SkipSpaces(params, pos);
    while (pos < params.size()) {
        const size_t nameEnd = std::min(params.find_first_of(" =", pos), params.size());
        std::string name(params.substr(pos, nameEnd - pos));
        pos = nameEnd;
        SkipSpaces(params, pos);
        std::string value;
        if (pos < params.size() && params[pos] == '=') {
            ++pos;
            SkipSpaces(params, pos);
            if (pos < params.size() && (params[pos] == '"' || params[pos] == '\'')) {
                const size_t close = std::min(params.find(params[pos], pos + 1), params.size());
                value = std::string(params.substr(pos + 1, close - pos - 1));
                pos = std::min(close + 1, params.size());
            } else {
                const size_t end = std::min(params.find(' ', pos), params.size());
                value = std::string(params.substr(pos, end - pos));
                pos = end;
            }
        }
        if (!name.empty()) result.emplace_back(std::move(name), std::move(value));
        SkipSpaces(params, pos);
    }
    return result;
}

const std::string* FindAttribute(const MarkupAttributes& attributes, std::string_view name) {
    for (const auto& [key, value] : attributes) {
        if (key == name) return &value;
    }
    return nullptr;
}

int ObjectTagCount(std::string_view params) {
    if (params.empty() || params[0] != '=') return 1;
    const long count = std::strtol(std::string(params.substr(1)).c_str(), nullptr, 10);
    return count > 0 ? static_cast<int>(std::min(count, 1000L)) : 1;
}

}  // namespace lumbra
