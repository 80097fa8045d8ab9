// The graph's records: the handle table's record of one graph, the image
// information that a graph shares with the graphs cut from it, and the
// texture pieces that cover a graph on the Direct3D device.
#pragma once

#include <cstdint>

#include "WqLib.h"
#include "image/memimg.h"
#include "platform/d3d9.h"

constexpr int kGraphHandleKind = 0x08000000;
constexpr int kGraphSlotCount = 32768;

// One power-of-two texture of an image and the rectangle of the image it holds.
struct GraphTextureEntry {
  D_IDirect3DTexture9* texture;
  D_IDirect3DTexture9* memoryTwin;  // lockable system-memory copy, or null
  D_IDirect3DSurface9* surface;     // level 0
  D_IDirect3DSurface9* renderSurface;
  int x, y;  // inside the image
  int usedWidth, usedHeight;
  int textureWidth, textureHeight;
};

struct GraphImageInfo {
  int refCount;
  int formatIndex;  // texture format on the device; software: the colour type
  std::uint8_t inTextures;
  std::uint8_t alphaChannel;
  std::uint8_t drawable;
  std::uint8_t software;
  std::uint8_t systemMemoryCopy;
  std::uint8_t alphaTest;
  std::uint8_t mipLevels;
  std::uint8_t createDrawableFlag;
  std::uint8_t colorBits;
  std::uint8_t blendImage;
  std::uint8_t transparentColorUsed;
  std::uint32_t transparentColor;  // 0x00RRGGBB
  int width, height;
  int entryCount;
  GraphTextureEntry* entries;
  MEMIMG image;       // software renderer
  MEMIMG* drawImage;  // software draw target, or null
  // A copy of the picture of a graph made from a base image without a file,
  // put back after the device is rebuilt; null for the others.
  BaseImage* keptImage;
  BaseImage* keptAlpha;
};

// The part of one texture entry that shows inside a graph.
struct GraphTexturePiece {
  int destX, destY;  // inside the graph
  int sourceX, sourceY;  // inside the texture
  int width, height;
  // x, y, u, v of the corners: top-left, top-right, bottom-left, bottom-right.
  float vertices[4][4];
  std::uint8_t diagonalSide[4];
  GraphTextureEntry* entry;
};

// The name of the file a graph was loaded from, shared by the graphs cut from it.
struct GraphFileName {
  int refCount;
  char path[1];  // allocated to the name's length
};

struct GraphRecord {
  std::uint32_t check;
  int handle;
  int* deleteNotify;  // set to 1 when the graph is deleted
  GraphImageInfo* image;
  int movie;  // -1 when none
  GraphFileName* fileName;
  int fileX, fileY;  // inside the source file's image
  int loadFlag;
  int loadReverse;  // the file's picture was mirrored when it was loaded
  int imageX, imageY;  // inside the image information
  int width, height;
  int pieceCount;
  GraphTexturePiece* pieces;  // device renderer
  MEMIMG view;                // software renderer: the graph's rectangle of the image
};

// A new zero-filled record; the program ends when every slot is live or the
// record cannot be allocated.
int AllocGraphHandle();
// The record of a live graph handle, or null.
GraphRecord* FindGraphRecord(int handle);
// Empties the handle's slot and frees its record (what the record points
// at is its owner's to release first). -1 for a handle that is not live.
int FreeGraphHandle(int handle);
// One past the highest slot in use; the record of a slot or null.
int GraphSlotEnd();
// The number of live graph handles.
int GraphHandleCount();
GraphRecord* GraphRecordAt(int slot);
