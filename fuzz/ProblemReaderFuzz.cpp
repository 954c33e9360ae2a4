// Feeds arbitrary bytes to the problem reader as a problem file. Every input
// must either load a tableau that keeps the model's invariants or raise one
// of the reader's error kinds; anything else aborts.
#include <cstdint>
#include <string>

#include "ClassUnit.h"
#include "Errors.h"
#include "Locale.h"
#include "TableauInvariants.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const char* file = ProblemFile(data, size);
  for (char separator : {'.', ','}) {
    DecimalSeparator = separator;
    TSimplex simplex{};
    try {
      LoadProblem(simplex, file);
      if (simplex.Status != StatusOptimal || !simplex.BigM) Broken("status or BigM");
      CheckTableau(simplex);
      for (const TVariable& v : simplex.Variables.Items)
        if (v.InBasis != (v.Kind == 'y')) Broken("a starting basic variable that is not artificial");
    } catch (const ESolverError& error) {
      if (error.Kind != EConvertError && error.Kind != EInOutError && error.Kind != EInvalidProblem)
        Broken(error.Kind.c_str());
    }
  }
  return 0;
}
