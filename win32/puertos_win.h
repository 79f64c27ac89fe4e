#pragma once

#include <vector>

#include "consola.h"

// Los puertos COM de esta PC, con el nombre amigable que les da el administrador de dispositivos.
std::vector<ordenes::PuertoDelSistema> PuertosDelSistema();
