// The Ogg Theora player: one context per movie, read through a copy of the
// file-access table, with a decoding thread that decodes ahead of the shown
// frame into a small stock of YUV pictures. The main thread moves the
// current frame and converts the stocked picture of it.
//
// The context is shared with the decoding thread without a lock: every
// field the two sides exchange is atomic and written by one side only,
// except the stock entries' used flags (set by the thread when it stores a
// picture, cleared by its own freeing and seeking).
#pragma once

#include <ogg/ogg.h>
#include <theora/theora.h>

#include <atomic>
#include <cstdint>

#include "WqLib.h"
#include "core/files/file_access_table.h"
#include "media/yuv_to_rgb.h"
#include "platform/d3d9.h"
#include "platform/windows.h"

enum TheoraThreadState : std::int32_t {
  kTheoraStockFull = 0,
  kTheoraWorking = 1,
  kTheoraSeeking = 2,
  kTheoraEnded = 3,
  kTheoraPaused = 4,
};

// One Ogg page of the file from which Theora frames came out.
struct TheoraPageEntry {
  std::int32_t offset;      // in the file
  std::int32_t firstFrame;  // the first frame whose packet came out after the page was read
  std::int32_t key;         // 1 when a key frame came out of it
  std::int32_t frameCount;  // frames that came out of it
};

// A decoded picture kept for the main thread: private copies of its planes.
struct TheoraStockEntry {
  std::atomic<std::int32_t> used;
  std::atomic<std::int32_t> frame;
  YuvPlanes planes;
};

struct TheoraContext {
  std::atomic<std::int32_t> threadState;
  // A pause is asked with a new ticket (never 0) and granted when the
  // thread has answered that ticket, so a pause state left from an earlier
  // request is never taken for the answer.
  std::atomic<std::int32_t> pauseRequest;
  std::atomic<std::int32_t> pauseAck;
  std::int32_t pauseTicket;
  std::atomic<std::int32_t> stopRequest;
  std::atomic<std::int32_t> seekRequest;
  std::atomic<std::int32_t> seekTarget;
  std::atomic<std::int32_t> endOfData;
  HANDLE thread;
  DWORD threadId;

  FileAccessTable files;
  FileHandle file;

  ogg_sync_state sync;
  ogg_page page;
  ogg_stream_state stream;
  ogg_packet packet;
  theora_info info;
  theora_comment comment;
  theora_state decoder;
  std::int32_t serial;

  TheoraPageEntry* pages;
  std::int32_t pageCount;
  std::int32_t pageCapacity;
  std::uint8_t* keyFrames;  // one byte per frame: 1 key frame
  std::int32_t keyFrameCapacity;
  std::int64_t frameCount;

  std::atomic<std::int32_t> currentFrame;  // the frame to show; -1 before the first seek
  std::atomic<std::int32_t> decodedFrame;  // the frame in the decoder's output
  std::int32_t headerCount;

  TheoraStockEntry* stock;
  std::int32_t stockSize;

  // The conversion's targets.
  BaseImage frameImage;  // X8R8G8B8, the encoded frame size
  D_IDirect3DSurface9* surface;
  char surfaceFormat[4];  // "YV12", "YUY2", "UYVY", or four zero bytes
  std::int32_t imageConverted;
  std::int32_t surfaceConverted;
};

struct TheoraMovieInfo {
  double frameRate;
  int frameCount;
  int width;
  int height;
};

// Bytes read per piece of the file.
constexpr int kTheoraReadPiece = 4096;

// The context of a Theora movie in the open file, with frame 0 decoded and
// converted; null when the file is not a Theora movie or a step fails.
// The file stays the caller's.
TheoraContext* OpenTheoraMovie(const FileAccessTable* files, FileHandle file, int stockSize);
// The opener's first steps: the "OggS" check, the context and the three
// headers; null (nothing logged for a file of another kind) on failure.
TheoraContext* OpenTheoraStream(const FileAccessTable* files, FileHandle file);
// Walks the whole file into the page table and the key-frame table; 0, or
// -1 when a table cannot be had or the stream holds no frame.
int ScanTheoraFrames(TheoraContext* context);
// Stops the thread (when started) and frees the context; 0.
int CloseTheoraMovie(TheoraContext* context);
// Reads up to `bytes` of the file into the Ogg sync layer; the bytes read.
int ReadTheoraStreamData(TheoraContext* context, int bytes);
// 1 once the three Theora headers are read, -1 on failure.
int ReadTheoraHeaders(TheoraContext* context);
// Makes `frame` (clamped to the movie) the current frame and has the
// thread decode it; returns at once. 0.
int SeekTheoraMovie(TheoraContext* context, int frame);
// Moves the current frame forward by n, wrapping at the end; n below 1
// changes nothing. 0.
int AdvanceTheoraMovie(TheoraContext* context, int frames);
int GetTheoraMovieInfo(const TheoraContext* context, TheoraMovieInfo* info);
int GetTheoraCurrentFrame(const TheoraContext* context);

// The decoding thread and its steps.
DWORD WINAPI TheoraDecodeThread(LPVOID context);
// Takes n more frames' packets through the decoder: 1 when the last packet
// taken was a key frame, 0 when not, -1 at the end of the file.
int DecodeTheoraFrames(TheoraContext* context, int frames);
// Puts the sync layer and stream at the page entry's start; the number of
// the first frame whose packet will come out.
int RestartTheoraAtPage(TheoraContext* context, int entry);
// The next page of the sync layer, reading more of the file when it has
// none; 0 at the end of the file. `skipped` (may be null) grows by the bytes
// passed over that are not pages.
int TakeTheoraPage(TheoraContext* context, std::int64_t* skipped);

// The conversion of the current frame (RGB image or YUV surface).
// Converts the current frame into the image and/or the surface: 1 when it
// converted something, 0 when neither target needed it or no frame can come.
int ConvertTheoraFrame(TheoraContext* context, int toImage, int toSurface);
// Creates the YUV surface when Direct3D draws (the first of YV12, YUY2,
// UYVY that the device makes), releasing the old one.
void CreateTheoraYV12Surface(TheoraContext* context);
BaseImage* GetTheoraFrameImage(TheoraContext* context);
D_IDirect3DSurface9* GetTheoraYV12Surface(const TheoraContext* context);
