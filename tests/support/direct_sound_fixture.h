// A DirectSound object made through COM, with helpers to make, fill and
// read buffers. The device is chosen before Initialize (see control_sound.h).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/control.h"
#include "platform/dsound.h"
#include "support/pcm_format.h"

namespace wqtest {

// The window is only checked for presence by SetCooperativeLevel.
inline HWND AnyWindow() { return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(1)); }

constexpr DWORD kAllControls = D_DSBCAPS_CTRLVOLUME | D_DSBCAPS_CTRLPAN | D_DSBCAPS_CTRLFREQUENCY;

class DirectSoundFixture : public testing::Test {
 protected:
  // Opens `device` and mixes in `mixing` (set through the primary buffer).
  void Open(WqSoundDevice device, const WAVEFORMATEX& mixing) {
    WqControlSetSoundDevice(device);
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    ASSERT_EQ(CoCreateInstance(CLSID_DirectSound, nullptr, CLSCTX_ALL, IID_IDirectSound,
                               reinterpret_cast<void**>(&sound_)),
              S_OK);
    ASSERT_EQ(sound_->Initialize(nullptr), D_DS_OK);
    ASSERT_EQ(sound_->SetCooperativeLevel(AnyWindow(), D_DSSCL_PRIORITY), D_DS_OK);
    D_DSBUFFERDESC description{};
    description.dwSize = sizeof description;
    description.dwFlags = D_DSBCAPS_PRIMARYBUFFER;
    ASSERT_EQ(sound_->CreateSoundBuffer(&description, &primary_, nullptr), D_DS_OK);
    ASSERT_EQ(primary_->SetFormat(&mixing), D_DS_OK);
  }

  void TearDown() override { Close(); }

  // Releases every buffer and the object, which closes the device.
  void Close() {
    for (D_IDirectSoundBuffer* buffer : buffers_) buffer->Release();
    buffers_.clear();
    if (primary_ != nullptr) primary_->Release();
    primary_ = nullptr;
    if (sound_ != nullptr) sound_->Release();
    sound_ = nullptr;
    CoUninitialize();
    WqControlSetSoundDevice(WqSoundDevice::kSystem);
  }

  // A secondary buffer released at the end of the test.
  D_IDirectSoundBuffer* MakeBuffer(const WAVEFORMATEX& format, DWORD bytes,
                                   DWORD flags = kAllControls) {
    WAVEFORMATEX copy = format;
    D_DSBUFFERDESC description{};
    description.dwSize = sizeof description;
    description.dwFlags = flags;
    description.dwBufferBytes = bytes;
    description.lpwfxFormat = &copy;
    D_IDirectSoundBuffer* buffer = nullptr;
    EXPECT_EQ(sound_->CreateSoundBuffer(&description, &buffer, nullptr), D_DS_OK);
    if (buffer != nullptr) buffers_.push_back(buffer);
    return buffer;
  }

  // Writes `samples` (16-bit) from the start of the buffer.
  static void Fill(D_IDirectSoundBuffer* buffer, const std::vector<std::int16_t>& samples) {
    void* region1 = nullptr;
    void* region2 = nullptr;
    DWORD bytes1 = 0;
    DWORD bytes2 = 0;
    const auto bytes = static_cast<DWORD>(samples.size() * 2);
    ASSERT_EQ(buffer->Lock(0, bytes, &region1, &bytes1, &region2, &bytes2, 0), D_DS_OK);
    ASSERT_EQ(bytes1, bytes);
    std::memcpy(region1, samples.data(), bytes);
    ASSERT_EQ(buffer->Unlock(region1, bytes1, region2, bytes2), D_DS_OK);
  }

  static DWORD PlayCursor(D_IDirectSoundBuffer* buffer) {
    DWORD play = 0;
    DWORD write = 0;
    EXPECT_EQ(buffer->GetCurrentPosition(&play, &write), D_DS_OK);
    return play;
  }

  static DWORD Status(D_IDirectSoundBuffer* buffer) {
    DWORD status = 0;
    EXPECT_EQ(buffer->GetStatus(&status), D_DS_OK);
    return status;
  }

  D_IDirectSound* sound_ = nullptr;
  D_IDirectSoundBuffer* primary_ = nullptr;
  std::vector<D_IDirectSoundBuffer*> buffers_;
};

}  // namespace wqtest
