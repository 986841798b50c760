#pragma once
// The two rules by which every number becomes display text.

#include <string>
#include <string_view>

namespace quillstep {

// The value with at most `digits` significant digits (1 to 18; 0 or more than 18 mean 18),
// after a blank (zero and positive values) or "-": " 39", " .5", " 1.2E+2", " 1.60000000032596E-2".
std::string signedNumberText(double value, int digits);

// The value after a mask of "#" places with at most one ".": the places before the point neither
// limit nor pad the integer part, those after it are the fraction digits kept (trailing zeros
// dropped, the point always written): "7", "0.5", "2.", "1.122000000003027".
std::string maskedNumberText(double value, std::string_view mask);

}  // namespace quillstep
