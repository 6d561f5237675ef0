// Renaming a folder's entries after their tokens: every name holding a token is either renamed
// to its filled name or refused, whatever order the folder lists them in; renaming one after the
// other never meets a name that is taken, so no rename can fail or replace (on Windows, names
// that differ only in case are one name).
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "common/ascii_case.h"
#include "common/file_name_rules.h"
#include "common/path_parts.h"
#include "creation/tokens.h"
#include "fuzz_check.h"

namespace {

using trelik::NameRewrites;
using trelik::PathSeparators;

std::set<std::string> Sorted(const NameRewrites& rewrites) {
  std::set<std::string> outcome;
  for (const auto& change : rewrites.changes) outcome.insert(change.from + "\n->" + change.to);
  for (const auto& name : rewrites.refused) outcome.insert(name + "\n refused");
  return outcome;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  const bool windows = provider.ConsumeBool();
  const PathSeparators& separators =
      windows ? trelik::kWindowsSeparators : trelik::kPosixSeparators;
  const auto key = [windows](const std::string& name) {
    return windows ? trelik::AsciiLowercase(name) : name;
  };
  trelik::TokenValues values;
  for (int count = provider.ConsumeIntegralInRange(1, 3); count > 0; --count) {
    std::string name = provider.ConsumeRandomLengthString(8);
    values[std::move(name)] = provider.ConsumeRandomLengthString(16);
  }
  // A folder's listing: names it can hold, none twice.
  std::vector<std::string> names;
  std::set<std::string> keys;
  while (names.size() < 8 && provider.remaining_bytes() > 0) {
    std::string name = provider.ConsumeRandomLengthString(24);
    if (name.empty() || trelik::FileNameProblem(name, separators) ||
        !keys.insert(key(name)).second) {
      continue;
    }
    names.push_back(std::move(name));
  }

  const NameRewrites rewrites = trelik::RewriteNames(names, values, separators);
  std::vector<std::string> handled;
  for (const auto& change : rewrites.changes) {
    FUZZ_CHECK(change.to == trelik::FillTokens(change.from, values));
    FUZZ_CHECK(!change.to.empty() && !trelik::FileNameProblem(change.to, separators));
    handled.push_back(change.from);
  }
  handled.insert(handled.end(), rewrites.refused.begin(), rewrites.refused.end());
  std::vector<std::string> holding;
  std::ranges::copy_if(names, std::back_inserter(holding),
                       [&](const auto& name) { return trelik::HoldsToken(name, values); });
  std::ranges::sort(handled);
  std::ranges::sort(holding);
  FUZZ_CHECK(handled == holding);

  // The renames, one after the other as the filling makes them.
  std::multiset<std::string> present;
  for (const auto& name : names) present.insert(key(name));
  for (const auto& change : rewrites.changes) {
    present.erase(present.find(key(change.from)));
    FUZZ_CHECK(!present.contains(key(change.to)));
    present.insert(key(change.to));
  }

  std::vector<std::string> reversed(names.rbegin(), names.rend());
  FUZZ_CHECK(Sorted(trelik::RewriteNames(reversed, values, separators)) == Sorted(rewrites));
  return 0;
}
