// What the view shows of a game solved from a payoff matrix: its entries as
// written (with a point) and the shift added for the players' systems.
#pragma once

#include <cstdint>

#include "MatrixReader.h"
#include "RunReader.h"

TGameView SolvedGameView(const TDecimalMatrix& matrix, std::int64_t shift);
