// The system memory allocator as the quartz tests create it.
#pragma once

#include <gtest/gtest.h>

#include "platform/dshow.h"

namespace wqtest {

// COM initialised on the calling thread and a new allocator, or null with
// a test failure.
inline D_IMemAllocator* CreateSystemAllocator() {
  CoInitialize(nullptr);
  D_IMemAllocator* allocator = nullptr;
  EXPECT_EQ(CoCreateInstance(D_CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER, D_IID_IMemAllocator,
                             reinterpret_cast<void**>(&allocator)),
            S_OK);
  return allocator;
}

}  // namespace wqtest
