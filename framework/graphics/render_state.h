// The drawing state every draw obeys: the draw target's software image, the
// draw area, blend mode and parameter, brightness tint, blend graph, filter
// mode and transparent colour. The software kernels, fonts and the mask
// read these globals directly; the setters validate, clamp and store them.
#pragma once

#include <cstdint>

#include "image/memimg.h"
#include "platform/windows.h"

// Blend-mode numbers.
inline constexpr std::uint32_t kBlendNone = 0;
inline constexpr std::uint32_t kBlendAlpha = 1;
inline constexpr std::uint32_t kBlendAdd = 2;
inline constexpr std::uint32_t kBlendSubtract = 3;
inline constexpr std::uint32_t kBlendMultiply = 4;
inline constexpr std::uint32_t kBlendAddForSubtractEmulation = 5;
inline constexpr std::uint32_t kBlendKeepDestination = 8;
inline constexpr std::uint32_t kBlendInvert = 9;
inline constexpr std::uint32_t kBlendAlphaVariant2 = 10;
inline constexpr std::uint32_t kBlendMultiplyVariant1 = 11;
inline constexpr std::uint32_t kBlendAlphaVariant3 = 12;
inline constexpr std::uint32_t kBlendAddVariant3 = 13;
inline constexpr std::uint32_t kBlendSubtractAlways = 14;
inline constexpr int kBlendModeCount = 15;

inline constexpr std::uint32_t kDrawBrightWhite = 0xFFFFFF;

extern MEMIMG* DrawTargetMemImg;
extern MEMIMG* BlendMemImg;  // one byte per pixel, or null
extern RECT DrawArea;        // right and bottom exclusive
extern float DrawAreaF[4];
extern int DrawAreaEmpty;
extern RECT DrawAreaRequest;  // as last passed to SetDrawArea
extern int DrawTargetSize[2];
extern std::uint32_t BlendMode;   // stored unvalidated
extern std::uint32_t BlendParam;  // 0..255
extern std::uint32_t DrawBright;  // 0x00RRGGBB
extern int BlendGraph;            // graph handle or -1
extern std::uint32_t BlendBorderParam;
extern std::uint32_t BlendBorderRange;
extern float BlendTextureSize[4];  // width, height, 1/width, 1/height
extern std::uint32_t DrawMode;     // 0 point, 1 bilinear, 2 anisotropic
extern int NoBlendUsesParamAlpha;
extern int DrawSuspended;
extern std::uint32_t TransparentColor;
extern int UseTransparentColor;
extern int TransparentFromTopLeft;

// The fog of 3D draws: mode 0 none, 1 exponential, 2 exponential squared,
// 3 linear; colour 0xFFRRGGBB.
struct FogSettings {
  std::uint32_t mode;
  std::uint32_t color;
  float start;
  float end;
};
extern FogSettings Fog;
// Mask drawing as asked for, and whether it is in effect (it needs the mask
// screen to exist too).
extern int MaskScreenRequested;
extern int MaskScreenEffective;

// 0xAARRGGBB of batched vertices: the brightness, and the blend parameter
// as alpha while blending (255 without).
std::uint32_t GetDrawVertexColor();

// Zeroes the state and sets its initial values for a draw target of the
// given size; DrawSuspended keeps its value.
void ResetRenderState(MEMIMG* drawTarget, int targetWidth, int targetHeight);
