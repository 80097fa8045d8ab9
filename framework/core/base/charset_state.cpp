#include "core/base/charset_state.h"

namespace {
int g_charSetClass = 1;
}

int GetCharSetClass() { return g_charSetClass; }

void SetCharSetClass(int charSetClass) { g_charSetClass = charSetClass; }
