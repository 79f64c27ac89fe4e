#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "opciones_simulador.h"
#include "receptor.h"

namespace simulador {

// Las averías que se piden con las opciones: escrituras que el indicador desvía, y respuestas
// perdidas, corrompidas, de otro ID, cortadas, rodeadas de basura o precedidas de un eco viejo.
class Fallas {
 public:
  explicit Fallas(const Opciones& opciones);

  // La petición tal como la entiende el indicador averiado: una escritura puede ir a otro
  // valor o a otro registro (y su eco lo dirá), o no guardarse.
  Peticion Desviar(Peticion peticion);

  // Las escrituras que se contestaron sin guardar.
  long Ignoradas() const { return ignoradas_; }

  // Lo que sale al bus por la petición número `numero` (desde 1) cuya respuesta sana es
  // `respuesta`: las tramas que salen, una pausa entre cada dos; nada si no se contesta.
  std::vector<std::string> Aplicar(long numero, Clase clase, std::string respuesta);

 private:
  bool Pierde(long numero) const;
  std::string EcoViejo(const std::string& eco);
  std::string Basura(long cantidad);

  const Opciones& opciones_;
  // Cuántas veces se dio ocasión a cada avería de "una de cada K".
  long escrituras_ = 0;
  long respuestas_modbus_ = 0;  // enviadas
  long ecos_ = 0;               // ecos de escritura enviados
  long ignoradas_ = 0;
  std::string ultimo_eco_;
  uint32_t azar_ = 0x9E3779B9;
};

}  // namespace simulador
