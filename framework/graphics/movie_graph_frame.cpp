// Copying a movie's new frame into its graph: a Theora frame through the
// YUV surface stretched onto the graph's texture when the device made one,
// else through the movie's RGB image, which goes into the textures or the
// graph's MEMIMG like any image.
#include "graphics/movie_graph_frame.h"

#include "graphics/graph_record.h"
#include "graphics/graph_transfer.h"
#include "graphics/graphics_state.h"
#include "media/theora_context.h"

namespace {

void StretchSurfaceOntoGraph(D_IDirect3DSurface9* surface, const GraphImageInfo& info) {
  const GraphTextureEntry& entry = info.entries[0];
  const RECT used{0, 0, entry.usedWidth, entry.usedHeight};
  D_IDirect3DSurface9* level0 = nullptr;
  if (entry.texture->GetSurfaceLevel(0, &level0) != 0) return;
  Device()->StretchRect(surface, nullptr, level0, &used, D_D3DTEXF_LINEAR);
  level0->Release();
}

}  // namespace

void UpdateMovieGraphFrame(MovieRecord* record, int graph) {
  const GraphRecord* graphRecord = FindGraphRecord(graph);
  if (graphRecord == nullptr) return;
  const GraphImageInfo& info = *graphRecord->image;
  if (record->theora) {
    D_IDirect3DSurface9* surface = GetTheoraYV12Surface(record->theoraContext);
    if (info.inTextures && surface != nullptr) {
      if (ConvertTheoraFrame(record->theoraContext, 0, 1) == 1) StretchSurfaceOntoGraph(surface, info);
      return;
    }
    if (ConvertTheoraFrame(record->theoraContext, 1, 0) == 0) return;
  }
  const BaseImage* image = record->currentImage;
  const RECT whole{0, 0, image->width, image->height};
  TransferImageToGraph(graph, whole, 0, 0, record->currentImage, nullptr, 0, 1);
}
