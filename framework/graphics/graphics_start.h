// Bringing the renderer up and down: Direct3D 9 first, the software screen
// when any step of it fails or when it was not wanted.
#pragma once

#include "WqLib.h"
#include "graphics/graphics_state.h"

int StartGraphics();
// Always 0; also when graphics never started.
int ShutdownGraphics();
int IsGraphicsStarted();
// 0 also when the software renderer was chosen instead; -1 without
// d3d9.dll, DirectDraw or (software path) the display mode.
int StartDirect3D9();
// Releases every device object, d3d9.dll and the display-mode list.
int ReleaseDirect3D9();
int IsDirect3DRendererInUse();
int IsDirectDrawReady();

// Device creation steps, each 0 or -1.
int CreateDirect3D9();
int CreateDirect3DDevice();
int CreateZBuffer();
int CreateSubBackBuffer();
// Chooses and logs the depth and texture formats of the new device; -1
// when a mandatory one is missing.
int ChooseDeviceFormats();
// Times reading the back buffer directly against through a render target.
void RunBackBufferReadTest();
int CreateBrightnessVolumeTexture();
void ComputeMaxBrightnessColor(int r, int g, int b, std::uint8_t* outR, std::uint8_t* outG, std::uint8_t* outB);
