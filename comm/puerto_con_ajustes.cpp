#include "puerto_con_ajustes.h"

#include "nombre_puerto.h"

bool PuertoConAjustes::SetCommPort(long numero) {
  if (PortOpen() || numero < 1 || numero > kUltimoPuerto) return false;
  commPort_ = numero;
  return true;
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
