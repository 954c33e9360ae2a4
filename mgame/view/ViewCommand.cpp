// The view command: options, the scan, and the page or the text.
#include <charconv>
#include <fstream>
#include <iostream>
#include <system_error>

#include "GamePage.h"
#include "HtmlWriter.h"
#include "RunView.h"
#include "TextWriter.h"

#if defined(_WIN32)
#include <io.h>
#include <windows.h>
#else
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

const char ViewUsage[] = "usage: mgame view [DIR] [-o FILE] [--text] [--steps A-B] [--all]";

namespace {

struct TCommand {
  fs::path Dir = ".";
  std::string Output;  // empty: the default
  bool Text = false;
  bool Help = false;
  bool OutIsStandardOutput = false;  // `out` writes to the process's standard output
  TViewOptions Options;
};

bool ReadCount(std::string_view text, int& value) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size() && value >= 0 && !text.empty();
}

// "A-B" or "A".
bool ReadRange(const std::string& text, int& from, int& to) {
  const std::size_t dash = text.find('-');
  if (dash == std::string::npos) {
    if (!ReadCount(text, from)) return false;
    to = from;
    return true;
  }
  return ReadCount(std::string_view(text).substr(0, dash), from) &&
         ReadCount(std::string_view(text).substr(dash + 1), to) && from <= to;
}

bool ParseArgs(const std::vector<std::string>& args, TCommand& command, std::string& error) {
  bool haveDir = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= args.size()) {
        error = "option " + arg + " needs a value";
        return false;
      }
      into = args[++i];
      return true;
    };
    if (arg == "-h" || arg == "--help") {
      command.Help = true;
    } else if (arg == "--text") {
      command.Text = true;
    } else if (arg == "--all") {
      command.Options.All = true;
    } else if (arg == "-o" || arg == "--output") {
      if (!value(command.Output)) return false;
      if (command.Output.empty()) {
        error = "option " + arg + " needs a file name";
        return false;
      }
    } else if (arg == "--steps" || arg.rfind("--steps=", 0) == 0) {
      std::string range = arg.size() > 7 ? arg.substr(8) : "";
      if (arg == "--steps" && !value(range)) return false;
      if (!ReadRange(range, command.Options.StepsFrom, command.Options.StepsTo)) {
        error = "--steps takes a range of report numbers such as 5-9, not '" + range + "'";
        return false;
      }
    } else if (arg.size() > 1 && arg[0] == '-') {
      error = "unknown option '" + arg + "'";
      return false;
    } else if (haveDir) {
      error = "one folder at most, not also '" + arg + "'";
      return false;
    } else {
      command.Dir = arg;
      haveDir = true;
    }
  }
  return true;
}

// The terminal's width when `out` goes to standard output and that is a
// terminal; else 100.
int TerminalWidth(const std::ostream& out, bool outIsStandardOutput) {
  if (&out != &std::cout && !outIsStandardOutput) return 100;
#if defined(_WIN32)
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (_isatty(1) && GetConsoleScreenBufferInfo(GetStdHandle(STD_OUTPUT_HANDLE), &info))
    return info.srWindow.Right - info.srWindow.Left + 1;
#else
  winsize size{};
  if (isatty(1) && ioctl(1, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
#endif
  return 100;
}

bool Exists(const fs::path& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

// Writes through `write` into `file` ("-": `out`); false with a message.
template <typename Write>
bool WriteOutput(const std::string& file, std::ostream& out, std::ostream& err, Write write) {
  if (file == "-") {
    write(out);
    out.flush();
    return true;
  }
  std::ofstream stream(file, std::ios::binary | std::ios::trunc);
  if (stream) write(stream);
  stream.close();
  if (!stream) {
    err << "mgame: " << file << ": cannot be written\n";
    return false;
  }
  return true;
}

void ReportWarnings(const TRunScan& scan, std::ostream& err) {
  for (const auto& warning : scan.Warnings)
    err << "mgame: " << scan.Dir.string() << ": warning: " << warning.Text << '\n';
}

bool IsGameFolder(const fs::path& dir) {
  return !Exists(dir / "out0.txt") && Exists(dir / "A" / "out0.txt") && Exists(dir / "B" / "out0.txt");
}

}  // namespace

namespace {

int WriteGamePages(const fs::path& dir, const TGameView* game, const TViewOptions& options, std::ostream& out,
                   std::ostream& err) {
  TRunScan a, b;
  std::string error;
  if (!ScanRun(dir / "A", a, error, game) || !ScanRun(dir / "B", b, error, game)) {
    err << "mgame: " << error << '\n';
    return 1;
  }
  for (const TRunScan* scan : {&a, &b}) {
    ReportWarnings(*scan, err);
    const std::string page = (scan->Dir / "steps.html").string();
    if (!WriteOutput(page, out, err, [&](std::ostream& s) { WriteHtmlPage(*scan, options, s); })) return 1;
    out << page << '\n';
  }
  const std::string index = (dir / "index.html").string();
  if (!WriteOutput(index, out, err, [&](std::ostream& s) { WriteGamePage(dir, a, b, s); })) return 1;
  out << index << '\n';
  return 0;
}

}  // namespace

int WriteGameView(const fs::path& dir, const TGameView* game, std::ostream& out, std::ostream& err) {
  return WriteGamePages(dir, game, TViewOptions{}, out, err);
}

namespace {

void WriteHelp(std::ostream& out) {
  out << ViewUsage
      << "\n\nShows a solver run (out0.txt, out1.txt, ..., GResult.txt and GMatrix.txt in DIR, default "
         "the\n"
         "current folder) as one page, DIR/steps.html: every tableau as a grid with the entering column,\n"
         "the leaving row and the pivot marked, the rule that chose them, the result and warnings.\n"
         "Runs of more than 20 reports show the first three and last three grids and a table of every "
         "step.\n\n"
         "  -o FILE      write the page (or the text) to FILE; - is standard output\n"
         "  --text       the walk-through as text, in column bands that fit the terminal\n"
         "  --steps A-B  also the grids of reports A to B\n"
         "  --all        every grid\n"
         "A DIR whose A/ and B/ hold a game's two runs gets A/steps.html, B/steps.html and index.html.\n";
}

// A game's folder: its pages, or with --text both players' walk-throughs.
int ViewGame(TCommand& command, std::ostream& out, std::ostream& err) {
  if (!command.Text) {
    if (!command.Output.empty()) {
      err << "mgame view: -o does not apply to a game's folder, whose pages are index.html, A/steps.html and "
             "B/steps.html ("
          << ViewUsage << ")\n";
      return 2;
    }
    return WriteGamePages(command.Dir, nullptr, command.Options, out, err);
  }
  TRunScan a, b;
  std::string error;
  if (!ScanRun(command.Dir / "A", a, error) || !ScanRun(command.Dir / "B", b, error)) {
    err << "mgame: " << error << '\n';
    return 1;
  }
  ReportWarnings(a, err);
  ReportWarnings(b, err);
  const std::string file = command.Output.empty() ? "-" : command.Output;
  command.Options.Width = file == "-" ? TerminalWidth(out, command.OutIsStandardOutput) : 100;
  return WriteOutput(file, out, err,
                     [&](std::ostream& s) {
                       s << "Player A\n\n";
                       WriteTextView(a, command.Options, s);
                       s << "\nPlayer B\n\n";
                       WriteTextView(b, command.Options, s);
                     })
             ? 0
             : 1;
}

// One run's folder: its page, or with --text its walk-through.
int ViewRun(TCommand& command, std::ostream& out, std::ostream& err) {
  TRunScan scan;
  std::string error;
  if (!ScanRun(command.Dir, scan, error)) {
    err << "mgame: " << error << '\n';
    return 1;
  }
  ReportWarnings(scan, err);
  if (command.Text) {
    const std::string file = command.Output.empty() ? "-" : command.Output;
    command.Options.Width = file == "-" ? TerminalWidth(out, command.OutIsStandardOutput) : 100;
    return WriteOutput(file, out, err, [&](std::ostream& s) { WriteTextView(scan, command.Options, s); }) ? 0
                                                                                                          : 1;
  }
  const std::string file = command.Output.empty() ? (command.Dir / "steps.html").string() : command.Output;
  if (!WriteOutput(file, out, err, [&](std::ostream& s) { WriteHtmlPage(scan, command.Options, s); }))
    return 1;
  if (file != "-") out << file << '\n';
  return 0;
}

}  // namespace

int ViewCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                bool outIsStandardOutput) {
  TCommand command;
  command.OutIsStandardOutput = outIsStandardOutput;
  std::string error;
  if (!ParseArgs(args, command, error)) {
    err << "mgame view: " << error << " (" << ViewUsage << ")\n";
    return 2;
  }
  if (command.Help) {
    WriteHelp(out);
    return 0;
  }
  return IsGameFolder(command.Dir) ? ViewGame(command, out, err) : ViewRun(command, out, err);
}
