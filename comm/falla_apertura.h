#pragma once

#include <string>

// Por qué no abrió un puerto serie; cada plataforma traduce sus errores a estas clases.
enum class FallaApertura { NoExiste, EnUso, Configuracion, Otra };

// El motivo en castellano, tal como lo devuelve ErrorApertura().
std::string MotivoFalla(FallaApertura falla);
