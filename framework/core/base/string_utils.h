// The framework's own string and memory routines, several aware of
// double-byte text in the current character-set class.
#pragma once

#include <cstdarg>
#include <cstddef>

#include "platform/wintypes.h"

void StringCopy(char* dst, const char* src);
// Copies at most n bytes and always terminates (n < 1 gives "").
void StringCopyN(char* dst, const char* src, int n);

// 1 when the byte starts a double-byte character of the class.
int IsLeadByte(const BYTE* byte, int charSetClass);
inline int IsLeadByte(const char* byte, int charSetClass) {
  return IsLeadByte(reinterpret_cast<const BYTE*>(byte), charSetClass);
}

// First occurrence of a single-byte character, never matching a trail byte;
// null when absent.
const char* StringFindCharMB(const char* text, char ch);
inline char* StringFindCharMB(char* text, char ch) {
  return const_cast<char*>(StringFindCharMB(static_cast<const char*>(text), ch));
}

// 0 when equal, 1 when different.
int StringCompare(const char* a, const char* b);
// Upper-cases ASCII letters in place; returns the terminator's address.
char* StringToUpperMB(char* text);
// Characters (a double-byte one counts once) in the first n bytes.
int CountCharsMB(const char* text, int n);
// Digits above 9 are lower-case letters; negatives get a minus sign.
// The buffer must hold 34 bytes for radix 2 (sign, 32 digits, terminator).
char* IntToString(int value, char* buffer, int radix);

void MemoryFill(void* dst, int byte, std::size_t n);
void MemoryCopy(void* dst, const void* src, std::size_t n);
void MemoryMove(void* dst, const void* src, std::size_t n);
// 0 when equal, 1 when different.
int MemoryCompare(const void* a, const void* b, std::size_t n);
// As MemoryCompare; a negative count gives 1.
int MemoryCompareSigned(const void* a, const void* b, int n);

// Bounded printf-style formatting: never writes more than bufferSize bytes,
// always terminates (when bufferSize > 0), cuts longer text. Returns the
// number of characters stored.
int FormatStringV(char* buffer, std::size_t bufferSize, const char* format, va_list args);
// As FormatStringV; returns 0.
int FormatString(char* buffer, std::size_t bufferSize, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
