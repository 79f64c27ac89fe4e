#pragma once

#include <cstddef>
#include <string>

namespace comm {

// Mensaje más largo que acepta crc16: su búfer de trabajo tiene 31 posiciones.
constexpr std::size_t kLargoMaximoCrc = 31;

// Bytes de control de una trama: el CRC-16/MODBUS de `Mensaje`, byte bajo primero, en el
// orden en que viajan por la línea. Un mensaje de más de kLargoMaximoCrc bytes lanza
// std::out_of_range.
std::string crc16(const std::string& Mensaje);

}  // namespace comm
