// The choice the image and colour kernels make before their first pixel:
// which combination of mode and selectors a call draws, or that it draws
// nothing.
#pragma once

#include <cstddef>
#include <optional>

#include "image/memimg.h"

// The combination index for the current BlendMode and BlendParam, the
// source's flags, the blend image and the transparent argument; nothing for
// a mode that is not drawn or a parameter that draws nothing.
std::optional<std::size_t> PickBlitCombo(const MEMIMG* src, bool blend, int transparent);

// The same for one colour drawn without selectors (the rules of a
// direct-colour source).
std::optional<std::size_t> PickFlatCombo();
