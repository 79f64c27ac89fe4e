#include "opciones.h"

#include <algorithm>
#include <set>

#include "enumerar.h"
#include "nombre_puerto.h"
#include "numero.h"
#include "peticion.h"
#include "velocidades.h"

using namespace almacen;
using namespace comm;

namespace ordenes {

namespace {

struct Fallo {
  std::string texto;
};

std::optional<long> Numero(const std::string& texto) {
  // Solo cifras: EnteroDe también acepta signos, y "-3" en una lista sería un rango.
  if (texto.empty() || texto.find_first_not_of("0123456789") != std::string::npos) return {};
  return EnteroDe(texto);
}

long IdDe(const std::string& texto, const std::string& lista) {
  const std::optional<long> id = Numero(texto);
  if (!id) throw Fallo{"Lista de ID inválida: " + lista + " (ejemplo: 1,3,5-8)"};
  if (*id > kUltimoId) {
    throw Fallo{"ID fuera de rango: " + texto + " (de 0 a " + std::to_string(kUltimoId) + ")"};
  }
  return *id;
}

// "1,3,5-8": cada ID una vez, en el orden dado. El simulador lee su --id con la misma regla.
std::vector<long> Ids(const std::string& lista) {
  std::vector<long> ids;
  std::set<long> vistos;
  std::size_t inicio = 0;
  while (inicio <= lista.size()) {
    std::size_t fin = std::min(lista.find(',', inicio), lista.size());
    const std::string parte = lista.substr(inicio, fin - inicio);
    const std::size_t guion = parte.find('-');
    const long desde = IdDe(parte.substr(0, guion), lista);
    const long hasta = guion == std::string::npos ? desde : IdDe(parte.substr(guion + 1), lista);
    if (hasta < desde) throw Fallo{"Rango de ID al revés: " + parte};
    for (long id = desde; id <= hasta; ++id) {
      if (vistos.insert(id).second) ids.push_back(id);
    }
    inicio = fin + 1;
  }
  return ids;
}

long Puerto(const std::string& texto) {
  const std::optional<long> puerto = Numero(texto);
  if (!puerto || *puerto < 1 || *puerto > kUltimoPuerto) {
    throw Fallo{"Puerto inválido: " + texto + " (de 1 a " + std::to_string(kUltimoPuerto) + ")"};
  }
  return *puerto;
}

long Baudios(const std::string& texto) {
  const auto* fin = std::end(kVelocidades);
  const auto* velocidad = std::find(std::begin(kVelocidades), fin, texto);
  if (velocidad == fin) {
    throw Fallo{"Velocidad inválida: " + texto + " (" +
                Enumerar({std::begin(kVelocidades), std::end(kVelocidades)}, "o") + ")"};
  }
  return velocidad - std::begin(kVelocidades);
}

// "2400,9600": cada velocidad una vez, en el orden dado.
std::vector<long> ListaBaudios(const std::string& lista) {
  std::vector<long> posiciones;
  std::size_t inicio = 0;
  while (inicio <= lista.size()) {
    const std::size_t fin = std::min(lista.find(',', inicio), lista.size());
    const long posicion = Baudios(lista.substr(inicio, fin - inicio));
    if (std::find(posiciones.begin(), posiciones.end(), posicion) == posiciones.end()) {
      posiciones.push_back(posicion);
    }
    inicio = fin + 1;
  }
  return posiciones;
}

void PonerTarea(Orden& orden, Tarea tarea) {
  if (orden.tarea != Tarea::Ninguna) {
    throw Fallo{"Pida una sola tarea: --subir, --leer, --conectar, --buscar o --puertos"};
  }
  orden.tarea = tarea;
}

// Lee las opciones de a una; cada opción vale una sola vez.
Orden Leer(const std::vector<std::string>& argumentos) {
  Orden orden;
  std::set<std::string> vistas;
  for (std::size_t i = 0; i < argumentos.size(); ++i) {
    const std::string& opcion = argumentos[i];
    auto valor = [&]() -> const std::string& {
      if (i + 1 >= argumentos.size()) throw Fallo{"Falta el valor de " + opcion};
      return argumentos[++i];
    };
    if (opcion.rfind("--", 0) == 0 && !vistas.insert(opcion).second) {
      throw Fallo{"Opción repetida: " + opcion};
    }
    if (opcion == "--subir") {
      PonerTarea(orden, Tarea::Subir);
      orden.archivo = valor();
    } else if (opcion == "--leer") {
      PonerTarea(orden, Tarea::Leer);
    } else if (opcion == "--conectar") {
      PonerTarea(orden, Tarea::Conectar);
    } else if (opcion == "--buscar") {
      PonerTarea(orden, Tarea::Buscar);
    } else if (opcion == "--puertos") {
      PonerTarea(orden, Tarea::Puertos);
    } else if (opcion == "--hex") {
      orden.hex = true;
    } else if (opcion == "--puerto") {
      orden.puerto = Puerto(valor());
    } else if (opcion == "--dispositivo") {
      orden.dispositivo = valor();
      if (orden.dispositivo.empty()) throw Fallo{"Falta el valor de --dispositivo"};
    } else if (opcion == "--baudios") {
      orden.baudios = ListaBaudios(valor());
    } else if (opcion == "--id") {
      orden.ids = Ids(valor());
    } else if (opcion == "--traza") {
      orden.traza = true;
    } else {
      throw Fallo{"Opción desconocida: " + opcion + " (vea --ayuda)"};
    }
  }
  if (orden.tarea == Tarea::Ninguna) {
    throw Fallo{
        "Falta la tarea: --subir ARCHIVO, --leer, --conectar, --buscar o --puertos (vea --ayuda)"};
  }
  if (orden.baudios.size() > 1 && orden.tarea != Tarea::Buscar) {
    throw Fallo{"Varias velocidades solo con --buscar"};
  }
  // Al ID 0 contestaría cualquiera, o nadie: no dice quién está.
  if (orden.tarea == Tarea::Buscar && std::count(orden.ids.begin(), orden.ids.end(), 0) > 0) {
    throw Fallo{"--buscar prueba los ID de 1 a 255; el 0 es el de difusión"};
  }
  if (orden.hex && orden.tarea != Tarea::Leer) throw Fallo{"--hex solo se usa con --leer"};
  if (orden.puerto && !orden.dispositivo.empty()) {
    throw Fallo{"Use --puerto o --dispositivo, no los dos"};
  }
  return orden;
}

}  // namespace

LecturaOrden LeerOrden(const std::vector<std::string>& argumentos) {
  const bool ayuda = std::any_of(argumentos.begin(), argumentos.end(), [](const std::string& a) {
    return a == "--ayuda" || a == "--help";
  });
  if (ayuda) {
    LecturaOrden lectura;
    lectura.orden.tarea = Tarea::Ayuda;
    return lectura;
  }
  try {
    return {Leer(argumentos), ""};
  } catch (const Fallo& fallo) {
    return {Orden{}, fallo.texto};
  }
}

}  // namespace ordenes
