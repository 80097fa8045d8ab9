// Shaders and vertex declarations: kept as given, never run (the device
// reports no shader support, so programs draw with the fixed function).
#pragma once

#include <vector>

#include "d3d9/device_child.h"

namespace wqplat {

template <class Interface, class Item>
class StoredObject final : public DeviceChild<Interface> {
 public:
  StoredObject(D_IDirect3DDevice9* device, std::vector<Item> items)
      : DeviceChild<Interface>(device, DeviceChildCount::Ownership::kCaller),
        items_(std::move(items)) {}

  const std::vector<Item>& items() const { return items_; }

 private:
  std::vector<Item> items_;
};

using VertexShader = StoredObject<D_IDirect3DVertexShader9, DWORD>;
using PixelShader = StoredObject<D_IDirect3DPixelShader9, DWORD>;
using VertexDeclaration = StoredObject<D_IDirect3DVertexDeclaration9, D_D3DVERTEXELEMENT9>;

// A shader's tokens up to and including its end token (0x0000FFFF); empty
// when the function is null.
std::vector<DWORD> ShaderTokens(const DWORD* function);
// A declaration's elements up to and including D3DDECL_END.
std::vector<D_D3DVERTEXELEMENT9> DeclarationElements(const D_D3DVERTEXELEMENT9* elements);

}  // namespace wqplat
