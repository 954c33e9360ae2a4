// The file writer: the example files byte for byte, the line layouts, the
// output buffer and the failure path in process.
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>

#ifndef _WIN32
#include <sys/resource.h>
#endif

#include "GameFiles.h"
#include "OutputFile.h"
#include "ScratchDir.h"
#include "Seed12345.h"

namespace fs = std::filesystem;

namespace {

const std::map<std::string, std::string> ExampleFiles = {
    {"GMatrix.txt",
     "6 6\r\n-2 -4 -8 1 3 -3\r\n-1 -8 -9 8 9 -3\r\n-5 5 0 -1 7 6\r\n5 7 -6 -9 4 -1\r\n"
     "-6 4 -2 -4 -1 -8\r\n5 -7 7 -4 1 6\r\n"},
    {"GMatrixP.txt",
     "6 6\r\n8 6 2 11 13 7\r\n9 2 1 18 19 7\r\n5 15 10 9 17 16\r\n15 17 4 1 14 9\r\n"
     "4 14 8 6 9 2\r\n15 3 17 6 11 16\r\n"},
    {"SystemA.txt",
     "6 6 6\r\n8*x0+9*x1+5*x2+15*x3+4*x4+15*x5>1\r\n6*x0+2*x1+15*x2+17*x3+14*x4+3*x5>1\r\n"
     "2*x0+1*x1+10*x2+4*x3+8*x4+17*x5>1\r\n11*x0+18*x1+9*x2+1*x3+6*x4+6*x5>1\r\n"
     "13*x0+19*x1+17*x2+14*x3+9*x4+11*x5>1\r\n7*x0+7*x1+16*x2+9*x3+2*x4+16*x5>1\r\n"
     "Z+1*x0+1*x1+1*x2+1*x3+1*x4+1*x5=0\r\n"},
    {"SystemB.txt",
     "6 6 6\r\n8*x0+6*x1+2*x2+11*x3+13*x4+7*x5<1\r\n9*x0+2*x1+1*x2+18*x3+19*x4+7*x5<1\r\n"
     "5*x0+15*x1+10*x2+9*x3+17*x4+16*x5<1\r\n15*x0+17*x1+4*x2+1*x3+14*x4+9*x5<1\r\n"
     "4*x0+14*x1+8*x2+6*x3+9*x4+2*x5<1\r\n15*x0+3*x1+17*x2+6*x3+11*x4+16*x5<1\r\n"
     "Z-1*x0-1*x1-1*x2-1*x3-1*x4-1*x5=0\r\n"},
};
const char* const FileOrder[] = {"GMatrix.txt", "GMatrixP.txt", "SystemA.txt", "SystemB.txt"};

class GameFilesTest : public ::testing::Test {
 protected:
  void SetUp() override { PayoffMatrix = Seed12345Matrix; }

  std::string Path(const std::string& name) const { return dir_ / name; }
  void Place(const std::string& name, const std::string& text) const { WriteWholeFile(Path(name), text); }

  const TScratchDir dir_{"quenby-test"};
};

TEST_F(GameFilesTest, Seed12345WritesTheExampleFiles) {
  Place("GMatrix.txt", std::string(500, 'x'));  // an older, longer file is replaced
  TRunError error = WriteGameFiles(dir_.Path().string());
  EXPECT_FALSE(error.Failed()) << error.Code;
  for (const auto& [name, text] : ExampleFiles) EXPECT_EQ(ReadWholeFile(Path(name)), text) << name;
  EXPECT_EQ(ExampleFiles.at("GMatrix.txt").size(), 103u);
  EXPECT_EQ(ExampleFiles.at("GMatrixP.txt").size(), 99u);
  EXPECT_EQ(ExampleFiles.at("SystemA.txt").size(), 256u);
  EXPECT_EQ(ExampleFiles.at("SystemB.txt").size(), 256u);
}

TEST_F(GameFilesTest, AFailureLeavesEarlierFilesCompleteAndLaterOnesUntouched) {
  for (int blocked = 0; blocked < 4; ++blocked) {
    SCOPED_TRACE(FileOrder[blocked]);
    PayoffMatrix = Seed12345Matrix;
    for (const auto& entry : fs::directory_iterator(dir_.Path())) fs::remove_all(entry.path());
    fs::create_directory(Path(FileOrder[blocked]));
    for (int later = blocked + 1; later < 4; ++later) Place(FileOrder[later], "older\r\n");

    TRunError error = WriteGameFiles(dir_.Path().string());
#ifdef _WIN32
    EXPECT_EQ(error.Code, EACCES);  // the system's own number for a directory in the way
#else
    EXPECT_EQ(error.Code, EISDIR);
#endif
    for (int i = 0; i < blocked; ++i)
      EXPECT_EQ(ReadWholeFile(Path(FileOrder[i])), ExampleFiles.at(FileOrder[i])) << FileOrder[i];
    for (int i = blocked + 1; i < 4; ++i) EXPECT_EQ(ReadWholeFile(Path(FileOrder[i])), "older\r\n");
  }
}

TEST_F(GameFilesTest, EveryCheckReportsTheErrorNumberAndItsOwnLocation) {
  // /dev/full opens but refuses every physical write.
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  TRunError missingDir = WriteMatrixFile(Path("missing/GMatrix.txt"));
  TRunError atClose = WriteMatrixFile("/dev/full");              // 103 bytes fit the buffer
  TRunError atWrite = WriteSystemFile("/dev/full", TPlayer::A);  // 256 bytes do not
  EXPECT_EQ(missingDir.Code, ENOENT);
  EXPECT_EQ(atClose.Code, ENOSPC);
  EXPECT_EQ(atWrite.Code, ENOSPC);
  EXPECT_NE(missingDir.Location, atClose.Location);
  EXPECT_NE(atClose.Location, atWrite.Location);
  EXPECT_EQ(WriteMatrixFile("/dev/full").Location, atClose.Location);
}

#ifndef _WIN32
// Under a file size limit the failure shows at the check of the statement
// during which the 128-byte buffer is written out past the limit, or at the
// close: a constraint line, the objective line or the close of SystemA.txt.
TEST_F(GameFilesTest, AFileSizeLimitFailsAtTheCheckThatWritesPastIt) {
  std::signal(SIGXFSZ, SIG_IGN);
  for (auto& row : PayoffMatrix) row.fill(19);  // a system file of 276 bytes
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  std::set<std::uint32_t> locations;
  for (const rlim_t limit : {120, 200, 257}) {
    SCOPED_TRACE(limit);
    rlimit limited = saved;
    limited.rlim_cur = limit;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const TRunError error = WriteSystemFile(Path("SystemA.txt"), TPlayer::A);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &saved), 0);
    EXPECT_EQ(error.Code, EFBIG);
    EXPECT_EQ(fs::file_size(Path("SystemA.txt")), limit);
    locations.insert(error.Location);
  }
  EXPECT_EQ(locations.size(), 3u);
}
#endif

TEST(GameFileLines, SignsOfUnshiftedCoefficients) {
  const TPayoffMatrix m = {{
      {0, -3, 5, 0, -10, 19},
      {7, 1, 1, 1, 1, 1},
      {-9, 0, 0, 0, 0, 0},
      {0, 2, 2, 2, 2, 2},
      {1, 3, 3, 3, 3, 3},
      {-2, 4, 4, 4, 4, 4},
  }};
  EXPECT_EQ(MatrixLine(m, 0), "0 -3 5 0 -10 19");
  EXPECT_EQ(MatrixLine(m, 2), "-9 0 0 0 0 0");
  EXPECT_EQ(ConstraintLine(m, TPlayer::A, 0), "0*x0+7*x1-9*x2+0*x3+1*x4-2*x5>1");
  EXPECT_EQ(ConstraintLine(m, TPlayer::A, 1), "-3*x0+1*x1+0*x2+2*x3+3*x4+4*x5>1");
  EXPECT_EQ(ConstraintLine(m, TPlayer::B, 0), "0*x0-3*x1+5*x2+0*x3-10*x4+19*x5<1");
  EXPECT_EQ(ConstraintLine(m, TPlayer::B, 2), "-9*x0+0*x1+0*x2+0*x3+0*x4+0*x5<1");
  EXPECT_EQ(ObjectiveLine(TPlayer::A), "Z+1*x0+1*x1+1*x2+1*x3+1*x4+1*x5=0");
  EXPECT_EQ(ObjectiveLine(TPlayer::B), "Z-1*x0-1*x1-1*x2-1*x3-1*x4-1*x5=0");
}

TEST(RuntimeErrorReport, CodeAndLocation) {
  struct Case {
    int errorNumber;
    std::uint32_t location;
    const char* line;
  };
  const Case cases[] = {
      {21, 0x1A2B, "Runtime error  21 at 00001A2B\r\n"},
      {2, 0xABCDEF01, "Runtime error   2 at ABCDEF01\r\n"},
      {255, 0, "Runtime error 255 at 00000000\r\n"},
      {256 + 28, 0x10, "Runtime error  28 at 00000010\r\n"},  // low 8 bits only
      {256, 0x10, "Runtime error   5 at 00000010\r\n"},       // never a code of 0
      {0, 0x10, "Runtime error   5 at 00000010\r\n"},
  };
  for (const auto& c : cases) {
    TRunError error{RuntimeErrorCode(c.errorNumber), c.location};
    EXPECT_EQ(FormatRuntimeError(error), c.line) << c.errorNumber;
  }
}

TEST_F(GameFilesTest, OutputBufferKeepsEveryByteInOrder) {
  std::string text;
  for (int i = 0; i < 1000; ++i) text += static_cast<char>('a' + i % 26);
  for (std::size_t piece : {1u, 7u, 127u, 128u, 129u, 1000u}) {
    TOutputFile file;
    ASSERT_TRUE(CreateOutputFile(file, Path("buffer.txt")));
    for (std::size_t at = 0; at < text.size(); at += piece)
      ASSERT_TRUE(WriteOutput(file, std::string_view(text).substr(at, piece)));
    ASSERT_TRUE(CloseOutputFile(file));
    EXPECT_EQ(ReadWholeFile(Path("buffer.txt")), text) << "pieces of " << piece;
  }
}

}  // namespace
