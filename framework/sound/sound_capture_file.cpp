// The WAV capture file: when a capture runs, its 46-byte header is written
// over the start of the file at the end and the file closed. Nothing in
// this system opens one.
#include <cstring>

#include "platform/mmsystem.h"
#include "platform/windows.h"
#include "sound/sound_tables.h"

namespace {

struct CaptureState {
  std::int32_t capturing;
  std::uint32_t framesWritten;
  HANDLE file;
};

CaptureState g_capture{};

void Put32(BYTE* at, std::uint32_t value) { std::memcpy(at, &value, 4); }
void Put16(BYTE* at, std::uint16_t value) { std::memcpy(at, &value, 2); }

}  // namespace

int FinishSoundCaptureFile() {
  if (!g_capture.capturing) return -1;
  const std::uint32_t dataBytes = 4 * g_capture.framesWritten;
  BYTE header[46] = {};
  std::memcpy(header, "RIFF", 4);
  Put32(header + 4, dataBytes + 38);
  std::memcpy(header + 8, "WAVEfmt ", 8);
  Put32(header + 16, 18);
  Put16(header + 20, WAVE_FORMAT_PCM);
  Put16(header + 22, 2);
  Put32(header + 24, 44100);
  Put32(header + 28, 176400);
  Put16(header + 32, 4);
  Put16(header + 34, 16);
  std::memcpy(header + 38, "data", 4);
  Put32(header + 42, dataBytes);
  SetFilePointer(g_capture.file, 0, nullptr, FILE_BEGIN);
  DWORD written = 0;
  WriteFile(g_capture.file, header, sizeof header, &written, nullptr);
  CloseHandle(g_capture.file);
  g_capture = CaptureState{};
  return 0;
}
