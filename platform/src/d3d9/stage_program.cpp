#include "d3d9/stage_program.h"

#include <cstdio>
#include <string_view>

namespace wqplat {
namespace {

// Layout of ProgramKey::words.
enum KeyWord { kFlagsWord = 0, kAlphaFunctionWord = 1, kTexturesWord = 2, kFirstStageWord = 4 };
enum KeyFlag : std::uint32_t { kPretransformed = 1, kFlatShading = 2, kSpecularAdd = 4 };
enum StageWord {
  kColorOp, kColorArg1, kColorArg2, kColorArg0,
  kAlphaOp, kAlphaArg1, kAlphaArg2, kAlphaArg0,
  kResultArg, kTexCoordIndex, kTransformFlags, kStageWords
};

std::uint32_t StageValue(const ProgramKey& key, int stage, StageWord word) {
  return key.words[kFirstStageWord + stage * kStageWords + word];
}

bool StageActive(const ProgramKey& key, int stage) {
  return stage < static_cast<int>(D_D3DMAXTEXTURESTAGES) &&
         StageValue(key, stage, kColorOp) != D_D3DTOP_DISABLE &&
         StageValue(key, stage, kColorOp) != 0;
}

bool TextureBound(const ProgramKey& key, int stage) {
  return (key.words[kTexturesWord] >> stage) & 1;
}

// Whether the operation `op` on arguments arg0..arg2 (state words) reads
// the stage's texture.
bool ReadsTexture(const ProgramKey& key, int stage, DWORD op, StageWord arg0, StageWord arg1,
                  StageWord arg2) {
  auto is_texture = [&](StageWord arg) {
    return (StageValue(key, stage, arg) & D_D3DTA_SELECTMASK) == D_D3DTA_TEXTURE;
  };
  bool uses_arg0 = op == D_D3DTOP_MULTIPLYADD || op == D_D3DTOP_LERP;
  return op == D_D3DTOP_BLENDTEXTUREALPHA || op == D_D3DTOP_BLENDTEXTUREALPHAPM ||
         (op != D_D3DTOP_SELECTARG2 && is_texture(arg1)) ||
         (op != D_D3DTOP_SELECTARG1 && is_texture(arg2)) || (uses_arg0 && is_texture(arg0));
}

// The operation a stage performs on one channel group: one that reads a
// texture the stage does not have passes the current value through, as
// Direct3D does, so untextured draws take the vertex colour and alpha.
DWORD EffectiveOp(const ProgramKey& key, int stage, StageWord op_word, StageWord arg0,
                  StageWord arg1, StageWord arg2) {
  DWORD op = StageValue(key, stage, op_word);
  if (TextureBound(key, stage) || !ReadsTexture(key, stage, op, arg0, arg1, arg2)) return op;
  return D_D3DTOP_DISABLE;
}

// Operations whose result stays within 0..1 when their arguments do, so
// that it needs no clamping.
bool StaysInRange(DWORD op) {
  switch (op) {
    case D_D3DTOP_DISABLE:
    case D_D3DTOP_SELECTARG1:
    case D_D3DTOP_SELECTARG2:
    case D_D3DTOP_MODULATE:
    case D_D3DTOP_ADDSMOOTH:
    case D_D3DTOP_BLENDDIFFUSEALPHA:
    case D_D3DTOP_BLENDTEXTUREALPHA:
    case D_D3DTOP_BLENDFACTORALPHA:
    case D_D3DTOP_BLENDCURRENTALPHA:
    case D_D3DTOP_LERP:
    case D_D3DTOP_DOTPRODUCT3:
      return true;
    default: return false;
  }
}

// The number of coordinates a stage's texture transform produces (1 to 4),
// 0 when it has none.
int TransformCount(const ProgramKey& key, int stage) {
  DWORD count = StageValue(key, stage, kTransformFlags) & 0xFF;
  return count >= D_D3DTTFF_COUNT1 && count <= D_D3DTTFF_COUNT4 ? static_cast<int>(count) : 0;
}

bool TransformProjected(const ProgramKey& key, int stage) {
  return (StageValue(key, stage, kTransformFlags) & D_D3DTTFF_PROJECTED) != 0;
}

// The stages that sample their texture: active, with a texture bound.
bool StageSamples(const ProgramKey& key, int stage) {
  return TextureBound(key, stage) &&
         (StageActive(key, stage) || (stage > 0 && StageActive(key, stage - 1)));
}

// Whether a stage's coordinates need their third component: only a
// projected transform divides by it.
bool Projective(const ProgramKey& key, int stage) {
  return TransformProjected(key, stage) && TransformCount(key, stage) > 0;
}

// Whether the program reads the specular colour; without it the
// interpolator is spared.
bool UsesSpecular(const ProgramKey& key) {
  if (key.words[kFlagsWord] & kSpecularAdd) return true;
  for (int stage = 0; StageActive(key, stage); ++stage) {
    for (StageWord arg : {kColorArg0, kColorArg1, kColorArg2, kAlphaArg0, kAlphaArg1, kAlphaArg2}) {
      if ((StageValue(key, stage, arg) & D_D3DTA_SELECTMASK) == D_D3DTA_SPECULAR) return true;
    }
  }
  return false;
}

// The GLSL type of a stage's coordinates.
std::string CoordinateType(const ProgramKey& key, int stage) {
  return Projective(key, stage) ? "vec3" : "vec2";
}

// The coordinate sets that the sampling stages read.
unsigned UsedTexCoordSets(const ProgramKey& key) {
  unsigned used = 0;
  for (int stage = 0; stage < static_cast<int>(D_D3DMAXTEXTURESTAGES); ++stage) {
    if (StageSamples(key, stage)) used |= 1u << (StageValue(key, stage, kTexCoordIndex) & 7);
  }
  return used;
}

std::string Argument(DWORD argument, int stage) {
  std::string base;
  switch (argument & D_D3DTA_SELECTMASK) {
    case D_D3DTA_DIFFUSE: base = "diffuse"; break;
    case D_D3DTA_TEXTURE: base = "texel" + std::to_string(stage); break;
    case D_D3DTA_TFACTOR: base = "u_texture_factor"; break;
    case D_D3DTA_SPECULAR: base = "specular"; break;
    case D_D3DTA_TEMP: base = "temp"; break;
    case D_D3DTA_CONSTANT: base = "u_stage_constants[" + std::to_string(stage) + "]"; break;
    default: base = "current"; break;
  }
  if (argument & D_D3DTA_ALPHAREPLICATE) base = "vec4(" + base + ".a)";
  if (argument & D_D3DTA_COMPLEMENT) base = "(vec4(1.0) - " + base + ")";
  return base;
}

// The Direct3D 9 formula of an operation on the arguments a0, a1, a2 of
// the stage, for the channels `part` (".rgb" or ".a").
std::string Operation(DWORD op, int stage, std::string_view part, bool next_stage_texture) {
  std::string p(part);
  std::string a0 = "a0" + p, a1 = "a1" + p, a2 = "a2" + p;
  std::string texel = "texel" + std::to_string(stage);
  std::string scalar_type = part == ".a" ? "float" : "vec3";
  switch (op) {
    case D_D3DTOP_SELECTARG1: return a1;
    case D_D3DTOP_SELECTARG2: return a2;
    case D_D3DTOP_MODULATE: return a1 + " * " + a2;
    case D_D3DTOP_MODULATE2X: return a1 + " * " + a2 + " * 2.0";
    case D_D3DTOP_MODULATE4X: return a1 + " * " + a2 + " * 4.0";
    case D_D3DTOP_ADD: return a1 + " + " + a2;
    case D_D3DTOP_ADDSIGNED: return a1 + " + " + a2 + " - 0.5";
    case D_D3DTOP_ADDSIGNED2X: return "(" + a1 + " + " + a2 + " - 0.5) * 2.0";
    case D_D3DTOP_SUBTRACT: return a1 + " - " + a2;
    case D_D3DTOP_ADDSMOOTH: return a1 + " + " + a2 + " - " + a1 + " * " + a2;
    case D_D3DTOP_BLENDDIFFUSEALPHA: return "mix(" + a2 + ", " + a1 + ", diffuse.a)";
    case D_D3DTOP_BLENDTEXTUREALPHA: return "mix(" + a2 + ", " + a1 + ", " + texel + ".a)";
    case D_D3DTOP_BLENDFACTORALPHA: return "mix(" + a2 + ", " + a1 + ", u_texture_factor.a)";
    case D_D3DTOP_BLENDTEXTUREALPHAPM: return a1 + " + " + a2 + " * (1.0 - " + texel + ".a)";
    case D_D3DTOP_BLENDCURRENTALPHA: return "mix(" + a2 + ", " + a1 + ", current.a)";
    case D_D3DTOP_PREMODULATE:
      return next_stage_texture ? a1 + " * texel" + std::to_string(stage + 1) + p : a1;
    case D_D3DTOP_MODULATEALPHA_ADDCOLOR: return a1 + " + a1.a * " + a2;
    case D_D3DTOP_MODULATECOLOR_ADDALPHA: return a1 + " * " + a2 + " + a1.a";
    case D_D3DTOP_MODULATEINVALPHA_ADDCOLOR: return "(1.0 - a1.a) * " + a2 + " + " + a1;
    case D_D3DTOP_MODULATEINVCOLOR_ADDALPHA: return "(1.0 - " + a1 + ") * " + a2 + " + a1.a";
    case D_D3DTOP_DOTPRODUCT3:
      return scalar_type + "(clamp(4.0 * dot(a1.rgb - 0.5, a2.rgb - 0.5), 0.0, 1.0))";
    case D_D3DTOP_MULTIPLYADD: return a0 + " + " + a1 + " * " + a2;
    case D_D3DTOP_LERP: return "mix(" + a2 + ", " + a1 + ", " + a0 + ")";
    default: return "current" + p;  // disabled alpha and the bump-mapping ops pass through
  }
}

const char* Comparison(DWORD function) {
  switch (function) {
    case D_D3DCMP_NEVER: return "false";
    case D_D3DCMP_LESS: return "alpha < u_alpha_reference";
    case D_D3DCMP_EQUAL: return "alpha == u_alpha_reference";
    case D_D3DCMP_LESSEQUAL: return "alpha <= u_alpha_reference";
    case D_D3DCMP_GREATER: return "alpha > u_alpha_reference";
    case D_D3DCMP_NOTEQUAL: return "alpha != u_alpha_reference";
    case D_D3DCMP_GREATEREQUAL: return "alpha >= u_alpha_reference";
    default: return "true";
  }
}

std::string Interpolation(const ProgramKey& key) {
  return (key.words[kFlagsWord] & kFlatShading) ? "flat " : "";
}

GLuint Compile(GLenum kind, const std::string& source) {
  GLuint shader = glCreateShader(kind);
  const char* text = source.c_str();
  glShaderSource(shader, 1, &text, nullptr);
  glCompileShader(shader);
  GLint compiled = GL_FALSE;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
  if (compiled) return shader;
  char log[1024] = {};
  glGetShaderInfoLog(shader, sizeof log, nullptr, log);
  std::fprintf(stderr, "d3d9: generated shader rejected: %s\n", log);
  glDeleteShader(shader);
  return 0;
}

}  // namespace

std::size_t ProgramKeyHash::operator()(const ProgramKey& key) const {
  std::size_t hash = 14695981039346656037ull;
  for (std::uint32_t word : key.words) hash = (hash ^ word) * 1099511628211ull;
  return hash;
}

ProgramKey MakeProgramKey(const DeviceState& state, bool pretransformed, unsigned bound_textures) {
  ProgramKey key;
  const auto& render = state.render;
  std::uint32_t flags = 0;
  if (pretransformed) flags |= kPretransformed;
  if (render[D_D3DRS_SHADEMODE] == D_D3DSHADE_FLAT) flags |= kFlatShading;
  if (render[D_D3DRS_SPECULARENABLE]) flags |= kSpecularAdd;
  key.words[kFlagsWord] = flags;
  key.words[kAlphaFunctionWord] =
      render[D_D3DRS_ALPHATESTENABLE] && render[D_D3DRS_ALPHAFUNC] != D_D3DCMP_ALWAYS
          ? render[D_D3DRS_ALPHAFUNC]
          : 0;
  unsigned textures = 0;
  static constexpr D_D3DTEXTURESTAGESTATETYPE kStageStates[kStageWords] = {
      D_D3DTSS_COLOROP,   D_D3DTSS_COLORARG1, D_D3DTSS_COLORARG2, D_D3DTSS_COLORARG0,
      D_D3DTSS_ALPHAOP,   D_D3DTSS_ALPHAARG1, D_D3DTSS_ALPHAARG2, D_D3DTSS_ALPHAARG0,
      D_D3DTSS_RESULTARG, D_D3DTSS_TEXCOORDINDEX, D_D3DTSS_TEXTURETRANSFORMFLAGS};
  // How a stage's texture is addressed: only the coordinate set number
  // matters (the upper bits pick generation modes), and the transform
  // applies to vertices the device transforms itself.
  auto store_addressing = [&](int stage) {
    const auto& states = state.stages[stage].states;
    std::uint32_t* words = &key.words[kFirstStageWord + stage * kStageWords];
    words[kTexCoordIndex] = states[D_D3DTSS_TEXCOORDINDEX] & 7;
    words[kTransformFlags] = pretransformed ? 0 : states[D_D3DTSS_TEXTURETRANSFORMFLAGS];
  };
  int stage = 0;
  for (; stage < static_cast<int>(D_D3DMAXTEXTURESTAGES); ++stage) {
    const auto& states = state.stages[stage].states;
    if (states[D_D3DTSS_COLOROP] == D_D3DTOP_DISABLE) break;
    for (int word = 0; word < kStageWords; ++word) {
      key.words[kFirstStageWord + stage * kStageWords + word] = states[kStageStates[word]];
    }
    store_addressing(stage);
    textures |= bound_textures & (1u << stage);
  }
  // A pre-modulating stage reads the next stage's texture even when that
  // stage is disabled.
  if (stage < static_cast<int>(D_D3DMAXTEXTURESTAGES)) store_addressing(stage);
  key.words[kTexturesWord] = textures | (bound_textures & ~textures & (textures << 1));
  return key;
}

namespace {

// The vertex shader's lines giving stage `stage` its coordinates: (u, v),
// or (u, v, q) sampled at (u / q, v / q) when projected. A transform
// multiplies the set's (u, v) as the row (u, v, 1, 0) by the stage's
// matrix, keeps the first `count` results (the rest read 0) and, projected,
// divides them by the last one kept.
std::string StageCoordinate(const ProgramKey& key, int stage) {
  std::string s = std::to_string(stage);
  std::string input = "a_tex" + std::to_string(StageValue(key, stage, kTexCoordIndex));
  int count = TransformCount(key, stage);
  if (count == 0) return "  v_coord" + s + " = " + input + ";\n";
  static const char* const kKept[] = {"", "vec2(t.x, 0.0)", "t.xy", "t.xy", "t.xy"};
  static const char* const kLast[] = {"", "t.x", "t.y", "t.z", "t.w"};
  std::string kept = kKept[count];
  return "  {\n    vec4 t = u_texture_matrices[" + s + "] * vec4(" + input + ", 1.0, 0.0);\n" +
         "    v_coord" + s + " = " +
         (Projective(key, stage) ? "vec3(" + kept + ", " + kLast[count] + ")" : kept) +
         ";\n  }\n";
}

}  // namespace

std::string VertexShaderSource(const ProgramKey& key) {
  std::string flat = Interpolation(key);
  std::string source =
      "#version 330 core\n"
      "layout(location = 0) in vec4 a_position;\n"
      "layout(location = 1) in vec4 a_diffuse;\n"
      "layout(location = 2) in vec4 a_specular;\n"
      "uniform vec2 u_target_size;\n"
      "uniform vec4 u_position_scale;\n"
      "uniform vec4 u_position_offset;\n"
      "uniform mat4 u_transform;\n"
      "uniform mat4 u_texture_matrices[8];\n" +
      flat + "out vec4 v_diffuse;\n";
  bool specular = UsesSpecular(key);
  if (specular) source += flat + "out vec4 v_specular;\n";
  unsigned sets = UsedTexCoordSets(key);
  for (int set = 0; set < kMaxTexCoordSets; ++set) {
    if (!(sets >> set & 1)) continue;
    source += "layout(location = " + std::to_string(kFirstTexCoordSlot + set) + ") in vec2 a_tex" +
              std::to_string(set) + ";\n";
  }
  for (int stage = 0; stage < static_cast<int>(D_D3DMAXTEXTURESTAGES); ++stage) {
    if (StageSamples(key, stage)) {
      source += "out " + CoordinateType(key, stage) + " v_coord" + std::to_string(stage) + ";\n";
    }
  }
  source += "void main() {\n";
  if (key.words[kFlagsWord] & kPretransformed) {
    // Direct3D's pixel centres lie on whole numbers, OpenGL's half-way.
    source +=
        "  float w = a_position.w > 0.0 ? 1.0 / a_position.w : 1.0;\n"
        "  gl_Position = vec4((a_position.xy + 0.5) * 2.0 / u_target_size - 1.0,\n"
        "                     a_position.z * 2.0 - 1.0, 1.0) * w;\n";
  } else {
    source +=
        "  vec4 clip = u_transform * vec4(a_position.xyz, 1.0);\n"
        "  gl_Position = vec4(clip.xyz * u_position_scale.xyz + clip.w * u_position_offset.xyz,\n"
        "                     clip.w);\n";
  }
  source += "  v_diffuse = a_diffuse;\n";
  if (specular) source += "  v_specular = a_specular;\n";
  for (int stage = 0; stage < static_cast<int>(D_D3DMAXTEXTURESTAGES); ++stage) {
    if (StageSamples(key, stage)) source += StageCoordinate(key, stage);
  }
  return source + "}\n";
}

std::string FragmentShaderSource(const ProgramKey& key) {
  std::string flat = Interpolation(key);
  bool specular = UsesSpecular(key);
  std::string source = "#version 330 core\n" + flat + "in vec4 v_diffuse;\n" +
                       (specular ? flat + "in vec4 v_specular;\n" : std::string()) +
                       "uniform vec4 u_texture_factor;\n"
                       "uniform vec4 u_stage_constants[8];\n"
                       "uniform int u_alpha_reference;\n"
                       "out vec4 o_color;\n";
  for (int stage = 0; stage < static_cast<int>(D_D3DMAXTEXTURESTAGES); ++stage) {
    if (!StageSamples(key, stage)) continue;
    std::string s = std::to_string(stage);
    source += "in " + CoordinateType(key, stage) + " v_coord" + s + ";\nuniform sampler2D u_texture" +
              s + ";\n";
  }
  source +=
      "void main() {\n"
      "  vec4 diffuse = v_diffuse;\n" +
      std::string(specular ? "  vec4 specular = v_specular;\n" : "") +
      "  vec4 current = diffuse;\n"
      "  vec4 temp = vec4(0.0);\n";
  for (int stage = 0; stage < static_cast<int>(D_D3DMAXTEXTURESTAGES); ++stage) {
    std::string s = std::to_string(stage);
    if (!StageSamples(key, stage)) {
      // Never read: the operations that would read it pass the current
      // value through instead.
      source += "  vec4 texel" + s + " = vec4(1.0);\n";
      continue;
    }
    std::string coordinate =
        Projective(key, stage) ? "v_coord" + s + ".xy / v_coord" + s + ".z" : "v_coord" + s;
    source += "  vec4 texel" + s + " = texture(u_texture" + s + ", " + coordinate + ");\n";
  }
  for (int stage = 0; StageActive(key, stage); ++stage) {
    DWORD color_op = EffectiveOp(key, stage, kColorOp, kColorArg0, kColorArg1, kColorArg2);
    DWORD alpha_op = EffectiveOp(key, stage, kAlphaOp, kAlphaArg0, kAlphaArg1, kAlphaArg2);
    bool next_texture = stage + 1 < static_cast<int>(D_D3DMAXTEXTURESTAGES) && TextureBound(key, stage + 1);
    auto arguments = [&](StageWord arg0, StageWord arg1, StageWord arg2) {
      return "    vec4 a0 = " + Argument(StageValue(key, stage, arg0), stage) + ";\n" +
             "    vec4 a1 = " + Argument(StageValue(key, stage, arg1), stage) + ";\n" +
             "    vec4 a2 = " + Argument(StageValue(key, stage, arg2), stage) + ";\n";
    };
    std::string alpha = color_op == D_D3DTOP_DOTPRODUCT3 ? "color.r"
                        : alpha_op == D_D3DTOP_DISABLE   ? "current.a"
                                                         : "";
    source += "  {\n" + arguments(kColorArg0, kColorArg1, kColorArg2) +
              "    vec3 color = " + Operation(color_op, stage, ".rgb", next_texture) + ";\n";
    if (alpha.empty()) {
      source += "    float alpha;\n    {\n" + arguments(kAlphaArg0, kAlphaArg1, kAlphaArg2) +
                "    alpha = " + Operation(alpha_op, stage, ".a", next_texture) + ";\n    }\n";
    } else {
      source += "    float alpha = " + alpha + ";\n";
    }
    std::string result = StageValue(key, stage, kResultArg) == D_D3DTA_TEMP ? "temp" : "current";
    bool in_range = StaysInRange(color_op) && (!alpha.empty() || StaysInRange(alpha_op));
    source += "    " + result + " = " +
              (in_range ? "vec4(color, alpha)" : "clamp(vec4(color, alpha), 0.0, 1.0)") + ";\n  }\n";
  }
  if (key.words[kFlagsWord] & kSpecularAdd) {
    source += "  current.rgb = clamp(current.rgb + specular.rgb, 0.0, 1.0);\n";
  }
  if (key.words[kAlphaFunctionWord] != 0) {
    source += "  int alpha = int(round(current.a * 255.0));\n  if (!(" +
              std::string(Comparison(key.words[kAlphaFunctionWord])) + ")) discard;\n";
  }
  return source + "  o_color = current;\n}\n";
}

StageProgramCache::~StageProgramCache() {
  for (auto& [key, program] : programs_) glDeleteProgram(program.program);
}

StageProgram* StageProgramCache::Find(const ProgramKey& key) {
  auto found = programs_.find(key);
  if (found != programs_.end()) return found->second.program ? &found->second : nullptr;
  StageProgram& entry = programs_[key];
  GLuint vertex = Compile(GL_VERTEX_SHADER, VertexShaderSource(key));
  GLuint fragment = Compile(GL_FRAGMENT_SHADER, FragmentShaderSource(key));
  if (!vertex || !fragment) {
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    return nullptr;
  }
  GLuint program = glCreateProgram();
  glAttachShader(program, vertex);
  glAttachShader(program, fragment);
  glLinkProgram(program);
  glDeleteShader(vertex);
  glDeleteShader(fragment);
  GLint linked = GL_FALSE;
  glGetProgramiv(program, GL_LINK_STATUS, &linked);
  if (!linked) {
    glDeleteProgram(program);
    return nullptr;
  }
  entry.program = program;
  entry.target_size = glGetUniformLocation(program, "u_target_size");
  entry.position_scale = glGetUniformLocation(program, "u_position_scale");
  entry.position_offset = glGetUniformLocation(program, "u_position_offset");
  entry.transform = glGetUniformLocation(program, "u_transform");
  entry.texture_factor = glGetUniformLocation(program, "u_texture_factor");
  entry.stage_constants = glGetUniformLocation(program, "u_stage_constants");
  entry.alpha_reference = glGetUniformLocation(program, "u_alpha_reference");
  entry.texture_matrices = glGetUniformLocation(program, "u_texture_matrices");
  glUseProgram(program);
  for (int stage = 0; stage < static_cast<int>(D_D3DMAXTEXTURESTAGES); ++stage) {
    GLint sampler = glGetUniformLocation(program, ("u_texture" + std::to_string(stage)).c_str());
    if (sampler >= 0) glUniform1i(sampler, stage);
  }
  return &entry;
}

}  // namespace wqplat
