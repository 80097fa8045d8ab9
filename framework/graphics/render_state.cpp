// The render-state globals and their initial values.
#include "graphics/render_state.h"

MEMIMG* DrawTargetMemImg;
MEMIMG* BlendMemImg;
RECT DrawArea;
float DrawAreaF[4];
int DrawAreaEmpty;
RECT DrawAreaRequest;
int DrawTargetSize[2];
std::uint32_t BlendMode;
std::uint32_t BlendParam;
std::uint32_t DrawBright;
int BlendGraph;
std::uint32_t BlendBorderParam;
std::uint32_t BlendBorderRange;
float BlendTextureSize[4];
std::uint32_t DrawMode;
int NoBlendUsesParamAlpha;
int DrawSuspended;
std::uint32_t TransparentColor;
int UseTransparentColor;
int TransparentFromTopLeft;
FogSettings Fog;
int MaskScreenRequested;
int MaskScreenEffective;

void ResetRenderState(MEMIMG* drawTarget, int targetWidth, int targetHeight) {
  DrawTargetMemImg = drawTarget;
  BlendMemImg = nullptr;
  DrawArea = RECT{0, 0, targetWidth, targetHeight};
  DrawAreaF[0] = 0.0f;
  DrawAreaF[1] = 0.0f;
  DrawAreaF[2] = static_cast<float>(targetWidth);
  DrawAreaF[3] = static_cast<float>(targetHeight);
  DrawAreaEmpty = 0;
  DrawAreaRequest = DrawArea;
  DrawTargetSize[0] = targetWidth;
  DrawTargetSize[1] = targetHeight;
  BlendMode = kBlendNone;
  BlendParam = 0;
  DrawBright = kDrawBrightWhite;
  BlendGraph = -1;
  BlendBorderParam = 0;
  BlendBorderRange = 0;
  for (float& value : BlendTextureSize) value = 0.0f;
  DrawMode = 0;
  NoBlendUsesParamAlpha = 0;
  TransparentColor = 0;
  UseTransparentColor = 1;
  TransparentFromTopLeft = 0;
  Fog = FogSettings{3, 0xFFFFFFFFu, 0.0f, 1500.0f};
  // Requested from the start, so that mask drawing comes on as soon as a
  // mask screen is made.
  MaskScreenRequested = 1;
  MaskScreenEffective = 0;
}
