// The model runtime's state, start and end, the deletion of bases and
// instances, and the clean-up of an instance's frame and slot data.
#include "graphics/model_runtime.h"

#include <cmath>

#include "core/base/tracked_allocator.h"
#include "graphics/graphics_state.h"

namespace {

ModelSystemState g_models;

constexpr float kTwoPi = 6.28318530717958647692f;
constexpr float kAngleSetting = 1.5620697f;  // 89.5 degrees

template <typename Record>
void FreeTable(ModelTable<Record>* table) {
  TrackedFree(table->slots);
  *table = ModelTable<Record>{};
}

void FreeChain(ModelBlock** chain) {
  for (ModelBlock* block = *chain; block != nullptr;) {
    ModelBlock* next = block->next;
    TrackedFree(block);
    block = next;
  }
  *chain = nullptr;
}

void FreeBlock(void** block) {
  TrackedFree(*block);
  *block = nullptr;
}

// The frame of an instance, or its own data for -1; null when out of range.
ModelFrameData* FrameOf(ModelInstance* instance, int frame) {
  if (frame == -1) return &instance->own;
  return frame >= 0 && frame < instance->frameCount ? &instance->frames[frame] : nullptr;
}

void FreeFrameData(ModelFrameData* frame) {
  FreeChain(&frame->chain);
  FreeBlock(&frame->blocks[0]);
  FreeBlock(&frame->blocks[1]);
  TrackedFree(frame->slotEntries);
  frame->slotEntries = nullptr;
}

// The slot a handle names, or -1. Reserved slots are found too.
template <typename Record, typename CheckOf>
int FindSlot(const ModelTable<Record>& table, int handle, int kind, int indexMask, CheckOf checkOf) {
  if (handle < 0 || (handle & 0x78000000) != kind) return -1;
  const int index = handle & indexMask;
  if (index >= table.size || table.slots[index] == nullptr) return -1;
  if (table.slots[index] == kModelSlotReserved) return index;
  return checkOf(*table.slots[index]) == checkOf(handle) ? index : -1;
}

int FindBaseSlot(int handle) {
  struct {
    std::uint32_t operator()(const ModelBase& base) const { return base.check & 0x3FF; }
    std::uint32_t operator()(int h) const { return static_cast<std::uint32_t>(h) >> 17 & 0x3FF; }
  } checkOf;
  return FindSlot(g_models.bases, handle, kModelBaseKind, kModelBaseIndexMask, checkOf);
}

int FindInstanceSlot(int handle) {
  struct {
    std::uint32_t operator()(const ModelInstance& instance) const { return instance.check & 0x7FF; }
    std::uint32_t operator()(int h) const { return static_cast<std::uint32_t>(h) >> 16 & 0x7FF; }
  } checkOf;
  return FindSlot(g_models.instances, handle, kModelInstanceKind, kModelInstanceIndexMask, checkOf);
}

ModelInstance* FindInstance(int handle) {
  const int slot = FindInstanceSlot(handle);
  if (slot < 0 || g_models.instances.slots[slot] == kModelSlotReserved) return nullptr;
  return g_models.instances.slots[slot];
}

template <typename Record>
void EmptySlot(ModelTable<Record>* table, int slot) {
  table->slots[slot] = nullptr;
  --table->live;
}

void FreeBase(ModelBase* base) {
  ReleaseModelBaseDeviceBuffers(base);
  for (int i = 0; i < base->materialCount; ++i) {
    if (base->materials[i].textureGraph != -1) DeleteGraph(base->materials[i].textureGraph);
  }
  TrackedFree(base->meshes);
  TrackedFree(base->materials);
  TrackedFree(base->frames);
  TrackedFree(base->animations);
  FreeChain(&base->chain);
  TrackedFree(base);
}

void FreeInstance(ModelInstance* instance) {
  ReleaseModelDeviceBuffers(instance);
  for (int i = 0; i < instance->graphCount; ++i) DeleteGraph(instance->graphs[i]);
  TrackedFree(instance->graphs);
  TrackedFree(instance->meshBuffers);
  TrackedFree(instance->materialOverrides);
  for (int i = 0; i < instance->frameCount; ++i) FreeFrameData(&instance->frames[i]);
  TrackedFree(instance->frames);
  FreeFrameData(&instance->own);
  for (int i = 0; i < instance->slotCount; ++i) TrackedFree(instance->slots[i]);
  TrackedFree(instance->slots);
  TrackedFree(instance);
}

}  // namespace

ModelSystemState& ModelSystem() { return g_models; }

int InitModelSystem() {
  if (g_models.initialised || !HardwareRendererInUse()) return 0;
  for (int i = 0; i < kModelSineEntries; ++i)
    g_models.sine[i] = std::sin(kTwoPi * static_cast<float>(i) / static_cast<float>(kModelSineEntries));
  g_models.angleSetting = kAngleSetting;
  g_models.bases = ModelTable<ModelBase>{};
  g_models.instances = ModelTable<ModelInstance>{};
  for (int& graph : g_models.builtInGraphs) graph = -1;
  g_models.initialised = 1;
  return 0;
}

int TerminateModelSystem() {
  if (!g_models.initialised) return 0;
  for (int slot = 0; slot < g_models.instances.size; ++slot) {
    if (ModelInstance* instance = g_models.instances.slots[slot]; instance != nullptr)
      DeleteModel(instance == kModelSlotReserved ? MakeModelInstanceHandle(0, slot) : instance->handle);
  }
  for (int slot = 0; slot < g_models.bases.size; ++slot) {
    if (ModelBase* base = g_models.bases.slots[slot]; base != nullptr)
      DeleteModelBase(base == kModelSlotReserved ? MakeModelBaseHandle(0, slot) : base->handle);
  }
  FreeTable(&g_models.bases);
  FreeTable(&g_models.instances);
  g_models.initialised = 0;
  return 0;
}

int DeleteModelBase(int handle) {
  const int slot = FindBaseSlot(handle);
  if (slot < 0) return -1;
  ModelBase* base = g_models.bases.slots[slot];
  if (base == kModelSlotReserved) {
    EmptySlot(&g_models.bases, slot);
    return 0;
  }
  if (--base->refCount > 0) return 0;
  FreeBase(base);
  EmptySlot(&g_models.bases, slot);
  return 0;
}

int DeleteModel(int handle) {
  const int slot = FindInstanceSlot(handle);
  if (slot < 0) return -1;
  ModelInstance* instance = g_models.instances.slots[slot];
  EmptySlot(&g_models.instances, slot);
  if (instance == kModelSlotReserved) return 0;
  const int base = instance->base != nullptr ? instance->base->handle : -1;
  FreeInstance(instance);
  if (base != -1) DeleteModelBase(base);
  return 0;
}

int FreeModelFrameChain(int handle, int frame) {
  ModelInstance* instance = FindInstance(handle);
  ModelFrameData* data = instance != nullptr ? FrameOf(instance, frame) : nullptr;
  if (data == nullptr) return -1;
  FreeChain(&data->chain);
  return 0;
}

int FreeModelFrameBlock(int handle, int frame, int second) {
  ModelInstance* instance = FindInstance(handle);
  ModelFrameData* data = instance != nullptr ? FrameOf(instance, frame) : nullptr;
  if (data == nullptr) return -1;
  FreeBlock(&data->blocks[second ? 1 : 0]);
  return 0;
}

int ClearModelSlot(int handle, int slot) {
  ModelInstance* instance = FindInstance(handle);
  if (instance == nullptr || slot < 0 || slot >= instance->slotCount) return -1;
  if (instance->slots[slot] == nullptr) return 0;
  FreeBlock(&instance->slots[slot]);
  for (int i = 0; i < instance->frameCount; ++i) {
    if (instance->frames[i].slotEntries != nullptr) instance->frames[i].slotEntries[slot] = nullptr;
  }
  if (instance->own.slotEntries != nullptr) instance->own.slotEntries[slot] = nullptr;
  --instance->usedSlots;
  return 0;
}
