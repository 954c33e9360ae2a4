// Feeds arbitrary bytes to mgame check's second look at a problem file, the
// warnings, and to its hint for a number with the other decimal separator.
// Neither may fail on any input, and every warning names a line of the text.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "ProblemCheck.h"
#include "TableauInvariants.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto lines = static_cast<std::int64_t>(std::count(text.begin(), text.end(), '\n')) + 1;
  for (const TCheckWarning& warning : CheckProblemText(text))
    if (warning.Line < 1 || warning.Line > lines || warning.Text.empty()) Broken("a warning off the text");
  for (char separator : {'.', ','}) (void)SeparatorHint(std::string(text), separator);
  return 0;
}
