#include "ui/access_key.h"

namespace trelik {

AccessKeyCaption ParseAccessKey(const std::string& marked) {
  AccessKeyCaption caption;
  for (std::size_t i = 0; i < marked.size(); ++i) {
    if (marked[i] == '&' && i + 1 < marked.size()) {
      ++i;
      if (marked[i] != '&' && caption.key == std::string::npos) caption.key = caption.shown.size();
    }
    caption.shown += marked[i];
  }
  return caption;
}

std::string MarkAccessKey(const AccessKeyCaption& caption) {
  std::string marked;
  for (std::size_t i = 0; i < caption.shown.size(); ++i) {
    if (i == caption.key) marked += '&';
    if (caption.shown[i] == '&') marked += '&';
    marked += caption.shown[i];
  }
  return marked;
}

char AccessKeyLetter(const AccessKeyCaption& caption) {
  if (caption.key >= caption.shown.size()) return '\0';
  const char letter = caption.shown[caption.key];
  return letter >= 'A' && letter <= 'Z' ? static_cast<char>(letter - 'A' + 'a') : letter;
}

}  // namespace trelik
