#include "creation/token_values.h"

#include <cstdio>
#include <ctime>
#include <utility>

namespace trelik {
namespace {

constexpr std::string_view kUserToken = "{{trelik.user}}";

}  // namespace

LocalTime CurrentLocalTime() {
  const std::time_t now = std::time(nullptr);
  // One thread only, so localtime's shared result cannot be overwritten meanwhile.
  const std::tm* local = std::localtime(&now);
  if (local == nullptr) return {};
  return {local->tm_year + 1900, local->tm_mon + 1, local->tm_mday, local->tm_hour, local->tm_min};
}

TokenValues TimeTokens(const LocalTime& now) {
  char date[32];
  char time[16];
  std::snprintf(date, sizeof date, "%04d-%02d-%02d", now.year, now.month, now.day);
  std::snprintf(time, sizeof time, "%02d-%02d", now.hour, now.minute);
  return {{"date", date}, {"year", std::to_string(now.year)}, {"time", time}};
}

ProjectTokens::ProjectTokens(TokenValues known, std::function<std::string()> userName)
    : values_(std::move(known)), userName_(std::move(userName)) {}

const TokenValues& ProjectTokens::For(std::string_view text) {
  if (userName_ && text.find(kUserToken) != std::string_view::npos) {
    values_["user"] = userName_();
    userName_ = nullptr;
  }
  return values_;
}

const TokenValues& ProjectTokens::ForAll(const std::vector<std::string>& texts) {
  for (const auto& text : texts) For(text);
  return values_;
}

ProjectTokens TokensFor(const ProjectNames& names, const LocalTime& now,
                        std::function<std::string()> userName, const PathSeparators& separators) {
  TokenValues values = TimeTokens(now);
  values["template"] = names.templateName;
  values["folder"] = names.folder;
  ProjectTokens tokens(std::move(values), std::move(userName));
  if (names.typedFile) {
    tokens.values_["file"] = *names.typedFile;
  } else if (!names.mainFile.empty() && !HoldsToken(names.mainFile, {{"file", ""}})) {
    // The main file may itself be named by tokens; its own name cannot name it.
    const std::string mainName = FillTokens(names.mainFile, tokens.For(names.mainFile));
    tokens.values_["file"] =
        mainName.substr(0, mainName.size() - ExtensionPart(mainName, separators).size());
  }
  return tokens;
}

}  // namespace trelik
