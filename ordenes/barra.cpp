#include "barra.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace ordenes {

namespace {

constexpr int kMarcas = 30;

}  // namespace

void Barra::Mostrar(const std::string& etiqueta, float valor) {
  if (!terminal_) return;
  const long porcentaje = std::lround(std::clamp(valor, 0.0f, 100.0f));
  const long llenas = porcentaje * kMarcas / 100;
  const std::string renglon = etiqueta + " [" + std::string(llenas, '#') +
                              std::string(kMarcas - llenas, '.') + "] " +
                              std::to_string(porcentaje) + " %";
  salida_ << '\r' << renglon << std::flush;
  ancho_ = std::max(ancho_, renglon.size());
}

void Barra::Borrar() {
  if (!terminal_ || ancho_ == 0) return;
  salida_ << '\r' << std::string(ancho_, ' ') << '\r' << std::flush;
  ancho_ = 0;
}

bool ErroresEnTerminal() {
#ifdef _WIN32
  return _isatty(_fileno(stderr)) != 0;
#else
  return isatty(STDERR_FILENO) != 0;
#endif
}

}  // namespace ordenes
