// The matrix that the random source seeded with 12345 accepts on its first
// attempt, from which the example game files are written.
#pragma once

#include "RandomMatrix.h"

inline const TPayoffMatrix Seed12345Matrix = {{
    {-2, -4, -8, 1, 3, -3},
    {-1, -8, -9, 8, 9, -3},
    {-5, 5, 0, -1, 7, 6},
    {5, 7, -6, -9, 4, -1},
    {-6, 4, -2, -4, -1, -8},
    {5, -7, 7, -4, 1, 6},
}};
