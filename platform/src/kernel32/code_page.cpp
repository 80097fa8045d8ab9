// Code page 932 as the ANSI and OEM code page, and conversions to and from
// UTF-16 with the usual length rules.
#include <climits>
#include <cstring>
#include <string>

#include "kernel32/path_characters.h"
#include "kernel32/wide_text.h"
#include "platform/kernel32_system.h"

namespace {

constexpr UINT kShiftJisCodePage = 932;

const char* CharsetOf(UINT code_page) {
  switch (code_page) {
    case CP_ACP:
    case CP_OEMCP:
    case kShiftJisCodePage: return "CP932";
    case CP_UTF8: return "UTF-8";
    default: return nullptr;
  }
}

int Fail(DWORD error) {
  SetLastError(error);
  return 0;
}

template <class Char>
std::size_t TerminatedLength(const Char* text) {
  return std::char_traits<Char>::length(text) + 1;  // the terminator converts too
}

// Output size 0 asks for the size needed; otherwise the whole result must
// fit, or nothing counts as converted.
template <class Char>
int CopyOut(const std::basic_string<Char>& converted, Char* output, int output_length) {
  if (converted.size() > INT_MAX) return Fail(ERROR_INSUFFICIENT_BUFFER);
  const int needed = static_cast<int>(converted.size());
  if (output_length == 0) return needed;
  if (needed > output_length) return Fail(ERROR_INSUFFICIENT_BUFFER);
  std::memcpy(output, converted.data(), converted.size() * sizeof(Char));
  return needed;
}

template <class Char>
bool ValidArguments(const char* charset, const Char* input, int input_length, const void* output,
                    int output_length) {
  return charset != nullptr && input != nullptr && input_length != 0 && input_length >= -1 &&
         output_length >= 0 && (output != nullptr || output_length == 0);
}

}  // namespace

UINT GetACP() { return kShiftJisCodePage; }

UINT GetOEMCP() { return kShiftJisCodePage; }

BOOL IsDBCSLeadByte(BYTE test_char) {
  return wqplat::IsCp932LeadByte(test_char) ? TRUE : FALSE;
}

int MultiByteToWideChar(UINT code_page, DWORD flags, LPCSTR multi_byte, int multi_byte_length,
                        LPWSTR wide, int wide_length) {
  const char* charset = CharsetOf(code_page);
  if (!ValidArguments(charset, multi_byte, multi_byte_length, wide, wide_length)) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  const std::size_t length = multi_byte_length == -1 ? TerminatedLength(multi_byte)
                                                     : static_cast<std::size_t>(multi_byte_length);
  bool substituted;
  const std::u16string converted =
      wqplat::NarrowToUtf16(std::string_view(multi_byte, length), charset, substituted);
  if (substituted && (flags & MB_ERR_INVALID_CHARS) != 0) {
    return Fail(ERROR_NO_UNICODE_TRANSLATION);
  }
  return CopyOut(converted, wide, wide_length);
}

// For UTF-8 every character converts, so a default character is refused.
int WideCharToMultiByte(UINT code_page, DWORD, LPCWSTR wide, int wide_length, LPSTR multi_byte,
                        int multi_byte_length, LPCSTR default_char, LPBOOL used_default_char) {
  const char* charset = CharsetOf(code_page);
  if (!ValidArguments(charset, wide, wide_length, multi_byte, multi_byte_length) ||
      (code_page == CP_UTF8 && (default_char != nullptr || used_default_char != nullptr))) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  const std::size_t length = wide_length == -1 ? TerminatedLength(wide)
                                               : static_cast<std::size_t>(wide_length);
  bool substituted;
  const std::string converted =
      wqplat::Utf16ToNarrow(std::u16string_view(wide, length), charset,
                            default_char != nullptr ? *default_char : '?', substituted);
  if (used_default_char != nullptr) *used_default_char = substituted ? TRUE : FALSE;
  return CopyOut(converted, multi_byte, multi_byte_length);
}
