#include "silencio.h"

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <limits>

#include "intercambio.h"

namespace {

// 3,5 caracteres de 10 bits a `baudios`, redondeado hacia arriba al microsegundo.
std::chrono::microseconds Silencio(long baudios) {
  constexpr long kMicrosPorBaudio = 35'000'000;  // 3,5 × 10 bits × 1 s
  return std::chrono::microseconds(kMicrosPorBaudio / baudios +
                                   (kMicrosPorBaudio % baudios != 0 ? 1 : 0));
}

}  // namespace

void GuardarSilencio(Puerto& comm1) {
  comm1.Input();
  const long baudios = comm1.Baudios();
  if (baudios <= 0) return;
  const auto silencio = Silencio(baudios);
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
