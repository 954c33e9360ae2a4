// The tableau report's text in memory, as WriteTable writes it.
#pragma once

#include <cstddef>
#include <string>

#include "ClassUnit.h"

// Appends to `out` the text that WriteTable writes for the tableau, byte for
// byte; returns how many bytes it appended.
std::size_t FormatTableTo(const TSimplex& simplex, std::string& out);
