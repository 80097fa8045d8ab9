// WqLib: the framework's public interface, the header games include.
#pragma once

#include <cstdint>

// ---- Log ("Log.txt") ----
// Every log function returns -1, so a failing function can return its log
// call as its own result.
int LogWrite(const char* text);
int LogWriteFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));
int IncreaseLogIndent();
int DecreaseLogIndent();
// Settings made before start-up. The folder is a Windows path; when it is
// left empty, start-up uses the start-up directory.
void SetLogFolder(const char* folder);
void SetLogDisabled(int disabled);
void SetLogDateNamedFile(int dateNamed);
void SetLogTimeStampOff(int off);

// ---- Time ----
// Milliseconds of the multimedia clock, never negative.
int GetTimeMs();
// Microseconds from the best clock; useCpuCounter = 1 prefers the
// processor's time-stamp counter once the library is started.
std::int64_t GetTimeUs(int useCpuCounter);
// The local date and time; returns 0.
int GetLocalDate(int* year, int* month, int* day, int* hour, int* minute, int* second);

// ---- Library start and end ----
// Starts every subsystem and opens the main window; 0, or -1 (with anything
// started so far ended again). 0 at once when already started.
int StartLibrary();
// Ends every subsystem and closes the window; 0 (also when not started).
int EndLibrary();
// Processes the window's messages and the per-frame work; call once per
// frame. 0, or -1 once the program is to quit.
int PumpMessages();
// 1 when the processor has MMX, as the start-up report found; 0 before it.
int IsMmxAvailable();

// ---- Main window ----
// 1 window mode, 0 full screen. Before StartLibrary it only records the
// choice. 0, or -1 when full screen cannot use the screen size.
int ChangeWindowMode(int windowMode);
// Desktop size and colour depth; any pointer may be null.
int GetDesktopSize(int* width, int* height, int* colorBits);
// The window's scale of the screen image (1.0 for both in full screen);
// returns x.
double GetWindowScale(double* x, double* y);

// ---- Waits ----
// Waits for any key, pad button or mouse click (after everything held at
// entry is released): the key code, -1 for a pad or mouse, 0 on quit.
int WaitAnyKey();
// Waits that many milliseconds, keeping the window alive; returns 0.
int WaitMilliseconds(int ms);

// ---- Archives ----
// The key string with which files inside WQA archives are read (at most 12
// characters kept); null or an empty string clears it. Set it before the
// first load. Returns 0.
int SetArchiveKey(const char* keyString);

// ---- Mouse and clipboard ----
// 1 shows the cursor over the window, 0 hides it, -1 applies the current
// setting again. Returns 0.
int SetMouseVisible(int visible);
// The mouse position in screen-image coordinates; either pointer may be
// null. Returns 0.
int GetMousePosition(int* x, int* y);
// With a buffer: copies the clipboard's text into it (0). With null: the
// buffer size the text needs. -1 without text or when the clipboard cannot
// be opened.
int ReadClipboardText(char* buffer);
// 0, or -1 when the clipboard cannot be opened or the text not stored.
int WriteClipboardText(const char* text);

// ---- Network handles ----
// TCP connections carrying length-prefixed messages (u32 little-endian
// length, then the payload) through a receive and a send ring per handle.
// -1 for an invalid handle or a connection in error.
// Receives what is pending into the handle's receive ring: 0.
int RecvSocket(int handle);
// Sends what the handle's send ring holds as one message: 0.
int SendSocket(int handle);
// Accepts one pending connection on the listening socket: the new handle,
// or -1.
int AcceptNetWork();
// Closes a connection after up to a second each of finishing the message
// being received and sending what is queued: 0.
int CloseNetWorkHandle(int handle);
// Closes a handle of the kind that only reports readiness: 0.
int CloseNetWorkSocket(int handle);

// ---- Input ----
// Key codes are DirectInput's (D_DIK_*). Each query starts input on first
// use (returning at once, without reading) and waits while the window is
// inactive.
// 1 while the key is down, else 0.
int IsKeyDown(int keyCode);
// Fills 256 bytes, one per key code: 1 down, 0 up. Returns 0 (-1 for a
// null array, or when the first use could not start input).
int ReadKeyboardState(char* keys);
// A pad's bits: 0 down, 1 left, 2 right, 3 up, 4.. buttons. padCode 1..16
// selects the pad; adding 0x1000 also merges its keyboard mapping (0x1000
// alone: pad 1's mapping only). 0 for a pad that does not exist.
int ReadJoypadState(int padCode);
// Bits: 1 left, 2 right, 4 middle, 8 fourth button.
int GetMouseButtons();
// selector bits: 1 keyboard, 2 pads, 4 mouse. The first key code down, -1
// for a pad or a mouse click, 0 for nothing.
int CheckAnyInput(int selector);

// ---- Graphics: screen, draw target, presentation, render state ----
// Screen ids for SelectDrawTarget: -2 the back screen (drawn, then shown by
// PresentScreen), -4 the front screen (shown by a timer as it is drawn).
// -3 and -5 draw to the back screen too.
struct DisplayModeRecord {
  int width;
  int height;
  int colorBits;
  int refreshRate;
};
// Before StartLibrary the mode is only stored; afterwards the screen is
// rebuilt at once. 0 when the mode took, -2 after falling back to
// 640 x 480 x 16, -1 otherwise (also for a size of 0 or bits other than
// 8, 16 or 32).
int SetScreenMode(int width, int height, int colorBits, int refreshRate);
// The screen size (640 x 480 until a mode is set); either pointer may be null.
int GetScreenSize(int* width, int* height);
// The screen's colour depth (16 until a mode is set).
int GetScreenColorBits();
// 1: a 320 x 240 picture is shown stretched on a 640 x 480 screen.
int SetEmulate320x240(int flag);
int IsFullScreen();
// Before StartLibrary only: 0 draws with the software renderer, any other
// value tries Direct3D 9 first. -1 once the library has started.
int SetUseHardwareRenderer(int flag);
int GetUseHardwareRenderer();
int GetDisplayModeCount();
// Copies mode `index` (four -1 for an index out of range); returns out.
DisplayModeRecord* GetDisplayMode(DisplayModeRecord* out, int index);
int IsDisplayModeAvailable(int width, int height, int colorBits);

// A screen id or a drawable graph; -1 for anything else or before start-up.
int SelectDrawTarget(int target);
int GetDrawTarget();
// Shows the back screen; -1 once the program is to quit or a present fails.
int PresentScreen();
// Fills the draw target (or the rectangle, right and bottom exclusive) with
// the background colour. Returns 0.
int ClearDrawTarget(const int* rect);
// 1: presents wait for the display's vertical blank (the default).
int SetWaitVSync(int flag);
int GetWaitVSync();

// The clip rectangle of every draw, right and bottom exclusive; the corners
// are sorted and clamped to the draw target.
int SetDrawArea(int x1, int y1, int x2, int y2);
// Blend modes: 0 none, 1 alpha, 2 add, 3 subtract, 4 multiply, ... 14;
// param 0..255 (clamped).
int SetBlendMode(int mode, int param);
// Tint of every draw, each channel 0..255 (clamped); 255, 255, 255: none.
int SetDrawBrightness(int red, int green, int blue);
// The same from 0xRRGGBB (the top byte is ignored).
void SetDrawBrightnessPacked(std::uint32_t color);
// 0 nearest, 1 bilinear, 2 anisotropic.
int SetDrawMode(int mode);
int GetDrawMode();
// A colour in the screen's pixel format, and its channels back.
std::uint32_t MakeColor(int red, int green, int blue);
int UnpackColor(std::uint32_t color, std::uint32_t* red, std::uint32_t* green, std::uint32_t* blue);

// Settings of the graphs made from now on. Colour bits 0: chosen by the
// renderer and the image; the drawable flag starts at 1, the alpha flag at 0.
int SetCreateGraphColorBits(int bits);
int GetCreateGraphColorBits();
int SetCreateDrawableGraphFlag(int flag);
int GetCreateDrawableGraphFlag();
int SetCreateGraphAlphaFlag(int flag);
int GetCreateGraphAlphaFlag();
// 1 (the default): new graph images are transparent where they hold the
// transparent colour, each channel 0..255; ignored on an 8-bit screen.
int SetUseTransparentColor(int flag);
int SetTransparentColor(int red, int green, int blue);

// ---- Graphs: handles, loading and drawing ----
// A graph of the picture in the file (with its "_a" alpha companion);
// handle or -1 (logged) for a missing or unreadable file.
int LoadGraph(const char* fileName, int flag);
// The picture cut into `total` graphs of width x height, row by row from
// `down` rows of `across`; 0 or -1. Handles past the grid are not written.
int LoadDivGraph(const char* fileName, int total, int across, int down, int width, int height, int* handles,
                 int flag);
// 1 for a live graph handle, else 0.
int IsGraphHandleValid(int handle);
// A graph's size, or the screen's for -2 and -4; either pointer may be
// null. -1 for anything else.
int GetGraphSize(int handle, int* width, int* height);
// A graph whose image weights every later draw (-1: none); the border
// values 0..255 (clamped) set where and how softly it cuts. 0, or -1 for a
// handle that is not a live graph.
int SetBlendGraph(int graph, int borderParam, int borderRange);

// Graph draws into the draw target under the render state. trans non-zero
// honours the graph's transparent colour or alpha. Each returns 0 (also
// when drawing is suspended or the draw area is empty), or -1 for a handle
// that is not a live graph, a blend graph smaller than the graph, or no
// usable device; DrawGraph also before StartLibrary.
int DrawGraph(int x, int y, int graph, int trans);
// Into the rectangle, right and bottom exclusive; reversed corners mirror.
int DrawGraphStretched(int x1, int y1, int x2, int y2, int graph, int trans);
int DrawGraphStretchedF(float x1, float y1, float x2, float y2, int graph, int trans);
// Mirrored left to right at the same place.
int DrawGraphTurned(int x, int y, int graph, int trans);
// Turned by angle (radians, clockwise) and scaled about its centre, which
// lands on (x, y); turn non-zero mirrors it left to right first.
int DrawGraphRotated(int x, int y, double scale, double angle, int graph, int trans, int turn);
int DrawGraphRotatedF(float x, float y, double scale, double angle, int graph, int trans, int turn);
// Onto four corners: top-left, top-right, bottom-right, bottom-left.
int DrawGraphQuadF(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4, int graph,
                   int trans);
// The part (srcX, srcY, width, height) of the graph with its top-left at
// (x, y); turn non-zero shows it mirrored there.
int DrawGraphRect(int x, int y, int srcX, int srcY, int width, int height, int graph, int trans, int turn);
// The part stretched into the rectangle; 0, or -1 for a handle that is not
// a live graph.
int DrawGraphRectStretchedF(float x1, float y1, float x2, float y2, int srcX, int srcY, int width, int height,
                            int graph, int trans);
// A circle of radius r about (x, y) in a screen-format colour, filled when
// fill is non-zero; a negative radius draws nothing. 0, or -1 before
// graphics start or without a usable device.
int DrawCircleShape(int x, int y, int r, int color, int fill);

// Graph operations. Every function refuses a handle that is not a live
// graph's (wrong kind, deleted, stale check value) with -1.
struct BaseImage;
struct BITMAPINFO;
struct RECT;
// Deletes the graph (its image goes with the last graph sharing it).
int DeleteGraph(int graph);
// Deletes every graph; 0.
int DeleteAllGraphs();
// *flag becomes 0 now and 1 when the graph is deleted (null: no flag).
int SetGraphDeleteNotifyFlag(int graph, int* flag);
// The file the graph is reloaded from after the device is rebuilt: path
// (made a full path), or null to share `other`'s (-1: no file).
int SetGraphFileName(int graph, const char* path, int other);
// Puts the picture's rectangle at (sourceX, sourceY) of the graph's size
// into the graph; bitmap forms give a DIB header and its bits (and an
// alpha DIB, or null) with fromBitmap 1, else base images are given.
// optionWord is kept with the graph.
int SetGraphImage(const void* bitmapBits, const BITMAPINFO* bitmap, const void* alphaBitmapBits,
                  const BITMAPINFO* alphaBitmap, const char* fileName, int fromBitmap, BaseImage* image,
                  BaseImage* alphaImage, int sourceX, int sourceY, int graph, int optionWord);
// As SetGraphImage, the source rectangle (null: the whole picture) put at
// (destinationX, destinationY) of the graph.
int SetGraphImageRect(const void* bitmapBits, const BITMAPINFO* bitmap, const void* alphaBitmapBits,
                      const BITMAPINFO* alphaBitmap, const char* fileName, int fromBitmap, BaseImage* image,
                      BaseImage* alphaImage, const RECT* sourceRect, int destinationX, int destinationY, int graph,
                      int optionWord);
// Fills the graph with one colour (channels clamped to 0..255). On the
// device only graphs that can be drawn to change; on the software screen
// the fill follows the blend mode and brightness and ignores alpha.
int FillGraphColor(int graph, int red, int green, int blue, int alpha);
// A new graph showing (x, y, width, height) of `source`, cut at its right
// and bottom edges; -1 for a corner outside the source or a side below 1.
int DeriveGraph(int x, int y, int width, int height, int source);
// Copies (x1, y1)-(x2, y2) of the draw target (right and bottom exclusive)
// into a graph of exactly that size.
int CopyDrawScreenToGraph(int x1, int y1, int x2, int y2, int graph);
// The draw target's rectangle (right and bottom exclusive) as an image the
// CPU can read until UnlockDrawScreen; the pixels belong to the lock.
int LockDrawScreen(const RECT* rect, BaseImage* image);
int UnlockDrawScreen();

// Graphs from pictures. `flag` is passed down and changes nothing; reverse
// 1 mirrors the picture left to right (the files' forms mirror it as they
// load it; the base-image forms only when reverseHere is 1 too, putting the
// caller's image back afterwards). Graphs from files are filled from them
// again after the device is rebuilt; the others keep a copy of their picture.
// LoadGraph(name, flag) is LoadGraphOrMovie(name, !flag, 0, 0): a file that
// no image reader takes is opened as a movie (movieParam is its output
// mode) and the graph shows its frames.
int LoadGraphOrMovie(const char* fileName, int flag, int reverse, int movieParam);
// LoadDivGraph(..., flag) is LoadDivGraphCore(..., !flag, 0). Mirrored, the
// cells are taken from the right-hand column, so that cell n shows the
// picture's cell n mirrored.
int LoadDivGraphCore(const char* fileName, int total, int across, int down, int width, int height, int* handles,
                     int flag, int reverse);
// A graph of the size without pixels (cleared; with alpha while
// SetCreateGraphAlphaFlag is 1); -1 for a side below 1.
int CreateEmptyGraph(int width, int height);
// A graph of the image's size and alpha, without pixels; -1 when the alpha
// image's size differs.
int CreateGraphFromImageInfo(BaseImage* image, BaseImage* alpha, int flag);
int CreateGraphFromGraphImage(BaseImage* image, BaseImage* alpha, int flag, int reverse, int reverseHere);
// As LoadDivGraphCore, from the base images; handles not made are not written.
int CreateDivGraphFromGraphImage(BaseImage* image, BaseImage* alpha, int total, int across, int down, int width,
                                 int height, int* handles, int flag, int reverse, int reverseHere);
// Image files held in memory (alpha: an alpha picture, or null).
int CreateGraphFromMemImage(const void* image, int size, const void* alpha, int alphaSize, int flag, int reverse);
// New pictures for an existing graph, which must have the picture's size
// (else -1, the graph unchanged); the graph forgets its file and keeps the
// new picture instead.
int ReCreateGraphFromGraphImage(BaseImage* image, BaseImage* alpha, int graph, int flag, int reverse,
                                int reverseHere);
int ReCreateGraphFromBaseImage(BaseImage* image, int graph);
int ReCreateGraphFromMemImage(const void* image, int size, int graph, const void* alpha, int alphaSize, int flag,
                              int reverse);

// 3D transforms, each 16 floats row by row; 0.
int SetWorldMatrix(const float* matrix);
int SetViewMatrix(const float* matrix);
int SetProjectionMatrix(const float* matrix);
int SetViewportMatrix(const float* matrix);
// Fog: mode 0 none, 1 exponential, 2 exponential squared, 3 linear; the
// colour's channels take their low byte.
int SetFogMode(int mode);
int SetFogColor(int red, int green, int blue);
int SetFogStartEnd(float start, float end);

// ---- Images: base images and image files ----
// Decoded images in main memory. A ColorFormat describes one pixel layout;
// a BaseImage is a pixel block (rows top to bottom) with its format. The
// caller owns a loaded image's pixels and frees them with ReleaseBaseImage.
struct ColorPaletteEntry {
  std::uint8_t blue, green, red, reserved;
};
struct ColorFormat {
  std::uint16_t bits;           // 8, 16, 24, 32; 4 (DXT1) or 8 (DXT2-5) when compressed
  std::uint16_t bytesPerPixel;  // 1 to 4
  std::uint8_t redWidth, greenWidth, blueWidth, alphaWidth;  // 0 = channel absent
  std::uint8_t redShift, greenShift, blueShift, alphaShift;
  std::uint32_t redMask, greenMask, blueMask, alphaMask;
  std::uint32_t unusedMask;  // bits no channel covers
  ColorPaletteEntry palette[256];  // meaningful at 1 byte per pixel
  std::uint8_t unusedShift;
  std::uint8_t unusedWidth;
  std::uint32_t compressedKind;  // 0 plain, 1 to 5 = DXT1 to DXT5
};
struct BaseImage {
  ColorFormat format;
  std::int32_t width;
  std::int32_t height;
  std::uint32_t pitch;  // 0 for a compressed image
  void* pixels;         // tracked allocation owned by the record, or null
  std::uint32_t mipCount;
};

// Format makers; each returns 0 and sets only its own fields.
int MakeColorFormatPal8(ColorFormat* format);
int MakeColorFormatGrey8(ColorFormat* format);
int MakeColorFormatXrgb32(ColorFormat* format);
int MakeColorFormatArgb32(ColorFormat* format);
int MakeColorFormatRgb24(ColorFormat* format);
int MakeColorFormatFromMasks(ColorFormat* format, int bits, std::uint32_t redMask, std::uint32_t greenMask,
                             std::uint32_t blueMask, std::uint32_t alphaMask);
void UpdateColorFormatUnusedMask(ColorFormat* format);

// Image makers: 0, or -1 when the pixels cannot be allocated.
int CreateArgbBaseImage(int width, int height, BaseImage* image);
int CreateXrgbBaseImage(int width, int height, BaseImage* image);
int CreateBaseImageSameFormat(int width, int height, const ColorFormat* sourceFormat, BaseImage* image);
// Frees the pixels and zeroes the record; 0.
int ReleaseBaseImage(BaseImage* image);
int ClearBaseImageRect(BaseImage* image, int x, int y, int width, int rows);

// A colour as a pixel value of the format (the nearest palette index at 1
// byte per pixel), and back; any out pointer may be null.
std::uint32_t EncodeFormatPixel(const ColorFormat* format, int red, int green, int blue, int alpha);
int DecodeFormatPixel(const ColorFormat* format, std::uint32_t value, int* red, int* green, int* blue, int* alpha);
// Single pixels: 0, or -1 outside the image.
int SetBaseImagePixel(BaseImage* image, int x, int y, int red, int green, int blue, int alpha);
int GetBaseImagePixel(BaseImage* image, int x, int y, int* red, int* green, int* blue, int* alpha);
// 0xAARRGGBB of a 2- to 4-byte pixel, each channel's bits at the top of its byte.
std::uint32_t GetBaseImagePixelArgb(const BaseImage* image, int x, int y);
int MirrorBaseImage(BaseImage* image);
int RotateBaseImage180(BaseImage* image);
// Turns DXT blocks into A8R8G8B8 pixels; 0 for a plain image too.
int DecompressBaseImage(BaseImage* image);
// Clipped copy between base images, converting formats; 0 or -1.
int CopyBaseImageRect(int sourceX, int sourceY, int width, int height, int destinationX, int destinationY,
                      BaseImage* source, BaseImage* destination);
// Scaled copy (right and bottom exclusive); mode 1 filters bilinearly.
int StretchBaseImageRect(int sourceLeft, int sourceTop, int sourceRight, int sourceBottom, BaseImage* source,
                         int destinationLeft, int destinationTop, int destinationRight, int destinationBottom,
                         BaseImage* destination, int mode);

// Image files (BMP, JPEG, PNG, BGRA, TGA, DDS) from a file or from memory
// (fromMemory 1). mirror 1 reverses every row. 0 or -1.
int LoadBaseImage(const char* fileName, const void* memoryData, int memorySize, int fromMemory, BaseImage* image,
                  int mirror);
// The image and its alpha companion: alphaMode 0 loads the file named with
// "_a" before the extension, 1 the alpha memory block. -1 the image failed,
// 0 both loaded, 1 the image alone.
int LoadImageWithAlpha(const char* fileName, const void* memoryData, int memorySize, int fromMemory,
                       const void* alphaData, int alphaSize, int alphaMode, BaseImage* image, BaseImage* alphaImage,
                       int mirror);
// "Pict/boss.png" -> "Pict/boss_a.png"; the destination holds 260 bytes.
// 0, or -1 (destination "") for a name too long for it.
int MakeAlphaFileName(char* destination, const char* fileName);

// Soft images: 0, or -1 for a handle that is not a live soft image.
int DeleteSoftImage(int handle);
int DeleteAllSoftImages();

// ---- Software images (MEMIMG) and the software renderer ----
// (declarations of the software images follow here)

// ---- Fonts and text ----
// Font handles name a GDI font with its glyph cache. Every function refuses
// a handle of another kind, a deleted one and a stale one with -1 (0 from
// IsFontHandleValid). Strings are Shift-JIS.
// fontType: bit 0 edged, bit 1 anti-aliased (-1: 0). size -1: 16,
// thickness (0..9) -1: 6, edgeSize -1: 1 (above 1 makes the font edged),
// charSetClass -1: the system's. slot and checkId -1: any free handle.
// A face that is not installed falls back to an installed Japanese face.
// Returns the handle or -1 (40 fonts at most).
int CreateFontToHandle(const char* faceName, int size, int thickness, int fontType, int charSetClass,
                       int edgeSize, int italic, int slot, int checkId);
int DeleteFont(int handle);
// Pixels added to every character's advance.
int SetFontSpacing(int spacing, int handle);
// The int is set to 0 now and to 1 when the font is deleted (null: none).
int SetFontLostFlag(int handle, int* lostFlag);
// Any out pointer may be null; the face buffer holds 256 bytes.
int GetFontInfo(char* faceName, int* size, int* thickness, int handle);
int GetFontSize(int handle);
int IsFontHandleValid(int handle);
// The font the formatted functions without a handle draw with.
int GetDefaultFont();
// Of the byte at index: 0 a single-byte character, 1 the first and 2 the
// second byte of a double-byte one, -1 past the end or for "".
int GetCharByteKind(const char* text, int index, int charSetClass);
// Draws the string with its top-left at (x, y); vertical 1 runs it
// downward, each character turned a quarter clockwise. The edge colour
// fills the edges of an edged font. Colours are screen colours (MakeColor)
// tinted by the draw brightness. 0, or -1 for a bad font.
int DrawTextWithFont(int x, int y, const char* text, std::uint32_t color, int handle, std::uint32_t edgeColor,
                     int vertical);
// printf-style text, cut to 2,047 bytes without splitting a double-byte
// character, in the default font or the given one.
int DrawTextFormat(int x, int y, std::uint32_t color, const char* format, ...)
    __attribute__((format(printf, 4, 5)));
int DrawTextFormatWithFont(int x, int y, std::uint32_t color, int handle, const char* format, ...)
    __attribute__((format(printf, 5, 6)));

// ---- On-screen log overlay ----
// Up to 80 lines drawn over the screen at every present while the overlay
// is on (nothing in this library switches it on). Set up at start-up: 0,
// or -1 before graphics start or without a main window.
int SetupScreenLog();
// Makes the overlay's font again when it was deleted; 0.
int CreateScreenLogFont();
// Draws as many lines as the screen holds, white with a black edge; 0.
int DrawScreenLog();
// Whether the present draws the overlay.
int GetScreenLogFlag();

// ---- Mask screen ----
// Drawing limited to the pixels a one-byte-per-pixel mask allows.
// Mask handles: 0, or -1 for a handle that is not a live mask.
int DeleteMask(int handle);
int DeleteAllMasks();
// flag 1 makes the mask buffer (one byte a screen pixel, all blocking) and
// what the renderer needs to apply it; 0 does nothing. 0.
int CreateMaskScreen(int flag);
int DeleteMaskScreen();
// Puts the mask into effect round every draw (1) or out of it (0); -1
// without a mask buffer.
int EnableMaskScreen(int flag);
// The flag last given to EnableMaskScreen.
int IsMaskScreenEnabled();

// ---- Sound ----
// Every sound function returns -1 while sound is not started, as for a
// handle that is not a live sound handle.
// Loads a WAV (PCM or compressed), Ogg Vorbis or MP3 file into a new
// handle. A sound of at most 180 s is decoded into `bufferCount` buffers
// (at most 10) so that that many plays overlap; a longer one streams.
// shareHandle (-1 for none) lets a stream sound play through another's
// ring buffer.
int LoadSound(const char* fileName, int bufferCount, int shareHandle);
// The same from a file image in memory; a bufferCount above 10 is refused.
int LoadSoundFromMemory(const void* image, int size, int bufferCount, int shareHandle);
// playType: 0 plays and waits for the end (keeping the window alive), 1
// plays in the background, 3 loops. fromTop 1 restarts a playing sound
// from its beginning; 0 leaves a playing sound alone and continues a
// stopped one where it stood.
int PlaySoundHandle(int handle, int playType, int fromTop);
// Stops every playing copy of the sound.
int StopSoundHandle(int handle);
// 1 playing, 0 not.
int CheckSoundHandlePlaying(int handle);
// The play position in milliseconds.
int GetSoundCurrentTime(int handle);
int GetSoundTotalSamples(int handle);
int GetSoundTotalTime(int handle);
// Stops and deletes the sound; the second argument is not used.
int DeleteSoundHandle(int handle, int unused);
int DeleteAllSoundHandles();
// How later loads create sound data: 0 decoded into buffers, 2 streamed
// from the file image in memory, 3 streamed from the file (1 counts as 0);
// -1 for a mode above 3.
int SetSoundCreateMode(int mode);
int GetSoundCreateMode();
// Decoders later loads skip: 1 PCM WAVE, 2 compressed WAVE, 4 Ogg Vorbis,
// 8 MP3, 16 the media subsystem's conversion.
int SetSoundDecoderMask(int mask);
int GetSoundDecoderMask();
// Music handles (MIDI through MCI) and software-sound handles; nothing in
// the library creates them, so these only refuse, stop and delete.
int CheckMusicHandlePlaying(int handle);
int StopMusicHandle(int handle);
int DeleteMusicHandle(int handle);
int DeleteSoftSoundHandle(int handle, int kind);

// ---- Movies ----
// A movie handle plays an Ogg Theora file (its Vorbis track, when it has
// one, is the clock) or, failing that, any file DirectShow plays. LoadGraph
// opens a file that no image reader takes as a movie graph. A movie opens
// paused on frame 0. -1 for an invalid handle everywhere.
// The handle, or -1; width and height (either may be null) receive the
// frame size. The output mode is passed on to the DirectShow player.
int OpenMovie(const char* path, int* width, int* height, int outputMode);
int CloseMovie(int handle);
// Moves a playing movie to the frame of the present time and hands the
// frame to the movie's graph; 0.
int UpdateMovie(int handle, int unused);
// Pauses the movie; with keepPlaying 1 it stays marked as playing, so that
// ResumeAllMovies starts it again. 0.
int PauseMovie(int handle, int keepPlaying);
// Pause every movie, and restart the ones paused while playing (the clock
// continues at the frame shown); 0.
int PauseAllMovies();
int ResumeAllMovies();
// Window output of DirectShow frames, which no movie turns on: the request
// is kept and nothing is drawn. 0.
int DrawMovieToWindow(int x, int y, double scale, int handle, int show);
int DrawAllMoviesToWindow();
