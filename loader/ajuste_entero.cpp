#include "ajuste_entero.h"

#include "numero.h"

long AjusteEntero(const Ajustes& ajustes, const std::string& seccion, const std::string& clave,
                  long defecto, long minimo, long maximo) {
  const std::optional<long> valor = EnteroDe(ajustes.LeerIni(seccion, clave, defecto));
  if (!valor || *valor < minimo || *valor > maximo) return defecto;
  return *valor;
}
