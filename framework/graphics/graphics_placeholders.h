// Graphics entry points the core calls, standing until the graphics
// subsystem is built: each answers as a started graphics layer with nothing
// to draw.
#pragma once

#include "platform/windows.h"

struct DisplayModeRecord {
  int width;
  int height;
  int colorBits;
  int refreshRate;
};

int StartGraphics();
int ShutdownGraphics();
int IsGraphicsStarted();
int SelectDrawTarget(int target);
int GetDrawTarget();
int SetRestoreGraphCallback(void (*callback)());
int IsRestoreGraphCallbackSet();
int RebuildGraphicsKeepMode();
int InitModelSystem();
int TerminateModelSystem();

int GetDisplayModeCount();
DisplayModeRecord* GetDisplayMode(DisplayModeRecord* out, int index);
int SetScreenMode(int width, int height, int colorBits, int refreshRate);
int GetScreenSize(int* width, int* height);
int GetScreenColorBits();
int SetEmulate320x240(int flag);
// 0 after the software renderer was requested, else 1; the request is
// refused (-1) once the library is started.
int GetUseHardwareRenderer();
int SetUseHardwareRenderer(int flag);
int ApplyScreenMode(int width, int height, int colorBits, int reapply, int refreshRate);

int FlipScreenCore(const RECT* windowRect);
// Ends the device's scene and presents once after activation; -1 when the
// present failed and the device needs a rebuild.
int PresentActivatedDevice();
int IsDirect3DRendererInUse();
int IsDirectDrawReady();
int GetDrawArea(RECT* area);
int SetDrawArea(int x1, int y1, int x2, int y2);
