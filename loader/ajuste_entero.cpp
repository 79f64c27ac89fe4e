#include "ajuste_entero.h"

#include "ajustes.h"
#include "numero.h"

long AjusteEntero(const std::string& seccion, const std::string& clave, long defecto, long minimo,
                  long maximo) {
  const std::optional<long> valor = EnteroDe(LeerIni(seccion, clave, defecto));
  if (!valor || *valor < minimo || *valor > maximo) return defecto;
  return *valor;
}
