#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace trelik {

// The name of a hidden folder a copy of `name` is built in beside its destination:
// ".<name>.trelik-copy-<owner>-<random>", where `owner` is the copying process's id and the
// random part keeps two copies of one process apart. Part of `name` is kept so that a user who
// sees the folder knows what it is, but not so much that the name outgrows what file systems
// allow.
std::string StagingName(const std::string& name, unsigned long owner);

// The process id a staging folder's name carries; nullopt for any other name.
std::optional<unsigned long> StagingOwner(std::string_view name);

}  // namespace trelik
