#include "library/file_access.h"

namespace trelik {
namespace {

class FileDamageCategory : public std::error_category {
 public:
  const char* name() const noexcept override { return "trelik file damage"; }
  std::string message(int value) const override {
    return static_cast<FileDamage>(value) == FileDamage::kTooLarge
               ? "Damaged: larger than " + std::to_string(kOwnFileLimit >> 20) + " MiB"
               : "Damaged: not a regular file";
  }
};

}  // namespace

std::error_code MakeErrorCode(FileDamage damage) {
  static const FileDamageCategory category;
  return {static_cast<int>(damage), category};
}

}  // namespace trelik
