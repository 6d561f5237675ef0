#include "library/flag_conversion.h"

#include <gtest/gtest.h>

namespace trelik {
namespace {

struct FlagCase {
  std::string stored;
  std::optional<bool> flag;  // empty: not an integer, so the default is taken
};

TEST(FlagFromText, StoredValuesAndTheirMeaning) {
  const FlagCase cases[] = {
      {"1", true},
      {"0", false},
      {"2", true},
      {"-1", true},
      {"$1F", true},
      {"0x10", true},
      {"0X1f", true},
      {"x10", true},
      {"$0", false},
      {"0x0", false},
      {"-0", false},
      {"+7", true},
      {"  1", true},
      {"00", false},
      {"2147483647", true},
      {"-2147483648", true},
      {"$FFFFFFFF", true},
      {"$000000001", true},
      {"-$10", true},
      {"-0x10", true},
      {"yes", std::nullopt},
      {"1a", std::nullopt},
      {"0x", std::nullopt},
      {"", std::nullopt},
      {"$", std::nullopt},
      {"x", std::nullopt},
      {"-", std::nullopt},
      {"1 ", std::nullopt},
      {"\t1", std::nullopt},
      {"0x1g", std::nullopt},
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"$100000000", std::nullopt},
      {"99999999999999999999", std::nullopt},
  };
  for (const auto& c : cases) {
    if (c.flag) {
      EXPECT_EQ(FlagFromText(c.stored, false), *c.flag) << '"' << c.stored << '"';
      EXPECT_EQ(FlagFromText(c.stored, true), *c.flag) << '"' << c.stored << '"';
    } else {
      EXPECT_FALSE(FlagFromText(c.stored, false)) << '"' << c.stored << '"';
      EXPECT_TRUE(FlagFromText(c.stored, true)) << '"' << c.stored << '"';
    }
  }
}

TEST(ParseStoredInteger, ValuesAtTheEdgesOfTheRange) {
  EXPECT_EQ(ParseStoredInteger("2147483647"), 2147483647);
  EXPECT_EQ(ParseStoredInteger("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(ParseStoredInteger("$FFFFFFFF"), -1);
  EXPECT_EQ(ParseStoredInteger("$80000000"), -2147483647 - 1);
  EXPECT_EQ(ParseStoredInteger("-$1"), -1);
  EXPECT_EQ(ParseStoredInteger("0X1f"), 31);
  EXPECT_EQ(ParseStoredInteger("2147483648"), std::nullopt);
}

}  // namespace
}  // namespace trelik
