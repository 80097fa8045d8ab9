// DirectSound: the sound device object (COM class CLSID_DirectSound) and
// its sound buffers, mixed in software onto the SDL audio device, and the
// module "dsound.dll" with DirectSoundEnumerateA.
#pragma once

#include "platform/mmsystem.h"
#include "platform/ole32.h"

// {47D4D946-62E8-11CF-93BC-444553540000}
inline constexpr CLSID CLSID_DirectSound = {
    0x47D4D946, 0x62E8, 0x11CF, {0x93, 0xBC, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
// {279AFA83-4981-11CE-A521-0020AF0BE560}
inline constexpr IID IID_IDirectSound = {
    0x279AFA83, 0x4981, 0x11CE, {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60}};
// {279AFA85-4981-11CE-A521-0020AF0BE560}
inline constexpr IID IID_IDirectSoundBuffer = {
    0x279AFA85, 0x4981, 0x11CE, {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60}};

using LPCGUID = const GUID*;

// ---- Results -----------------------------------------------------------------

#define D_DS_OK S_OK
#define D_DSERR_ALLOCATED (static_cast<HRESULT>(0x8878000Au))
#define D_DSERR_CONTROLUNAVAIL (static_cast<HRESULT>(0x8878001Eu))
#define D_DSERR_INVALIDPARAM E_INVALIDARG
#define D_DSERR_INVALIDCALL (static_cast<HRESULT>(0x88780032u))
#define D_DSERR_PRIOLEVELNEEDED (static_cast<HRESULT>(0x88780046u))
#define D_DSERR_BADFORMAT (static_cast<HRESULT>(0x88780064u))
#define D_DSERR_NODRIVER (static_cast<HRESULT>(0x88780078u))
#define D_DSERR_ALREADYINITIALIZED (static_cast<HRESULT>(0x88780082u))
#define D_DSERR_NOAGGREGATION CLASS_E_NOAGGREGATION
#define D_DSERR_UNINITIALIZED (static_cast<HRESULT>(0x887800AAu))
#define D_DSERR_OUTOFMEMORY E_OUTOFMEMORY

// ---- Device ------------------------------------------------------------------

#define D_DSSCL_NORMAL 0x00000001u
#define D_DSSCL_PRIORITY 0x00000002u
#define D_DSSCL_EXCLUSIVE 0x00000003u
#define D_DSSCL_WRITEPRIMARY 0x00000004u

#define D_DSCAPS_PRIMARYMONO 0x00000001u
#define D_DSCAPS_PRIMARYSTEREO 0x00000002u
#define D_DSCAPS_PRIMARY8BIT 0x00000004u
#define D_DSCAPS_PRIMARY16BIT 0x00000008u
#define D_DSCAPS_CONTINUOUSRATE 0x00000010u
#define D_DSCAPS_EMULDRIVER 0x00000020u
#define D_DSCAPS_SECONDARYMONO 0x00000100u
#define D_DSCAPS_SECONDARYSTEREO 0x00000200u
#define D_DSCAPS_SECONDARY8BIT 0x00000400u
#define D_DSCAPS_SECONDARY16BIT 0x00000800u

struct D_DSCAPS {
  DWORD dwSize;
  DWORD dwFlags;
  DWORD dwMinSecondarySampleRate;
  DWORD dwMaxSecondarySampleRate;
  DWORD dwPrimaryBuffers;
  DWORD dwMaxHwMixingAllBuffers;
  DWORD dwMaxHwMixingStaticBuffers;
  DWORD dwMaxHwMixingStreamingBuffers;
  DWORD dwFreeHwMixingAllBuffers;
  DWORD dwFreeHwMixingStaticBuffers;
  DWORD dwFreeHwMixingStreamingBuffers;
  DWORD dwMaxHw3DAllBuffers;
  DWORD dwMaxHw3DStaticBuffers;
  DWORD dwMaxHw3DStreamingBuffers;
  DWORD dwFreeHw3DAllBuffers;
  DWORD dwFreeHw3DStaticBuffers;
  DWORD dwFreeHw3DStreamingBuffers;
  DWORD dwTotalHwMemBytes;
  DWORD dwFreeHwMemBytes;
  DWORD dwMaxContigFreeHwMemBytes;
  DWORD dwUnlockTransferRateHwBuffers;
  DWORD dwPlayCpuOverheadSwBuffers;
  DWORD dwReserved1;
  DWORD dwReserved2;
};
using D_LPDSCAPS = D_DSCAPS*;

// ---- Buffers -----------------------------------------------------------------

#define D_DSBCAPS_PRIMARYBUFFER 0x00000001u
#define D_DSBCAPS_STATIC 0x00000002u
#define D_DSBCAPS_LOCHARDWARE 0x00000004u
#define D_DSBCAPS_LOCSOFTWARE 0x00000008u
#define D_DSBCAPS_CTRLFREQUENCY 0x00000020u
#define D_DSBCAPS_CTRLPAN 0x00000040u
#define D_DSBCAPS_CTRLVOLUME 0x00000080u
#define D_DSBCAPS_STICKYFOCUS 0x00004000u
#define D_DSBCAPS_GLOBALFOCUS 0x00008000u
#define D_DSBCAPS_GETCURRENTPOSITION2 0x00010000u

#define D_DSBSIZE_MIN 4u
#define D_DSBSIZE_MAX 0x0FFFFFFFu
#define D_DSBFREQUENCY_ORIGINAL 0u
#define D_DSBFREQUENCY_MIN 100u
#define D_DSBFREQUENCY_MAX 200000u
#define D_DSBVOLUME_MIN (-10000)
#define D_DSBVOLUME_MAX 0
#define D_DSBPAN_LEFT (-10000)
#define D_DSBPAN_CENTER 0
#define D_DSBPAN_RIGHT 10000

#define D_DSBPLAY_LOOPING 0x00000001u

#define D_DSBSTATUS_PLAYING 0x00000001u
#define D_DSBSTATUS_BUFFERLOST 0x00000002u
#define D_DSBSTATUS_LOOPING 0x00000004u

#define D_DSBLOCK_FROMWRITECURSOR 0x00000001u
#define D_DSBLOCK_ENTIREBUFFER 0x00000002u

struct D_DSBUFFERDESC {
  DWORD dwSize;
  DWORD dwFlags;
  DWORD dwBufferBytes;
  DWORD dwReserved;
  LPWAVEFORMATEX lpwfxFormat;
  GUID guid3DAlgorithm;
};
using D_LPCDSBUFFERDESC = const D_DSBUFFERDESC*;

class D_IDirectSoundBuffer : public IUnknown {
 public:
  // Play and write cursors in bytes, block-aligned. The write cursor is
  // where data may safely go: a short lead past the play cursor.
  virtual HRESULT GetCurrentPosition(LPDWORD play_cursor, LPDWORD write_cursor) = 0;
  virtual HRESULT GetStatus(LPDWORD status) = 0;
  // Two regions: from `offset` towards the end, then from the start when
  // the range wraps.
  virtual HRESULT Lock(DWORD offset, DWORD bytes, LPVOID* region1, LPDWORD bytes1, LPVOID* region2,
                       LPDWORD bytes2, DWORD flags) = 0;
  // Starts, or on a playing buffer only changes the looping flag.
  virtual HRESULT Play(DWORD reserved, DWORD priority, DWORD flags) = 0;
  virtual HRESULT SetCurrentPosition(DWORD position) = 0;
  // Primary buffer only: the mixing format.
  virtual HRESULT SetFormat(LPCWAVEFORMATEX format) = 0;
  // Hundredths of a decibel, -10000 to 0.
  virtual HRESULT SetVolume(LONG volume) = 0;
  // -10000 (left only) to 10000 (right only).
  virtual HRESULT SetPan(LONG pan) = 0;
  // 100 to 200000 Hz, or 0 for the buffer's own rate.
  virtual HRESULT SetFrequency(DWORD frequency) = 0;
  // Keeps the cursor where it stands.
  virtual HRESULT Stop() = 0;
  virtual HRESULT Unlock(LPVOID region1, DWORD bytes1, LPVOID region2, DWORD bytes2) = 0;

 protected:
  ~D_IDirectSoundBuffer() = default;
};
using D_LPDIRECTSOUNDBUFFER = D_IDirectSoundBuffer*;

class D_IDirectSound : public IUnknown {
 public:
  virtual HRESULT CreateSoundBuffer(D_LPCDSBUFFERDESC description, D_LPDIRECTSOUNDBUFFER* buffer,
                                    LPUNKNOWN outer) = 0;
  virtual HRESULT GetCaps(D_LPDSCAPS caps) = 0;
  // A buffer over the same samples with a cursor, state, volume, pan and
  // frequency of its own.
  virtual HRESULT DuplicateSoundBuffer(D_LPDIRECTSOUNDBUFFER original,
                                       D_LPDIRECTSOUNDBUFFER* duplicate) = 0;
  virtual HRESULT SetCooperativeLevel(HWND window, DWORD level) = 0;
  // Opens the audio device (only the default device, null, exists). Where
  // the system has none, a silent device stands in whose cursors still
  // advance with the clock.
  virtual HRESULT Initialize(LPCGUID device) = 0;

 protected:
  ~D_IDirectSound() = default;
};
using D_LPDIRECTSOUND = D_IDirectSound*;

// ---- dsound.dll ----------------------------------------------------------------

using D_LPDSENUMCALLBACKA = BOOL (*)(GUID* device, LPCSTR description, LPCSTR module,
                                     LPVOID context);
// Names the one device: the default (a null GUID).
HRESULT DirectSoundEnumerateA(D_LPDSENUMCALLBACKA callback, LPVOID context);
