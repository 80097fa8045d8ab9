// The PNG reader, decoding through libpng from a StreamSource.
#include <png.h>

#include <cstring>

#include "core/base/tracked_allocator.h"
#include "image/base_image.h"
#include "image/image_reader.h"

namespace {

struct PngInput {
  StreamSource* source;
  std::int64_t length;
};

// What a read holds; the blocks are volatile so the landing of an error
// jump sees them and frees them.
struct PngReadState {
  png_structp png;
  png_infop info;
  PngInput input;
  png_bytep* volatile rows;
  std::uint8_t* volatile pixels;
};

void PngReadCallback(png_structp png, png_bytep data, std::size_t length) {
  auto* input = static_cast<PngInput*>(png_get_io_ptr(png));
  std::int64_t position = input->source->functions.tell(input->source->handle);
  if (input->length - position < static_cast<std::int64_t>(length) || !ReadStreamBytes(input->source, data, length)) {
    png_error(png, "Read Error");
  }
}

int SetPngStreamSource(png_structp png, PngInput* input, StreamSource* source) {
  input->source = source;
  std::int64_t position = source->functions.tell(source->handle);
  input->length = MeasureStream(source, position);
  png_set_read_fn(png, input, PngReadCallback);
  return 0;
}

void FreeReadState(PngReadState* state) {
  png_destroy_read_struct(&state->png, &state->info, nullptr);
  if (state->rows) TrackedFree(state->rows);
  if (state->pixels) TrackedFree(state->pixels);
}

void SetPngFormat(PngReadState* state, int colorType, bool expanded, std::size_t rowBytes, BaseImage* image) {
  ColorFormat& format = image->format;
  if (colorType == PNG_COLOR_TYPE_PALETTE && !expanded) {
    MakeColorFormatPal8(&format);
    std::memset(format.palette, 0, sizeof(format.palette));
    png_colorp palette = nullptr;
    int count = 0;
    png_get_PLTE(state->png, state->info, &palette, &count);
    for (int i = 0; i < count && i < 256; ++i)
      format.palette[i] = {palette[i].blue, palette[i].green, palette[i].red, 0};
    return;
  }
  if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) {
    if (rowBytes / 2 >= static_cast<std::size_t>(image->width)) {
      // Grey and alpha bytes: the grey byte in all three channels, the
      // alpha byte marked unused.
      std::memset(&format, 0, sizeof(format));
      format.bits = 16;
      format.bytesPerPixel = 2;
      format.redMask = format.greenMask = format.blueMask = 0xFF;
      format.redWidth = format.greenWidth = format.blueWidth = 8;
      format.unusedMask = 0xFF00;
    } else {
      MakeColorFormatGrey8(&format);
    }
    return;
  }
  MakeColorFormatRgb24(&format);
  if (png_get_channels(state->png, state->info) == 4) {
    format.bits = 32;
    format.bytesPerPixel = 4;
    format.alphaMask = 0xFF000000;
    format.alphaShift = 24;
    format.alphaWidth = 8;
  }
}

// Everything after the jump point; a library error jumps back out of it.
void DecodePng(PngReadState* state, StreamSource* source, BaseImage* image) {
  png_structp png = state->png;
  png_infop info = state->info;
  SetPngStreamSource(png, &state->input, source);
  png_set_sig_bytes(png, 0);
  png_set_user_limits(png, static_cast<png_uint_32>(kMaxImageSide), static_cast<png_uint_32>(kMaxImageSide));
  png_read_info(png, info);
  png_uint_32 width = 0, height = 0;
  int bitDepth = 0, colorType = 0, interlace = 0;
  png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, &interlace, nullptr, nullptr);
  if (ImageByteCount(width, height, 4) < 0) png_error(png, "Image too large");

  png_set_strip_16(png);
  png_set_packing(png);
  png_set_packswap(png);
  bool expanded = (colorType == PNG_COLOR_TYPE_GRAY && bitDepth <= 8) || png_get_valid(png, info, PNG_INFO_tRNS);
  if (expanded) png_set_expand(png);
  png_set_bgr(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  std::size_t rowBytes = png_get_rowbytes(png, info);

  state->rows = static_cast<png_bytep*>(ALLOCATE_IMAGE_BLOCK(static_cast<std::int64_t>(height) * sizeof(png_bytep)));
  state->pixels = static_cast<std::uint8_t*>(ALLOCATE_IMAGE_BLOCK(static_cast<std::int64_t>(rowBytes) * height));
  if (!state->rows || !state->pixels) png_error(png, "Out of memory");
  for (png_uint_32 y = 0; y < height; ++y) state->rows[y] = state->pixels + static_cast<std::size_t>(y) * rowBytes;
  png_read_image(png, state->rows);
  png_read_end(png, nullptr);

  image->width = static_cast<std::int32_t>(width);
  image->height = static_cast<std::int32_t>(height);
  image->pitch = static_cast<std::uint32_t>(rowBytes);
  SetPngFormat(state, colorType, expanded, rowBytes, image);
}

}  // namespace

int ReadPngImage(StreamSource* source, BaseImage* image) {
  PngReadState state{};
  state.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!state.png) return -1;
  state.info = png_create_info_struct(state.png);
  if (!state.info) {
    FreeReadState(&state);
    return -1;
  }
  if (setjmp(png_jmpbuf(state.png))) {
    FreeReadState(&state);
    return -1;
  }
  DecodePng(&state, source, image);
  image->pixels = state.pixels;
  state.pixels = nullptr;
  FreeReadState(&state);
  return 0;
}
