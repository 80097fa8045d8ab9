// Stream helpers shared by the image readers.
#include "image/image_reader.h"

// Counted in single bytes: a memory stream counts a short last item as a
// whole one.
bool ReadStreamBytes(StreamSource* source, void* destination, std::size_t size) {
  if (size == 0) return true;
  return source->functions.read(destination, 1, size, source->handle) == static_cast<std::int64_t>(size);
}

std::int64_t MeasureStream(StreamSource* source, std::int64_t position) {
  StreamFunctionTable& f = source->functions;
  f.seek(source->handle, 0, 2);
  std::int64_t length = f.tell(source->handle);
  f.seek(source->handle, static_cast<LONG>(position), 0);
  return length;
}

std::int64_t StreamBytesLeft(StreamSource* source) {
  std::int64_t position = source->functions.tell(source->handle);
  if (position < 0) return -1;
  std::int64_t length = MeasureStream(source, position);
  return length < position ? 0 : length - position;
}
