#include "puerto_con_ajustes.h"

#include "nombre_puerto.h"

using namespace almacen;

namespace comm {

bool PuertoConAjustes::SetCommPort(long numero) {
  if (PortOpen() || numero < 1 || numero > kUltimoPuerto) return false;
  commPort_ = numero;
  elegido_.clear();
  return true;
}

bool PuertoConAjustes::SetDispositivo(const std::string& dispositivo) {
  if (PortOpen()) return false;
  elegido_ = dispositivo;
  return true;
}

std::string PuertoConAjustes::DispositivoElegido() const {
  return elegido_.empty() ? NombrePorDefecto(commPort_) : elegido_;
}

bool PuertoConAjustes::SetSettings(const std::string& texto) {
  const std::optional<AjustesLinea> linea = LeerAjustesLinea(texto);
  if (!linea) return false;
  if (!AplicarLinea(*linea)) {
    AplicarLinea(linea_);
    return false;
  }
  linea_ = *linea;
  settings_ = texto;
  return true;
}

bool PuertoConAjustes::SetRTSEnable(bool alto) {
  rts_ = alto;
  return !PortOpen() || AplicarRts(alto);
}

}  // namespace comm
