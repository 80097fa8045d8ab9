// The run's table of loaded pictures, by file name.
#include "picture_cache.h"

#include <cstring>

#include <WqLib.h>

namespace {

// Every picture file the game names, with room to spare; a name beyond it
// is loaded anew each time, as without the table.
constexpr int kMaxPictures = 128;
constexpr int kMaxNameSize = 64;

struct LoadedPicture {
  char fileName[kMaxNameSize];
  int graph;
};

LoadedPicture g_pictures[kMaxPictures];
int g_pictureCount;

}  // namespace

int LoadPicture(const char* fileName) {
  for (int i = 0; i < g_pictureCount; ++i) {
    if (std::strcmp(g_pictures[i].fileName, fileName) == 0) return g_pictures[i].graph;
  }
  const int graph = LoadGraph(fileName, 0);
  if (g_pictureCount < kMaxPictures && std::strlen(fileName) < kMaxNameSize) {
    LoadedPicture& entry = g_pictures[g_pictureCount++];
    std::strcpy(entry.fileName, fileName);
    entry.graph = graph;
  }
  return graph;
}
