// Controls of input devices, for tests and tools (part of control.h): pads
// plugged in and moved, input-method composition, and input scripts. The
// keyboard and mouse controls are in control_window.h.
#pragma once

#include <cstdint>

#include "platform/wintypes.h"

// ---- Keys by position --------------------------------------------------------------

// The physical key with that DirectInput code (D_DIK_*) goes down or up, as
// the window system reports it: so the keypad's Enter, right Shift and the
// Japanese keyboard's own keys can be pressed. Codes of no key are ignored.
void WqControlInjectPhysicalKey(HWND window, int key_code, bool down);

// ---- Pads -------------------------------------------------------------------------

// One pad's controls in one frame.
struct WqPadInput {
  int axes[8];       // X, Y, Z, Rx, Ry, Rz, two sliders: -32768..32767
  unsigned buttons;  // bit n: button n held (32 buttons)
  int hat;           // SDL hat bits: 1 up, 2 right, 4 down, 8 left; 0 centred
};

// Plugs in a pad with 8 axes, one hat, 32 buttons and rumble motors, found
// by DirectInput and winmm like any other. Returns its number (0, 1, ...
// in the order of the controls' pads), or -1 when pads cannot be made.
int WqControlAttachPad(const char* name);
// Unplugs it; its number is not reused.
void WqControlDetachPad(int pad);
// The pad's state from now on.
void WqControlSetPad(int pad, const WqPadInput& input);
// The rumble the program last asked of the pad (0..0xFFFF each); false for
// an unknown pad.
bool WqControlReadPadRumble(int pad, std::uint16_t* strong, std::uint16_t* weak);

// ---- Input method -----------------------------------------------------------------

// The input method shows `text_utf8` as the text being composed, with its
// cursor at that character; empty text ends the composition. The result
// of a composition is typed with WqControlInjectText.
void WqControlInjectComposition(HWND window, const char* text_utf8, int cursor);

// ---- Input scripts ----------------------------------------------------------------
//
// A script is a text file of lines "<frame> <key> <key> ...": from that
// frame on, exactly the keys listed are held (a line with only the frame
// releases every key). Frames are 1/60 s of the layer's clock (the virtual
// clock when it is on), counted from the start of the script; lines come
// in frame order. Keys are virtual-key names: A-Z, 0-9, F1-F12, NUMPAD0-9,
// UP, DOWN, LEFT, RIGHT, RETURN, ESCAPE, SPACE, TAB, BACK, SHIFT, CONTROL,
// MENU, DELETE, HOME, END, PRIOR, NEXT, INSERT. "#" starts a comment.
//
// The script's key changes are injected into the window as the controls
// inject keys, whenever the keyboard is read (GetKeyboardState,
// GetKeyState, a DirectInput keyboard) and its frame has come.
//
// Without a control call, the environment variable WQ_INPUT_SCRIPT (a
// Linux path) starts a script on the first window the process shows, its
// frame 0 begun half a frame before the last 60 Hz vertical blank: a
// program that reads the keyboard once per frame, after the blank, then
// reads each frame of the script in its middle, whatever its frames do
// before the read, and meets each key in the same frame every time. With
// WQ_VIRTUAL_CLOCK=1, WQ_CAPTURE_FRAMES and WQ_CAPTURE_DIR (control_window.h)
// a program replays deterministically without knowing of it.

// Starts the script for the window; false (and nothing started) when the
// file cannot be read or a line is malformed.
bool WqControlStartInputScript(HWND window, const char* path);
// Stops a running script; the keys it holds stay held.
void WqControlStopInputScript();
// The frame the running script stands at now (reading the clock without
// counting as a poll of it), or -1 when no script runs.
std::int64_t WqControlInputScriptFrame();
// Appends lines, in the file's form, to the running script: so that a test
// can decide the keys as the program runs and keep them as a script that
// replays the same run. False (and nothing appended) without a running
// script, for a malformed line or one before the script's last frame.
bool WqControlAppendInputScript(const char* lines);
