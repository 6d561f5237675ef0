// The list file: its lines are the text between line ends after a byte-order mark, and whatever
// list a file yields is saved and loaded back unchanged, unless its first name starts with a
// byte-order mark of its own, which the next load takes for the file's.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "library/template_list.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// How many lines the text has: CR LF, LF and CR each end one, and a last line may lack its end.
std::size_t CountLines(std::string_view text) {
  std::size_t lines = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) {
      ++lines;
    }
  }
  const bool lastLineOpen = !text.empty() && text.back() != '\n' && text.back() != '\r';
  return lines + (lastLineOpen ? 1 : 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> list = trelik::ParseTemplateListText(text);

  text = text.substr(0, text.find('\0'));
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  FUZZ_CHECK(list.size() == CountLines(text));
  std::string withoutLineEnds;
  for (const char c : text) {
    if (c != '\r' && c != '\n') withoutLineEnds += c;
  }
  std::string joined;
  for (const std::string& entry : list) joined += entry;
  FUZZ_CHECK(joined == withoutLineEnds);

  FUZZ_CHECK(trelik::ParseTemplateListText(trelik::FormatTemplateListText(list)) == list ||
             list.front().starts_with(kByteOrderMark));
  return 0;
}
