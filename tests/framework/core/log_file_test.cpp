#include "core/base/log_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "log_capture.h"
#include "core/base/tracked_allocator.h"

namespace {

using wqtest::LogCapture;

// One step of a write sequence.
struct Step {
  enum Kind { kWrite, kAdvanceMs, kIndent, kDedent, kCharSetClass } kind;
  std::string text;
  int number = 0;
};

Step Write(std::string text) { return {Step::kWrite, std::move(text)}; }
Step AdvanceMs(int ms) { return {Step::kAdvanceMs, "", ms}; }
Step Indent() { return {Step::kIndent, ""}; }
Step Dedent() { return {Step::kDedent, ""}; }
Step CharSet(int charSetClass) { return {Step::kCharSetClass, "", charSetClass}; }

struct SequenceCase {
  const char* name;
  std::vector<Step> steps;
  std::string expected;
};

class LogSequenceTest : public LogCapture {
 protected:
  void Run(const std::vector<Step>& steps) {
    for (const Step& step : steps) {
      switch (step.kind) {
        case Step::kWrite:
          EXPECT_EQ(LogWrite(step.text.c_str()), -1);
          break;
        case Step::kAdvanceMs:
          WqControlAdvanceVirtualClock(static_cast<std::uint64_t>(step.number) * 1000);
          break;
        case Step::kIndent:
          EXPECT_EQ(IncreaseLogIndent(), 0);
          break;
        case Step::kDedent:
          EXPECT_EQ(DecreaseLogIndent(), 0);
          break;
        case Step::kCharSetClass:
          SetCharSetClass(step.number);
          break;
      }
    }
  }
};

TEST_F(LogSequenceTest, FileBytesForWriteSequences) {
  const std::string hyou = "\x95\x5C";  // 表: its trail byte is a backslash
  const std::string kana = "\xB1";      // half-width katakana: one byte, not a lead byte in Shift-JIS
  const SequenceCase cases[] = {
      {"line feed mid-text leaves the line open", {Write("a\nb")}, "0:a\r\nb"},
      {"the open line continues without a stamp", {Write("a\nb"), AdvanceMs(7), Write("c\n")}, "0:a\r\nbc\r\n"},
      {"conversion stops at the first CR LF", {Write("x\r\ny\nz\n")}, "0:x\r\ny\nz\n"},
      {"bare line feeds before the first CR LF convert", {Write("p\nq\r\nr\n")}, "0:p\r\nq\r\nr\n"},
      {"stamps count from the open", {Write("one\n"), AdvanceMs(1234), Write("two\n")}, "0:one\r\n1234:two\r\n"},
      {"indentation 2", {Indent(), Indent(), AdvanceMs(25), Write("line\n")}, "25:\t\tline\r\n"},
      {"dedent at 0 stays at 0", {Dedent(), Write("a\n"), Indent(), Dedent(), Dedent(), Indent(), Write("b\n")},
       "0:a\r\n0:\tb\r\n"},
      {"trail byte 0x5C", {Write(hyou + "\\" + hyou + "\n")}, "0:" + hyou + "\\" + hyou + "\r\n"},
      {"half-width kana before a line feed", {Write(kana + "\n")}, "0:" + kana + "\r\n"},
      {"a class taking every high byte as lead pairs it with the line feed",
       {CharSet(2), Write(kana + "\n")}, "0:" + kana + "\n"},
      {"a lead byte at the very end is copied", {Write("a\x95")}, "0:a\x95"},
  };
  for (const SequenceCase& c : cases) {
    SCOPED_TRACE(c.name);
    SetCharSetClass(1);
    OpenLogFile();
    Run(c.steps);
    EXPECT_EQ(LogText(), c.expected);
  }
}

TEST_F(LogCapture, OpenLogFileRecreatesTheFileEmptyAndRestartsTheState) {
  IncreaseLogIndent();
  LogWrite("left open");
  dir_.WriteFile("Log.txt", "old contents");
  WqControlAdvanceVirtualClock(5'000'000);
  OpenLogFile();
  EXPECT_EQ(LogText(), "");
  LogWrite("fresh\n");
  EXPECT_EQ(LogText(), "0:fresh\r\n");
}

TEST_F(LogCapture, LongTextsConvertInATrackedAllocation) {
  const std::string lineFeeds(300, '\n');
  SetTrackedTraceSize(static_cast<int>(lineFeeds.size() * 2 + 1));
  LogWrite(lineFeeds.c_str());
  SetTrackedTraceSize(0);
  EXPECT_EQ(GetTrackedBlockCount(), 0);

  std::string converted;
  for (int i = 0; i < 300; ++i) converted += "\r\n";
  const std::string log = LogText();
  // The trace of the tracked buffer (no file name, line -1) comes first,
  // then the converted text, then the trace of its release.
  EXPECT_EQ(log.rfind("0:mem alloc  \tsize:       601(     0.587kb)  file:", 0), 0u) << log.substr(0, 80);
  EXPECT_NE(log.find("line:65535"), std::string::npos);
  const std::size_t textStart = log.find("]\r\n") + 3;
  EXPECT_EQ(log.compare(textStart, 2 + converted.size(), "0:" + converted), 0);
  EXPECT_EQ(log.compare(textStart + 2 + converted.size(), 13, "0:mem free  \t"), 0);
}

TEST_F(LogCapture, TextsAtTheLocalBufferLimitStayLocal) {
  const std::string lineFeeds(255, '\n');
  SetTrackedTraceAll(1);
  LogWrite(lineFeeds.c_str());
  SetTrackedTraceAll(0);
  std::string converted = "0:";
  for (int i = 0; i < 255; ++i) converted += "\r\n";
  EXPECT_EQ(LogText(), converted);
}

TEST_F(LogCapture, LogWriteFormatCutsAt1024Bytes) {
  EXPECT_EQ(LogWriteFormat("%d-%s", 5, "x"), -1);
  const std::string longText(3000, 'a');
  EXPECT_EQ(LogWriteFormat("%s", longText.c_str()), -1);
  EXPECT_EQ(LogText(), "0:5-x\r\n0:" + std::string(1022, 'a') + "\r\n");
}

TEST_F(LogCapture, LogWriteFormatNeverCutsADoubleByteCharacter) {
  std::string text = "a";
  for (int i = 0; i < 600; ++i) text += "\x95\x5C";
  LogWriteFormat("%s", text.c_str());
  // 1,022 bytes of text fit: "a" and 510 characters (1,021 bytes).
  EXPECT_EQ(LogText(), "0:" + text.substr(0, 1021) + "\r\n");
}

TEST_F(LogCapture, LogWriteThunkIsTheSameWriter) {
  EXPECT_EQ(LogWriteThunk("t\n"), -1);
  EXPECT_EQ(LogText(), "0:t\r\n");
}

TEST_F(LogCapture, SwitchesDisableAndUnstamp) {
  SetLogTimeStampOff(1);
  IncreaseLogIndent();
  LogWrite("plain\n");
  SetLogTimeStampOff(0);
  SetLogDisabled(1);
  LogWrite("dropped\n");
  SetLogDisabled(0);
  EXPECT_EQ(LogText(), "\tplain\r\n");
}

TEST_F(LogCapture, NothingIsWrittenWithoutAFolder) {
  SetLogFolder("");
  LogWrite("nowhere\n");
  SetLogFolder(dir_.WindowsPath().c_str());
  LogWrite("here\n");
  EXPECT_EQ(LogText(), "0:here\r\n");
}

TEST_F(LogCapture, DateNamedFileCarriesTheLocalTime) {
  WqControlAdvanceVirtualClock((3600ull * 26 + 62) * 1'000'000);  // one day, 2 h, 1 min, 2 s on
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  GetLocalDate(&year, &month, &day, &hour, &minute, &second);
  SetLogDateNamedFile(1);
  OpenLogFile();
  LogWrite("dated\n");
  SetLogDateNamedFile(0);
  const std::string name = "Log" + std::to_string(year) + "_" + std::to_string(month) + "_" + std::to_string(day) +
                           "_" + std::to_string(hour) + "_" + std::to_string(minute) + "_" +
                           std::to_string(second) + ".txt";
  EXPECT_EQ(dir_.ReadFile(name), "0:dated\r\n");
}

// The debugger output (stderr, as UTF-8) gets the same pieces as the file:
// stamp, indentation and the converted text; it gets them also when the
// file cannot be opened, and nothing while there is no log folder or the
// log is disabled.
TEST_F(LogCapture, EveryWriteAlsoGoesToTheDebuggerOutput) {
  testing::internal::CaptureStderr();
  IncreaseLogIndent();
  WqControlAdvanceVirtualClock(42'000);
  LogWrite("\x95\x5C\n");  // 表
  SetLogDisabled(1);
  LogWrite("disabled\n");
  SetLogDisabled(0);
  SetLogFolder("");
  LogWrite("no folder\n");
  SetLogFolder((dir_.WindowsPath() + "\\missing").c_str());
  LogWrite("no file\n");
  const std::string debugger = testing::internal::GetCapturedStderr();
  EXPECT_EQ(debugger, "42:\t\xE8\xA1\xA8\r\n42:\tno file\r\n");
  EXPECT_EQ(LogText(), "42:\t\x95\x5C\r\n");
}

TEST(LogFolderTest, AFolderEndingInTrailByte0x5CGetsASeparator) {
  wqtest::TempDir dir;
  std::filesystem::create_directory(dir.path() / "\xE8\xA1\xA8");  // 表 in UTF-8 on the Linux side
  SetCharSetClass(1);
  SetLogFolder((dir.WindowsPath() + "\\\x95\x5C").c_str());
  OpenLogFile();
  LogWrite("in the folder\n");
  SetLogFolder((dir.WindowsPath() + "\\").c_str());
  OpenLogFile();
  LogWrite("with its own backslash\n");
  SetLogFolder("");
  EXPECT_NE(dir.ReadFile("\xE8\xA1\xA8/Log.txt").find("in the folder\r\n"), std::string::npos);
  EXPECT_NE(dir.ReadFile("Log.txt").find("with its own backslash\r\n"), std::string::npos);
}

}  // namespace
