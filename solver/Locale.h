// The user's decimal separator.
#pragma once

// The user's decimal separator, read once by the driver at start-up; the
// problem reader and the tableau report use it, the game result does not.
extern char DecimalSeparator;

// Reads the separator of the user's locale (a point when it gives none of
// one byte) and stores it in DecimalSeparator.
void ReadLocaleSeparator();
