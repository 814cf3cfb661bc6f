#include "recovery/name_match.h"

#include <cstddef>

namespace lumbra {
namespace {

// Signed positions: the rule steps a position back by one before searching from it.
using Pos = std::ptrdiff_t;

class Matcher {
public:
    Matcher(std::string_view name, std::string_view pattern)
        : n_(name), p_(pattern), lenN_(static_cast<Pos>(name.size())),
          lenP_(static_cast<Pos>(pattern.size())) {}

    bool Run();

private:
    // The name reads as NUL-terminated: its terminator (and anything past it) is '\0'.
    char NameAt(Pos k) const { return k >= 0 && k < lenN_ ? n_[static_cast<size_t>(k)] : '\0'; }
    char PatternAt(Pos k) const { return p_[static_cast<size_t>(k)]; }
    // True when the last m characters of the name (all of it when m >= lenN) equal text.
    bool TailEquals(std::string_view text) const {
        Pos m = static_cast<Pos>(text.size());
        std::string_view tail = m >= lenN_ ? n_ : n_.substr(static_cast<size_t>(lenN_ - m));
        return tail == text;
    }
    bool CharFoundFrom(char ch, Pos k) const {
        return k < lenN_ && n_.find(ch, static_cast<size_t>(k < 0 ? 0 : k)) != std::string_view::npos;
    }
    Pos TextFoundFrom(std::string_view text, Pos k) const {
        if (k > lenN_) return -1;
        auto at = n_.find(text, static_cast<size_t>(k < 0 ? 0 : k));
        return at == std::string_view::npos ? -1 : static_cast<Pos>(at);
    }

    // A step either decides the answer (Answer) or leaves the walk to go on.
    void StepStar();
    void StepQuestion();
    void StepLiteral(char ch);
    void Answer(bool result) { decided_ = true; result_ = result; }

    std::string_view n_;
    std::string_view p_;
    Pos lenN_;
    Pos lenP_;
    std::string t_;
    bool starred_ = false;
    Pos i_ = 0;
    Pos j_ = 0;
    bool decided_ = false;
    bool result_ = false;
};

void Matcher::StepStar() {
    t_.clear();
    starred_ = true;
    if (i_ + 1 >= lenP_) return Answer(true);
    Pos s = i_;
    char d = PatternAt(i_ + 1);
    while (d == '*' || d == '?') {
        ++i_;
        if (i_ + 1 > lenP_) return Answer(true);
        d = PatternAt(i_);
    }
    if (i_ + 1 == lenP_) return Answer(lenN_ > 0 && NameAt(lenN_ - 1) == d);
    if (s < i_) --i_;
    ++j_;
    if (j_ >= lenN_ && i_ + 1 < lenP_)
        return Answer(i_ + 2 == lenP_ && PatternAt(i_) == '*' && CharFoundFrom(d, i_ + 1));
}

void Matcher::StepQuestion() {
    if (i_ + 1 == lenP_) {
        t_.push_back('?');
        Pos m = static_cast<Pos>(t_.size());
        std::string tail(m >= lenN_ ? n_ : n_.substr(static_cast<size_t>(lenN_ - m)));
        if (!tail.empty()) tail.back() = '?';
        return Answer(tail == t_);
    }
    Pos e = j_ + 1;
    if (e > lenP_ && i_ + 1 < lenP_) return Answer(false);
    if (i_ + 2 < lenP_ && e >= lenN_) return Answer(false);
    j_ = e;
}

void Matcher::StepLiteral(char ch) {
    if (!starred_) {
        if (i_ >= lenN_ || ch != NameAt(j_)) return Answer(false);
        ++j_;
        return;
    }
    if (ch == NameAt(j_)) {
        if (i_ + 2 < lenP_ && j_ + 1 >= lenN_) return Answer(false);
        t_.push_back(ch);
        if (i_ + 1 == lenP_) return Answer(TailEquals(t_));
        ++j_;
        return;
    }
    t_.push_back(ch);
    if (i_ + 1 == lenP_) return Answer(TailEquals(t_));
    --j_;
    Pos found = TextFoundFrom(t_, j_);
    if (found < 0) return Answer(false);
    j_ = static_cast<Pos>(t_.size()) + found - 1;
    if (j_ + 1 >= lenN_) return Answer(i_ + 1 >= lenP_);
    ++j_;
}

bool Matcher::Run() {
    while (!decided_) {
        char ch = PatternAt(i_);
        if (ch == '*') StepStar();
        else if (ch == '?') StepQuestion();
        else StepLiteral(ch);
        if (decided_) break;
        ++i_;
        if (i_ >= lenP_) Answer(true);
    }
    return result_;
}

// A pattern ending in a run of "*" behaves as if it ended in one.
std::string_view DropExtraTrailingStars(std::string_view pattern) {
    while (pattern.size() >= 2 && pattern.back() == '*' && pattern[pattern.size() - 2] == '*')
        pattern.remove_suffix(1);
    return pattern;
}

}  // namespace

bool MatchName(std::string_view name, std::string_view pattern) {
    if (name.empty() || pattern.empty()) return false;
    bool hasStar = pattern.find('*') != std::string_view::npos;
    bool hasQuestion = pattern.find('?') != std::string_view::npos;
    if (!hasStar && name.size() < pattern.size()) return false;
    if (pattern == "*") return true;
    if (pattern == "*.*") return name.find('.') != std::string_view::npos;
    if (!hasStar && !hasQuestion) return name.find(pattern) != std::string_view::npos;
    return Matcher(name, DropExtraTrailingStars(pattern)).Run();
}

std::string UpperCase8Bit(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        auto byte = static_cast<unsigned char>(c);
        bool small = (byte >= 'a' && byte <= 'z') || (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7);
        if (small) c = static_cast<char>(byte - 0x20);
    }
    return upper;
}

}  // namespace lumbra
