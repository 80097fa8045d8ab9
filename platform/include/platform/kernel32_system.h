// kernel32 system services: synchronisation, threads, memory, time, system
// information, code pages and modules.
#pragma once

#include "platform/wintypes.h"
#include "platform/kernel32_base.h"

// ---- Critical sections -----------------------------------------------------

// Recursive per thread. The storage holds the lock itself, so a critical
// section needs no allocation and only Initialize/Delete around its use.
struct CRITICAL_SECTION {
  alignas(16) BYTE opaque[64];
};
using LPCRITICAL_SECTION = CRITICAL_SECTION*;

void InitializeCriticalSection(LPCRITICAL_SECTION section);
void DeleteCriticalSection(LPCRITICAL_SECTION section);
void EnterCriticalSection(LPCRITICAL_SECTION section);
BOOL TryEnterCriticalSection(LPCRITICAL_SECTION section);
void LeaveCriticalSection(LPCRITICAL_SECTION section);

// ---- Events and waits ------------------------------------------------------

#define WAIT_OBJECT_0 0x00000000u
#define WAIT_ABANDONED_0 0x00000080u
#define WAIT_TIMEOUT 0x00000102u
#define WAIT_FAILED 0xFFFFFFFFu
#define MAXIMUM_WAIT_OBJECTS 64

HANDLE CreateEventA(LPSECURITY_ATTRIBUTES attributes, BOOL manual_reset, BOOL initial_state,
                    LPCSTR name);
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);

#define ERROR_TOO_MANY_POSTS 298u

// A wait takes one from the count; releasing past the maximum fails with
// ERROR_TOO_MANY_POSTS and leaves the count as it was.
HANDLE CreateSemaphoreA(LPSECURITY_ATTRIBUTES attributes, LONG initial_count, LONG maximum_count,
                        LPCSTR name);
BOOL ReleaseSemaphore(HANDLE semaphore, LONG release_count, LPLONG previous_count);

// Events and semaphores may be waited for together.
DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds);
DWORD WaitForMultipleObjects(DWORD count, const HANDLE* objects, BOOL wait_all,
                             DWORD milliseconds);

// ---- Threads ---------------------------------------------------------------

using LPTHREAD_START_ROUTINE = DWORD (*)(LPVOID parameter);

#define CREATE_SUSPENDED 0x00000004u
#define STILL_ACTIVE 259u

#define THREAD_PRIORITY_IDLE (-15)
#define THREAD_PRIORITY_LOWEST (-2)
#define THREAD_PRIORITY_BELOW_NORMAL (-1)
#define THREAD_PRIORITY_NORMAL 0
#define THREAD_PRIORITY_ABOVE_NORMAL 1
#define THREAD_PRIORITY_HIGHEST 2
#define THREAD_PRIORITY_TIME_CRITICAL 15
#define THREAD_PRIORITY_ERROR_RETURN 0x7FFFFFFF

HANDLE CreateThread(LPSECURITY_ATTRIBUTES attributes, SIZE_T stack_size,
                    LPTHREAD_START_ROUTINE start, LPVOID parameter, DWORD creation_flags,
                    LPDWORD thread_id);
DWORD ResumeThread(HANDLE thread);
[[noreturn]] void ExitThread(DWORD exit_code);
BOOL GetExitCodeThread(HANDLE thread, LPDWORD exit_code);
DWORD GetCurrentThreadId();
// A pseudo-handle meaning "the calling thread"; it needs no closing.
HANDLE GetCurrentThread();
BOOL SetThreadPriority(HANDLE thread, int priority);
int GetThreadPriority(HANDLE thread);
// Sleep(0) gives up the rest of the time slice.
void Sleep(DWORD milliseconds);

// ---- Interlocked operations ------------------------------------------------

LONG InterlockedIncrement(volatile LONG* addend);
LONG InterlockedDecrement(volatile LONG* addend);
LONG InterlockedExchange(volatile LONG* target, LONG value);
LONG InterlockedCompareExchange(volatile LONG* destination, LONG exchange, LONG comparand);
LONG InterlockedExchangeAdd(volatile LONG* addend, LONG value);

// ---- Memory ----------------------------------------------------------------

#define HEAP_ZERO_MEMORY 0x00000008u

HANDLE GetProcessHeap();
LPVOID HeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes);
// On failure the old block stays valid. HEAP_ZERO_MEMORY zero-fills the
// bytes beyond the old size when the block grows.
LPVOID HeapReAlloc(HANDLE heap, DWORD flags, LPVOID memory, SIZE_T bytes);
BOOL HeapFree(HANDLE heap, DWORD flags, LPVOID memory);
SIZE_T HeapSize(HANDLE heap, DWORD flags, LPCVOID memory);

#define ERROR_INVALID_ADDRESS 487u

#define MEM_COMMIT 0x00001000u
#define MEM_RESERVE 0x00002000u
#define MEM_DECOMMIT 0x00004000u
#define MEM_RELEASE 0x00008000u
#define PAGE_NOACCESS 0x01u
#define PAGE_READONLY 0x02u
#define PAGE_READWRITE 0x04u
#define PAGE_EXECUTE 0x10u
#define PAGE_EXECUTE_READ 0x20u
#define PAGE_EXECUTE_READWRITE 0x40u

LPVOID VirtualAlloc(LPVOID address, SIZE_T size, DWORD allocation_type, DWORD protect);
BOOL VirtualFree(LPVOID address, SIZE_T size, DWORD free_type);

#define ERROR_NOT_LOCKED 158u

#define GMEM_FIXED 0x0000u
#define GMEM_MOVEABLE 0x0002u
#define GMEM_ZEROINIT 0x0040u
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
LPVOID GlobalLock(HGLOBAL memory);
// TRUE while the block is still locked, FALSE once the lock count is 0.
BOOL GlobalUnlock(HGLOBAL memory);
// Null on success, the handle on failure.
HGLOBAL GlobalFree(HGLOBAL memory);
SIZE_T GlobalSize(HGLOBAL memory);

// ---- Time ------------------------------------------------------------------

// The performance counter runs at 10 MHz (100 ns per count).
BOOL QueryPerformanceCounter(LARGE_INTEGER* count);
BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);
// Milliseconds since the system started, wrapping at 2^32.
DWORD GetTickCount();
void GetLocalTime(LPSYSTEMTIME time);
void GetSystemTime(LPSYSTEMTIME time);
BOOL FileTimeToSystemTime(const FILETIME* file_time, LPSYSTEMTIME system_time);
BOOL SystemTimeToFileTime(const SYSTEMTIME* system_time, LPFILETIME file_time);
BOOL FileTimeToLocalFileTime(const FILETIME* file_time, LPFILETIME local_file_time);

// ---- System information ----------------------------------------------------

#define VER_PLATFORM_WIN32s 0
#define VER_PLATFORM_WIN32_WINDOWS 1
#define VER_PLATFORM_WIN32_NT 2
#define VER_NT_WORKSTATION 1

struct OSVERSIONINFOA {
  DWORD dwOSVersionInfoSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformId;
  CHAR szCSDVersion[128];
};
using LPOSVERSIONINFOA = OSVERSIONINFOA*;

// The same fields as OSVERSIONINFOA, then the service pack and product.
struct OSVERSIONINFOEXA : OSVERSIONINFOA {
  WORD wServicePackMajor;
  WORD wServicePackMinor;
  WORD wSuiteMask;
  BYTE wProductType;
  BYTE wReserved;
};

// Accepts an OSVERSIONINFOA or an OSVERSIONINFOEXA, told apart by the size
// field the caller set.
BOOL GetVersionExA(LPOSVERSIONINFOA version);

#define PROCESSOR_ARCHITECTURE_INTEL 0
#define PROCESSOR_ARCHITECTURE_ARM 5
#define PROCESSOR_ARCHITECTURE_AMD64 9
#define PROCESSOR_ARCHITECTURE_ARM64 12
#define PROCESSOR_ARCHITECTURE_UNKNOWN 0xFFFF

struct SYSTEM_INFO {
  union {
    DWORD dwOemId;
    struct {
      WORD wProcessorArchitecture;
      WORD wReserved;
    };
  };
  DWORD dwPageSize;
  LPVOID lpMinimumApplicationAddress;
  LPVOID lpMaximumApplicationAddress;
  DWORD_PTR dwActiveProcessorMask;
  DWORD dwNumberOfProcessors;
  DWORD dwProcessorType;
  DWORD dwAllocationGranularity;
  WORD wProcessorLevel;
  WORD wProcessorRevision;
};
using LPSYSTEM_INFO = SYSTEM_INFO*;

void GetSystemInfo(LPSYSTEM_INFO info);

// The sizes are clamped to 0xFFFFFFFF, as a 32-bit program is told.
struct MEMORYSTATUS {
  DWORD dwLength;
  DWORD dwMemoryLoad;
  SIZE_T dwTotalPhys;
  SIZE_T dwAvailPhys;
  SIZE_T dwTotalPageFile;
  SIZE_T dwAvailPageFile;
  SIZE_T dwTotalVirtual;
  SIZE_T dwAvailVirtual;
};
using LPMEMORYSTATUS = MEMORYSTATUS*;

struct MEMORYSTATUSEX {
  DWORD dwLength;
  DWORD dwMemoryLoad;
  DWORDLONG ullTotalPhys;
  DWORDLONG ullAvailPhys;
  DWORDLONG ullTotalPageFile;
  DWORDLONG ullAvailPageFile;
  DWORDLONG ullTotalVirtual;
  DWORDLONG ullAvailVirtual;
  DWORDLONG ullAvailExtendedVirtual;
};
using LPMEMORYSTATUSEX = MEMORYSTATUSEX*;

void GlobalMemoryStatus(LPMEMORYSTATUS status);
// Fails with ERROR_INVALID_PARAMETER unless dwLength is the structure's size.
BOOL GlobalMemoryStatusEx(LPMEMORYSTATUSEX status);

// ---- Code pages ------------------------------------------------------------

#define CP_ACP 0u
#define CP_OEMCP 1u
#define CP_UTF8 65001u

#define MB_PRECOMPOSED 0x00000001u
#define MB_ERR_INVALID_CHARS 0x00000008u

// The ANSI and the OEM code page are both 932.
UINT GetACP();
UINT GetOEMCP();
BOOL IsDBCSLeadByte(BYTE test_char);

// Code pages 932 (also as CP_ACP and CP_OEMCP) and CP_UTF8. A source length
// of -1 converts up to and including the terminator; an output size of 0
// returns the size needed. Bytes that do not convert become '?'.
int MultiByteToWideChar(UINT code_page, DWORD flags, LPCSTR multi_byte, int multi_byte_length,
                        LPWSTR wide, int wide_length);
int WideCharToMultiByte(UINT code_page, DWORD flags, LPCWSTR wide, int wide_length,
                        LPSTR multi_byte, int multi_byte_length, LPCSTR default_char,
                        LPBOOL used_default_char);

// ---- Arithmetic and strings ----------------------------------------------

// number * numerator / denominator with a 64-bit product, rounded half away
// from zero; -1 when the denominator is 0 or the result does not fit.
int MulDiv(int number, int numerator, int denominator);
// Case-sensitive comparison by UTF-16 unit values (not a linguistic
// order): -1, 0 or 1. A null string is less than any other.
int lstrcmpW(LPCWSTR first, LPCWSTR second);

// ---- Process and debugger --------------------------------------------------

// Writes the text to stderr, converted to UTF-8.
void OutputDebugStringA(LPCSTR text);
[[noreturn]] void ExitProcess(UINT exit_code);

// ---- Modules ---------------------------------------------------------------

// An export's address, cast by the caller to the function's real type. It
// is declared as the one function type a cast may turn into any other
// without a -Wcast-function-type warning.
using FARPROC = void (*)();

// The layer's built-in modules, by name: case does not matter, nor a
// ".dll" ending or a leading folder. Loads are reference counted.
HMODULE LoadLibraryA(LPCSTR file_name);
BOOL FreeLibrary(HMODULE module);
FARPROC GetProcAddress(HMODULE module, LPCSTR proc_name);
// Null names the program itself; a name finds a module that is loaded.
HMODULE GetModuleHandleA(LPCSTR module_name);
