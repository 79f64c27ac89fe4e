#include "lista_puertos.h"

#include <algorithm>
#include <iomanip>
#include <set>

using namespace almacen;
using namespace comm;

namespace ordenes {

namespace {

// En Windows el número sale del nombre COM<N>; en los demás sistemas, de [Puertos].
#ifdef _WIN32
constexpr bool kSeccionPuertos = false;
#else
constexpr bool kSeccionPuertos = true;
#endif

// El número cuyo nombre es ese dispositivo, o 0.
long NumeroDe(const std::vector<std::string>& nombres, const std::string& dispositivo) {
  const auto hallado = std::find(nombres.begin(), nombres.end(), dispositivo);
  return hallado == nombres.end() ? 0 : static_cast<long>(hallado - nombres.begin()) + 1;
}

// El primer número libre para una línea nueva: sin clave en [Puertos], sin un dispositivo del
// sistema detrás y no propuesto ya a otro puerto.
long NumeroLibre(const std::vector<std::string>& nombres, const MapaPuertos& mapa,
                 const std::vector<PuertoDelSistema>& puertos, std::set<long>& propuestos) {
  for (long n = 1; n <= kUltimoPuerto; ++n) {
    const bool ocupado =
        mapa.Asignado(n) || propuestos.count(n) != 0 ||
        std::any_of(puertos.begin(), puertos.end(),
                    [&](const PuertoDelSistema& p) { return p.dispositivo == nombres[n - 1]; });
    if (!ocupado) {
      propuestos.insert(n);
      return n;
    }
  }
  return 0;
}

std::string Comentario(long numero, const std::string& dispositivo, bool nuevo,
                       const MapaPuertos& mapa) {
  if (!kSeccionPuertos) return "";
  const std::string renglon = "Com" + std::to_string(numero) + "=" + dispositivo + ".";
  if (nuevo) return "agregue a [Puertos] en Brun_Kqt.ini: " + renglon;
  if (mapa.Asignado(numero)) return "por [Puertos] en Brun_Kqt.ini: " + renglon;
  return "sin línea en [Puertos]: nombre por defecto";
}

}  // namespace

void ListarPuertos(const std::vector<PuertoDelSistema>& puertos, const MapaPuertos& mapa,
                   std::ostream& salida) {
  if (puertos.empty()) {
    salida << "No se encontraron puertos serie.\n";
    return;
  }
  // El archivo de ajustes se lee una vez por número, no una por puerto y número.
  std::vector<std::string> nombres;
  for (long n = 1; n <= kUltimoPuerto; ++n) nombres.push_back(mapa.Dispositivo(n));

  std::set<long> propuestos;
  for (const PuertoDelSistema& puerto : puertos) {
    long numero = NumeroDe(nombres, puerto.dispositivo);
    const bool nuevo = numero == 0;
    if (nuevo && kSeccionPuertos) numero = NumeroLibre(nombres, mapa, puertos, propuestos);
    const std::string descripcion =
        puerto.descripcion.empty() ? "(sin descripción)" : puerto.descripcion;
    salida << std::left << std::setw(16) << puerto.dispositivo << ' ' << std::setw(6)
           << (numero == 0 ? "-" : "Com" + std::to_string(numero)) << ' ' << descripcion;
    if (numero != 0) {
      const std::string comentario = Comentario(numero, puerto.dispositivo, nuevo, mapa);
      if (!comentario.empty()) salida << "  (" << comentario << ")";
    }
    salida << '\n';
  }
}

}  // namespace ordenes
