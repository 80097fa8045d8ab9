// wqa: packs a folder into a keyed WQA archive, lists one, extracts one.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "archive_listing.h"
#include "folder_tree.h"
#include "kernel32/text_encoding.h"
#include "wqa_writer.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

constexpr char kUsage[] =
    "usage: wqa pack [--key KEY] [--version 1|3|4] [--store|--pack] DIR OUT.WQA\n"
    "       wqa list ARCHIVE [--key KEY]\n"
    "       wqa extract ARCHIVE DIR [--key KEY]\n";

struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct Arguments {
  std::string command;
  std::vector<std::string> operands;
  std::string key;
  std::optional<std::uint32_t> version;
  std::optional<bool> pack;
};

Arguments ParseArguments(int argc, char** argv) {
  if (argc < 2) throw UsageError("no command given");
  Arguments arguments;
  arguments.command = argv[1];
  for (int i = 2; i < argc; ++i) {
    const std::string argument = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) throw UsageError(argument + " needs a value");
      return argv[++i];
    };
    if (argument == "--key") {
      arguments.key = value();
    } else if (argument == "--version") {
      const std::string text = value();
      if (text != "1" && text != "3" && text != "4") throw UsageError("--version must be 1, 3 or 4, not " + text);
      arguments.version = static_cast<std::uint32_t>(std::stoul(text));
    } else if (argument == "--store" || argument == "--pack") {
      arguments.pack = argument == "--pack";
    } else if (argument.starts_with("--")) {
      throw UsageError("unknown option " + argument);
    } else {
      arguments.operands.push_back(argument);
    }
  }
  const bool isPack = arguments.command == "pack";
  if (!isPack && (arguments.version || arguments.pack)) {
    throw UsageError("--version, --store and --pack apply to pack only");
  }
  const std::size_t wanted = arguments.command == "list" ? 1 : 2;
  if (!isPack && arguments.command != "list" && arguments.command != "extract") {
    throw UsageError("unknown command " + arguments.command);
  }
  if (arguments.operands.size() != wanted) throw UsageError(arguments.command + " takes " + std::to_string(wanted) + " paths");
  return arguments;
}

int Pack(const Arguments& arguments) {
  wqa::WriteOptions options;
  options.key = wqa::KeyForArchive(arguments.key);
  options.version = arguments.version.value_or(WQA_HIGHEST_VERSION);
  options.pack = arguments.pack.value_or(true);
  if (options.pack && options.version < 2) {
    if (arguments.pack) throw UsageError("version 1 archives cannot hold packed data; use --store");
    options.pack = false;
  }
  const wqa::TreeEntry root = wqa::ReadFolderTree(arguments.operands[0]);
  wqa::WriteFileReplacing(arguments.operands[1], wqa::BuildArchiveImage(root, options));
  return 0;
}

// An archive read whole and opened from memory by the framework's reader.
class OpenedArchive {
 public:
  OpenedArchive(const std::string& path, const std::string& key) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + path);
    image_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (image_.size() > 0xFFFFFFFFu) throw std::runtime_error(path + " is too large for an archive");
    SetArchiveKey(key.c_str());
    if (OpenArchiveFromMemory(&state_, image_.data(), static_cast<DWORD>(image_.size()), GetArchiveKeyString()) != 0) {
      throw std::runtime_error(path + " is not an archive readable under this key, or it is damaged");
    }
  }
  ~OpenedArchive() { CloseArchive(&state_); }
  OpenedArchive(const OpenedArchive&) = delete;
  OpenedArchive& operator=(const OpenedArchive&) = delete;
  ArchiveState* state() { return &state_; }

 private:
  std::vector<std::uint8_t> image_;
  ArchiveState state_{};
};

std::string DisplayPath(const std::vector<std::string>& names) {
  std::string path;
  for (const std::string& name : names) {
    if (!path.empty()) path += '/';
    path += wqplat::Cp932ToUtf8(name);
  }
  return path;
}

int List(const Arguments& arguments) {
  OpenedArchive archive(arguments.operands[0], arguments.key);
  wqa::ForEachArchiveItem(archive.state(), [&](const wqa::ArchiveItem& item) {
    if (item.directory) {
      std::printf("%12s  %-12s  %s/\n", "", "folder", DisplayPath(item.names).c_str());
      return;
    }
    const DWORD packedSize = GetArchiveRecordPackedSize(archive.state(), item.record);
    const std::string how = packedSize == WQA_STORED ? "stored" : "packed " + std::to_string(packedSize);
    std::printf("%12u  %-12s  %s\n", static_cast<unsigned>(item.record->size), how.c_str(),
                DisplayPath(item.names).c_str());
  });
  return 0;
}

int Extract(const Arguments& arguments) {
  OpenedArchive archive(arguments.operands[0], arguments.key);
  const std::filesystem::path folder = arguments.operands[1];
  std::filesystem::create_directories(folder);
  wqa::ForEachArchiveItem(archive.state(), [&](const wqa::ArchiveItem& item) {
    const std::filesystem::path target = wqa::DiskPathFor(folder, item.names);
    if (item.directory) {
      std::filesystem::create_directories(target);
    } else {
      wqa::WriteFileReplacing(target, wqa::ReadArchiveItem(archive.state(), item));
    }
  });
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const Arguments arguments = ParseArguments(argc, argv);
    if (arguments.command == "pack") return Pack(arguments);
    if (arguments.command == "list") return List(arguments);
    return Extract(arguments);
  } catch (const UsageError& error) {
    std::fprintf(stderr, "wqa: %s\n%s", error.what(), kUsage);
    return kExitUsage;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "wqa: %s\n", error.what());
    return kExitFailure;
  }
}
