#include "shell/copy_name.h"

namespace trelik {

std::string FreeCopyName(const std::string& name,
                         const std::function<bool(const std::string&)>& isTaken) {
  if (!isTaken(name)) return name;
  std::string candidate = name + " - Copy";
  for (int number = 2; isTaken(candidate); ++number) {
    candidate = name + " - Copy (" + std::to_string(number) + ")";
  }
  return candidate;
}

std::string ArrivalName(const std::string& name, const std::string& wanted,
                        const std::function<bool(const std::string&)>& isTaken) {
  if (!wanted.empty() && !isTaken(wanted)) return wanted;
  return FreeCopyName(name, isTaken);
}

}  // namespace trelik
