// mgame against the two programs it is built from: its games are Quenby's,
// byte for byte, and its reports Lorvex's; and its answers against games
// whose values are known by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "GameFiles.h"
#include "RandomMatrix.h"
#include "RunProgram.h"
#include "ScratchDir.h"

namespace {

const char* const GameFileNames[] = {"GMatrix.txt", "GMatrixP.txt", "SystemA.txt", "SystemB.txt"};

// The generator's run for a given seed, in process: the files Quenby writes
// when its clock gives that seed.
std::map<std::string, std::string> GeneratorFiles(std::uint32_t seed) {
  const TScratchDir dir("mg-quenby");
  RandomState = seed;
  GenerateMatrix();
  EXPECT_FALSE(WriteGameFiles(dir.Path().string()).Failed());
  std::map<std::string, std::string> files;
  for (const char* name : GameFileNames) files[name] = ReadWholeFile(dir / name);
  return files;
}

TRunResult Mgame(const std::vector<std::string>& args, const std::map<std::string, std::string>& files = {}) {
  TRunOptions options;
  options.Args = args;
  options.Files = files;
  options.Recursive = true;
  return RunProgram(MGAME_PATH, options);
}

TEST(MgameAgreement, NewWritesTheGeneratorsFilesForEverySeed) {
  const std::uint32_t seeds[] = {0,           1,           2,           7,           42,
                                 1000,        12345,       65535,       65536,       99991,
                                 123456789,   305419896,   0x8bc40c64,  2147483647,  2147483648u,
                                 3000000000u, 3141592653u, 4000000000u, 4294967294u, 4294967295u};
  for (const std::uint32_t seed : seeds) {
    SCOPED_TRACE(seed);
    const auto expected = GeneratorFiles(seed);
    const TRunResult run = Mgame({"new", "--seed", std::to_string(seed)});
    EXPECT_EQ(run.ExitStatus, 0);
    EXPECT_EQ(run.Stdout, "seed " + std::to_string(seed) + "\n");
    EXPECT_EQ(run.Files, expected);
  }
}

// The state before the 36 draws that gave Quenby's matrix: its first entry
// bounds the state after the first step, and the other 35 pick it out.
bool RecoverSeed(const std::vector<int>& entries, std::uint32_t& seed) {
  constexpr std::uint32_t Multiplier = 134775813;
  std::uint32_t inverse = Multiplier;  // Newton's iteration for the inverse modulo 2^32
  for (int i = 0; i < 5; ++i) inverse *= 2 - Multiplier * inverse;
  const auto first = static_cast<std::uint64_t>(entries[0]) + 9;
  const std::uint64_t low = ((first << 32) + 18) / 19, high = (((first + 1) << 32) + 18) / 19;
  for (std::uint64_t state = low; state < high; ++state) {
    auto s = static_cast<std::uint32_t>(state);
    bool same = true;
    for (std::size_t k = 1; k < entries.size() && same; ++k) {
      s = s * Multiplier + 1;
      same = static_cast<int>((19 * static_cast<std::uint64_t>(s)) >> 32) == entries[k] + 9;
    }
    if (same) {
      seed = (static_cast<std::uint32_t>(state) - 1) * inverse;
      return true;
    }
  }
  return false;
}

TEST(MgameAgreement, NewDrawsAQuenbyRunAgainFromItsSeed) {
  const TRunResult quenby = RunProgram(QUENBY_PATH);
  ASSERT_EQ(quenby.ExitStatus, 0);
  std::istringstream in(quenby.Files.at("GMatrix.txt"));
  int rows = 0, columns = 0;
  in >> rows >> columns;
  std::vector<int> entries(36);
  for (int& entry : entries) in >> entry;
  std::uint32_t seed = 0;
  ASSERT_TRUE(RecoverSeed(entries, seed));
  const TRunResult run = Mgame({"new", "--seed", std::to_string(seed)});
  EXPECT_EQ(run.Files, quenby.Files);
}

// Lorvex's run on one system file, every file it leaves but the system.
std::map<std::string, std::string> LorvexFiles(const std::string& system) {
  TRunOptions options;
  options.Files = {{"System.txt", system}};
  options.Stdin = "System.txt\n";
  TRunResult run = RunProgram(LORVEX_PATH, options);
  EXPECT_EQ(run.ExitStatus, 0) << run.Stderr;
  run.Files.erase("System.txt");
  return run.Files;
}

// The files under `prefix` ("g/A/"), named without it.
std::map<std::string, std::string> Under(const std::map<std::string, std::string>& files,
                                         const std::string& prefix) {
  std::map<std::string, std::string> found;
  for (const auto& [name, text] : files)
    if (name.rfind(prefix, 0) == 0) found[name.substr(prefix.size())] = text;
  return found;
}

TEST(MgameAgreement, SolveWritesLorvexsReportsForBothPlayers) {
  const auto game = GeneratorFiles(12345);
  const TRunResult generated = Mgame({"solve", "GMatrix.txt"}, {{"GMatrix.txt", game.at("GMatrix.txt")}});
  ASSERT_EQ(generated.ExitStatus, 0) << generated.Stderr;
  for (const char* name : {"GMatrixP.txt", "SystemA.txt", "SystemB.txt"})
    EXPECT_EQ(generated.Files.at(std::string("GMatrix/") + name), game.at(name)) << name;

  const TRunResult wide = Mgame({"solve", "g.txt"}, {{"g.txt",
                                                      "3 -1 4 1 -5 9 2\n6 5 -3 5 8 -9 7\n"
                                                      "-9 3 2 3 8 4 -6\n2 6 4 3 -3 8 3\n"}});
  ASSERT_EQ(wide.ExitStatus, 0) << wide.Stderr;
  EXPECT_EQ(wide.Files.at("g/SystemA.txt").substr(0, 7), "4 7 7\r\n");
  for (const auto* run : {&generated, &wide}) {
    const std::string dir = run == &generated ? "GMatrix/" : "g/";
    for (const char* player : {"A", "B"}) {
      SCOPED_TRACE(dir + player);
      const auto lorvex = LorvexFiles(run->Files.at(dir + "System" + player + ".txt"));
      EXPECT_GE(lorvex.size(), 3u);
      EXPECT_EQ(Under(run->Files, dir + player + "/"), lorvex);
    }
  }
}

TEST(MgameAgreement, LpWritesLorvexsReports) {
  const std::string problem = "2 3 2\n3*x0 + 2*x1 < 14\n1*x0+1*x1=5\n1*x0-1*x1>1\nZ-5*x0-4*x1=0\n";
  const TRunResult run = Mgame({"lp", "p.txt", "--dir", "d"}, {{"p.txt", problem}});
  EXPECT_EQ(Under(run.Files, "d/"), LorvexFiles(problem));
}

// The numbers of a JSON array under `key`.
std::vector<double> JsonNumbers(const std::string& json, const std::string& key) {
  std::smatch match;
  const std::regex pattern("\"" + key + "\":\\[?([-0-9.,]*)");
  std::vector<double> numbers;
  if (!std::regex_search(json, match, pattern)) return numbers;
  std::istringstream in(match[1].str());
  for (std::string item; std::getline(in, item, ',');) numbers.push_back(std::stod(item));
  return numbers;
}

TEST(MgameAgreement, TextbookGames) {
  struct TTextbook {
    const char* Name;
    const char* Matrix;
    double Value;
    std::vector<double> Rows, Columns;
  };
  const TTextbook games[] = {
      {"rock, paper, scissors: symmetric, so the value is 0 and every mix is uniform",
       "0 -1 1\n1 0 -1\n-1 1 0\n",
       0,
       {1. / 3, 1. / 3, 1. / 3},
       {1. / 3, 1. / 3, 1. / 3}},
      // Row 1's smallest entry, 3, is column 1's largest: a saddle point.
      {"saddle point", "3 5\n1 4\n", 3, {1, 0}, {1, 0}},
      // Against B's (1/2, 1/2, 0, 0) row 3 gets (1 + 2) / 2 < 5/2, and against
      // A's (1/4, 3/4, 0) columns 3 and 4 give 14/4 and 21/4 > 5/2: the game is
      // the 2 x 2 core [[4, 1], [2, 3]] without a saddle point, where A makes
      // the columns equal, 4p + 2(1 - p) = p + 3(1 - p), so p = 1/4, B the rows,
      // 4q + (1 - q) = 2q + 3(1 - q), so q = 1/2, and the value is
      // 4/4 + 2 * 3/4 = 5/2.
      {"3 x 4 with a 2 x 2 core", "4 1 5 3\n2 3 3 6\n1 2 8 0\n", 2.5, {0.25, 0.75, 0}, {0.5, 0.5, 0, 0}},
  };
  for (const TTextbook& game : games) {
    SCOPED_TRACE(game.Name);
    const TRunResult run = Mgame({"solve", "g.txt", "--json"}, {{"g.txt", game.Matrix}});
    ASSERT_EQ(run.ExitStatus, 0) << run.Stderr;
    const auto value = JsonNumbers(run.Stdout, "value");
    ASSERT_EQ(value.size(), 1u);
    EXPECT_NEAR(value[0], game.Value, 1e-9);
    const auto rows = JsonNumbers(run.Stdout, "row_strategy"),
               columns = JsonNumbers(run.Stdout, "column_strategy");
    ASSERT_EQ(rows.size(), game.Rows.size());
    ASSERT_EQ(columns.size(), game.Columns.size());
    for (std::size_t i = 0; i < rows.size(); ++i) EXPECT_NEAR(rows[i], game.Rows[i], 1e-9) << "row " << i + 1;
    for (std::size_t i = 0; i < columns.size(); ++i)
      EXPECT_NEAR(columns[i], game.Columns[i], 1e-9) << "column " << i + 1;
  }
}

}  // namespace
