// The cached device setters: every piece of Direct3D state the framework
// sets goes through one of these, which keeps a copy of the last value sent
// and does nothing when the value is unchanged. A setter that will change
// the device first draws the pending vertex batch, so batched vertices are
// drawn under the state they were batched with. While the resend flag is
// set every setter sends, which re-applies the state to a new device.
#pragma once

#include <cstdint>

#include "core/base/math_utils.h"
#include "platform/d3d9.h"

inline constexpr int kTextureStages = 8;
inline constexpr int kTransformStages = 4;
inline constexpr int kVertexConstantRegisters = 256;
inline constexpr int kPixelConstantRegisters = 32;

// Filter kinds of the draw mode; kFilterUnset matches no draw mode, so the
// next filter set-up always sends.
inline constexpr int kFilterPoint = 0;
inline constexpr int kFilterLinear = 1;
inline constexpr int kFilterAnisotropic = 2;
inline constexpr int kFilterUnset = 3;

// The render states the blend set-up owns, in the order of its tables.
enum BlendRenderState {
  kRenderAlphaFunc,
  kRenderAlphaRef,
  kRenderAlphaTestEnable,
  kRenderAlphaBlendEnable,
  kRenderTextureFactor,
  kRenderSrcBlend,
  kRenderDestBlend,
  kRenderBlendOp,
  kBlendRenderStates
};
// The texture-stage operations the blend set-up owns.
enum StageOpState { kStageColorOp, kStageColorArg1, kStageColorArg2, kStageAlphaOp, kStageAlphaArg1, kStageAlphaArg2, kStageOpStates };
inline constexpr DWORD kUnsentState = 0xFFFFFFFFu;  // no stage value is this

struct DeviceStateCache {
  int lighting;
  int texCoordIndex[kTextureStages];
  int filterKind;
  DWORD filter[kTextureStages][3];  // mag, min, mip
  DWORD maxAnisotropy[kTextureStages];
  DWORD address[kTextureStages][3];  // U, V, W
  int samplerStagesInUse;

  int zEnable;
  DWORD zWrite;
  DWORD zFunc;
  DWORD depthBias;
  DWORD fillMode;
  int cullMode;  // the argument: 0 none, 2 clockwise, other counter-clockwise
  DWORD shadeMode;
  int diffuseMaterialSource;
  int specularMaterialSource;

  int fogEnable;
  int fogMode;
  DWORD fogColor;
  float fogStart;
  float fogEnd;
  float fogDensity;

  D_D3DVIEWPORT9 viewport;
  RECT scissor;
  Matrix4 view;
  Matrix4 projection;
  int textureTransformOn[kTransformStages];
  Matrix4 textureTransform[kTransformStages];

  // Pending blend inputs, turned into device state at the next draw.
  int blendMode;
  int blendAlphaChannel;
  int blendAlphaTest;
  int alphaTestOverride[2];
  D_IDirect3DBaseTexture9* texture;
  D_IDirect3DBaseTexture9* blendTexture;
  int blendTextureParam;
  int blendTextureExtra;
  int blendTint;  // tint and blending as the last draw set-up asked for
  int blendOn;
  std::uint32_t borderParamSent;  // the blend graph's border values the blend set-up used
  std::uint32_t borderRangeSent;
  int blendStateDirty;
  int textureChanged;
  int drawNothing;  // the blend set-up found a state that draws nothing

  // What the blend set-up sent: the blend render states (bit i of
  // blendRenderSent marks blendRender[i] as known), and per stage the
  // texture, the result register and the operations (kUnsentState until
  // the first send), so that a new device is sent everything once.
  DWORD blendRender[kBlendRenderStates];
  unsigned blendRenderSent;
  D_IDirect3DBaseTexture9* stageTexture[kTextureStages];
  DWORD resultArg[kTextureStages];
  DWORD stageOps[kTextureStages][kStageOpStates];
  int stageCount;  // stages set up by the last blend set-up, the closing disabled one included
  int graphStage;  // the stage that samples the drawn graph
  DWORD specularEnable;
  D_IDirect3DSurface9* renderTarget;

  // Shader state zeroed whenever a device is made.
  D_IDirect3DVertexShader9* vertexShader;
  D_IDirect3DPixelShader9* pixelShader;
  int vertexShaderIndex;
  int pixelShaderIndex;
  int shaderIndexPending;
  DWORD fvf;

  int userConstantSetOn;  // 1 while the user's constant set is on the device

  int renderTargetChanged;
  float vertexConstants[kVertexConstantRegisters][4];
  float pixelConstants[kPixelConstantRegisters][4];
};

inline constexpr int kIntConstantRegisters = 16;
inline constexpr int kBoolConstantRegisters = 16;

// Registers first .. first + count - 1 of one register file, each value at
// its own register's index.
template <typename Value, int Registers, int Width>
struct ShaderConstantRange {
  int first;
  int count;
  Value values[Registers][Width];
};

// The constants a program's own shaders use, put on the device in place of
// the framework's while they are on (ApplyShaderConstantSet).
struct UserShaderConstantSet {
  ShaderConstantRange<float, kVertexConstantRegisters, 4> vertexFloat;
  ShaderConstantRange<int, kIntConstantRegisters, 4> vertexInt;
  ShaderConstantRange<BOOL, kBoolConstantRegisters, 1> vertexBool;
  ShaderConstantRange<float, kPixelConstantRegisters, 4> pixelFloat;
  ShaderConstantRange<int, kIntConstantRegisters, 4> pixelInt;
  ShaderConstantRange<BOOL, kBoolConstantRegisters, 1> pixelBool;
};

DeviceStateCache& DeviceCache();
UserShaderConstantSet& UserShaderConstants();
extern int DeviceStateResend;

// Sets the copies to what a new device holds after its start-up state.
void ResetDeviceStateCache(int screenWidth, int screenHeight);
void ResetShaderStateCache();
void SetCachedMaterialSources(int diffuse, int specular);

int SetLightingEnable(int enable);
int ResetTexCoordIndexes();
int SetDeviceTextureFilter(int drawMode);
int SetDeviceMaxAnisotropy(int value);
int SetPendingBlendState(int blendMode, int alphaChannel, int alphaTest);
int SetPendingBlendExtra(int first, int second);
int SetDeviceZEnable(int flag);
int SetDeviceZWriteEnable(int value);
int SetDeviceZFunc(int value);
int SetDeviceDepthBias(int value);
int SetDeviceFillMode(int value);
int SetDeviceShadeMode(int value);
int SetPendingTexture(D_IDirect3DBaseTexture9* texture);
int SetPendingBlendTexture(D_IDirect3DBaseTexture9* texture, int param, int extra);
int SetVertexShaderConstants(int first, int count, const float* values);
int SetPixelShaderConstants(int first, int count, const float* values);
// 1 puts the user set on the device, 0 the framework's (programmable
// shaders only).
int ApplyShaderConstantSet(int userSet);
// Vertex bool registers 0..3, read by the fog shaders: linear, exponential,
// exponential squared, any fog.
int SendFogBoolRegisters(int fogMode);
int SetDeviceTransform(const Matrix4* view);
int SetDeviceProjectionTransform(const Matrix4* projection);
int SetDeviceDiffuseMaterialSource(int flag);
int SetDeviceSpecularMaterialSource(int flag);
int SetDeviceCullMode(int mode);
// stage 0..7, or -1 for all eight; coordinate 0..2 is U, V, W.
int SetDeviceTextureAddress(int stage, int mode);
int SetDeviceTextureAddressU(int stage, int mode);
int SetDeviceTextureAddressV(int stage, int mode);
int SetDeviceTextureAddressW(int stage, int mode);
int SetDeviceTextureTransform(int stage, int enable, const Matrix4* matrix);
int SetDeviceFogEnable(int flag);
int SetDeviceFogMode(int mode);
int SetDeviceFogColor(DWORD color);
int SetDeviceFogStartEnd(float start, float end);
int SetDeviceFogDensity(float density);
int SetDeviceViewport(const D_D3DVIEWPORT9* viewport);
int SetViewportRect(int x1, int y1, int x2, int y2);
int SetDeviceScissorRect(const RECT* rect);
int SetDeviceDialogBoxMode(int flag);
int EndSceneAndSetDialogBoxMode(int flag);
// Pre-transformed vertices (28 bytes each) in `rows` rows of `columns`,
// drawn as triangle strips with 16-bit indices.
int DrawDeviceIndexedVertices(int columns, const void* vertices, int rows);
int CreateVertexDeclarations();
void ReleaseVertexDeclarations();
// The shader-table indexes of lit geometry (programmable shaders only).
void ComputeShaderIndex();
