// A drawing combination (blend mode and selectors) as a compile-time value,
// its index in the kernels' loop tables, and the builder of those tables:
// each kernel instantiates its loop once per combination and picks it by
// index, so no loop tests a mode or a selector per pixel.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>

// Parameter values with loops of their own in the plain image blit.
enum class ParamCase : std::uint8_t {
  kAny,
  kHalf,  // mode 1 at 128: both pixels halved and added
  kFull,  // modes 2 and 3 at 255: the source unscaled, the add without its low-bit term
};

struct Combo {
  int mode;      // 0, 1, 2, 3, 4, 10 or 11
  bool blend;    // weighted by a blend image
  bool tint;     // DrawBright is not white
  bool alpha;    // the source carries alpha (direct sources only)
  bool keyed;    // the transparent argument is set
  ParamCase param;
  constexpr bool Plain() const { return !blend && !tint && !alpha; }
};

inline constexpr int kDrawnModes[] = {0, 1, 2, 3, 4, 10, 11};
inline constexpr std::size_t kComboCount = 7 * 2 * 2 * 2 * 2 * 3;

// The slot of a drawn mode in kDrawnModes, or -1 for a mode never drawn.
constexpr int DrawnModeSlot(std::uint32_t mode) {
  for (int slot = 0; slot < 7; ++slot)
    if (static_cast<std::uint32_t>(kDrawnModes[slot]) == mode) return slot;
  return -1;
}

constexpr std::size_t ComboIndex(int slot, bool blend, bool tint, bool alpha, bool keyed, ParamCase param) {
  return ((((static_cast<std::size_t>(slot) * 2 + blend) * 2 + tint) * 2 + alpha) * 2 + keyed) * 3 +
         static_cast<std::size_t>(param);
}

constexpr Combo DecodeCombo(std::size_t index) {
  Combo combo{};
  combo.param = static_cast<ParamCase>(index % 3);
  index /= 3;
  combo.keyed = index & 1;
  combo.alpha = (index >> 1) & 1;
  combo.tint = (index >> 2) & 1;
  combo.blend = (index >> 3) & 1;
  combo.mode = kDrawnModes[index >> 4];
  return combo;
}

// The colour kernels (flat triangle, fill, circles) draw one colour with no
// selectors: only the mode picks their loop.
struct OneColourFold {
  static constexpr Combo Fold(Combo combo) { return Combo{combo.mode, false, false, false, false, ParamCase::kAny}; }
};

// Points where the kernels differ in their arithmetic. The image blit has
// every shortcut below; the stretched blit and the run-length path have
// none; the triangles have the two rules of their own listed last.
struct BlitPolicy {
  static constexpr bool kHalvesAt128 = true;       // ParamCase::kHalf exists
  static constexpr bool kFullAt255 = true;         // ParamCase::kFull exists
  static constexpr bool kMix6Plain565 = true;      // plain RGB565 mode 1 mixes through the 6-bit table
  static constexpr bool kCopiesUnkeyedAlpha = true;  // mode 0 copies alpha pixels whole when not keyed
  static constexpr bool kKeyedClearMultiplies = true;  // mode 4 draws keyed alpha 0 (black) instead of skipping
  static constexpr bool kPairs565 = true;          // RGB565 kFull adds and subtracts two pixels per word
};
struct PlainPolicy {
  static constexpr bool kHalvesAt128 = false;
  static constexpr bool kFullAt255 = false;
  static constexpr bool kMix6Plain565 = false;
  static constexpr bool kCopiesUnkeyedAlpha = false;
  static constexpr bool kKeyedClearMultiplies = false;
  static constexpr bool kPairs565 = false;
};
struct TrianglePolicy : PlainPolicy {
  static constexpr bool kKeyedClearMultiplies = true;
  static constexpr bool kFineGreenMultiplyBlend565 = true;  // see FineGreenMultiplyBlend565
};

// RGB565 mode 11 weighted by alpha alone, untinted: green keeps its product
// at five more bits. Policies that do not name the rule keep the integer
// product.
template <class Policy>
constexpr bool FineGreenMultiplyBlend565() {
  if constexpr (requires { Policy::kFineGreenMultiplyBlend565; }) return Policy::kFineGreenMultiplyBlend565;
  else return false;
}

// Folds a combination onto the one loop that draws it: palettised sources
// have no alpha loops, and the parameter cases exist only where the policy
// has them.
template <class Policy>
constexpr Combo CanonicalCombo(Combo combo, bool palette) {
  if (palette) combo.alpha = false;
  const bool half = combo.param == ParamCase::kHalf && Policy::kHalvesAt128 && combo.mode == 1;
  const bool full = combo.param == ParamCase::kFull && Policy::kFullAt255 && (combo.mode == 2 || combo.mode == 3);
  if (!combo.Plain() || !(half || full)) combo.param = ParamCase::kAny;
  return combo;
}

// The parameter case a call runs with.
constexpr ParamCase ParamCaseFor(std::uint32_t mode, std::uint32_t param) {
  if (mode == 1 && param == 128) return ParamCase::kHalf;
  if ((mode == 2 || mode == 3) && param == 255) return ParamCase::kFull;
  return ParamCase::kAny;
}

// One loop per combination: Kernel::Loop<Combo> for every index, folded by
// Kernel::Fold.
template <class Kernel, std::size_t... Index>
constexpr auto MakeLoopTable(std::index_sequence<Index...>) {
  return std::array<typename Kernel::LoopFn, sizeof...(Index)>{
      &Kernel::template Loop<Kernel::Fold(DecodeCombo(Index))>...};
}
template <class Kernel>
constexpr auto MakeLoopTable() {
  return MakeLoopTable<Kernel>(std::make_index_sequence<kComboCount>{});
}
