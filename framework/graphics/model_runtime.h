// The 3D model runtime: model bases (a model's meshes, materials and
// textures) and model instances (placed copies of a base), reached through
// handles, and their part in a device rebuild. The framework holds no model
// loader and no model drawing: its tables stay empty unless something puts
// records in them, and what exists is the state, start and end, deletion,
// the device-buffer release and rebuild hooks and the texture builder.
#pragma once

#include <cstdint>

#include "WqLib.h"
#include "platform/d3d9.h"

inline constexpr int kModelBaseKind = 0x08000000;  // the graph kind, in its own table
inline constexpr int kModelBaseIndexMask = 0x1FFFF;
inline constexpr int kModelInstanceKind = 0x50000000;
inline constexpr int kModelInstanceIndexMask = 0xFFFF;
inline constexpr int kModelSineEntries = 65536;
// Vertex buffer groups per base: vertex type (3) x bump flag (2) x weight
// count (9).
inline constexpr int kModelBufferGroups = 54;
inline constexpr int kModelGroupMaxIndices = 0xC0000;
inline constexpr int kModelGroupMaxVertices = 0x60000;

// A base handle keeps its check value in bits 17 to 26, above its 17-bit
// index; an instance handle in bits 16 to 26.
inline int MakeModelBaseHandle(std::uint32_t check, int index) {
  return kModelBaseKind | static_cast<int>((check & 0x3FF) << 17) | index;
}
inline int MakeModelInstanceHandle(std::uint32_t check, int index) {
  return kModelInstanceKind | static_cast<int>((check & 0x7FF) << 16) | index;
}

// Heap blocks chained behind a frame, an instance or a base.
struct ModelBlock {
  ModelBlock* next;
};

// One vertex and index buffer of a group, holding the meshes bound to it.
struct ModelBufferSet {
  D_IDirect3DVertexBuffer9* vertexBuffer;
  D_IDirect3DIndexBuffer9* indexBuffer;
  int vertexCount;
  int indexCount;
  int vertexStride;
  ModelBufferSet* next;
};

struct ModelMesh {
  int vertexType;   // 0..2
  int bump;         // 0 or 1
  int weightCount;  // 0..8
  int vertexStride;
  int vertexCount;
  int indexCount;
  const void* vertices;  // vertexCount x vertexStride bytes
  const std::uint16_t* indices;
  ModelBufferSet* buffers;  // the set the mesh is bound to, or null
  int firstVertex;
  int firstIndex;
};

// A material's texture: the graph it shows in and the file images it is
// built from again after a rebuild.
struct ModelMaterial {
  int textureGraph;  // -1: none
  const void* colorFile;
  int colorFileSize;
  const void* alphaFile;  // or null
  int alphaFileSize;
  int bump;
  float bumpScale;
  int turn;
};

struct ModelBase {
  std::uint32_t check;  // first word
  int handle;
  int refCount;  // the base itself and each instance of it
  int meshCount;
  ModelMesh* meshes;
  int materialCount;
  ModelMaterial* materials;
  void* frames;
  void* animations;
  ModelBlock* chain;
  int buffersBuilt;
  int refreshFlag;
  ModelBufferSet* groups[kModelBufferGroups];
};

struct ModelFrameData {
  ModelBlock* chain;
  void* blocks[2];
  void** slotEntries;  // one per slot of the instance's slot table, or null
};

struct ModelInstance {
  int handle;
  std::uint32_t check;  // second word
  ModelBase* base;
  D_IDirect3DVertexBuffer9** meshBuffers;  // one per mesh of the base, or null
  int graphCount;
  int* graphs;
  ModelMaterial* materialOverrides;  // one per material of the base, or null
  int frameCount;
  ModelFrameData* frames;
  ModelFrameData own;  // the instance's own chain and blocks (frame -1)
  int slotCount;
  int usedSlots;
  void** slots;
};

// A slot holding this value is reserved: empty when the tables are walked.
inline void* const kModelSlotReserved = reinterpret_cast<void*>(1);

template <typename Record>
struct ModelTable {
  Record** slots;
  int size;  // slots in use, live or not
  int capacity;
  int live;
};

struct ModelSystemState {
  std::uint8_t initialised;
  float sine[kModelSineEntries];  // sin(2 pi i / 65536)
  float angleSetting;
  ModelTable<ModelBase> bases;
  ModelTable<ModelInstance> instances;
  int builtInGraphs[3];  // two from the stored images, the grey ramp; -1 none
};

ModelSystemState& ModelSystem();

// Calls visit(record) for every live record of the table (reserved slots
// are skipped).
template <typename Record, typename Visit>
void ForEachModelRecord(const ModelTable<Record>& table, Visit visit) {
  for (int slot = 0; slot < table.size; ++slot) {
    Record* record = table.slots[slot];
    if (record != nullptr && record != kModelSlotReserved) visit(record);
  }
}

// At start-up on the Direct3D renderer; nothing when already started.
int InitModelSystem();
// At library end: every instance, then every base, then the tables.
int TerminateModelSystem();
// 0, or -1 for a handle of another kind, an index past the table, an
// empty slot or a check value that does not match.
int DeleteModelBase(int handle);
int DeleteModel(int handle);

// Around a device rebuild.
void ReleaseAllModelDeviceBuffers();
void RefreshAllModelBaseVertexBuffers();
void RestoreModelSystemGraphs();
void ReleaseModelBaseDeviceBuffers(ModelBase* base);
void ReleaseModelDeviceBuffers(ModelInstance* instance);
// Binds every mesh to a buffer set of its group and fills the buffers;
// only on the Direct3D renderer, and nothing when the buffers are built.
int RefreshModelBaseVertexBuffers(ModelBase* base, int flag);

// Instance clean-up: the chain of frame `frame` (-1: the instance's own),
// one of its two blocks, and slot `slot` of the slot table with its entry
// in every frame. 0 or -1 (bad handle, frame or slot).
int FreeModelFrameChain(int handle, int frame);
int FreeModelFrameBlock(int handle, int frame, int second);
int ClearModelSlot(int handle, int slot);

// The texture builder: the colour file image (or, without one, white of the
// alpha image's size) and the alpha file image as base images; with bump
// the colour image is taken as a height map and becomes a normal map; sides
// that are not powers of two are scaled (nearest pixel) up to the next ones
// within half the device's largest texture; turn rotates by 180 degrees.
// 0 (alpha is written only when an alpha file is given, *hasAlpha says so)
// or -1.
int BuildModelTexture(const void* colorFile, int colorSize, const void* alphaFile, int alphaSize, int bump,
                      float bumpScale, int turn, BaseImage* color, BaseImage* alpha, int* hasAlpha);
