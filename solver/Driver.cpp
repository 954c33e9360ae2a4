#include "Driver.h"

#include <new>
#include <string>

#include "ClassUnit.h"
#include "Errors.h"
#include "OptimumCheck.h"
#include "Platform.h"
#include "TextFile.h"

namespace {

void Report(std::FILE* output, std::FILE* errors, const std::string& module, const std::string& kind,
            std::uint32_t address, const std::string& message) {
  std::fflush(output);
  std::string report = FormatErrorReport(kind, module, address, message);
  std::fwrite(report.data(), 1, report.size(), errors);
  std::fflush(errors);
}

}  // namespace

int RunSolver(const char* argv0, std::FILE* input, std::FILE* output, std::FILE* errors) {
  const std::string module = ModuleName(argv0);
  try {
    ReadLocaleSeparator();
    std::fputs("Input file name -> ", output);
    std::fflush(output);
    const std::string fileName = ReadConsoleLine(input);

    TSimplex simplex{};
    TConstraintRows rows;  // the problem as read, for checking the optimum
    LoadProblem(simplex, fileName, rows);
    Solve(simplex, rows);
    std::fflush(output);
    return 0;
  } catch (const ESolverError& error) {
    Report(output, errors, module, error.Kind, error.Address, error.Message);
  } catch (const std::bad_alloc&) {
    Report(output, errors, module, EOutOfMemory, CodeAddress(reinterpret_cast<const void*>(&RunSolver)),
           "Out of memory");
  } catch (const std::exception& error) {
    Report(output, errors, module, "Exception", CodeAddress(reinterpret_cast<const void*>(&RunSolver)),
           error.what());
  }
  return 1;
}
