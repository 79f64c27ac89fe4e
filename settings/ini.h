#pragma once

#include <optional>
#include <string>

namespace almacen {

// Texto INI tratado como bytes: encabezados "[sección]" y líneas "clave=valor", con fin de línea
// CR LF, LF o CR. Secciones y claves coinciden sin importar mayúsculas ASCII ni blancos o
// tabuladores alrededor; solo cuentan la primera sección de un nombre y, en ella, la primera
// clave de un nombre. Las líneas antes del primer encabezado no son de ninguna sección.

// El valor de `clave` en `seccion`, sin los blancos o tabuladores de alrededor y sin un par de
// comillas iguales que lo encierren entero; nada si falta la sección o la clave.
std::optional<std::string> ValorIni(const std::string& texto, const std::string& seccion,
                                    const std::string& clave);

// `texto` con `valor` guardado en `clave` de `seccion`: la línea de una clave existente se
// reescribe en su sitio, una clave nueva va tras la última línea no en blanco de su sección, una
// sección nueva va al final. Las líneas nuevas terminan en LF si así termina la primera del
// archivo, y si no en CR LF; el resto queda byte a byte, y una clave que ya se lee como `valor`
// deja el texto igual. Nada si los nombres o el valor no se leerían tal cual (un fin de línea
// en cualquiera, "=" en la clave, una clave que se leería como encabezado).
std::optional<std::string> ConValorIni(const std::string& texto, const std::string& seccion,
                                       const std::string& clave, const std::string& valor);

}  // namespace almacen
