#pragma once

#include <cstddef>
#include <string>

namespace trelik {

// A caption may mark its access key with '&' before the letter, as Windows captions do ("&&"
// stands for an '&' itself). The shown text never holds the mark: that is what the layout
// measures and screen readers read.
struct AccessKeyCaption {
  std::string shown;
  std::size_t key = std::string::npos;  // the position of the key's letter in `shown`
};

AccessKeyCaption ParseAccessKey(const std::string& marked);

// The caption marked again, in the form both toolkits take: '&' doubled, the key marked.
std::string MarkAccessKey(const AccessKeyCaption& caption);

// The key's letter in lower case, or '\0' for a caption without one.
char AccessKeyLetter(const AccessKeyCaption& caption);

}  // namespace trelik
