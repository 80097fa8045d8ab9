// Builds the guarded, randomly filled images of the blit tests.
#include "blit_scene.h"

#include <gtest/gtest.h>

#include <cstring>

#include "image/blend_tables.h"

namespace blit_test {

GuardedImage::~GuardedImage() {
  if (!created_) return;
  ReleaseMemImg(&view_);
  ReleaseMemImg(&whole_);
}

void GuardedImage::Create(int width, int height, int border, int colorType, int palette, int alpha, int extraPlanes) {
  ASSERT_FALSE(created_);
  ASSERT_EQ(CreateMemImg(&whole_, width + 2 * border, height + 2 * border, -1, 0, colorType, palette, alpha,
                         extraPlanes, nullptr),
            0);
  MakeMemImgView(&view_, &whole_, border, border, width, height);
  ASSERT_EQ(IsMemImgInUse(&view_), 1);
  created_ = true;
}

std::vector<std::uint8_t> GuardedImage::Bytes() const {
  const std::uint8_t* start = whole_.data->pixelBuffer;
  return std::vector<std::uint8_t>(start, start + static_cast<std::size_t>(whole_.data->pitch) * whole_.height);
}

void GuardedImage::SetBytes(const std::vector<std::uint8_t>& bytes) {
  std::memcpy(whole_.data->pixelBuffer, bytes.data(), bytes.size());
}

std::uint8_t* GuardedImage::Pixel(int x, int y) {
  return view_.pixels + static_cast<std::ptrdiff_t>(y) * view_.data->pitch + x * BytesPerPixel();
}

std::uint8_t RandomAlpha(std::mt19937& random) {
  static constexpr std::uint8_t kSensitive[] = {0, 1, 127, 128, 254, 255};
  if (random() % 3 != 0) return kSensitive[random() % 6];
  return static_cast<std::uint8_t>(random());
}

void FillRandom(GuardedImage& image, std::mt19937& random) {
  MemImgData* data = image.Data();
  std::vector<std::uint8_t> bytes = image.Bytes();
  for (std::uint8_t& byte : bytes) byte = static_cast<std::uint8_t>(random());  // poison around the view
  image.SetBytes(bytes);

  const int bytesPerPixel = image.BytesPerPixel();
  std::uint32_t colours[5];
  for (std::uint32_t& colour : colours) colour = random();
  colours[0] = 0;
  colours[1] = 0xFFFFFFFF;
  for (int y = 0; y < image.View()->height; ++y)
    for (int x = 0; x < image.View()->width; ++x) {
      std::uint32_t value = random() % 2 ? colours[random() % 5] : static_cast<std::uint32_t>(random());
      if (data->paletteFlag) value %= 8;  // few indices, so that the key occurs
      if (data->alphaFlag) {
        std::uint8_t bytesOut[4];
        std::memcpy(bytesOut, &value, 4);
        bytesOut[data->colorType == kMemImgRgb565 ? 2 : 3] = RandomAlpha(random);
        std::memcpy(&value, bytesOut, 4);
      }
      std::memcpy(image.Pixel(x, y), &value, bytesPerPixel);
    }
  if (data->paletteFlag) {
    for (int i = 0; i < 1024; ++i) data->palette[i] = static_cast<std::uint8_t>(random());
    const int entryBytes = data->colorType == kMemImgRgb565 ? 2 : 4;
    std::memcpy(data->palette + entryBytes * (random() % 8), data->palette + entryBytes * (random() % 8),
                entryBytes);  // a duplicate entry
    data->paletteCount = 256;
  }
  std::uint32_t key = 0;
  std::memcpy(&key, image.Pixel(static_cast<int>(random() % image.View()->width),
                                static_cast<int>(random() % image.View()->height)),
              data->paletteFlag ? 1 : (data->colorType == kMemImgRgb565 ? 2 : 4));
  data->transparentColor = key;
}

std::string FirstDifference(const std::vector<std::uint8_t>& got, const std::vector<std::uint8_t>& want,
                            const std::vector<std::uint8_t>& before, int pitch) {
  for (std::size_t i = 0; i < want.size(); ++i)
    if (got[i] != want[i])
      return "byte " + std::to_string(i) + " (pitch " + std::to_string(pitch) + "): got " + std::to_string(got[i]) +
             ", want " + std::to_string(want[i]) + "; was " + std::to_string(before[i]);
  return {};
}

void ExpectEveryCombinationMatches(std::span<const std::uint32_t> params, int scenes, const SceneFn& drawScene) {
  int failures = 0;
  for (std::uint32_t mode = 0; mode < 16; ++mode)
    for (int selectors = 0; selectors < 8; ++selectors)
      for (std::uint32_t param : params)
        for (int scene = 0; scene < scenes; ++scene) {
          const bool blend = selectors & 1, tint = selectors & 2, transparent = selectors & 4;
          const std::string difference = drawScene(mode, blend, tint, transparent, scene, param);
          if (difference.empty()) continue;
          ADD_FAILURE() << "mode " << mode << " blend " << blend << " tint " << tint << " transparent "
                        << transparent << " param " << param << ": " << difference;
          if (++failures == 10) return;
        }
}

void MakeRandomScene(RandomScene& scene, const SourceFormat& format, int blendSpare, std::mt19937& random) {
  const auto between = [&](int low, int high) { return low + static_cast<int>(random() % (high - low + 1)); };
  scene.dst.Create(between(8, 24), between(6, 20), 2, format.colorType, 0, 0);
  const int width = between(1, 12), height = between(1, 9);
  scene.src.Create(width, height, 2, format.colorType, format.palette, format.alpha);
  scene.blend.Create(width + between(0, blendSpare), height + between(0, blendSpare), 2, kMemImgChannel8, 0, 0);
  FillRandom(scene.dst, random);
  FillRandom(scene.src, random);
  FillRandom(scene.blend, random);
  ResetDrawState(scene.dst.View());
  BuildBlendImageTable(between(0, 255), between(0, 255));
}

void PickRandomDrawArea(const MEMIMG* target, std::mt19937& random) {
  const auto between = [&](int low, int high) { return low + static_cast<int>(random() % (high - low + 1)); };
  DrawArea.left = between(0, target->width - 1);
  DrawArea.top = between(0, target->height - 1);
  DrawArea.right = between(DrawArea.left, target->width);
  DrawArea.bottom = between(DrawArea.top, target->height);
}

void ResetDrawState(MEMIMG* target) {
  static const int tablesBuilt = BuildBlendTables();
  (void)tablesBuilt;
  BuildBlendImageTable(0, 0);
  ResetRenderState(target, target->width, target->height);
}

}  // namespace blit_test
