// Enumerators over a snapshot taken when they are made: the pins of a
// filter, the filters of a graph, the media types a pin proposes.
#pragma once

#include <atomic>
#include <vector>

#include "platform/dshow.h"
#include "quartz/media_type_copy.h"

namespace wqplat {

// Interface: the enumerator interface; Item: what Next hands out (a
// referenced COM pointer, or a task-memory media type).
template <class Interface, class Item, const IID& kIid>
class SnapshotEnumerator final : public Interface {
 public:
  // Takes over `items` (each already holding what a copy holds).
  explicit SnapshotEnumerator(std::vector<Item> items) : items_(std::move(items)) {}

  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (iid == IID_IUnknown || iid == kIid) {
      *object = static_cast<Interface*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  HRESULT Next(ULONG count, Item* out, ULONG* fetched) override {
    if (out == nullptr) return E_POINTER;
    if (fetched == nullptr && count > 1) return E_INVALIDARG;
    ULONG taken = 0;
    while (taken < count && position_ < items_.size()) {
      out[taken] = Copy(items_[position_]);
      if (out[taken] == nullptr) break;
      ++taken;
      ++position_;
    }
    if (fetched) *fetched = taken;
    return taken == count ? S_OK : S_FALSE;
  }
  HRESULT Skip(ULONG count) override {
    if (items_.size() - position_ < count) {
      position_ = items_.size();
      return S_FALSE;
    }
    position_ += count;
    return S_OK;
  }
  HRESULT Reset() override {
    position_ = 0;
    return S_OK;
  }
  HRESULT Clone(Interface** copy) override {
    if (copy == nullptr) return E_POINTER;
    std::vector<Item> items;
    for (Item item : items_) items.push_back(Copy(item));
    auto* clone = new SnapshotEnumerator(std::move(items));
    clone->position_ = position_;
    *copy = clone;
    return S_OK;
  }

 private:
  ~SnapshotEnumerator() {
    for (Item item : items_) Free(item);
  }

  static Item Copy(Item item) {
    if constexpr (std::is_same_v<Item, D_AM_MEDIA_TYPE*>) {
      return CreateMediaTypeCopy(*item);
    } else {
      item->AddRef();
      return item;
    }
  }
  static void Free(Item item) {
    if constexpr (std::is_same_v<Item, D_AM_MEDIA_TYPE*>) {
      DeleteMediaTypeCopy(item);
    } else {
      item->Release();
    }
  }

  std::vector<Item> items_;
  size_t position_ = 0;
  std::atomic<ULONG> references_{1};
};

using PinEnumerator = SnapshotEnumerator<D_IEnumPins, D_IPin*, D_IID_IEnumPins>;
using FilterEnumerator = SnapshotEnumerator<D_IEnumFilters, D_IBaseFilter*, D_IID_IEnumFilters>;
using MediaTypeEnumerator = SnapshotEnumerator<D_IEnumMediaTypes, D_AM_MEDIA_TYPE*, D_IID_IEnumMediaTypes>;

}  // namespace wqplat
