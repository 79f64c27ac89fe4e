#pragma once

#include <algorithm>
#include <chrono>
#include <climits>

#include "puerto.h"

// Milisegundos enteros que faltan hasta `limite` (0 si falta menos de uno): lo que piden las
// esperas del sistema.
inline int MsHasta(Puerto::Reloj::time_point limite) {
  const auto resto =
      std::chrono::floor<std::chrono::milliseconds>(limite - Puerto::Reloj::now()).count();
  return static_cast<int>(std::clamp<long long>(resto, 0, INT_MAX));
}
