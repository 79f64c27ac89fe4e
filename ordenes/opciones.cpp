#include "opciones.h"

#include <algorithm>
#include <set>

#include "numero.h"
#include "peticion.h"
#include "velocidades.h"

namespace {

constexpr long kUltimoPuerto = 255;

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
    throw Fallo{"Puerto inválido: " + texto + " (de 1 a 255)"};
  }
  return *puerto;
}

long Baudios(const std::string& texto) {
  const auto* fin = std::end(kVelocidades);
  const auto* velocidad = std::find(std::begin(kVelocidades), fin, texto);
  if (velocidad == fin) {
    throw Fallo{"Velocidad inválida: " + texto + " (1200, 2400, 4800, 9600 o 19200)"};
  }
  return velocidad - std::begin(kVelocidades);
}

void PonerTarea(Orden& orden, Tarea tarea) {
  if (orden.tarea != Tarea::Ninguna) {
    throw Fallo{"Pida una sola tarea: --subir, --leer, --conectar o --puertos"};
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
      orden.baudios = Baudios(valor());
    } else if (opcion == "--id") {
      orden.ids = Ids(valor());
    } else if (opcion == "--traza") {
      orden.traza = true;
    } else {
      throw Fallo{"Opción desconocida: " + opcion + " (vea --ayuda)"};
    }
  }
  if (orden.tarea == Tarea::Ninguna) {
    throw Fallo{"Falta la tarea: --subir ARCHIVO, --leer, --conectar o --puertos (vea --ayuda)"};
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
