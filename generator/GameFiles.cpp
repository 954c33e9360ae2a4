#include "GameFiles.h"

#include "OutputFile.h"
#include "Platform.h"

namespace {

constexpr std::int32_t Shift = 10;

// Passes `ok` through. On a failure it records the file's error number and
// the caller's code address, and lets the file go without writing out its
// buffer. Kept out of line so that every check has its own return address.
MG_NOINLINE bool CheckIo(bool ok, TOutputFile& file, TRunError& error) {
  if (ok) return true;
  error = RunErrorAt(file.Error, MG_RETURN_ADDRESS());
  AbandonOutputFile(file);
  return false;
}

bool WriteLine(TOutputFile& file, std::string line) {
  line += "\r\n";
  return WriteOutput(file, line);
}

std::int32_t Coefficient(const TPayoffMatrix& matrix, TPlayer player, int constraint, int term) {
  // Player A's constraint k is column k, player B's is row k.
  return player == TPlayer::A ? matrix[term][constraint] : matrix[constraint][term];
}

std::string JoinPath(const std::string& directory, const char* name) {
  return directory.empty() ? std::string(name) : directory + "/" + name;
}

}  // namespace

std::string MatrixLine(const TPayoffMatrix& matrix, int row) {
  std::string line;
  for (int c = 0; c < MatrixSize; ++c) {
    if (c > 0) line += ' ';
    line += std::to_string(matrix[row][c]);
  }
  return line;
}

std::string ConstraintLine(const TPayoffMatrix& matrix, TPlayer player, int constraint) {
  std::string line;
  for (int t = 0; t < MatrixSize; ++t) {
    std::int32_t coefficient = Coefficient(matrix, player, constraint, t);
    // A negative coefficient brings its own sign; the first term needs none.
    if (t > 0 && coefficient >= 0) line += '+';
    line += std::to_string(coefficient) + "*x" + std::to_string(t);
  }
  line += player == TPlayer::A ? ">1" : "<1";
  return line;
}

std::string ObjectiveLine(TPlayer player) {
  std::string line = "Z";
  for (int t = 0; t < MatrixSize; ++t) line += (player == TPlayer::A ? "+1*x" : "-1*x") + std::to_string(t);
  line += "=0";
  return line;
}

TRunError WriteMatrixFile(const std::string& fileName) {
  TRunError error;
  TOutputFile file;
  if (!CheckIo(CreateOutputFile(file, fileName), file, error)) return error;
  if (!CheckIo(WriteLine(file, "6 6"), file, error)) return error;
  for (int r = 0; r < MatrixSize; ++r)
    if (!CheckIo(WriteLine(file, MatrixLine(PayoffMatrix, r)), file, error)) return error;
  if (!CheckIo(CloseOutputFile(file), file, error)) return error;
  return error;
}

void ShiftMatrix() {
  for (auto& row : PayoffMatrix)
    for (auto& entry : row) entry += Shift;
}

TRunError WriteSystemFile(const std::string& fileName, TPlayer player) {
  TRunError error;
  TOutputFile file;
  if (!CheckIo(CreateOutputFile(file, fileName), file, error)) return error;
  // Decision variables, constraints, slack or surplus variables.
  if (!CheckIo(WriteLine(file, "6 6 6"), file, error)) return error;
  for (int k = 0; k < MatrixSize; ++k)
    if (!CheckIo(WriteLine(file, ConstraintLine(PayoffMatrix, player, k)), file, error)) return error;
  if (!CheckIo(WriteLine(file, ObjectiveLine(player)), file, error)) return error;
  if (!CheckIo(CloseOutputFile(file), file, error)) return error;
  return error;
}

TRunError WriteGameFiles(const std::string& directory) {
  TRunError error = WriteMatrixFile(JoinPath(directory, "GMatrix.txt"));
  if (error.Failed()) return error;
  ShiftMatrix();
  error = WriteMatrixFile(JoinPath(directory, "GMatrixP.txt"));
  if (error.Failed()) return error;
  error = WriteSystemFile(JoinPath(directory, "SystemA.txt"), TPlayer::A);
  if (error.Failed()) return error;
  return WriteSystemFile(JoinPath(directory, "SystemB.txt"), TPlayer::B);
}
