// Loading, indexing and creating the pack's shaders. Every size read from
// the pack is checked against the bytes that hold it: a damaged pack turns
// programmable shaders off and keeps nothing it allocated.
#include "graphics/shader_pack.h"

#include <cstring>

#include "WqLib.h"
#include "core/base/tracked_allocator.h"
#include "core/files/archive_reader.h"
#include "graphics/camera_lights.h"
#include "graphics/device_state_cache.h"
#include "graphics/graphics_state.h"
#include "graphics/shader_pack_block.h"

namespace {

constexpr char kPackFileName[] = "WqShaderPack.bin";
constexpr int kFirstVertexRecord = 5462;
constexpr int kFirstVertexSlot = 2;
constexpr int kFirstPixelRecord = 409;
constexpr int kFirstPixelSlot = 0;
constexpr DWORD kShaderEndToken = 0x0000FFFF;
constexpr float kVertexConstant0[4] = {0.0f, 1.0f, 0.0f, 0.0f};
constexpr float kPixelConstant0[4] = {0.0f, 0.5f, 1.0f, 2.0f};

struct ShaderPack {
  const void* block = kShaderPackBlock;
  std::uint32_t blockSize = kShaderPackBlockSize;
  std::uint8_t* file;
  std::uint32_t fileSize;
  int useProgrammable;
};

ShaderPack g_pack;
const std::uint8_t* g_vertexCode[kVertexShaderRecords][kShaderSlots];
const std::uint8_t* g_pixelCode[kPixelShaderRecords][kShaderSlots];
D_IDirect3DVertexShader9* g_vertexObjects[kVertexShaderRecords][kShaderSlots];
D_IDirect3DPixelShader9* g_pixelObjects[kPixelShaderRecords][kShaderSlots];

void ClearIndex() {
  std::memset(g_vertexCode, 0, sizeof(g_vertexCode));
  std::memset(g_pixelCode, 0, sizeof(g_pixelCode));
}

// Points each non-empty slot at its code; false when a size runs past the
// end of the file.
template <int Records>
bool IndexRecords(const std::uint8_t* sizes, const std::uint8_t* (&table)[Records][kShaderSlots],
                  std::uint32_t* running) {
  for (int record = 0; record < Records; ++record) {
    for (int slot = 0; slot < kShaderSlots; ++slot) {
      std::uint16_t size;
      std::memcpy(&size, sizes + (record * kShaderSlots + slot) * 2, 2);
      if (size == 0) continue;
      if (static_cast<std::uint64_t>(*running) + size > g_pack.fileSize) return false;
      table[record][slot] = g_pack.file + *running;
      *running += size;
    }
  }
  return true;
}

bool IndexPack() {
  if (g_pack.fileSize < kShaderPackCodeOffset) return false;
  std::uint32_t running = kShaderPackCodeOffset;
  return IndexRecords(g_pack.file, g_vertexCode, &running) &&
         IndexRecords(g_pack.file + kVertexShaderRecords * kShaderSlots * 2, g_pixelCode, &running);
}

// The archive image unpacked from the block; null when it is damaged.
std::uint8_t* UnpackBlock(DWORD* size) {
  if (UnpackArchiveData(g_pack.block, g_pack.blockSize, nullptr, 0, size) != 0) return nullptr;
  auto* image = static_cast<std::uint8_t*>(TrackedAlloc(*size ? *size : 1, "", 0));
  if (image == nullptr) return nullptr;
  DWORD unpacked = 0;
  if (UnpackArchiveData(g_pack.block, g_pack.blockSize, image, *size, &unpacked) != 0 || unpacked != *size) {
    TrackedFree(image);
    return nullptr;
  }
  return image;
}

// Reads the pack file out of the archive image into g_pack.file.
bool ReadPackFile(std::uint8_t* image, DWORD imageSize) {
  ArchiveState archive;
  ClearArchiveState(&archive);
  if (OpenArchiveFromMemory(&archive, image, imageSize, nullptr) != 0) return false;
  bool read = false;
  if (const WqaFileRecord* record = FindArchiveFileRecord(kPackFileName, &archive)) {
    g_pack.fileSize = record->size;
    g_pack.file = static_cast<std::uint8_t*>(TrackedAlloc(record->size ? record->size : 1, "", 0));
    read = g_pack.file != nullptr && LoadArchiveFileData(&archive, record, g_pack.file) == 0;
  }
  ReleaseArchiveState(&archive);
  return read;
}

void ReleaseShaderObjects() {
  for (auto& record : g_vertexObjects)
    for (auto*& shader : record) ReleaseObject(&shader);
  for (auto& record : g_pixelObjects)
    for (auto*& shader : record) ReleaseObject(&shader);
}

// The code of a slot as the device reads it: whole aligned tokens ending
// with the end token inside the slot's size, else null (the device would
// read on past the slot looking for its end).
const DWORD* CompleteShaderCode(const std::uint8_t* code, int sizeTableOffset, int record, int slot) {
  if (code == nullptr) return nullptr;
  std::uint16_t size;
  std::memcpy(&size, g_pack.file + sizeTableOffset + (record * kShaderSlots + slot) * 2, 2);
  if (size % 4 != 0 || reinterpret_cast<std::uintptr_t>(code) % 4 != 0) return nullptr;
  DWORD last;
  std::memcpy(&last, code + size - 4, 4);
  return last == kShaderEndToken ? reinterpret_cast<const DWORD*>(code) : nullptr;
}

bool CreateFirstShaders() {
  D_IDirect3DDevice9* device = Device();
  const DWORD* vertexCode =
      CompleteShaderCode(g_vertexCode[kFirstVertexRecord][kFirstVertexSlot], 0, kFirstVertexRecord, kFirstVertexSlot);
  const DWORD* pixelCode =
      CompleteShaderCode(g_pixelCode[kFirstPixelRecord][kFirstPixelSlot], kVertexShaderRecords * kShaderSlots * 2,
                         kFirstPixelRecord, kFirstPixelSlot);
  if (vertexCode == nullptr || pixelCode == nullptr) return false;
  return SUCCEEDED(device->CreateVertexShader(vertexCode, &g_vertexObjects[kFirstVertexRecord][kFirstVertexSlot])) &&
         SUCCEEDED(device->CreatePixelShader(pixelCode, &g_pixelObjects[kFirstPixelRecord][kFirstPixelSlot]));
}

}  // namespace

void SetShaderPackBlock(const void* block, std::uint32_t size) {
  g_pack.block = block;
  g_pack.blockSize = size;
}

int LoadShaderPack() {
  if (g_pack.file) return 1;
  DWORD imageSize = 0;
  std::uint8_t* image = UnpackBlock(&imageSize);
  if (image == nullptr) return 0;
  const bool loaded = ReadPackFile(image, imageSize) && IndexPack();
  TrackedFree(image);
  if (!loaded) CloseShaderPack();
  return loaded ? 1 : 0;
}

void CloseShaderPack() {
  if (g_pack.file) TrackedFree(g_pack.file);
  g_pack.file = nullptr;
  g_pack.fileSize = 0;
  ClearIndex();
}

int ReleasePackShaders() {
  if (Device()) {
    Device()->SetVertexShader(nullptr);
    Device()->SetPixelShader(nullptr);
  }
  DeviceCache().vertexShader = nullptr;
  DeviceCache().pixelShader = nullptr;
  ReleaseShaderObjects();
  return 0;
}

int CreateShadersFromPack() {
  ReleasePackShaders();
  const GraphicsState& g = Graphics();
  g_pack.useProgrammable = 0;
  if (g.vertexShader20Usable && g.pixelShader20Usable) {
    g_pack.useProgrammable = 1;
    if (LoadShaderPack() == 0) {
      LogWrite("シェーダーコードを展開するメモリ領域の確保に失敗しました\n");
      g_pack.useProgrammable = 0;
    } else if (!CreateFirstShaders()) {
      ReleaseShaderObjects();
      g_pack.useProgrammable = 0;
    }
  }
  LogWrite(g_pack.useProgrammable ? "プログラマブルシェーダーを使用します\n"
                                  : "プログラマブルシェーダーを使用しません\n");
  if (g_pack.useProgrammable && DeviceCache().shaderIndexPending) ComputeShaderIndex();
  SetDefaultShaderConstants();
  return 0;
}

void SetDefaultShaderConstants() {
  SetVertexShaderConstants(0, 1, kVertexConstant0);
  SetPixelShaderConstants(0, 1, kPixelConstant0);
}

int UseProgrammableShader() { return g_pack.useProgrammable; }

const std::uint8_t* GetVertexShaderCode(int record, int slot) { return g_vertexCode[record][slot]; }
const std::uint8_t* GetPixelShaderCode(int record, int slot) { return g_pixelCode[record][slot]; }
D_IDirect3DVertexShader9* GetVertexShaderObject(int record, int slot) { return g_vertexObjects[record][slot]; }
D_IDirect3DPixelShader9* GetPixelShaderObject(int record, int slot) { return g_pixelObjects[record][slot]; }

void ComputeShaderIndex() {
  DeviceStateCache& c = DeviceCache();
  // Without shaders the indexes are worked out when shaders come on.
  if (!g_pack.useProgrammable) {
    c.shaderIndexPending = 1;
    return;
  }
  const int lighting = c.lighting ? 1 : 0;
  int types[3] = {0, 0, 0};
  if (lighting)
    for (int i = 0; i < 3; ++i) types[i] = GetDeviceLightType(i);
  const int anyLight = (types[0] | types[1] | types[2]) != 0 ? 1 : 0;
  const int fog = c.fogEnable ? c.fogMode : 0;
  auto pixelKind = [](int type) { return type == 0 ? 0 : type == 3 ? 2 : 1; };
  c.vertexShaderIndex = (((((lighting * 6 + anyLight) * 8 + fog) * 4 + types[0]) * 4 + types[1]) * 4 + types[2]) * 8;
  c.pixelShaderIndex =
      ((((lighting * 4 + anyLight) * 6 + pixelKind(types[0])) * 3 + pixelKind(types[1])) * 3 + pixelKind(types[2])) * 8;
  c.shaderIndexPending = 0;
}
