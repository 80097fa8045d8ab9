// The steps that every public draw shares, kept in one place: the tests
// that end a draw early, the inactive-window wait, and the brackets around
// the draw itself (the mask screen's hooks while a mask is in effect, and
// inside them the subtractive blend emulation on devices without the
// reverse-subtract operation). The brackets need the draw's destination
// rectangle, which is only computed when one of them runs.
#pragma once

#include "core/window/message_pump.h"
#include "core/window/window_system_state.h"
#include "graphics/device_draw.h"
#include "graphics/graph_record.h"
#include "graphics/graphics_state.h"
#include "graphics/render_state.h"
#include "text/mask_screen.h"

// 0, or -1 when the blend graph is not a live graph or is narrower or lower
// than the graph.
int CheckBlendGraphSize(const GraphRecord* graph);

// Blend mode 3 on a device that cannot subtract is drawn additively between
// two inversions of the destination.
inline bool SubtractNeedsEmulation() { return BlendMode == kBlendSubtract && !Graphics().subtractBlendNative; }

// Runs draw() with the brackets it needs; destination() gives the
// rectangle they cover.
template <typename Destination, typename Draw>
int RunBracketedDraw(bool emulateSubtract, Destination destination, Draw draw) {
  const bool masked = MaskScreenEffective != 0;
  if (!emulateSubtract && !masked) return draw();
  const RECT rect = destination();
  if (masked) BeginMaskDraw(rect);
  if (emulateSubtract) BeginSubtractBlendEmulation(&rect);
  const int result = draw();
  if (emulateSubtract) EndSubtractBlendEmulation(&rect);
  if (masked) EndMaskDraw(rect);
  return result;
}

// The common sequence of the graph draws: 0 while drawing is suspended or
// the draw area is empty; -1 for a handle that is not a live graph or a
// blend graph too small for it; otherwise the path's result. A graph held
// in textures takes onDevice(record), any other graph inMemory(record).
// A movie graph first takes the frame of the present time.
template <typename Destination, typename DevicePath, typename MemoryPath>
int RunGraphDraw(int handle, Destination destination, DevicePath onDevice, MemoryPath inMemory) {
  if (DrawSuspended || DrawAreaEmpty) return 0;
  GraphRecord* record = FindGraphRecord(handle);
  if (record == nullptr) return -1;
  if (BlendGraph != -1 && CheckBlendGraphSize(record) != 0) return -1;
  if (!IsWindowActive()) WaitWhileInactive();
  if (record->movie != -1) UpdateMovie(record->movie, 0);
  const bool inTextures = record->image->inTextures != 0;
  return RunBracketedDraw(
      inTextures && SubtractNeedsEmulation(), [&] { return destination(*record); },
      [&] { return inTextures ? onDevice(record) : inMemory(record); });
}
