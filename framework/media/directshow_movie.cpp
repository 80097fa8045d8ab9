// The DirectShow player of movie handles: a filter graph that the system
// builds around the file, ending in the movie renderer, which keeps the
// newest frame as 24-bit RGB in a buffer of its own. A file the graph
// cannot open by name (one inside an archive) is rendered from a temporary
// copy.
#include "media/directshow_movie.h"

#include <algorithm>
#include <string>

#include "core/base/log_file.h"
#include "core/base/tracked_allocator.h"
#include "core/files/file_access_table.h"
#include "core/files/plain_file.h"
#include "media/filters/base_renderer.h"

namespace {

constexpr std::size_t kCopyPieceBytes = 1048576;
constexpr UINT kFrameworkCodePage = 932;
constexpr int kLoopBit = 2;

template <class Interface>
void ReleaseInterface(Interface** object) {
  if (*object != nullptr) (*object)->Release();
  *object = nullptr;
}

void ReleaseGraph(MovieRecord* record) {
  ReleaseInterface(&record->basicAudio);
  ReleaseInterface(&record->seeking);
  ReleaseInterface(&record->control);
  // The graph's last release lets the renderer go with its frame buffer.
  ReleaseInterface(&record->graph);
  record->renderer = nullptr;
  record->frameImage.pixels = nullptr;
}

// Copies the file through the file layer into a new temporary file whose
// name becomes the rendered path; 0, or -1 when any step falls short.
int CopyToTemporaryFile(MovieRecord* record, const char* path) {
  const FileHandle file = FileAccessOpen(path, 0, 1, 0);
  if (file == 0) return -1;
  FileAccessSeek(file, 0, SEEK_END);
  const LONG size = FileAccessTell(file);
  FileAccessSeek(file, 0, SEEK_SET);
  auto* buffer = static_cast<BYTE*>(TrackedAlloc(kCopyPieceBytes, "", 0));
  if (buffer == nullptr) {
    FileAccessClose(file);
    return -1;
  }
  char name[MAX_PATH] = {};
  const HANDLE copy = CreateTempFileName(name);
  if (copy == nullptr) {
    FileAccessClose(file);
    TrackedFree(buffer);
    return -1;
  }
  MultiByteToWideChar(kFrameworkCodePage, 0, name, -1, record->renderedPath, MAX_PATH);
  record->temporaryFile = 1;
  int result = size < 0 ? -1 : 0;
  for (LONG offset = 0; result == 0 && offset < size;) {
    const std::size_t piece = std::min<std::size_t>(kCopyPieceBytes, static_cast<std::size_t>(size - offset));
    // Exactly the bytes read are written; a short read or write fails.
    const std::int64_t read = FileAccessRead(buffer, 1, piece, file);
    DWORD written = 0;
    if (read != static_cast<std::int64_t>(piece) ||
        !WriteFile(copy, buffer, static_cast<DWORD>(read), &written, nullptr) || written != read)
      result = -1;
    offset += static_cast<LONG>(piece);
  }
  FileAccessClose(file);
  CloseHandle(copy);
  TrackedFree(buffer);
  return result;
}

// Lends the renderer's frame buffer to the record's frame image.
void LendFrame(MovieRecord* record) {
  const D_CMovieRenderer* renderer = record->renderer;
  BaseImage& image = record->frameImage;
  image.width = renderer->frameWidth;
  image.height = renderer->frameHeight;
  image.pitch = static_cast<std::uint32_t>(renderer->framePitch);
  image.pixels = renderer->frameBuffer;
  MakeColorFormatRgb24(&image.format);
  record->currentImage = &image;
}

void DeleteTemporaryFile(MovieRecord* record) {
  if (record->temporaryFile) {
    DeleteFileW(record->renderedPath);
    record->temporaryFile = 0;
  }
}

// Adds the movie renderer to the graph; the graph holds it from then on.
const char* AddMovieRenderer(MovieRecord* record) {
  HRESULT result = S_OK;
  D_CMovieRenderer* renderer = D_CMovieRenderer::Create(nullptr, &result);
  if (renderer == nullptr) return "Could not add renderer filter to graph!";
  renderer->AsBaseFilter()->AddRef();
  result = record->graph->AddFilter(renderer->AsBaseFilter(), u"MovieRenderer");
  // A renderer the graph did not take goes with this reference.
  renderer->AsBaseFilter()->Release();
  if (FAILED(result)) return "Could not add renderer filter to graph!";
  record->renderer = renderer;
  return nullptr;
}

const char* BuildGraph(MovieRecord* record, const char* path, std::string* message) {
  if (FAILED(CoCreateInstance(D_CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                              D_IID_IGraphBuilder, reinterpret_cast<void**>(&record->graph))))
    return "CLSID_FilterGraph の作成に失敗しました";
  if (const char* failure = AddMovieRenderer(record)) return failure;
  if (FAILED(record->graph->QueryInterface(D_IID_IBasicAudio, reinterpret_cast<void**>(&record->basicAudio))))
    return "BasicAudio インターフェースの取得に失敗しました";
  if (FAILED(record->graph->QueryInterface(D_IID_IMediaControl, reinterpret_cast<void**>(&record->control))))
    return "IID_IMediaControlインターフェイスの取得に失敗しました";
  if (FAILED(record->graph->QueryInterface(D_IID_IMediaSeeking, reinterpret_cast<void**>(&record->seeking))))
    return "IID_IMediaSeekingインターフェイスの取得に失敗しました";
  MultiByteToWideChar(kFrameworkCodePage, 0, path, -1, record->renderedPath, MAX_PATH);
  if (SUCCEEDED(record->graph->RenderFile(record->renderedPath, nullptr))) return nullptr;
  *message = std::string("ファイル:") + path + " が開けませんでした";
  if (CopyToTemporaryFile(record, path) != 0 ||
      FAILED(record->graph->RenderFile(record->renderedPath, nullptr))) {
    // The graph may hold the copy open: it goes first.
    ReleaseGraph(record);
    DeleteTemporaryFile(record);
    return message->c_str();
  }
  return nullptr;
}

}  // namespace

int OpenDirectShowMovie(MovieRecord* record, const char* path, int* width, int* height, int /*outputMode*/) {
  record->frameUpdated = 0;
  record->frameImage.pixels = nullptr;
  record->windowParams = {};
  std::string message;
  if (const char* failure = BuildGraph(record, path, &message)) {
    // Once the file could not be rendered, every later failure says so.
    const std::string line = message.empty() ? failure : message;
    ReleaseGraph(record);
    LogWrite(line.c_str());
    return -1;
  }
  record->seeking->GetStopPosition(&record->stopPosition);
  // Until the first frame arrives the image is the renderer's cleared
  // buffer, so a graph made from the movie at once starts black.
  if (record->renderer->frameBuffer != nullptr) LendFrame(record);
  if (width != nullptr) *width = record->renderer->frameWidth;
  if (height != nullptr) *height = record->renderer->frameHeight;
  return 0;
}

void UpdateDirectShowMovie(MovieRecord* record) {
  D_CMovieRenderer* renderer = record->renderer;
  if (renderer != nullptr && renderer->newFrame) {
    // The streaming thread copies frames in, and swaps the buffer at a
    // media-type change, under the renderer lock; holding it while the
    // callback reads the frame keeps the buffer whole and alive.
    D_CAutoLock lock(renderer->RendererLock());
    renderer->newFrame = 0;
    if (record->callback != nullptr) {
      LendFrame(record);
      record->callback(record, record->callbackDatum);
    }
  }
  if (record->seeking == nullptr || record->control == nullptr) return;
  LONGLONG current = 0;
  record->seeking->GetCurrentPosition(&current);
  if (current < record->stopPosition) return;
  if (record->playType & kLoopBit) {
    LONGLONG start = 0;
    LONGLONG stop = 0;
    record->seeking->SetPositions(&start, D_AM_SEEKING_AbsolutePositioning, &stop, D_AM_SEEKING_NoPositioning);
    record->control->Run();
  } else {
    record->playing = 0;
    record->paused = 1;
  }
}

int PauseDirectShowMovie(MovieRecord* record) {
  if (record->control == nullptr) return -1;
  record->control->Pause();
  return 0;
}

void RunDirectShowMovie(MovieRecord* record) {
  if (record->control != nullptr) record->control->Run();
}

void ReleaseDirectShowMovie(MovieRecord* record) {
  // The graph may still hold the temporary copy open: it goes first. The
  // frame buffer is the renderer's and goes with it.
  ReleaseGraph(record);
  DeleteTemporaryFile(record);
}
