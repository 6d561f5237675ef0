#include "ui/site_address.h"

namespace trelik {

std::string HomePageAddress() { return std::string(TRELIK_SITE_HOST) + "/"; }

std::string VersionCheckAddress() {
  return std::string(TRELIK_SITE_HOST) + "/products/trelik/vcheck.php?v=1.0";
}

}  // namespace trelik
