// Lector y escritor de INI sobre bytes, sin disco. La entrada da el archivo inicial y luego una
// serie de lecturas y escrituras con sección, clave y valor sacados de ella misma (a veces
// nombres de los que usa el programa, para que coincidan).

#include "ini.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "exigir.h"
#include "nombres.h"

using namespace almacen;

namespace {

constexpr std::size_t kArchivoMaximo = 8192;
constexpr std::size_t kSondasMaximas = 8;
const std::string kBom = "\xEF\xBB\xBF";

const char* const kNombres[] = {"Global", "global", " GLOBAL\t", "Comm", "comm", "Baudios",
                                "ID_1",   "Setup",  "1",         "[x]",  "",     "\"a\""};

std::string Nombre(FuzzedDataProvider& datos) {
  if (datos.ConsumeBool()) {
    return kNombres[datos.ConsumeIntegralInRange<std::size_t>(0, std::size(kNombres) - 1)];
  }
  return datos.ConsumeRandomLengthString(16);
}

std::string_view SinBlancos(std::string_view texto) {
  const std::size_t primero = texto.find_first_not_of(" \t");
  if (primero == std::string_view::npos) return {};
  return texto.substr(primero, texto.find_last_not_of(" \t") - primero + 1);
}

bool MismoNombre(std::string_view a, std::string_view b) {
  return IgualesSinMayusculas(SinBlancos(a), SinBlancos(b));
}

struct Linea {
  std::string texto;
  std::string fin;  // "\r\n", "\r", "\n" o nada en la última
};

std::vector<Linea> Lineas(const std::string& archivo) {
  std::vector<Linea> lineas;
  std::size_t inicio = 0;
  while (inicio < archivo.size()) {
    const std::size_t fin = std::min(archivo.find_first_of("\r\n", inicio), archivo.size());
    const std::size_t largoFin =
        archivo.compare(fin, 2, "\r\n") == 0 ? 2 : (fin < archivo.size() ? 1 : 0);
    lineas.push_back({archivo.substr(inicio, fin - inicio), archivo.substr(fin, largoFin)});
    inicio = fin + largoFin;
  }
  return lineas;
}

struct Sonda {
  std::string seccion, clave;
};

// Secciones y claves que aparecen en el archivo, de forma ingenua: sirven solo de preguntas.
std::vector<Sonda> Sondas(const std::string& archivo, const std::string& seccion,
                          const std::string& clave) {
  std::vector<std::string> secciones{seccion};
  std::vector<std::string> claves{clave};
  for (const Linea& linea : Lineas(archivo)) {
    const std::size_t abre = linea.texto.find('[');
    const std::size_t cierra = linea.texto.rfind(']');
    if (abre != std::string::npos && cierra != std::string::npos && abre < cierra) {
      secciones.push_back(linea.texto.substr(abre + 1, cierra - abre - 1));
    }
    const std::size_t igual = linea.texto.find('=');
    if (igual != std::string::npos) claves.push_back(linea.texto.substr(0, igual));
  }
  secciones.resize(std::min(secciones.size(), kSondasMaximas));
  claves.resize(std::min(claves.size(), kSondasMaximas));
  std::vector<Sonda> sondas;
  for (const std::string& s : secciones) {
    for (const std::string& c : claves) sondas.push_back({s, c});
  }
  return sondas;
}

// El fin de las líneas que agrega el escritor: LF si así termina la primera del archivo.
std::string FinDelArchivo(const std::vector<Linea>& lineas) {
  for (const Linea& linea : lineas) {
    if (!linea.fin.empty()) return linea.fin == "\n" ? "\n" : "\r\n";
  }
  return "\r\n";
}

bool EsLineaDeClave(const Linea& linea, const std::string& fin) {
  return linea.fin == fin && linea.texto.find('=') != std::string::npos;
}

struct Cambio {
  std::vector<Linea> quitadas, puestas;
};

// Las líneas que difieren entre dos archivos, fuera del prefijo y el sufijo comunes.
Cambio Diferencia(const std::vector<Linea>& viejas, const std::vector<Linea>& nuevas) {
  auto iguales = [](const Linea& a, const Linea& b) {
    return a.texto == b.texto && a.fin == b.fin;
  };
  const std::size_t comunes = std::min(viejas.size(), nuevas.size());
  std::size_t prefijo = 0;
  while (prefijo < comunes && iguales(viejas[prefijo], nuevas[prefijo])) ++prefijo;
  std::size_t sufijo = 0;
  while (sufijo < comunes - prefijo &&
         iguales(viejas[viejas.size() - 1 - sufijo], nuevas[nuevas.size() - 1 - sufijo])) {
    ++sufijo;
  }
  return {{viejas.begin() + prefijo, viejas.end() - sufijo},
          {nuevas.begin() + prefijo, nuevas.end() - sufijo}};
}

// El archivo nuevo es el viejo con una sola línea de clave cambiada en su sitio (con su mismo fin
// de línea), o con una línea de clave agregada, o con una sección y su clave agregadas; a la
// última línea vieja, si no tenía fin de línea, se le puede agregar uno. Lo agregado termina en LF
// si así termina la primera línea del archivo, si no en CR LF. La marca de orden de bytes inicial
// se queda.
bool CambioMinimo(std::string antes, std::string despues) {
  if (antes.rfind(kBom, 0) == 0) {
    if (despues.rfind(kBom, 0) != 0) return false;
    antes.erase(0, kBom.size());
    despues.erase(0, kBom.size());
  }
  const std::vector<Linea> viejas = Lineas(antes);
  const std::string fin = FinDelArchivo(viejas);
  auto [quitadas, puestas] = Diferencia(viejas, Lineas(despues));
  const bool cerrada = !quitadas.empty() && !puestas.empty() && quitadas[0].fin.empty() &&
                       quitadas[0].texto == puestas[0].texto && puestas[0].fin == fin;
  if (cerrada) {
    quitadas.erase(quitadas.begin());
    puestas.erase(puestas.begin());
  }
  if (puestas.empty()) return quitadas.empty();
  if (quitadas.size() > 1) return false;
  if (quitadas.size() == 1) {
    const std::string& suFin = quitadas[0].fin.empty() ? fin : quitadas[0].fin;
    return puestas.size() == 1 && EsLineaDeClave(puestas[0], suFin) &&
           quitadas[0].texto.find('=') != std::string::npos;
  }
  if (!EsLineaDeClave(puestas.back(), fin)) return false;
  return puestas.size() == 1 || (puestas.size() == 2 && puestas[0].fin == fin &&
                                 SinBlancos(puestas[0].texto).substr(0, 1) == "[");
}

bool SinSaltos(const std::string& texto) {
  return texto.find_first_of("\r\n") == std::string::npos;
}

// Lectura: volver a escribir el valor leído no cambia ninguna lectura del archivo.
void Leer(const std::string& archivo, const std::string& seccion, const std::string& clave) {
  const std::optional<std::string> valor = ValorIni(archivo, seccion, clave);
  if (!valor) return;
  Exigir(SinSaltos(*valor), "un valor leído no tiene fin de línea");
  const std::optional<std::string> reescrito = ConValorIni(archivo, seccion, clave, *valor);
  if (!reescrito) return;
  for (const Sonda& sonda : Sondas(archivo, seccion, clave)) {
    Exigir(ValorIni(*reescrito, sonda.seccion, sonda.clave) ==
               ValorIni(archivo, sonda.seccion, sonda.clave),
           "reescribir lo leído no cambia ninguna lectura");
  }
}

std::string Escribir(const std::string& archivo, const std::string& seccion,
                     const std::string& clave, const std::string& valor) {
  const std::optional<std::string> nuevo = ConValorIni(archivo, seccion, clave, valor);
  const bool escribible = SinSaltos(seccion + clave + valor) &&
                          clave.find('=') == std::string::npos &&
                          SinBlancos(clave).substr(0, 1) != "[";
  Exigir(nuevo.has_value() || !escribible, "una escritura corriente no se rechaza");
  if (!nuevo) return archivo;

  Exigir(ValorIni(*nuevo, seccion, clave) == valor, "lo escrito se lee tal cual");
  Exigir(CambioMinimo(archivo, *nuevo), "solo cambia o se agrega la línea de esa clave");
  for (const Sonda& sonda : Sondas(archivo, seccion, clave)) {
    if (MismoNombre(sonda.seccion, seccion) && MismoNombre(sonda.clave, clave)) continue;
    Exigir(ValorIni(*nuevo, sonda.seccion, sonda.clave) ==
               ValorIni(archivo, sonda.seccion, sonda.clave),
           "las demás claves conservan su valor");
  }
  return *nuevo;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider datos(data, size);
  std::string archivo = datos.ConsumeRandomLengthString(2048);
  while (datos.remaining_bytes() > 0 && archivo.size() < kArchivoMaximo) {
    const bool esLectura = datos.ConsumeBool();
    const std::string seccion = Nombre(datos);
    const std::string clave = Nombre(datos);
    if (esLectura) {
      Leer(archivo, seccion, clave);
    } else {
      archivo = Escribir(archivo, seccion, clave, datos.ConsumeRandomLengthString(64));
    }
  }
  return 0;
}
