// The JPEG reader, decoding through libjpeg from a StreamSource.
#include <csetjmp>
#include <cstdio>
#include <algorithm>

#include <jpeglib.h>
#include <jerror.h>

#include "core/base/tracked_allocator.h"
#include "image/base_image.h"
#include "image/image_reader.h"

namespace {

constexpr std::size_t kInputBufferBytes = 4096;

struct JpegErrorRecord {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  // The pixel block, volatile so the landing of an error jump sees it.
  std::uint8_t* volatile pixels;
};

struct JpegSourceRecord {
  jpeg_source_mgr manager;
  JOCTET* buffer;
  bool startOfFile;
  bool endReached;  // the stream is spent; refills give end-of-image marks
  StreamSource* source;
  std::int64_t length;
};

[[noreturn]] void JpegErrorExit(j_common_ptr decompressor) {
  std::longjmp(reinterpret_cast<JpegErrorRecord*>(decompressor->err)->jump, 1);
}

void JpegSilentMessage(j_common_ptr) {}

void JpegInitSource(j_decompress_ptr decompressor) {
  reinterpret_cast<JpegSourceRecord*>(decompressor->src)->startOfFile = true;
}

boolean JpegFillInputBuffer(j_decompress_ptr decompressor) {
  auto* record = reinterpret_cast<JpegSourceRecord*>(decompressor->src);
  StreamSource* source = record->source;
  std::int64_t position = source->functions.tell(source->handle);
  std::int64_t wanted = std::min<std::int64_t>(record->length - position, kInputBufferBytes);
  std::int64_t count = 0;
  if (wanted > 0) count = source->functions.read(record->buffer, 1, static_cast<std::size_t>(wanted), source->handle);
  if (count <= 0) {
    if (record->startOfFile) ERREXIT(decompressor, JERR_INPUT_EMPTY);
    WARNMS(decompressor, JWRN_JPEG_EOF);
    record->buffer[0] = 0xFF;
    record->buffer[1] = JPEG_EOI;
    count = 2;
    record->endReached = true;
  }
  record->manager.next_input_byte = record->buffer;
  record->manager.bytes_in_buffer = static_cast<std::size_t>(count);
  record->startOfFile = false;
  return TRUE;
}

// Once the stream is spent a skip stops at the end-of-image mark, so a
// long skip past the end cannot spin on refills.
void JpegSkipInputData(j_decompress_ptr decompressor, long count) {
  auto* record = reinterpret_cast<JpegSourceRecord*>(decompressor->src);
  if (count <= 0) return;
  while (count > static_cast<long>(record->manager.bytes_in_buffer)) {
    count -= static_cast<long>(record->manager.bytes_in_buffer);
    JpegFillInputBuffer(decompressor);
    if (record->endReached) return;
  }
  record->manager.next_input_byte += count;
  record->manager.bytes_in_buffer -= static_cast<std::size_t>(count);
}

void JpegTermSource(j_decompress_ptr) {}

void SetJpegStreamSource(j_decompress_ptr decompressor, StreamSource* source) {
  if (!decompressor->src) {
    auto* record = static_cast<JpegSourceRecord*>((*decompressor->mem->alloc_small)(
        reinterpret_cast<j_common_ptr>(decompressor), JPOOL_PERMANENT, sizeof(JpegSourceRecord)));
    record->buffer = static_cast<JOCTET*>((*decompressor->mem->alloc_small)(
        reinterpret_cast<j_common_ptr>(decompressor), JPOOL_PERMANENT, kInputBufferBytes));
    decompressor->src = &record->manager;
  }
  auto* record = reinterpret_cast<JpegSourceRecord*>(decompressor->src);
  record->manager.init_source = JpegInitSource;
  record->manager.fill_input_buffer = JpegFillInputBuffer;
  record->manager.skip_input_data = JpegSkipInputData;
  record->manager.resync_to_restart = jpeg_resync_to_restart;
  record->manager.term_source = JpegTermSource;
  record->source = source;
  record->endReached = false;
  record->length = MeasureStream(source, source->functions.tell(source->handle));
  record->manager.bytes_in_buffer = 0;
  record->manager.next_input_byte = nullptr;
}

// Decodes into the error record's pixel block (which the caller frees on an
// error jump); the image's size and format on success.
void DecodeJpeg(jpeg_decompress_struct* decompressor, StreamSource* source, BaseImage* image) {
  auto* error = reinterpret_cast<JpegErrorRecord*>(decompressor->err);
  SetJpegStreamSource(decompressor, source);
  jpeg_read_header(decompressor, TRUE);
  if (ImageByteCount(decompressor->image_width, decompressor->image_height, 4) < 0) {
    ERREXIT(decompressor, JERR_IMAGE_TOO_BIG);
  }
  // Colour comes out in blue, green, red order straight from the library's
  // colour conversion, and rows are decoded into the image block itself.
  if (decompressor->out_color_space == JCS_RGB) decompressor->out_color_space = JCS_EXT_BGR;
  jpeg_start_decompress(decompressor);
  int components = decompressor->output_components;
  if (components != 1 && components != 3) ERREXIT(decompressor, JERR_CONVERSION_NOTIMPL);
  std::size_t rowBytes = static_cast<std::size_t>(components) * decompressor->output_width;
  auto* pixels = static_cast<std::uint8_t*>(
      ALLOCATE_IMAGE_BLOCK(static_cast<std::int64_t>(rowBytes) * decompressor->output_height));
  error->pixels = pixels;
  if (!pixels) ERREXIT1(decompressor, JERR_OUT_OF_MEMORY, 0);
  while (decompressor->output_scanline < decompressor->output_height) {
    JSAMPROW row = pixels + rowBytes * decompressor->output_scanline;
    if (jpeg_read_scanlines(decompressor, &row, 1) != 1) ERREXIT(decompressor, JERR_INPUT_EOF);
  }
  jpeg_finish_decompress(decompressor);
  image->width = static_cast<std::int32_t>(decompressor->output_width);
  image->height = static_cast<std::int32_t>(decompressor->output_height);
  image->pitch = static_cast<std::uint32_t>(rowBytes);
  if (components == 1) {
    MakeColorFormatGrey8(&image->format);
  } else {
    MakeColorFormatRgb24(&image->format);
  }
}

}  // namespace

int ReadJpegImage(StreamSource* source, BaseImage* image) {
  jpeg_decompress_struct decompressor{};
  JpegErrorRecord error{};
  decompressor.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = JpegErrorExit;
  // Every picture is offered to this reader in turn, so "not a JPEG file"
  // is an everyday answer, not something to print on the console.
  error.manager.output_message = JpegSilentMessage;
  if (setjmp(error.jump)) {
    if (error.pixels) TrackedFree(error.pixels);
    jpeg_destroy_decompress(&decompressor);
    return -1;
  }
  jpeg_CreateDecompress(&decompressor, JPEG_LIB_VERSION, sizeof(decompressor));
  DecodeJpeg(&decompressor, source, image);
  jpeg_destroy_decompress(&decompressor);
  image->pixels = error.pixels;
  return 0;
}
