// Test images for the blit tests: a view inside a larger image whose border
// holds poison, random contents with the values the arithmetic is sensitive
// to, and the renderer state a draw reads.
#pragma once

#include <cstdint>
#include <functional>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "graphics/render_state.h"
#include "image/memimg.h"

namespace blit_test {

// An image and a view of it inset by `border` pixels on every side.
class GuardedImage {
 public:
  GuardedImage() = default;
  GuardedImage(const GuardedImage&) = delete;
  GuardedImage& operator=(const GuardedImage&) = delete;
  ~GuardedImage();

  // extraPlanes makes the run-length stream (then border must be 0).
  void Create(int width, int height, int border, int colorType, int palette, int alpha, int extraPlanes = 0);
  MEMIMG* View() { return &view_; }
  const MEMIMG* View() const { return &view_; }
  MemImgData* Data() { return view_.data; }
  // Every byte of the whole image, border and row padding included.
  std::vector<std::uint8_t> Bytes() const;
  void SetBytes(const std::vector<std::uint8_t>& bytes);
  std::uint8_t* Pixel(int x, int y);  // in view coordinates
  std::size_t Offset(int x, int y) { return static_cast<std::size_t>(Pixel(x, y) - whole_.data->pixelBuffer); }
  int BytesPerPixel() const { return MemImgBytesPerPixel(&view_); }
  // Rebuilds the run-length stream and premultiplied plane after the test
  // wrote the view's pixels, as a load of the whole view does.
  void RefreshPlanes() { RefreshMemImgPlanes(&view_, view_.width, view_.height); }

 private:
  MEMIMG whole_{};
  MEMIMG view_{};
  bool created_ = false;
};

// Alpha bytes biased to the values where the rules change.
std::uint8_t RandomAlpha(std::mt19937& random);

// Fills the view with random pixels drawn from a few colours (so that the
// transparent colour occurs) with biased alphas, the border with poison,
// the palette (with duplicate entries) and picks a transparent colour that
// occurs in the view.
void FillRandom(GuardedImage& image, std::mt19937& random);

// The source formats every kernel is checked with.
struct SourceFormat {
  const char* name;
  int colorType;
  int palette;
  int alpha;
};
inline constexpr SourceFormat kSourceFormats[] = {
    {"Rgb32", kMemImgRgb32, 0, 0},   {"Rgb32Alpha", kMemImgRgb32, 0, 1},   {"Rgb32Palette", kMemImgRgb32, 1, 0},
    {"Rgb565", kMemImgRgb565, 0, 0}, {"Rgb565Alpha", kMemImgRgb565, 0, 1}, {"Rgb565Palette", kMemImgRgb565, 1, 0},
};

// Where a kernel's bytes first differ from the reference's, or an empty
// string when they agree.
std::string FirstDifference(const std::vector<std::uint8_t>& got, const std::vector<std::uint8_t>& want,
                            const std::vector<std::uint8_t>& before, int pitch);

// Draws `scenes` scenes for every blend mode 0 to 15, combination of blend
// image, tint and transparent flag, and parameter; each returns its
// difference from the reference. The first ten differences are reported.
using SceneFn = std::function<std::string(std::uint32_t mode, bool blend, bool tint, bool transparent, int scene,
                                          std::uint32_t param)>;
void ExpectEveryCombinationMatches(std::span<const std::uint32_t> params, int scenes, const SceneFn& drawScene);

// A random scene: a destination of 8 to 24 by 6 to 20 pixels, a source of
// the format of 1 to 12 by 1 to 9 pixels and a blend image covering it (by
// up to `blendSpare` pixels more each way), all filled by FillRandom, with
// the render state reset to the destination and a random blend table.
struct RandomScene {
  GuardedImage dst, src, blend;
};
void MakeRandomScene(RandomScene& scene, const SourceFormat& format, int blendSpare, std::mt19937& random);

// Sets DrawArea to a random rectangle inside the target, possibly empty.
void PickRandomDrawArea(const MEMIMG* target, std::mt19937& random);

// Sets the render state to defaults for a destination of the given size and
// builds the tables.
void ResetDrawState(MEMIMG* target);

}  // namespace blit_test
