#include "buscar.h"

#include <chrono>
#include <iomanip>
#include <sstream>
#include <string>
#include <utility>

#include "barra.h"
#include "busqueda.h"
#include "enumerar.h"
#include "velocidades.h"

using namespace almacen;
using namespace comm;

namespace ordenes {

namespace {

// Sin --id, todas las direcciones de esclavo de Modbus.
constexpr long kPrimerId = 1;
constexpr long kUltimoEsclavo = 247;

long Baudios(long posicion) {
  return std::stol(kVelocidades[posicion]);
}

// Sin --baudios, las de la lista de la ventana.
PlanBusqueda Plan(const Orden& orden) {
  PlanBusqueda plan;
  for (const long posicion : orden.baudios) plan.velocidades.push_back(Baudios(posicion));
  if (plan.velocidades.empty()) {
    for (long posicion = 0; posicion < kVelocidadesVentana; ++posicion) {
      plan.velocidades.push_back(Baudios(posicion));
    }
  }
  plan.ids = orden.ids;
  if (plan.ids.empty()) {
    for (long id = kPrimerId; id <= kUltimoEsclavo; ++id) plan.ids.push_back(id);
  }
  return plan;
}

// "1200, 2400 y 9600"
std::string EnumerarNumeros(const std::vector<long>& numeros) {
  std::vector<std::string> textos;
  textos.reserve(numeros.size());
  for (long numero : numeros) textos.push_back(std::to_string(numero));
  return Enumerar(textos, "y");
}

std::string Segundos(std::chrono::steady_clock::duration tiempo) {
  std::ostringstream texto;
  texto << std::fixed << std::setprecision(1) << std::chrono::duration<double>(tiempo).count();
  std::string coma = texto.str();
  coma.replace(coma.find('.'), 1, ",");
  return coma + " s";
}

// Una línea de opciones por velocidad, con todos los ID que contestaron a ella.
void Usarlos(const ResultadoBusqueda& resultado, const std::string& comoPuerto,
             std::ostream& errores) {
  for (const long baudios : resultado.barridas) {
    std::string ids;
    int cuantos = 0;
    for (const Hallazgo& h : resultado.hallados) {
      if (h.baudios != baudios) continue;
      ids += (cuantos++ == 0 ? "" : ",") + std::to_string(h.id);
    }
    if (cuantos == 0) continue;
    errores << (cuantos == 1 ? "Para usarlo: " : "Para usarlos: ") << comoPuerto << " --baudios "
            << baudios << " --id " << ids << '\n';
  }
}

void Resumir(const ResultadoBusqueda& resultado, const PlanBusqueda& plan,
             const std::string& comoPuerto, std::chrono::steady_clock::duration tiempo,
             std::ostream& errores) {
  if (resultado.oyenOrden.empty()) {
    errores << "Nadie contestó la orden M: se probó cada ID a cada velocidad.\n";
  } else {
    errores << "La orden M contestó a " << EnumerarNumeros(resultado.oyenOrden)
            << " baudios: se probaron los ID solo allí.\n";
  }
  const std::size_t hallados = resultado.hallados.size();
  if (hallados == 0) {
    errores << "Ningún indicador contestó (" << plan.ids.size() << " ID a "
            << EnumerarNumeros(resultado.barridas) << " baudios), en " << Segundos(tiempo) << ".\n";
    return;
  }
  errores << (hallados == 1 ? "Contestó 1 indicador"
                            : "Contestaron " + std::to_string(hallados) + " indicadores")
          << ", en " << Segundos(tiempo) << ".\n";
  Usarlos(resultado, comoPuerto, errores);
}

}  // namespace

int CorrerBusqueda(const Orden& orden, const std::string& comoPuerto, PuertoControl& puerto,
                   Traza* traza, EcoDelPuerto eco, const Consola& consola) {
  const PlanBusqueda plan = Plan(orden);
  Barra barra(consola.errores, consola.terminal);
  AvisosBusqueda avisos;
  avisos.progreso = [&](const std::string& etiqueta, float valor) {
    barra.Mostrar(etiqueta, valor);
  };
  avisos.hallado = [&](const Hallazgo& hallazgo) {
    barra.Borrar();  // en una terminal, la línea no cae en medio de la barra
    consola.salida << "ID " << hallazgo.id << " a " << hallazgo.baudios << " baudios\n"
                   << std::flush;
  };
  const auto inicio = puerto.Ahora();
  const ResultadoBusqueda resultado = Buscar(puerto, plan, traza, std::move(eco), avisos);
  barra.Borrar();
  Resumir(resultado, plan, comoPuerto, puerto.Ahora() - inicio, consola.errores);
  return resultado.hallados.empty() ? 1 : 0;
}

}  // namespace ordenes
