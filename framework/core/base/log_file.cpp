#include "core/base/log_file.h"

#include <cstring>
#include <string>

#include "core/base/charset_state.h"
#include "platform/mmsystem.h"
#include "platform/windows.h"
#include "core/base/string_utils.h"
#include "core/base/tracked_allocator.h"

namespace {

constexpr std::size_t kLocalConversionLimit = 255;
constexpr std::size_t kFormatBufferSize = 1024;

struct LogState {
  int disabled = 0;
  int dateNamedFile = 0;
  int timeStampOff = 0;
  char folder[MAX_PATH] = "";
  char fileName[64] = "Log.txt";
  int indent = 0;
  int midLine = 0;
  DWORD startTime = 0;
};

LogState g_log;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// True when the folder's last character is a path separator; the scan steps
// over double-byte characters so that a trail byte 0x5C is not taken for one.
bool EndsWithSeparator(const char* folder) {
  const int charSetClass = GetCharSetClass();
  bool lastIsSeparator = false;
  for (const char* p = folder; *p != '\0';) {
    if (IsLeadByte(p, charSetClass) && p[1] != '\0') {
      lastIsSeparator = false;
      p += 2;
    } else {
      lastIsSeparator = IsSeparator(*p);
      p += 1;
    }
  }
  return lastIsSeparator;
}

void BuildLogPath(char* path, std::size_t size) {
  FormatString(path, size, "%s%s%s", g_log.folder, EndsWithSeparator(g_log.folder) ? "" : "\\", g_log.fileName);
}

// Copies text to out, turning each bare line feed into CR LF. Double-byte
// characters are stepped over so a trail byte is never taken for a line
// feed. At the first line feed that already has its CR the text is taken as
// converted and the rest is copied unchanged. out holds 2 * length + 1 bytes.
// Returns the converted length.
std::size_t ConvertLineFeeds(const char* text, std::size_t length, char* out) {
  const int charSetClass = GetCharSetClass();
  std::size_t i = 0;
  std::size_t o = 0;
  while (i < length) {
    if (IsLeadByte(text + i, charSetClass) && i + 1 < length) {
      out[o++] = text[i++];
      out[o++] = text[i++];
      continue;
    }
    if (text[i] == '\n') {
      if (i > 0 && text[i - 1] == '\r') break;
      out[o++] = '\r';
    }
    out[o++] = text[i++];
  }
  std::memcpy(out + o, text + i, length - i);
  o += length - i;
  out[o] = '\0';
  return o;
}

// Writes a piece to the file (when open) and to the debugger.
void WritePiece(HANDLE file, const char* piece, std::size_t length) {
  if (file != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    WriteFile(file, piece, static_cast<DWORD>(length), &written, nullptr);
  }
  OutputDebugStringA(piece);
}

void WriteLinePrefix(HANDLE file) {
  std::string prefix;
  if (!g_log.timeStampOff) {
    char stamp[16];
    // Unsigned difference: correct across the millisecond clock's wrap.
    FormatString(stamp, sizeof(stamp), "%u:", static_cast<unsigned>(timeGetTime() - g_log.startTime));
    prefix = stamp;
  }
  prefix.append(static_cast<std::size_t>(g_log.indent), '\t');
  if (!prefix.empty()) WritePiece(file, prefix.c_str(), prefix.size());
}

void WriteConverted(const char* text, std::size_t length) {
  if (g_log.disabled || g_log.folder[0] == '\0') return;
  char path[MAX_PATH * 2];
  BuildLogPath(path, sizeof(path));
  HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) SetFilePointer(file, 0, nullptr, FILE_END);
  if (!g_log.midLine) WriteLinePrefix(file);
  WritePiece(file, text, length);
  g_log.midLine = (length == 0 || text[length - 1] != '\n') ? 1 : 0;
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

}  // namespace

int OpenLogFile() {
  if (g_log.disabled) return 0;
  if (g_log.dateNamedFile) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    GetLocalDate(&year, &month, &day, &hour, &minute, &second);
    FormatString(g_log.fileName, sizeof(g_log.fileName), "Log%d_%d_%d_%d_%d_%d.txt", year, month, day, hour,
                 minute, second);
  } else {
    StringCopy(g_log.fileName, "Log.txt");
  }
  if (g_log.folder[0] != '\0') {
    char path[MAX_PATH * 2];
    BuildLogPath(path, sizeof(path));
    DeleteFileA(path);
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  }
  g_log.indent = 0;
  g_log.midLine = 0;
  g_log.startTime = timeGetTime();
  return 0;
}

int LogWrite(const char* text) {
  const std::size_t length = std::strlen(text);
  if (length <= kLocalConversionLimit) {
    char local[kLocalConversionLimit * 2 + 1];
    WriteConverted(local, ConvertLineFeeds(text, length, local));
  } else {
    auto* buffer = static_cast<char*>(TrackedAlloc(length * 2 + 1, nullptr, -1));
    if (buffer == nullptr) return -1;
    WriteConverted(buffer, ConvertLineFeeds(text, length, buffer));
    TrackedFree(buffer);
  }
  return -1;
}

int LogWriteThunk(const char* text) { return LogWrite(text); }

int LogWriteFormatV(const char* format, va_list args) {
  char buffer[kFormatBufferSize];
  // One byte is kept for the line feed appended below.
  const int length = FormatStringV(buffer, sizeof(buffer) - 1, format, args);
  buffer[length] = '\n';
  buffer[length + 1] = '\0';
  return LogWrite(buffer);
}

int LogWriteFormat(const char* format, ...) {
  va_list args;
  va_start(args, format);
  LogWriteFormatV(format, args);
  va_end(args);
  return -1;
}

int IncreaseLogIndent() {
  ++g_log.indent;
  return 0;
}

int DecreaseLogIndent() {
  if (g_log.indent > 0) --g_log.indent;
  return 0;
}

void SetLogFolder(const char* folder) { StringCopyN(g_log.folder, folder, static_cast<int>(sizeof(g_log.folder)) - 1); }

const char* GetLogFolder() { return g_log.folder; }

void SetLogDisabled(int disabled) { g_log.disabled = disabled; }
void SetLogDateNamedFile(int dateNamed) { g_log.dateNamedFile = dateNamed; }
void SetLogTimeStampOff(int off) { g_log.timeStampOff = off; }
