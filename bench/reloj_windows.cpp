// Lo que duran las esperas cortas del programa de Windows en esta PC: el silencio de 3,5
// caracteres a 9600 baudios y un plazo de 5 ms sin respuesta, con el puerto cerrado (el reloj de
// Windows de fábrica, 15,6 ms) y abierto (el puerto pide el de 1 ms). Una fila por espera para
// la tabla de scripts/bench; necesita un COM1 que abra.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "plazo.h"
#include "puerto_serie_win.h"

using namespace comm;

namespace {

using Reloj = Puerto::Reloj;
constexpr int kVeces = 20;
constexpr auto kSilencio = std::chrono::microseconds(3646);  // 3,5 caracteres a 9600 8N1
constexpr auto kPlazo = std::chrono::milliseconds(5);

double MedianaMs(const std::function<void()>& espera) {
  std::vector<double> ms;
  for (int i = 0; i < kVeces; ++i) {
    const auto inicio = Reloj::now();
    espera();
    ms.push_back(std::chrono::duration<double, std::milli>(Reloj::now() - inicio).count());
  }
  std::sort(ms.begin(), ms.end());
  return ms[ms.size() / 2];
}

void Fila(const char* nombre, double pedidaMs, double cerradoMs, double abiertoMs) {
  char cifras[80];
  std::snprintf(cifras, sizeof cifras, "%.2f ms cerrado, %.2f ms abierto (mediana)", cerradoMs,
                abiertoMs);
  char objetivo[16];
  std::snprintf(objetivo, sizeof objetivo, "<= %.1f ms", pedidaMs + 1);
  std::printf("%-50s | %-42s | %-9s | %s\n", nombre, cifras, objetivo,
              abiertoMs <= pedidaMs + 1 ? "si" : "NO");
}

}  // namespace

int main() {
  PuertoSerieWin puerto;
  puerto.SetCommPort(1);
  auto silencio = [] { DormirHasta(Reloj::now() + kSilencio); };
  auto plazo = [&puerto] { puerto.Esperar(1, Reloj::now() + kPlazo); };
  const double silencioCerrado = MedianaMs(silencio);
  const double plazoCerrado = MedianaMs(plazo);
  if (!puerto.SetPortOpen(true)) {
    std::fprintf(stderr, "reloj_windows: COM1 no abre\n");
    return 1;
  }
  Fila("Win32: silencio de 3,5 caracteres (3,65 ms)", 3.65, silencioCerrado, MedianaMs(silencio));
  Fila("Win32: plazo de 5 ms sin respuesta", 5, plazoCerrado, MedianaMs(plazo));
  return 0;
}
