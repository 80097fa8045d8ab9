// The record behind a movie handle and the handle table's entry points
// that the graph code uses. A movie is played by the Theora player, or by
// a DirectShow filter graph for any other file.
#pragma once

#include <cstdint>

#include "WqLib.h"
#include "core/files/file_access_table.h"
#include "platform/dshow.h"
#include "platform/windows.h"

struct TheoraContext;
struct MovieRecord;
class D_CMovieRenderer;

constexpr int kMovieHandleKind = 0x18000000;
constexpr int kMovieSlotCount = 100;

// Called with the record and its datum whenever the movie's frame may have
// changed; a movie graph copies the current image into itself.
using MovieFrameCallback = void (*)(MovieRecord* record, int datum);

// Where DrawMovieToWindow last asked a frame to be shown.
struct MovieWindowOutput {
  int x, y;
  double scale;
  int show;
  RECT source, destination;
};

struct MovieRecord {
  std::uint32_t check;
  int playType;  // passed to PlaySoundHandle on resume; bit 1 loops
  int theora;
  TheoraContext* theoraContext;
  std::int64_t startTime;  // the clock at which frame 0 counts as shown (movies without sound)
  FileHandle file;         // read by the Theora player
  int sound;               // the Theora movie's Vorbis track, or -1

  // The DirectShow player's filter graph and what it asked of it.
  D_IGraphBuilder* graph;
  D_IMediaControl* control;
  D_IMediaSeeking* seeking;
  D_IBasicAudio* basicAudio;
  D_CMovieRenderer* renderer;  // held by the graph, which owns it
  std::int64_t stopPosition;  // 100 ns units
  int temporaryFile;          // the graph renders a temporary copy at renderedPath
  WCHAR renderedPath[260];

  int width, height;
  int graphOption;
  int playing;
  int paused;
  int frameUpdated;
  int windowOutput;
  MovieWindowOutput windowParams;
  BaseImage frameImage;       // the DirectShow player's frame, lent by its renderer
  BaseImage* currentImage;    // where the graph reads the frame: the Theora image or frameImage
  MovieFrameCallback callback;
  int callbackDatum;
};

// The record of a live movie handle, or null.
MovieRecord* GetMovieRecord(int handle);
// Stores (null clears) the frame callback; 0, or -1 for an invalid handle.
int SetMovieUpdateCallback(int handle, MovieFrameCallback callback, int datum);
// The handle of the movie in a slot (0 .. kMovieSlotCount - 1), or -1.
int MovieSlotHandle(int slot);
