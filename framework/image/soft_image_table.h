// The soft-image handle table: records of a base image and a check value,
// reached through handles of kind 0x58000000.
#pragma once

#include <cstdint>

#include "WqLib.h"

constexpr int kSoftImageHandleKind = 0x58000000;
constexpr int kSoftImageSlotCount = 8192;

struct SoftImageRecord {
  BaseImage image;
  std::uint32_t check;
};

struct SoftImageTable {
  SoftImageRecord* records[kSoftImageSlotCount];
  int liveCount;
  int usedEnd;  // one past the highest used slot
};

SoftImageTable& GetSoftImageTable();
// Empties the table at shutdown: DeleteAllSoftImages' result.
int EndSoftImages();
