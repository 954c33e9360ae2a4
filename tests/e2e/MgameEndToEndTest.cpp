// mgame as a user runs it: one table of cases per command, each run in a
// scratch folder with its files placed first; the exit status, standard
// output and standard error are matched, and files looked for afterwards.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <string>
#include <vector>

#include "RunProgram.h"

namespace {

struct TCase {
  const char* Name;
  std::vector<std::string> Args;
  std::map<std::string, std::string> Files;  // placed before the run
  int Exit;
  std::string Out;                        // a regular expression that standard output must match whole
  std::string Err;                        // the same for standard error
  std::vector<std::string> Present = {};  // files there after the run
  std::vector<std::string> Absent = {};   // files or folders not there after the run
};

void RunCases(const std::vector<TCase>& cases) {
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TRunOptions options;
    options.Args = c.Args;
    options.Files = c.Files;
    for (const auto& [name, text] : c.Files)
      if (name.find('/') != std::string::npos) options.Directories.insert(name.substr(0, name.rfind('/')));
    options.Recursive = true;
    const TRunResult run = RunProgram(MGAME_PATH, options);
    EXPECT_EQ(run.ExitStatus, c.Exit) << run.Stderr;
    EXPECT_TRUE(std::regex_match(run.Stdout, std::regex(c.Out))) << run.Stdout;
    EXPECT_TRUE(std::regex_match(run.Stderr, std::regex(c.Err))) << run.Stderr;
    for (const auto& name : c.Present) EXPECT_EQ(run.Files.count(name), 1u) << name;
    for (const auto& name : c.Absent)
      EXPECT_EQ(run.Files.count(name) + run.Directories.count(name), 0u) << name;
  }
}

const std::string Rps = "# rock, paper, scissors\n 0\t-1  1\r\n\n1 0 -1   # paper\n-1 1 0";
const std::string Worked = "2 3 2\n3*x0 + 2*x1 < 14\n1*x0+1*x1=5\n1*x0-1*x1>1\nZ-5*x0-4*x1=0\n";
// A 3 x 4 game written with its variables counted from 1.
const std::string OneBased =
    "4 3 3\n3*x1+2*x2+4*x3+1*x4>1\n1*x1+4*x2+2*x3+3*x4>1\n2*x1+3*x2+1*x3+4*x4>1\nZ+1*x1+1*x2+1*x3+1*x4=0\n";

TEST(MgameEndToEnd, CommandLine) {
  RunCases({
      {"version", {"--version"}, {}, 0, "mgame 1\\.0\\.0\n", ""},
      {"help of the view, which reads its own words", {"help", "view"}, {}, 0, "usage: mgame view [^]*", ""},
      {"help lists every command",
       {"--help"},
       {},
       0,
       "usage: mgame [^]*\n  new [^]*\n  solve [^]*\n  lp [^]*\n  check [^]*",
       ""},
      {"help of a command", {"help", "lp"}, {}, 0, "usage: mgame lp PROBLEM [^]*--json [^]*", ""},
      {"--help after a command", {"solve", "x", "--help"}, {}, 0, "usage: mgame solve GAME [^]*", ""},
      {"no command", {}, {}, 2, "", "mgame: no command given \\(see 'mgame --help'\\)\n"},
      {"unknown command", {"frob"}, {}, 2, "", "mgame: no command 'frob' [^\n]*\n"},
      {"help of an unknown command", {"help", "frob"}, {}, 2, "", "mgame help: no command 'frob' [^\n]*\n"},
      {"missing argument",
       {"solve"},
       {},
       2,
       "",
       "mgame solve: missing argument \\(see 'mgame help solve'\\)\n"},
      {"extra argument", {"lp", "a", "b"}, {}, 2, "", "mgame lp: unexpected argument 'b' [^\n]*\n"},
      {"unknown option",
       {"check", "a", "--json"},
       {},
       2,
       "",
       "mgame check: unknown option '--json' [^\n]*\n"},
      {"option without its value",
       {"lp", "a", "--dir"},
       {},
       2,
       "",
       "mgame lp: option '--dir' needs a value DIR [^\n]*\n"},
      {"flag with a value",
       {"solve", "a", "--json=1"},
       {},
       2,
       "",
       "mgame solve: option '--json' takes no value [^\n]*\n"},
      {"option twice",
       {"lp", "a", "--dir", "x", "--dir=y"},
       {},
       2,
       "",
       "mgame lp: option '--dir' given twice [^\n]*\n"},
  });
}

TEST(MgameEndToEnd, New) {
  const std::vector<std::string> game = {"GMatrix.txt", "GMatrixP.txt", "SystemA.txt", "SystemB.txt"};
  RunCases({
      {"seed given", {"new", "--seed", "12345"}, {}, 0, "seed 12345\n", "", game},
      {"seed from the clock", {"new"}, {}, 0, "seed [0-9]+\n", "", game},
      {"into a new folder",
       {"new", "--seed=4294967295", "a/b"},
       {},
       0,
       "seed 4294967295\n",
       "",
       {"a/b/GMatrix.txt", "a/b/SystemB.txt"}},
      {"game files kept",
       {"new", "--seed", "1"},
       {{"SystemB.txt", "mine"}},
       1,
       "",
       "mgame: \\./SystemB\\.txt: exists already; --force writes over the game files\n"},
      {"game files replaced with --force",
       {"new", "--seed", "1", "--force"},
       {{"SystemB.txt", "mine"}},
       0,
       "seed 1\n",
       "",
       game},
      {"a file in the folder's place",
       {"new", "x"},
       {{"x", ""}},
       1,
       "",
       "mgame: x: cannot make the folder[^\n]*\n"},
      {"seed beyond 32 bits",
       {"new", "--seed", "4294967296"},
       {},
       2,
       "",
       "mgame new: --seed takes a whole number [^\n]*\n"},
      {"negative seed", {"new", "--seed=-1"}, {}, 2, "", "mgame new: --seed takes [^\n]*\n"},
      {"seed that is no number", {"new", "--seed", "12x"}, {}, 2, "", "mgame new: --seed takes [^\n]*\n"},
  });
}

TEST(MgameEndToEnd, Solve) {
  std::string wide, row, tall;
  for (int c = 0; c < 128; ++c) wide += "1 ";
  for (int c = 0; c < 85; ++c) row += "1 ";
  for (int r = 0; r < 86; ++r) tall += row + "\n";  // B's N = 85 + 2 * 86
  RunCases({
      {"blanks, tabs, CR LF and comments",
       {"solve", "rps.txt"},
       {{"rps.txt", Rps}},
       0,
       "game rps\\.txt: 3 x 3, shifted by 10; files in rps\nvalue 0\\.00000\n(A row [1-3]     0\\.33333\n){3}"
       "(B column [1-3]  0\\.33333\n){3}pivots A [0-9]+, B [0-9]+\n(check [^\n]*: largest shortfall "
       "[-0-9.e]+\n){2}",
       "",
       {"rps/GMatrixP.txt", "rps/SystemA.txt", "rps/SystemB.txt", "rps/A/out0.txt", "rps/A/GResult.txt",
        "rps/B/GResult.txt"}},
      {"a size line as the generator writes it",
       {"solve", "g.txt"},
       {{"g.txt", "2 3\r\n1 -2 0\r\n-1 2 -3\r\n"}},
       0,
       "game g\\.txt: 2 x 3, [^]*",
       ""},
      {"two counts over rows of two are a row",
       {"solve", "g.txt"},
       {{"g.txt", "1 2\n3 4\n"}},
       0,
       "game g\\.txt: 2 x 2, [^]*value 3\\.00000\n[^]*",
       ""},
      {"entries beyond -9..9 shift by 1 - smallest",
       {"solve", "g.txt"},
       {{"g.txt", "-20 10\n10 -20\n"}},
       0,
       "game g\\.txt: 2 x 2, shifted by 21; [^\n]*\nvalue -5\\.00000\n[^]*",
       ""},
      {"decimals",
       {"solve", "g.txt"},
       {{"g.txt", "0.5 -1.5\n-1.5 .50\n"}},
       0,
       "game g\\.txt: 2 x 2, shifted by 10; [^\n]*\nvalue -0\\.50000\n[^]*",
       ""},
      {"positive entries are not shifted",
       {"solve", "g.txt"},
       {{"g.txt", "12 15\n14 11\n"}},
       0,
       "game g\\.txt: 2 x 2, shifted by 0; [^\n]*\nvalue 13\\.00000\n[^]*",
       ""},
      {"a single entry",
       {"solve", "g.txt"},
       {{"g.txt", "5\n"}},
       0,
       "game g\\.txt: 1 x 1, shifted by 10; [^\n]*\nvalue 5\\.00000\n[^]*",
       ""},
      {"json",
       {"solve", "rps.txt", "--json", "--dir", "out"},
       {{"rps.txt", Rps}},
       0,
       "\\{\"game\":\"rps\\.txt\",\"dir\":\"out\",\"rows\":3,\"columns\":3,\"shift\":10,\"value\":0\\."
       "0000000000,"
       "\"row_strategy\":\\[(0\\.3333333333,){2}0\\.3333333333\\],\"column_strategy\":\\[(0\\.3333333333,){2}"
       "0\\.3333333333\\],\"pivots\":\\{\"A\":[0-9]+,\"B\":[0-9]+\\},\"shortfall\":\\{[^}]*\\}\\}\n",
       "",
       {"out/A/GResult.txt"}},
      {"ragged row",
       {"solve", "g.txt"},
       {{"g.txt", "1 2 3\n\n4 5\n"}},
       1,
       "",
       "mgame: g\\.txt:3: row 2 has 2 entries, row 1 has 3\n",
       {},
       {"g/SystemA.txt"}},
      {"no number",
       {"solve", "g.txt"},
       {{"g.txt", "1 2\n3 x4\n"}},
       1,
       "",
       "mgame: g\\.txt:2: 'x4' is not a number; entries are integers or decimals with a point\n"},
      {"decimal comma",
       {"solve", "g.txt"},
       {{"g.txt", "1,5 2\n3 4\n"}},
       1,
       "",
       "mgame: g\\.txt:1: '1,5' is not a number[^\n]*\n"},
      {"too many decimals",
       {"solve", "g.txt"},
       {{"g.txt", "1.0000001 2\n"}},
       1,
       "",
       "mgame: g\\.txt:1: [^\n]* decimals\n"},
      {"no matrix",
       {"solve", "g.txt"},
       {{"g.txt", "# nothing\n\n"}},
       1,
       "",
       "mgame: g\\.txt:2: holds no matrix[^\n]*\n"},
      {"too many columns",
       {"solve", "g.txt"},
       {{"g.txt", wide}},
       1,
       "",
       "mgame: g\\.txt:1: more than 127 entries[^\n]*\n"},
      {"too many variables",
       {"solve", "g.txt"},
       {{"g.txt", tall}},
       1,
       "",
       "mgame: g\\.txt:86: a game of 86 rows and 85 columns is too large: player B's system would have 257 "
       "variables, at most 255\n"},
      {"size line that is wrong",
       {"solve", "g.txt"},
       {{"g.txt", "6 6\n1 2 3\n"}},
       1,
       "",
       "mgame: g\\.txt:1: the size line says 6 x 6, but 1 rows of 3 entries follow\n"},
      {"no file", {"solve", "g.txt"}, {}, 1, "", "mgame: g\\.txt: [^\n]+\n"},
      {"folder in use",
       {"solve", "rps.txt"},
       {{"rps.txt", Rps}, {"rps/notes", ""}},
       1,
       "",
       "mgame: rps: the folder is not empty; --force [^\n]*\n"},
      {"--force removes stale reports",
       {"solve", "rps.txt", "--force"},
       {{"rps.txt", Rps},
        {"rps/notes", ""},
        {"rps/A/out99.txt", ""},
        {"rps/B/GResult.txt", "old"},
        {"rps/B/steps.html", ""}},
       0,
       "game [^]*",
       "",
       {"rps/notes", "rps/B/GResult.txt"},
       {"rps/A/out99.txt", "rps/B/steps.html"}},
      {"the pages of both runs and the game",
       {"solve", "rps.txt", "--view"},
       {{"rps.txt", Rps}},
       0,
       "game [^]*check B's mix [^\n]*\n(rps/(A/steps|B/steps|index)\\.html\n){3}",
       "",
       {"rps/A/steps.html", "rps/B/steps.html", "rps/index.html"}},
  });
}

TEST(MgameEndToEnd, Lp) {
  RunCases({
      {"optimal",
       {"lp", "worked.txt"},
       {{"worked.txt", Worked}},
       0,
       "status optimal\npivots [0-9]+\nF 24\\.00000\nX 4\\.00000 1\\.00000\n",
       "",
       {"worked/out0.txt", "worked/GResult.txt"}},
      {"json",
       {"lp", "worked.txt", "--json", "--dir", "w"},
       {{"worked.txt", Worked}},
       0,
       "\\{\"problem\":\"worked\\.txt\",\"dir\":\"w\",\"status\":\"optimal\",\"objective\":24\\.0000000000,"
       "\"x\":\\[4\\.0000000000,1\\.0000000000\\],\"pivots\":[0-9]+\\}\n",
       "",
       {"w/GResult.txt"}},
      {"no optimum",
       {"lp", "p.txt"},
       {{"p.txt", "1 1 1\n1*x0>1\nZ-1*x0=0\n"}},
       3,
       "status no_optimum\npivots 1\n",
       "",
       {"p/out1.txt"},
       {"p/GResult.txt"}},
      {"no optimum, json",
       {"lp", "p.txt", "--json"},
       {{"p.txt", "1 1 1\n1*x0>1\nZ-1*x0=0\n"}},
       3,
       "\\{[^\n]*\"status\":\"no_optimum\",\"objective\":null,\"x\":\\[\\],\"pivots\":1\\}\n",
       ""},
      {"a refused file",
       {"lp", "p.txt"},
       {{"p.txt", "1 1 1\n1*x0>\nZ-1*x0=0\n"}},
       1,
       "status error\npivots 0\n",
       "mgame: p\\.txt:2: '\\$' is not a valid floating point value\\. \\(EConvertError\\)\n",
       {},
       {"p"}},
      {"a refused file, json",
       {"lp", "p.txt", "--json"},
       {{"p.txt", "1 1 1\n1*x9>1\nZ-1*x0=0\n"}},
       1,
       "\\{[^\n]*\"status\":\"error\",[^\n]*\"error\":\"EInvalidProblem\",\"message\":\"Line 2: the term "
       "index 9 [^\n]*\\}\n",
       "mgame: p\\.txt:2: the term index 9 names no column [^\n]*\n"},
      {"an optimum that does not meet the problem",
       {"lp", "p.txt"},
       {{"p.txt", "2 2 2\n1*x0+1*x1<4\n1*x0+1*x1>6\nZ-3*x0-2*x1=0\n"}},
       4,
       "status infeasible\npivots 1\n",
       "mgame: p\\.txt: The optimum found does not meet line 3\\. \\(EInfeasible\\)\n",
       {"p/out1.txt"},
       {"p/GResult.txt"}},
      {"infeasible, json",
       {"lp", "p.txt", "--json"},
       {{"p.txt", "2 2 2\n1*x0+1*x1<4\n1*x0+1*x1>6\nZ-3*x0-2*x1=0\n"}},
       4,
       "\\{[^\n]*\"status\":\"infeasible\",\"objective\":null,\"x\":\\[\\],\"pivots\":1,\"error\":"
       "\"EInfeasible\"[^\n]*\\}\n",
       "mgame: [^\n]*\n"},
      {"no file", {"lp", "p.txt"}, {}, 1, "", "mgame: p\\.txt: File not found\\.\n", {}, {"p"}},
      {"folder in use",
       {"lp", "worked.txt"},
       {{"worked.txt", Worked}, {"worked/out0.txt", ""}},
       1,
       "",
       "mgame: worked: the folder is not empty; [^\n]*\n"},
      {"--force leaves no stale report",
       {"lp", "worked.txt", "--force"},
       {{"worked.txt", Worked}, {"worked/out17.txt", ""}},
       0,
       "status optimal\n[^]*",
       "",
       {},
       {"worked/out17.txt"}},
  });
}

TEST(MgameEndToEnd, Check) {
  const std::string slack =
      "onebased\\.txt:[2-5]: warning: x4 selects column 4, the slack or surplus column z0: "
      "the decision variables are x0 to x3, counted from 0\n";
  const std::string summary = "onebased\\.txt: reads as 3 constraints over 4 x and 3 z columns; 4 warnings\n";
  RunCases({
      {"clean",
       {"check", "worked.txt"},
       {{"worked.txt", Worked}},
       0,
       "worked\\.txt: reads as 3 constraints over 2 x and 2 z columns; 0 warnings\n",
       ""},
      {"variables counted from 1",
       {"check", "onebased.txt"},
       {{"onebased.txt", OneBased}},
       0,
       "(" + slack + "){4}" + summary,
       ""},
      {"strict",
       {"check", "onebased.txt", "--strict"},
       {{"onebased.txt", OneBased}},
       1,
       "(" + slack + "){4}" + summary,
       ""},
      {"letter of another kind",
       {"check", "p.txt"},
       {{"p.txt", "2 1 1\n1*z1+1*x0<4\nZ-1*x0=0\n"}},
       0,
       "p\\.txt:2: warning: z1 selects column 1, which is x1: the index alone chooses the column, not the "
       "letter\n"
       "p\\.txt: [^\n]*; 1 warning\n",
       ""},
      {"an index twice",
       {"check", "p.txt"},
       {{"p.txt", "2 1 1\n1*x0+2*x1+3*x0<4\nZ-1*x0=0\n"}},
       0,
       "p\\.txt:2: warning: a second term for x0 on one line: the reader keeps the last \\(\\+3\\), not "
       "1\n[^\n]*\n",
       ""},
      {"negative right-hand side",
       {"check", "p.txt"},
       {{"p.txt", "1 1 1\n1*x0 > -2.5\nZ-1*x0=0\n"}},
       0,
       "p\\.txt:2: warning: the right-hand side -2\\.5 is negative, [^\n]*flip its relation\n[^\n]*\n",
       ""},
      {"objective line without a name and with '<'",
       {"check", "p.txt"},
       {{"p.txt", "1 1 1\n1*x0<2\n-1*x0<0\n"}},
       0,
       "p\\.txt:3: warning: the objective line begins with '-', [^\n]*\np\\.txt:3: warning: the objective "
       "line's "
       "relation is '<', which the reader takes for '='\n[^\n]*2 warnings\n",
       ""},
      {"decimal comma",
       {"check", "p.txt"},
       {{"p.txt", "1 1 1\n1*x0<2,5\nZ-1*x0=0\n"}},
       1,
       "p\\.txt:2: warning: the number is written with ',' as its decimal separator, the locale's is '\\.'\n",
       "mgame: p\\.txt:2: '2,5' is not a valid floating point value\\.\n"},
      {"header",
       {"check", "p.txt"},
       {{"p.txt", "1\n x 1\n"}},
       1,
       "",
       "mgame: p\\.txt:2: Invalid numeric input\\.\n"},
      {"no file", {"check", "p.txt"}, {}, 1, "", "mgame: p\\.txt: File not found\\.\n"},
  });
}

}  // namespace
