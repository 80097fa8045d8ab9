// The character-set class that the double-byte text routines use: 1 for
// Shift-JIS (the default), 2 Korean, 3 traditional and 4 simplified Chinese.
#pragma once

int GetCharSetClass();
void SetCharSetClass(int charSetClass);
