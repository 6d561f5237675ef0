#include "common/new_menu.h"

namespace trelik {

std::string_view NewMenuName() { return "Explorer's New Menu"; }

}  // namespace trelik
