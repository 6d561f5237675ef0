#pragma once

#include <string>

namespace trelik {

// The maker's site, one build setting (TRELIK_SITE_HOST) for both pages.
std::string HomePageAddress();
std::string VersionCheckAddress();

}  // namespace trelik
