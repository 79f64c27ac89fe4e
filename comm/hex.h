#pragma once

#include <string>
#include <string_view>

namespace comm {

// Bytes en hexadecimal, separados por espacios: "01 06 00 1A".
std::string Hex(std::string_view bytes);

}  // namespace comm
