// The 3D model runtime: its start on the device only, deletion of bases and
// instances through their handles, packing meshes into device buffers and
// their rebuild after a lost device, the clean-up of instance data, and the
// texture builder.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "bmp_picture.h"
#include "core/base/tracked_allocator.h"
#include "graphics/graph_load.h"
#include "graphics/graph_record.h"
#include "graphics/graphics_state.h"
#include "graphics/model_runtime.h"
#include "graphics/user_buffers.h"
#include "graphics_fixture.h"

namespace {

template <typename T>
T* Zeroed(std::size_t count = 1) {
  return static_cast<T*>(TrackedAllocZero(sizeof(T) * count, __FILE__, __LINE__));
}

// Puts a record into the table at `slot`, as a model loader would.
template <typename Record>
void PutInTable(ModelTable<Record>& table, int slot, Record* record) {
  if (slot >= table.capacity) {
    table.slots = static_cast<Record**>(TrackedRealloc(table.slots, sizeof(Record*) * (slot + 1), __FILE__, __LINE__));
    for (int i = table.capacity; i <= slot; ++i) table.slots[i] = nullptr;
    table.capacity = slot + 1;
  }
  table.slots[slot] = record;
  table.size = std::max(table.size, slot + 1);
  ++table.live;
}

ModelBase* AddBase(int slot, std::uint32_t check) {
  auto* base = Zeroed<ModelBase>();
  base->check = check;
  base->handle = MakeModelBaseHandle(check, slot);
  base->refCount = 1;
  base->chain = Zeroed<ModelBlock>();
  base->frames = Zeroed<int>(4);
  PutInTable(ModelSystem().bases, slot, base);
  return base;
}

ModelInstance* AddInstance(int slot, std::uint32_t check, ModelBase* base) {
  auto* instance = Zeroed<ModelInstance>();
  instance->check = check;
  instance->handle = MakeModelInstanceHandle(check, slot);
  instance->base = base;
  ++base->refCount;
  instance->frameCount = 2;
  instance->frames = Zeroed<ModelFrameData>(2);
  instance->slotCount = 3;
  instance->slots = Zeroed<void*>(3);
  for (int f = 0; f < 2; ++f) {
    ModelFrameData& frame = instance->frames[f];
    frame.chain = Zeroed<ModelBlock>();
    frame.chain->next = Zeroed<ModelBlock>();
    frame.blocks[0] = Zeroed<int>();
    frame.blocks[1] = Zeroed<int>();
    frame.slotEntries = Zeroed<void*>(3);
  }
  instance->slots[1] = Zeroed<int>(8);
  instance->usedSlots = 1;
  for (int f = 0; f < 2; ++f) instance->frames[f].slotEntries[1] = instance->slots[1];
  PutInTable(ModelSystem().instances, slot, instance);
  return instance;
}

// A mesh of `vertices` vertices of 8 bytes (bytes 0, 1, 2, ...) and as many indices.
ModelMesh Mesh(int type, int bump, int weights, int vertices, std::vector<std::uint8_t>* bytes,
               std::vector<std::uint16_t>* indices) {
  bytes->resize(static_cast<std::size_t>(vertices) * 8);
  for (std::size_t i = 0; i < bytes->size(); ++i) (*bytes)[i] = static_cast<std::uint8_t>(i * 7);
  indices->assign(vertices, 0);
  for (int i = 0; i < vertices; ++i) (*indices)[i] = static_cast<std::uint16_t>(i);
  ModelMesh mesh{};
  mesh.vertexType = type;
  mesh.bump = bump;
  mesh.weightCount = weights;
  mesh.vertexStride = 8;
  mesh.vertexCount = vertices;
  mesh.indexCount = vertices;
  mesh.vertices = bytes->data();
  mesh.indices = indices->data();
  return mesh;
}

template <typename Buffer>
std::vector<std::uint8_t> BufferBytes(Buffer* buffer, UINT offset, UINT size) {
  void* data = nullptr;
  EXPECT_EQ(buffer->Lock(offset, size, &data, D_D3DLOCK_READONLY), 0);
  std::vector<std::uint8_t> out(static_cast<std::uint8_t*>(data), static_cast<std::uint8_t*>(data) + size);
  buffer->Unlock();
  return out;
}

using ModelRuntimeTest = wqtest::GraphicsTest;

TEST_F(ModelRuntimeTest, StartsWithTheDeviceOnly) {
  StartInGameMode();
  const ModelSystemState& models = ModelSystem();
  ASSERT_EQ(models.initialised, 1);
  EXPECT_EQ(models.sine[0], 0.0f);
  EXPECT_NEAR(models.sine[16384], 1.0f, 1e-6);
  EXPECT_NEAR(models.sine[8192], std::sqrt(0.5f), 1e-6);
  EXPECT_FLOAT_EQ(models.angleSetting, 1.5620697f);
  EXPECT_EQ(models.bases.size, 0);
  EXPECT_EQ(models.builtInGraphs[2], -1);
  EndLibrary();
  EXPECT_EQ(ModelSystem().initialised, 0);
  ASSERT_EQ(SetUseHardwareRenderer(0), 0);
  ASSERT_EQ(StartLibrary(), 0);
  EXPECT_EQ(ModelSystem().initialised, 0);
}

TEST_F(ModelRuntimeTest, InstancesHoldTheirBaseUntilTheLastGoes) {
  StartInGameMode();
  const int blocksBefore = GetTrackedBlockCount();
  ModelBase* base = AddBase(1, 300);
  base->materialCount = 1;
  base->materials = Zeroed<ModelMaterial>();
  BaseImage image{};
  ASSERT_EQ(CreateXrgbBaseImage(4, 4, &image), 0);
  base->materials[0].textureGraph = CreateGraphFromGraphImage(&image, nullptr, 0, 0, 0);
  ReleaseBaseImage(&image);
  const int texture = base->materials[0].textureGraph;
  ModelInstance* instance = AddInstance(4, 1500, base);
  const int baseHandle = base->handle, instanceHandle = instance->handle;
  PutInTable(ModelSystem().instances, 2, static_cast<ModelInstance*>(kModelSlotReserved));

  const std::vector<int> refusedBases = {-1, baseHandle ^ (1 << 17), MakeModelBaseHandle(300, 0),
                                         MakeModelBaseHandle(300, 7), instanceHandle, baseHandle | 0x10000000};
  for (int handle : refusedBases) EXPECT_EQ(DeleteModelBase(handle), -1) << std::hex << handle;
  const std::vector<int> refusedInstances = {instanceHandle ^ (1 << 16), MakeModelInstanceHandle(1500, 5), baseHandle};
  for (int handle : refusedInstances) EXPECT_EQ(DeleteModel(handle), -1) << std::hex << handle;

  EXPECT_EQ(DeleteModel(MakeModelInstanceHandle(0, 2)), 0);  // the reserved slot is cleared
  EXPECT_EQ(ModelSystem().instances.slots[2], nullptr);
  EXPECT_EQ(DeleteModelBase(baseHandle), 0);  // the instance still holds it
  EXPECT_EQ(ModelSystem().bases.slots[1], base);
  EXPECT_EQ(DeleteModel(instanceHandle), 0);  // the last reference: the base goes too
  EXPECT_EQ(DeleteModel(instanceHandle), -1);
  EXPECT_EQ(ModelSystem().bases.slots[1], nullptr);
  EXPECT_EQ(ModelSystem().bases.live, 0);
  EXPECT_EQ(ModelSystem().instances.live, 0);
  EXPECT_EQ(FindGraphRecord(texture), nullptr);
  EXPECT_EQ(GetTrackedBlockCount(), blocksBefore + 2);  // the two table arrays
}

TEST_F(ModelRuntimeTest, InstanceCleanUpFreesFrameDataAndSlots) {
  StartInGameMode();
  ModelBase* base = AddBase(0, 1);
  ModelInstance* instance = AddInstance(0, 2, base);
  const int handle = instance->handle;
  EXPECT_EQ(FreeModelFrameChain(handle, 1), 0);
  EXPECT_EQ(instance->frames[1].chain, nullptr);
  EXPECT_NE(instance->frames[0].chain, nullptr);
  EXPECT_EQ(FreeModelFrameBlock(handle, 0, 1), 0);
  EXPECT_EQ(instance->frames[0].blocks[1], nullptr);
  EXPECT_NE(instance->frames[0].blocks[0], nullptr);
  EXPECT_EQ(FreeModelFrameChain(handle, -1), 0);  // the instance's own, empty chain
  EXPECT_EQ(ClearModelSlot(handle, 1), 0);
  EXPECT_EQ(instance->slots[1], nullptr);
  EXPECT_EQ(instance->frames[0].slotEntries[1], nullptr);
  EXPECT_EQ(instance->frames[1].slotEntries[1], nullptr);
  EXPECT_EQ(instance->usedSlots, 0);
  EXPECT_EQ(ClearModelSlot(handle, 1), 0);  // already empty
  EXPECT_EQ(instance->usedSlots, 0);
  for (int frame : {2, -2}) {
    EXPECT_EQ(FreeModelFrameChain(handle, frame), -1);
    EXPECT_EQ(FreeModelFrameBlock(handle, frame, 0), -1);
  }
  EXPECT_EQ(ClearModelSlot(handle, 3), -1);
  EXPECT_EQ(ClearModelSlot(handle, -1), -1);
  EXPECT_EQ(FreeModelFrameChain(base->handle, 0), -1);
  EXPECT_EQ(ClearModelSlot(handle ^ (1 << 16), 1), -1);
}

TEST_F(ModelRuntimeTest, MeshesArePackedByGroupWithinTheBufferLimits) {
  StartInGameMode();
  ModelBase* base = AddBase(0, 1);
  std::vector<std::uint8_t> bytes[4];
  std::vector<std::uint16_t> indices[4];
  base->meshCount = 4;
  base->meshes = Zeroed<ModelMesh>(4);
  base->meshes[0] = Mesh(1, 1, 2, 0x30000, &bytes[0], &indices[0]);
  base->meshes[1] = Mesh(1, 1, 2, 16, &bytes[1], &indices[1]);
  base->meshes[2] = Mesh(1, 1, 2, 0x30000, &bytes[2], &indices[2]);  // would reach 0x60000 vertices
  base->meshes[3] = Mesh(0, 0, 0, 4, &bytes[3], &indices[3]);
  ModelInstance* instance = AddInstance(0, 1, base);
  instance->meshBuffers = Zeroed<D_IDirect3DVertexBuffer9*>(4);
  instance->meshBuffers[1] = CreateDeviceVertexBuffer(128, 0x200 | D_D3DUSAGE_WRITEONLY, 0, D_D3DPOOL_DEFAULT);
  ASSERT_NE(instance->meshBuffers[1], nullptr);

  ASSERT_EQ(RefreshModelBaseVertexBuffers(base, 5), 0);
  EXPECT_EQ(base->buffersBuilt, 1);
  EXPECT_EQ(base->refreshFlag, 5);
  const int group = 2 + 9 * (1 + 2 * 1);
  ModelBufferSet* first = base->groups[group];
  ASSERT_NE(first, nullptr);
  ASSERT_NE(first->next, nullptr);
  EXPECT_EQ(first->vertexCount, 0x30010);
  EXPECT_EQ(base->meshes[1].buffers, first);
  EXPECT_EQ(base->meshes[1].firstVertex, 0x30000);
  EXPECT_EQ(base->meshes[1].firstIndex, 0x30000);
  EXPECT_EQ(base->meshes[2].buffers, first->next);
  EXPECT_EQ(base->meshes[2].firstVertex, 0);
  EXPECT_EQ(base->meshes[3].buffers, base->groups[0]);
  EXPECT_EQ(BufferBytes(first->vertexBuffer, 0x30000 * 8, 128), bytes[1]);
  const std::vector<std::uint8_t> indexBytes = BufferBytes(first->indexBuffer, 0x30000 * 2, 32);
  EXPECT_EQ(std::memcmp(indexBytes.data(), indices[1].data(), 32), 0);
  EXPECT_EQ(RefreshModelBaseVertexBuffers(base, 6), 0);  // already built: nothing
  EXPECT_EQ(base->refreshFlag, 5);

  ReleaseModelBaseDeviceBuffers(base);
  EXPECT_EQ(base->buffersBuilt, 0);
  EXPECT_EQ(base->groups[group], nullptr);
  EXPECT_EQ(base->meshes[1].buffers, nullptr);
  EXPECT_EQ(instance->meshBuffers[1], nullptr);  // the instances of the base too
}

TEST_F(ModelRuntimeTest, ALostDeviceRebuildsBaseBuffersAndMaterialTextures) {
  StartInGameMode();
  ModelBase* base = AddBase(0, 1);
  std::vector<std::uint8_t> bytes;
  std::vector<std::uint16_t> indices;
  base->meshCount = 1;
  base->meshes = Zeroed<ModelMesh>();
  base->meshes[0] = Mesh(2, 0, 8, 10, &bytes, &indices);
  ASSERT_EQ(RefreshModelBaseVertexBuffers(base, 0), 0);
  const std::string file = wqtest::Bmp24(8, 4, [](int x, int) { return x < 4 ? 0x102030u : 0x405060u; });
  base->materialCount = 1;
  base->materials = Zeroed<ModelMaterial>();
  ModelMaterial& material = base->materials[0];
  material.colorFile = file.data();
  material.colorFileSize = static_cast<int>(file.size());
  BaseImage color{}, alpha{};
  int hasAlpha = 0;
  ASSERT_EQ(BuildModelTexture(file.data(), static_cast<int>(file.size()), nullptr, 0, 0, 1.0f, 0, &color, &alpha,
                              &hasAlpha),
            0);
  material.textureGraph = CreateGraphFromGraphImage(&color, nullptr, 0, 0, 0);
  ReleaseBaseImage(&color);
  GraphImageInfo* info = FindGraphRecord(material.textureGraph)->image;
  // Only the model runtime is to restore this graph: drop the copy it keeps.
  ReleaseBaseImage(info->keptImage);
  TrackedFree(info->keptImage);
  info->keptImage = nullptr;

  WqControlLoseD3d9Devices();
  ASSERT_EQ(PresentScreen(), 0);
  ASSERT_EQ(PresentScreen(), 0);
  ASSERT_EQ(Graphics().deviceLost, 0);
  ASSERT_EQ(base->buffersBuilt, 1);
  EXPECT_EQ(BufferBytes(base->meshes[0].buffers->vertexBuffer, 0, 80), bytes);
  D_D3DLOCKED_RECT locked{};
  ASSERT_EQ(info->entries[0].texture->LockRect(0, &locked, nullptr, D_D3DLOCK_READONLY), 0);
  std::uint32_t texel[2] = {};
  std::memcpy(&texel[0], static_cast<std::uint8_t*>(locked.pBits) + 4, 4);
  std::memcpy(&texel[1], static_cast<std::uint8_t*>(locked.pBits) + 3 * locked.Pitch + 7 * 4, 4);
  info->entries[0].texture->UnlockRect(0);
  EXPECT_EQ(texel[0] & 0xFFFFFF, 0x102030u);
  EXPECT_EQ(texel[1] & 0xFFFFFF, 0x405060u);
}

class TextureBuilderTest : public ModelRuntimeTest {
 protected:
  void SetUp() override {
    ModelRuntimeTest::SetUp();
    StartInGameMode();
  }
  void TearDown() override {
    ReleaseImages();
    ModelRuntimeTest::TearDown();
  }
  void ReleaseImages() {
    ReleaseBaseImage(&color_);
    if (hasAlpha_) ReleaseBaseImage(&alpha_);
    hasAlpha_ = 0;
  }
  int Build(const std::string* colorFile, const std::string* alphaFile, int bump, float scale, int turn) {
    return BuildModelTexture(colorFile ? colorFile->data() : nullptr, colorFile ? static_cast<int>(colorFile->size()) : 0,
                             alphaFile ? alphaFile->data() : nullptr, alphaFile ? static_cast<int>(alphaFile->size()) : 0,
                             bump, scale, turn, &color_, &alpha_, &hasAlpha_);
  }
  std::uint32_t ColorAt(int x, int y) { return GetBaseImagePixelArgb(&color_, x, y); }
  BaseImage color_{}, alpha_{};
  int hasAlpha_ = 0;
};

TEST_F(TextureBuilderTest, HeightMapsBecomeNormalMaps) {
  // Flat except one step up at x = 2 (wrapping back down at the right edge).
  const std::string heights = wqtest::Bmp24(4, 4, [](int x, int) { return x >= 2 ? 0xFF0000u : 0u; });
  ASSERT_EQ(Build(&heights, nullptr, 1, 1.0f, 0), 0);
  EXPECT_EQ(ColorAt(0, 0), 0x007F7FFFu);  // flat: (0, 0, 1)
  // At x = 1: dX = 1, normal (-1, 0, 1) / sqrt 2.
  const int x = static_cast<int>((-1.0f / std::sqrt(2.0f) + 1.0f) * 127.5f);
  const int z = static_cast<int>((1.0f / std::sqrt(2.0f) + 1.0f) * 127.5f);
  EXPECT_EQ(ColorAt(1, 0), static_cast<std::uint32_t>(x << 16 | 0x7F << 8 | z));
  // At x = 3 the right neighbour wraps to x = 0: dX = -1.
  EXPECT_EQ(ColorAt(3, 2) >> 16 & 0xFF, static_cast<std::uint32_t>((1.0f / std::sqrt(2.0f) + 1.0f) * 127.5f));
}

TEST_F(TextureBuilderTest, SidesBecomePowersOfTwoAndTurnsAreHalfTurns) {
  const std::string picture = wqtest::Bmp24(3, 5, [](int x, int y) { return x == 0 && y == 0 ? 0xFF0000u : 0x0000FFu; });
  ASSERT_EQ(Build(&picture, nullptr, 0, 1.0f, 1), 0);
  EXPECT_EQ(color_.width, 4);
  EXPECT_EQ(color_.height, 8);
  EXPECT_EQ(ColorAt(3, 7) & 0xFFFFFF, 0xFF0000u);  // the top-left corner, turned
  EXPECT_EQ(ColorAt(0, 0) & 0xFFFFFF, 0x0000FFu);
}

TEST_F(TextureBuilderTest, WithoutAColourImageTheAlphaImageGetsWhite) {
  const std::string alpha = wqtest::Bmp24(8, 2, [](int, int) { return 0x808080u; });
  ASSERT_EQ(Build(nullptr, &alpha, 0, 1.0f, 0), 0);
  EXPECT_EQ(hasAlpha_, 1);
  EXPECT_EQ(color_.width, 8);
  EXPECT_EQ(color_.height, 2);
  EXPECT_EQ(ColorAt(7, 1) & 0xFFFFFF, 0xFFFFFFu);
  ReleaseImages();
  const std::string broken = "not a picture";
  BaseImage unused{};
  EXPECT_EQ(Build(&broken, nullptr, 0, 1.0f, 0), -1);
  EXPECT_EQ(Build(nullptr, nullptr, 0, 1.0f, 0), -1);
  EXPECT_EQ(std::memcmp(&color_, &unused, sizeof(unused)), 0);
}

}  // namespace
