// Small archive trees for the archive tests, built with the wqa tool's
// writer. Header-only: only suites that link wqa_writer include it.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "wqa_writer.h"

namespace wqtest {

inline wqa::TreeEntry WqaFile(std::string name, const std::string& bytes) {
  wqa::TreeEntry file;
  file.name = std::move(name);
  file.data.assign(bytes.begin(), bytes.end());
  file.creationTime = file.writeTime = 0x01D0000000000000ull;
  return file;
}

inline wqa::TreeEntry WqaFolder(std::string name, std::vector<wqa::TreeEntry> children) {
  wqa::TreeEntry folder;
  folder.name = std::move(name);
  folder.directory = true;
  folder.children = std::move(children);
  return folder;
}

inline wqa::WriteOptions WqaOptions(const std::string& keyString, std::uint32_t version = 4, bool pack = true) {
  wqa::WriteOptions options;
  options.key = wqa::KeyForArchive(keyString);
  options.version = version;
  options.pack = pack;
  return options;
}

inline std::vector<std::uint8_t> BuildWqa(std::vector<wqa::TreeEntry> children, const wqa::WriteOptions& options) {
  return wqa::BuildArchiveImage(WqaFolder("", std::move(children)), options);
}

// Changes an archive image in its decoded form: the image is unkeyed,
// handed to change, and keyed again.
template <typename Change>
void PatchWqa(std::vector<std::uint8_t>& image, const wqa::ArchiveKey& key, Change change) {
  ApplyArchiveKey(static_cast<DWORD>(image.size()), image.data(), 0, key.data());
  change(image);
  ApplyArchiveKey(static_cast<DWORD>(image.size()), image.data(), 0, key.data());
}

inline WqaHeader& HeaderOf(std::vector<std::uint8_t>& decoded) {
  return *reinterpret_cast<WqaHeader*>(decoded.data());
}

// The records of a decoded version 2+ archive, by their index in the file
// and directory tables.
struct WqaLayout {
  std::vector<std::uint8_t>& bytes;
  WqaHeader& header() { return HeaderOf(bytes); }
  std::uint8_t* block() { return bytes.data() + header().tableBlockOffset; }
  WqaFileRecord& record(int index) {
    return *reinterpret_cast<WqaFileRecord*>(block() + header().fileTableOffset + index * WQA_FILE_RECORD_SIZE_V2);
  }
  WqaDirectoryRecord& directory(int index) {
    return *reinterpret_cast<WqaDirectoryRecord*>(block() + header().directoryTableOffset +
                                                  index * sizeof(WqaDirectoryRecord));
  }
  WqaNameEntry& name(int index) { return *reinterpret_cast<WqaNameEntry*>(block() + record(index).nameOffset); }
  std::uint8_t* data(int index) { return bytes.data() + header().dataAreaOffset + record(index).dataOffset; }
  // Makes a packed file's first code a match that reaches before the start
  // of its output.
  void MatchBeforeTheStart(int index) {
    const std::uint8_t escape = data(index)[WQA_PACKED_HEADER_SIZE - 1];
    std::uint8_t* codes = data(index) + WQA_PACKED_HEADER_SIZE;
    codes[0] = escape;
    codes[1] = escape == 0 ? 1 : 0;  // length 4, one distance byte
    codes[2] = 0x40;
  }
};

inline std::string RandomBytes(std::size_t size, unsigned seed) {
  std::mt19937 generator(seed);
  std::string bytes(size, '\0');
  for (char& byte : bytes) byte = static_cast<char>(generator() & 0xFF);
  return bytes;
}

}  // namespace wqtest
