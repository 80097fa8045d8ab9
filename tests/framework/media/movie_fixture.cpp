#include "movie_fixture.h"

namespace wqtest {

void ExpectLogInOrder(const std::string& log, const std::vector<std::string>& texts) {
  std::size_t position = 0;
  for (const std::string& text : texts) {
    const std::size_t found = log.find(text, position);
    ASSERT_NE(found, std::string::npos) << "missing after byte " << position << ": " << text;
    position = found + text.size();
  }
}

}  // namespace wqtest
