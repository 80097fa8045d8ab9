// The settings that shape the next graph made: its colour depth, whether it
// can be drawn to, whether it has an alpha channel, and the flags the movie
// path raises while it makes its frame graph. The colour key new graphs are
// made with is part of the render state (UseTransparentColor,
// TransparentColor).
#pragma once

struct GraphCreationSettings {
  int colorBits;  // 0: chosen by the renderer and the format
  int drawableFlag;
  int alphaFlag;
  int movieFlag;
  int systemMemCopyFlag;
  int blendImageFlag;    // nothing sets it
  int defaultMipLevels;  // -1: the full chain; nothing sets it
  int oneTexture;        // one texture piece per side where the device allows (movie frames)
};

GraphCreationSettings& GraphCreation();
// Their values at graphics start-up.
void ResetGraphCreationSettings();

int SetCreateGraphMovieFlag(int flag);
int GetCreateGraphMovieFlag();
int SetCreateGraphSystemMemCopyFlag(int flag);
int GetCreateGraphSystemMemCopyFlag();
