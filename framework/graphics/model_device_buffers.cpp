// The device buffers of model bases and instances. A base's meshes are
// packed into shared buffers, one chain of buffer sets per group of vertex
// type, bump flag and weight count; a set takes meshes until it would reach
// its index or vertex limit, and the next mesh starts a set chained behind.
#include <cstring>

#include "core/base/log_file.h"
#include "core/base/tracked_allocator.h"
#include "graphics/graphics_state.h"
#include "graphics/model_runtime.h"
#include "graphics/user_buffers.h"

namespace {

int GroupOf(const ModelMesh& mesh) { return mesh.weightCount + 9 * (mesh.bump + 2 * mesh.vertexType); }

ModelBufferSet* NewSet(int stride) {
  auto* set = static_cast<ModelBufferSet*>(TrackedAllocZero(sizeof(ModelBufferSet), __FILE__, __LINE__));
  if (set != nullptr) set->vertexStride = stride;
  return set;
}

// The set of the mesh's group that takes it (a new one chained behind when
// the last would reach a limit); null when a set cannot be allocated.
ModelBufferSet* PlaceMesh(ModelBase* base, ModelMesh* mesh) {
  ModelBufferSet** link = &base->groups[GroupOf(*mesh)];
  while (*link != nullptr && (*link)->next != nullptr) link = &(*link)->next;
  ModelBufferSet* set = *link;
  const bool full = set != nullptr && set->vertexCount > 0 &&
                    (set->indexCount + mesh->indexCount >= kModelGroupMaxIndices ||
                     set->vertexCount + mesh->vertexCount >= kModelGroupMaxVertices);
  if (set == nullptr || full) {
    ModelBufferSet* fresh = NewSet(mesh->vertexStride);
    if (fresh == nullptr) return nullptr;
    if (set != nullptr) set->next = fresh;
    else *link = fresh;
    set = fresh;
  }
  mesh->buffers = set;
  mesh->firstVertex = set->vertexCount;
  mesh->firstIndex = set->indexCount;
  set->vertexCount += mesh->vertexCount;
  set->indexCount += mesh->indexCount;
  return set;
}

// Copies `bytes` into the buffer from `offset`; false when the lock fails.
template <typename Buffer>
bool Fill(Buffer* buffer, std::size_t offset, const void* data, std::size_t bytes) {
  if (bytes == 0) return true;
  void* locked = nullptr;
  if (buffer->Lock(static_cast<UINT>(offset), static_cast<UINT>(bytes), &locked, 0) != 0) return false;
  std::memcpy(locked, data, bytes);
  buffer->Unlock();
  return true;
}

int CreateSetBuffers(ModelBufferSet* set) {
  set->vertexBuffer = CreateDeviceVertexBuffer(static_cast<UINT>(set->vertexCount) * set->vertexStride,
                                               D_D3DUSAGE_WRITEONLY, 0, D_D3DPOOL_DEFAULT);
  set->indexBuffer = CreateDeviceIndexBuffer(static_cast<UINT>(set->indexCount) * 2, D_D3DUSAGE_WRITEONLY,
                                             D_D3DFMT_INDEX16, D_D3DPOOL_DEFAULT);
  return set->vertexBuffer != nullptr && set->indexBuffer != nullptr ? 0 : -1;
}

}  // namespace

int RefreshModelBaseVertexBuffers(ModelBase* base, int flag) {
  if (!HardwareRendererInUse() || Device() == nullptr || base->buffersBuilt) return 0;
  base->refreshFlag = flag;
  std::memset(base->groups, 0, sizeof(base->groups));
  base->buffersBuilt = 1;  // what is made so far is released as built buffers
  for (int i = 0; i < base->meshCount; ++i) {
    if (PlaceMesh(base, &base->meshes[i]) == nullptr) {
      ReleaseModelBaseDeviceBuffers(base);
      return -1;
    }
  }
  for (ModelBufferSet*& first : base->groups) {
    for (ModelBufferSet* set = first; set != nullptr; set = set->next) {
      if (CreateSetBuffers(set) != 0) {
        ReleaseModelBaseDeviceBuffers(base);
        return LogWrite("頂点バッファの作成に失敗しました\n"), -1;
      }
    }
  }
  for (int i = 0; i < base->meshCount; ++i) {
    const ModelMesh& mesh = base->meshes[i];
    ModelBufferSet& set = *mesh.buffers;
    if (!Fill(set.vertexBuffer, static_cast<std::size_t>(mesh.firstVertex) * mesh.vertexStride, mesh.vertices,
              static_cast<std::size_t>(mesh.vertexCount) * mesh.vertexStride) ||
        !Fill(set.indexBuffer, static_cast<std::size_t>(mesh.firstIndex) * 2, mesh.indices,
              static_cast<std::size_t>(mesh.indexCount) * 2)) {
      ReleaseModelBaseDeviceBuffers(base);
      return LogWrite("頂点バッファのロックに失敗しました\n"), -1;
    }
  }
  return 0;
}

void ReleaseModelBaseDeviceBuffers(ModelBase* base) {
  if (!base->buffersBuilt) return;
  for (ModelBufferSet*& first : base->groups) {
    for (ModelBufferSet* set = first; set != nullptr;) {
      ModelBufferSet* next = set->next;
      ReleaseObject(&set->vertexBuffer);
      ReleaseObject(&set->indexBuffer);
      TrackedFree(set);
      set = next;
    }
    first = nullptr;
  }
  for (int i = 0; i < base->meshCount; ++i) base->meshes[i].buffers = nullptr;
  base->buffersBuilt = 0;
  ForEachModelRecord(ModelSystem().instances, [base](ModelInstance* instance) {
    if (instance->base == base) ReleaseModelDeviceBuffers(instance);
  });
}

void ReleaseModelDeviceBuffers(ModelInstance* instance) {
  if (instance->meshBuffers == nullptr || instance->base == nullptr) return;
  for (int i = 0; i < instance->base->meshCount; ++i) ReleaseObject(&instance->meshBuffers[i]);
}

void ReleaseAllModelDeviceBuffers() {
  ForEachModelRecord(ModelSystem().bases, ReleaseModelBaseDeviceBuffers);
  ForEachModelRecord(ModelSystem().instances, ReleaseModelDeviceBuffers);
}

void RefreshAllModelBaseVertexBuffers() {
  ForEachModelRecord(ModelSystem().bases,
                     [](ModelBase* base) { RefreshModelBaseVertexBuffers(base, base->refreshFlag); });
}
