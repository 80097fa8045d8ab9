#include "d3d9/stored_object.h"

namespace wqplat {
namespace {

// Neither list carries its length; a missing end marker stops here.
constexpr std::size_t kMaxItems = 65536;

}  // namespace

std::vector<DWORD> ShaderTokens(const DWORD* function) {
  std::vector<DWORD> tokens;
  if (!function) return tokens;
  for (std::size_t i = 0; i < kMaxItems; ++i) {
    tokens.push_back(function[i]);
    if (function[i] == 0x0000FFFFu) break;
  }
  return tokens;
}

std::vector<D_D3DVERTEXELEMENT9> DeclarationElements(const D_D3DVERTEXELEMENT9* elements) {
  std::vector<D_D3DVERTEXELEMENT9> list;
  if (!elements) return list;
  for (std::size_t i = 0; i < kMaxItems; ++i) {
    list.push_back(elements[i]);
    if (elements[i].Stream == 0xFF) break;
  }
  return list;
}

}  // namespace wqplat
