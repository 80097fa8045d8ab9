// kernel32: everything a program links from the kernel.
#pragma once

#include "platform/wintypes.h"
#include "platform/kernel32_base.h"
#include "platform/kernel32_system.h"
#include "platform/kernel32_file.h"
