#include "ini.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "nombres.h"

namespace almacen {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kBlancos = " \t";

struct Linea {
  std::string_view texto;  // sin su fin de línea
  std::size_t inicio;      // dónde empieza en el archivo
  std::size_t siguiente;   // dónde empieza la próxima: pasado el fin de línea, si lo hay

  std::string_view Fin() const {
    return {texto.data() + texto.size(), siguiente - inicio - texto.size()};
  }
};

std::vector<Linea> Lineas(std::string_view archivo) {
  std::vector<Linea> lineas;
  std::size_t inicio = archivo.substr(0, kBom.size()) == kBom ? kBom.size() : 0;
  while (inicio < archivo.size()) {
    std::size_t fin = std::min(archivo.find_first_of("\r\n", inicio), archivo.size());
    std::size_t siguiente = fin;
    if (archivo.compare(fin, 2, "\r\n") == 0) {
      siguiente += 2;
    } else if (fin < archivo.size()) {
      siguiente += 1;
    }
    lineas.push_back({archivo.substr(inicio, fin - inicio), inicio, siguiente});
    inicio = siguiente;
  }
  return lineas;
}

std::string_view SinBlancos(std::string_view texto) {
  std::size_t primero = texto.find_first_not_of(kBlancos);
  if (primero == std::string_view::npos) return {};
  return texto.substr(primero, texto.find_last_not_of(kBlancos) - primero + 1);
}

std::string_view SinComillas(std::string_view texto) {
  bool entreComillas = texto.size() >= 2 && texto.front() == texto.back() &&
                       (texto.front() == '"' || texto.front() == '\'');
  return entreComillas ? texto.substr(1, texto.size() - 2) : texto;
}

// Lo que se lee de un valor escrito a mano.
std::string_view Leido(std::string_view valor) {
  return SinComillas(SinBlancos(valor));
}

bool MismoNombre(std::string_view a, std::string_view b) {
  return IgualesSinMayusculas(SinBlancos(a), SinBlancos(b));
}

// El nombre entre "[" y el último "]" de un encabezado; nada en cualquier otra línea.
std::optional<std::string_view> Encabezado(std::string_view linea) {
  linea = SinBlancos(linea);
  std::size_t cierre = linea.rfind(']');
  if (linea.empty() || linea.front() != '[' || cierre == std::string_view::npos) {
    return std::nullopt;
  }
  return linea.substr(1, cierre - 1);
}

struct Par {
  std::string_view clave;  // como está escrita, sin blancos alrededor
  std::string_view valor;  // todo lo que sigue al primer "="
};

std::optional<Par> ClaveValor(std::string_view linea) {
  std::size_t igual = linea.find('=');
  if (igual == std::string_view::npos) return std::nullopt;
  return Par{SinBlancos(linea.substr(0, igual)), linea.substr(igual + 1)};
}

// Dónde está, o iría, una clave en la primera sección de ese nombre (índices de las líneas).
struct Sitio {
  std::optional<std::size_t> encabezado;
  std::optional<std::size_t> clave;
  std::size_t ultimaConTexto = 0;  // la última línea no en blanco de la sección
};

Sitio Buscar(const std::vector<Linea>& lineas, std::string_view seccion, std::string_view clave) {
  auto abre = [&](const Linea& linea) {
    std::optional<std::string_view> nombre = Encabezado(linea.texto);
    return nombre && MismoNombre(*nombre, seccion);
  };
  Sitio sitio;
  auto encabezado = std::find_if(lineas.begin(), lineas.end(), abre);
  if (encabezado == lineas.end()) return sitio;
  std::size_t i = static_cast<std::size_t>(encabezado - lineas.begin());
  sitio.encabezado = sitio.ultimaConTexto = i;
  for (++i; i < lineas.size() && !Encabezado(lineas[i].texto); ++i) {
    if (!SinBlancos(lineas[i].texto).empty()) sitio.ultimaConTexto = i;
    std::optional<Par> par = ClaveValor(lineas[i].texto);
    if (!sitio.clave && par && MismoNombre(par->clave, clave)) sitio.clave = i;
  }
  return sitio;
}

bool SinSaltos(std::string_view texto) {
  return texto.find_first_of("\r\n") == std::string_view::npos;
}

bool Guardable(std::string_view seccion, std::string_view clave, std::string_view valor) {
  return SinSaltos(seccion) && SinSaltos(clave) && SinSaltos(valor) &&
         clave.find('=') == std::string_view::npos && SinBlancos(clave).substr(0, 1) != "[";
}

// La línea entera de la clave. El valor va entre comillas cuando la lectura le quitaría sus
// blancos o sus propias comillas exteriores: así siempre se lee tal como se dio.
std::string LineaDeClave(std::string_view clave, std::string_view valor, std::string_view fin) {
  bool proteger =
      SinBlancos(valor).size() != valor.size() || SinComillas(valor).size() != valor.size();
  std::string guardado = proteger ? '"' + std::string(valor) + '"' : std::string(valor);
  return std::string(clave) + "=" + guardado + std::string(fin);
}

// Las líneas nuevas terminan en LF solo si así termina la primera del archivo: quien lo edita
// así no encuentra líneas mezcladas. Un CR solo no se imita, porque se uniría a un LF siguiente.
std::string_view FinDeLinea(const std::vector<Linea>& lineas) {
  auto terminada = std::find_if(lineas.begin(), lineas.end(),
                                [](const Linea& linea) { return !linea.Fin().empty(); });
  return terminada != lineas.end() && terminada->Fin() == "\n" ? "\n" : "\r\n";
}

std::string Salto(const Linea& linea, std::string_view fin) {
  return std::string(linea.Fin().empty() ? fin : "");
}

}  // namespace

std::optional<std::string> ValorIni(const std::string& texto, const std::string& seccion,
                                    const std::string& clave) {
  std::vector<Linea> lineas = Lineas(texto);
  Sitio sitio = Buscar(lineas, seccion, clave);
  if (!sitio.clave) return std::nullopt;
  return std::string(Leido(ClaveValor(lineas[*sitio.clave].texto)->valor));
}

std::optional<std::string> ConValorIni(const std::string& texto, const std::string& seccion,
                                       const std::string& clave, const std::string& valor) {
  if (!Guardable(seccion, clave, valor)) return std::nullopt;
  std::vector<Linea> lineas = Lineas(texto);
  std::string_view fin = FinDeLinea(lineas);
  Sitio sitio = Buscar(lineas, seccion, clave);
  std::string nuevo = texto;
  if (sitio.clave) {
    const Linea& linea = lineas[*sitio.clave];
    Par par = *ClaveValor(linea.texto);
    if (Leido(par.valor) == valor) return nuevo;
    std::string_view finPropio = linea.Fin().empty() ? fin : linea.Fin();
    return nuevo.replace(linea.inicio, linea.siguiente - linea.inicio,
                         LineaDeClave(par.clave, valor, finPropio));
  }
  if (sitio.encabezado) {
    const Linea& ultima = lineas[sitio.ultimaConTexto];
    return nuevo.insert(ultima.siguiente, Salto(ultima, fin) + LineaDeClave(clave, valor, fin));
  }
  std::string salto = lineas.empty() ? "" : Salto(lineas.back(), fin);
  return nuevo + salto + "[" + seccion + "]" + std::string(fin) + LineaDeClave(clave, valor, fin);
}

}  // namespace almacen
