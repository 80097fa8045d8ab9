// The Windows umbrella header: base types and the modules a program links
// directly.
#pragma once

#include "platform/kernel32.h"
#include "platform/gdi32.h"
#include "platform/user32.h"
#include "platform/shell32.h"
