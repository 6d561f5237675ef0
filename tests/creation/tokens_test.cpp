#include "creation/tokens.h"

#include <gtest/gtest.h>

#include "creation/token_values.h"

namespace trelik {
namespace {

const TokenValues kValues{{"folder", "Shop"}, {"file", "home"}, {"user", "Ann Lee"}};

TEST(FillTokens, ReplacesKnownTokensAndLeavesEveryOtherBrace) {
  const struct {
    std::string text;
    std::string filled;
  } cases[] = {
      {"{{trelik.folder}}.css", "Shop.css"},
      {"<title>{{trelik.folder}}</title> by {{trelik.user}}", "<title>Shop</title> by Ann Lee"},
      {"{{trelik.file}}{{trelik.file}}", "homehome"},
      {"{{trelik.x}} {{trelik.}} {{trelik.Folder}}", "{{trelik.x}} {{trelik.}} {{trelik.Folder}}"},
      {"{{ name }} {{#each items}}{{/each}}", "{{ name }} {{#each items}}{{/each}}"},  // Mustache
      {"{{{trelik.folder}}}", "{Shop}"},                                               // Handlebars
      {"{% block %}{{ trelik.folder }}{{trelik}}", "{% block %}{{ trelik.folder }}{{trelik}}"},
      {"{{ value | uppercase }} {{msg}}", "{{ value | uppercase }} {{msg}}"},  // Angular, Vue
      {"{{trelik.folder}", "{{trelik.folder}"},
      {"{{trelik.{{trelik.file}}}}", "{{trelik.home}}"},
      {"{{trelik.folder}}}}", "Shop}}"},
      {"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(FillTokens(c.text, kValues), c.filled);
    EXPECT_EQ(HoldsToken(c.text, kValues), c.filled != c.text);
  }
}

TEST(FilledContents, FillsOnlySmallUtf8TextWithoutNulAndKeepsEveryOtherByte) {
  const std::string token = "{{trelik.folder}}";
  const std::string big = std::string(kFillLimit - token.size(), 'a') + token;
  const struct {
    std::string bytes;
    std::optional<std::string> filled;
  } cases[] = {
      {"\xEF\xBB\xBFname: " + token + "\r\n\r\nend\n", "\xEF\xBB\xBFname: Shop\r\n\r\nend\n"},
      {token + "\rCaf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80",
       "Shop\rCaf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"},
      {big, std::string(kFillLimit - token.size(), 'a') + "Shop"},
      {big + "b", std::nullopt},                     // over the limit
      {token + std::string(1, '\0'), std::nullopt},  // NUL
      {token + "\xFF", std::nullopt},                // never UTF-8
      {token + "\xC0\xAF", std::nullopt},            // overlong
      {token + "\xED\xA0\x80", std::nullopt},        // surrogate
      {token + "\xF4\x90\x80\x80", std::nullopt},    // past U+10FFFF
      {token + "\xE2\x82", std::nullopt},            // cut short
      {"{{trelik.x}} {{ name }}", std::nullopt},     // nothing to fill
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes.substr(0, 40));
    EXPECT_EQ(FilledContents(c.bytes, kValues), c.filled);
  }
}

TEST(RewriteNames, RenamesNamesWithTokensAndRefusesInvalidResults) {
  const TokenValues values{{"folder", "Shop"}, {"file", "home"}, {"none", ""},     {"slash", "a/b"},
                           {"back", "a\\b"},   {"dot", ".."},    {"upper", "SHOP"}};
  const struct {
    std::vector<std::string> names;
    std::vector<NameChange> windows;
    std::vector<NameChange> linux;
    std::vector<std::string> refusedOnWindows;
    std::vector<std::string> refusedOnLinux;
  } cases[] = {
      {{"{{trelik.folder}}.css", "index.htm", "{{ name }}"},
       {{"{{trelik.folder}}.css", "Shop.css"}},
       {{"{{trelik.folder}}.css", "Shop.css"}},
       {},
       {}},
      {{"{{trelik.none}}", "{{trelik.slash}}", "{{trelik.dot}}", "x{{trelik.back}}"},
       {},
       {{"x{{trelik.back}}", "xa\\b"}},
       {"{{trelik.none}}", "{{trelik.slash}}", "{{trelik.dot}}", "x{{trelik.back}}"},
       {"{{trelik.none}}", "{{trelik.slash}}", "{{trelik.dot}}"}},
      // Another entry's name, or another rewritten name, is never taken.
      {{"{{trelik.folder}}.css", "Shop.css", "{{trelik.file}}", "home{{trelik.none}}"},
       {},
       {},
       {"{{trelik.folder}}.css", "{{trelik.file}}", "home{{trelik.none}}"},
       {"{{trelik.folder}}.css", "{{trelik.file}}", "home{{trelik.none}}"}},
      {{"{{trelik.upper}}", "shop"}, {}, {{"{{trelik.upper}}", "SHOP"}}, {"{{trelik.upper}}"}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.names.front());
    const NameRewrites windows = RewriteNames(c.names, values, kWindowsSeparators);
    const NameRewrites linux = RewriteNames(c.names, values, kPosixSeparators);
    EXPECT_EQ(windows.refused, c.refusedOnWindows);
    EXPECT_EQ(linux.refused, c.refusedOnLinux);
    const auto same = [](const std::vector<NameChange>& a, const std::vector<NameChange>& b) {
      return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return x.from == y.from && x.to == y.to;
      });
    };
    EXPECT_TRUE(same(windows.changes, c.windows));
    EXPECT_TRUE(same(linux.changes, c.linux));
  }
}

TEST(TimeTokens, AreZeroPaddedWithoutColons) {
  EXPECT_EQ(TimeTokens({.year = 2026, .month = 3, .day = 7, .hour = 9, .minute = 5}),
            (TokenValues{{"date", "2026-03-07"}, {"year", "2026"}, {"time", "09-05"}}));
}

}  // namespace
}  // namespace trelik
