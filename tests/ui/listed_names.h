#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/widgets.h"

namespace trelik::testing {

// Names come from files and folders, so they may hold any byte but NUL. Every backend's lists
// must hand each one back exactly, whatever they can show of it.
struct ListedName {
  std::string bytes;
  std::string otherCase;  // a spelling that FindExact must match to this entry alone
};

inline const std::vector<ListedName> kListedNames = {
    {"Caf\xC3\xA9 \xE2\x82\xAC", "CAF\xC3\x89 \xE2\x82\xAC"},  // valid UTF-8
    {"Caf\xE9", "cAF\xE9"},                                    // Latin-1
    {"\x80", "\x80"},                                          // lone continuation byte
    {"\x81", "\x81"},                          // shown like the one above, yet another name
    {"Web\xE2\x82", "WEB\xE2\x82"},            // truncated sequence
    {"a\tb\x01\x1F\x7F", "A\tB\x01\x1F\x7F"},  // control characters
    {"\xC0\xAF", "\xC0\xAF"},                  // overlong encoding of '/'
    {"\xFF\xFEz", "\xFF\xFEZ"},
};

// Fills `list` with every listed name through both ways in and checks what comes back out.
inline void ExpectListKeepsNamesByteForByte(ComboBox& list) {
  std::vector<std::string> names;
  for (const auto& name : kListedNames) names.push_back(name.bytes);
  list.SetItems({names.begin(), names.begin() + 3});
  for (auto name = names.begin() + 3; name != names.end(); ++name) list.AddItem(*name);
  EXPECT_EQ(list.Items(), names);
  for (int i = 0; i < static_cast<int>(names.size()); ++i) {
    list.SetSelectedIndex(i);
    EXPECT_EQ(list.Items()[list.SelectedIndex()], names[i]) << i;
    EXPECT_EQ(list.FindExact(kListedNames[i].bytes), i) << i;
    EXPECT_EQ(list.FindExact(kListedNames[i].otherCase), i) << i;
  }
  list.RemoveItem(0);
  EXPECT_EQ(list.Items(), (std::vector<std::string>{names.begin() + 1, names.end()}));
}

}  // namespace trelik::testing
