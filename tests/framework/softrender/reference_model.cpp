// The reference model of the image kernels. Every rule is applied per colour
// channel on 64-bit values; whole-pixel effects (the low bits of the packed
// add and subtract, the RGB565 pairs) are written as carries and borrows
// passed from channel to channel.
#include "reference_model.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <map>
#include <vector>

#include "core/base/math_utils.h"
#include "graphics/render_state.h"
#include "image/blend_tables.h"

namespace reference {
namespace {

using i64 = std::int64_t;

enum class Kernel { kBlit, kRunLength, kStretch, kTriangle };
enum class Use { kSkip, kOpaque, kWithAlpha };

i64 FloorDiv(i64 value, i64 divisor) {
  i64 quotient = value / divisor;
  if (value % divisor != 0 && value < 0) --quotient;
  return quotient;
}

// A channel of a pixel: where it sits and how wide it is.
struct Channel {
  int shift;
  int bits;
  i64 Max() const { return (i64{1} << bits) - 1; }
  i64 Of(std::uint32_t pixel) const { return (pixel >> shift) & Max(); }
};
constexpr Channel kChannels32[3] = {{0, 8}, {8, 8}, {16, 8}};
constexpr Channel kChannels565[3] = {{0, 5}, {5, 6}, {11, 5}};

struct Call {
  Kernel kernel;
  int mode;
  i64 p;
  bool rgb32;
  bool palette;
  bool alphaFlag;
  bool keyed;
  bool blend;
  bool tint;
  i64 bright[3];  // blue, green, red
  std::uint32_t key;
  const std::uint8_t* paletteBytes;
  // The image blit's plain loops: no blend image, no tint, no alpha flag.
  bool PlainLoop() const { return kernel == Kernel::kBlit && !blend && !tint && !alphaFlag; }
  const Channel* Channels() const { return rgb32 ? kChannels32 : kChannels565; }
};

std::uint32_t ReadBytes(const std::uint8_t* at, int count) {
  std::uint32_t value = 0;
  std::memcpy(&value, at, count);
  return value;
}
void WriteBytes(std::uint8_t* at, std::uint32_t value, int count) { std::memcpy(at, &value, count); }

struct SourcePixel {
  std::uint32_t colour;  // whole 32-bit pixel or palette entry, or the RGB565 word
  std::uint32_t raw;     // what the transparent colour is compared with
  i64 alpha;
};

SourcePixel ReadSource(const Call& call, const std::uint8_t* at) {
  SourcePixel pixel{};
  const int colourBytes = call.rgb32 ? 4 : 2;
  if (call.palette) {
    pixel.raw = at[0];
    pixel.colour = ReadBytes(call.paletteBytes + at[0] * colourBytes, colourBytes);
  } else {
    pixel.colour = ReadBytes(at, colourBytes);
    pixel.raw = pixel.colour;
    if (call.alphaFlag) pixel.alpha = call.rgb32 ? at[3] : at[2];
  }
  return pixel;
}

i64 Tint(const Call& call, int channel, i64 value) {
  return call.tint ? call.bright[channel] * value / 255 : value;
}

// d + floor((x - d) * weight / 2^shift).
i64 Toward(i64 d, i64 x, i64 weight, int shift) { return d + FloorDiv((x - d) * weight, i64{1} << shift); }

// The saturating add over three channels, low to high: a channel keeps the
// carry of the one below in its bit 0; green and red add their upper bits
// only and saturate; `lowBits` ORs in bit 0 of either operand.
struct Packed {
  i64 value[3];
  i64 carryOut;  // out of red: into the fourth byte, or the next pixel
};

Packed Add(const Call& call, const i64 d[3], const i64 t[3], bool lowBits, i64 carryIn, bool halfBlue) {
  Packed out{};
  i64 carry = carryIn;
  for (int c = 0; c < 3; ++c) {
    const i64 max = call.Channels()[c].Max();
    const bool wholeChannel = c == 0 && !halfBlue;
    if (wholeChannel) {
      const i64 sum = d[c] + t[c];
      out.value[c] = std::min(sum, max);
      carry = sum > max;
      continue;
    }
    const i64 upper = (d[c] >> 1) + (t[c] >> 1);
    const i64 low = carry | (lowBits ? ((d[c] | t[c]) & 1) : 0);
    const i64 limit = (max + 1) >> 1;
    if (upper >= limit) {
      // Saturated: every bit set, except RGB565 green, whose bit 0 keeps
      // its low bit.
      out.value[c] = (c == 1 && !call.rgb32) ? (max - 1) | low : max;
      carry = 1;
    } else {
      out.value[c] = upper * 2 | low;
      carry = 0;
    }
  }
  out.carryOut = carry;
  return out;
}

// The saturating subtract: blue subtracts whole (or, as a second pixel's
// blue, with bit 0 forced on and the low bit of the source ignored); green
// and red with bit 0 forced on and ignored in the source; each takes the
// borrow of the one below and goes to 0 when negative. RGB565 green loses
// its bit 0.
Packed Subtract(const Call& call, const i64 d[3], const i64 t[3], i64 borrowIn, bool halfBlue) {
  Packed out{};
  i64 borrow = borrowIn;
  for (int c = 0; c < 3; ++c) {
    const bool wholeChannel = c == 0 && !halfBlue;
    const i64 difference = wholeChannel ? d[c] - t[c] - borrow : (d[c] | 1) - (t[c] & ~i64{1}) - borrow;
    borrow = difference < 0;
    out.value[c] = difference < 0 ? 0 : difference;
    if (!call.rgb32 && c == 1) out.value[c] &= ~i64{1};
  }
  out.carryOut = borrow;
  return out;
}

std::uint32_t Pack(const Call& call, const i64 values[3]) {
  std::uint32_t out = 0;
  for (int c = 0; c < 3; ++c) out |= static_cast<std::uint32_t>(values[c]) << call.Channels()[c].shift;
  return out;
}

// The scaled source of modes 2 and 3, per channel.
void ScaledSource(const Call& call, const SourcePixel& s, Use use, i64 weightA, i64 a, i64 t[3]) {
  const bool withAlpha = use == Use::kWithAlpha;
  i64 factors = 1;
  int count = 0;
  if (call.blend) factors *= a, ++count;
  if (withAlpha) factors *= weightA, ++count;
  for (int c = 0; c < 3; ++c) {
    const i64 s0 = call.Channels()[c].Of(s.colour);
    if (call.rgb32) {
      const i64 x = Tint(call, c, s0);
      t[c] = count == 0 ? call.p * x / 255 : (x * factors * call.p) >> (8 * count + 8);
    } else if (call.tint && withAlpha && !call.blend) {
      t[c] = call.p * Tint(call, c, (s0 * weightA) >> 8) / 255;
    } else {
      t[c] = call.p * ((Tint(call, c, s0) * factors) >> (8 * count)) / 255;
    }
  }
}

// One pixel drawn by the rules of its mode; the fourth byte of a 32-bit
// destination changes only where a rule says so.
void DrawPixel(const Call& call, std::uint8_t* dp, const SourcePixel& s, Use use, i64 a) {
  if (use == Use::kSkip) return;
  const int bytes = call.rgb32 ? 4 : 2;
  const std::uint32_t dWord = ReadBytes(dp, bytes);
  const bool withAlpha = use == Use::kWithAlpha;
  const Channel* channels = call.Channels();
  i64 d[3], s0[3];
  for (int c = 0; c < 3; ++c) d[c] = channels[c].Of(dWord), s0[c] = channels[c].Of(s.colour);
  const std::uint32_t top = dWord & 0xFF000000u;
  i64 weights = 1;
  int count = 0;
  if (call.blend) weights *= a, ++count;
  if (withAlpha) weights *= s.alpha, ++count;

  i64 out[3];
  switch (call.mode) {
    case 0:
      if (count == 0 && !call.tint) {
        WriteBytes(dp, s.colour, bytes);
        return;
      }
      for (int c = 0; c < 3; ++c)
        out[c] = count == 0 ? Tint(call, c, s0[c]) : Toward(d[c], Tint(call, c, s0[c]), weights, 8 * count);
      break;
    case 1:
    case 10:
    case 11:
      for (int c = 0; c < 3; ++c) {
        const i64 max = channels[c].Max();
        i64 x = Tint(call, c, call.mode == 10 ? max - s0[c] : s0[c]);
        if (call.mode == 11) x = (x * d[c]) >> channels[c].bits;
        if (call.mode == 1 && call.PlainLoop() && call.p == 128) {
          out[c] = (s0[c] >> 1) + (d[c] >> 1);
        } else if (call.mode == 1 && call.PlainLoop() && !call.rgb32) {
          const i64 q = call.p / 4;
          out[c] = (s0[c] * q + d[c] * (63 - q)) / 63;
        } else if (call.kernel == Kernel::kTriangle && call.mode == 11 && !call.rgb32 && c == 1 && withAlpha &&
                   !call.blend && !call.tint) {
          // Green toward 32 x its product at half precision, over 2^21.
          out[c] = d[c] + FloorDiv((((s0[c] * d[c]) >> 1) - 32 * d[c]) * s.alpha * call.p, i64{1} << 21);
        } else if (count == 0 && !call.rgb32) {
          out[c] = d[c] + (x - d[c]) * call.p / 255;  // truncated toward zero
        } else {
          out[c] = Toward(d[c], x, weights * call.p, 8 * (count + 1));
        }
      }
      if (call.mode == 1 && call.PlainLoop() && call.p == 128) {
        WriteBytes(dp, Pack(call, out), bytes);  // the fourth byte becomes 0
        return;
      }
      break;
    case 4:
      for (int c = 0; c < 3; ++c)
        out[c] = (d[c] * Tint(call, c, s0[c]) * weights) >> (channels[c].bits + 8 * count);
      break;
    case 2:
    case 3: {
      const bool full = call.PlainLoop() && call.p == 255;
      i64 t[3];
      if (full) std::copy(s0, s0 + 3, t);
      else ScaledSource(call, s, use, s.alpha, a, t);
      const Packed result = call.mode == 2 ? Add(call, d, t, !full, 0, false) : Subtract(call, d, t, 0, false);
      std::uint32_t word = Pack(call, result.value);
      if (call.rgb32 && call.mode == 2) word |= static_cast<std::uint32_t>(result.carryOut) << 24;
      WriteBytes(dp, word, bytes);
      return;
    }
  }
  WriteBytes(dp, Pack(call, out) | (call.rgb32 ? top : 0), bytes);
}

// The image blit's RGB565 pair at full parameter: both pixels of the pair
// drawn, the first red's carry or borrow passed into the second blue.
void DrawPair(const Call& call, std::uint8_t* dp, const SourcePixel& first, const SourcePixel& second) {
  i64 d[2][3], s[2][3];
  for (int i = 0; i < 2; ++i)
    for (int c = 0; c < 3; ++c) {
      d[i][c] = kChannels565[c].Of(ReadBytes(dp + 2 * i, 2));
      s[i][c] = kChannels565[c].Of((i == 0 ? first : second).colour);
    }
  const Packed low = call.mode == 2 ? Add(call, d[0], s[0], false, 0, false) : Subtract(call, d[0], s[0], 0, false);
  const Packed high = call.mode == 2 ? Add(call, d[1], s[1], false, low.carryOut, true)
                                     : Subtract(call, d[1], s[1], low.carryOut, true);
  WriteBytes(dp, Pack(call, low.value), 2);
  WriteBytes(dp + 2, Pack(call, high.value), 2);
}

// What a kernel does with a pixel before its rule: the transparent colour,
// or the alpha byte.
Use Classify(const Call& call, const SourcePixel& s) {
  if (!call.alphaFlag) return call.keyed && s.raw == call.key ? Use::kSkip : Use::kOpaque;
  if (call.keyed) {
    if (s.alpha == 255) return Use::kOpaque;
    const bool drawsClearMultiply = (call.kernel == Kernel::kBlit || call.kernel == Kernel::kTriangle) && call.mode == 4;
    if (s.alpha == 0 && !drawsClearMultiply) return Use::kSkip;
    return Use::kWithAlpha;
  }
  if (call.kernel == Kernel::kBlit && call.mode == 0 && !call.blend && !call.tint) return Use::kOpaque;
  return Use::kWithAlpha;
}

i64 BlendWeight(const MEMIMG* blend, i64 column, i64 row) {
  if (blend == nullptr) return 0;
  return BlendImageAlphaTable[blend->pixels[row * blend->data->pitch + column]];
}

// The mode a call draws and its parameter rules; false when it draws
// nothing.
bool PickMode(Call& call) {
  const std::uint32_t mode = BlendMode;
  switch (mode) {
    case 0: case 4: case 10: case 11:
      call.mode = static_cast<int>(mode);
      return true;
    case 1:
      if (call.p == 0) return false;
      call.mode = call.p == 255 ? 0 : 1;
      return true;
    case 2:
      call.mode = 2;
      return call.p != 0;
    case 3:
      call.mode = 3;
      return call.p != 0 || call.palette;
    default:
      return false;
  }
}

// The head shared by both blits; false when the call draws nothing.
bool PrepareCall(Call& call, Kernel kernel, const MEMIMG* dst, const MEMIMG* src, int transparent,
                 const MEMIMG* blend) {
  const MemImgData* s = src->data;
  const MemImgData* d = dst->data;
  if (s->colorType != d->colorType || d->paletteFlag == 1 || d->alphaFlag == 1) return false;
  if (s->colorType != kMemImgRgb565 && s->colorType != kMemImgRgb32) return false;
  call = Call{};
  call.kernel = kernel;
  call.rgb32 = s->colorType == kMemImgRgb32;
  call.palette = s->paletteFlag == 1;
  call.alphaFlag = !call.palette && s->alphaFlag == 1;
  call.keyed = transparent != 0;
  call.blend = blend != nullptr;
  call.p = std::min<i64>(BlendParam, 255);
  call.key = s->transparentColor;
  call.paletteBytes = s->palette;
  for (int c = 0; c < 3; ++c) call.bright[c] = (DrawBright >> (8 * c)) & 0xFF;
  call.tint = (DrawBright & 0xFFFFFF) != 0xFFFFFF;
  return PickMode(call);
}

// The destination clip: the draw area inside the destination.
RECT ClipArea(const MEMIMG* dst) {
  return RECT{std::max<LONG>(DrawArea.left, 0), std::max<LONG>(DrawArea.top, 0),
              std::min<LONG>(DrawArea.right, dst->width), std::min<LONG>(DrawArea.bottom, dst->height)};
}

bool Inside(const RECT& area, i64 x, i64 y) {
  return x >= area.left && x < area.right && y >= area.top && y < area.bottom;
}

void BlitRunLength(const Call& call, MEMIMG* dst, const MEMIMG* src, int x, int y, const MEMIMG* blend) {
  const int sourceBytes = MemImgBytesPerPixel(src);
  const int destinationBytes = MemImgBytesPerPixel(dst);
  const std::uint8_t* code = src->data->runLengths;
  for (i64 row = 0; row < src->height; ++row) {
    i64 column = 0;
    for (; *code < 0xC0; ++code) {
      const int kind = *code >> 6;
      for (int i = 0; i <= (*code & 0x3F) && column < src->width; ++i, ++column) {
        if (kind == 0) continue;
        const SourcePixel s = ReadSource(call, src->pixels + row * src->data->pitch + column * sourceBytes);
        const Use use = call.alphaFlag && kind == 2 ? Use::kWithAlpha : Use::kOpaque;
        DrawPixel(call, dst->pixels + (y + row) * dst->data->pitch + (x + column) * destinationBytes, s, use,
                  BlendWeight(blend, column, row));
      }
    }
    ++code;
  }
}

// One row of a triangle: its number and both edges' 14.18 x.
struct TriangleRow {
  i64 row;
  i64 leftX;
  i64 rightX;
};

i64 TruncDiv(i64 value, i64 divisor) { return value / divisor; }  // C++ truncates toward zero

// The rows of a triangle from its three vertices in 14.18 (x, y) and their
// whole y: each edge's x in closed form, start + i x slope.
std::vector<TriangleRow> TriangleRows(const i64 x[3], const i64 y[3], const i64 wholeY[3]) {
  int order[3] = {0, 1, 2};
  for (int i = 0; i < 2; ++i)
    for (int j = i + 1; j < 3; ++j)
      if (y[order[i]] > y[order[j]]) std::swap(order[i], order[j]);
  const int t = order[0], m = order[1], b = order[2];
  const i64 first = TruncDiv(y[t], 262144);
  const i64 rows = wholeY[b] - wholeY[t];
  std::vector<TriangleRow> out;
  const auto slope = [](i64 from, i64 to, i64 count) { return TruncDiv(to - from, count); };
  if (wholeY[t] == wholeY[m] || wholeY[m] == wholeY[b]) {
    i64 leftStart, leftEnd, rightStart, rightEnd;
    if (wholeY[t] == wholeY[m]) {
      leftStart = x[t] > x[m] ? x[m] : x[t];
      rightStart = x[t] > x[m] ? x[t] : x[m];
      leftEnd = rightEnd = x[b];
    } else {
      leftStart = rightStart = x[t];
      leftEnd = x[m] > x[b] ? x[b] : x[m];
      rightEnd = x[m] > x[b] ? x[m] : x[b];
    }
    for (i64 i = 0; i < rows; ++i)
      out.push_back({first + i, leftStart + i * slope(leftStart, leftEnd, rows),
                     rightStart + i * slope(rightStart, rightEnd, rows)});
    return out;
  }
  const i64 upper = wholeY[m] - wholeY[t], lower = wholeY[b] - wholeY[m];
  const i64 longSlope = slope(x[t], x[b], rows);
  const bool middleLeft = static_cast<double>(x[m] - x[t]) / upper < static_cast<double>(x[b] - x[t]) / rows;
  for (i64 i = 0; i < upper; ++i) {
    const i64 shortX = x[t] + i * slope(x[t], x[m], upper), longX = x[t] + i * longSlope;
    out.push_back({first + i, middleLeft ? shortX : longX, middleLeft ? longX : shortX});
  }
  for (i64 j = 0; j < lower; ++j) {
    const i64 longX = x[t] + (upper + j) * longSlope;
    if (middleLeft)
      out.push_back({TruncDiv(y[m], 262144) + j, x[m] + j * slope(x[m], x[b], lower), longX});
    else
      out.push_back({first + upper + j, longX, x[m] + 1 + j * slope(x[m] + 1, x[b], lower)});
  }
  return out;
}

bool InFixedRange(i64 value) { return value >= -8192 && value <= 8191; }

}  // namespace

void DrawTriangle(MEMIMG* dst, const MEMIMG* src, const TriVertex* v, int transparent, const MEMIMG* blend,
                  std::uint32_t colour) {
  Call call{};
  if (src != nullptr) {
    if (!PrepareCall(call, Kernel::kTriangle, dst, src, transparent, blend)) return;
  } else {
    const MemImgData* d = dst->data;
    if (d->paletteFlag == 1 || d->alphaFlag == 1) return;
    if (d->colorType != kMemImgRgb565 && d->colorType != kMemImgRgb32) return;
    call.kernel = Kernel::kTriangle;
    call.rgb32 = d->colorType == kMemImgRgb32;
    call.p = std::min<i64>(BlendParam, 255);
    if (!PickMode(call)) return;
  }
  for (int i = 0; i < 3; ++i) {
    const TriVertex& a = v[i];
    const TriVertex& b = v[(i + 1) % 3];
    if (!InFixedRange(a.x) || !InFixedRange(a.y) || !InFixedRange(i64{a.x} - b.x) || !InFixedRange(i64{a.y} - b.y))
      return;
    if (src != nullptr && (!InFixedRange(a.u) || !InFixedRange(a.v) || !InFixedRange(i64{a.u} - b.u) ||
                           !InFixedRange(i64{a.v} - b.v)))
      return;
  }
  // The plane through the vertices, from the first vertex in x.
  i64 x[3], y[3], wholeY[3];
  for (int i = 0; i < 3; ++i) x[i] = i64{v[i].x} * 262144 + 131072, y[i] = i64{v[i].y} * 262144 + 131072, wholeY[i] = v[i].y;
  int byX[3] = {0, 1, 2};
  for (int i = 0; i < 2; ++i)
    for (int j = i + 1; j < 3; ++j)
      if (x[byX[i]] > x[byX[j]]) std::swap(byX[i], byX[j]);
  const TriVertex &p0 = v[byX[0]], &p1 = v[byX[1]], &p2 = v[byX[2]];
  const i64 dx1 = i64{p1.x} - p0.x, dx2 = i64{p2.x} - p0.x, dy1 = i64{p1.y} - p0.y, dy2 = i64{p2.y} - p0.y;
  const i64 determinant = dy1 * dx2 - dy2 * dx1;
  if (determinant == 0) return;
  i64 gradient[4] = {};  // du/dx, du/dy, dv/dx, dv/dy
  if (src != nullptr) {
    const i64 du1 = i64{p1.u} - p0.u, du2 = i64{p2.u} - p0.u, dv1 = i64{p1.v} - p0.v, dv2 = i64{p2.v} - p0.v;
    const i64 cross[4] = {dy1 * du2 - dy2 * du1, du1 * dx2 - dx1 * du2, dy1 * dv2 - dv1 * dy2, dv1 * dx2 - dx1 * dv2};
    for (int i = 0; i < 4; ++i)
      gradient[i] = DoubleToInt(static_cast<double>(cross[i]) * 262144.0 / static_cast<double>(determinant));
  }
  const i64 x0 = TruncDiv(x[byX[0]], 262144), y0 = TruncDiv(y[byX[0]], 262144);
  const i64 u0 = i64{p0.u} * 262144, v0 = i64{p0.v} * 262144;

  std::uint32_t flat = 0;
  if (src == nullptr) {
    const Channel* channels = call.Channels();
    const std::uint32_t value = call.rgb32 ? colour : colour & 0xFFFF;
    for (int c = 0; c < 3; ++c)
      flat |= static_cast<std::uint32_t>(((DrawBright >> (8 * c)) & 0xFF) * channels[c].Of(value) / 255)
              << channels[c].shift;
    if (call.rgb32) flat |= value & 0xFF000000u;
  }
  const RECT area = ClipArea(dst);
  const int destinationBytes = MemImgBytesPerPixel(dst);
  const int sourceBytes = src != nullptr ? MemImgBytesPerPixel(src) : 0;
  const std::uint32_t limitU = src != nullptr ? static_cast<std::uint32_t>(src->width) << 18 : 0;
  const std::uint32_t limitV = src != nullptr ? static_cast<std::uint32_t>(src->height) << 18 : 0;
  for (const TriangleRow& r : TriangleRows(x, y, wholeY)) {
    const i64 leftPixel = TruncDiv(r.leftX, 262144), rightPixel = TruncDiv(r.rightX, 262144);
    for (i64 column = leftPixel; column <= rightPixel; ++column) {
      if (!Inside(area, column, r.row)) continue;
      std::uint8_t* dp = dst->pixels + r.row * dst->data->pitch + column * destinationBytes;
      if (src == nullptr) {
        DrawPixel(call, dp, SourcePixel{flat, flat, 0}, Use::kOpaque, 0);
        continue;
      }
      const auto u = static_cast<std::uint32_t>(u0 + (column - x0) * gradient[0] + (r.row - y0) * gradient[1]);
      const auto w = static_cast<std::uint32_t>(v0 + (column - x0) * gradient[2] + (r.row - y0) * gradient[3]);
      if (u >= limitU || w >= limitV) continue;
      const i64 tu = u >> 18, tv = w >> 18;
      const SourcePixel s = ReadSource(call, src->pixels + tv * src->data->pitch + tu * sourceBytes);
      DrawPixel(call, dp, s, Classify(call, s), BlendWeight(blend, tu, tv));
    }
  }
}

void DrawQuad(MEMIMG* dst, const MEMIMG* src, const std::int32_t* points, int transparent, const MEMIMG* blend) {
  i64 left = points[0], right = points[0], top = points[1], bottom = points[1];
  for (int i = 1; i < 4; ++i) {
    left = std::min<i64>(left, points[2 * i]), right = std::max<i64>(right, points[2 * i]);
    top = std::min<i64>(top, points[2 * i + 1]), bottom = std::max<i64>(bottom, points[2 * i + 1]);
  }
  const RECT area = ClipArea(dst);
  if (right + 4 <= area.left || left - 2 >= area.right || bottom + 4 <= area.top || top - 2 >= area.bottom) return;
  const TriVertex corners[4] = {{points[0], points[1], 0, 0},
                                {points[2], points[3], src->width, 0},
                                {points[4], points[5], 0, src->height},
                                {points[6], points[7], src->width, src->height}};
  DrawTriangle(dst, src, corners, transparent, blend, 0);
  DrawTriangle(dst, src, corners + 1, transparent, blend, 0);
}

void Blit(MEMIMG* dst, const MEMIMG* src, int x, int y, int transparent, const MEMIMG* blend) {
  Call call;
  if (!PrepareCall(call, Kernel::kBlit, dst, src, transparent, blend)) return;
  const RECT area = ClipArea(dst);
  const bool whole = x >= area.left && y >= area.top && i64{x} + src->width <= area.right &&
                     i64{y} + src->height <= area.bottom;
  const MemImgData* data = src->data;
  if (whole && transparent == 1 && data->runLengthValid == 1 && data->runLengths != nullptr &&
      src->pixels == data->pixelBuffer && src->width == data->width && src->height == data->height) {
    call.kernel = Kernel::kRunLength;
    BlitRunLength(call, dst, src, x, y, blend);
    return;
  }
  const int sourceBytes = MemImgBytesPerPixel(src);
  const int destinationBytes = MemImgBytesPerPixel(dst);
  const bool pairs = !call.rgb32 && call.PlainLoop() && call.p == 255 && (call.mode == 2 || call.mode == 3);
  for (i64 row = 0; row < src->height; ++row) {
    // The pairs start at the first visible pixel of the row.
    i64 firstVisible = -1;
    for (i64 column = 0; column < src->width; ++column) {
      const i64 dx = x + column, dy = y + row;
      if (!Inside(area, dx, dy)) continue;
      if (firstVisible < 0) firstVisible = column;
      const std::uint8_t* sp = src->pixels + row * data->pitch + column * sourceBytes;
      std::uint8_t* dp = dst->pixels + dy * dst->data->pitch + dx * destinationBytes;
      const SourcePixel s = ReadSource(call, sp);
      if (pairs && (column - firstVisible) % 2 == 0 && Inside(area, dx + 1, dy) && column + 1 < src->width) {
        const SourcePixel next = ReadSource(call, sp + sourceBytes);
        const bool drawFirst = Classify(call, s) != Use::kSkip, drawNext = Classify(call, next) != Use::kSkip;
        if (drawFirst && drawNext) {
          DrawPair(call, dp, s, next);
          ++column;
          continue;
        }
      }
      DrawPixel(call, dp, s, Classify(call, s), BlendWeight(blend, column, row));
    }
  }
}

void StretchBlit(MEMIMG* dst, const MEMIMG* src, const RECT* corners, int transparent, const MEMIMG* blend) {
  const MemImgData* d = dst->data;
  if (src->data->colorType != d->colorType || d->paletteFlag == 1 || d->alphaFlag == 1) return;
  const i64 left = std::min(corners->left, corners->right), right = std::max(corners->left, corners->right);
  const i64 top = std::min(corners->top, corners->bottom), bottom = std::max(corners->top, corners->bottom);
  const bool mirrorX = corners->left > corners->right, mirrorY = corners->top > corners->bottom;
  if (right == left || bottom == top) return;
  if (right - left == src->width && bottom - top == src->height && !mirrorX && !mirrorY) {
    Blit(dst, src, static_cast<int>(left), static_cast<int>(top), transparent, blend);
    return;
  }
  Call call;
  if (!PrepareCall(call, Kernel::kStretch, dst, src, transparent, blend)) return;
  const i64 ratioX = ((right - left) << 16) / src->width;
  const i64 ratioY = ((bottom - top) << 16) / src->height;
  const RECT area = ClipArea(dst);
  const int sourceBytes = MemImgBytesPerPixel(src);
  const int destinationBytes = MemImgBytesPerPixel(dst);
  for (i64 dy = std::max<i64>(top, area.top); dy < std::min<i64>(bottom, area.bottom); ++dy) {
    const i64 sampledRow = ((dy - top) << 16) / ratioY;
    const i64 row = mirrorY ? src->height - 1 - sampledRow : sampledRow;
    for (i64 dx = std::max<i64>(left, area.left); dx < std::min<i64>(right, area.right); ++dx) {
      const i64 sampledColumn = ((dx - left) << 16) / ratioX;
      const i64 column = mirrorX ? src->width - 1 - sampledColumn : sampledColumn;
      const SourcePixel s = ReadSource(call, src->pixels + row * src->data->pitch + column * sourceBytes);
      DrawPixel(call, dst->pixels + dy * d->pitch + dx * destinationBytes, s, Classify(call, s),
                BlendWeight(blend, column, row));
    }
  }
}


namespace {

// FloatToInt of a value worked in extended precision and rounded to f32;
// false where the value does not convert.
bool ToFixed(long double value, i64* out) {
  const int converted = FloatToInt(static_cast<float>(value));
  *out = converted;
  return converted != INT_MIN;
}

}  // namespace

// The rotation by inverse mapping: the corners of the turned image, the box
// around them with its margins, and for each box pixel in the draw area the
// source position U0 + j x DUY + i x DU (and likewise for v) in closed form.
void RotateBlit(MEMIMG* dst, const MEMIMG* src, int x, int y, float angle, float scale, int transparent, int turn,
                const MEMIMG* blend) {
  Call call;
  // The rotated blit draws its pixels by the triangle kernel's rules.
  if (!PrepareCall(call, Kernel::kTriangle, dst, src, transparent, blend)) return;
  if (scale == 0) return;
  const i64 w = src->width, h = src->height;
  float sine, cosine;
  i64 as, ac, bs, bc;
  SinCosF(-angle, &sine, &cosine);
  if (!ToFixed(sine * 262144.0L, &as) || !ToFixed(cosine * 262144.0L, &ac)) return;
  SinCosF(angle, &sine, &cosine);
  if (!ToFixed(sine * 262144.0L, &bs) || !ToFixed(cosine * 262144.0L, &bc)) return;
  const float hw = static_cast<float>(w * static_cast<long double>(scale) * 0.5L);
  const float hh = static_cast<float>(h * static_cast<long double>(scale) * 0.5L);
  const float p = static_cast<float>(hw * static_cast<long double>(bc));
  const float q = static_cast<float>(hw * static_cast<long double>(bs));
  const float r = static_cast<float>(hh * static_cast<long double>(bc));
  const float ss = static_cast<float>(hh * static_cast<long double>(bs));
  const long double cornerX[4] = {-p + static_cast<long double>(ss), -p - static_cast<long double>(ss),
                                  p - static_cast<long double>(ss), p + static_cast<long double>(ss)};
  const long double cornerY[4] = {-r - static_cast<long double>(q), r - static_cast<long double>(q),
                                  r + static_cast<long double>(q), q - static_cast<long double>(r)};
  i64 minX = INT64_MAX, maxX = INT64_MIN, minY = INT64_MAX, maxY = INT64_MIN;
  i64 cornerPixels[4][2];
  for (int corner = 0; corner < 4; ++corner) {
    i64 cx, cy;
    if (!ToFixed(cornerX[corner], &cx) || !ToFixed(cornerY[corner], &cy)) return;
    cx += i64{x} * 262144;
    cy += i64{y} * 262144;
    minX = std::min(minX, cx), maxX = std::max(maxX, cx);
    minY = std::min(minY, cy), maxY = std::max(maxY, cy);
    cornerPixels[corner][0] = cx / 262144;
    cornerPixels[corner][1] = cy / 262144;
  }
  if (turn != 0) {
    // Top-right, top-left, bottom-right, bottom-left onto the quad's
    // top-left, top-right, bottom-left, bottom-right: mirrored.
    std::int32_t points[8];
    const int order[4] = {3, 0, 2, 1};
    for (int i = 0; i < 8; ++i) {
      const i64 value = cornerPixels[order[i / 2]][i % 2];
      if (value < INT32_MIN || value > INT32_MAX) return;
      points[i] = static_cast<std::int32_t>(value);
    }
    DrawQuad(dst, src, points, transparent, blend);
    return;
  }
  const RECT area = ClipArea(dst);
  const i64 left = std::clamp<i64>(minX / 262144 - 2, area.left, std::max(area.left, area.right));
  const i64 right = std::clamp<i64>(maxX / 262144 + 4, area.left, std::max(area.left, area.right));
  const i64 top = std::clamp<i64>(minY / 262144 - 2, area.top, std::max(area.top, area.bottom));
  const i64 bottom = std::clamp<i64>(maxY / 262144 + 4, area.top, std::max(area.top, area.bottom));
  if (left == right || top == bottom) return;

  i64 du, dv;
  if (!ToFixed(bc / static_cast<long double>(scale), &du) || !ToFixed(as / static_cast<long double>(scale), &dv))
    return;
  const auto position = [&](i64 px, i64 py, i64* u, i64* v) {
    const i64 along = (px - x) * ac - (py - y) * as, down = (py - y) * ac + (px - x) * as;
    if (!ToFixed(along / static_cast<long double>(scale), u) || !ToFixed(down / static_cast<long double>(scale), v))
      return false;
    *u += (w / 2) * 262144;
    *v += (h / 2) * 262144;
    return true;
  };
  i64 u0, v0, u1, v1;
  if (!position(left, top, &u0, &v0) || !position(left, bottom, &u1, &v1)) return;
  const i64 rows = bottom - top;
  const i64 duy = (u1 - u0) / rows, dvy = (v1 - v0) / rows;
  const int sourceBytes = MemImgBytesPerPixel(src);
  const int destinationBytes = MemImgBytesPerPixel(dst);
  for (i64 j = 0; j < rows; ++j)
    for (i64 i = 0; i < right - left; ++i) {
      const i64 u = u0 + j * duy + i * du, v = v0 + j * dvy + i * dv;
      if (u < 0 || v < 0 || u >= w * 262144 || v >= h * 262144) continue;
      const i64 column = u / 262144, row = v / 262144;
      const SourcePixel s = ReadSource(call, src->pixels + row * src->data->pitch + column * sourceBytes);
      DrawPixel(call, dst->pixels + (top + j) * dst->data->pitch + (left + i) * destinationBytes, s,
                Classify(call, s), BlendWeight(blend, column, row));
    }
}

}  // namespace reference

namespace reference {
namespace {

// The head of the colour kernels: the mode and the colour, tinted channel
// by channel as (value x bright) / 256 when DrawBright is not white.
bool PrepareColourCall(Call& call, const MEMIMG* dst, std::uint32_t colour, std::uint32_t* tinted) {
  const MemImgData* d = dst->data;
  if (d->paletteFlag == 1 || d->alphaFlag == 1) return false;
  if (d->colorType != kMemImgRgb565 && d->colorType != kMemImgRgb32) return false;
  call = Call{};
  call.kernel = Kernel::kTriangle;  // no plain-loop shortcuts
  call.rgb32 = d->colorType == kMemImgRgb32;
  call.p = std::min<i64>(BlendParam, 255);
  if (!PickMode(call)) return false;
  const std::uint32_t value = call.rgb32 ? colour : colour & 0xFFFF;
  *tinted = value;
  if ((DrawBright & 0xFFFFFF) == 0xFFFFFF) return true;
  *tinted = call.rgb32 ? value & 0xFF000000u : 0;
  for (int c = 0; c < 3; ++c) {
    const Channel& channel = call.Channels()[c];
    *tinted |= static_cast<std::uint32_t>(channel.Of(value) * ((DrawBright >> (8 * c)) & 0xFF) / 256) << channel.shift;
  }
  return true;
}

void DrawColourAt(const Call& call, MEMIMG* dst, const RECT& area, i64 x, i64 y, std::uint32_t colour) {
  if (!Inside(area, x, y)) return;
  DrawPixel(call, dst->pixels + y * dst->data->pitch + x * (call.rgb32 ? 4 : 2), SourcePixel{colour, colour, 0},
            Use::kOpaque, 0);
}

}  // namespace

void FillRect(MEMIMG* dst, const RECT* rect, std::uint32_t colour) {
  Call call;
  std::uint32_t tinted = 0;
  if (!PrepareColourCall(call, dst, colour, &tinted)) return;
  RECT r = rect != nullptr ? *rect : RECT{0, 0, static_cast<LONG>(dst->width), static_cast<LONG>(dst->height)};
  const RECT area = ClipArea(dst);
  for (i64 y = std::min(r.top, r.bottom); y < std::max(r.top, r.bottom); ++y)
    for (i64 x = std::min(r.left, r.right); x < std::max(r.left, r.right); ++x) DrawColourAt(call, dst, area, x, y, tinted);
}

// The midpoint walk in its combined form: on each step the eight points
// (+-px, +-py) and (+-py, +-px), of which the first step (px = 0) emits
// only the four axis points once; then px grows and, where the decision
// value was not negative, py drops.
std::vector<CirclePoint> CircleOutline(int radius) {
  std::map<std::pair<int, int>, int> counts;  // (dy, dx)
  i64 px = 0, py = radius, dv = 3 - 2 * i64{radius};
  while (py >= px) {
    if (px == 0) {
      for (auto [dx, dy] : {std::pair<i64, i64>{-py, 0}, {py, 0}, {0, py}, {0, -py}}) ++counts[{dy, dx}];
    } else {
      for (int sx : {-1, 1})
        for (int sy : {-1, 1}) {
          ++counts[{static_cast<int>(sy * px), static_cast<int>(sx * py)}];
          ++counts[{static_cast<int>(sy * py), static_cast<int>(sx * px)}];
        }
    }
    if (dv < 0) {
      dv += 4 * px + 6;
    } else {
      dv += 4 * (px - py) + 10;
      --py;
    }
    ++px;
  }
  std::vector<CirclePoint> points;
  for (const auto& [at, count] : counts) points.push_back(CirclePoint{at.second, at.first, count});
  return points;
}

// An outline applies the colour as often as the walk emits a point; a
// filled circle spans, on every row, from the leftmost to the rightmost
// point of the outline and draws each pixel once.
void DrawCircle(MEMIMG* dst, int x, int y, int radius, std::uint32_t colour, std::uint32_t fill) {
  Call call;
  std::uint32_t tinted = 0;
  if (radius < 0 || !PrepareColourCall(call, dst, colour, &tinted)) return;
  const RECT area = ClipArea(dst);
  std::map<int, std::pair<int, int>> rows;
  for (const CirclePoint& point : CircleOutline(radius)) {
    if (fill == 0) {
      for (int i = 0; i < point.count; ++i) DrawColourAt(call, dst, area, i64{x} + point.dx, i64{y} + point.dy, tinted);
      continue;
    }
    auto [it, fresh] = rows.try_emplace(point.dy, point.dx, point.dx);
    it->second.first = std::min(it->second.first, point.dx);
    it->second.second = std::max(it->second.second, point.dx);
  }
  for (const auto& [dy, span] : rows)
    for (i64 dx = span.first; dx <= span.second; ++dx) DrawColourAt(call, dst, area, x + dx, i64{y} + dy, tinted);
}

}  // namespace reference
