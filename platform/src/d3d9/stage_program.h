// The fixed-function pipeline as generated GLSL: one program per
// combination of vertex layout, shading, alpha test and texture-stage
// states, made on first use and kept.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "d3d9/device_state.h"
#include "d3d9/gl_core.h"

namespace wqplat {

// Vertex attribute slots of every program.
enum VertexSlot : GLuint {
  kPositionSlot = 0,
  kDiffuseSlot = 1,
  kSpecularSlot = 2,
  kFirstTexCoordSlot = 3,  // one slot per coordinate set
};
inline constexpr int kMaxTexCoordSets = 8;

// What selects a program: everything that changes the generated source.
struct ProgramKey {
  std::array<std::uint32_t, 4 + D_D3DMAXTEXTURESTAGES * 11> words{};
  bool operator==(const ProgramKey&) const = default;
};

struct ProgramKeyHash {
  std::size_t operator()(const ProgramKey& key) const;
};

// `bound_textures` has bit s set when stage s has a texture.
ProgramKey MakeProgramKey(const DeviceState& state, bool pretransformed, unsigned bound_textures);

// The GLSL of both stages for a key (exposed for inspection by tests).
std::string VertexShaderSource(const ProgramKey& key);
std::string FragmentShaderSource(const ProgramKey& key);

struct StageProgram {
  GLuint program = 0;
  GLint target_size = -1;     // vec2: render target size
  GLint position_scale = -1;  // vec4, vec4: untransformed vertices to clip space
  GLint position_offset = -1;
  GLint transform = -1;       // mat4: world x view x projection
  GLint texture_factor = -1;  // vec4
  GLint stage_constants = -1; // vec4[8]
  GLint alpha_reference = -1; // int, 0..255
  GLint texture_matrices = -1; // mat4[8]: D3DTS_TEXTURE0 to 7

  // The values each uniform last received, so that a draw sends only the
  // ones that changed.
  enum UniformSlot {
    kTargetSize, kPositionScale, kPositionOffset, kTransform, kTextureFactor, kStageConstants,
    kAlphaReference, kTextureMatrices, kUniformSlots
  };
  std::array<std::vector<float>, kUniformSlots> sent;
};

class StageProgramCache {
 public:
  StageProgramCache() = default;
  ~StageProgramCache();
  StageProgramCache(const StageProgramCache&) = delete;
  StageProgramCache& operator=(const StageProgramCache&) = delete;

  // Null when the driver rejects the generated source.
  StageProgram* Find(const ProgramKey& key);

 private:
  std::unordered_map<ProgramKey, StageProgram, ProgramKeyHash> programs_;
};

}  // namespace wqplat
