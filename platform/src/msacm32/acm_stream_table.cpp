#include "msacm32/acm_stream_table.h"

#include <mutex>
#include <unordered_map>

namespace wqplat {
namespace {

struct StreamTable {
  std::mutex lock;
  std::unordered_map<HACMSTREAM, std::unique_ptr<AcmStream>> streams;
};

StreamTable& Table() {
  static StreamTable table;
  return table;
}

}  // namespace

HACMSTREAM AddAcmStream(std::unique_ptr<AcmConverter> converter) {
  auto stream = std::make_unique<AcmStream>(AcmStream{std::move(converter)});
  const auto handle = reinterpret_cast<HACMSTREAM>(stream.get());
  StreamTable& table = Table();
  const std::lock_guard guard(table.lock);
  table.streams.emplace(handle, std::move(stream));
  return handle;
}

AcmStream* FindAcmStream(HACMSTREAM handle) {
  StreamTable& table = Table();
  const std::lock_guard guard(table.lock);
  const auto found = table.streams.find(handle);
  return found == table.streams.end() ? nullptr : found->second.get();
}

bool RemoveAcmStream(HACMSTREAM handle) {
  StreamTable& table = Table();
  const std::lock_guard guard(table.lock);
  return table.streams.erase(handle) == 1;
}

}  // namespace wqplat
