#include "ui/access_key.h"

#include <gtest/gtest.h>

namespace trelik {
namespace {

TEST(AccessKeyTest, TheMarkIsTakenOutOfTheShownTextAndPutBackAsTheToolkitsReadIt) {
  struct Case {
    const char* marked;
    const char* shown;
    char letter;
    const char* markedAgain;
  };
  for (const Case& c : {Case{"&Create", "Create", 'c', "&Create"},
                        Case{"Check &Version", "Check Version", 'v', "Check &Version"},
                        Case{"Plain", "Plain", '\0', "Plain"},
                        Case{"Fish && &Chips", "Fish & Chips", 'c', "Fish && &Chips"},
                        Case{"A&b&c", "Abc", 'b', "A&bc"},  // only the first mark counts
                        Case{"Trailing&", "Trailing&", '\0', "Trailing&&"}}) {
    SCOPED_TRACE(c.marked);
    const AccessKeyCaption caption = ParseAccessKey(c.marked);
    EXPECT_EQ(caption.shown, c.shown);
    EXPECT_EQ(AccessKeyLetter(caption), c.letter);
    EXPECT_EQ(MarkAccessKey(caption), c.markedAgain);
  }
}

}  // namespace
}  // namespace trelik
