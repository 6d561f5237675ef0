#include "creation/token_values.h"

#include <cstdio>
#include <ctime>

namespace trelik {

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

}  // namespace trelik
