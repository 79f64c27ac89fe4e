#pragma once

#include <optional>
#include <string>

// A whole decimal number: optional sign, then digits only, within the range of long.
// Anything else (empty text, blanks, fractions, letters) gives no number.
std::optional<long> EnteroDe(const std::string& texto);
