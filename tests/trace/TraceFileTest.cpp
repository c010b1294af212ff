#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "base/RuntimeError.h"
#include "trace/TraceFile.h"

namespace brelvion::trace {
namespace {

namespace fs = std::filesystem;
using base::RuntimeError;

class TraceFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("brelvion-trace-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  std::string contentOf(const std::string& name) const {
    std::ifstream in(path(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  void writeRaw(const std::string& name, const std::string& content) const {
    std::ofstream(path(name), std::ios::binary) << content;
  }

  fs::path dir_;
};

TEST_F(TraceFileTest, SavedFileIsTheTraceAndOneClosingLineBreak) {
  EXPECT_EQ(traceFileText("\r\nWisp MSG001"), "\r\nWisp MSG001\r\n");
  EXPECT_EQ(traceFileText(""), "\r\n");
}

TEST_F(TraceFileTest, EveryLineEndIsUnderstoodAndTheLastLineNeedsNone) {
  EXPECT_EQ(traceFromFileText("a\r\nb\r\n"), "\r\na\r\nb");
  EXPECT_EQ(traceFromFileText("a\rb\r"), "\r\na\r\nb");      // CR alone
  EXPECT_EQ(traceFromFileText("a\nb\n"), "\r\na\r\nb");      // LF alone
  EXPECT_EQ(traceFromFileText("a\r\nb"), "\r\na\r\nb");      // no end on the last line
  EXPECT_EQ(traceFromFileText("a\n\rb"), "\r\na\r\n\r\nb");  // LF then CR: two ends
  EXPECT_EQ(traceFromFileText("\r\n\r\n"), "\r\n\r\n");
  EXPECT_EQ(traceFromFileText(""), "");
}

TEST_F(TraceFileTest, EachRoundTripAddsOneLeadingEmptyLine) {
  const std::string logged = "\r\nWisp MSG001:  Generating START on bus ";
  std::string trace = logged;
  for (int round = 1; round <= 3; ++round) {
    saveTraceFile(path("t.WSP"), trace, "test");
    trace = traceFromFileText(readTraceFile(path("t.WSP"), "test"));
    std::string expected;
    for (int i = 0; i < round; ++i) expected += "\r\n";
    EXPECT_EQ(trace, expected + logged) << "round " << round;
  }
}

TEST_F(TraceFileTest, EmptyFileLoadsAsEmptyTrace) {
  writeRaw("empty.WSP", "");
  EXPECT_EQ(traceFromFileText(readTraceFile(path("empty.WSP"), "test")), "");
}

TEST_F(TraceFileTest, EightBitCharactersAreKeptByteForByte) {
  std::string trace = "\r\n";
  for (int byte = 1; byte < 256; ++byte) {
    if (byte != '\r' && byte != '\n') trace += static_cast<char>(byte);
  }
  trace += std::string("\0tail", 5);
  saveTraceFile(path("bytes.TXT"), trace, "test");
  EXPECT_EQ(contentOf("bytes.TXT"), trace + "\r\n");
  EXPECT_EQ(traceFromFileText(readTraceFile(path("bytes.TXT"), "test")), "\r\n" + trace);
}

TEST_F(TraceFileTest, SavingReplacesAnExistingFile) {
  writeRaw("old.WSP", std::string(5000, 'x'));
  saveTraceFile(path("old.WSP"), "\r\nnew", "test");
  EXPECT_EQ(contentOf("old.WSP"), "\r\nnew\r\n");
}

TEST_F(TraceFileTest, FailuresNameTheFileAndTheCause) {
  const std::string missing = path("nothere.WSP");
  try {
    readTraceFile(missing, "loadTrace");
    FAIL() << "no error";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.number(), RuntimeError::kFileNotFound);
    EXPECT_EQ(error.boxText(), "53: Cannot read " + missing + ": No such file or directory");
    EXPECT_EQ(error.source(), "loadTrace");
  }
  try {
    readTraceFile(dir_.string(), "test");
    FAIL() << "no error";
  } catch (const RuntimeError& error) {
    EXPECT_NE(error.description().find("Is a directory"), std::string::npos);
  }
  const std::string inMissingFolder = path("no/such/folder/t.WSP");
  try {
    saveTraceFile(inMissingFolder, "\r\nx", "test");
    FAIL() << "no error";
  } catch (const RuntimeError& error) {
    EXPECT_NE(error.description().find(inMissingFolder), std::string::npos);
    EXPECT_NE(error.description().find("No such file or directory"), std::string::npos);
  }
  EXPECT_FALSE(fs::exists(inMissingFolder));
}

}  // namespace
}  // namespace brelvion::trace
