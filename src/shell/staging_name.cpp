#include "shell/staging_name.h"

#include <cctype>
#include <random>

namespace trelik {
namespace {

constexpr std::string_view kMarker = ".trelik-copy-";
constexpr std::size_t kRandomLetters = 6;
constexpr std::size_t kKeptNameLength = 64;

bool AllOf(std::string_view text, int (*test)(int)) {
  for (const char c : text) {
    if (!test(static_cast<unsigned char>(c))) return false;
  }
  return !text.empty();
}

}  // namespace

std::string StagingName(const std::string& name, unsigned long owner) {
  static constexpr char kLetters[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device random;
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
  std::string staging(".");
  staging.append(name.substr(0, kKeptNameLength)).append(kMarker) += std::to_string(owner) + '-';
  for (std::size_t letter = 0; letter < kRandomLetters; ++letter) staging += kLetters[pick(random)];
  return staging;
}

std::optional<unsigned long> StagingOwner(std::string_view name) {
  const auto marker = name.rfind(kMarker);
  if (!name.starts_with('.') || marker == std::string_view::npos || marker == 0) {
    return std::nullopt;
  }
  const std::string_view rest = name.substr(marker + kMarker.size());
  const auto dash = rest.find('-');
  if (dash > 9) return std::nullopt;  // no dash, or more digits than a process id has
  const std::string_view owner = rest.substr(0, dash);
  const std::string_view random = rest.substr(dash + 1);
  if (!AllOf(owner, isdigit) || random.size() != kRandomLetters || !AllOf(random, isalnum)) {
    return std::nullopt;
  }
  return std::stoul(std::string(owner));
}

}  // namespace trelik
