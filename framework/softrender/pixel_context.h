// The values every pixel operation reads, taken from the renderer state and
// the blend tables once per kernel call.
#pragma once

#include <cstdint>

struct MEMIMG;

struct PixelContext {
  std::uint32_t param;            // BlendParam
  const std::uint32_t* paramRow;  // BlendMulTable row of the parameter
  const std::int32_t* paramDiff;  // BlendDiffTable row of the parameter, at difference 0
  const std::uint8_t* paramMix6;  // BlendMul6Table slice of the parameter / 4
  const std::uint32_t* tintBlue;  // BlendMulTable rows of the DrawBright bytes
  const std::uint32_t* tintGreen;
  const std::uint32_t* tintRed;
  const std::uint8_t* palette;  // the source's palette (palettised sources)
  std::uint32_t key;            // the source's transparent colour
  bool tint;                    // DrawBright is not white
};

// Fills the context from BlendParam, DrawBright and the source image (null
// for the colour kernels, which have no palette or transparent colour).
PixelContext MakePixelContext(const MEMIMG* source);
