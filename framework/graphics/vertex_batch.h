// The vertex batch: every hardware draw appends user-memory vertices here
// while the coordinate kind, vertex format and primitive stay the same, and
// a flush hands them to the device in one DrawPrimitiveUP call.
#pragma once

#include <cstdint>

#include "platform/d3d9.h"

inline constexpr int kBatchKindScreen = 0;
inline constexpr int kBatchKindWorld = 1;

struct VertexBatch {
  int kind;
  int format;
  D_D3DPRIMITIVETYPE primitive;
  int count;
  std::uint8_t* write;
  std::uint8_t* arrays[6];  // kind x 3 + format
  std::uint32_t vertexColor;
};

VertexBatch& Batch();
int BatchCapacity(int kind, int format);
int BatchStride(int kind, int format);
DWORD BatchFvf(int kind, int format);

// -1 without a device; else draws what is pending (unless the program is
// quitting or the blend set-up marked the state as drawing nothing) and
// empties the batch.
int FlushVertexBatch();
// Room for `count` vertices of the primitive at the write pointer, flushing
// first when they do not fit or the kind or primitive differ; returns the
// write pointer. The caller writes them and calls CommitBatchVertices.
std::uint8_t* ReserveBatchVertices(D_D3DPRIMITIVETYPE primitive, int count);
void CommitBatchVertices(int count);
// Chooses the vertex format of the next draws (right after a flush).
void SelectBatchFormat(int format);
// The device's start state and the batch arrays; after the device exists.
int InitVertexBatchArrays();
int SetDeviceWorldMatrix(const D_D3DMATRIX* matrix);
