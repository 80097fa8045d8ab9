// The shader pack: compiled vertex and pixel shader variants shipped inside
// the program as one packed archive image, unpacked and indexed once, and
// turned into shader objects at each device start when the device supports
// shader model 2.0.
#pragma once

#include <cstdint>

#include "platform/d3d9.h"

inline constexpr int kVertexShaderRecords = 16384;
inline constexpr int kPixelShaderRecords = 6912;
inline constexpr int kShaderSlots = 6;
inline constexpr std::uint32_t kShaderPackCodeOffset = (kVertexShaderRecords + kPixelShaderRecords) * kShaderSlots * 2;

// 1 when the pack is loaded and indexed; 0 when it is missing, damaged or
// an allocation failed (nothing of it is kept then).
int LoadShaderPack();
int CreateShadersFromPack();
int ReleasePackShaders();
// Frees the unpacked pack (graphics shutdown).
void CloseShaderPack();
int UseProgrammableShader();
// The framework's first vertex and pixel shader registers: its built-in
// constants.
void SetDefaultShaderConstants();
// The code of one variant, null for an absent slot or without a pack.
const std::uint8_t* GetVertexShaderCode(int record, int slot);
const std::uint8_t* GetPixelShaderCode(int record, int slot);
D_IDirect3DVertexShader9* GetVertexShaderObject(int record, int slot);
D_IDirect3DPixelShader9* GetPixelShaderObject(int record, int slot);
// The packed block the next load reads (the program's own by default).
void SetShaderPackBlock(const void* block, std::uint32_t size);
