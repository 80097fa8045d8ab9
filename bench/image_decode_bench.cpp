// Decoding a 1,024 x 1,024 PNG (RGBA) and JPEG through the loading front,
// beside the libraries' own decoders doing the same decode (libpng's
// simplified API to BGRA, libjpeg's decompressor to BGR rows); and the
// pixel converter's main paths in megapixels per second, with the general
// path on the same conversion for comparison. The summary prints the
// front's time ratio to each peer and the converter's rates.
#include <benchmark/benchmark.h>
#include <png.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

#include <jpeglib.h>

#include "image/image_load.h"
#include "image/pixel_convert.h"
#include "support/summary_reporter.h"

namespace {

constexpr int kSide = 1024;
constexpr int kPixels = kSide * kSide;

// A picture-like RGBA image: smooth gradients with some noise.
std::vector<std::uint8_t> PictureRgba() {
  std::mt19937 random(3);
  std::vector<std::uint8_t> rgba(static_cast<std::size_t>(kPixels) * 4);
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      std::uint8_t* p = &rgba[(static_cast<std::size_t>(y) * kSide + x) * 4];
      int noise = static_cast<int>(random() % 16);
      p[0] = static_cast<std::uint8_t>((x / 4 + noise) & 255);
      p[1] = static_cast<std::uint8_t>((y / 4 + noise) & 255);
      p[2] = static_cast<std::uint8_t>(128 + 100 * std::sin((x + y) / 60.0));
      p[3] = static_cast<std::uint8_t>(x < kSide / 2 ? 255 : (y & 255));
    }
  }
  return rgba;
}

std::vector<std::uint8_t> EncodePng() {
  std::vector<std::uint8_t> rgba = PictureRgba();
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = kSide;
  image.height = kSide;
  image.format = PNG_FORMAT_RGBA;
  png_alloc_size_t size = 0;
  png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr);
  std::vector<std::uint8_t> png(size);
  png_image_write_to_memory(&image, png.data(), &size, 0, rgba.data(), 0, nullptr);
  png.resize(size);
  return png;
}

std::vector<std::uint8_t> EncodeJpeg() {
  std::vector<std::uint8_t> rgba = PictureRgba();
  std::vector<std::uint8_t> rgb;
  for (std::size_t i = 0; i < rgba.size(); i += 4) rgb.insert(rgb.end(), &rgba[i], &rgba[i] + 3);
  jpeg_compress_struct compressor{};
  jpeg_error_mgr errors{};
  compressor.err = jpeg_std_error(&errors);
  jpeg_create_compress(&compressor);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&compressor, &out, &size);
  compressor.image_width = kSide;
  compressor.image_height = kSide;
  compressor.input_components = 3;
  compressor.in_color_space = JCS_RGB;
  jpeg_set_defaults(&compressor);
  jpeg_set_quality(&compressor, 90, TRUE);
  jpeg_start_compress(&compressor, TRUE);
  while (compressor.next_scanline < compressor.image_height) {
    JSAMPROW row = &rgb[static_cast<std::size_t>(compressor.next_scanline) * kSide * 3];
    jpeg_write_scanlines(&compressor, &row, 1);
  }
  jpeg_finish_compress(&compressor);
  std::vector<std::uint8_t> jpeg(out, out + size);
  jpeg_destroy_compress(&compressor);
  free(out);
  return jpeg;
}

const std::vector<std::uint8_t>& PngFile() {
  static const std::vector<std::uint8_t> file = EncodePng();
  return file;
}
const std::vector<std::uint8_t>& JpegFile() {
  static const std::vector<std::uint8_t> file = EncodeJpeg();
  return file;
}

void LoadThroughFront(benchmark::State& state, const std::vector<std::uint8_t>& file) {
  for (auto _ : state) {
    BaseImage image{};
    if (LoadBaseImage(nullptr, file.data(), static_cast<int>(file.size()), 1, &image, 0) != 0) {
      state.SkipWithError("the front refused the file");
      return;
    }
    benchmark::DoNotOptimize(image.pixels);
    ReleaseBaseImage(&image);
  }
}

void BM_PngThroughLoadingFront(benchmark::State& state) { LoadThroughFront(state, PngFile()); }
void BM_JpegThroughLoadingFront(benchmark::State& state) { LoadThroughFront(state, JpegFile()); }

void BM_PngSimplifiedApi(benchmark::State& state) {
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(kPixels) * 4);
  for (auto _ : state) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    png_image_begin_read_from_memory(&image, PngFile().data(), PngFile().size());
    image.format = PNG_FORMAT_BGRA;
    png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr);
    benchmark::DoNotOptimize(pixels.data());
  }
}

void BM_JpegPlainDecompressor(benchmark::State& state) {
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(kPixels) * 3);
  for (auto _ : state) {
    jpeg_decompress_struct decompressor{};
    jpeg_error_mgr errors{};
    decompressor.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&decompressor);
    jpeg_mem_src(&decompressor, JpegFile().data(), JpegFile().size());
    jpeg_read_header(&decompressor, TRUE);
    decompressor.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&decompressor);
    while (decompressor.output_scanline < decompressor.output_height) {
      JSAMPROW row = &pixels[static_cast<std::size_t>(decompressor.output_scanline) * kSide * 3];
      jpeg_read_scanlines(&decompressor, &row, 1);
    }
    jpeg_finish_decompress(&decompressor);
    jpeg_destroy_decompress(&decompressor);
    benchmark::DoNotOptimize(pixels.data());
  }
}

// ---- the pixel converter ----

enum Conversion { kXrgbTo565, kRgb24ToXrgb, kPal8ToArgb, kXrgbToArgbSkippingKey, kXrgbToArgbKeyToAlpha, k565ToArgb };

ColorFormat FormatOf(int which) {
  ColorFormat format{};
  switch (which) {
    case 0:
      MakeColorFormatXrgb32(&format);
      break;
    case 1:
      MakeColorFormatArgb32(&format);
      break;
    case 2:
      MakeColorFormatRgb24(&format);
      break;
    case 3:
      MakeColorFormatGrey8(&format);
      break;
    default:
      MakeColorFormatFromMasks(&format, 16, 0xF800, 0x7E0, 0x1F, 0);
      break;
  }
  return format;
}

void ConvertImage(benchmark::State& state) {
  struct Setup {
    int from, to, skipKey, keyToAlpha;
  };
  static const Setup setups[] = {{0, 4, 0, 0}, {2, 0, 0, 0}, {3, 1, 0, 0}, {0, 1, 1, 0}, {0, 1, 0, 1}, {4, 1, 0, 0}};
  const Setup& setup = setups[state.range(0)];
  SetPixelConvertFastPaths(static_cast<int>(state.range(1)));
  ColorFormat from = FormatOf(setup.from), to = FormatOf(setup.to);
  std::mt19937 random(1);
  std::vector<std::uint8_t> source(static_cast<std::size_t>(kPixels) * 4), destination(source.size());
  for (auto& b : source) b = static_cast<std::uint8_t>(random());
  RECT whole{0, 0, kSide, kSide};
  for (auto _ : state) {
    ConvertPixelRect(destination.data(), kSide * to.bytesPerPixel, &to, source.data(), kSide * from.bytesPerPixel,
                     &from, nullptr, 0, nullptr, 0, 0, &whole, 0, setup.keyToAlpha, 0x00FF00FF, 0, 0, 0, setup.skipKey,
                     0);
    benchmark::DoNotOptimize(destination.data());
  }
  SetPixelConvertFastPaths(1);
}

BENCHMARK(BM_PngThroughLoadingFront)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngSimplifiedApi)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JpegThroughLoadingFront)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JpegPlainDecompressor)->Unit(benchmark::kMillisecond);
BENCHMARK(ConvertImage)
    ->ArgNames({"path", "fast"})
    ->ArgsProduct({{kXrgbTo565, kRgb24ToXrgb, kPal8ToArgb, kXrgbToArgbSkippingKey, kXrgbToArgbKeyToAlpha, k565ToArgb},
                   {1, 0}})
    ->Unit(benchmark::kMillisecond);

void PrintSummary(const wqbench::SummaryReporter& reporter) {
  std::printf("\nDecoding %d x %d (wall-time ratio of the loading front to the library's own decode):\n", kSide, kSide);
  const char* pairs[][2] = {{"BM_PngThroughLoadingFront", "BM_PngSimplifiedApi"},
                            {"BM_JpegThroughLoadingFront", "BM_JpegPlainDecompressor"}};
  for (const auto& pair : pairs) {
    double front = reporter.SecondsPerIteration(pair[0]), peer = reporter.SecondsPerIteration(pair[1]);
    if (front > 0 && peer > 0) {
      std::printf("  %-24s %.1f ms   %-22s %.1f ms   ratio %.2fx\n", pair[0] + 3, front * 1e3, pair[1] + 3, peer * 1e3,
                  front / peer);
    }
  }
  std::printf("ConvertPixelRect, megapixels per second (optimised path / general path):\n");
  const char* names[] = {"X8R8G8B8 to R5G6B5",
                         "R8G8B8 to X8R8G8B8",
                         "8-bit palette to A8R8G8B8",
                         "X8R8G8B8 to A8R8G8B8 skipping a key",
                         "X8R8G8B8 to A8R8G8B8 key to alpha",
                         "R5G6B5 to A8R8G8B8"};
  for (int path = 0; path < 6; ++path) {
    double rates[2] = {};
    for (int fast = 0; fast < 2; ++fast) {
      double seconds =
          reporter.SecondsPerIteration("ConvertImage/path:" + std::to_string(path) + "/fast:" + std::to_string(fast));
      rates[fast] = seconds > 0 ? kPixels / 1e6 / seconds : 0;
    }
    std::printf("  %-38s %8.0f / %6.0f MP/s\n", names[path], rates[1], rates[0]);
  }
}

}  // namespace

int main(int argc, char** argv) { return wqbench::RunWithSummary(argc, argv, PrintSummary); }
