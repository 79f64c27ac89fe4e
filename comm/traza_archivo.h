#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "ajustes.h"
#include "traza.h"

namespace comm {

// La traza en un archivo: cada suceso es una línea con la hora local al milisegundo. Pasado
// kTopeTraza el archivo pasa a llamarse <archivo>.1 (el anterior se pierde) y empieza otro.
// Un archivo que no se puede escribir pierde la línea sin más.
class TrazaArchivo : public Traza {
 public:
  static constexpr std::uintmax_t kTopeTraza = std::uintmax_t{1024} * 1024;

  explicit TrazaArchivo(std::filesystem::path archivo);
  void Anotar(const std::string& suceso) override;

 private:
  void Rotar(std::uintmax_t renglon);

  std::filesystem::path archivo_;
};

// La traza "Brun_Kqt.log", junto al archivo de ajustes, si la pide la opción --traza
// (`porOpcion`) o el ajuste [Diagnostico] Traza = 1; si no, nada.
std::unique_ptr<Traza> AbrirTraza(const almacen::Ajustes& ajustes, bool porOpcion);

}  // namespace comm
