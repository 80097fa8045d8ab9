// Whole-text conversion between two iconv encodings, with a substitute for
// what does not convert.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace wqplat {

// Converts `input` from `from` to `to`. Each input unit (`unit` bytes) that
// does not convert, or is cut off at the end, is replaced by `substitute`,
// already in the target encoding; `substituted` tells whether that
// happened. A descriptor is opened per call, so any number of threads may
// convert at once.
std::string ConvertEncoding(const char* to, const char* from, std::string_view input,
                            std::size_t unit, std::string_view substitute, bool& substituted);

}  // namespace wqplat
