#include "files/number_text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>

namespace quillstep {
namespace {

// Both rules carry at most this many significant decimal digits.
constexpr int SIGNIFICANT_DIGITS = 18;

constexpr std::array<std::uint64_t, 20> POWERS_OF_TEN = [] {
    std::array<std::uint64_t, 20> powers{};
    powers[0] = 1;
    for (std::size_t i = 1; i < powers.size(); ++i) powers[i] = powers[i - 1] * 10;
    return powers;
}();

constexpr std::uint64_t LOWEST_EIGHTEEN_DIGITS = POWERS_OF_TEN[SIGNIFICANT_DIGITS - 1];  // 10^17
constexpr std::uint64_t BEYOND_EIGHTEEN_DIGITS = POWERS_OF_TEN[SIGNIFICANT_DIGITS];      // 10^18

constexpr std::array<std::uint32_t, 14> POWERS_OF_FIVE = [] {
    std::array<std::uint32_t, 14> powers{};
    powers[0] = 1;
    for (std::size_t i = 1; i < powers.size(); ++i) powers[i] = powers[i - 1] * 5;
    return powers;
}();

// The largest power of five that fits in one 32-bit limb.
constexpr int FIVES_PER_LIMB = 13;

// A finite non-zero magnitude rounded to 18 significant digits:
// magnitude ~ digits * 10^(pointPosition - 18), with 10^17 <= digits < 10^18.
// pointPosition is the place of the decimal point counted from the first digit
// (2 for 39, 0 for 0.5, -1 for 0.016).
struct EighteenDigits {
    std::uint64_t digits;
    int pointPosition;
};

// An unsigned integer of fixed capacity, least significant 32-bit limb first. The widest value
// ever held is a 53-bit mantissa times 5^342 (the smallest subnormal scaled up) or times 2^682
// (the largest double scaled down, before division), both under 900 bits.
struct WideInteger {
    std::array<std::uint32_t, 32> limbs{};
    int size = 0;
};

void setWide(WideInteger& wide, std::uint64_t value) {
    wide.size = 0;
    while (value != 0) {
        wide.limbs[wide.size++] = static_cast<std::uint32_t>(value);
        value >>= 32;
    }
}

void multiplyWide(WideInteger& wide, std::uint32_t factor) {
    std::uint64_t carry = 0;
    for (int i = 0; i < wide.size; ++i) {
        const std::uint64_t product = static_cast<std::uint64_t>(wide.limbs[i]) * factor + carry;
        wide.limbs[i] = static_cast<std::uint32_t>(product);
        carry = product >> 32;
    }
    if (carry != 0) wide.limbs[wide.size++] = static_cast<std::uint32_t>(carry);
}

void shiftWideLeft(WideInteger& wide, int bits) {
    if (wide.size == 0) return;
    const int limbShift = bits / 32;
    const int bitShift = bits % 32;
    int newSize = wide.size + limbShift + 1;
    wide.limbs[newSize - 1] = 0;
    for (int i = wide.size - 1; i >= 0; --i) {
        const std::uint64_t moved = static_cast<std::uint64_t>(wide.limbs[i]) << bitShift;
        wide.limbs[i + limbShift + 1] |= static_cast<std::uint32_t>(moved >> 32);
        wide.limbs[i + limbShift] = static_cast<std::uint32_t>(moved);
    }
    std::fill(wide.limbs.begin(), wide.limbs.begin() + limbShift, 0u);
    while (newSize > 0 && wide.limbs[newSize - 1] == 0) --newSize;
    wide.size = newSize;
}

// Floor division; returns whether a non-zero remainder was dropped.
bool divideWide(WideInteger& wide, std::uint32_t divisor) {
    std::uint64_t remainder = 0;
    for (int i = wide.size - 1; i >= 0; --i) {
        const std::uint64_t current = (remainder << 32) | wide.limbs[i];
        wide.limbs[i] = static_cast<std::uint32_t>(current / divisor);
        remainder = current % divisor;
    }
    while (wide.size > 0 && wide.limbs[wide.size - 1] == 0) --wide.size;
    return remainder != 0;
}

// Floor division by 2^bits; returns whether a set bit was dropped.
bool shiftWideRight(WideInteger& wide, int bits) {
    const int limbShift = bits / 32;
    const int bitShift = bits % 32;
    if (limbShift >= wide.size) {
        const bool dropped = wide.size != 0;
        wide.size = 0;
        return dropped;
    }
    bool dropped = false;
    for (int i = 0; i < limbShift; ++i) dropped |= wide.limbs[i] != 0;
    if (bitShift != 0) dropped |= (wide.limbs[limbShift] & ((1u << bitShift) - 1)) != 0;
    const int newSize = wide.size - limbShift;
    for (int i = 0; i < newSize; ++i) {
        const std::uint64_t high = i + limbShift + 1 < wide.size ? wide.limbs[i + limbShift + 1] : 0;
        const std::uint64_t pair = (high << 32) | wide.limbs[i + limbShift];
        wide.limbs[i] = static_cast<std::uint32_t>(pair >> bitShift);
    }
    wide.size = newSize;
    while (wide.size > 0 && wide.limbs[wide.size - 1] == 0) --wide.size;
    return dropped;
}

// floor(2 * mantissa * 2^binaryExponent * 10^decimalScale), computed exactly; `inexact` tells
// whether anything was dropped on the way. The extra factor 2 keeps the half bit for rounding.
WideInteger doubledScaledValue(std::uint64_t mantissa, int binaryExponent, int decimalScale,
                               bool& inexact) {
    WideInteger wide;
    setWide(wide, mantissa);
    int twos = binaryExponent + decimalScale + 1;
    int fives = decimalScale;
    // All multiplications come before all divisions, so that only the final floor is taken.
    for (; fives >= FIVES_PER_LIMB; fives -= FIVES_PER_LIMB) multiplyWide(wide, POWERS_OF_FIVE[FIVES_PER_LIMB]);
    if (fives > 0) multiplyWide(wide, POWERS_OF_FIVE[fives]);
    if (twos > 0) shiftWideLeft(wide, twos);
    // A chain of floor divisions equals one floor division by the product, and it is exact
    // only when every step is.
    inexact = false;
    for (; fives <= -FIVES_PER_LIMB; fives += FIVES_PER_LIMB)
        inexact |= divideWide(wide, POWERS_OF_FIVE[FIVES_PER_LIMB]);
    if (fives < 0) inexact |= divideWide(wide, POWERS_OF_FIVE[-fives]);
    if (twos < 0) inexact |= shiftWideRight(wide, -twos);
    return wide;
}

int decimalDigitCount(std::uint64_t value) {
    int count = 1;
    while (count < 20 && value >= POWERS_OF_TEN[count]) ++count;
    return count;
}

// Reduces a finite, non-zero magnitude to its 18-digit decimal integer, rounded to nearest with
// ties to even from the exact binary value.
EighteenDigits eighteenDigitsOf(double magnitude) {
    const auto bits = std::bit_cast<std::uint64_t>(magnitude);
    const int exponentField = static_cast<int>((bits >> 52) & 0x7FF);
    std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
    int binaryExponent = -1074;
    if (exponentField != 0) {
        mantissa |= std::uint64_t{1} << 52;
        binaryExponent = exponentField - 1075;
    }

    // Whole numbers below 2^53: the digits are exact, nothing to round.
    if (binaryExponent <= 0 && binaryExponent > -53 &&
        (mantissa & ((std::uint64_t{1} << -binaryExponent) - 1)) == 0) {
        const std::uint64_t whole = mantissa >> -binaryExponent;
        const int count = decimalDigitCount(whole);
        return {whole * POWERS_OF_TEN[SIGNIFICANT_DIGITS - count], count};
    }

    // floor(log10) of the magnitude is this estimate or next to it; the loop settles it exactly.
    const int binaryLog = static_cast<int>(std::bit_width(mantissa)) - 1 + binaryExponent;
    int decimalScale = (SIGNIFICANT_DIGITS - 1) - ((binaryLog * 78913) >> 18);
    for (;;) {
        bool inexact = false;
        const WideInteger doubled = doubledScaledValue(mantissa, binaryExponent, decimalScale, inexact);
        if (doubled.size > 2) {
            --decimalScale;
            continue;
        }
        const std::uint64_t twice = doubled.size == 0 ? 0
                                    : doubled.size == 1
                                        ? doubled.limbs[0]
                                        : (static_cast<std::uint64_t>(doubled.limbs[1]) << 32) | doubled.limbs[0];
        if (twice >= 2 * BEYOND_EIGHTEEN_DIGITS) {
            --decimalScale;
            continue;
        }
        if (twice < 2 * LOWEST_EIGHTEEN_DIGITS) {
            ++decimalScale;
            continue;
        }
        std::uint64_t digits = twice >> 1;
        const bool halfBit = (twice & 1) != 0;
        if (halfBit && (inexact || (digits & 1) != 0)) ++digits;
        if (digits == BEYOND_EIGHTEEN_DIGITS) {
            digits = LOWEST_EIGHTEEN_DIGITS;
            --decimalScale;
        }
        return {digits, SIGNIFICANT_DIGITS - decimalScale};
    }
}

// Writes the decimal digits of a positive value; returns how many.
int writeDigits(std::uint64_t value, char* out) {
    char reversed[20];
    int count = 0;
    do {
        reversed[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    for (int i = 0; i < count; ++i) out[i] = reversed[count - 1 - i];
    return count;
}

int writeExponent(int exponent, char* out) {
    return writeDigits(static_cast<std::uint64_t>(exponent), out);
}

// Infinities and NaN never arise from counts or time differences; they get a readable text
// rather than digits of garbage.
bool isSpecialValue(double value) { return !std::isfinite(value); }

const char* specialValueWord(double value) { return std::isnan(value) ? "NAN" : "INF"; }

}  // namespace

std::string signedNumberText(double value, int digits) {
    if (digits < 1 || digits > SIGNIFICANT_DIGITS) digits = SIGNIFICANT_DIGITS;
    const char sign = value < 0 ? '-' : ' ';
    if (isSpecialValue(value)) return std::string(1, std::isnan(value) ? ' ' : sign) + specialValueWord(value);
    if (value == 0) return " 0";

    const EighteenDigits reduced = eighteenDigitsOf(std::fabs(value));
    std::uint64_t kept = reduced.digits / POWERS_OF_TEN[SIGNIFICANT_DIGITS - digits];
    int pointPosition = reduced.pointPosition;
    if (digits < SIGNIFICANT_DIGITS) {
        // Only the first dropped digit decides; a 5 rounds up only after an odd kept digit.
        const auto firstDropped = (reduced.digits / POWERS_OF_TEN[SIGNIFICANT_DIGITS - 1 - digits]) % 10;
        if (firstDropped > 5 || (firstDropped == 5 && (kept & 1) != 0)) ++kept;
        if (kept == POWERS_OF_TEN[digits]) {
            kept = POWERS_OF_TEN[digits - 1];
            ++pointPosition;
        }
    }
    while (kept % 10 == 0) kept /= 10;

    char keptDigits[20];
    const int keptCount = writeDigits(kept, keptDigits);

    char text[48];
    int length = 0;
    text[length++] = sign;
    if (pointPosition <= digits && keptCount - pointPosition <= digits) {
        if (pointPosition <= 0) {
            text[length++] = '.';
            for (int i = 0; i < -pointPosition; ++i) text[length++] = '0';
            for (int i = 0; i < keptCount; ++i) text[length++] = keptDigits[i];
        } else {
            const int beforePoint = std::min(pointPosition, keptCount);
            for (int i = 0; i < beforePoint; ++i) text[length++] = keptDigits[i];
            for (int i = keptCount; i < pointPosition; ++i) text[length++] = '0';
            if (keptCount > pointPosition) {
                text[length++] = '.';
                for (int i = pointPosition; i < keptCount; ++i) text[length++] = keptDigits[i];
            }
        }
    } else {
        text[length++] = keptDigits[0];
        if (keptCount > 1) {
            text[length++] = '.';
            for (int i = 1; i < keptCount; ++i) text[length++] = keptDigits[i];
        }
        text[length++] = 'E';
        if (pointPosition >= 1) {
            text[length++] = '+';
            length += writeExponent(pointPosition - 1, text + length);
        } else {
            text[length++] = '-';
            length += writeExponent(1 - pointPosition, text + length);
        }
    }
    return std::string(text, static_cast<std::size_t>(length));
}

std::string maskedNumberText(double value, std::string_view mask) {
    const auto pointAt = mask.find('.');
    const bool hasPoint = pointAt != std::string_view::npos;
    const int fractionPlaces =
        hasPoint ? static_cast<int>(std::count(mask.begin() + static_cast<std::ptrdiff_t>(pointAt) + 1, mask.end(), '#'))
                 : 0;

    std::string text;
    if (value < 0) text += '-';
    if (isSpecialValue(value)) return text + specialValueWord(value);
    if (value == 0) return hasPoint ? "0." : "0";

    const EighteenDigits reduced = eighteenDigitsOf(std::fabs(value));
    // The reduced value is `rounded` * 10^-fractionDigits.
    std::uint64_t rounded = reduced.digits;
    int fractionDigits = SIGNIFICANT_DIGITS - reduced.pointPosition;
    if (fractionDigits > fractionPlaces) {
        const int dropped = fractionDigits - fractionPlaces;
        if (dropped > SIGNIFICANT_DIGITS) {
            rounded = 0;  // below a tenth of the last kept place: rounds to zero
        } else {
            const std::uint64_t divisor = POWERS_OF_TEN[dropped];
            const std::uint64_t remainder = rounded % divisor;
            rounded /= divisor;
            if (2 * remainder > divisor || (2 * remainder == divisor && (rounded & 1) != 0)) ++rounded;
        }
        fractionDigits = fractionPlaces;
    }

    char digitText[20];
    const int digitCount = rounded == 0 ? 0 : writeDigits(rounded, digitText);
    const int integerLength = digitCount - fractionDigits;

    int fractionEnd = digitCount;
    const int fractionStart = std::max(integerLength, 0);
    while (fractionEnd > fractionStart && digitText[fractionEnd - 1] == '0') --fractionEnd;
    const bool hasFractionDigits = hasPoint && fractionEnd > fractionStart;

    text.reserve(text.size() + static_cast<std::size_t>(std::max(integerLength, 1)) + 1 +
                 (hasFractionDigits ? static_cast<std::size_t>(std::max(-integerLength, 0) + fractionEnd) : 0));
    if (integerLength <= 0) {
        text += '0';
    } else {
        text.append(digitText, static_cast<std::size_t>(std::min(integerLength, digitCount)));
        if (integerLength > digitCount) text.append(static_cast<std::size_t>(integerLength - digitCount), '0');
    }
    if (hasPoint) {
        text += '.';
        if (hasFractionDigits) {
            if (integerLength < 0) text.append(static_cast<std::size_t>(-integerLength), '0');
            text.append(digitText + fractionStart, static_cast<std::size_t>(fractionEnd - fractionStart));
        }
    }
    return text;
}

}  // namespace quillstep
