#include "game/game_data_tree.h"

#include <iconv.h>

#include <fstream>
#include <stdexcept>
#include <vector>

namespace gametest {
namespace {

namespace fs = std::filesystem;

void LinkEveryFile(const fs::path& from, const fs::path& to) {
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(from)) {
    if (!entry.is_regular_file()) continue;
    const fs::path target = to / fs::relative(entry.path(), from);
    fs::create_directories(target.parent_path());
    fs::create_symlink(entry.path(), target);
  }
}

}  // namespace

GameDataTree::GameDataTree(DataSource source) {
  const fs::path data(GAME_DATA_DIR);
  if (source == DataSource::kArchives) {
    for (const char* archive : {"Pict.WQA", "Sound.WQA"}) {
      fs::create_symlink(data / "archives" / archive, path() / archive);
    }
  } else {
    LinkEveryFile(data / "Pict", path() / "Pict");
    LinkEveryFile(data / "Sound", path() / "Sound");
  }
}

void GameDataTree::Remove(const std::string& relative) const {
  if (!fs::remove(path() / relative)) throw std::runtime_error("no file " + relative);
}

void GameDataTree::CutShort(const std::string& relative, std::uintmax_t bytes) const {
  const fs::path file = path() / relative;
  std::ifstream in(file, std::ios::binary);
  std::vector<char> head(bytes);
  in.read(head.data(), static_cast<std::streamsize>(bytes));
  if (in.gcount() != static_cast<std::streamsize>(bytes)) throw std::runtime_error("short file " + relative);
  in.close();
  fs::remove(file);
  std::ofstream out(file, std::ios::binary);
  out.write(head.data(), static_cast<std::streamsize>(bytes));
}

std::string PathOnDisk(const char* shiftJisPath) {
  iconv_t convert = iconv_open("UTF-8", "CP932");
  if (convert == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("no CP932 conversion");
  std::string input(shiftJisPath);
  std::string output(input.size() * 3 + 1, '\0');
  char* in = input.data();
  char* out = output.data();
  std::size_t inLeft = input.size();
  std::size_t outLeft = output.size();
  const std::size_t result = iconv(convert, &in, &inLeft, &out, &outLeft);
  iconv_close(convert);
  if (result == static_cast<std::size_t>(-1)) throw std::runtime_error("not Shift-JIS");
  output.resize(output.size() - outLeft);
  return output;
}

}  // namespace gametest
