// The enumerators that pins and filters hand out: the media types a pin
// proposes and the pins of a filter. Each lives on its own reference count
// and keeps its pin or filter alive.
#pragma once

#include "media/filters/base_list.h"

class D_CBasePin;
class D_CBaseFilter;

class D_CEnumMediaTypes : public D_IEnumMediaTypes, public D_CTrackedNew {
 public:
  // Continues where the other enumerator stands, or starts at the first
  // type with the pin's current media-type version.
  D_CEnumMediaTypes(D_CBasePin* pin, const D_CEnumMediaTypes* other);
  D_CEnumMediaTypes(const D_CEnumMediaTypes&) = delete;
  D_CEnumMediaTypes& operator=(const D_CEnumMediaTypes&) = delete;

  HRESULT QueryInterface(REFIID iid, void** object) override;
  ULONG AddRef() override;
  ULONG Release() override;
  HRESULT Next(ULONG count, D_AM_MEDIA_TYPE** types, ULONG* fetched) override;
  HRESULT Skip(ULONG count) override;
  HRESULT Reset() override;
  HRESULT Clone(D_IEnumMediaTypes** clone) override;
  virtual ~D_CEnumMediaTypes();

 private:
  bool AreWeOutOfSync() const;

  LONG position_;
  D_CBasePin* pin_;
  LONG version_;
  volatile LONG references_ = 1;
};

class D_CEnumPins : public D_IEnumPins, public D_CTrackedNew {
 public:
  D_CEnumPins(D_CBaseFilter* filter, const D_CEnumPins* other);
  D_CEnumPins(const D_CEnumPins&) = delete;
  D_CEnumPins& operator=(const D_CEnumPins&) = delete;

  HRESULT QueryInterface(REFIID iid, void** object) override;
  ULONG AddRef() override;
  ULONG Release() override;
  HRESULT Next(ULONG count, D_IPin** pins, ULONG* fetched) override;
  HRESULT Skip(ULONG count) override;
  HRESULT Reset() override;
  HRESULT Clone(D_IEnumPins** clone) override;
  virtual ~D_CEnumPins();

 private:
  bool AreWeOutOfSync() const;
  void Refresh();

  int position_;
  int pinCount_;
  D_CBaseFilter* filter_;
  LONG version_;
  volatile LONG references_ = 1;
  D_CGenericList<D_CBasePin> handedOut_;
};
