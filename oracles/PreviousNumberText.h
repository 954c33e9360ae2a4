// The previous number formatter, kept as the oracle of every output byte.
#pragma once

#include <cstddef>

namespace previous {

std::size_t PreviousFormatFixed(char* out, long double value, char separator);
std::size_t PreviousFormatPoint(char* out, long double value);

}  // namespace previous
