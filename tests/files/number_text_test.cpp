#include "files/number_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace quillstep {
namespace {

// ---------------------------------------------------------------------------------------------
// Reference model: works on decimal digit strings only. The exact value of a double is
// mantissa * 2^e; for e >= 0 that is the mantissa doubled e times, for e < 0 it is
// mantissa * 5^-e shifted -e places to the right. Every rounding below is done on the strings.

// A decimal number: value = 0.digits * 10^point (digits without leading zeros).
struct DecimalString {
    std::string digits;
    int point = 0;
};

// Multiplies a little-endian base-10 digit vector by a small factor.
void multiplyDigits(std::vector<int>& littleEndian, int factor) {
    long long carry = 0;
    for (int& digit : littleEndian) {
        const long long product = static_cast<long long>(digit) * factor + carry;
        digit = static_cast<int>(product % 10);
        carry = product / 10;
    }
    while (carry != 0) {
        littleEndian.push_back(static_cast<int>(carry % 10));
        carry /= 10;
    }
}

DecimalString exactDecimal(double magnitude) {
    int exponent = 0;
    const double fraction = std::frexp(magnitude, &exponent);  // magnitude = fraction * 2^exponent
    auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    int twos = exponent - 53;
    std::vector<int> littleEndian;
    for (; mantissa != 0; mantissa /= 10) littleEndian.push_back(static_cast<int>(mantissa % 10));
    int fractionPlaces = 0;
    if (twos >= 0) {
        for (; twos >= 30; twos -= 30) multiplyDigits(littleEndian, 1 << 30);
        multiplyDigits(littleEndian, 1 << twos);
    } else {
        fractionPlaces = -twos;
        int fives = -twos;
        for (; fives >= 13; fives -= 13) multiplyDigits(littleEndian, 1220703125);
        for (; fives > 0; --fives) multiplyDigits(littleEndian, 5);
    }
    DecimalString result;
    for (auto it = littleEndian.rbegin(); it != littleEndian.rend(); ++it) result.digits += char('0' + *it);
    result.point = static_cast<int>(result.digits.size()) - fractionPlaces;
    const auto firstNonZero = result.digits.find_first_not_of('0');
    result.digits.erase(0, firstNonZero);
    result.point -= static_cast<int>(firstNonZero);
    return result;
}

// Adds one to the last digit; returns true when the carry ran out of the first digit.
bool incrementDigits(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return false;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
    return true;
}

bool allZeros(const std::string& text, std::size_t from) {
    return text.find_first_not_of('0', from) == std::string::npos;
}

// Exactly 18 significant digits, rounded to nearest with ties to even.
DecimalString modelEighteenDigits(double magnitude) {
    DecimalString exact = exactDecimal(magnitude);
    if (exact.digits.size() <= 18) {
        exact.digits.resize(18, '0');
        return exact;
    }
    DecimalString kept{exact.digits.substr(0, 18), exact.point};
    const char firstDropped = exact.digits[18];
    const bool tie = firstDropped == '5' && allZeros(exact.digits, 19);
    const bool up = firstDropped > '5' || (firstDropped == '5' && !tie) || (tie && (kept.digits[17] - '0') % 2 == 1);
    if (up && incrementDigits(kept.digits)) {
        kept.digits.pop_back();
        ++kept.point;
    }
    return kept;
}

std::string stripTrailingZeros(std::string text) {
    while (!text.empty() && text.back() == '0') text.pop_back();
    return text;
}

// `reduced` is the 18-digit form of the value's magnitude (computed once per value).
std::string modelSigned(double value, const DecimalString& reduced, int digits) {
    if (digits == 0 || digits > 18) digits = 18;
    if (value == 0) return " 0";
    const std::string sign = value < 0 ? "-" : " ";
    std::string kept = reduced.digits.substr(0, static_cast<std::size_t>(digits));
    int point = reduced.point;
    if (digits < 18) {
        const char firstDropped = reduced.digits[static_cast<std::size_t>(digits)];
        const bool lastKeptOdd = (kept.back() - '0') % 2 == 1;
        if ((firstDropped > '5' || (firstDropped == '5' && lastKeptOdd)) && incrementDigits(kept)) {
            kept.pop_back();
            ++point;
        }
    }
    kept = stripTrailingZeros(kept);
    const int count = static_cast<int>(kept.size());
    if (point <= digits && count - point <= digits) {
        if (point <= 0) return sign + "." + std::string(static_cast<std::size_t>(-point), '0') + kept;
        if (point >= count) return sign + kept + std::string(static_cast<std::size_t>(point - count), '0');
        return sign + kept.substr(0, static_cast<std::size_t>(point)) + "." + kept.substr(static_cast<std::size_t>(point));
    }
    std::string mantissa = kept.substr(0, 1);
    if (count > 1) mantissa += "." + kept.substr(1);
    if (point >= 1) return sign + mantissa + "E+" + std::to_string(point - 1);
    return sign + mantissa + "E-" + std::to_string(1 - point);
}

std::string modelMasked(double value, const DecimalString& reduced, const std::string& mask) {
    const auto pointAt = mask.find('.');
    const bool hasPoint = pointAt != std::string::npos;
    std::size_t places = 0;
    if (hasPoint)
        for (std::size_t i = pointAt + 1; i < mask.size(); ++i) places += mask[i] == '#';
    const std::string sign = value < 0 ? "-" : "";
    if (value == 0) return hasPoint ? "0." : "0";

    // Split the 18 digits into an integer part and a fraction part as written out.
    std::string integerPart, fractionPart;
    if (reduced.point <= 0) {
        fractionPart = std::string(static_cast<std::size_t>(-reduced.point), '0') + reduced.digits;
    } else if (reduced.point >= 18) {
        integerPart = reduced.digits + std::string(static_cast<std::size_t>(reduced.point - 18), '0');
    } else {
        integerPart = reduced.digits.substr(0, static_cast<std::size_t>(reduced.point));
        fractionPart = reduced.digits.substr(static_cast<std::size_t>(reduced.point));
    }
    if (fractionPart.size() > places) {
        const std::string dropped = fractionPart.substr(places);
        fractionPart.resize(places);
        std::string combined = "0" + integerPart + fractionPart;  // the leading 0 absorbs a carry
        const bool tie = dropped[0] == '5' && allZeros(dropped, 1);
        const bool lastOdd = (combined.back() - '0') % 2 == 1;
        if (dropped[0] > '5' || (dropped[0] == '5' && !tie) || (tie && lastOdd)) incrementDigits(combined);
        integerPart = combined.substr(0, combined.size() - places);
        fractionPart = combined.substr(combined.size() - places);
    }
    integerPart.erase(0, std::min(integerPart.find_first_not_of('0'), integerPart.size()));
    if (integerPart.empty()) integerPart = "0";
    std::string text = sign + integerPart;
    if (hasPoint) text += "." + stripTrailingZeros(fractionPart);
    return text;
}

// ---------------------------------------------------------------------------------------------
// Every example of the display texts the program shows.

TEST(NumberTextSigned, DocumentedExamples) {
    EXPECT_EQ(signedNumberText(39, 2), " 39");
    EXPECT_EQ(signedNumberText(15380937, 18), " 15380937");
    EXPECT_EQ(signedNumberText(0.5, 18), " .5");
    EXPECT_EQ(signedNumberText(2.5, 18), " 2.5");
    EXPECT_EQ(signedNumberText(123, 2), " 1.2E+2");
    EXPECT_EQ(signedNumberText(0.016, 15), " .016");
    EXPECT_EQ(signedNumberText(0.01600000000325963, 15), " 1.60000000032596E-2");
    EXPECT_EQ(signedNumberText(1.1220000000030268, 15), " 1.12200000000303");
    EXPECT_EQ(signedNumberText(0, 15), " 0");
    EXPECT_EQ(signedNumberText(0.25, 18), " .25");
    EXPECT_EQ(signedNumberText(2000, 8), " 2000");
    EXPECT_EQ(signedNumberText(8, 18), " 8");
    EXPECT_EQ(signedNumberText(5000, 10), " 5000");
    EXPECT_EQ(signedNumberText(10000, 10), " 10000");
    // File rows drop the leading blank of the 15-digit text.
    EXPECT_EQ(signedNumberText(-7, 15), "-7");
}

TEST(NumberTextSigned, RoundingAndForms) {
    // Only the first dropped digit decides; a dropped 5 goes up after an odd kept digit only.
    EXPECT_EQ(signedNumberText(0.25, 1), " .2");
    EXPECT_EQ(signedNumberText(0.75, 1), " .8");
    EXPECT_EQ(signedNumberText(2.5000001, 1), " 2");
    EXPECT_EQ(signedNumberText(3.5, 1), " 4");
    EXPECT_EQ(signedNumberText(1.449, 2), " 1.4");
    // A carry out of the leading digit raises the exponent.
    EXPECT_EQ(signedNumberText(99.96, 3), " 100");
    EXPECT_EQ(signedNumberText(999.6, 3), " 1E+3");
    EXPECT_EQ(signedNumberText(0.0996, 2), " .1");
    // Exponent form both ways, exponent without leading zeros.
    EXPECT_EQ(signedNumberText(1e20, 18), " 1E+20");
    EXPECT_EQ(signedNumberText(1.5e-7, 18), " 1.49999999999999993E-7");
    EXPECT_EQ(signedNumberText(std::ldexp(1.0, -20), 18), " 9.5367431640625E-7");
    EXPECT_EQ(signedNumberText(0.001, 2), " 1E-3");
    EXPECT_EQ(signedNumberText(0.01, 2), " .01");
    EXPECT_EQ(signedNumberText(12, 1), " 1E+1");
    EXPECT_EQ(signedNumberText(1e18, 18), " 1E+18");
    EXPECT_EQ(signedNumberText(1e17, 18), " 100000000000000000");
    // 18 digits carry the binary error of a short decimal fraction.
    EXPECT_EQ(signedNumberText(0.1, 18), " .100000000000000006");
    EXPECT_EQ(signedNumberText(0.1, 17), " .10000000000000001");
    EXPECT_EQ(signedNumberText(0.1, 16), " .1");
    // Negative values.
    EXPECT_EQ(signedNumberText(-0.5, 18), "-.5");
    EXPECT_EQ(signedNumberText(-123, 2), "-1.2E+2");
    EXPECT_EQ(signedNumberText(-0.0, 18), " 0");
}

TEST(NumberTextSigned, DigitRequestsOutsideOneToEighteenMeanEighteen) {
    const double value = 1.1220000000030268;
    const std::string eighteen = signedNumberText(value, 18);
    EXPECT_EQ(eighteen, " 1.1220000000030268");
    for (int digits : {0, 19, 25, 1000, -1}) EXPECT_EQ(signedNumberText(value, digits), eighteen) << digits;
}

TEST(NumberTextMasked, DocumentedExamples) {
    EXPECT_EQ(maskedNumberText(3, "#"), "3");
    EXPECT_EQ(maskedNumberText(0, "#"), "0");
    EXPECT_EQ(maskedNumberText(123, "#"), "123");
    EXPECT_EQ(maskedNumberText(7, "##"), "7");
    EXPECT_EQ(maskedNumberText(140, "###"), "140");
    EXPECT_EQ(maskedNumberText(2760681, "##########"), "2760681");
    EXPECT_EQ(maskedNumberText(0.5, "#.###############"), "0.5");
    EXPECT_EQ(maskedNumberText(0.5, "#.###############") + " (SUM)", "0.5 (SUM)");
    EXPECT_EQ(maskedNumberText(2, "#.###############"), "2.");
    EXPECT_EQ(maskedNumberText(0, "#.###############"), "0.");
    EXPECT_EQ(maskedNumberText(0, "###.###############"), "0.");
    EXPECT_EQ(maskedNumberText(0.5, "###.###############"), "0.5");
    EXPECT_EQ(maskedNumberText(0.016, "#.###############"), "0.016");
    EXPECT_EQ(maskedNumberText(1.1220000000030268, "###.###############"), "1.122000000003027");
    EXPECT_EQ(maskedNumberText(1234.5678, "###.###############"), "1234.56780000000003");
    EXPECT_EQ(maskedNumberText(-0.5, "#.###############"), "-0.5");
}

TEST(NumberTextMasked, RoundingAndShapes) {
    // Ties of the 18-digit value go to the even digit.
    EXPECT_EQ(maskedNumberText(0.5, "#"), "0");
    EXPECT_EQ(maskedNumberText(1.5, "#"), "2");
    EXPECT_EQ(maskedNumberText(2.5, "##"), "2");
    EXPECT_EQ(maskedNumberText(0.125, "#.##"), "0.12");
    EXPECT_EQ(maskedNumberText(0.375, "#.##"), "0.38");
    EXPECT_EQ(maskedNumberText(9.96, "#.#"), "10.");
    // A value far below the last kept place.
    EXPECT_EQ(maskedNumberText(1e-20, "#.###############"), "0.");
    EXPECT_EQ(maskedNumberText(4e-16, "#.###############"), "0.");
    EXPECT_EQ(maskedNumberText(6e-16, "#.###############"), "0.000000000000001");
    // Huge values: 18 significant digits, then zeros.
    EXPECT_EQ(maskedNumberText(1e20, "#"), "100000000000000000000");
    EXPECT_EQ(maskedNumberText(std::ldexp(1.0, 70), "#.#"), "1180591620717411300000.");
    // A mask ending in its point, and the empty mask.
    EXPECT_EQ(maskedNumberText(2.4, "#."), "2.");
    EXPECT_EQ(maskedNumberText(17, ""), "17");
    EXPECT_EQ(maskedNumberText(-17.25, "#"), "-17");
    EXPECT_EQ(maskedNumberText(-0.0, "#.#"), "0.");
}

TEST(NumberTextBoth, ExtremeMagnitudes) {
    const double smallest = std::numeric_limits<double>::denorm_min();
    const double largest = std::numeric_limits<double>::max();
    EXPECT_EQ(signedNumberText(smallest, 18), " 4.94065645841246544E-324");
    EXPECT_EQ(signedNumberText(largest, 18), " 1.79769313486231571E+308");
    EXPECT_EQ(signedNumberText(std::numeric_limits<double>::min(), 18), " 2.22507385850720138E-308");
    EXPECT_EQ(maskedNumberText(largest, "#").size(), 309u);
    EXPECT_EQ(maskedNumberText(largest, "#").substr(0, 19), "1797693134862315710");
    EXPECT_EQ(maskedNumberText(smallest, "#.###############"), "0.");
}

// ---------------------------------------------------------------------------------------------
// Randomised comparison with the reference model.

const std::vector<std::string>& modelMasks() {
    static const std::vector<std::string> masks = [] {
        std::vector<std::string> list = {"#", "##", "###", "####", "##########", "#.###############",
                                         "###.###############", "", "#.", ".#", "##.#"};
        for (int places = 1; places <= 20; ++places) list.push_back("#." + std::string(places, '#'));
        return list;
    }();
    return masks;
}

// Compares both functions with the model for one value at every digit request and mask.
void expectMatchesModel(double value) {
    const DecimalString reduced = value == 0 ? DecimalString{} : modelEighteenDigits(std::fabs(value));
    for (int digits = 0; digits <= 19; ++digits)
        ASSERT_EQ(signedNumberText(value, digits), modelSigned(value, reduced, digits))
            << "value " << std::hexfloat << value << " digits " << digits;
    ASSERT_EQ(signedNumberText(value, 40), modelSigned(value, reduced, 18)) << std::hexfloat << value;
    for (const std::string& mask : modelMasks())
        ASSERT_EQ(maskedNumberText(value, mask), modelMasked(value, reduced, mask))
            << "value " << std::hexfloat << value << " mask \"" << mask << "\"";
}

void expectMatchesModelBothSigns(double value) {
    expectMatchesModel(value);
    expectMatchesModel(-value);
}

class NumberTextModel : public ::testing::Test {
protected:
    std::mt19937_64 random{20240611};
    std::uint64_t below(std::uint64_t limit) { return std::uniform_int_distribution<std::uint64_t>(0, limit - 1)(random); }
};

TEST_F(NumberTextModel, Integers) {
    for (int i = 0; i < 4000; ++i) {
        const int bits = static_cast<int>(below(64)) + 1;
        const std::uint64_t whole = bits == 64 ? random() : below(std::uint64_t{1} << bits);
        ASSERT_NO_FATAL_FAILURE(expectMatchesModelBothSigns(static_cast<double>(whole)));
    }
    for (int small = 0; small <= 2000; ++small) ASSERT_NO_FATAL_FAILURE(expectMatchesModel(small));
}

TEST_F(NumberTextModel, ShortBinaryFractions) {
    for (int i = 0; i < 4000; ++i) {
        const double numerator = static_cast<double>(below(1u << 20));
        const double value = std::ldexp(numerator, -static_cast<int>(below(12)));
        ASSERT_NO_FATAL_FAILURE(expectMatchesModelBothSigns(value));
    }
}

TEST_F(NumberTextModel, DifferencesOfMillisecondReadings) {
    constexpr std::uint64_t millisecondsPerDay = 86'400'000;
    for (int i = 0; i < 20000; ++i) {
        const auto start = static_cast<double>(below(millisecondsPerDay));
        // Half the pairs are close together, as real runs are.
        const auto end = i % 2 == 0 ? static_cast<double>(below(millisecondsPerDay))
                                    : std::min(start + static_cast<double>(below(5000)), 86'399'999.0);
        ASSERT_NO_FATAL_FAILURE(expectMatchesModel(end / 1000.0 - start / 1000.0));
    }
}

TEST_F(NumberTextModel, ExactTiesAtTheEighteenthDigit) {
    // mantissa * 2^-k has exactly 19 significant digits ending in 5 when mantissa * 5^k does.
    int found = 0;
    for (int k = 1; k <= 27; ++k) {
        std::uint64_t power = 1;
        for (int i = 0; i < k; ++i) power *= 5;
        constexpr std::uint64_t nineteenDigits = 1'000'000'000'000'000'000ull;
        const std::uint64_t lowMantissa = (nineteenDigits + power - 1) / power;
        const std::uint64_t highMantissa =
            std::min<std::uint64_t>((10 * nineteenDigits - 1) / power, (std::uint64_t{1} << 53) - 1);
        if (lowMantissa > highMantissa) continue;
        for (int i = 0; i < 300; ++i) {
            const std::uint64_t mantissa = (lowMantissa + below(highMantissa - lowMantissa + 1)) | 1;
            if (mantissa > highMantissa) continue;
            ++found;
            ASSERT_NO_FATAL_FAILURE(expectMatchesModelBothSigns(std::ldexp(static_cast<double>(mantissa), -k)));
        }
    }
    EXPECT_GT(found, 3000);
    // One worked tie: 2^-27 = 7.450580596923828125E-9 keeps the even 2.
    EXPECT_EQ(signedNumberText(std::ldexp(1.0, -27), 18), " 7.45058059692382812E-9");
    // (2^53 - 1) / 8 = 1125899906842623.875 goes up to the even 8.
    EXPECT_EQ(signedNumberText(9007199254740991.0 / 8, 18), " 1125899906842623.88");
}

TEST_F(NumberTextModel, EveryBitPatternRange) {
    // Random bit patterns cover subnormals, tiny and huge magnitudes alike.
    for (int i = 0; i < 10000; ++i) {
        const std::uint64_t bits = random() & ~(std::uint64_t{1} << 63);
        const double value = std::bit_cast<double>(bits);
        if (!std::isfinite(value)) continue;
        ASSERT_NO_FATAL_FAILURE(expectMatchesModelBothSigns(value));
    }
}

TEST_F(NumberTextModel, NeighboursOfPowersOfTen) {
    for (int exponent = -323; exponent <= 308; ++exponent) {
        const double power = std::strtod(("1e" + std::to_string(exponent)).c_str(), nullptr);
        double value = power;
        for (int step = 0; step < 3; ++step) value = std::nextafter(value, 0.0);
        for (int step = 0; step < 6 && std::isfinite(value); ++step, value = std::nextafter(value, HUGE_VAL))
            ASSERT_NO_FATAL_FAILURE(expectMatchesModelBothSigns(value));
    }
    for (double value : {0.95, 9.5, 99.5, 0.995, 0.9999999999999999, 999999999999999999.0, 0.05})
        ASSERT_NO_FATAL_FAILURE(expectMatchesModelBothSigns(value));
}

TEST(NumberTextBoth, EighteenDigitCarryRaisesTheExponent) {
    // The double nearest 1e153 lies 2.7E-19 of it below: its 18-digit form rounds up to 10^18.
    const double justBelow = 1e153;
    const DecimalString exact = exactDecimal(justBelow);
    EXPECT_EQ(exact.point, 153);
    EXPECT_EQ(exact.digits.substr(0, 19), "9999999999999999997");
    EXPECT_EQ(signedNumberText(justBelow, 18), " 1E+153");
    EXPECT_EQ(maskedNumberText(justBelow, "#"), "1" + std::string(153, '0'));
}

}  // namespace
}  // namespace quillstep
