// Colours as plain ints in a pixel format.
#pragma once

#include <cstdint>

#include "image/color_format.h"

// Each channel's low byte cut to its width and shifted into place, plus the
// unused bits set to one.
std::uint32_t EncodeColor(const ColorFormat* format, int red, int green, int blue);
// The window's clear colour in the format.
std::uint32_t EncodeBackgroundColor(const ColorFormat* format);
