// The main thread's side of a Theora movie: moving the current frame
// (the decoding thread follows it) and reading the movie's facts.
#include <algorithm>

#include "media/theora_context.h"

namespace {

// Asks the thread to pause and waits until it has answered this request.
void PauseDecoding(TheoraContext* c) {
  c->pauseTicket = c->pauseTicket == INT32_MAX ? 1 : c->pauseTicket + 1;
  c->pauseRequest = c->pauseTicket;
  while (c->pauseAck != c->pauseTicket || c->threadState != kTheoraPaused) Sleep(0);
}

}  // namespace

int SeekTheoraMovie(TheoraContext* c, int frame) {
  if (frame == c->currentFrame) return 0;
  c->imageConverted = 0;
  c->surfaceConverted = 0;
  PauseDecoding(c);
  // The last frame at most: a frame past it has no page to seek from.
  frame = static_cast<int>(std::clamp<std::int64_t>(frame, 0, c->frameCount - 1));
  c->currentFrame = frame;
  c->seekTarget = frame;
  c->seekRequest = 1;
  c->pauseRequest = 0;
  return 0;
}

int AdvanceTheoraMovie(TheoraContext* c, int frames) {
  if (frames < 1) return 0;
  c->currentFrame = static_cast<int>((c->currentFrame + static_cast<std::int64_t>(frames)) % c->frameCount);
  c->imageConverted = 0;
  c->surfaceConverted = 0;
  return 0;
}

int GetTheoraMovieInfo(const TheoraContext* c, TheoraMovieInfo* info) {
  info->frameRate = static_cast<double>(c->info.fps_numerator) / static_cast<double>(c->info.fps_denominator);
  info->frameCount = static_cast<int>(c->frameCount);
  info->width = static_cast<int>(c->info.width);
  info->height = static_cast<int>(c->info.height);
  return 0;
}

int GetTheoraCurrentFrame(const TheoraContext* c) { return c->currentFrame; }
