// Vertex declarations for the programmable-shader model formats, made and
// released with the device.
#include "graphics/device_state_cache.h"
#include "graphics/graphics_state.h"

namespace {

constexpr int kGroups = 6;
constexpr int kTexCoordVariants = 9;
constexpr int kMaxElements = 20;

enum : BYTE { kFloat2 = 1, kFloat3 = 2, kFloat4 = 3, kColor = 4, kUbyte4 = 5 };
enum : BYTE { kPosition = 0, kBlendWeight = 1, kBlendIndices = 2, kNormal = 3, kTexCoord = 5, kColorUsage = 10 };

D_IDirect3DVertexDeclaration9* g_declarations[kGroups][kTexCoordVariants];
D_IDirect3DVertexDeclaration9* g_plainDeclaration;

struct Builder {
  D_D3DVERTEXELEMENT9 elements[kMaxElements];
  int count = 0;
  WORD offset = 0;
  void Add(BYTE type, BYTE usage, BYTE index, WORD size) {
    elements[count++] = D_D3DVERTEXELEMENT9{0, offset, type, 0, usage, index};
    offset = static_cast<WORD>(offset + size);
  }
  void End() { elements[count++] = D_D3DDECL_END(); }
};

// Group 3 x e + w: position, w pairs of blend indices and weights, one
// normal (e = 0) or three (e = 1), two colours.
void AddFixedElements(Builder* b, int group) {
  const int weights = group % 3;
  const bool threeNormals = group >= 3;
  b->Add(kFloat3, kPosition, 0, 12);
  for (int i = 0; i < weights; ++i) b->Add(kUbyte4, kBlendIndices, static_cast<BYTE>(i), 4);
  for (int i = 0; i < weights; ++i) b->Add(kFloat4, kBlendWeight, static_cast<BYTE>(i), 16);
  for (int i = 0; i < (threeNormals ? 3 : 1); ++i) b->Add(kFloat3, kNormal, static_cast<BYTE>(i), 12);
  b->Add(kColor, kColorUsage, 0, 4);
  b->Add(kColor, kColorUsage, 1, 4);
}

}  // namespace

void ReleaseVertexDeclarations() {
  for (auto& group : g_declarations)
    for (auto*& declaration : group) ReleaseObject(&declaration);
  ReleaseObject(&g_plainDeclaration);
}

int CreateVertexDeclarations() {
  ReleaseVertexDeclarations();
  if (!Device()) return -1;
  for (int group = 0; group < kGroups; ++group) {
    for (int variant = 0; variant < kTexCoordVariants; ++variant) {
      Builder b;
      AddFixedElements(&b, group);
      for (int k = 0; k < variant; ++k) b.Add(kFloat4, kTexCoord, static_cast<BYTE>(k), 16);
      b.End();
      Device()->CreateVertexDeclaration(b.elements, &g_declarations[group][variant]);
    }
  }
  Builder plain;
  plain.Add(kFloat3, kPosition, 0, 12);
  plain.Add(kFloat3, kNormal, 0, 12);
  plain.Add(kColor, kColorUsage, 0, 4);
  plain.Add(kColor, kColorUsage, 1, 4);
  plain.Add(kFloat2, kTexCoord, 0, 4);  // the second pair follows 4 bytes on, overlapping the first
  plain.Add(kFloat2, kTexCoord, 1, 8);
  plain.End();
  Device()->CreateVertexDeclaration(plain.elements, &g_plainDeclaration);
  return 0;
}
