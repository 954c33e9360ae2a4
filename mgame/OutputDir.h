// The folders a command writes its files into.
#pragma once

#include <string>
#include <vector>

// The default folder for the files of a run on `file`: beside it, named
// after it without its extension ("games/rps.txt" gives "games/rps"). A file
// without an extension gets "-run" appended ("rps" gives "rps-run").
std::string DefaultDirFor(const std::string& file);

// Makes `dir` and its `subdirs` ready for a run. A missing folder is created.
// An existing one that holds anything is refused unless `force`; with it,
// the reports an earlier run left there (out<k>.txt, GResult.txt and the
// view's steps.html) are
// removed from `dir` and from each of `subdirs`, so that none stays beside
// the new ones. Throws TInputError naming the folder. Returns whether `dir`
// was made.
bool PrepareOutputDir(const std::string& dir, bool force, const std::vector<std::string>& subdirs);

// "DIR/NAME", or NAME when DIR is empty.
std::string JoinPath(const std::string& dir, const std::string& name);

// The number of tableau reports in `dir`: out0.txt, out1.txt, ... up to the
// first missing one.
int CountReports(const std::string& dir);

// The whole file, in binary mode; throws TInputError when it cannot be read.
std::string ReadInputFile(const std::string& path);
// Creates or empties the file and writes `text`; throws TInputError.
void WriteOutputFile(const std::string& path, const std::string& text);
