// The process set up as the solver's own program sets it up, so that the
// solver's code computes and writes the same bytes here.
#pragma once

// The solver's process preparation (the full precision of the x87 unit
// where the system starts it lower, a file size limit failing with its error
// number) and the user's decimal separator, read once.
void PrepareToolProcess();
