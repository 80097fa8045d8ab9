// Model textures: the builder that turns a material's file images into
// texture pictures (normal maps from height maps, power-of-two sides, a
// half turn), and the restore of every model graph after a device rebuild.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "graphics/graphics_state.h"
#include "graphics/model_runtime.h"
#include "graphics/render_state.h"

namespace {

// The built-in pictures, run-length TGA files (type 10) from top to bottom:
// an 8 x 8 opaque white for materials without a texture, and a 256 x 8
// two-step shading ramp (dark half, light half).
constexpr std::uint8_t kWhiteTga[] = {
    0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 8, 0, 8, 0, 32, 0x28,
    0x87, 255, 255, 255, 255, 0x87, 255, 255, 255, 255, 0x87, 255, 255, 255, 255, 0x87, 255, 255, 255, 255,
    0x87, 255, 255, 255, 255, 0x87, 255, 255, 255, 255, 0x87, 255, 255, 255, 255, 0x87, 255, 255, 255, 255};
constexpr std::uint8_t kRampTga[] = {
    0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 8, 0, 24, 0x20,
    0xFF, 128, 128, 128, 0xFF, 255, 255, 255, 0xFF, 128, 128, 128, 0xFF, 255, 255, 255,
    0xFF, 128, 128, 128, 0xFF, 255, 255, 255, 0xFF, 128, 128, 128, 0xFF, 255, 255, 255,
    0xFF, 128, 128, 128, 0xFF, 255, 255, 255, 0xFF, 128, 128, 128, 0xFF, 255, 255, 255,
    0xFF, 128, 128, 128, 0xFF, 255, 255, 255, 0xFF, 128, 128, 128, 0xFF, 255, 255, 255};

int NextPowerOfTwo(int size, int limit) {
  int power = 1;
  while (power < size) power *= 2;
  return std::max(1, std::min(power, limit));
}

std::uint8_t* PixelAt(BaseImage* image, int x, int y) {
  return static_cast<std::uint8_t*>(image->pixels) + static_cast<std::size_t>(y) * image->pitch + x * 4;
}

// The height map's red channel as a normal map, neighbours wrapping at the
// right and bottom edges; 0 or -1.
int HeightToNormals(BaseImage* color, float scale) {
  BaseImage heights{}, normals{};
  if (CreateArgbBaseImage(color->width, color->height, &heights) != 0) return -1;
  CopyBaseImageRect(0, 0, color->width, color->height, 0, 0, color, &heights);
  if (CreateArgbBaseImage(color->width, color->height, &normals) != 0) {
    ReleaseBaseImage(&heights);
    return -1;
  }
  const float s = std::max(scale, 0.000001f);
  const auto height = [&](int x, int y) { return static_cast<float>(PixelAt(&heights, x, y)[2]); };
  for (int y = 0; y < color->height; ++y) {
    for (int x = 0; x < color->width; ++x) {
      const float dx = (height((x + 1) % color->width, y) - height(x, y)) / 255.0f;
      const float dy = (height(x, (y + 1) % color->height) - height(x, y)) / 255.0f;
      // (s, 0, dX) x (0, s, dY), normalised.
      float n[3] = {-s * dx, -s * dy, s * s};
      const float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
      std::uint8_t* out = PixelAt(&normals, x, y);
      for (int c = 0; c < 3; ++c) out[2 - c] = static_cast<std::uint8_t>((n[c] / length + 1.0f) * 127.5f);
      out[3] = 0;
    }
  }
  ReleaseBaseImage(&heights);
  ReleaseBaseImage(color);
  *color = normals;
  return 0;
}

// Nearest-pixel scaling to power-of-two sides within the limits; 0 or -1.
int ScaleToPowersOfTwo(BaseImage* image) {
  const int width = NextPowerOfTwo(image->width, std::max(1, Graphics().maxTextureWidth / 2));
  const int height = NextPowerOfTwo(image->height, std::max(1, Graphics().maxTextureHeight / 2));
  if (width == image->width && height == image->height) return 0;
  BaseImage scaled{};
  if (CreateBaseImageSameFormat(width, height, &image->format, &scaled) != 0) return -1;
  StretchBaseImageRect(0, 0, image->width, image->height, image, 0, 0, width, height, &scaled, 0);
  ReleaseBaseImage(image);
  *image = scaled;
  return 0;
}

// A white 32-bit image of the size.
int WhiteImage(int width, int height, BaseImage* image) {
  if (CreateArgbBaseImage(width, height, image) != 0) return -1;
  std::memset(image->pixels, 0xFF, static_cast<std::size_t>(image->pitch) * height);
  return 0;
}

// Puts the picture (and its alpha image) into the graph; nothing for a
// graph that does not exist.
void PutIntoGraph(int graph, BaseImage* image, BaseImage* alpha) {
  SetGraphImage(nullptr, nullptr, nullptr, nullptr, nullptr, 0, image, alpha, 0, 0, graph, 0);
}

void RestoreStoredImage(int graph, const std::uint8_t* file, int size) {
  BaseImage image{};
  if (LoadBaseImage(nullptr, file, size, 1, &image, 0) != 0) return;
  PutIntoGraph(graph, &image, nullptr);
  ReleaseBaseImage(&image);
}

void RestoreGreyRamp(int graph) {
  BaseImage ramp{};
  if (CreateArgbBaseImage(256, 8, &ramp) != 0) return;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 256; ++x) SetBaseImagePixel(&ramp, x, y, x, x, x, 255);
  PutIntoGraph(graph, &ramp, nullptr);
  ReleaseBaseImage(&ramp);
}

void RestoreMaterial(const ModelMaterial& material) {
  if (material.textureGraph == -1) return;
  BaseImage color{}, alpha{};
  int hasAlpha = 0;
  if (BuildModelTexture(material.colorFile, material.colorFileSize, material.alphaFile, material.alphaFileSize,
                        material.bump, material.bumpScale, material.turn, &color, &alpha, &hasAlpha) != 0)
    return;
  PutIntoGraph(material.textureGraph, &color, hasAlpha ? &alpha : nullptr);
  ReleaseBaseImage(&color);
  if (hasAlpha) ReleaseBaseImage(&alpha);
}

}  // namespace

int BuildModelTexture(const void* colorFile, int colorSize, const void* alphaFile, int alphaSize, int bump,
                      float bumpScale, int turn, BaseImage* color, BaseImage* alpha, int* hasAlpha) {
  *color = BaseImage{};
  *alpha = BaseImage{};
  *hasAlpha = 0;
  if (alphaFile != nullptr) {
    if (LoadBaseImage(nullptr, alphaFile, alphaSize, 1, alpha, 0) != 0) return -1;
    *hasAlpha = 1;
  }
  const int loaded = colorFile != nullptr ? LoadBaseImage(nullptr, colorFile, colorSize, 1, color, 0)
                     : *hasAlpha          ? WhiteImage(alpha->width, alpha->height, color)
                                          : -1;
  int result = loaded;
  if (result == 0 && bump) result = HeightToNormals(color, bumpScale);
  if (result == 0) result = ScaleToPowersOfTwo(color);
  if (result == 0 && *hasAlpha) result = ScaleToPowersOfTwo(alpha);
  if (result == 0 && turn) {
    RotateBaseImage180(color);
    if (*hasAlpha) RotateBaseImage180(alpha);
  }
  if (result != 0) {
    ReleaseBaseImage(color);
    ReleaseBaseImage(alpha);
    *hasAlpha = 0;
    return -1;
  }
  return 0;
}

void RestoreModelSystemGraphs() {
  ModelSystemState& models = ModelSystem();
  if (!models.initialised) return;
  // Model textures carry their own alpha: no colour key while they load.
  const int keyed = UseTransparentColor;
  UseTransparentColor = 0;
  RestoreStoredImage(models.builtInGraphs[0], kWhiteTga, sizeof(kWhiteTga));
  RestoreStoredImage(models.builtInGraphs[1], kRampTga, sizeof(kRampTga));
  RestoreGreyRamp(models.builtInGraphs[2]);
  ForEachModelRecord(models.bases, [](ModelBase* base) {
    for (int i = 0; i < base->materialCount; ++i) RestoreMaterial(base->materials[i]);
  });
  ForEachModelRecord(models.instances, [](ModelInstance* instance) {
    if (instance->materialOverrides == nullptr || instance->base == nullptr) return;
    for (int i = 0; i < instance->base->materialCount; ++i) RestoreMaterial(instance->materialOverrides[i]);
  });
  UseTransparentColor = keyed;
}
