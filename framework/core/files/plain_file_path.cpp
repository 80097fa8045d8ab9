// Full paths for the file layer: ResolveFullPath for disk paths, and the
// upper-cased form under which archive paths are compared.
#include <algorithm>
#include <cstring>

#include "core/files/archive_reader.h"
#include "core/base/charset_state.h"
#include "core/files/file_access_table.h"
#include "core/base/log_file.h"
#include "core/files/plain_file.h"
#include "platform/kernel32.h"
#include "core/base/string_utils.h"

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The archive form upper-cases every ASCII letter (double-byte characters
// are kept whole) and skips only a backslash after a drive.
struct PathStyle {
  bool archiveForm;
};

// A path of at most MAX_PATH - 1 bytes, built by appending; overflow
// is remembered, never written.
class PathBuilder {
 public:
  PathBuilder(char* output, PathStyle style) : text_(output), style_(style) { text_[0] = '\0'; }

  void Append(const char* bytes, std::size_t count) {
    if (length_ + count >= MAX_PATH) {
      overflow_ = true;
      return;
    }
    std::memcpy(text_ + length_, bytes, count);
    length_ += count;
    text_[length_] = '\0';
    if (style_.archiveForm) StringToUpperMB(text_ + length_ - count);
  }
  void Append(const char* text) { Append(text, std::strlen(text)); }

  // Removes the last component and its separator; a colon stays.
  void RemoveLastComponent() {
    std::size_t cut = 0;
    for (std::size_t i = 0; i < length_; ++i) {
      if (IsLeadByte(text_ + i, GetCharSetClass()) && i + 1 < length_) {
        ++i;
      } else if (IsSeparator(text_[i])) {
        cut = i;
      } else if (text_[i] == ':') {
        cut = i + 1;
      }
    }
    length_ = cut;
    text_[length_] = '\0';
  }

  bool overflow() const { return overflow_; }

 private:
  char* text_;
  PathStyle style_;
  std::size_t length_ = 0;
  bool overflow_ = false;
};

void ApplyComponent(PathBuilder& out, const char* component, std::size_t length, bool last) {
  if (length == 0) return;
  if (!last && length == 1 && component[0] == '.') return;
  if (!last && length == 2 && component[0] == '.' && component[1] == '.') {
    out.RemoveLastComponent();
    return;
  }
  out.Append("\\");
  out.Append(component, length);
}

int ResolvePath(const char* path, char* output, const char* base, PathStyle style) {
  char currentDirectory[MAX_PATH] = {};
  if (base == nullptr) {
    GetFileAccessTable()->getCurrentDir(currentDirectory);
    base = currentDirectory;
  }
  PathBuilder out(output, style);
  if (path == nullptr) {
    out.Append(base);
    return out.overflow() ? LogWrite("ファイルパスが長すぎます\n") : 0;
  }
  const char* scan = path;
  if (IsSeparator(path[0]) && path[1] == path[0]) {
    out.Append("\\");
    scan = path + 2;
  } else if (IsSeparator(path[0])) {
    out.Append(base, std::min<std::size_t>(std::strlen(base), 2));
    scan = path + 1;
  } else if (path[0] != '\0' && path[1] == ':') {
    out.Append(path, 2);
    scan = path + 2;
    if (style.archiveForm ? *scan == '\\' : IsSeparator(*scan)) ++scan;
  } else {
    std::size_t baseLength = std::strlen(base);
    if (baseLength > 0 && IsSeparator(base[baseLength - 1])) --baseLength;
    out.Append(base, baseLength);
  }
  const char* component = scan;
  for (const char* p = scan;; ++p) {
    if (*p != '\0' && IsLeadByte(p, GetCharSetClass()) && p[1] != '\0') {
      ++p;
      continue;
    }
    if (*p == '\0' || IsSeparator(*p)) {
      ApplyComponent(out, component, static_cast<std::size_t>(p - component), *p == '\0');
      if (*p == '\0') break;
      component = p + 1;
    }
  }
  return out.overflow() ? LogWrite("ファイルパスが長すぎます\n") : 0;
}

}  // namespace

int ResolveFullPath(const char* path, char* output, const char* base) {
  return ResolvePath(path, output, base, PathStyle{false});
}

int MakeFullPathFromCurrentDir(const char* path, char* output) {
  return ResolvePath(path, output, nullptr, PathStyle{true});
}

HANDLE CreateTempFileName(char* output) {
  char folder[MAX_PATH];
  const DWORD length = GetTempPathA(256, folder);
  if (length == 0 || length >= 256) return nullptr;
  if (!IsSeparator(folder[length - 1])) std::strcat(folder, "\\");
  char reserved[MAX_PATH];
  char full[MAX_PATH];
  if (GetTempFileNameA(folder, "tmp", 0, reserved) == 0 || ResolveFullPath(reserved, full, nullptr) != 0) {
    return nullptr;
  }
  DeleteFileA(full);
  HANDLE file = CreateFileA(full, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  if (output != nullptr) StringCopy(output, full);
  return file;
}
