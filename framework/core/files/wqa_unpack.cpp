// The archive's LZ unpacker. Packed data comes from files, so every code is
// checked against the bytes left to read and the room left to write.
#include <cstring>

#include "core/files/wqa_format.h"

namespace {

// A match copies length bytes from distance bytes back; when the match is
// longer than its distance the bytes repeat, as a forward byte copy would.
// The source grows with every chunk, so chunks double.
void CopyMatch(BYTE* out, DWORD distance, DWORD length) {
  const BYTE* source = out - distance;
  DWORD chunk = distance;
  while (length > chunk) {
    std::memcpy(out, source, chunk);
    out += chunk;
    length -= chunk;
    chunk *= 2;
  }
  std::memcpy(out, source, length);
}

}  // namespace

int UnpackArchiveData(const void* packed, DWORD packedAvailable, void* destination,
                      DWORD destinationCapacity, DWORD* unpackedSize) {
  if (packedAvailable < WQA_PACKED_HEADER_SIZE) return -1;
  WqaPackedHeader header;
  std::memcpy(&header, packed, sizeof(header));
  if (header.packedSize < WQA_PACKED_HEADER_SIZE || header.packedSize > packedAvailable) return -1;
  if (unpackedSize != nullptr) *unpackedSize = header.unpackedSize;
  if (destination == nullptr) return 0;
  if (header.unpackedSize > destinationCapacity) return -1;

  const BYTE* in = static_cast<const BYTE*>(packed) + WQA_PACKED_HEADER_SIZE;
  const BYTE* const inEnd = static_cast<const BYTE*>(packed) + header.packedSize;
  BYTE* const outStart = static_cast<BYTE*>(destination);
  BYTE* out = outStart;
  BYTE* const outEnd = outStart + header.unpackedSize;
  const BYTE escape = header.escape;

  while (in < inEnd) {
    const BYTE code = *in++;
    if (code != escape || (in < inEnd && *in == escape)) {
      if (code == escape) ++in;
      if (out == outEnd) return -1;
      *out++ = code;
      continue;
    }
    if (in == inEnd) return -1;
    DWORD value = *in++;
    if (value > escape) --value;
    DWORD length = value >> 3;
    if (value & 4) {
      if (in == inEnd) return -1;
      length |= static_cast<DWORD>(*in++) << 5;
    }
    length += 4;
    const DWORD distanceBytes = (value & 3) + 1;
    if (distanceBytes > 3 || static_cast<DWORD>(inEnd - in) < distanceBytes) return -1;
    DWORD distance = 0;
    for (DWORD i = 0; i < distanceBytes; ++i) distance |= static_cast<DWORD>(in[i]) << (8 * i);
    in += distanceBytes;
    distance += 1;
    if (distance > static_cast<DWORD>(out - outStart)) return -1;
    if (length > static_cast<DWORD>(outEnd - out)) return -1;
    CopyMatch(out, distance, length);
    out += length;
  }
  return out == outEnd ? 0 : -1;
}
