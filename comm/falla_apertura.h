#pragma once

#include <string>

namespace comm {

// Por qué no abrió un puerto serie; cada plataforma traduce sus errores a estas clases. SinPermiso
// solo se da en Linux: en Windows un acceso denegado es un puerto en uso.
enum class FallaApertura { NoExiste, EnUso, SinPermiso, Configuracion, Otra };

// El motivo en castellano, tal como lo devuelve ErrorApertura().
std::string MotivoFalla(FallaApertura falla);

}  // namespace comm
