// Helpers of the solver's tests: a scratch directory as the current one,
// problem texts loaded from it, the errors they raise, and solving in memory.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "ClassUnit.h"
#include "Errors.h"
#include "Locale.h"
#include "ScratchDir.h"
#include "SimplexStep.h"

// A scratch directory of its own for each test, made the current one.
class ScratchDirTest : public testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    dir_ = std::make_unique<TScratchDir>("mg-unit");
    std::filesystem::current_path(dir_->Path());
    DecimalSeparator = '.';
  }
  void TearDown() override {
    std::filesystem::current_path(previous_);
    dir_.reset();
    DecimalSeparator = '.';
  }

  static void Put(const std::string& name, const std::string& text) { WriteWholeFile(name, text); }
  static std::string Get(const std::string& name) { return ReadWholeFile(name); }

  static TSimplex Load(const std::string& text) {
    Put("problem.txt", text);
    TSimplex simplex{};
    LoadProblem(simplex, "problem.txt");
    return simplex;
  }

  // The error that loading `text` raises; fails the test when none is raised.
  static ESolverError LoadError(const std::string& text) {
    try {
      Load(text);
    } catch (const ESolverError& error) {
      return error;
    }
    ADD_FAILURE() << "no error for:\n" << text;
    return {};
  }

 private:
  std::filesystem::path previous_;
  std::unique_ptr<TScratchDir> dir_;
};

// A value given by its stored fields, for values that no double holds.
inline TExtended Bits(std::uint64_t significand, std::uint16_t signAndExponent) {
  return ExtendedFromBits({significand, signAndExponent});
}

// The double nearest to a finite value, for checks within a tolerance.
double ToDouble(TExtended value);

#if MG_SOFT_EXTENDED
// How gtest shows a value in a failed check.
void PrintTo(const TExtended& value, std::ostream* out);
#endif

// An optimal tableau of three variables: x0 basic with the value 2.5, x1 and
// z0 not, F = -10, an M part in the objective row; the dead rows 1 and 2 hold
// stale numbers that no report may show.
TSimplex SmallOptimalTableau();

// How an iteration in memory ended: the last Status, the pivots made, F (the
// objective row's right-hand side), and the error that ended it, if one did.
struct TSolveOutcome {
  int Status = -1;
  int Pivots = 0;
  TCell F{};
  std::string ErrorKind, ErrorMessage;
};

// Runs the iteration on `simplex` without writing a report.
TSolveOutcome SolveInMemory(TSimplex& simplex, int pivotLimit = MaxPivots);
