#include "ws2_32/socket_events.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/user32.h"
#include "ws2_32/posix_socket.h"
#include "ws2_32/wsa_error.h"

namespace wqplat {
namespace {

constexpr LONG kAllEvents = FD_READ | FD_WRITE | FD_OOB | FD_ACCEPT | FD_CONNECT | FD_CLOSE;

enum class ConnectState { kNone, kInCall, kUnderWay };

struct Watch {
  HWND window;
  UINT message;
  LONG events;
  LONG armed;               // requested events not posted since their re-enabling
  ConnectState connect;
  bool connected;           // once seen connected, for the rest of its life
  bool input_ended;         // end of stream or reset seen and reported
  bool dormant;             // a hang-up that no armed event can report
  std::uint64_t serial;     // tells a reused descriptor from the one polled
};

struct Notice {
  HWND window;
  UINT message;
  WPARAM socket;
  LPARAM reply;
};

class SocketEventWatcher {
 public:
  SocketEventWatcher() : wake_fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}
  ~SocketEventWatcher() {
    Stop();
    close(wake_fd_);
  }

  void Request(int fd, HWND window, UINT message, LONG events) {
    // Judged now rather than by the poll thread: a connection reset before
    // the thread's first look would seem never to have been connected, and
    // its FD_CLOSE would be lost.
    const bool connected_now = events != 0 && QuerySocketRole(fd) == SocketRole::kConnected;
    {
      std::lock_guard lock(mutex_);
      if (events == 0) {
        watches_.erase(fd);
      } else {
        Watch& watch = watches_[fd];
        watch.window = window;
        watch.message = message;
        watch.events = events & kAllEvents;
        watch.armed = kAllEvents;
        watch.dormant = false;
        watch.connected = watch.connected || connected_now;
        watch.serial = next_serial_++;
        if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
      }
    }
    Wake();
  }

  void Cancel(int fd) {
    {
      std::lock_guard lock(mutex_);
      watches_.erase(fd);
    }
    Wake();
  }

  void Reenable(int fd, LONG event) {
    Update(fd, [event](Watch& watch) {
      const bool changed = !(watch.armed & event) || watch.dormant;
      watch.armed |= event;
      watch.dormant = false;
      return changed;
    });
  }

  void SetConnectState(int fd, ConnectState state) {
    Update(fd, [state](Watch& watch) {
      watch.connect = state;
      return true;
    });
  }

  bool Inherit(int listening_fd, int accepted_fd) {
    {
      std::lock_guard lock(mutex_);
      const auto listening = watches_.find(listening_fd);
      if (listening == watches_.end()) return false;
      Watch accepted = listening->second;
      accepted.armed = kAllEvents;
      accepted.connect = ConnectState::kNone;
      accepted.connected = true;
      accepted.input_ended = false;
      accepted.dormant = false;
      accepted.serial = next_serial_++;
      watches_[accepted_fd] = accepted;
    }
    Wake();
    return true;
  }

  void Refresh(int fd) {
    Update(fd, [](Watch&) { return true; });
  }

  void Stop() {
    std::thread thread;
    {
      std::lock_guard lock(mutex_);
      watches_.clear();
      stopping_ = true;
      thread.swap(thread_);
    }
    Wake();
    if (thread.joinable()) thread.join();
    std::lock_guard lock(mutex_);
    stopping_ = false;
  }

 private:
  template <class Change>
  void Update(int fd, Change change) {
    bool wake = false;
    {
      std::lock_guard lock(mutex_);
      const auto found = watches_.find(fd);
      if (found != watches_.end()) wake = change(found->second);
    }
    if (wake) Wake();
  }

  void Wake() {
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = write(wake_fd_, &one, sizeof(one));
  }

  void Run() {
    std::vector<pollfd> polled;
    std::vector<std::uint64_t> serials;
    std::vector<Notice> notices;
    for (;;) {
      {
        std::lock_guard lock(mutex_);
        if (stopping_) return;
        polled.assign(1, pollfd{wake_fd_, POLLIN, 0});
        serials.assign(1, 0);
        for (auto& [fd, watch] : watches_) {
          if (const short events = PollEventsFor(fd, watch)) {
            polled.push_back(pollfd{fd, events, 0});
            serials.push_back(watch.serial);
          }
        }
      }
      if (poll(polled.data(), polled.size(), -1) < 0 && errno != EINTR) return;
      if (polled[0].revents) {
        std::uint64_t count;
        [[maybe_unused]] const auto read_count = read(wake_fd_, &count, sizeof(count));
      }
      notices.clear();
      {
        std::lock_guard lock(mutex_);
        if (stopping_) return;
        for (std::size_t i = 1; i < polled.size(); ++i) {
          const auto found = watches_.find(polled[i].fd);
          if (polled[i].revents == 0 || found == watches_.end() || found->second.serial != serials[i]) continue;
          Handle(polled[i].fd, found->second, polled[i].revents, &notices);
        }
      }
      for (const Notice& notice : notices) PostMessageA(notice.window, notice.message, notice.socket, notice.reply);
    }
  }

  // What to wait for on the socket now; 0 leaves it out of the poll.
  static short PollEventsFor(int fd, Watch& watch) {
    if (watch.dormant || watch.connect == ConnectState::kInCall) return 0;
    if (watch.connect == ConnectState::kUnderWay) return POLLOUT;
    const LONG wanted = watch.events & watch.armed;
    if (!watch.connected) {
      const SocketRole role = QuerySocketRole(fd);
      if (role == SocketRole::kListening) return (wanted & FD_ACCEPT) ? POLLIN : 0;
      if (role == SocketRole::kUnconnected) return 0;
      watch.connected = true;
    }
    short events = 0;
    if (!watch.input_ended) {
      // With FD_READ requested, the close is reported once the data before
      // it has been read; otherwise only the peer's shutdown is watched.
      if (wanted & FD_READ) {
        events |= POLLIN | POLLRDHUP;
      } else if ((wanted & FD_CLOSE) && !(watch.events & FD_READ)) {
        events |= POLLRDHUP;
      }
    }
    if (wanted & FD_WRITE) events |= POLLOUT;
    return events;
  }

  static void Handle(int fd, Watch& watch, short revents, std::vector<Notice>* notices) {
    bool reported = false;
    const auto post = [&](LONG event, int error) {
      if (watch.events & watch.armed & event) {
        notices->push_back(Notice{watch.window, watch.message, static_cast<WPARAM>(fd),
                                  WSAMAKESELECTREPLY(event, error)});
        watch.armed &= ~event;
      }
      reported = true;
    };
    const auto end_input = [&](int error) {
      watch.input_ended = true;
      post(FD_CLOSE, error);
    };

    if (watch.connect == ConnectState::kUnderWay) {
      const int error = TakePendingError(fd);
      watch.connect = ConnectState::kNone;
      watch.connected = error == 0;
      post(FD_CONNECT, error ? WsaErrorFromErrno(error) : 0);
      return;
    }
    if (!watch.connected) {
      if (revents & POLLIN) post(FD_ACCEPT, 0);
    } else {
      if (!watch.input_ended && (revents & (POLLIN | POLLRDHUP | POLLHUP | POLLERR))) {
        const int pending = PeekPendingInput(fd);
        if (pending > 0) {
          if (watch.armed & watch.events & FD_READ) {
            post(FD_READ, 0);
          } else if (!(watch.events & FD_READ)) {
            end_input(0);
          }
        } else if (pending == 0) {
          end_input(0);
        } else if (pending != -EAGAIN) {
          end_input(WsaErrorFromErrno(-pending));
        }
      }
      if (revents & POLLOUT) post(FD_WRITE, 0);
    }
    if (!reported && (revents & (POLLERR | POLLHUP))) watch.dormant = true;
  }

  std::mutex mutex_;
  std::map<int, Watch> watches_;
  std::thread thread_;
  bool stopping_ = false;
  const int wake_fd_;
  std::uint64_t next_serial_ = 1;
};

SocketEventWatcher& Watcher() {
  static SocketEventWatcher watcher;
  return watcher;
}

}  // namespace

void RequestSocketEvents(int fd, HWND window, UINT message, LONG events) {
  Watcher().Request(fd, window, message, events);
}

void CancelSocketEvents(int fd) { Watcher().Cancel(fd); }

void ReenableSocketEvent(int fd, LONG event) { Watcher().Reenable(fd, event); }

void BeginConnectCall(int fd) { Watcher().SetConnectState(fd, ConnectState::kInCall); }

void EndConnectCall(int fd, bool under_way) {
  Watcher().SetConnectState(fd, under_way ? ConnectState::kUnderWay : ConnectState::kNone);
}

bool InheritSocketEvents(int listening_fd, int accepted_fd) { return Watcher().Inherit(listening_fd, accepted_fd); }

void RefreshSocketEvents(int fd) { Watcher().Refresh(fd); }

void StopSocketEvents() { Watcher().Stop(); }

}  // namespace wqplat
