// The settings that shape the next graph made: its colour depth, whether it
// can be drawn to, whether it has an alpha channel, and the flags the movie
// path raises while it makes its frame graph.
#pragma once

extern int CreateGraphColorBits;  // 0: chosen by the renderer and the format
extern int CreateDrawableGraphFlag;
extern int CreateGraphAlphaFlag;
extern int CreateGraphMovieFlag;
extern int CreateGraphSystemMemCopyFlag;
extern int CreateGraphBlendImageFlag;  // nothing sets it
extern int DefaultMipLevels;           // -1: the full chain; nothing sets it

// Their values at graphics start-up.
void ResetGraphCreationSettings();

int SetCreateGraphMovieFlag(int flag);
int GetCreateGraphMovieFlag();
int SetCreateGraphSystemMemCopyFlag(int flag);
int GetCreateGraphSystemMemCopyFlag();
