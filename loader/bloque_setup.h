#pragma once

#include <string>
#include <utility>
#include <vector>

namespace carga {

// El bloque de configuración de 90 bytes del indicador como los 78 valores que se guardan en la
// sección "Setup": dos registros de 13 bytes (tres bytes, tres números de 24 bits con el byte
// bajo primero, un byte) en las claves "1" a "14", y luego 64 bytes sueltos en "15" a "78".
// Pares de clave y valor, en el orden en que se guardan; nada si el bloque no tiene 90 bytes.
std::vector<std::pair<std::string, long>> ValoresSetup(const std::string& bloque);

}  // namespace carga
