#include "toolkit/markup_size.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace lumbra {

namespace {

constexpr int kFontSizeTable[7] = {8, 10, 12, 14, 18, 24, 36};

std::string_view WithoutSign(std::string_view value) {
    if (!value.empty() && (value[0] == '+' || value[0] == '-')) value.remove_prefix(1);
    return value;
}

int Truncate(double value) {
    if (!(std::fabs(value) <= kMaxMarkupSize)) return 0;
    return static_cast<int>(value);
}

int HoldExtent(long long value) {
    return static_cast<int>(std::clamp<long long>(value, -kMaxMarkupExtent, kMaxMarkupExtent));
}

}  // namespace

int AddExtent(int a, int b) { return HoldExtent(static_cast<long long>(a) + b); }

int ScaleExtent(int value, long long numerator, long long denominator) {
    if (denominator == 0) return 0;
    // The numerator is held within 2^31 so that the product fits in 64 bits.
    const long long product = static_cast<long long>(value) * std::clamp<long long>(numerator, -(1LL << 31), 1LL << 31);
    return HoldExtent(product / denominator);
}

int MulDiv(int a, int b, int c) {
    if (c == 0) return 0;
    const double exact = static_cast<double>(a) * b / c;
    if (!(std::fabs(exact) < 2e9)) return 0;
    return static_cast<int>(std::lround(exact));
}

bool IsPercentSize(std::string_view value) { return !value.empty() && value.back() == '%'; }

int ParseSize(std::string_view value, int current, const SizeContext& context,
              bool fontSizeTable) {
    if (value.empty()) return current;
    if (IsPercentSize(value)) {
        const std::string number(WithoutSign(value.substr(0, value.size() - 1)));
        return Truncate(MulDiv(current, Truncate(std::strtod(number.c_str(), nullptr)), 100));
    }
    const std::string_view unsigned_value = WithoutSign(value);
    const std::string text(unsigned_value);
    const double number = std::strtod(text.c_str(), nullptr);
    const std::string_view unit =
        unsigned_value.size() >= 2 ? unsigned_value.substr(unsigned_value.size() - 2) : "";
    const double inches = number * context.pixelsPerInch;
    if (unit == "px") return Truncate(number);
    if (unit == "ex") return Truncate(number * context.xHeight);
    if (unit == "em") return Truncate(number * context.fontHeight);
    if (unit == "in") return Truncate(inches);
    if (unit == "cm") return Truncate(inches * 0.39370078740157477);
    if (unit == "mm") return Truncate(inches * 0.03937007874015748);
    if (unit == "pt") return Truncate(inches / 72);
    if (unit == "pc") return Truncate(inches / 6);
    const long plain = std::strtol(text.c_str(), nullptr, 0);
    if (fontSizeTable && plain >= 1 && plain <= 7) return kFontSizeTable[plain - 1];
    if (plain > kMaxMarkupSize || plain < 0) return 0;
    return static_cast<int>(plain);
}

}  // namespace lumbra
