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
// 0 nearest, 1 bilinear, 2 anisotropic.
int SetDrawMode(int mode);
int GetDrawMode();
// A colour in the screen's pixel format, and its channels back.
std::uint32_t MakeColor(int red, int green, int blue);
int UnpackColor(std::uint32_t color, std::uint32_t* red, std::uint32_t* green, std::uint32_t* blue);

// ---- Graphs: handles, loading and drawing ----
// (declarations of graph handles and the draw functions follow here)

// ---- Images: base images and image files ----
// (declarations of the image readers follow here)

// ---- Software images (MEMIMG) and the software renderer ----
// (declarations of the software images follow here)

// ---- Fonts and text ----
// (declarations of fonts and string drawing follow here)

// ---- Sound ----
// (declarations of sound handles follow here)

// ---- Movies ----
// (declarations of movie handles follow here)
