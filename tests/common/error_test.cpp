#include "common/error.h"

#include <gtest/gtest.h>

#include "common/system_error.h"

namespace trelik {
namespace {

struct FullStopCase {
  std::string message;
  std::string shown;
};

TEST(ErrorBoxText, AppendsAFullStopOnlyAfterCharactersAboveIt) {
  const FullStopCase cases[] = {
      {"Unable to write to C:\\x\\trelik.ini", "Unable to write to C:\\x\\trelik.ini."},
      {"Failed to set data for ''", "Failed to set data for ''"},  // quote sorts below '.'
      {"Failed to set data for 'NullFile'", "Failed to set data for 'NullFile'"},
      {"Stream write error", "Stream write error."},
      {"ends in a full stop.", "ends in a full stop."},
      {"Please !", "Please !"},
      {"a slash /", "a slash /."},      // '/' is the character right after '.'
      {"a dash -", "a dash -"},         // '-' is the character right before '.'
      {"caf\xc3\xa9", "caf\xc3\xa9."},  // bytes from 128 up sort above '.'
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatErrorBoxText(c.message), c.shown) << c.message;
  }
}

TEST(SystemMessage, TrailingBlanksLineEndsAndFullStopsAreCut) {
  EXPECT_EQ(CleanSystemMessage("The system cannot find the file specified. \r\n"),
            "The system cannot find the file specified");
  EXPECT_EQ(CleanSystemMessage("No such file or directory"), "No such file or directory");
  EXPECT_EQ(CleanSystemMessage("Wait... \t"), "Wait");
  EXPECT_EQ(CleanSystemMessage(" ."), "");
}

}  // namespace
}  // namespace trelik
