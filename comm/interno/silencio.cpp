#include "silencio.h"

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <limits>

#include "intercambio.h"

namespace comm {

namespace {

constexpr long long kBitsSilencio = 35;  // 3,5 caracteres de 10 bits

}  // namespace

std::chrono::microseconds TiempoEnLinea(long baudios, long long bits) {
  if (baudios <= 0) return std::chrono::microseconds::zero();
  return std::chrono::microseconds((bits * 1'000'000 + baudios - 1) / baudios);
}

void GuardarSilencio(Puerto& comm1) {
  comm1.Input();
  const long baudios = comm1.Baudios();
  if (baudios <= 0) return;
  const auto silencio = TiempoEnLinea(baudios, kBitsSilencio);
  const auto tope = comm1.Ahora() + kPlazoRespuesta;
  for (;;) {
    const auto libre = comm1.UltimaRecepcion() + silencio;
    const auto ahora = comm1.Ahora();
    if (ahora >= libre || ahora >= tope) return;
    // Sin bytes que esperar: Esperar hace de pausa que no procesa eventos.
    comm1.Esperar(std::numeric_limits<std::size_t>::max(), std::min(libre, tope));
    comm1.Input();
  }
}

}  // namespace comm
