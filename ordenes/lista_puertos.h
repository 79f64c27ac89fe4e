#pragma once

#include <ostream>
#include <vector>

#include "consola.h"
#include "nombre_puerto.h"

namespace ordenes {

// Una línea por puerto del sistema: su dispositivo, su descripción y el "Com<N>" que es para el
// programa; fuera de Windows, también la línea de [Puertos] que lo hace así.
void ListarPuertos(const std::vector<PuertoDelSistema>& puertos, const comm::MapaPuertos& mapa,
                   std::ostream& salida);

}  // namespace ordenes
