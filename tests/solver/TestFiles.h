// Helpers of the unit tests: problem texts on disk and the errors they raise.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "ClassUnit.h"
#include "Errors.h"

// A scratch directory of its own for each test, made the current one.
class ScratchDirTest : public testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    std::string pattern = (std::filesystem::temp_directory_path() / "mg-unit-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    std::filesystem::current_path(dir_);
    DecimalSeparator = '.';
  }
  void TearDown() override {
    std::filesystem::current_path(previous_);
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
    DecimalSeparator = '.';
  }

  static void Put(const std::string& name, const std::string& text) {
    std::ofstream(name, std::ios::binary) << text;
  }
  static std::string Get(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  TSimplex Load(const std::string& text) {
    Put("problem.txt", text);
    TSimplex simplex{};
    LoadProblem(simplex, "problem.txt");
    return simplex;
  }

  // The error that loading `text` raises; fails the test when none is raised.
  ESolverError LoadError(const std::string& text) {
    try {
      Load(text);
    } catch (const ESolverError& error) {
      return error;
    }
    ADD_FAILURE() << "no error for:\n" << text;
    return {};
  }

  std::filesystem::path previous_;
  std::filesystem::path dir_;
};
