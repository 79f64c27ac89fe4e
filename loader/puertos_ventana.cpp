#include "puertos_ventana.h"

#include <algorithm>
#include <system_error>

using namespace almacen;
using namespace comm;

namespace carga {

namespace {

constexpr long kPuertosSiempre = 8;

// Por el mismo nombre o porque llevan al mismo dispositivo (/dev/ttyUSB0 y su nombre estable).
bool MismoDispositivo(const std::string& a, const std::string& b) {
  std::error_code ec;
  return a == b || std::filesystem::equivalent(a, b, ec);
}

// Un adaptador ya nombrado en [Puertos], por su nombre estable o por el dispositivo al que
// lleva (una clave escrita a mano con /dev/ttyUSB0).
bool Nombrado(const std::string& adaptador, const std::map<long, std::string>& asignados) {
  return std::any_of(asignados.begin(), asignados.end(), [&](const auto& asignado) {
    return MismoDispositivo(asignado.second, adaptador);
  });
}

}  // namespace

std::vector<std::string> AdaptadoresEn(const std::filesystem::path& carpeta) {
  std::vector<std::string> adaptadores;
  std::error_code ec;
  for (const auto& entrada : std::filesystem::directory_iterator(carpeta, ec))
    adaptadores.push_back(entrada.path().string());
  std::sort(adaptadores.begin(), adaptadores.end());
  return adaptadores;
}

std::string NombreEstable(const std::string& dispositivo,
                          const std::vector<std::string>& adaptadores) {
  const auto estable = std::find_if(
      adaptadores.begin(), adaptadores.end(),
      [&](const std::string& adaptador) { return MismoDispositivo(adaptador, dispositivo); });
  return estable == adaptadores.end() ? dispositivo : *estable;
}

PuertosVentana ArmarPuertos(const PuertosPc& pc, long guardado, const MapaPuertos& mapa) {
  std::map<long, std::string> asignados;
  for (long n = 1; n <= kUltimoPuerto; ++n) {
    if (std::optional<std::string> dispositivo = mapa.Asignado(n)) {
      asignados.emplace(n, std::move(*dispositivo));
    }
  }
  // Tampoco el guardado en "Comm": la elección de antes sigue siendo el mismo dispositivo.
  long ultimo = std::clamp(
      std::max({kPuertosSiempre, guardado, asignados.empty() ? 0 : asignados.rbegin()->first}), 1L,
      kUltimoPuerto);

  PuertosVentana puertos;
  for (const std::string& adaptador : pc.adaptadores) {
    if (Nombrado(adaptador, asignados) || ultimo == kUltimoPuerto) continue;
    puertos.nuevos.emplace(++ultimo, adaptador);
  }
  for (long numero : pc.numeros) ultimo = std::clamp(numero, ultimo, kUltimoPuerto);
  for (long n = 1; n <= ultimo; ++n) puertos.nombres.push_back("Com" + std::to_string(n));
  return puertos;
}

}  // namespace carga
