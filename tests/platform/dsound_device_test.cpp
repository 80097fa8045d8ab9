// The DirectSound object: creation through COM and dsound.dll, its checks,
// the silent device that keeps the layer's time, and a real tone through
// SDL's disk audio driver.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <thread>

#include "platform/windows.h"
#include "support/direct_sound_fixture.h"
#include "support/temp_dir.h"
#include "support/wait_until.h"

namespace {

const WAVEFORMATEX kStereo16 = wqtest::PcmFormat(2, 16, 44100);

class DirectSoundDeviceTest : public wqtest::DirectSoundFixture {};

TEST_F(DirectSoundDeviceTest, EverythingWaitsForInitializeWhichRunsOnce) {
  WqControlSetSoundDevice(WqSoundDevice::kManual);
  ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  ASSERT_EQ(CoCreateInstance(CLSID_DirectSound, nullptr, CLSCTX_ALL, IID_IDirectSound,
                             reinterpret_cast<void**>(&sound_)),
            S_OK);
  D_DSCAPS caps{};
  caps.dwSize = sizeof caps;
  EXPECT_EQ(sound_->GetCaps(&caps), D_DSERR_UNINITIALIZED);
  EXPECT_EQ(sound_->SetCooperativeLevel(wqtest::AnyWindow(), D_DSSCL_PRIORITY),
            D_DSERR_UNINITIALIZED);
  GUID other{1, 2, 3, {}};
  EXPECT_EQ(sound_->Initialize(&other), D_DSERR_NODRIVER);
  ASSERT_EQ(sound_->Initialize(nullptr), D_DS_OK);
  EXPECT_EQ(sound_->Initialize(nullptr), D_DSERR_ALREADYINITIALIZED);

  void* as_buffer = nullptr;
  EXPECT_EQ(sound_->QueryInterface(IID_IDirectSoundBuffer, &as_buffer), E_NOINTERFACE);
  void* as_unknown = nullptr;
  ASSERT_EQ(sound_->QueryInterface(IID_IUnknown, &as_unknown), S_OK);
  static_cast<IUnknown*>(as_unknown)->Release();
}

TEST_F(DirectSoundDeviceTest, CapsReportSoftwareMixingOfEveryLayout) {
  Open(WqSoundDevice::kManual, kStereo16);
  D_DSCAPS caps{};
  caps.dwSize = sizeof caps - 1;
  EXPECT_EQ(sound_->GetCaps(&caps), D_DSERR_INVALIDPARAM);
  caps.dwSize = sizeof caps;
  ASSERT_EQ(sound_->GetCaps(&caps), D_DS_OK);
  const DWORD every_layout = D_DSCAPS_PRIMARYMONO | D_DSCAPS_PRIMARYSTEREO | D_DSCAPS_PRIMARY8BIT |
                             D_DSCAPS_PRIMARY16BIT | D_DSCAPS_SECONDARYMONO |
                             D_DSCAPS_SECONDARYSTEREO | D_DSCAPS_SECONDARY8BIT |
                             D_DSCAPS_SECONDARY16BIT;
  EXPECT_EQ(caps.dwFlags & every_layout, every_layout);
  EXPECT_EQ(caps.dwMinSecondarySampleRate, D_DSBFREQUENCY_MIN);
  EXPECT_EQ(caps.dwMaxSecondarySampleRate, D_DSBFREQUENCY_MAX);
  EXPECT_EQ(caps.dwTotalHwMemBytes, 0u);
  EXPECT_EQ(caps.dwFreeHwMemBytes, 0u);
}

TEST_F(DirectSoundDeviceTest, BufferDescriptionsAreChecked) {
  Open(WqSoundDevice::kManual, kStereo16);
  struct Case {
    const char* what;
    DWORD flags;
    DWORD bytes;
    WAVEFORMATEX format;
    HRESULT expected;
  };
  WAVEFORMATEX wrong_block = kStereo16;
  wrong_block.nBlockAlign = 3;
  WAVEFORMATEX compressed = kStereo16;
  compressed.wFormatTag = 2;
  const Case cases[] = {
      {"smallest size", 0, 4, kStereo16, D_DS_OK},
      {"under four bytes", 0, 3, kStereo16, D_DSERR_INVALIDPARAM},
      {"too large", 0, D_DSBSIZE_MAX + 1, kStereo16, D_DSERR_INVALIDPARAM},
      {"24-bit", 0, 600, wqtest::PcmFormat(2, 24, 44100), D_DSERR_BADFORMAT},
      {"six channels", 0, 1200, wqtest::PcmFormat(6, 16, 44100), D_DSERR_BADFORMAT},
      {"rate below the minimum", 0, 400, wqtest::PcmFormat(1, 16, 99), D_DSERR_BADFORMAT},
      {"any rate within range", 0, 400, wqtest::PcmFormat(1, 8, 11111), D_DS_OK},
      {"inconsistent block", 0, 400, wrong_block, D_DSERR_BADFORMAT},
      {"not PCM", 0, 400, compressed, D_DSERR_BADFORMAT},
      {"3D control", 0x10, 400, kStereo16, D_DSERR_INVALIDPARAM},
  };
  for (const Case& c : cases) {
    WAVEFORMATEX format = c.format;
    D_DSBUFFERDESC description{};
    description.dwSize = sizeof description;
    description.dwFlags = c.flags;
    description.dwBufferBytes = c.bytes;
    description.lpwfxFormat = &format;
    D_IDirectSoundBuffer* buffer = nullptr;
    EXPECT_EQ(sound_->CreateSoundBuffer(&description, &buffer, nullptr), c.expected) << c.what;
    EXPECT_EQ(buffer != nullptr, c.expected == D_DS_OK) << c.what;
    if (buffer != nullptr) buffer->Release();
  }
  D_DSBUFFERDESC primary{};
  primary.dwSize = sizeof primary;
  primary.dwFlags = D_DSBCAPS_PRIMARYBUFFER;
  primary.dwBufferBytes = 400;
  D_IDirectSoundBuffer* buffer = nullptr;
  EXPECT_EQ(sound_->CreateSoundBuffer(&primary, &buffer, nullptr), D_DSERR_INVALIDPARAM);
  primary.dwBufferBytes = 0;
  EXPECT_EQ(sound_->CreateSoundBuffer(&primary, &buffer, reinterpret_cast<LPUNKNOWN>(sound_)),
            D_DSERR_NOAGGREGATION);
}

TEST_F(DirectSoundDeviceTest, PrimaryFormatNeedsThePriorityLevel) {
  Open(WqSoundDevice::kManual, kStereo16);
  ASSERT_EQ(sound_->SetCooperativeLevel(wqtest::AnyWindow(), D_DSSCL_NORMAL), D_DS_OK);
  EXPECT_EQ(primary_->SetFormat(&kStereo16), D_DSERR_PRIOLEVELNEEDED);
  ASSERT_EQ(sound_->SetCooperativeLevel(wqtest::AnyWindow(), D_DSSCL_PRIORITY), D_DS_OK);
  const WAVEFORMATEX twenty_four_bit = wqtest::PcmFormat(2, 24, 44100);
  EXPECT_EQ(primary_->SetFormat(&twenty_four_bit), D_DSERR_BADFORMAT);
  EXPECT_EQ(primary_->SetFormat(&kStereo16), D_DS_OK);
  EXPECT_EQ(primary_->Play(0, 0, 0), D_DSERR_INVALIDPARAM);  // the primary buffer only loops
  EXPECT_EQ(primary_->Play(0, 0, D_DSBPLAY_LOOPING), D_DS_OK);
  void* region = nullptr;
  DWORD bytes = 0;
  EXPECT_EQ(primary_->Lock(0, 4, &region, &bytes, nullptr, nullptr, 0), D_DSERR_PRIOLEVELNEEDED);
  D_IDirectSoundBuffer* duplicate = nullptr;
  EXPECT_EQ(sound_->DuplicateSoundBuffer(primary_, &duplicate), D_DSERR_INVALIDCALL);
}

TEST_F(DirectSoundDeviceTest, DsoundModuleEnumeratesTheDefaultDevice) {
  HMODULE module = LoadLibraryA("DSOUND.DLL");
  ASSERT_NE(module, nullptr);
  auto enumerate = reinterpret_cast<HRESULT (*)(D_LPDSENUMCALLBACKA, LPVOID)>(
      GetProcAddress(module, "DirectSoundEnumerateA"));
  ASSERT_NE(enumerate, nullptr);
  struct Seen {
    int devices = 0;
    bool default_device = false;
  } seen;
  EXPECT_EQ(enumerate(
                [](GUID* device, LPCSTR description, LPCSTR module_name, LPVOID context) -> BOOL {
                  auto* s = static_cast<Seen*>(context);
                  ++s->devices;
                  s->default_device =
                      device == nullptr && description[0] != '\0' && module_name != nullptr;
                  return TRUE;
                },
                &seen),
            D_DS_OK);
  EXPECT_EQ(seen.devices, 1);
  EXPECT_TRUE(seen.default_device);
  FreeLibrary(module);
}

// On the virtual clock the silent device's cursors follow Sleep exactly.
TEST_F(DirectSoundDeviceTest, SilentDeviceCursorsFollowTheClock) {
  WqControlEnableVirtualClock(true);
  Open(WqSoundDevice::kSystem, kStereo16);  // the virtual clock makes it the silent one
  D_IDirectSoundBuffer* looping = MakeBuffer(kStereo16, 44100 * 4);                 // one second
  D_IDirectSoundBuffer* once = MakeBuffer(wqtest::PcmFormat(1, 16, 22050), 22050);  // half a second
  ASSERT_EQ(looping->Play(0, 0, D_DSBPLAY_LOOPING), D_DS_OK);
  ASSERT_EQ(once->Play(0, 0, 0), D_DS_OK);
  Sleep(250);
  EXPECT_EQ(PlayCursor(looping), 44100u);
  EXPECT_EQ(PlayCursor(once), 11024u);  // 5512.5 frames, block-aligned down
  Sleep(1000);
  EXPECT_EQ(PlayCursor(looping), 44100u);
  EXPECT_EQ(Status(once), 0u);
  EXPECT_EQ(PlayCursor(once), 0u);
  WqControlEnableVirtualClock(false);
}

// Where SDL opens no device (as on a machine without sound), the silent
// device stands in and its cursors still move, as fast as real time and no
// faster.
TEST_F(DirectSoundDeviceTest, WithoutAnAudioDeviceCursorsStillAdvanceInRealTime) {
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  Open(WqSoundDevice::kSystem, kStereo16);
  unsetenv("SDL_AUDIODRIVER");
  constexpr DWORD kBytesPerSecond = 44100 * 4;
  D_IDirectSoundBuffer* buffer = MakeBuffer(kStereo16, 10 * kBytesPerSecond);  // no wrap while watched
  const auto started = std::chrono::steady_clock::now();
  ASSERT_EQ(buffer->Play(0, 0, D_DSBPLAY_LOOPING), D_DS_OK);
  DWORD cursor = 0;
  ASSERT_TRUE(wqtest::WaitUntil([&] {
    cursor = PlayCursor(buffer);
    return cursor >= kBytesPerSecond / 20;
  })) << "the cursor stopped at " << cursor;
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
  EXPECT_LE(cursor, (elapsed.count() + 0.001) * kBytesPerSecond) << "ahead of real time";
}

// Frequency by upward zero crossings, and the largest sample, of one
// channel of interleaved stereo.
struct Measured {
  double frequency;
  int peak;
};
Measured Measure(const std::vector<std::int16_t>& stereo, std::size_t first, std::size_t frames,
                 DWORD rate) {
  int crossings = 0;
  int peak = 0;
  for (std::size_t i = first + 1; i < first + frames; ++i) {
    const int before = stereo[2 * (i - 1)];
    const int now = stereo[2 * i];
    if (before < 0 && now >= 0) ++crossings;
    peak = std::max(peak, std::abs(now));
  }
  return {crossings * static_cast<double>(rate) / frames, peak};
}

// SDL's disk audio driver, writing into a file that a test reads back, for
// the devices opened while this lives. It pulls 1024 frames at a time in
// real time.
class DiskAudioDriver {
 public:
  DiskAudioDriver() : capture_((dir_.path() / "capture.raw").string()) {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", capture_.c_str(), 1);
  }
  ~DiskAudioDriver() {
    unsetenv("SDL_AUDIODRIVER");
    unsetenv("SDL_DISKAUDIOFILE");
  }
  DiskAudioDriver(const DiskAudioDriver&) = delete;
  DiskAudioDriver& operator=(const DiskAudioDriver&) = delete;

  const std::string& capture() const { return capture_; }

 private:
  wqtest::TempDir dir_;
  std::string capture_;
};

constexpr DWORD kDiskDriverFrames = 1024;

// The play cursor moves on between the device's pulls, not by a whole pull
// at a time, and may be read from any thread.
TEST_F(DirectSoundDeviceTest, PlayCursorMovesSmoothlyBetweenDevicePulls) {
  DiskAudioDriver driver;
  Open(WqSoundDevice::kSystem, kStereo16);
  constexpr DWORD kBytes = 64 * kDiskDriverFrames * 4;  // a whole number of pulls
  D_IDirectSoundBuffer* buffer = MakeBuffer(kStereo16, kBytes);
  ASSERT_EQ(buffer->Play(0, 0, D_DSBPLAY_LOOPING), D_DS_OK);
  std::vector<DWORD> steps;
  std::thread reader([&] {
    DWORD previous = PlayCursor(buffer);
    wqtest::WaitUntil([&] {
      const DWORD now = PlayCursor(buffer);
      if (now != previous) steps.push_back((now + kBytes - previous) % kBytes);
      previous = now;
      return steps.size() >= 20;
    });
  });
  reader.join();
  ASSERT_FALSE(steps.empty()) << "the device never pulled";
  const bool between_pulls = std::any_of(steps.begin(), steps.end(), [](DWORD step) {
    return step % (kDiskDriverFrames * 4) != 0;
  });
  EXPECT_TRUE(between_pulls) << "first step " << steps.front() << " bytes";
  for (DWORD step : steps) EXPECT_EQ(step % 4, 0u);
}

// Looping buffers shorter than one pull wrap several times within it; the
// cursor heard between pulls still lies inside each buffer.
TEST_F(DirectSoundDeviceTest, PlayCursorOfShortLoopsStaysInsideTheBuffer) {
  DiskAudioDriver driver;
  Open(WqSoundDevice::kSystem, kStereo16);
  const DWORD sizes[] = {4, 12, 400};  // one frame, three, a hundred
  std::vector<D_IDirectSoundBuffer*> loops;
  for (DWORD size : sizes) {
    loops.push_back(MakeBuffer(kStereo16, size));
    ASSERT_EQ(loops.back()->Play(0, 0, D_DSBPLAY_LOOPING), D_DS_OK);
  }
  // Read until the cursors have been seen all over the longer loops: every
  // frame of the three-frame one, ten places in the hundred-frame one.
  std::vector<std::set<DWORD>> seen(loops.size());
  int reads = 0;
  const bool covered = wqtest::WaitUntil([&] {
    ++reads;
    for (std::size_t b = 0; b < loops.size(); ++b) {
      const DWORD cursor = PlayCursor(loops[b]);
      EXPECT_LT(cursor, sizes[b]) << "read " << reads;
      EXPECT_EQ(cursor % 4, 0u);
      seen[b].insert(cursor);
    }
    return seen[1].size() == 3 && seen[2].size() >= 10;
  });
  EXPECT_TRUE(covered) << "the cursors took " << seen[1].size() << " and " << seen[2].size() << " places";
}

TEST_F(DirectSoundDeviceTest, AToneReachesSdlsDiskAudioDriver) {
  DiskAudioDriver driver;
  Open(WqSoundDevice::kSystem, kStereo16);

  // One second of 1 kHz at full scale, played at -6 dB.
  constexpr DWORD kRate = 44100;
  std::vector<std::int16_t> tone(2 * kRate);
  for (DWORD i = 0; i < kRate; ++i) {
    const auto value =
        static_cast<std::int16_t>(std::lround(32000 * std::sin(2 * M_PI * 1000.0 * i / kRate)));
    tone[2 * i] = tone[2 * i + 1] = value;
  }
  D_IDirectSoundBuffer* buffer = MakeBuffer(kStereo16, static_cast<DWORD>(tone.size() * 2));
  Fill(buffer, tone);
  ASSERT_EQ(buffer->SetVolume(-600), D_DS_OK);
  ASSERT_EQ(buffer->Play(0, 0, D_DSBPLAY_LOOPING), D_DS_OK);
  // The device pulls in real time: wait until it has played well over the
  // tenth of a second measured below.
  DWORD previous = PlayCursor(buffer);
  std::size_t played_bytes = 0;
  ASSERT_TRUE(wqtest::WaitUntil([&] {
    const DWORD now = PlayCursor(buffer);
    played_bytes += (now + tone.size() * 2 - previous) % (tone.size() * 2);
    previous = now;
    return played_bytes >= kRate * 4 * 3 / 10;
  })) << "played " << played_bytes << " bytes";
  Close();  // flushes the file

  std::ifstream file(driver.capture(), std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::vector<std::int16_t> captured(bytes.size() / 2);
  std::memcpy(captured.data(), bytes.data(), captured.size() * 2);
  // The tone from its first sound on, for a tenth of a second.
  std::size_t first = 0;
  while (first < captured.size() / 2 && captured[2 * first] == 0) ++first;
  const std::size_t frames = kRate / 10;
  ASSERT_GE(captured.size() / 2, first + frames) << "captured " << bytes.size() << " bytes";
  const Measured measured = Measure(captured, first, frames, kRate);
  EXPECT_NEAR(measured.frequency, 1000.0, 20.0);
  EXPECT_NEAR(measured.peak, 32000 * 0.501, 200);
}

}  // namespace
