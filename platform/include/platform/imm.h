// Imm32: the input-method editor of a window. The window system's input
// method composes text; its composition and its result reach the window as
// WM_IME_STARTCOMPOSITION, WM_IME_COMPOSITION and WM_IME_ENDCOMPOSITION
// while the window's input method is enabled (WINNLSEnableIME) and open,
// and the strings are read back here in code page 932.
#pragma once

#include "platform/wintypes.h"

// WM_IME_COMPOSITION lParam and ImmGetCompositionStringA index.
#define GCS_COMPSTR 0x0008u
#define GCS_COMPATTR 0x0010u
#define GCS_COMPCLAUSE 0x0020u
#define GCS_CURSORPOS 0x0080u
#define GCS_RESULTSTR 0x0800u

// Composition attributes, one byte per byte of the composition.
#define ATTR_INPUT 0x00

// ImmSetCompositionStringA index.
#define SCS_SETSTR (GCS_COMPSTR | 0x0001u)

// ImmNotifyIME.
#define NI_COMPOSITIONSTR 0x0015u
#define CPS_COMPLETE 0x0001u
#define CPS_CANCEL 0x0004u

// WM_IME_NOTIFY wParam.
#define IMN_CHANGECANDIDATE 0x0003u
#define IMN_CLOSECANDIDATE 0x0004u
#define IMN_OPENCANDIDATE 0x0005u
#define IMN_SETOPENSTATUS 0x0008u
#define IMN_SETCANDIDATEPOS 0x0009u

// ImmGetConversionStatus.
#define IME_CMODE_NATIVE 0x0001u
#define IME_CMODE_FULLSHAPE 0x0008u
#define IME_SMODE_PHRASEPREDICT 0x0008u

struct CANDIDATELIST {
  DWORD dwSize;
  DWORD dwStyle;
  DWORD dwCount;
  DWORD dwSelection;
  DWORD dwPageStart;
  DWORD dwPageSize;
  DWORD dwOffset[1];
};
using LPCANDIDATELIST = CANDIDATELIST*;

// Null for an invalid window.
HIMC ImmGetContext(HWND window);
BOOL ImmReleaseContext(HWND window, HIMC context);
// Bytes of the string (or the cursor's position in bytes for
// GCS_CURSORPOS); with a zero length only the size needed. Negative
// (IMM_ERROR_GENERAL) for an invalid context or index.
LONG ImmGetCompositionStringA(HIMC context, DWORD index, LPVOID buffer, DWORD length);
// SCS_SETSTR replaces the text being composed (the reading is not kept).
BOOL ImmSetCompositionStringA(HIMC context, DWORD index, LPCVOID composition,
                              DWORD composition_length, LPCVOID reading, DWORD reading_length);
// NI_COMPOSITIONSTR with CPS_CANCEL drops the composition, CPS_COMPLETE
// makes it the result.
BOOL ImmNotifyIME(HIMC context, DWORD action, DWORD index, DWORD value);
BOOL ImmGetOpenStatus(HIMC context);
// A change sends WM_IME_NOTIFY with IMN_SETOPENSTATUS.
BOOL ImmSetOpenStatus(HIMC context, BOOL open);
// The window system's input method shows its own candidate window and
// tells no candidates: the size is always 0.
DWORD ImmGetCandidateListA(HIMC context, DWORD index, LPCANDIDATELIST list, DWORD length);
BOOL ImmGetConversionStatus(HIMC context, LPDWORD conversion, LPDWORD sentence);

#define IMM_ERROR_GENERAL (-2)
