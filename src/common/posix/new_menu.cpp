#include "common/new_menu.h"

namespace trelik {

std::string_view NewMenuName() { return "the file manager's New Menu"; }

}  // namespace trelik
