// user32: window classes and windows, message queues, timers, the cursor,
// display settings, system metrics and the clipboard.
#pragma once

#include "platform/wintypes.h"

#define ERROR_INVALID_WINDOW_HANDLE 1400u
#define ERROR_CANNOT_FIND_WND_CLASS 1407u
#define ERROR_CLASS_ALREADY_EXISTS 1410u
#define ERROR_CLASS_DOES_NOT_EXIST 1411u
#define ERROR_CLASS_HAS_WINDOWS 1412u
#define ERROR_CLIPBOARD_NOT_OPEN 1418u

// ---- Messages --------------------------------------------------------------

#define WM_NULL 0x0000u
#define WM_CREATE 0x0001u
#define WM_DESTROY 0x0002u
#define WM_MOVE 0x0003u
#define WM_SIZE 0x0005u
#define WM_ACTIVATE 0x0006u
#define WM_SETFOCUS 0x0007u
#define WM_KILLFOCUS 0x0008u
#define WM_SETTEXT 0x000Cu
#define WM_PAINT 0x000Fu
#define WM_CLOSE 0x0010u
#define WM_QUIT 0x0012u
#define WM_ERASEBKGND 0x0014u
#define WM_SHOWWINDOW 0x0018u
#define WM_ACTIVATEAPP 0x001Cu
#define WM_SETCURSOR 0x0020u
#define WM_DISPLAYCHANGE 0x007Eu
#define WM_NCCREATE 0x0081u
#define WM_NCDESTROY 0x0082u
#define WM_NCHITTEST 0x0084u
#define WM_NCACTIVATE 0x0086u
#define WM_KEYFIRST 0x0100u
#define WM_KEYDOWN 0x0100u
#define WM_KEYUP 0x0101u
#define WM_CHAR 0x0102u
#define WM_SYSKEYDOWN 0x0104u
#define WM_SYSKEYUP 0x0105u
#define WM_SYSCHAR 0x0106u
#define WM_KEYLAST 0x0109u
#define WM_IME_STARTCOMPOSITION 0x010Du
#define WM_IME_ENDCOMPOSITION 0x010Eu
#define WM_IME_COMPOSITION 0x010Fu
#define WM_COMMAND 0x0111u
#define WM_SYSCOMMAND 0x0112u
#define WM_TIMER 0x0113u
#define WM_MOUSEFIRST 0x0200u
#define WM_MOUSEMOVE 0x0200u
#define WM_LBUTTONDOWN 0x0201u
#define WM_LBUTTONUP 0x0202u
#define WM_RBUTTONDOWN 0x0204u
#define WM_RBUTTONUP 0x0205u
#define WM_MBUTTONDOWN 0x0207u
#define WM_MBUTTONUP 0x0208u
#define WM_MOUSEWHEEL 0x020Au
#define WM_XBUTTONDOWN 0x020Bu
#define WM_XBUTTONUP 0x020Cu
#define WM_MOUSELAST 0x020Du
#define WM_SIZING 0x0214u
#define WM_MOVING 0x0216u
#define WM_DROPFILES 0x0233u
#define WM_IME_SETCONTEXT 0x0281u
#define WM_IME_NOTIFY 0x0282u
#define WM_IME_REQUEST 0x0288u
#define WM_USER 0x0400u

// WM_ACTIVATE low word.
#define WA_INACTIVE 0
#define WA_ACTIVE 1
#define WA_CLICKACTIVE 2

// WM_SIZE wParam.
#define SIZE_RESTORED 0
#define SIZE_MINIMIZED 1
#define SIZE_MAXIMIZED 2

// WM_SIZING wParam: the dragged edge.
#define WMSZ_LEFT 1
#define WMSZ_RIGHT 2
#define WMSZ_TOP 3
#define WMSZ_TOPLEFT 4
#define WMSZ_TOPRIGHT 5
#define WMSZ_BOTTOM 6
#define WMSZ_BOTTOMLEFT 7
#define WMSZ_BOTTOMRIGHT 8

// WM_SYSCOMMAND wParam.
#define SC_MINIMIZE 0xF020u
#define SC_CLOSE 0xF060u
#define SC_KEYMENU 0xF100u
#define SC_RESTORE 0xF120u
#define SC_SCREENSAVE 0xF140u
#define SC_MONITORPOWER 0xF170u

// WM_NCHITTEST results.
#define HTNOWHERE 0
#define HTCLIENT 1
#define HTCAPTION 2
#define HTMENU 5

// Mouse message wParam flags.
#define MK_LBUTTON 0x0001u
#define MK_RBUTTON 0x0002u
#define MK_SHIFT 0x0004u
#define MK_CONTROL 0x0008u
#define MK_MBUTTON 0x0010u
#define MK_XBUTTON1 0x0020u
// The button an X button message is about, in the high word of wParam.
#define XBUTTON1 0x0001u
#define WHEEL_DELTA 120
#define GET_WHEEL_DELTA_WPARAM(w) (static_cast<SHORT>(HIWORD(w)))

// ---- Virtual keys ----------------------------------------------------------

#define VK_LBUTTON 0x01
#define VK_RBUTTON 0x02
#define VK_MBUTTON 0x04
#define VK_XBUTTON1 0x05
#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_RETURN 0x0D
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11
#define VK_MENU 0x12
#define VK_PAUSE 0x13
#define VK_CAPITAL 0x14
#define VK_KANA 0x15
#define VK_KANJI 0x19
#define VK_ESCAPE 0x1B
#define VK_CONVERT 0x1C
#define VK_NONCONVERT 0x1D
#define VK_SPACE 0x20
#define VK_PRIOR 0x21
#define VK_NEXT 0x22
#define VK_END 0x23
#define VK_HOME 0x24
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_SNAPSHOT 0x2C
#define VK_INSERT 0x2D
#define VK_DELETE 0x2E
#define VK_LWIN 0x5B
#define VK_RWIN 0x5C
#define VK_APPS 0x5D
#define VK_NUMPAD0 0x60
#define VK_MULTIPLY 0x6A
#define VK_ADD 0x6B
#define VK_SUBTRACT 0x6D
#define VK_DECIMAL 0x6E
#define VK_DIVIDE 0x6F
#define VK_F1 0x70
#define VK_F4 0x73
#define VK_F10 0x79
#define VK_F12 0x7B
#define VK_NUMLOCK 0x90
#define VK_SCROLL 0x91
#define VK_LSHIFT 0xA0
#define VK_RSHIFT 0xA1
#define VK_LCONTROL 0xA2
#define VK_RCONTROL 0xA3
#define VK_LMENU 0xA4
#define VK_RMENU 0xA5
#define VK_OEM_1 0xBA
#define VK_OEM_PLUS 0xBB
#define VK_OEM_COMMA 0xBC
#define VK_OEM_MINUS 0xBD
#define VK_OEM_PERIOD 0xBE
#define VK_OEM_2 0xBF
#define VK_OEM_3 0xC0
#define VK_OEM_4 0xDB
#define VK_OEM_5 0xDC
#define VK_OEM_6 0xDD
#define VK_OEM_7 0xDE
#define VK_OEM_102 0xE2

// The keys and mouse buttons as the window system last reported them (or as
// the controls injected them): bit 7 set while down. Left and right Shift,
// Ctrl and Alt have their own keys beside the generic ones. Toggle states
// (bit 0) are not kept.
BOOL GetKeyboardState(BYTE key_states[256]);
SHORT GetKeyState(int virtual_key);

// ---- Window classes and windows --------------------------------------------

using WNDPROC = LRESULT (*)(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
using TIMERPROC = void (*)(HWND window, UINT message, UINT_PTR id, DWORD time);

#define CS_VREDRAW 0x0001u
#define CS_HREDRAW 0x0002u
#define CS_DBLCLKS 0x0008u
#define CS_OWNDC 0x0020u

struct WNDCLASSEXA {
  UINT cbSize;
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCSTR lpszMenuName;
  LPCSTR lpszClassName;
  HICON hIconSm;
};

struct CREATESTRUCTA {
  LPVOID lpCreateParams;
  HINSTANCE hInstance;
  HMENU hMenu;
  HWND hwndParent;
  int cy;
  int cx;
  int y;
  int x;
  LONG style;
  LPCSTR lpszName;
  LPCSTR lpszClass;
  DWORD dwExStyle;
};

#define WS_OVERLAPPED 0x00000000u
#define WS_POPUP 0x80000000u
#define WS_CHILD 0x40000000u
#define WS_MINIMIZE 0x20000000u
#define WS_VISIBLE 0x10000000u
#define WS_DISABLED 0x08000000u
#define WS_CLIPSIBLINGS 0x04000000u
#define WS_CLIPCHILDREN 0x02000000u
#define WS_MAXIMIZE 0x01000000u
#define WS_CAPTION 0x00C00000u
#define WS_BORDER 0x00800000u
#define WS_DLGFRAME 0x00400000u
#define WS_SYSMENU 0x00080000u
#define WS_THICKFRAME 0x00040000u
#define WS_MINIMIZEBOX 0x00020000u
#define WS_MAXIMIZEBOX 0x00010000u
#define WS_OVERLAPPEDWINDOW \
  (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)
#define WS_POPUPWINDOW (WS_POPUP | WS_BORDER | WS_SYSMENU)

#define WS_EX_DLGMODALFRAME 0x00000001u
#define WS_EX_TOPMOST 0x00000008u
#define WS_EX_ACCEPTFILES 0x00000010u
#define WS_EX_TRANSPARENT 0x00000020u
#define WS_EX_TOOLWINDOW 0x00000080u
#define WS_EX_WINDOWEDGE 0x00000100u
#define WS_EX_CLIENTEDGE 0x00000200u
#define WS_EX_STATICEDGE 0x00020000u
#define WS_EX_LAYERED 0x00080000u

#define CW_USEDEFAULT (static_cast<int>(0x80000000u))

#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_NORMAL 1
#define SW_SHOWMINIMIZED 2
#define SW_SHOWMAXIMIZED 3
#define SW_MAXIMIZE 3
#define SW_SHOWNOACTIVATE 4
#define SW_SHOW 5
#define SW_MINIMIZE 6
#define SW_SHOWMINNOACTIVE 7
#define SW_SHOWNA 8
#define SW_RESTORE 9

#define SWP_NOSIZE 0x0001u
#define SWP_NOMOVE 0x0002u
#define SWP_NOZORDER 0x0004u
#define SWP_NOREDRAW 0x0008u
#define SWP_NOACTIVATE 0x0010u
#define SWP_FRAMECHANGED 0x0020u
#define SWP_SHOWWINDOW 0x0040u
#define SWP_HIDEWINDOW 0x0080u

#define HWND_TOP (reinterpret_cast<HWND>(0))
#define HWND_BOTTOM (reinterpret_cast<HWND>(1))
#define HWND_TOPMOST (reinterpret_cast<HWND>(-1))
#define HWND_NOTOPMOST (reinterpret_cast<HWND>(-2))

#define GWL_WNDPROC (-4)
#define GWL_STYLE (-16)
#define GWL_EXSTYLE (-20)
#define GWLP_WNDPROC (-4)
#define GWLP_USERDATA (-21)

#define MAKEINTRESOURCEA(id) (reinterpret_cast<LPSTR>(static_cast<ULONG_PTR>(static_cast<WORD>(id))))
#define IDC_ARROW MAKEINTRESOURCEA(32512)
#define IDI_APPLICATION MAKEINTRESOURCEA(32512)

// Fails with ERROR_CLASS_ALREADY_EXISTS for a name already registered.
ATOM RegisterClassExA(const WNDCLASSEXA* window_class);
// Fails with ERROR_CLASS_HAS_WINDOWS while windows of the class exist.
BOOL UnregisterClassA(LPCSTR class_name, HINSTANCE instance);

// Sends WM_NCCREATE, WM_CREATE, WM_SIZE and WM_MOVE before returning;
// WM_CREATE returning -1 destroys the window and fails the call. Top-level
// windows of this layer have no parent and no menu bar.
HWND CreateWindowExA(DWORD ex_style, LPCSTR class_name, LPCSTR window_name, DWORD style, int x,
                     int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID parameter);
// Deactivates the window when it is active, then sends WM_DESTROY and
// WM_NCDESTROY; the handle is invalid afterwards.
BOOL DestroyWindow(HWND window);
BOOL IsWindow(HWND window);
// The desktop's window: one fixed handle that IsWindow accepts, the window
// a program names when it has none of its own (as DirectSound's
// cooperative level does).
HWND GetDesktopWindow();
BOOL IsWindowVisible(HWND window);
// Showing a hidden window activates it (WM_ACTIVATEAPP, WM_ACTIVATE with
// WA_ACTIVE, WM_SETFOCUS) unless the command is one of the no-activate ones.
// Returns whether the window was visible before.
BOOL ShowWindow(HWND window, int command);
// Sends WM_PAINT at once when the window has an invalid area.
BOOL UpdateWindow(HWND window);
BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
BOOL SetWindowPos(HWND window, HWND insert_after, int x, int y, int width, int height,
                  UINT flags);
BOOL SetWindowTextA(HWND window, LPCSTR text);
int GetWindowTextA(HWND window, LPSTR text, int max_count);
LONG GetWindowLongA(HWND window, int index);
LONG SetWindowLongA(HWND window, int index, LONG value);
LONG_PTR GetWindowLongPtrA(HWND window, int index);
LONG_PTR SetWindowLongPtrA(HWND window, int index, LONG_PTR value);

// Frame sizes follow GetSystemMetrics: the caption, the fixed (dialog) or
// sizing frame, a plain border and the client and static edges.
BOOL AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD ex_style);
BOOL GetWindowRect(HWND window, LPRECT rect);
BOOL GetClientRect(HWND window, LPRECT rect);
BOOL ClientToScreen(HWND window, LPPOINT point);
BOOL ScreenToClient(HWND window, LPPOINT point);

BOOL BringWindowToTop(HWND window);
HWND SetActiveWindow(HWND window);
HWND GetActiveWindow();
BOOL SetForegroundWindow(HWND window);
HWND GetForegroundWindow();
HWND GetFocus();

// Finds a window of this process by class and, when given, text; without
// one, a window of that class that another process of the same user holds
// (matched by class only; the handle returned then names that foreign
// window and serves only to tell that it exists).
HWND FindWindowA(LPCSTR class_name, LPCSTR window_name);
DWORD GetWindowThreadProcessId(HWND window, LPDWORD process_id);
// This layer has no foreground lock to share, so attaching succeeds between
// two different threads and has no further effect.
BOOL AttachThreadInput(DWORD attach_thread, DWORD attach_to_thread, BOOL attach);

// ---- Painting --------------------------------------------------------------

struct PAINTSTRUCT {
  HDC hdc;
  BOOL fErase;
  RECT rcPaint;
  BOOL fRestore;
  BOOL fIncUpdate;
  BYTE rgbReserved[32];
};
using LPPAINTSTRUCT = PAINTSTRUCT*;

BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
BOOL ValidateRect(HWND window, const RECT* rect);
// Sends WM_ERASEBKGND when the invalid area asked for erasing, validates the
// window and hands out its device context.
HDC BeginPaint(HWND window, LPPAINTSTRUCT paint);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);

// ---- Message queues --------------------------------------------------------

struct MSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
};
using LPMSG = MSG*;

#define PM_NOREMOVE 0x0000u
#define PM_REMOVE 0x0001u
#define PM_NOYIELD 0x0002u

// Each thread has its own queue. Retrieval order: posted and input
// messages in arrival order, then WM_QUIT (once PostQuitMessage was called
// and nothing posted is left), then WM_PAINT, then WM_TIMER. A window filter
// of (HWND)-1 takes only messages posted to the thread itself.
BOOL PeekMessageA(LPMSG msg, HWND window, UINT filter_min, UINT filter_max, UINT remove);
// Waits for a message; returns 0 for WM_QUIT, -1 for an invalid window.
BOOL GetMessageA(LPMSG msg, HWND window, UINT filter_min, UINT filter_max);
// From any thread; the message goes to the queue of the window's thread
// (a null window: the calling thread's own queue).
BOOL PostMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
// Calls the window procedure directly. Only the window's own thread may
// send: from another thread it fails, returning 0 with
// ERROR_ACCESS_DENIED.
LRESULT SendMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
void PostQuitMessage(int exit_code);

#define ERROR_INVALID_THREAD_ID 1444u

// To the queue of a thread (window null in the message). A thread has a
// queue once it called a message function; otherwise the post fails with
// ERROR_INVALID_THREAD_ID.
BOOL PostThreadMessageA(DWORD thread_id, UINT message, WPARAM wparam, LPARAM lparam);

// The same name (case-insensitively) gives the same message number, in
// 0xC000 to 0xFFFF; 0 for a null or empty name.
UINT RegisterWindowMessageA(LPCSTR name);

#define QS_KEY 0x0001u
#define QS_MOUSEMOVE 0x0002u
#define QS_MOUSEBUTTON 0x0004u
#define QS_POSTMESSAGE 0x0008u
#define QS_TIMER 0x0010u
#define QS_PAINT 0x0020u
#define QS_SENDMESSAGE 0x0040u
#define QS_HOTKEY 0x0080u
#define QS_MOUSE (QS_MOUSEMOVE | QS_MOUSEBUTTON)
#define QS_INPUT (QS_MOUSE | QS_KEY)
#define QS_ALLEVENTS (QS_INPUT | QS_POSTMESSAGE | QS_TIMER | QS_PAINT | QS_HOTKEY)
#define QS_ALLINPUT (QS_ALLEVENTS | QS_SENDMESSAGE)

// As WaitForMultipleObjects, and also ends with WAIT_OBJECT_0 + count when
// the calling thread's queue holds something of the kinds in `wake_mask`:
// posted messages (QS_POSTMESSAGE), window-system input (QS_INPUT), due
// timers (QS_TIMER). Messages already waiting count, not only new ones.
// Waiting for all objects, the wait ends (WAIT_OBJECT_0) only when they are
// all signalled and such a message waits as well.
// No thread sends to another here, so QS_SENDMESSAGE never fires.
DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL wait_all,
                                DWORD milliseconds, DWORD wake_mask);
// Posts the WM_CHAR (or WM_SYSCHAR) messages of a key-down: the text the
// window system typed with it, as code page 932 bytes, or the control
// character of Enter, Backspace, Tab, Escape and Ctrl+letter.
BOOL TranslateMessage(const MSG* msg);
// WM_TIMER with a timer procedure in lParam calls that procedure.
LRESULT DispatchMessageA(const MSG* msg);
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT CallWindowProcA(WNDPROC procedure, HWND window, UINT message, WPARAM wparam,
                        LPARAM lparam);
// No accelerator tables and no dialogs exist in this layer: both return 0.
int TranslateAcceleratorA(HWND window, HACCEL table, LPMSG msg);
BOOL IsDialogMessageA(HWND dialog, LPMSG msg);

// ---- Timers ----------------------------------------------------------------

// WM_TIMER is produced when the queue is read and the period has elapsed on
// the layer's clock (the virtual clock when it is on). Setting an existing
// id of the same window replaces it.
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse_ms, TIMERPROC procedure);
BOOL KillTimer(HWND window, UINT_PTR id);

// ---- Cursor and icons ------------------------------------------------------

// The display counter: the cursor shows while it is 0 or more.
int ShowCursor(BOOL show);
// A null cursor hides the pointer over the window. Returns the previous one.
HCURSOR SetCursor(HCURSOR cursor);
// Only the system cursors and icons exist (a null instance or any instance
// with IDC_ARROW / IDI_APPLICATION).
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name);
HICON LoadIconA(HINSTANCE instance, LPCSTR name);
// The pointer position as the window system last reported it (or as the
// controls injected it), kept inside the clip rectangle.
BOOL GetCursorPos(LPPOINT point);
// Null releases the clip.
BOOL ClipCursor(const RECT* rect);

// ---- System metrics and parameters -----------------------------------------

#define SM_CXSCREEN 0
#define SM_CYSCREEN 1
#define SM_CYCAPTION 4
#define SM_CXBORDER 5
#define SM_CYBORDER 6
#define SM_CXDLGFRAME 7
#define SM_CYDLGFRAME 8
#define SM_CXFIXEDFRAME SM_CXDLGFRAME
#define SM_CYFIXEDFRAME SM_CYDLGFRAME
#define SM_CXICON 11
#define SM_CYICON 12
#define SM_CXCURSOR 13
#define SM_CYCURSOR 14
#define SM_CYMENU 15
#define SM_CXFRAME 32
#define SM_CYFRAME 33
#define SM_CXSIZEFRAME SM_CXFRAME
#define SM_CYSIZEFRAME SM_CYFRAME
#define SM_CMOUSEBUTTONS 43
#define SM_CXEDGE 45
#define SM_CYEDGE 46
#define SM_MOUSEWHEELPRESENT 75
#define SM_CMONITORS 80

// Unknown indexes give 0.
int GetSystemMetrics(int index);

#define SPI_GETSCREENSAVEACTIVE 0x0010u
#define SPI_SETSCREENSAVEACTIVE 0x0011u
#define SPI_GETFOREGROUNDLOCKTIMEOUT 0x2000u
#define SPI_SETFOREGROUNDLOCKTIMEOUT 0x2001u
#define SPIF_UPDATEINIFILE 0x0001u
#define SPIF_SENDCHANGE 0x0002u

// The screen saver switch (which inhibits the window system's screen saver
// while off) and the foreground lock time-out (a value kept in
// milliseconds; the SET form takes it in the pointer argument). Other
// actions fail with ERROR_INVALID_PARAMETER.
BOOL SystemParametersInfoA(UINT action, UINT uint_parameter, LPVOID parameter, UINT win_ini);

// ---- Display settings ------------------------------------------------------

#define CCHDEVICENAME 32
#define CCHFORMNAME 32

struct DEVMODEA {
  BYTE dmDeviceName[CCHDEVICENAME];
  WORD dmSpecVersion;
  WORD dmDriverVersion;
  WORD dmSize;
  WORD dmDriverExtra;
  DWORD dmFields;
  POINT dmPosition;
  DWORD dmDisplayOrientation;
  DWORD dmDisplayFixedOutput;
  SHORT dmColor;
  SHORT dmDuplex;
  SHORT dmYResolution;
  SHORT dmTTOption;
  SHORT dmCollate;
  BYTE dmFormName[CCHFORMNAME];
  WORD dmLogPixels;
  DWORD dmBitsPerPel;
  DWORD dmPelsWidth;
  DWORD dmPelsHeight;
  DWORD dmDisplayFlags;
  DWORD dmDisplayFrequency;
  DWORD dmICMMethod;
  DWORD dmICMIntent;
  DWORD dmMediaType;
  DWORD dmDitherType;
  DWORD dmReserved1;
  DWORD dmReserved2;
  DWORD dmPanningWidth;
  DWORD dmPanningHeight;
};
using LPDEVMODEA = DEVMODEA*;

#define DM_BITSPERPEL 0x00040000u
#define DM_PELSWIDTH 0x00080000u
#define DM_PELSHEIGHT 0x00100000u
#define DM_DISPLAYFREQUENCY 0x00400000u

#define ENUM_CURRENT_SETTINGS (static_cast<DWORD>(-1))
#define ENUM_REGISTRY_SETTINGS (static_cast<DWORD>(-2))

#define CDS_UPDATEREGISTRY 0x00000001u
#define CDS_TEST 0x00000002u
#define CDS_FULLSCREEN 0x00000004u

#define DISP_CHANGE_SUCCESSFUL 0
#define DISP_CHANGE_FAILED (-1)
#define DISP_CHANGE_BADMODE (-2)
#define DISP_CHANGE_BADPARAM (-5)

// The display's modes (the desktop's own list from the window system, or a
// fixed list of common modes at 16 and 32 bits when there is no display),
// and ENUM_CURRENT_SETTINGS / ENUM_REGISTRY_SETTINGS for the current and
// the desktop mode. Only the primary display (a null device name) exists.
BOOL EnumDisplaySettingsA(LPCSTR device_name, DWORD mode_number, LPDEVMODEA mode);
// A listed mode becomes the current one (CDS_TEST only checks it); windows
// that cover the whole screen then go full screen in that mode through the
// window system. Null (or a zero mode) restores the desktop mode.
LONG ChangeDisplaySettingsA(LPDEVMODEA mode, DWORD flags);

// ---- Clipboard -------------------------------------------------------------

#define CF_TEXT 1u

// The clipboard is the window system's, shared with other programs; CF_TEXT
// is code page 932 text in a global memory block, converted to and from the
// window system's UTF-8.
BOOL OpenClipboard(HWND owner);
BOOL CloseClipboard();
BOOL EmptyClipboard();
// The clipboard takes ownership of the block. Only CF_TEXT is kept.
HANDLE SetClipboardData(UINT format, HANDLE memory);
// The block stays the clipboard's; it is valid until the clipboard changes.
HANDLE GetClipboardData(UINT format);
BOOL IsClipboardFormatAvailable(UINT format);

// ---- Input method switch ---------------------------------------------------

// Whether the window accepts input-method text; returns the previous
// setting. Exported by User32.dll for programs that load it at run time.
BOOL WINNLSEnableIME(HWND window, BOOL enable);

// ---- Layered windows -------------------------------------------------------

typedef DWORD COLORREF;  // 0x00BBGGRR

struct BLENDFUNCTION {
  BYTE BlendOp;
  BYTE BlendFlags;
  BYTE SourceConstantAlpha;
  BYTE AlphaFormat;
};

#define AC_SRC_OVER 0x00
#define AC_SRC_ALPHA 0x01
#define ULW_COLORKEY 0x00000001u
#define ULW_ALPHA 0x00000002u

// Shows the bitmap selected into `source` (a 32-bit DIB section) as the
// whole window of a WS_EX_LAYERED window: with ULW_COLORKEY the pixels of
// the key colour are holes; with ULW_ALPHA the pixels are premultiplied by
// their alpha and alpha 0 is a hole. `position` moves the window and
// `size` sizes it (null keeps them). The window system shows the holes
// where it can shape windows; partial alpha it cannot show is drawn over
// black. Exported by User32.dll for programs that load it at run time.
BOOL UpdateLayeredWindow(HWND window, HDC destination, POINT* position, SIZE* size, HDC source,
                         POINT* source_origin, COLORREF key, BLENDFUNCTION* blend, DWORD flags);
