// The sound loader's last decoder: a whole compressed file image becomes
// one block of PCM by letting a filter graph decode it. The image is served
// by the memory reader, the graph builder picks the splitter and decoder,
// the sample grabber (accepting PCM audio only) collects every sample, and
// a null renderer ends the graph, which runs without a clock as fast as the
// decoder goes.
#include <cstring>

#include "core/base/log_file.h"
#include "core/base/tracked_allocator.h"
#include "core/window/message_pump.h"
#include "media/conversion/graph_sound_decoder.h"
#include "media/filters/async_reader.h"
#include "media/filters/sample_grabber.h"
#include "sound/sound_decoder.h"

namespace {

// Each regrowth of the PCM block adds this much beyond what the sample needs.
constexpr std::uint32_t kPcmGrowthBytes = 0x100000;
// The block starts at this many times the compressed size.
constexpr std::uint32_t kPcmFirstBlockFactor = 10;
constexpr DWORD kCompletionWaitMs = 100;

// Everything one conversion holds; released on every way out.
struct Conversion {
  BYTE* image = nullptr;
  std::uint32_t imageSize = 0;
  D_CMemStream* stream = nullptr;
  D_CMemReader* reader = nullptr;
  D_IBaseFilter* nullRenderer = nullptr;
  D_IGraphBuilder* graph = nullptr;
  D_CSampleGrabber* grabber = nullptr;
  D_IMediaFilter* mediaFilter = nullptr;
  D_IMediaControl* control = nullptr;
  D_IMediaEvent* events = nullptr;
  D_CMediaType readerType;
  D_CMediaType grabberType;
  D_CMediaType connectedType;
};

void ReleaseConversion(Conversion& c) {
  if (c.events != nullptr) c.events->Release();
  if (c.mediaFilter != nullptr) c.mediaFilter->Release();
  if (c.control != nullptr) c.control->Release();
  // The graph's last release stops it and lets every filter go, the
  // grabber and the decoders with them.
  if (c.graph != nullptr) c.graph->Release();
  if (c.nullRenderer != nullptr) c.nullRenderer->Release();
  // The reader goes before the stream it reads: its worker may still hold
  // a request on the stream until it is destroyed.
  if (c.reader != nullptr) c.reader->AsBaseFilter()->Release();
  delete c.stream;
  if (c.image != nullptr) TrackedFree(c.image);
}

int Fail(Conversion& c, SoundDecoder* decoder, const char* message) {
  if (message != nullptr) LogWrite(message);
  ReleaseConversion(c);
  if (decoder->pcmBlock.block != nullptr) {
    TrackedFree(decoder->pcmBlock.block);
    decoder->pcmBlock.block = nullptr;
  }
  return -1;
}

// Replaces whatever renderer the builder put at the end of the grabber's
// branch with the null renderer. The end filter is the first one (in the
// graph's order) with a connected input pin and no output pin.
HRESULT SwapEndRenderer(Conversion& c) {
  D_IEnumFilters* filters = nullptr;
  HRESULT result = c.graph->EnumFilters(&filters);
  if (FAILED(result)) return result;
  D_IPin* upstream = nullptr;
  D_IBaseFilter* filter = nullptr;
  ULONG fetched = 0;
  while (upstream == nullptr && filters->Next(1, &filter, &fetched) == S_OK && fetched == 1) {
    D_IPin* input = FindFilterPin(filter, D_PINDIR_INPUT);
    D_IPin* output = FindFilterPin(filter, D_PINDIR_OUTPUT);
    if (input != nullptr && output == nullptr && input->ConnectedTo(&upstream) == S_OK) {
      c.graph->Disconnect(upstream);
      c.graph->Disconnect(input);
    }
    if (input != nullptr) input->Release();
    if (output != nullptr) output->Release();
    filter->Release();
  }
  filters->Release();
  if (upstream == nullptr) return E_FAIL;
  D_IPin* nullInput = FindFilterPin(c.nullRenderer, D_PINDIR_INPUT);
  result = nullInput != nullptr ? c.graph->Connect(upstream, nullInput) : E_FAIL;
  if (nullInput != nullptr) nullInput->Release();
  upstream->Release();
  return result;
}

// Runs the graph to its end, keeping the window alive between waits. A
// graph that does not run, or whose wait fails for any reason but the
// time-out, would never complete: both end the conversion as an error.
const char* RunToCompletion(Conversion& c) {
  if (FAILED(c.control->Run())) return "MP3変換の途中でエラーが発生しました";
  for (;;) {
    if (ProcessWindowMessages() != 0) return "MP3変換の途中でソフトが終了しました";
    LONG code = 0;
    const HRESULT result = c.events->WaitForCompletion(kCompletionWaitMs, &code);
    if (result == S_OK) {
      if (code == D_EC_ERRORABORT) return "MP3変換の途中でエラーが発生しました";
      if (code == D_EC_COMPLETE) return nullptr;
    } else if (result != E_ABORT) {
      return "MP3変換の途中でエラーが発生しました";
    }
  }
}

}  // namespace

D_IPin* FindFilterPin(D_IBaseFilter* filter, D_PIN_DIRECTION direction) {
  D_IEnumPins* pins = nullptr;
  if (FAILED(filter->EnumPins(&pins))) return nullptr;
  D_IPin* found = nullptr;
  D_IPin* pin = nullptr;
  ULONG fetched = 0;
  while (found == nullptr && pins->Next(1, &pin, &fetched) == S_OK && fetched == 1) {
    D_PIN_DIRECTION pinDirection;
    if (SUCCEEDED(pin->QueryDirection(&pinDirection)) && pinDirection == direction) {
      found = pin;
    } else {
      pin->Release();
    }
  }
  pins->Release();
  return found;
}

HRESULT SampleGrabberPcmCallback(D_IMediaSample* sample, D_REFERENCE_TIME*, D_REFERENCE_TIME*, BOOL,
                                 void* context) {
  auto* decoder = static_cast<SoundDecoder*>(context);
  PcmBlockState& block = decoder->pcmBlock;
  if (block.block == nullptr) return S_OK;
  BYTE* data = nullptr;
  sample->GetPointer(&data);
  const auto length = static_cast<std::uint32_t>(sample->GetActualDataLength());
  if (std::uint64_t{block.bytes} + length > block.capacity) {
    // Grow by a step past what this sample needs, so one sample larger than
    // a step still lands whole.
    const std::uint64_t needed = std::uint64_t{block.bytes} + length + kPcmGrowthBytes;
    auto* larger = needed <= 0xFFFFFFFFu ? static_cast<BYTE*>(TrackedAlloc(needed, "", 0)) : nullptr;
    if (larger == nullptr) {
      TrackedFree(block.block);
      block.block = nullptr;
      return S_OK;
    }
    std::memcpy(larger, block.block, block.bytes);
    TrackedFree(block.block);
    block.block = larger;
    block.capacity = static_cast<std::uint32_t>(needed);
  }
  std::memcpy(block.block + block.bytes, data, length);
  block.bytes += length;
  return S_OK;
}

int SetupDirectShowDecoder(SoundDecoder* decoder) {
  decoder->pcmBlock = PcmBlockState{};
  Conversion c;
  const StreamFunctionTable& stream = decoder->source.functions;
  const StreamHandle handle = decoder->source.handle;
  stream.seek(handle, 0, SEEK_END);
  c.imageSize = static_cast<std::uint32_t>(stream.tell(handle));
  stream.seek(handle, 0, SEEK_SET);
  c.image = static_cast<BYTE*>(TrackedAlloc(c.imageSize, "", 0));
  if (c.image == nullptr) return Fail(c, decoder, nullptr);
  stream.read(c.image, c.imageSize, 1, handle);

  c.stream = D_CMemStream::Create(c.image, c.imageSize, D_CMemStream::kNoThrottle);
  if (c.stream == nullptr) return Fail(c, decoder, "MP3変換用 D_CMemStream の作成に失敗しました");
  c.readerType.SetType(&D_MEDIATYPE_Stream);
  c.readerType.SetSubtype(&D_MEDIASUBTYPE_MPEG1Audio);
  HRESULT result = S_OK;
  c.reader = D_CMemReader::Create(c.stream, &c.readerType, &result);
  if (c.reader == nullptr) return Fail(c, decoder, "MP3変換用 D_CMemReader の作成に失敗しました");
  c.reader->AsBaseFilter()->AddRef();
  if (FAILED(CoCreateInstance(D_CLSID_NullRenderer, nullptr, CLSCTX_INPROC_SERVER, D_IID_IBaseFilter,
                              reinterpret_cast<void**>(&c.nullRenderer))))
    return Fail(c, decoder, "MP3変換用 NullRender の作成に失敗しました");
  if (FAILED(CoCreateInstance(D_CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                              D_IID_IGraphBuilder, reinterpret_cast<void**>(&c.graph))))
    return Fail(c, decoder, "MP3変換用 IGraphBuilder の作成に失敗しました");
  result = S_FALSE;
  c.grabber = D_CSampleGrabber::Create(nullptr, &result);
  if (c.grabber == nullptr) return Fail(c, decoder, "MP3変換用 D_CSampleGrabber の作成に失敗しました");
  // The graph holds the grabber from here; until it joins, nothing does.
  c.grabberType.SetType(&D_MEDIATYPE_Audio);
  c.grabberType.SetSubtype(&D_MEDIASUBTYPE_PCM);
  if (c.grabber->SetAcceptedMediaType(&c.grabberType) != S_OK) {
    delete c.grabber;
    return Fail(c, decoder, "サンプルグラバフィルタのメディアタイプの設定に失敗しました");
  }
  if (c.graph->AddFilter(c.grabber->AsBaseFilter(), u"SampleGrabber") != S_OK) {
    delete c.grabber;
    return Fail(c, decoder, "サンプルグラバフィルタのグラフへの追加に失敗しました");
  }
  if (c.graph->AddFilter(c.reader->AsBaseFilter(), u"MemFile") != S_OK)
    return Fail(c, decoder, "メモリファイルフィルタのグラフへの追加に失敗しました");
  if (c.graph->Render(c.reader->GetPin(0)->AsPin()) != S_OK) return Fail(c, decoder, "グラフの構築に失敗しました");
  if (c.graph->AddFilter(c.nullRenderer, u"File Renderer") != S_OK)
    return Fail(c, decoder, "ヌルレンダラーフィルタのグラフへの追加に失敗しました");
  if (SwapEndRenderer(c) != S_OK)
    return Fail(c, decoder, "既存レンダラーをNullレンダラーと交換する処理が失敗しました");

  if (c.grabber->GetConnectedMediaType(&c.connectedType) != S_OK)
    return Fail(c, decoder, "音声が含まれていないか、オーディオフォーマットの取得に失敗しました。");
  if (c.connectedType.formattype != D_FORMAT_WaveFormatEx || c.connectedType.cbFormat < sizeof(WAVEFORMATEX))
    return Fail(c, decoder, "サポート外のストリームフォーマットです。");
  WAVEFORMATEX connected;
  std::memcpy(&connected, c.connectedType.pbFormat, sizeof(connected));
  if (connected.wFormatTag != WAVE_FORMAT_PCM || connected.nChannels == 0)
    return Fail(c, decoder, "サポート外のオーディオフォーマットです。");
  WAVEFORMATEX& format = decoder->format;
  format.cbSize = 0;
  format.wFormatTag = connected.wFormatTag;
  format.nChannels = connected.nChannels;
  format.nBlockAlign = connected.nBlockAlign;
  format.nSamplesPerSec = connected.nSamplesPerSec;
  format.nAvgBytesPerSec = connected.nBlockAlign * connected.nSamplesPerSec;
  format.wBitsPerSample = static_cast<WORD>(connected.nBlockAlign * 8 / connected.nChannels);

  if (c.grabber->SetCallback(&SampleGrabberPcmCallback, decoder) != S_OK)
    return Fail(c, decoder, "コールバック関数を設定できません");
  const std::uint64_t capacity = std::uint64_t{c.imageSize} * kPcmFirstBlockFactor;
  decoder->pcmBlock.block =
      capacity <= 0xFFFFFFFFu ? static_cast<BYTE*>(TrackedAlloc(capacity, "", 0)) : nullptr;
  if (decoder->pcmBlock.block == nullptr)
    return Fail(c, decoder, "PCMデータを格納するメモリ領域の確保に失敗しました");
  decoder->pcmBlock.capacity = static_cast<std::uint32_t>(capacity);
  decoder->pcmBlock.bytes = 0;

  if (FAILED(c.graph->QueryInterface(D_IID_IMediaFilter, reinterpret_cast<void**>(&c.mediaFilter))))
    return Fail(c, decoder, "IMediaFilter の取得に失敗しました");
  c.mediaFilter->SetSyncSource(nullptr);
  if (FAILED(c.graph->QueryInterface(D_IID_IMediaControl, reinterpret_cast<void**>(&c.control))))
    return Fail(c, decoder, "IMediaControl の取得に失敗しました");
  if (FAILED(c.graph->QueryInterface(D_IID_IMediaEvent, reinterpret_cast<void**>(&c.events))))
    return Fail(c, decoder, "IMediaEvent の取得に失敗しました");
  if (const char* failure = RunToCompletion(c)) return Fail(c, decoder, failure);
  // The graph is released before the block is read: no sample can still
  // arrive.
  ReleaseConversion(c);
  c = Conversion{};
  if (decoder->pcmBlock.block == nullptr)
    return Fail(c, decoder, "PCMデータを格納するメモリ領域の再確保に失敗しました");
  decoder->kind = kDecoderPcmBlock;
  decoder->pcmBlock.readPosition = 0;
  decoder->readUnit = format.nAvgBytesPerSec;
  return 0;
}
