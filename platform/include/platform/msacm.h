// msacm32: the audio compression manager. Streams convert compressed wave
// formats (IMA and Microsoft ADPCM, mu-law, A-law, MPEG layer 3) and PCM
// layouts to PCM; the format records of those codecs live here too.
#pragma once

#include "platform/mmsystem.h"

// ---- Format records ----------------------------------------------------------

#define WAVE_FORMAT_ADPCM 0x0002
#define WAVE_FORMAT_ALAW 0x0006
#define WAVE_FORMAT_MULAW 0x0007
#define WAVE_FORMAT_IMA_ADPCM 0x0011
#define WAVE_FORMAT_MPEGLAYER3 0x0055
#define WAVE_FORMAT_EXTENSIBLE 0xFFFE

#define MPEGLAYER3_ID_MPEG 1
#define MPEGLAYER3_FLAG_PADDING_ISO 0x00000000
#define MPEGLAYER3_FLAG_PADDING_ON 0x00000001
#define MPEGLAYER3_FLAG_PADDING_OFF 0x00000002

#pragma pack(push, 1)
struct IMAADPCMWAVEFORMAT {
  WAVEFORMATEX wfx;
  WORD wSamplesPerBlock;
};

struct ADPCMCOEFSET {
  SHORT iCoef1;
  SHORT iCoef2;
};

struct ADPCMWAVEFORMAT {
  WAVEFORMATEX wfx;
  WORD wSamplesPerBlock;
  WORD wNumCoef;
  ADPCMCOEFSET aCoef[1];  // wNumCoef entries
};

struct MPEGLAYER3WAVEFORMAT {
  WAVEFORMATEX wfx;
  WORD wID;
  DWORD fdwFlags;
  WORD nBlockSize;
  WORD nFramesPerBlock;
  WORD nCodecDelay;
};

struct WAVEFORMATEXTENSIBLE {
  WAVEFORMATEX Format;
  union {
    WORD wValidBitsPerSample;
    WORD wSamplesPerBlock;
    WORD wReserved;
  } Samples;
  DWORD dwChannelMask;
  GUID SubFormat;
};
#pragma pack(pop)
static_assert(sizeof(MPEGLAYER3WAVEFORMAT) == 30);
static_assert(sizeof(WAVEFORMATEXTENSIBLE) == 40);

// {00000001-0000-0010-8000-00AA00389B71}
inline constexpr GUID KSDATAFORMAT_SUBTYPE_PCM = {
    0x00000001, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

// ---- Handles and errors ------------------------------------------------------

struct HACMDRIVER__ {
  int unused;
};
struct HACMSTREAM__ {
  int unused;
};
struct HACMOBJ__ {
  int unused;
};
using HACMDRIVER = HACMDRIVER__*;
using HACMSTREAM = HACMSTREAM__*;
using HACMOBJ = HACMOBJ__*;
using LPHACMSTREAM = HACMSTREAM*;

struct WAVEFILTER;  // filters are never applied
using LPWAVEFILTER = WAVEFILTER*;

#define ACMERR_BASE 512u
#define ACMERR_NOTPOSSIBLE (ACMERR_BASE + 0)
#define ACMERR_BUSY (ACMERR_BASE + 1)
#define ACMERR_UNPREPARED (ACMERR_BASE + 2)
#define ACMERR_CANCELED (ACMERR_BASE + 3)

// ---- Metrics and format suggestion -------------------------------------------

#define ACM_METRIC_MAX_SIZE_FORMAT 50

#define ACM_FORMATSUGGESTF_WFORMATTAG 0x00010000u
#define ACM_FORMATSUGGESTF_NCHANNELS 0x00020000u
#define ACM_FORMATSUGGESTF_NSAMPLESPERSEC 0x00040000u
#define ACM_FORMATSUGGESTF_WBITSPERSAMPLE 0x00080000u

// Only ACM_METRIC_MAX_SIZE_FORMAT is answered (a DWORD): the largest format
// record any converter takes.
MMRESULT acmMetrics(HACMOBJ object, UINT metric, LPVOID output);
// Fills `destination` (at least 18 bytes) with the PCM format `source`
// converts to. Fields whose ACM_FORMATSUGGESTF_ flag is set are taken from
// `destination` as given; the tag must then be PCM.
MMRESULT acmFormatSuggest(HACMDRIVER driver, LPWAVEFORMATEX source, LPWAVEFORMATEX destination,
                          DWORD destination_bytes, DWORD flags);

// ---- Streams -----------------------------------------------------------------

#define ACM_STREAMOPENF_QUERY 0x00000001u
#define ACM_STREAMOPENF_ASYNC 0x00000002u
#define ACM_STREAMOPENF_NONREALTIME 0x00000004u

#define ACM_STREAMSIZEF_SOURCE 0x00000000u
#define ACM_STREAMSIZEF_DESTINATION 0x00000001u

#define ACM_STREAMCONVERTF_BLOCKALIGN 0x00000004u
#define ACM_STREAMCONVERTF_START 0x00000010u
#define ACM_STREAMCONVERTF_END 0x00000020u

#define ACMSTREAMHEADER_STATUSF_DONE 0x00010000u
#define ACMSTREAMHEADER_STATUSF_PREPARED 0x00020000u
#define ACMSTREAMHEADER_STATUSF_INQUEUE 0x00100000u

struct ACMSTREAMHEADER {
  DWORD cbStruct;
  DWORD fdwStatus;
  DWORD_PTR dwUser;
  LPBYTE pbSrc;
  DWORD cbSrcLength;
  DWORD cbSrcLengthUsed;
  DWORD_PTR dwSrcUser;
  LPBYTE pbDst;
  DWORD cbDstLength;
  DWORD cbDstLengthUsed;
  DWORD_PTR dwDstUser;
  DWORD dwReservedDriver[10];
};
using LPACMSTREAMHEADER = ACMSTREAMHEADER*;

// Opens a conversion from `source` to `destination` (filters, callbacks and
// asynchronous streams are not offered). With ACM_STREAMOPENF_QUERY only
// answers whether the conversion is possible.
MMRESULT acmStreamOpen(LPHACMSTREAM stream, HACMDRIVER driver, LPWAVEFORMATEX source,
                       LPWAVEFORMATEX destination, LPWAVEFILTER filter, DWORD_PTR callback,
                       DWORD_PTR instance, DWORD flags);
MMRESULT acmStreamClose(HACMSTREAM stream, DWORD flags);
// Bytes of output for `input` bytes of source (ACM_STREAMSIZEF_SOURCE), or
// of source that fit `input` bytes of output (ACM_STREAMSIZEF_DESTINATION).
MMRESULT acmStreamSize(HACMSTREAM stream, DWORD input, LPDWORD output, DWORD flags);
// cbStruct may be the 84 bytes of a 32-bit caller or this build's size: the
// reserved driver words are never used.
MMRESULT acmStreamPrepareHeader(HACMSTREAM stream, LPACMSTREAMHEADER header, DWORD flags);
MMRESULT acmStreamUnprepareHeader(HACMSTREAM stream, LPACMSTREAMHEADER header, DWORD flags);
// Converts whole source blocks only (a partial last block stays unused and
// is reported through cbSrcLengthUsed), with or without
// ACM_STREAMCONVERTF_BLOCKALIGN. ACM_STREAMCONVERTF_START restarts a
// decoder that carries state between calls (MPEG layer 3).
MMRESULT acmStreamConvert(HACMSTREAM stream, LPACMSTREAMHEADER header, DWORD flags);
