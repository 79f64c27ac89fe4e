#pragma once

#include <algorithm>
#include <chrono>
#include <climits>
#include <thread>

#include "puerto.h"

namespace comm {

// Milisegundos enteros que faltan hasta `limite` (0 si falta menos de uno): lo que piden las
// esperas del sistema.
inline int MsHasta(Puerto::Reloj::time_point limite) {
  const auto resto =
      std::chrono::floor<std::chrono::milliseconds>(limite - Puerto::Reloj::now()).count();
  return static_cast<int>(std::clamp<long long>(resto, 0, INT_MAX));
}

// Duerme hasta `limite`. sleep_until puede despertar un poco antes (con mingw-w64 redondea hacia
// abajo a milisegundos), y una espera que vence antes de su plazo no es un plazo.
inline void DormirHasta(Puerto::Reloj::time_point limite) {
  while (Puerto::Reloj::now() < limite) std::this_thread::sleep_until(limite);
}

}  // namespace comm
