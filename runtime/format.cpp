#include "runtime/format.h"

#include <cmath>

int32_t TruncToInt(float value) {
    if (std::isnan(value)) return INT32_MIN;
    float t = std::trunc(value);
    // 2^31 is exactly representable as a float; anything at or beyond it is out of range.
    if (t >= 2147483648.0f || t < -2147483648.0f) return INT32_MIN;
    return static_cast<int32_t>(t);
}

std::string FormatDecimal(int32_t value) {
    // Work in 64 bits so that -2^31 negates safely.
    int64_t v = value;
    bool negative = v < 0;
    if (negative) v = -v;
    char digits[12];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0);
    std::string out;
    if (negative) out.push_back('-');
    while (n > 0) out.push_back(digits[--n]);
    return out;
}

std::vector<std::string> SplitList(std::string_view text, char separator) {
    std::vector<std::string> pieces;
    for (size_t start = 0;;) {
        const size_t end = text.find(separator, start);
        pieces.emplace_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) return pieces;
        start = end + 1;
    }
}
