// A fixture for the Direct3D draw path on the recording device: a fresh
// device state, a 640 x 480 draw area, and graphs of stub textures.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/window/window_system_state.h"
#include "graphics/device_draw.h"
#include "graphics/device_state_cache.h"
#include "graphics/graphics_state.h"
#include "graphics/render_state.h"
#include "graphics/vertex_batch.h"
#include "recording_device.h"

namespace wqtest {

class DeviceDrawTest : public testing::Test {
 protected:
  void SetUp() override {
    WindowSystem().active = 1;
    Graphics().device = &device_;
    Graphics().useHardwareRenderer = 1;
    Graphics().deviceLost = 0;
    ResetRenderState(nullptr, 640, 480);
    InitVertexBatchArrays();
    FlushVertexBatch();  // the start-up point
    device_.calls.clear();
    device_.draws.clear();
  }
  void TearDown() override {
    Graphics().device = nullptr;
    Graphics().useHardwareRenderer = 0;
    Graphics().subtractBlendNative = 0;
    Graphics().textureStageTempUsable = 0;
    DeviceStateResend = 0;
    SetOverrideDrawState(nullptr, 0);
  }

  // A graph of one piece, w x h, at the top-left of a tw x th texture.
  GraphRecord* MakeGraph(int w, int h, int tw, int th, StubTexture* texture = nullptr) {
    auto owned = std::make_unique<OwnedGraph>();
    OwnedGraph& g = *owned;
    g.entry.texture = texture ? texture : &g.texture;
    g.entry.usedWidth = w;
    g.entry.usedHeight = h;
    g.entry.textureWidth = tw;
    g.entry.textureHeight = th;
    g.image.inTextures = 1;
    g.image.width = w;
    g.image.height = h;
    g.image.entryCount = 1;
    g.image.entries = &g.entry;
    g.piece.entry = &g.entry;
    g.piece.width = w;
    g.piece.height = h;
    for (int corner = 0; corner < 4; ++corner) {
      const int right = corner & 1, lower = corner >> 1;
      float* v = g.piece.vertices[corner];
      v[0] = static_cast<float>(right * w);
      v[1] = static_cast<float>(lower * h);
      v[2] = static_cast<float>(right * w) / static_cast<float>(tw);
      v[3] = static_cast<float>(lower * h) / static_cast<float>(th);
    }
    g.record.image = &g.image;
    g.record.width = w;
    g.record.height = h;
    g.record.pieceCount = 1;
    g.record.pieces = &g.piece;
    graphs_.push_back(std::move(owned));
    return &g.record;
  }

  // A blend graph of the stub texture, size x size texels.
  static void SetStubBlendGraph(StubTexture* texture, float size) {
    SetPendingBlendTexture(texture, 0, 0);
    BlendTextureSize[0] = BlendTextureSize[1] = size;
    BlendTextureSize[2] = BlendTextureSize[3] = 1.0f / size;
  }

  // Field `field` (4 bytes each) of pending batch vertex `vertex`.
  static float BatchFloat(int vertex, int field) {
    float value;
    const VertexBatch& batch = Batch();
    std::memcpy(&value, batch.arrays[batch.format] + vertex * BatchStride(0, batch.format) + field * 4, 4);
    return value;
  }

  // The device's value of a texture-stage state.
  DWORD Stage(DWORD stage, D_D3DTEXTURESTAGESTATETYPE type) { return device_.stageStates[{stage, type}]; }

  RecordingDevice device_;

 private:
  struct OwnedGraph {
    StubTexture texture;
    GraphTextureEntry entry{};
    GraphImageInfo image{};
    GraphTexturePiece piece{};
    GraphRecord record{};
  };
  std::vector<std::unique_ptr<OwnedGraph>> graphs_;
};

}  // namespace wqtest
