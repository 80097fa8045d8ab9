// File times as the six date fields of a FileInfo, in local time.
#include "core/files/file_info.h"
#include "platform/kernel32.h"

void FileTimeToDate(const FILETIME* fileTime, int* date) {
  FILETIME local{};
  SYSTEMTIME system{};
  FileTimeToLocalFileTime(fileTime, &local);
  FileTimeToSystemTime(&local, &system);
  date[0] = system.wYear;
  date[1] = system.wMonth;
  date[2] = system.wDay;
  date[3] = system.wHour;
  date[4] = system.wMinute;
  date[5] = system.wSecond;
}
