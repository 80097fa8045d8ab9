// The record that the find operations of every file set fill.
#pragma once

#include "platform/wintypes.h"

struct FileInfo {
  char name[MAX_PATH];
  DWORD directory;  // 1 for a directory
  DWORD sizeLow;
  DWORD sizeHigh;
  int creationDate[6];   // year, month, day, hour, minute, second, local time
  int lastWriteDate[6];
};

// Converts a file time to local time and stores year, month, day, hour,
// minute and second.
void FileTimeToDate(const FILETIME* fileTime, int* date);
