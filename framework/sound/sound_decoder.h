// Sound decoders: a sound file read through a StreamSource becomes PCM.
// Plain PCM WAVE, compressed WAVE and MP3 through the audio compression
// manager, Ogg Vorbis through vorbisfile, and a PCM block converted by the
// media subsystem as the last resort.
#pragma once

#include <vorbis/vorbisfile.h>

#include <cstdint>

#include "core/files/stream_functions.h"
#include "platform/msacm.h"
#include "platform/windows.h"

enum SoundDecoderKind : std::int32_t {
  kDecoderWavePcm = 0,
  kDecoderAcm = 1,
  kDecoderOggVorbis = 2,
  kDecoderPcmBlock = 3,
};

// Bits of the decoder skip mask, in the order the decoders are tried.
constexpr std::uint32_t kSkipWavePcm = 0x01;
constexpr std::uint32_t kSkipWaveAcm = 0x02;
constexpr std::uint32_t kSkipOggVorbis = 0x04;
constexpr std::uint32_t kSkipMp3 = 0x08;
constexpr std::uint32_t kSkipDirectShow = 0x10;

// The read buffer never grows past this, whatever rate a damaged header
// claims (a real second of PCM is far smaller).
constexpr std::uint32_t kLargestReadUnit = 1u << 22;

struct AcmDecoderState {
  WAVEFORMATEX* sourceFormat;
  HACMSTREAM mainStream;
  HACMSTREAM spareStream;
  BYTE* compressed;
  std::uint32_t compressedBytes;
  std::uint32_t mainReadPosition;
  std::int32_t totalSamples;  // -1 = unknown
  std::uint32_t spareCompressedPosition;
  std::uint32_t sparePcmBytes;
  BYTE* scratch;
};

struct OggDecoderState {
  std::int32_t opened;
  OggVorbis_File file;
  std::uint32_t sampleWidth;
};

struct PcmBlockState {
  BYTE* block;
  std::uint32_t capacity;
  std::uint32_t bytes;
  std::uint32_t readPosition;
};

struct SoundDecoder {
  std::int32_t valid;
  std::int32_t endReached;
  std::int32_t kind;
  StreamSource source;
  std::uint32_t formatChunkPosition;
  std::uint32_t formatChunkSize;
  std::uint32_t dataStart;
  std::uint32_t dataBytes;
  WAVEFORMATEX format;
  AcmDecoderState acm;
  OggDecoderState ogg;
  PcmBlockState pcmBlock;
  BYTE* readBuffer;
  std::uint32_t readUnit;
  std::uint32_t bufferValid;
  std::uint32_t bufferConsumed;
  std::uint32_t position;  // PCM bytes delivered from the start of the data
  std::int32_t movieSound;
};

int SetupSoundDecoder(const StreamSource* source, SoundDecoder* decoder);
// Bytes delivered (fewer at the end); 0 once the end was reached; -1 when
// the decoder is not set up.
int ReadSoundDecoder(SoundDecoder* decoder, void* destination, std::uint32_t bytes);
int SeekSoundDecoder(SoundDecoder* decoder, std::int32_t sample);
int CloseSoundDecoder(SoundDecoder* decoder);
int GetSoundDecoderFormat(const SoundDecoder* decoder, WAVEFORMATEX* format);
std::uint32_t GetSoundDecoderPcmSize(SoundDecoder* decoder);
// Decodes everything into a new tracked block.
int DecodeSoundToMemory(SoundDecoder* decoder, WAVEFORMATEX* format, void** block, std::uint32_t* bytes);
// An in-memory RIFF WAVE file of the PCM (tracked block).
int CreateTempWaveImage(void** image, std::uint32_t* size, const WAVEFORMATEX* format,
                        std::uint32_t formatSize, const void* pcm, std::uint32_t pcmBytes);
// The stream's whole contents in a new tracked block.
int ReadWholeStream(const StreamSource* source, void** block, std::uint32_t* bytes);

// The decoders SetupSoundDecoder tries; each leaves nothing behind when it
// refuses the data.
int SetupWavePcmDecoder(SoundDecoder* decoder);
int SetupWaveAcmDecoder(SoundDecoder* decoder);
int SetupOggVorbisDecoder(SoundDecoder* decoder);
int SetupMp3Decoder(SoundDecoder* decoder);
// Converts through the media subsystem's filter graph into a PCM block.
int SetupDirectShowDecoder(SoundDecoder* decoder);

// Per-kind refill of the read buffer: 0, or -1 at the end of the data.
int RefillWavePcmDecoder(SoundDecoder* decoder);
int RefillAcmDecoder(SoundDecoder* decoder);
int RefillOggVorbisDecoder(SoundDecoder* decoder);
int RefillPcmBlockDecoder(SoundDecoder* decoder);
// The conversion set-up shared by compressed WAVE and MP3, over the
// decoder's source format and data chunk; the read unit is that fraction of
// the output's bytes per second.
int SetupAcmConversion(SoundDecoder* decoder, std::uint32_t readUnitNumerator,
                       std::uint32_t readUnitDenominator);
int SeekAcmDecoder(SoundDecoder* decoder, std::int32_t sample);
// The PCM bytes vorbisfile reports, held below 4 GB.
std::uint32_t OggVorbisPcmBytes(SoundDecoder* decoder);
int SeekOggVorbisDecoder(SoundDecoder* decoder, std::int32_t sample);
void CloseAcmDecoder(SoundDecoder* decoder);
std::uint32_t GetAcmDecoderPcmSize(SoundDecoder* decoder);
