// The desktop window's handle. It stands outside the window table: it is
// never created, destroyed or painted by this process.
#include <cstdint>

#include "platform/user32.h"

namespace {

// Even like every window handle of the table, below where the table starts.
constexpr std::uintptr_t kDesktopWindowHandle = 0x1000C;

}  // namespace

HWND GetDesktopWindow() { return reinterpret_cast<HWND>(kDesktopWindowHandle); }
