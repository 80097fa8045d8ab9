// Hooks the windows' presenters up as the surface GDI draws window device
// contexts through.
#pragma once

namespace wqplat {

// Idempotent; called when the first window is created.
void InstallWindowSurface();

}  // namespace wqplat
