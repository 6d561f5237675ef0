#include "ui/type_ahead.h"

#include <gtest/gtest.h>

namespace trelik {
namespace {

TEST(TypeAhead, TheLettersTypedFindTheNextEntryStartingWithThem) {
  const std::vector<std::string> items = {"Api",  "blog", "Web",
                                          "web2", "Wiki", "\xC3\x89t\xC3\xA9"};
  struct Case {
    int current;
    const char* typed;
    int chosen;
  };
  const Case cases[] = {
      {-1, "w", 2},        // from no entry: the first one
      {2, "w", 3},         // a first letter steps on from the entry chosen
      {4, "w", 2},         // round the end
      {2, "wi", 4},        // more letters: from the entry chosen itself
      {2, "we", 2},        // ... which may still match
      {2, "www", 3},       // one letter again and again steps on too
      {0, "B", 1},         // regardless of letter case
      {0, "\xC3\xA9", 5},  // beyond ASCII too
      {3, "wx", 3},        // nothing matches: it stays
      {-1, "x", -1},      {1, "", 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TypeAheadIndex(items, c.current, c.typed), c.chosen) << c.current << " " << c.typed;
  }
  EXPECT_EQ(TypeAheadIndex({}, -1, "a"), -1);
}

}  // namespace
}  // namespace trelik
