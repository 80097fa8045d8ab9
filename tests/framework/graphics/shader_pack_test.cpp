// The shader pack: built here with the archive writer, loaded and indexed
// slot by slot; damaged packs leave shaders off and nothing allocated; the
// program's own block is the empty pack; a device claiming shader model 2.0
// creates the first shaders from a pack that has them.
#include "graphics/shader_pack.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <utility>

#include "core/base/tracked_allocator.h"
#include "graphics/device_state_cache.h"
#include "graphics/graphics_start.h"
#include "graphics/graphics_state.h"
#include "graphics/shader_pack_block.h"
#include "graphics_fixture.h"
#include "lz_compressor.h"
#include "wqa_writer.h"

namespace {

using Slot = std::pair<int, int>;  // record, slot

// Blobs by slot; vertex records first, pixel records after, as the file
// lays them out.
struct PackContents {
  std::map<Slot, std::vector<std::uint8_t>> vertex;
  std::map<Slot, std::vector<std::uint8_t>> pixel;
};

std::vector<std::uint8_t> MakePackFile(const PackContents& contents) {
  std::vector<std::uint8_t> file(kShaderPackCodeOffset, 0);
  auto put = [&](int base, const std::map<Slot, std::vector<std::uint8_t>>& blobs) {
    for (const auto& [slot, blob] : blobs) {
      const std::size_t at = (static_cast<std::size_t>(base + slot.first) * kShaderSlots + slot.second) * 2;
      file[at] = static_cast<std::uint8_t>(blob.size());
      file[at + 1] = static_cast<std::uint8_t>(blob.size() >> 8);
    }
  };
  put(0, contents.vertex);
  put(kVertexShaderRecords, contents.pixel);
  for (const auto& [slot, blob] : contents.vertex) file.insert(file.end(), blob.begin(), blob.end());
  for (const auto& [slot, blob] : contents.pixel) file.insert(file.end(), blob.begin(), blob.end());
  return file;
}

// The packed archive image holding the file as "WqShaderPack.bin".
std::vector<std::uint8_t> MakeBlock(const std::vector<std::uint8_t>& packFile, const char* name = "WqShaderPack.bin") {
  wqa::TreeEntry root;
  root.directory = true;
  wqa::TreeEntry entry;
  entry.name = name;
  entry.data = packFile;
  root.children.push_back(entry);
  wqa::WriteOptions options;
  options.key = wqa::KeyForArchive("");
  return wqa::PackArchiveData(wqa::BuildArchiveImage(root, options));
}

std::vector<std::uint8_t> Blob(std::uint8_t fill, std::size_t size) { return std::vector<std::uint8_t>(size, fill); }

// A shader of the given version token: the version, one no-op, the end.
std::vector<std::uint8_t> ShaderCode(std::uint32_t version) {
  const std::uint32_t tokens[3] = {version, 0, 0x0000FFFF};
  std::vector<std::uint8_t> code(sizeof(tokens));
  std::memcpy(code.data(), tokens, sizeof(tokens));
  return code;
}

class ShaderPackTest : public testing::Test {
 protected:
  void TearDown() override {
    CloseShaderPack();
    SetShaderPackBlock(kShaderPackBlock, kShaderPackBlockSize);
  }
  void Use(const std::vector<std::uint8_t>& block) {
    block_ = block;
    SetShaderPackBlock(block_.data(), static_cast<std::uint32_t>(block_.size()));
  }
  std::vector<std::uint8_t> block_;
};

TEST_F(ShaderPackTest, SlotsPointAtTheirCodeInRecordAndSlotOrder) {
  PackContents contents;
  contents.vertex[{0, 5}] = Blob(1, 4);
  contents.vertex[{5462, 2}] = Blob(2, 300);
  contents.vertex[{16383, 0}] = Blob(3, 8);
  contents.pixel[{409, 0}] = Blob(4, 12);
  contents.pixel[{6911, 5}] = Blob(5, 2);
  Use(MakeBlock(MakePackFile(contents)));
  const int blocksBefore = GetTrackedBlockCount();
  ASSERT_EQ(LoadShaderPack(), 1);
  EXPECT_EQ(LoadShaderPack(), 1);  // once loaded it stays
  const std::uint8_t* first = GetVertexShaderCode(0, 5);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first[0], 1);
  EXPECT_EQ(GetVertexShaderCode(5462, 2), first + 4);
  EXPECT_EQ(GetVertexShaderCode(5462, 2)[299], 2);
  EXPECT_EQ(GetVertexShaderCode(16383, 0), first + 304);
  EXPECT_EQ(GetPixelShaderCode(409, 0), first + 312);
  EXPECT_EQ(GetPixelShaderCode(6911, 5), first + 324);
  EXPECT_EQ(GetPixelShaderCode(6911, 5)[1], 5);
  EXPECT_EQ(GetVertexShaderCode(0, 4), nullptr);
  EXPECT_EQ(GetPixelShaderCode(409, 1), nullptr);
  CloseShaderPack();
  EXPECT_EQ(GetTrackedBlockCount(), blocksBefore);
  EXPECT_EQ(GetVertexShaderCode(0, 5), nullptr);
}

TEST_F(ShaderPackTest, DamagedPacksLoadNothingAndKeepNothing) {
  PackContents overrun;
  overrun.pixel[{6911, 5}] = Blob(9, 16);
  std::vector<std::uint8_t> overrunFile = MakePackFile(overrun);
  overrunFile.resize(overrunFile.size() - 1);  // the last blob is one byte short

  std::vector<std::uint8_t> shortTable(kShaderPackCodeOffset - 2, 0);
  std::vector<std::uint8_t> good = MakeBlock(MakePackFile({}));
  std::vector<std::uint8_t> truncated(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() / 2));
  std::vector<std::uint8_t> garbage(64, 0x5A);

  const struct {
    const char* name;
    std::vector<std::uint8_t> block;
  } cases[] = {
      {"a size runs past the file", MakeBlock(overrunFile)},
      {"the size table is cut short", MakeBlock(shortTable)},
      {"the pack file is missing", MakeBlock(MakePackFile({}), "Other.bin")},
      {"the block is truncated", truncated},
      {"the block is no packed data", garbage},
      {"the block is empty", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Use(c.block);
    const int blocksBefore = GetTrackedBlockCount();
    EXPECT_EQ(LoadShaderPack(), 0);
    EXPECT_EQ(GetTrackedBlockCount(), blocksBefore);
    EXPECT_EQ(GetPixelShaderCode(6911, 5), nullptr);
  }
}

TEST_F(ShaderPackTest, TheProgramCarriesTheEmptyPack) {
  const std::vector<std::uint8_t> expected = MakeBlock(MakePackFile({}));
  // WQ_WRITE_SHADER_PACK_BLOCK=<file> writes the block's source for the
  // program (how framework/graphics/shader_pack_block.cpp is made).
  if (const char* path = std::getenv("WQ_WRITE_SHADER_PACK_BLOCK")) {
    std::ofstream out(path);
    out << "// Generated by the shader-pack test: the packed archive holding an empty\n"
           "// shader pack.\n#include \"graphics/shader_pack_block.h\"\n\n"
           "const std::uint8_t kShaderPackBlock[] = {";
    for (std::size_t i = 0; i < expected.size(); ++i) out << (i % 16 ? " " : "\n    ") << int{expected[i]} << ",";
    out << "\n};\nconst std::uint32_t kShaderPackBlockSize = sizeof(kShaderPackBlock);\n";
  }
  ASSERT_EQ(std::vector<std::uint8_t>(kShaderPackBlock, kShaderPackBlock + kShaderPackBlockSize), expected);
  ASSERT_EQ(LoadShaderPack(), 1);
  EXPECT_EQ(GetVertexShaderCode(5462, 2), nullptr);
}

// A device that claims shader model 2.0.
class ShaderDeviceTest : public wqtest::GraphicsTest {
 protected:
  void SetUp() override {
    GraphicsTest::SetUp();
    D_IDirect3D9* direct3d = Direct3DCreate9(D_D3D_SDK_VERSION);
    ASSERT_NE(direct3d, nullptr);
    D_D3DCAPS9 caps{};
    direct3d->GetDeviceCaps(D_D3DADAPTER_DEFAULT, D_D3DDEVTYPE_HAL, &caps);
    direct3d->Release();
    caps.VertexShaderVersion = 0xFFFE0200;
    caps.PixelShaderVersion = 0xFFFF0200;
    WqControlSetD3d9Caps(&caps);
  }
  void TearDown() override {
    GraphicsTest::TearDown();
    WqControlSetD3d9Caps(nullptr);
    SetShaderPackBlock(kShaderPackBlock, kShaderPackBlockSize);
  }
  // Starts the library with the first shaders packed, so shaders come on.
  void StartWithShaders() {
    PackContents contents;
    contents.vertex[{5462, 2}] = ShaderCode(0xFFFE0200);
    contents.pixel[{409, 0}] = ShaderCode(0xFFFF0200);
    block_ = MakeBlock(MakePackFile(contents));
    SetShaderPackBlock(block_.data(), static_cast<std::uint32_t>(block_.size()));
    ASSERT_EQ(StartLibrary(), 0);
    ASSERT_EQ(UseProgrammableShader(), 1);
  }
  static std::vector<BOOL> VertexBools(int first, int count) {
    std::vector<BOOL> values(count, 7);
    EXPECT_EQ(Device()->GetVertexShaderConstantB(first, values.data(), count), D_D3D_OK);
    return values;
  }
  std::vector<std::uint8_t> block_;
};

TEST_F(ShaderDeviceTest, APackWithTheFirstShadersTurnsShadersOn) {
  StartWithShaders();
  EXPECT_NE(GetVertexShaderObject(5462, 2), nullptr);
  EXPECT_NE(GetPixelShaderObject(409, 0), nullptr);
  wqtest::ExpectLogInOrder(ReadLog(),
                           {"頂点シェーダーバージョンコード：200", "プログラマブルシェーダーを使用します\r\n"});
}

TEST_F(ShaderDeviceTest, CodeWithoutItsEndTokenLeavesShadersOff) {
  PackContents contents;
  contents.vertex[{5462, 2}] = Blob(0, 16);  // the device would read past it for its end
  contents.pixel[{409, 0}] = ShaderCode(0xFFFF0200);
  block_ = MakeBlock(MakePackFile(contents));
  SetShaderPackBlock(block_.data(), static_cast<std::uint32_t>(block_.size()));
  ASSERT_EQ(StartLibrary(), 0);
  EXPECT_EQ(UseProgrammableShader(), 0);
  EXPECT_EQ(GetPixelShaderObject(409, 0), nullptr);
}

TEST_F(ShaderDeviceTest, TheEmptyPackLeavesShadersOff) {
  ASSERT_EQ(StartLibrary(), 0);
  EXPECT_EQ(UseProgrammableShader(), 0);
  EXPECT_EQ(GetVertexShaderObject(5462, 2), nullptr);
  wqtest::ExpectLogInOrder(ReadLog(), {"プログラマブルシェーダーを使用しません\r\n"});
}

// The fog shaders read vertex bool registers 0..3: linear, exponential,
// exponential squared, any fog. The fog part of the vertex shader index
// follows the mode just set.
TEST_F(ShaderDeviceTest, FogModeSetsTheFogBoolRegistersAndTheShaderIndex) {
  StartWithShaders();
  ASSERT_EQ(SetDeviceFogEnable(1), 0);
  const struct {
    int mode;
    std::vector<BOOL> registers;
  } cases[] = {
      {1, {FALSE, TRUE, FALSE, TRUE}},
      {2, {FALSE, FALSE, TRUE, TRUE}},
      {3, {TRUE, FALSE, FALSE, TRUE}},
      {0, {FALSE, FALSE, FALSE, FALSE}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    ASSERT_EQ(SetDeviceFogMode(c.mode), 0);
    EXPECT_EQ(VertexBools(0, 4), c.registers);
    EXPECT_EQ(DeviceCache().vertexShaderIndex / (4 * 4 * 4 * 8) % 8, c.mode);
  }
}

TEST_F(ShaderDeviceTest, TheUserConstantSetTakesTheDeviceUntilTheFrameworkSetsAConstant) {
  StartWithShaders();
  ASSERT_EQ(SetDeviceFogMode(3), 0);
  UserShaderConstantSet& user = UserShaderConstants();
  user = UserShaderConstantSet{};
  user.vertexInt = {2, 1, {}};
  user.vertexInt.values[2][0] = 11;
  user.vertexInt.values[2][3] = -4;
  user.vertexBool = {0, 2, {}};
  user.vertexBool.values[1][0] = TRUE;
  user.pixelBool = {15, 1, {}};
  user.pixelBool.values[15][0] = TRUE;

  ASSERT_EQ(ApplyShaderConstantSet(1), 0);
  int ints[4] = {};
  ASSERT_EQ(Device()->GetVertexShaderConstantI(2, ints, 1), D_D3D_OK);
  EXPECT_EQ(ints[0], 11);
  EXPECT_EQ(ints[3], -4);
  EXPECT_EQ(VertexBools(0, 4), (std::vector<BOOL>{FALSE, TRUE, FALSE, TRUE}));
  BOOL pixelBool = FALSE;
  ASSERT_EQ(Device()->GetPixelShaderConstantB(15, &pixelBool, 1), D_D3D_OK);
  EXPECT_EQ(pixelBool, TRUE);
  EXPECT_EQ(DeviceCache().userConstantSetOn, 1);

  // A framework constant switches back, restoring the fog registers the
  // user set wrote over.
  const float value[4] = {1.0f, 2.0f, 3.0f, 4.0f};
  ASSERT_EQ(SetVertexShaderConstants(20, 1, value), 0);
  EXPECT_EQ(DeviceCache().userConstantSetOn, 0);
  EXPECT_EQ(VertexBools(0, 4), (std::vector<BOOL>{TRUE, FALSE, FALSE, TRUE}));

  user.pixelInt = {15, 2, {}};  // past the sixteen integer registers
  EXPECT_EQ(ApplyShaderConstantSet(1), -1);
  user = UserShaderConstantSet{};
}

}  // namespace
