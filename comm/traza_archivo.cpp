#include "traza_archivo.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <system_error>
#include <utility>

#include "ajustes.h"

using namespace almacen;

namespace comm {

namespace {

// "2026-12-07 15:50:01.123 ": hora local al milisegundo.
std::string Hora() {
  const auto ahora = std::chrono::system_clock::now();
  const std::time_t segundos = std::chrono::system_clock::to_time_t(ahora);
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(ahora.time_since_epoch()).count() %
      1000;
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &segundos);
#else
  localtime_r(&segundos, &local);
#endif
  char texto[32];
  const std::size_t largo = std::strftime(texto, sizeof texto, "%Y-%m-%d %H:%M:%S", &local);
  char milesimas[8];
  std::snprintf(milesimas, sizeof milesimas, ".%03d ", static_cast<int>(ms));
  return std::string(texto, largo) + milesimas;
}

}  // namespace

TrazaArchivo::TrazaArchivo(std::filesystem::path archivo) : archivo_(std::move(archivo)) {}

void TrazaArchivo::Anotar(const std::string& suceso) {
  const std::string renglon = Hora() + suceso + "\n";
  Rotar(renglon.size());
  // Se abre y se cierra en cada línea: lo anotado queda en disco aunque el programa caiga.
  std::ofstream(archivo_, std::ios::binary | std::ios::app) << renglon;
}

void TrazaArchivo::Rotar(std::uintmax_t renglon) {
  std::error_code error;
  const std::uintmax_t tamano = std::filesystem::file_size(archivo_, error);
  if (error || tamano + renglon <= kTopeTraza) return;
  std::filesystem::path viejo = archivo_;
  viejo += ".1";
  // Se borra antes: no en todos los sistemas rename reemplaza el destino.
  std::filesystem::remove(viejo, error);
  std::filesystem::rename(archivo_, viejo, error);
}

std::unique_ptr<Traza> AbrirTraza(const Ajustes& ajustes, bool porOpcion) {
  if (!porOpcion && ajustes.LeerIni("Diagnostico", "Traza", "0") != "1") return nullptr;
  return std::make_unique<TrazaArchivo>(ajustes.Carpeta() / "Brun_Kqt.log");
}

}  // namespace comm
