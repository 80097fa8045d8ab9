// The streaming thread of a source or parser filter: runs its loop until
// the loop ends or the filter asks it to stop.
#pragma once

#include <atomic>
#include <functional>
#include <thread>

namespace wqplat {

class StreamingThread {
 public:
  ~StreamingThread() { Stop(); }

  // The loop polls stopping() between samples.
  void Start(std::function<void()> loop) {
    Stop();
    stopping_ = false;
    thread_ = std::thread(std::move(loop));
  }
  void Stop() {
    stopping_ = true;
    if (thread_.joinable()) thread_.join();
  }
  bool stopping() const { return stopping_; }

 private:
  std::thread thread_;
  std::atomic<bool> stopping_{false};
};

}  // namespace wqplat
