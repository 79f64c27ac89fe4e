#include "ajuste_entero.h"

#include "numero.h"

using namespace almacen;

namespace carga {

long AjusteEntero(const Ajustes& ajustes, const std::string& seccion, const std::string& clave,
                  long defecto, long minimo, long maximo) {
  const std::optional<long> valor = EnteroDe(ajustes.LeerIni(seccion, clave, defecto));
  if (!valor || *valor < minimo || *valor > maximo) return defecto;
  return *valor;
}

}  // namespace carga
