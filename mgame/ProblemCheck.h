// The check's second look at a problem file that reads: what the reader
// accepts but is probably a slip.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct TCheckWarning {
  std::int64_t Line = 0;
  std::string Text;
};

// Warnings for a problem text, in line order: a term whose index selects a
// slack or surplus column though written with the letter x; a letter that
// is not the kind of the column its index selects; an index given twice on
// one line; a negative right-hand side; an objective line whose relation is
// not "=" or whose first character is not a letter. A text the reader would
// refuse gets the warnings of the lines before the fault, or none.
std::vector<TCheckWarning> CheckProblemText(std::string_view text);

// For a refused number written with the other decimal separator than
// `separator` (the locale's), a hint that says so; "" otherwise. `message`
// is the reader's conversion message, which quotes the number.
std::string SeparatorHint(const std::string& message, char separator);
