// Runs the fixture script into a folder that lives as long as the process.
#include "image_fixtures.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/files/stream_memory.h"
#include "support/temp_dir.h"

namespace wqtest {

namespace {

std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::vector<ImageFixture> MakeFixtures() {
  static TempDir folder;
  std::string command = std::string("python3 '") + IMAGE_FIXTURE_SCRIPT + "' '" + folder.path().string() + "'";
  if (std::system(command.c_str()) != 0) ADD_FAILURE() << "fixture script failed: " << command;
  std::vector<ImageFixture> fixtures;
  std::istringstream manifest(ReadWholeFile(folder.path() / "manifest.txt"));
  ImageFixture fixture;
  int alpha = 0;
  while (manifest >> fixture.name >> fixture.extension >> fixture.bytesPerPixel >> fixture.pitch >> fixture.tolerance >>
         alpha) {
    fixture.alphaChecked = alpha != 0;
    fixture.path = (folder.path() / (fixture.name + "." + fixture.extension)).string();
    fixture.bytes = ReadWholeFile(fixture.path);
    std::string expect = ReadWholeFile(folder.path() / (fixture.name + ".expect"));
    std::memcpy(&fixture.width, expect.data(), 4);
    std::memcpy(&fixture.height, expect.data() + 4, 4);
    fixture.rgba.assign(expect.begin() + 8, expect.end());
    fixtures.push_back(fixture);
  }
  return fixtures;
}

}  // namespace

const std::vector<ImageFixture>& AllImageFixtures() {
  static const std::vector<ImageFixture> fixtures = MakeFixtures();
  return fixtures;
}

std::vector<ImageFixture> ImageFixturesOf(const std::string& extension) {
  std::vector<ImageFixture> selected;
  for (const ImageFixture& fixture : AllImageFixtures()) {
    if (fixture.extension == extension) selected.push_back(fixture);
  }
  return selected;
}

const ImageFixture& ImageFixtureNamed(const std::string& name) {
  for (const ImageFixture& fixture : AllImageFixtures()) {
    if (fixture.name == name) return fixture;
  }
  static const ImageFixture none{};
  ADD_FAILURE() << "no fixture " << name;
  return none;
}

int ReadImageBytes(ImageReader reader, const std::string& bytes, BaseImage* image) {
  StreamSource source{*GetMemoryStreamFunctions(), OpenMemoryStream(bytes.data(), static_cast<LONG>(bytes.size()))};
  *image = BaseImage{};
  int result = reader(&source, image);
  CloseMemoryStream(source.handle);
  return result;
}

void ExpectImagePixels(BaseImage* image, const ImageFixture& fixture) {
  ASSERT_EQ(image->width, fixture.width);
  ASSERT_EQ(image->height, fixture.height);
  for (int y = 0; y < fixture.height; ++y) {
    for (int x = 0; x < fixture.width; ++x) {
      int rgba[4] = {-1, -1, -1, 255};
      ASSERT_EQ(GetBaseImagePixel(image, x, y, &rgba[0], &rgba[1], &rgba[2], &rgba[3]), 0);
      const std::uint8_t* want = &fixture.rgba[(static_cast<std::size_t>(y) * fixture.width + x) * 4];
      for (int c = 0; c < (fixture.alphaChecked ? 4 : 3); ++c) {
        ASSERT_NEAR(rgba[c], want[c], fixture.tolerance) << "channel " << c << " of pixel (" << x << ", " << y << ")";
      }
    }
  }
}

}  // namespace wqtest
