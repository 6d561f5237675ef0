#pragma once

#include "creation/tokens.h"

namespace trelik {

struct LocalTime {
  int year = 0;
  int month = 0;  // 1 to 12
  int day = 0;
  int hour = 0;
  int minute = 0;
};

// The local date and time now.
LocalTime CurrentLocalTime();

// "date" (YYYY-MM-DD), "year" and "time" (HH-MM: no colon, so that it can stand in a file name).
TokenValues TimeTokens(const LocalTime& now);

}  // namespace trelik
