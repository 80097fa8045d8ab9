// A screen of text a frame: 40 lines of mixed Japanese (kanji, kana,
// half-width kana) and ASCII in the default font, drawn with DrawTextFormat
// on the Direct3D device and on the software screen, each with a warm glyph
// cache (the glyphs stay cached from frame to frame) and a cold one (the
// font's cache emptied before every frame, so every glyph is rasterised
// again). Beside them the platform's raw cost of the same glyphs: the size
// query and the bits of GetGlyphOutlineA for each distinct character of
// the screen (what a cold frame asks for), and for every character of it.
// Presents do not wait for the
// vertical blank. The summary prints frames per second, wall and process
// CPU time a frame, and the ratios.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "WqLib.h"
#include "graphics/graphics_start.h"
#include "platform/control.h"
#include "platform/windows.h"
#include "support/frame_bench.h"
#include "support/game_screen.h"
#include "support/summary_reporter.h"
#include "text/glyph_cache.h"

namespace {

using wqbench::kScreenHeight;
using wqbench::kScreenWidth;
constexpr int kLines = 40;
constexpr int kLineHeight = 20;
constexpr int kFrames = 60;
constexpr int kFontSize = 16;

// Pieces the lines are made of; each line takes four, rotating, so that
// the screen holds several hundred different characters.
const char* const kPieces[] = {
    "漢字とかなの表示速度を測ります。",  "ゲームオーバー　ｺﾝﾃｨﾆｭｰ?",     "SCORE 0012345  HI 9876543 ",
    "東京都千代田区丸の内一丁目、",      "弾幕シューティングの自機と敵機。", "ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿ",
    "The quick brown fox 0123456789 ",  "全角ＡＢＣＤ１２３と記号★☆◆◇",  "春夏秋冬、朝昼晩、東西南北。",
    "ステージ１　ボス戦開始！",           "読み込み中… しばらくお待ちください", "(x, y) = [120, -48] {ok} ",
};
constexpr int kPieceCount = sizeof(kPieces) / sizeof(kPieces[0]);

std::vector<std::string> ScreenLines() {
  std::vector<std::string> lines;
  for (int i = 0; i < kLines; ++i) {
    std::string line;
    for (int k = 0; k < 4; ++k) line += kPieces[(i * 5 + k * 7) % kPieceCount];
    lines.push_back(line);
  }
  return lines;
}

// Every character of the screen as GetGlyphOutlineA takes it (a double-
// byte character as lead << 8 | trail); with distinct, each only once, as
// a cold cache rasterises them.
std::vector<UINT> ScreenCodes(bool distinct) {
  std::vector<UINT> codes;
  for (const std::string& line : ScreenLines()) {
    for (std::size_t i = 0; i < line.size(); ++i) {
      UINT code = static_cast<unsigned char>(line[i]);
      if (((code >= 0x81 && code <= 0x9F) || (code >= 0xE0 && code <= 0xFC)) && i + 1 < line.size())
        code = code << 8 | static_cast<unsigned char>(line[++i]);
      if (code != ' ') codes.push_back(code);
    }
  }
  if (distinct) {
    std::sort(codes.begin(), codes.end());
    codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
  }
  return codes;
}


void TextFrames(benchmark::State& state, bool hardware, bool cold) {
  static wqbench::ScratchFolder folder("wq_text_frame_bench");
  SetUseHardwareRenderer(hardware ? 1 : 0);
  SetWaitVSync(0);
  if (StartLibrary() != 0 || SelectDrawTarget(-2) != 0 || SetScreenMode(kScreenWidth, kScreenHeight, 32, 60) != 0 ||
      IsDirect3DRendererInUse() != (hardware ? 1 : 0)) {
    state.SkipWithError("the renderer did not start");
    EndLibrary();
    return;
  }
  const std::vector<std::string> lines = ScreenLines();
  const std::uint32_t white = MakeColor(255, 255, 255);
  auto drawFrame = [&] {
    if (cold) ResetFontCache(GetDefaultFont());
    ClearDrawTarget(nullptr);
    for (int i = 0; i < kLines; ++i) DrawTextFormat(4, 2 + i * kLineHeight, white, "%s", lines[i].c_str());
    PresentScreen();
  };
  drawFrame();  // readies the shaders and, when warm, the cache, outside the timing
  const double cpuStart = wqbench::ProcessCpuSeconds();
  for (auto _ : state) drawFrame();
  wqbench::SetCpuCounter(state, cpuStart);
  EndLibrary();
}

void BM_DeviceWarm(benchmark::State& state) { TextFrames(state, true, false); }
void BM_DeviceCold(benchmark::State& state) { TextFrames(state, true, true); }
void BM_SoftwareWarm(benchmark::State& state) { TextFrames(state, false, false); }
void BM_SoftwareCold(benchmark::State& state) { TextFrames(state, false, true); }

// The glyphs of one screen straight from the platform, in the default
// font's face, size and format (one bit a pixel), as the font cache asks.
void RawGlyphOutlines(benchmark::State& state, bool distinct) {
  const std::vector<UINT> codes = ScreenCodes(distinct);
  HDC dc = CreateCompatibleDC(nullptr);
  HFONT font = CreateFontA(kFontSize, 0, 0, 0, 600, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, NONANTIALIASED_QUALITY,
                           FIXED_PITCH, "ＭＳ ゴシック");
  HGDIOBJ previous = SelectObject(dc, font);
  const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
  std::vector<BYTE> buffer(64 * 64);
  const double cpuStart = wqbench::ProcessCpuSeconds();
  for (auto _ : state) {
    for (UINT code : codes) {
      GLYPHMETRICS gm;
      const DWORD size = GetGlyphOutlineA(dc, code, GGO_BITMAP, &gm, 0, nullptr, &identity);
      if (size == GDI_ERROR || size > buffer.size()) continue;
      GetGlyphOutlineA(dc, code, GGO_BITMAP, &gm, size, buffer.data(), &identity);
      benchmark::DoNotOptimize(buffer.data());
    }
  }
  wqbench::SetCpuCounter(state, cpuStart);
  SelectObject(dc, previous);
  DeleteObject(font);
  DeleteDC(dc);
}

void BM_RawGlyphOutlines(benchmark::State& state) { RawGlyphOutlines(state, false); }
void BM_RawDistinctGlyphOutlines(benchmark::State& state) { RawGlyphOutlines(state, true); }

BENCHMARK(BM_DeviceWarm)->Iterations(kFrames)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DeviceCold)->Iterations(kFrames)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SoftwareWarm)->Iterations(kFrames)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SoftwareCold)->Iterations(kFrames)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RawGlyphOutlines)->Iterations(kFrames)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RawDistinctGlyphOutlines)->Iterations(kFrames)->Unit(benchmark::kMillisecond)->UseRealTime();

std::string RunName(const char* name) { return std::string(name) + "/iterations:" + std::to_string(kFrames) + "/real_time"; }

void PrintLine(const wqbench::SummaryReporter& reporter, const char* label, const char* name) {
  const std::string run = RunName(name);
  const double wall = reporter.SecondsPerIteration(run), cpu = reporter.Counter(run, "process_cpu_s");
  if (wall <= 0) return;
  std::printf("  %-30s %8.1f fps  %9.3f wall ms  %9.3f CPU ms\n", label, 1.0 / wall, wall * 1e3, cpu * 1e3);
}

void PrintRatio(const wqbench::SummaryReporter& reporter, const char* label, const char* ours, const char* peer) {
  const std::string a = RunName(ours), b = RunName(peer);
  const double wallA = reporter.SecondsPerIteration(a), wallB = reporter.SecondsPerIteration(b);
  const double cpuA = reporter.Counter(a, "process_cpu_s"), cpuB = reporter.Counter(b, "process_cpu_s");
  if (wallA > 0 && wallB > 0 && cpuA > 0 && cpuB > 0)
    std::printf("  %-44s wall %6.2f, CPU %6.2f\n", label, wallA / wallB, cpuA / cpuB);
}

void PrintSummary(const wqbench::SummaryReporter& reporter) {
  std::printf("\n%d frames of %d lines of mixed Japanese and ASCII (%zu glyphs a screen, %zu distinct), default "
              "font, no vertical-blank wait:\n",
              kFrames, kLines, ScreenCodes(false).size(), ScreenCodes(true).size());
  PrintLine(reporter, "device, warm cache:", "BM_DeviceWarm");
  PrintLine(reporter, "device, cold cache:", "BM_DeviceCold");
  PrintLine(reporter, "software screen, warm cache:", "BM_SoftwareWarm");
  PrintLine(reporter, "software screen, cold cache:", "BM_SoftwareCold");
  PrintLine(reporter, "raw GetGlyphOutlineA, a screen:", "BM_RawGlyphOutlines");
  PrintLine(reporter, "raw, each distinct glyph once:", "BM_RawDistinctGlyphOutlines");
  PrintRatio(reporter, "device cold / raw distinct glyphs:", "BM_DeviceCold", "BM_RawDistinctGlyphOutlines");
  PrintRatio(reporter, "software cold / raw distinct glyphs:", "BM_SoftwareCold", "BM_RawDistinctGlyphOutlines");
  PrintRatio(reporter, "device cold / device warm:", "BM_DeviceCold", "BM_DeviceWarm");
  PrintRatio(reporter, "software cold / software warm:", "BM_SoftwareCold", "BM_SoftwareWarm");
  PrintRatio(reporter, "software warm / device warm:", "BM_SoftwareWarm", "BM_DeviceWarm");
}

}  // namespace

int main(int argc, char** argv) { return wqbench::RunWithSummary(argc, argv, PrintSummary); }
