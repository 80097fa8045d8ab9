// The font system's life cycle and its default font: set up at graphics
// start-up, every font deleted at graphics shutdown, all fonts made again
// after a device rebuild, and the default font kept in step with its
// settings.
#pragma once

// Zeroes the handle table, sets the default settings and makes the
// default font (graphics start-up); 0.
int StartFontSystem();
// Deletes every font and makes the default font again; 0.
int InitFontSystem();
// Deletes every font (graphics shutdown).
void EndFontSystem();
// Stores the default size (-1: 16) and thickness (-1: 6) and brings the
// default font up to date; the face is not used. 0.
int SetDefaultFontSize(const char* face, int size, int thickness);
// Makes the default font again when its settings changed; 0.
int RefreshDefaultFont();
// Deletes the fonts' cache graphs while their device still exists (before
// a device rebuild); RebuildAllFonts makes them again.
void ReleaseFontCacheGraphs();
// Makes every font again under its own handle (device rebuild); 0.
int RebuildAllFonts();
// The default settings' size and thickness, to keep across a restart.
void GetDefaultFontSettings(int* size, int* thickness);
