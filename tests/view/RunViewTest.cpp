// The view of a run: the walk-through as text, the usage, and the warnings
// on folders crafted from committed runs (stale reports, an end that is not
// feasible, a run cut short).
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <sstream>

#include "RunProgram.h"
#include "RunScan.h"
#include "RunView.h"
#include "ScratchDir.h"

namespace {

namespace fs = std::filesystem;

const fs::path Expected = CORPUS_DIR "/expected";

// A committed run copied into `to`, its files timed in the order the solver
// writes them (out0.txt first, GResult.txt last).
void CopyRun(const std::string& name, const fs::path& to) {
  fs::create_directories(to);
  const auto now = fs::file_time_type::clock::now();
  int k = 0;
  for (; fs::exists(Expected / name / ("out" + std::to_string(k) + ".txt")); ++k) {
    const fs::path file = to / ("out" + std::to_string(k) + ".txt");
    fs::copy_file(Expected / name / file.filename(), file, fs::copy_options::overwrite_existing);
    fs::last_write_time(file, now + std::chrono::milliseconds(k));
  }
  if (fs::exists(Expected / name / "GResult.txt")) {
    fs::copy_file(Expected / name / "GResult.txt", to / "GResult.txt", fs::copy_options::overwrite_existing);
    fs::last_write_time(to / "GResult.txt", now + std::chrono::milliseconds(k));
  }
}

void Age(const fs::path& file) {
  fs::last_write_time(file, fs::last_write_time(file) - std::chrono::hours(1));
}

// Player A's run of a 20 x 20 game (41 reports), solved by the built solver.
void SolveGame20(const fs::path& to) {
  TRunOptions options;
  options.Files["game20A.txt"] = ReadWholeFile(CORPUS_DIR "/problems/game20A.txt");
  options.Stdin = "game20A.txt\n";
  const TRunResult run = RunProgram(LORVEX_PATH, options);
  ASSERT_EQ(run.ExitStatus, 0);
  fs::create_directories(to);
  for (const auto& [name, data] : run.Files)
    if (name.rfind("out", 0) == 0 || name == "GResult.txt") WriteWholeFile((to / name).string(), data);
}

struct TViewRun {
  int Status;
  std::string Out;
  std::string Err;
};

TViewRun View(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int status = ViewCommand(args, out, err);
  return {status, out.str(), err.str()};
}

int Count(const std::string& text, const std::string& part) {
  int count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

TEST(RunView, TextAndUsage) {
  TScratchDir scratch("view");
  const fs::path& dir = scratch.Path();
  CopyRun("worked", dir / "worked");
  CopyRun("cycling", dir / "cycling");
  CopyRun("game6A", dir / "game6A");
  SolveGame20(dir / "game20");
  fs::create_directories(dir / "a<b>&\"c");
  CopyRun("small", dir / "a<b>&\"c");
  const std::string worked = (dir / "worked").string(), game20 = (dir / "game20").string();

  struct TCase {
    const char* Name;
    std::vector<std::string> Args;
    int Status;
    std::vector<std::string> Has;     // in standard output
    std::vector<std::string> HasNot;  // not in it
    int Lines = 0;                    // lines of standard error, when checked
  };
  const TCase cases[] = {
      {"every step of a small run, pivot in brackets",
       {worked, "--text"},
       0,
       {"Step 1: x0 enters, y2 leaves, pivot [1.00000]", "Step 2: x1 enters, y1 leaves, pivot [2.00000]",
        "Step 4: z1 enters, z0 leaves, pivot [0.50000]", "y2 (out) |", "[1.00000]", "x0 (in)",
        "its ratio of right-hand side to entry, 4.00000 / 2.00000", "v' = 0.04167",
        "out4.txt: Solution is optimal", "(band 1 of 2)"},
       {"Warnings", "lowest index"},
       0},
      {"the lowest-index rule after a repeated basis",
       {(dir / "cycling").string(), "--text"},
       0,
       {"Step 13: x0 enters, x3 leaves", "lowest index",
        "The basis of out12.txt had come round before, in out6.txt"},
       {"Step 12: z0 enters, x2 leaves, pivot [0.50000]\n  x0"},
       0},
      {"wide grids in bands of at most 100 columns",
       {(dir / "game6A").string(), "--text"},
       0,
       {"(band 3 of "},
       {},
       0},
      {"a long run: the step table, first and last grids",
       {game20, "--text"},
       0,
       {"out0.txt: Solution", "out2.txt: Solution", "out38.txt: Solution", "out40.txt: Solution",
        "(35 tableaux not shown", "  40   out39.txt"},
       {"out3.txt: Solution", "out37.txt: Solution"},
       0},
      {"--steps adds grids",
       {game20, "--text", "--steps", "5-6"},
       0,
       {"out5.txt: Solution", "out6.txt: Solution"},
       {"out7.txt: Solution"},
       0},
      {"--all shows every grid", {game20, "--text", "--all"}, 0, {"out20.txt: Solution"}, {"not shown"}, 0},
      {"page to standard output, folder name escaped",
       {(dir / "a<b>&\"c").string(), "-o", "-"},
       0,
       {"a&lt;b&gt;&amp;&quot;c", "<table class=\"tableau\">", "<td class=\"entering pivot\">1.00000</td>"},
       {"a<b>"},
       0},
      {"no run in the folder", {(dir / "nothing").string()}, 1, {}, {}, 1},
      {"a reversed range", {worked, "--steps", "9-5"}, 2, {}, {}, 1},
      {"an unknown option", {worked, "--bogus"}, 2, {}, {}, 1},
      {"two folders", {worked, worked}, 2, {}, {}, 1},
      {"-o without a file", {worked, "-o"}, 2, {}, {}, 1},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TViewRun run = View(c.Args);
    EXPECT_EQ(run.Status, c.Status) << run.Err;
    for (const auto& part : c.Has) EXPECT_NE(run.Out.find(part), std::string::npos) << part;
    for (const auto& part : c.HasNot) EXPECT_EQ(run.Out.find(part), std::string::npos) << part;
    if (c.Lines > 0) {
      EXPECT_EQ(Count(run.Err, "\n"), c.Lines) << run.Err;
    }
    if (c.Args.size() > 1 && c.Args[1] == "--text") {
      std::istringstream lines(run.Out);
      std::string line;
      while (std::getline(lines, line)) EXPECT_LE(line.size(), 100u) << line;
    }
  }

  // The default page of a long run: as many grids as shown, one pivot each
  // but the last.
  ASSERT_EQ(View({game20}).Status, 0);
  const std::string page = ReadWholeFile(game20 + "/steps.html");
  EXPECT_EQ(Count(page, "<table class=\"tableau\">"), 6);
  EXPECT_EQ(Count(page, "pivot\">"), 5);
  EXPECT_EQ(Count(page.substr(0, page.find("id=\"tableaux\"")), "<tr><th scope=\"row\">"), 40);  // steps
}

// The seed-12345 game's folder as a game is solved into it: the matrix,
// A/ and B/ each with its run.
TEST(RunView, GameFolders) {
  TScratchDir scratch("view");
  const fs::path& dir = scratch.Path();
  CopyRun("system12345A", dir / "A");
  CopyRun("system12345B", dir / "B");
  const std::string matrix =
      "6 6\r\n-2 -4 -8 1 3 -3\r\n-1 -8 -9 8 9 -3\r\n-5 5 0 -1 7 6\r\n5 7 -6 -9 4 -1\r\n"
      "-6 4 -2 -4 -1 -8\r\n5 -7 7 -4 1 6\r\n";
  WriteWholeFile((dir / "GMatrix.txt").string(), matrix);

  const TViewRun text = View({dir.string(), "--text"});
  EXPECT_EQ(text.Status, 0) << text.Err;
  EXPECT_NE(text.Out.find("Value of the game: -0.63919 (v' 9.36081 of the matrix shifted by 10)"),
            std::string::npos);
  EXPECT_NE(text.Out.find("column 4 |#############"), std::string::npos);

  // The game as the caller states it: its shift, decimal, is taken as it is.
  TGameView game;
  std::string error;
  ASSERT_TRUE(ParseGameMatrix(matrix, game.Matrix, error));
  game.Shift = "9.5";
  std::ostringstream out, err;
  ASSERT_EQ(WriteGameView(dir, &game, out, err), 0) << err.str();
  const std::string index = ReadWholeFile((dir / "index.html").string());
  EXPECT_NE(index.find("data-game-value=\"-0.13919\""), std::string::npos);
  EXPECT_EQ(Count(index, "data-probability="), 12);
  EXPECT_EQ(Count(ReadWholeFile((dir / "B" / "steps.html").string()), "<table class=\"tableau\">"), 8);
}

TEST(RunView, WarningsOnCraftedFolders) {
  TScratchDir scratch("view");
  struct TCase {
    const char* Name;
    const char* Run;
    std::function<void(const fs::path&)> Craft;
    std::vector<std::string> Kinds;
    int Reports;  // reports shown
  };
  const TCase cases[] = {
      {"a clean run", "worked", [](const fs::path&) {}, {}, 5},
      {"reports after the final one",
       "worked",
       [](const fs::path& d) {
         fs::copy_file(d / "out3.txt", d / "out5.txt");
         fs::copy_file(d / "out3.txt", d / "out6.txt");
       },
       {"stale"},
       5},
      {"reports older than out0.txt after a cut run",
       "cycling",
       [](const fs::path& d) {
         for (int k = 8; k <= 14; ++k) Age(d / ("out" + std::to_string(k) + ".txt"));
         Age(d / "GResult.txt");
       },
       {"stale", "cut", "stale"},
       8},
      {"an infeasible end", "infeasible", [](const fs::path&) {}, {"infeasible"}, 3},
      {"a report cut short",
       "worked",
       [](const fs::path& d) {
         const std::string text = ReadWholeFile((d / "out3.txt").string());
         WriteWholeFile((d / "out3.txt").string(), text.substr(0, text.size() / 2));
         fs::remove(d / "out4.txt");
       },
       {"cut", "cut", "stale"},
       3},
      {"a negative right-hand side at the start",
       "small",
       [](const fs::path& d) {
         std::string text = ReadWholeFile((d / "out0.txt").string());
         text.replace(text.find(" = ") + 3, 0, "-");
         WriteWholeFile((d / "out0.txt").string(), text);
       },
       {"negative-rhs"},
       2},
      {"a report of another run",
       "worked",
       [](const fs::path& d) {
         fs::copy_file(Expected / "cycling" / "out2.txt", d / "out2.txt",
                       fs::copy_options::overwrite_existing);
       },
       {"mismatch", "cut", "stale"},
       2},
  };
  int n = 0;
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const fs::path dir = scratch.Path() / std::to_string(n++);
    CopyRun(c.Run, dir);
    c.Craft(dir);
    TRunScan scan;
    std::string error;
    ASSERT_TRUE(ScanRun(dir, scan, error)) << error;
    std::vector<std::string> kinds;
    for (const auto& warning : scan.Warnings) kinds.push_back(warning.Kind);
    EXPECT_EQ(kinds, c.Kinds);
    EXPECT_EQ(static_cast<int>(scan.Reports.size()), c.Reports);
    // Every warning reaches the top of the page.
    const TViewRun run = View({dir.string(), "-o", "-"});
    EXPECT_EQ(Count(run.Out, "<li data-warning="), static_cast<int>(c.Kinds.size()));
    EXPECT_EQ(Count(run.Err, ": warning: "), static_cast<int>(c.Kinds.size()));
  }
}

}  // namespace
