// The archive key: the program's key string, its 12-byte preparation and
// the keying of archive bytes by file offset.
#include <cstring>

#include "core/files/wqa_format.h"

namespace {

// These constants decide how every archive is keyed: archives are stored
// files, so they never change.
//
// Each key byte, after the key string has been repeated over the 12
// positions, is complemented when asked, rotated left and XOR-ed, by the
// transform of its position.
struct KeyByteTransform {
  bool complement;
  int rotateLeft;
  BYTE mask;
};
constexpr KeyByteTransform kKeyTransforms[WQA_KEY_SIZE] = {
    {true, 1, 0x3D},  {false, 3, 0xA2}, {true, 0, 0x5E},  {false, 5, 0x17},
    {true, 2, 0xC4},  {false, 7, 0x69}, {true, 4, 0x8B},  {false, 6, 0x2F},
    {true, 3, 0xF0},  {false, 1, 0x93}, {true, 5, 0x46},  {false, 2, 0xD8},
};
// Every position holds this byte, before its transform, when no key string
// is set.
constexpr BYTE kNoStringFill = 0x6B;
// Every byte of the fixed fall-back key.
constexpr BYTE kFallbackKeyByte = 0xC9;

char g_keyString[WQA_KEY_SIZE + 1];
bool g_keyStringSet = false;

BYTE TransformKeyByte(BYTE value, const KeyByteTransform& transform) {
  if (transform.complement) value = static_cast<BYTE>(~value);
  value = std::rotl(value, transform.rotateLeft);
  return static_cast<BYTE>(value ^ transform.mask);
}

}  // namespace

int SetArchiveKey(const char* keyString) {
  g_keyStringSet = keyString != nullptr && keyString[0] != '\0';
  std::memset(g_keyString, 0, sizeof(g_keyString));
  if (g_keyStringSet) std::strncpy(g_keyString, keyString, WQA_KEY_SIZE);
  return 0;
}

const char* GetArchiveKeyString() { return g_keyStringSet ? g_keyString : nullptr; }

void MakeArchiveKey(const char* keyString, BYTE* key) {
  const size_t length = keyString == nullptr ? 0 : std::strlen(keyString);
  for (int i = 0; i < WQA_KEY_SIZE; ++i) {
    const BYTE raw = length == 0 ? kNoStringFill : static_cast<BYTE>(keyString[i % length]);
    key[i] = TransformKeyByte(raw, kKeyTransforms[i]);
  }
}

void MakeFallbackArchiveKey(BYTE* key) { std::memset(key, kFallbackKeyByte, WQA_KEY_SIZE); }

void ApplyArchiveKey(DWORD count, void* buffer, DWORD position, const BYTE* key) {
  BYTE* bytes = static_cast<BYTE*>(buffer);
  DWORD keyIndex = position % WQA_KEY_SIZE;
  while (count > 0 && keyIndex != 0) {
    *bytes++ ^= key[keyIndex];
    keyIndex = (keyIndex + 1) % WQA_KEY_SIZE;
    --count;
  }
  DWORD keyWords[3];
  std::memcpy(keyWords, key, sizeof(keyWords));
  for (; count >= WQA_KEY_SIZE; count -= WQA_KEY_SIZE, bytes += WQA_KEY_SIZE) {
    DWORD words[3];
    std::memcpy(words, bytes, sizeof(words));
    for (int i = 0; i < 3; ++i) words[i] ^= keyWords[i];
    std::memcpy(bytes, words, sizeof(words));
  }
  for (DWORD i = 0; i < count; ++i) bytes[i] ^= key[i];
}
