// Frames written to disk as they are presented, for replays: the layer reads
// WQ_CAPTURE_FRAMES (presented frame numbers, "1,60,300") and WQ_CAPTURE_DIR
// (the folder) from its environment, as an operating system would.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace wqplat {

// Counts one presented frame of a window (numbers start at 1, over every
// window of the process) and, when its number is listed, calls read_pixels
// for the frame (0x00RRGGBB rows, top-down) and writes it as
// "frame_<number>.png" with six digits. Pixels are read only for listed
// frames, as reading them back may cost a copy from the GPU.
using FramePixelReader = std::function<void(std::vector<std::uint32_t>* pixels, int* width, int* height)>;
void CountPresentedFrame(const FramePixelReader& read_pixels);

}  // namespace wqplat
