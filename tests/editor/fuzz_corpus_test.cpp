// The editor's fuzz targets' regression inputs, replayed through the same
// bodies: every recipe as a batch run and line by line, every settings file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "../../fuzz/fuzz_editor.h"

namespace vorq {
namespace {

namespace fs = std::filesystem;

template <typename Body>
size_t ReplayFolder(const char* folder, Body body) {
  size_t n = 0;
  for (const auto& e : fs::directory_iterator(fs::path(VORQ_SOURCE_DIR) / "tests" / "corpus" / folder)) {
    std::ifstream in(e.path(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    body(e.path().filename().string(), bytes);
    ++n;
  }
  return n;
}

const uint8_t* Data(const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); }

TEST(FuzzCorpus, RecipesAndSettingsFiles) {
  EXPECT_GE(ReplayFolder("recipe",
                         [](const std::string& name, const std::string& text) {
                           EXPECT_EQ(fuzz::Batch(Data(text), text.size()), "") << name;
                           for (size_t start = 0, end; start < text.size(); start = end + 1) {
                             end = std::min(text.find('\n', start), text.size());
                             const std::string line = text.substr(start, end - start);
                             EXPECT_EQ(fuzz::RecipeLine(Data(line), line.size()), "") << name << ": " << line;
                           }
                         }),
            4u);
  EXPECT_GE(ReplayFolder("settings",
                         [](const std::string& name, const std::string& text) {
                           EXPECT_EQ(fuzz::Settings(Data(text), text.size()), "") << name;
                         }),
            3u);
}

}  // namespace
}  // namespace vorq
