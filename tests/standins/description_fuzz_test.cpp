// Mutated descriptions are imported or rejected with a message, never a crash or a half project.
#include <random>

#include "standin_fixture.h"

namespace grx::testing {
namespace {

class DescriptionFuzzTest : public StandInTest {};

TEST_F(DescriptionFuzzTest, MutatedDescriptionsNeverCrash) {
  const std::string seed = SmallProjectJson();
  std::mt19937 random(20261206);
  const char alphabet[] = "{}[]\":,0123456789abcxyzCR/.@#%-_ \\\n";
  int accepted = 0, rejected = 0;
  for (int round = 0; round < 600; ++round) {
    std::string text = seed;
    const int edits = 1 + static_cast<int>(random() % 4);
    for (int e = 0; e < edits; ++e) {
      const std::size_t at = random() % text.size();
      switch (random() % 4) {
        case 0:
          text.erase(at, 1 + random() % 8);
          break;
        case 1:
          text.insert(at, 1, alphabet[random() % (sizeof alphabet - 1)]);
          break;
        case 2:
          text[at] = alphabet[random() % (sizeof alphabet - 1)];
          break;
        default:
          text = text.substr(0, at);
          break;
      }
      if (text.empty()) text = "{";
    }
    if (db.ImportDescription(text.c_str(), ":memory:") == 0) {
      ++accepted;
      // Whatever went in must come out and go in again.
      const std::string exported = db.Export();
      ASSERT_EQ(db.ImportDescription(exported.c_str(), ":memory:"), 0) << db.LastError() << "\n" << text;
      EXPECT_EQ(db.Export(), exported);
    } else {
      ++rejected;
      EXPECT_FALSE(std::string(db.LastError()).empty());
    }
  }
  EXPECT_GT(rejected, 0);
  EXPECT_GT(accepted + rejected, 0);
}

} // namespace
} // namespace grx::testing
