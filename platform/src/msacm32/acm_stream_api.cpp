// The ACM stream functions over the stream table.
#include <cstddef>

#include "msacm32/acm_stream_table.h"

namespace {

using wqplat::AcmStream;
using wqplat::FindAcmStream;

constexpr DWORD kOpenFlags =
    ACM_STREAMOPENF_QUERY | ACM_STREAMOPENF_ASYNC | ACM_STREAMOPENF_NONREALTIME;
constexpr DWORD kConvertFlags =
    ACM_STREAMCONVERTF_BLOCKALIGN | ACM_STREAMCONVERTF_START | ACM_STREAMCONVERTF_END;
// Every field up to the driver's reserved words: a 32-bit caller's 84-byte
// header and this build's larger one both cover them.
constexpr DWORD kHeaderUsedBytes = offsetof(ACMSTREAMHEADER, dwReservedDriver);

bool IsHeaderUsable(LPACMSTREAMHEADER header) {
  return header != nullptr && header->cbStruct >= kHeaderUsedBytes;
}

bool IsPrepared(const ACMSTREAMHEADER& header) {
  return (header.fdwStatus & ACMSTREAMHEADER_STATUSF_PREPARED) != 0;
}

}  // namespace

MMRESULT acmStreamOpen(LPHACMSTREAM stream, HACMDRIVER, LPWAVEFORMATEX source,
                       LPWAVEFORMATEX destination, LPWAVEFILTER filter, DWORD_PTR, DWORD_PTR,
                       DWORD flags) {
  if ((flags & ~kOpenFlags) != 0) return MMSYSERR_INVALFLAG;
  const bool query = (flags & ACM_STREAMOPENF_QUERY) != 0;
  if (source == nullptr || destination == nullptr || (stream == nullptr && !query)) {
    return MMSYSERR_INVALPARAM;
  }
  if (stream != nullptr) *stream = nullptr;
  if (filter != nullptr || (flags & ACM_STREAMOPENF_ASYNC)) return MMSYSERR_NOTSUPPORTED;
  std::unique_ptr<wqplat::AcmConverter> converter =
      wqplat::CreateAcmConverter(*source, *destination);
  if (!converter) return ACMERR_NOTPOSSIBLE;
  if (!query) *stream = wqplat::AddAcmStream(std::move(converter));
  return MMSYSERR_NOERROR;
}

MMRESULT acmStreamClose(HACMSTREAM stream, DWORD flags) {
  if (flags != 0) return MMSYSERR_INVALFLAG;
  return wqplat::RemoveAcmStream(stream) ? MMSYSERR_NOERROR : MMSYSERR_INVALHANDLE;
}

MMRESULT acmStreamSize(HACMSTREAM stream, DWORD input, LPDWORD output, DWORD flags) {
  AcmStream* open = FindAcmStream(stream);
  if (open == nullptr) return MMSYSERR_INVALHANDLE;
  if (output == nullptr) return MMSYSERR_INVALPARAM;
  switch (flags) {
    case ACM_STREAMSIZEF_SOURCE:
      *output = open->converter->DestinationBytesFor(input);
      return MMSYSERR_NOERROR;
    case ACM_STREAMSIZEF_DESTINATION:
      *output = open->converter->SourceBytesFor(input);
      return MMSYSERR_NOERROR;
    default:
      return MMSYSERR_INVALFLAG;
  }
}

MMRESULT acmStreamPrepareHeader(HACMSTREAM stream, LPACMSTREAMHEADER header, DWORD flags) {
  if (FindAcmStream(stream) == nullptr) return MMSYSERR_INVALHANDLE;
  if (!IsHeaderUsable(header)) return MMSYSERR_INVALPARAM;
  if (flags != 0) return MMSYSERR_INVALFLAG;
  header->fdwStatus = ACMSTREAMHEADER_STATUSF_PREPARED;
  return MMSYSERR_NOERROR;
}

MMRESULT acmStreamUnprepareHeader(HACMSTREAM stream, LPACMSTREAMHEADER header, DWORD flags) {
  if (FindAcmStream(stream) == nullptr) return MMSYSERR_INVALHANDLE;
  if (!IsHeaderUsable(header)) return MMSYSERR_INVALPARAM;
  if (flags != 0) return MMSYSERR_INVALFLAG;
  if (!IsPrepared(*header)) return ACMERR_UNPREPARED;
  header->fdwStatus = 0;
  return MMSYSERR_NOERROR;
}

MMRESULT acmStreamConvert(HACMSTREAM stream, LPACMSTREAMHEADER header, DWORD flags) {
  AcmStream* open = FindAcmStream(stream);
  if (open == nullptr) return MMSYSERR_INVALHANDLE;
  if (!IsHeaderUsable(header)) return MMSYSERR_INVALPARAM;
  if ((flags & ~kConvertFlags) != 0) return MMSYSERR_INVALFLAG;
  if (!IsPrepared(*header)) return ACMERR_UNPREPARED;
  if ((header->pbSrc == nullptr && header->cbSrcLength != 0) ||
      (header->pbDst == nullptr && header->cbDstLength != 0)) {
    return MMSYSERR_INVALPARAM;
  }
  if (flags & ACM_STREAMCONVERTF_START) open->converter->Restart();
  const wqplat::ConvertedSpan done = open->converter->Convert({header->pbSrc, header->cbSrcLength},
                                                              {header->pbDst, header->cbDstLength});
  header->cbSrcLengthUsed = done.source_used;
  header->cbDstLengthUsed = done.destination_used;
  header->fdwStatus |= ACMSTREAMHEADER_STATUSF_DONE;
  return MMSYSERR_NOERROR;
}
