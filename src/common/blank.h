#pragma once

namespace trelik {

// A space or a control character: what the name rules trim from either end of a name.
inline bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

}  // namespace trelik
