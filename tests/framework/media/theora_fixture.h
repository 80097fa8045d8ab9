// A Theora context opened straight on a test movie through the plain file
// set, without starting the library; closed with its file at the end.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core/base/tracked_allocator.h"
#include "media/theora_context.h"
#include "test_movies.h"

namespace wqtest {

class TheoraTest : public testing::Test {
 protected:
  void SetUp() override { BuildYuvToRgbTables(); }
  void TearDown() override { Close(); }

  TheoraContext* Open(const std::string& linuxPath) {
    files_ = GetPlainFileSet();
    file_ = files_->open(WindowsPathOf(linuxPath).c_str(), 0, 1, 0);
    if (file_ == 0) return nullptr;
    context_ = OpenTheoraMovie(files_, file_, 10);
    return context_;
  }
  void Close() {
    if (context_ != nullptr) CloseTheoraMovie(context_);
    if (file_ != 0) files_->close(file_);
    context_ = nullptr;
    file_ = 0;
  }
  // The number the current frame shows once converted (-1: no frame).
  int Shown() {
    context_->imageConverted = 0;
    if (ConvertTheoraFrame(context_, 1, 0) != 1) return -1;
    return ShownFrameNumber(context_->frameImage);
  }

  const FileAccessTable* files_ = nullptr;
  FileHandle file_ = 0;
  TheoraContext* context_ = nullptr;
};

}  // namespace wqtest
