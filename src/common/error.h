#pragma once

#include <stdexcept>
#include <string>

namespace trelik {

// The one error that library operations raise; its message is shown to the user as it stands.
class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// The text of the error box: a full stop is appended when the message's last byte sorts
// after '.', so "Unable to write to x.ini" ends in a full stop and "... Please !" does not.
std::string FormatErrorBoxText(const std::string& message);

}  // namespace trelik
