// The OpenGL context a device and its resources draw with: the one its
// window's presenter hosts. Every object that calls OpenGL makes it current
// first, so that several devices (and the presenter) can share one thread.
#pragma once

#include <memory>

#include "user32/window_presenter.h"

namespace wqplat {

class GlContextLink {
 public:
  explicit GlContextLink(std::shared_ptr<WindowPresenter> presenter)
      : presenter_(std::move(presenter)) {}

  bool MakeCurrent() const { return presenter_->AttachGl(); }
  WindowPresenter& presenter() const { return *presenter_; }

 private:
  std::shared_ptr<WindowPresenter> presenter_;
};

}  // namespace wqplat
