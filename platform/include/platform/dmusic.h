// DirectMusic 8: the loader, the performance with its audio path, ports and
// segments, as far as a program that plays music through them calls them.
// This layer serves no DirectMusic class: CoCreateInstance answers
// REGDB_E_CLASSNOTREG, as on a system without DirectMusic.
#pragma once

#include "platform/dsound.h"
#include "platform/ole32.h"

// {D2AC2892-B39B-11D1-8704-00600893B1BD}
inline constexpr CLSID CLSID_DirectMusicLoader = {
    0xD2AC2892, 0xB39B, 0x11D1, {0x87, 0x04, 0x00, 0x60, 0x08, 0x93, 0xB1, 0xBD}};
// {D2AC2881-B39B-11D1-8704-00600893B1BD}
inline constexpr CLSID CLSID_DirectMusicPerformance = {
    0xD2AC2881, 0xB39B, 0x11D1, {0x87, 0x04, 0x00, 0x60, 0x08, 0x93, 0xB1, 0xBD}};
// {636B9F10-0C7D-11D1-95B2-0020AFDC7421}
inline constexpr CLSID CLSID_DirectMusic = {
    0x636B9F10, 0x0C7D, 0x11D1, {0x95, 0xB2, 0x00, 0x20, 0xAF, 0xDC, 0x74, 0x21}};
// {19E7C08C-0A44-4E6A-A116-595A7CD5DE8C}
inline constexpr IID IID_IDirectMusicLoader8 = {
    0x19E7C08C, 0x0A44, 0x4E6A, {0xA1, 0x16, 0x59, 0x5A, 0x7C, 0xD5, 0xDE, 0x8C}};
// {679C4137-C62E-4147-B2B4-9D569ACB254C}
inline constexpr IID IID_IDirectMusicPerformance8 = {
    0x679C4137, 0xC62E, 0x4147, {0xB2, 0xB4, 0x9D, 0x56, 0x9A, 0xCB, 0x25, 0x4C}};
// {6536115A-7B2D-11D2-BA18-0000F875AC12}
inline constexpr IID IID_IDirectMusic = {
    0x6536115A, 0x7B2D, 0x11D2, {0xBA, 0x18, 0x00, 0x00, 0xF8, 0x75, 0xAC, 0x12}};
// {2D3629F7-813D-4939-8508-F05C6B75FD97}
inline constexpr IID IID_IDirectMusic8 = {
    0x2D3629F7, 0x813D, 0x4939, {0x85, 0x08, 0xF0, 0x5C, 0x6B, 0x75, 0xFD, 0x97}};
// {D2AC28B1-B39B-11D1-8704-00600893B1BD}
inline constexpr GUID GUID_PerfMasterVolume = {
    0xD2AC28B1, 0xB39B, 0x11D1, {0x87, 0x04, 0x00, 0x60, 0x08, 0x93, 0xB1, 0xBD}};

#define D_DMUS_APATH_SHARED_STEREOPLUSREVERB 1u
#define D_DMUS_AUDIOF_ALL 0x0000003Fu
#define D_DMUS_AUDIOPARAMS_FEATURES 0x00000001u
#define D_DMUS_AUDIOPARAMS_SAMPLERATE 0x00000004u
#define D_DMUS_PC_OUTPUTCLASS 1u

#pragma pack(push, 4)
struct D_DMUS_PORTCAPS {
  DWORD dwSize;  // 308
  DWORD dwFlags;
  GUID guidPort;
  DWORD dwClass;
  DWORD dwType;
  DWORD dwMemorySize;
  DWORD dwMaxChannelGroups;
  DWORD dwMaxVoices;
  DWORD dwMaxAudioChannels;
  DWORD dwEffectFlags;
  WCHAR wszDescription[128];
};

struct D_DMUS_AUDIOPARAMS {
  DWORD dwSize;  // 40
  BOOL fInitNow;
  DWORD dwValidData;
  DWORD dwFeatures;
  DWORD dwVoices;
  DWORD dwSampleRate;
  CLSID clsidDefaultSynth;
};
#pragma pack(pop)
static_assert(sizeof(D_DMUS_PORTCAPS) == 308);
static_assert(sizeof(D_DMUS_AUDIOPARAMS) == 40);

class D_IDirectMusicSegment8 : public IUnknown {
 public:
  // Frees what the segment downloaded to the performance.
  virtual HRESULT Unload(IUnknown* performance) = 0;

 protected:
  ~D_IDirectMusicSegment8() = default;
};

class D_IDirectMusicLoader8 : public IUnknown {
 public:
  virtual HRESULT ReleaseObjectByUnknown(IUnknown* object) = 0;

 protected:
  ~D_IDirectMusicLoader8() = default;
};

class D_IDirectMusic : public IUnknown {
 public:
  // S_FALSE past the last port.
  virtual HRESULT EnumPort(DWORD index, D_DMUS_PORTCAPS* caps) = 0;

 protected:
  ~D_IDirectMusic() = default;
};

class D_IDirectMusic8 : public D_IDirectMusic {
 protected:
  ~D_IDirectMusic8() = default;
};

class D_IDirectMusicPerformance8 : public IUnknown {
 public:
  // Creates the performance's DirectMusic and DirectSound objects (either
  // pointer may be null) and its default audio path.
  virtual HRESULT InitAudio(D_IDirectMusic** music, D_IDirectSound** sound, HWND window,
                            DWORD defaultPathType, DWORD performanceChannels, DWORD flags,
                            D_DMUS_AUDIOPARAMS* params) = 0;
  virtual HRESULT SetGlobalParam(REFGUID type, void* data, DWORD size) = 0;
  // S_OK while the segment plays, S_FALSE when it does not.
  virtual HRESULT IsPlaying(D_IDirectMusicSegment8* segment, IUnknown* segmentState) = 0;
  virtual HRESULT Stop(D_IDirectMusicSegment8* segment, IUnknown* segmentState, LONGLONG time,
                       DWORD flags) = 0;
  virtual HRESULT CloseDown() = 0;

 protected:
  ~D_IDirectMusicPerformance8() = default;
};
