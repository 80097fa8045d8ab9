#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "WqLib.h"
#include "graphics/screen_mode.h"
#include "core/files/stream_memory.h"
#include "core/startup/api_lock.h"
#include "core/base/time_source.h"
#include "core/window/main_window.h"
#include "platform/windows.h"
#include "core/startup/runtime_libraries.h"
#include "startup_test_support.h"
#include "core/window/window_system_state.h"

namespace {

using wqtest::ExpectInOrder;

class StartupSequenceTest : public wqtest::LibraryTest {};

// Any run of characters in an expected log line.
constexpr char kAny[] = "\x01";
// An empty line that carries no stamp: a text written in one piece that
// holds two line feeds in a row.
constexpr char kBlank[] = "\x02";

// The log's lines after their "<ms>:" stamps; a line without a stamp fails.
std::vector<std::string> LogLinesWithoutStamps(const std::string& log) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < log.size()) {
    const std::size_t end = log.find("\r\n", start);
    const std::string line = log.substr(start, end == std::string::npos ? std::string::npos : end - start);
    start = end == std::string::npos ? log.size() : end + 2;
    if (line.empty()) {
      lines.push_back(kBlank);
      continue;
    }
    const std::size_t colon = line.find(':');
    const bool stamped = colon != std::string::npos && colon > 0 &&
                         line.find_first_not_of("0123456789") == colon;
    EXPECT_TRUE(stamped) << line;
    lines.push_back(stamped ? line.substr(colon + 1) : line);
  }
  return lines;
}

// Whole-line match of text against a pattern in which kAny stands for any
// run of characters. The literal parts are compared byte for byte, so
// Shift-JIS trail bytes need no escaping.
bool MatchesPattern(const std::string& text, const std::string& pattern) {
  const std::size_t any = pattern.find(kAny[0]);
  if (any == std::string::npos) return text == pattern;
  if (text.compare(0, any, pattern, 0, any) != 0) return false;
  const std::string rest = pattern.substr(any + 1);
  for (std::size_t skip = any; skip <= text.size(); ++skip) {
    if (MatchesPattern(text.substr(skip), rest)) return true;
  }
  return false;
}

void ExpectLogLines(const std::string& log, const std::vector<std::string>& expected) {
  const std::vector<std::string> lines = LogLinesWithoutStamps(log);
  ASSERT_EQ(lines.size(), expected.size()) << log;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_TRUE(MatchesPattern(lines[i], expected[i])) << "line " << i << ": " << lines[i];
  }
}

std::string WithAny(std::initializer_list<std::string> pieces) {
  std::string pattern;
  for (const std::string& piece : pieces) pattern += (pattern.empty() ? "" : kAny) + piece;
  return pattern;
}

// The report, COM, the window and input, and at the end the window's close,
// COM's end and the allocation dump, in the framework's own words.
std::vector<std::string> StartUpAndShutdownLines(const std::string& log) {
  std::vector<std::string> lines = {
      "システムの情報を出力します",
      "\tＷＱライブラリ Ver3.05",
      WithAny({"\t論理プロセッサの数 : ", ""}),
      "\tＯＳ  Windows7 ( Build 7601 Service Pack 1 )",
      WithAny({"\tＣＰＵ動作速度：大体", "GHz"}),
      // Every x86-64 processor has MMX, SSE and SSE2.
      "\tＭＭＸ命令を使用します",
      "\tＳＳＥ命令が使用可能です",
      "\tＳＳＥ２命令が使用可能です",
      WithAny({"\tＣＰＵベンダ：", ""}),
  };
  if (log.find("ＣＰＵ名：") != std::string::npos) lines.push_back(WithAny({"\tＣＰＵ名：", ""}));
  const std::vector<std::string> rest = {
      "ＣＯＭの初期化... 成功しました",
      WithAny({"メモリ総量:", "MB  空きメモリ領域:", "MB "}),
      "タイマーの精度を検査します",
      WithAny({"精度結果 更新回数 マルチメディアタイマー：", "  パフォーマンスカウンター：", ""}),
      " パフォーマンスカウンターを使用します タイマー精度 : 10000.000000 KHz ",
      " ソフトの二重起動検査... 二重起動はされていませんでした",
      "ウインドウクラスを登録します... 登録に成功しました",
      "ウインドウモード起動用のウインドウを作成します",
      "ウインドウの作成に成功しました",
      "ＩＭＥを無効にしました",
      "ウインドウスタイルをウインドウモード用に変更します... 完了",
      "DirectInput関係初期化処理",
      "\tDirectInput7 の取得中... ジョイパッドの初期化... ",
      "\tジョイパッドの初期化は正常に終了しました",
      "\tマウスデバイスの初期化... 初期化成功",
      "\tキーボードデバイスの初期化... 初期化成功",
      "\tDirectInput 関連の初期化は正常に終了しました",
      // Sound: the DirectSound object and its capability report, whose
      // formatted lines end in a line feed of their own.
      "DirectSound の初期化を行います",
      "DirectSound インターフェースの取得を行います....  成功",
      "引き続きインターフェースの初期化処理...  成功",
      "\tDirectSound デバイスを列挙します",
      WithAny({"\t\tモジュール名:", "  ドライバ記述:", " "}),
      WithAny({"\t最大サンプリングレート:", "KHz 最小サンプリングレート:", "KHz "}),
      WithAny({"\t総サウンドメモリ領域:", "KB 空きサウンドメモリ領域:", "KB "}),
      kBlank,
      "\t利用可能サンプリング精度",
      WithAny({"\t プライマリ １６bit = ", "  ８bit = ", " "}),
      WithAny({"\t セカンダリ １６bit = ", "  ８bit = ", " "}),
      kBlank,
      "\t利用可能チャンネル",
      WithAny({"\t プライマリ MONO = ", "  STEREO = ", " "}),
      WithAny({"\t セカンダリ MONO = ", "  STEREO = ", " "}),
      kBlank,
      "DirectSound の初期化は正常に終了しました",
      // Graphics: DirectDraw for the vertical blank, the device and what it
      // offers, then the depth buffer and the shaders.
      "DirectDraw オブジェクトの取得を行います....  成功",
      "引き続き初期化処理... 初期化に成功しました",
      "IDirect3D9Ex オブジェクトを取得します.... IDirect3D9 オブジェクトを取得します.... 成功",
      "IDirect3DDevice9 オブジェクトを取得します.... ハードウエア頂点演算を使用します",
      "成功",
      WithAny({"Driver:", "  Description:", ""}),
      "画面のフォーマットは D3DFMT_X8R8G8B8 です",
      WithAny({"Ｚバッファのフォーマットは D3DFMT_D", " です"}),
      WithAny({"16bit カラーフォーマットは D_D3DFMT_", " です"}),
      WithAny({"32bit カラーフォーマットは D_D3DFMT_", " です"}),
      WithAny({"アルファ付き 16bit カラーフォーマットは D_D3DFMT_", " です"}),
      WithAny({"アルファ付き 32bit カラーフォーマットは D_D3DFMT_", " です"}),
      WithAny({"アルファテスト用 16bit カラーフォーマットは D_D3DFMT_", " です"}),
      WithAny({"アルファテスト用 32bit カラーフォーマットは D_D3DFMT_", " です"}),
      WithAny({"ＤＸＴ１テクスチャフォーマットは", ""}),
      WithAny({"ＤＸＴ２テクスチャフォーマットは", ""}),
      WithAny({"ＤＸＴ３テクスチャフォーマットは", ""}),
      WithAny({"ＤＸＴ４テクスチャフォーマットは", ""}),
      WithAny({"ＤＸＴ５テクスチャフォーマットは", ""}),
      WithAny({"描画用 16bit カラーフォーマットは D_D3DFMT_", " です"}),
      WithAny({"描画用 32bit カラーフォーマットは D_D3DFMT_", " です"}),
      WithAny({"描画用アルファ付き 32bit カラーフォーマットは D_D3DFMT_", " です"}),
      WithAny({"最大テクスチャサイズ　幅:", " 高さ:", ""}),
      WithAny({"テクスチャステージテンポラリレジスタ：", ""}),
      WithAny({"減算合成のハードウェア対応：", ""}),
      "頂点シェーダーバージョンコード：0",
      "ピクセルシェーダーバージョンコード：0",
      WithAny({"バックバッファロック転送の時間:", "nsec  一時的な描画可能バッファを使用した転送の時間:", "nsec"}),
      WithAny({"バックバッファロックを使用", ""}),
      "Ｚバッファを作成します.... 成功",
      "プログラマブルシェーダーを使用しません",
      // The default font, made at start-up and once more when graphics end
      // before every font goes.
      "フォントの初期化を行います",
      "フォントの初期化は正常に終了しました",
      "文字コードバッファの初期化を行います... 完了しました",
      "フォントの初期化を行います",
      "フォントの初期化は正常に終了しました",
      "Direct3DDevice9 の解放 3",
      "Direct3D9 DLL の解放 4",
      "DirectInput 関連の終了処理... 完了",
      "DirectSound の終了処理は正常に終了しました",
      "ウインドウを閉じようとしています",
      "ウインドウが破棄されようとしています",
      "ソフトを終了する準備が整いました",
      "ＣＯＭを終了... 完了",
      "",
      "Alloc memory dump",
  };
  lines.insert(lines.end(), rest.begin(), rest.end());
  return lines;
}

TEST_F(StartupSequenceTest, StartPumpEndWritesTheStartUpLogAndAnEmptyDumpLineForLine) {
  ASSERT_EQ(StartLibrary(), 0);
  HWND window = GetMainWindow();
  ASSERT_NE(window, nullptr);
  // No window text was set before start-up: the class has the fixed name,
  // and the window the library's.
  EXPECT_EQ(FindWindowA(kUnnamedWindowClass, nullptr), window);
  char text[32] = "";
  GetWindowTextA(window, text, sizeof(text));
  EXPECT_STREQ(text, "WqLib");
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 640);
  EXPECT_EQ(client.bottom, 480);
  EXPECT_TRUE(IsWindowActive());

  for (int frame = 0; frame < 120; ++frame) ASSERT_EQ(PumpMessages(), 0) << "frame " << frame;
  EXPECT_EQ(EndLibrary(), 0);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(FindWindowA(kUnnamedWindowClass, nullptr), nullptr);

  const std::string log = ReadLog();
  std::vector<std::string> expected = StartUpAndShutdownLines(log);
  expected.push_back("\tTotal size:0(0.000kb)  Alloc num:0");
  expected.push_back("");
  ExpectLogLines(log, expected);
}

// A block still allocated at the end is listed with an empty file name and
// line 0, as every framework allocation is made.
TEST_F(StartupSequenceTest, TheShutdownDumpListsABlockLeftAllocated) {
  ASSERT_EQ(StartLibrary(), 0);
  const char bytes[] = "left";
  const StreamHandle stream = OpenMemoryStream(bytes, sizeof(bytes));
  ASSERT_NE(stream, 0u);
  EXPECT_EQ(EndLibrary(), 0);
  CloseMemoryStream(stream);

  const std::string log = ReadLog();
  std::vector<std::string> expected = StartUpAndShutdownLines(log);
  char sizeColumns[64];
  std::snprintf(sizeColumns, sizeof(sizeColumns), "\tsize:%10d(%10.3fkb)  file:", static_cast<int>(sizeof(MemoryStream)),
                sizeof(MemoryStream) / 1024.0);
  expected.push_back(WithAny({sizeColumns + std::string(26, ' ') + "  line:0      ID:", "  addr:", "  data:<", "]"}));
  expected.push_back(WithAny({"\tTotal size:", "(", "kb)  Alloc num:1"}));
  expected.push_back("");
  ExpectLogLines(log, expected);
}

TEST_F(StartupSequenceTest, TheWindowClassIsNamedAfterTheTextSetBeforeStartUp) {
  EXPECT_STREQ(WindowSystem().windowText, "");
  std::snprintf(WindowSystem().windowText, sizeof(WindowSystem().windowText), "%s", "Shooter");
  ASSERT_EQ(StartLibrary(), 0);
  EXPECT_EQ(FindWindowA("Shooter", nullptr), GetMainWindow());
  EXPECT_EQ(FindWindowA(kUnnamedWindowClass, nullptr), nullptr);
  char text[32] = "";
  GetWindowTextA(GetMainWindow(), text, sizeof(text));
  EXPECT_STREQ(text, "Shooter");
}

TEST_F(StartupSequenceTest, StartsAgainAfterEndingInTheSameProcess) {
  ASSERT_EQ(StartLibrary(), 0);
  ASSERT_EQ(PumpMessages(), 0);
  ASSERT_EQ(EndLibrary(), 0);
  EXPECT_FALSE(IsApiLockCreated());

  ASSERT_EQ(StartLibrary(), 0);
  EXPECT_NE(GetMainWindow(), nullptr);
  EXPECT_EQ(PumpMessages(), 0);
  EXPECT_EQ(EndLibrary(), 0);
  EXPECT_NE(ReadLog().find("Alloc num:0"), std::string::npos);
}

TEST_F(StartupSequenceTest, SecondStartIsANoOpAndEndBeforeStartTouchesNothing) {
  EXPECT_EQ(EndLibrary(), 0);
  EXPECT_FALSE(IsApiLockCreated());
  ASSERT_EQ(StartLibrary(), 0);
  HWND window = GetMainWindow();
  EXPECT_EQ(StartLibrary(), 0);
  EXPECT_EQ(GetMainWindow(), window);
}

// A class of the framework's own name, registered by someone else.
ATOM RegisterFrameworkClassWith(WNDPROC procedure) {
  WNDCLASSEXA other{};
  other.cbSize = sizeof(other);
  other.lpfnWndProc = procedure;
  other.lpszClassName = kUnnamedWindowClass;
  return RegisterClassExA(&other);
}

void ExpectAFullStartAndEnd() {
  ASSERT_EQ(StartLibrary(), 0);
  EXPECT_NE(GetMainWindow(), nullptr);
  EXPECT_EQ(PumpMessages(), 0);
  EXPECT_EQ(EndLibrary(), 0);
}

// Another window of the framework's class makes start-up refuse; nothing of
// the refused start may linger, so a start after that window is gone works.
TEST_F(StartupSequenceTest, RefusedStartLeavesNothingBehindAndTheNextStartSucceeds) {
  ASSERT_NE(RegisterFrameworkClassWith(DefWindowProcA), 0);
  HWND blocker = CreateWindowExA(0, kUnnamedWindowClass, "blocker", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                 nullptr, nullptr);
  ASSERT_NE(blocker, nullptr);

  EXPECT_EQ(StartLibrary(), -1);
  EXPECT_NE(ReadLog().find("二重起動されています、ソフトを終了します"), std::string::npos);
  EXPECT_EQ(GetMainWindow(), nullptr);
  // The text gets its default only when the class is registered, after the
  // check.
  EXPECT_STREQ(WindowSystem().windowText, "");
  EXPECT_EQ(PumpMessages(), -1);

  DestroyWindow(blocker);
  ASSERT_TRUE(UnregisterClassA(kUnnamedWindowClass, nullptr));
  ExpectAFullStartAndEnd();
}

// A class of the framework's name whose windows refuse creation makes the
// window step fail after COM and the run-time libraries were started: the
// failed start ends all of it, as EndLibrary would, and the next start works.
LRESULT RefuseCreation(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return message == WM_CREATE ? -1 : DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(StartupSequenceTest, AStartFailingAtTheWindowEndsWhatItStartedAndTheNextStartSucceeds) {
  ASSERT_NE(RegisterFrameworkClassWith(RefuseCreation), 0);

  EXPECT_EQ(StartLibrary(), -1);
  EXPECT_EQ(GetMainWindow(), nullptr);
  EXPECT_EQ(FindRuntimeEntry(kRuntimeOle32, "CoInitialize"), nullptr);
  ExpectInOrder(ReadLog(), {"ＣＯＭの初期化... 成功しました", "ウインドウの作成に失敗しました",
                            "ＣＯＭを終了... 完了", "Alloc num:0"});

  UnregisterClassA(kUnnamedWindowClass, nullptr);
  ExpectAFullStartAndEnd();
}

// The colour depth is checked right after the log opens: a 24-bit screen
// ends the start before the clocks are read or anything else is started.
TEST_F(StartupSequenceTest, A24BitScreenIsRefusedFirst) {
  // SetScreenMode refuses 24 bits itself; the start-up check guards a
  // screen depth stored otherwise.
  EXPECT_EQ(SetScreenMode(640, 480, 24, 60), -1);
  Screen().colorBits = 24;
  EXPECT_EQ(StartLibrary(), -1);
  ExpectLogLines(ReadLog(), {"ＷＱライブラリは２４ビットカラーモードに対応していません"});
  EXPECT_EQ(IsPerformanceCounterInUse(), 0);
  EXPECT_EQ(GetMainWindow(), nullptr);
}

TEST_F(StartupSequenceTest, WindowModeBeforeStartOnlyRecordsTheChoice) {
  EXPECT_EQ(ChangeWindowMode(1), 0);
  EXPECT_EQ(ChangeWindowMode(0), 0);
  EXPECT_FALSE(IsWindowMode());
  EXPECT_EQ(GetMainWindow(), nullptr);
  EXPECT_EQ(ChangeWindowMode(1), 0);
  EXPECT_TRUE(IsWindowMode());
}

}  // namespace
