// Test images for the blit tests: a view inside a larger image whose border
// holds poison, random contents with the values the arithmetic is sensitive
// to, and the renderer state a draw reads.
#pragma once

#include <cstdint>
#include <random>
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

// The first byte where got differs from want (before: the bytes before the
// draw), described for a failure message; empty when they agree.
std::string FirstDifference(const std::vector<std::uint8_t>& got, const std::vector<std::uint8_t>& want,
                            const std::vector<std::uint8_t>& before, int pitch);

// Sets the render state to defaults for a destination of the given size and
// builds the tables.
void ResetDrawState(MEMIMG* target);

}  // namespace blit_test
