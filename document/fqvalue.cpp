#include "document/fqvalue.h"

#include <cmath>
#include <cstdio>
#include <cstring>

TFqValue::TFqValue(std::string_view text) {
    const std::string copy(text);
    double megahertz = 0;
    if (std::sscanf(copy.c_str(), "%lf", &megahertz) != 1)
        megahertz = 0;
    if (megahertz > 10 && megahertz < 1000) {
        // A decimal text such as 150.0125 lies a hair below its exact value
        // in binary; a thousandth of a hertz absorbs that before truncation.
        hertz_ = static_cast<std::uint32_t>(std::trunc(megahertz * 1'000'000.0 + 0.001));
    } else {
        hertz_ = 150'000'000;
    }
}

TFqValue TFqValue::FromHertz(std::uint32_t hertz) {
    TFqValue value;
    value.hertz_ = hertz;
    return value;
}

std::uint32_t TFqValue::StepSize() const {
    if (hertz_ < 103'000'000)
        return 5'000;
    if (hertz_ >= 700'000'000)
        return 6'250;
    const std::uint32_t base = hertz_ < 375'000'000 ? 103'000'000 : 375'000'000;
    const std::uint32_t offset = hertz_ - base;
    for (const std::uint32_t step : {6'250u, 5'000u, 2'500u, 3'125u})
        if (offset % step == 0)
            return step;
    return 125;
}

void TFqValue::StepUp(int steps) {
    for (int i = 0; i < steps && hertz_ < 1'000'000'000; ++i)
        hertz_ += StepSize();
}

void TFqValue::StepDown(int steps) {
    for (int i = 0; i < steps && hertz_ > 10'000'000; ++i)
        hertz_ -= StepSize();
}

std::string TFqValue::Format() const {
    // Whole megahertz and the fraction in tens of hertz (five decimals),
    // rounded; fewer decimals when the whole part is long, to stay in nine
    // characters.
    const std::uint64_t tens = (static_cast<std::uint64_t>(hertz_) + 5) / 10;
    std::uint64_t whole = tens / 100'000;
    std::uint64_t fraction = tens % 100'000;
    int decimals = 5;
    const int wholeDigits = whole >= 1000 ? 4 : whole >= 100 ? 3 : whole >= 10 ? 2 : 1;
    while (wholeDigits + 1 + decimals > 9) {
        fraction = (fraction + 5) / 10;
        --decimals;
    }
    std::uint64_t scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    if (fraction >= scale) {
        whole += 1;
        fraction -= scale;
    }
    char text[40];
    std::snprintf(text, sizeof text, "%llu.%0*llu", static_cast<unsigned long long>(whole),
                  decimals, static_cast<unsigned long long>(fraction));
    std::string result(text);
    while (result.back() == '0')
        result.pop_back();
    if (result.back() == '.')
        result.pop_back();
    return result;
}

void TFqValue::Format(char* buffer, std::size_t size) const {
    if (buffer == nullptr || size == 0)
        return;
    std::memset(buffer, 0, size);
    const std::string text = Format();
    std::memcpy(buffer, text.data(), std::min(text.size(), size - 1));
}
