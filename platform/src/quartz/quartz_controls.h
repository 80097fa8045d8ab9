// What the filter graph controls have set (see platform/control_quartz.h).
#pragma once

namespace wqplat {

bool FilterGraphCallFails(const char* method);

}  // namespace wqplat
