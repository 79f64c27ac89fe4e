#include "opciones_simulador.h"

#include <getopt.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "pty.h"
#include "setup.h"

namespace simulador {

namespace {

const char kTextoDeAyuda[] =
    "Uso: simulador [opciones]\n"
    "Uno o varios indicadores de pesaje simulados en una línea RS-485, sobre un\n"
    "pseudoterminal. Escribe una línea \"PTY <ruta del esclavo>\" y atiende peticiones\n"
    "Modbus RTU (funciones 3 y 6) y la orden de línea \":M\" CR LF hasta recibir SIGTERM\n"
    "o SIGINT. SIGUSR1 calla la línea entera o la hace volver; SIGUSR2 desenchufa el\n"
    "adaptador o lo vuelve a enchufar.\n"
    "\n"
    "Línea e indicadores:\n"
    "  --id LISTA          IDs de los indicadores, 0 a 255, p. ej. 1,3,5-8 (por omisión 1);\n"
    "                      cada uno con su banco de registros\n"
    "  --callar LISTA      esos indicadores no oyen ni contestan, como desconectados\n"
    "  --contestar-difusion\n"
    "                      el primero de la lista contesta también a las peticiones al ID 0,\n"
    "                      con su propio ID\n"
    "  --registro [ID:]A=V pone el registro A al valor V antes de empezar, en el indicador ID\n"
    "                      o en todos (repetible; decimal)\n"
    "  --solo-linea        contesta solo órdenes de línea, nunca tramas de registros\n"
    "  --solo-registros    contesta solo tramas de registros, nunca órdenes de línea\n"
    "  --setup HEX         el bloque de configuración de 90 bytes, en 180 cifras hexadecimales\n"
    "  --retardo MS        espera MS ms tras una petición completa antes de contestar\n"
    "  --baudios N         contesta al ritmo de N baudios: 3,5 caracteres de silencio y luego\n"
    "                      cada byte al final de su tiempo de carácter (10 bits); también la\n"
    "                      velocidad del pseudoterminal\n"
    "  --eco-linea         la línea devuelve al momento cada byte que envía el programa, como\n"
    "                      un adaptador RS-485 de dos hilos que se oye a sí mismo; también\n"
    "                      con la línea muda o callada; con --baudios, a su ritmo\n"
    "  --semiduplex        bus de dos hilos: los bytes que el programa envía mientras un\n"
    "                      indicador contesta chocan; se pierden y esa respuesta llega\n"
    "                      deformada; al terminar dice cuántos chocaron. Con --baudios; sin\n"
    "                      él la respuesta sale de una vez y nada choca\n"
    "  --colisiones ARCHIVO\n"
    "                      al terminar escribe ahí el número de bytes que chocaron\n"
    "  --una-velocidad     oye solo a la velocidad de --baudios (o 9600): lo que llega con el\n"
    "                      pseudoterminal puesto a otra velocidad es basura y no se contesta\n"
    "\n"
    "Averías (K: una de cada K; 1: todas):\n"
    "  --perder K          no contesta una de cada K peticiones\n"
    "  --perder-desde N    contesta las N primeras peticiones y después ninguna\n"
    "  --corromper K       cambia un bit del control de una de cada K respuestas de registros\n"
    "  --eco-otro-valor K  una de cada K escrituras guarda y devuelve en su eco el valor más 1\n"
    "  --eco-otro-registro K\n"
    "                      una de cada K escrituras guarda en el registro siguiente y lo\n"
    "                      devuelve así en su eco\n"
    "  --otro-id K         una de cada K respuestas de registros sale con el ID siguiente\n"
    "                      (tras el 255, el 1), con su control correcto\n"
    "  --eco-tardio K      desde la segunda escritura, una de cada K recibe primero el eco de\n"
    "                      la escritura anterior y 100 ms después el suyo\n"
    "  --ignorar-escrituras K\n"
    "                      una de cada K escrituras recibe su eco correcto pero no se guarda\n"
    "  --excepcion         contesta toda trama de registros con la excepción 04\n"
    "  --negar-lectura     contesta toda lectura (función 3) con la excepción 02; las\n"
    "                      escrituras se guardan\n"
    "  --basura N          añade N bytes de basura tras cada respuesta\n"
    "  --ruido N           envía N bytes de basura antes de cada respuesta\n"
    "  --parcial N         envía solo los N primeros bytes de cada respuesta\n"
    "\n"
    "Desenchufar (como un adaptador USB que se quita):\n"
    "  --desenchufar-tras N\n"
    "                      tras contestar N peticiones desaparece: el programa ve el puerto\n"
    "                      colgado y la ruta de --enlace deja de abrirse\n"
    "  --volver-tras MS    vuelve MS ms después de desenchufarse, con otro esclavo bajo el\n"
    "                      mismo --enlace y los mismos registros (sin ella, hasta SIGUSR2)\n"
    "Fin y archivos:\n"
    "  --cerrar-tras N     cierra el pseudoterminal y termina tras N peticiones\n"
    "  --vida S            termina a los S segundos (admite decimales)\n"
    "  --volcado ARCHIVO   al terminar escribe el banco de registros: 131072 bytes, el registro\n"
    "                      r en la posición 2r, el byte bajo primero\n"
    "  --membrete ARCHIVO  al terminar escribe el membrete: los bytes desde el registro 26 (bajo\n"
    "                      y luego alto) hasta el primer NUL, sin él\n"
    "                      Con varios IDs, un archivo por indicador: ARCHIVO.ID (p. ej. v.bin.3)\n"
    "  --escrituras ARCHIVO\n"
    "                      al terminar escribe ahí las tramas de escritura (función 6, con su\n"
    "                      control correcto) oídas en la línea para cualquier ID, y las\n"
    "                      contestadas sin guardar: \"escrituras N\" e \"ignoradas M\"\n"
    "  --enlace RUTA       crea el enlace simbólico RUTA al esclavo (se quita al terminar)\n"
    "  --mudo              empieza callada toda la línea\n"
    "  --help              muestra esta ayuda\n"
    "\n"
    "El ID 0 es de difusión: una escritura al 0 la guardan todos los indicadores y no\n"
    "contesta ninguno, salvo el que tenga el ID 0 o, con --contestar-difusion, el primero\n"
    "de la lista. Las órdenes de línea no llevan dirección: las contesta el primero.\n"
    "Las peticiones se cuentan desde 1: las tramas con control correcto para un ID de la\n"
    "línea o para el 0, y todas las órdenes de línea. Cada avería cuenta aparte las\n"
    "respuestas o escrituras a las que se aplica.\n";

enum Clave {
  kId = 1000,
  kCallar,
  kContestarDifusion,
  kRegistro,
  kSoloLinea,
  kSoloRegistros,
  kSetup,
  kRetardo,
  kBaudios,
  kEcoLinea,
  kSemiduplex,
  kColisiones,
  kUnaVelocidad,
  kPerder,
  kPerderDesde,
  kCorromper,
  kEcoOtroValor,
  kEcoOtroRegistro,
  kOtroId,
  kEcoTardio,
  kIgnorarEscrituras,
  kExcepcion,
  kNegarLectura,
  kBasura,
  kRuido,
  kParcial,
  kDesenchufarTras,
  kVolverTras,
  kCerrarTras,
  kVida,
  kVolcado,
  kMembrete,
  kEscrituras,
  kEnlace,
  kMudo,
  kAyuda,
};

const option kAceptadas[] = {
    {"id", required_argument, nullptr, kId},
    {"callar", required_argument, nullptr, kCallar},
    {"contestar-difusion", no_argument, nullptr, kContestarDifusion},
    {"registro", required_argument, nullptr, kRegistro},
    {"solo-linea", no_argument, nullptr, kSoloLinea},
    {"solo-registros", no_argument, nullptr, kSoloRegistros},
    {"setup", required_argument, nullptr, kSetup},
    {"retardo", required_argument, nullptr, kRetardo},
    {"baudios", required_argument, nullptr, kBaudios},
    {"eco-linea", no_argument, nullptr, kEcoLinea},
    {"semiduplex", no_argument, nullptr, kSemiduplex},
    {"colisiones", required_argument, nullptr, kColisiones},
    {"una-velocidad", no_argument, nullptr, kUnaVelocidad},
    {"perder", required_argument, nullptr, kPerder},
    {"perder-desde", required_argument, nullptr, kPerderDesde},
    {"corromper", required_argument, nullptr, kCorromper},
    {"eco-otro-valor", required_argument, nullptr, kEcoOtroValor},
    {"eco-otro-registro", required_argument, nullptr, kEcoOtroRegistro},
    {"otro-id", required_argument, nullptr, kOtroId},
    {"eco-tardio", required_argument, nullptr, kEcoTardio},
    {"ignorar-escrituras", required_argument, nullptr, kIgnorarEscrituras},
    {"excepcion", no_argument, nullptr, kExcepcion},
    {"negar-lectura", no_argument, nullptr, kNegarLectura},
    {"basura", required_argument, nullptr, kBasura},
    {"ruido", required_argument, nullptr, kRuido},
    {"parcial", required_argument, nullptr, kParcial},
    {"desenchufar-tras", required_argument, nullptr, kDesenchufarTras},
    {"volver-tras", required_argument, nullptr, kVolverTras},
    {"cerrar-tras", required_argument, nullptr, kCerrarTras},
    {"vida", required_argument, nullptr, kVida},
    {"volcado", required_argument, nullptr, kVolcado},
    {"membrete", required_argument, nullptr, kMembrete},
    {"escrituras", required_argument, nullptr, kEscrituras},
    {"enlace", required_argument, nullptr, kEnlace},
    {"mudo", no_argument, nullptr, kMudo},
    {"help", no_argument, nullptr, kAyuda},
    {nullptr, 0, nullptr, 0},
};

[[noreturn]] void Rechazar(const std::string& opcion, const std::string& valor) {
  throw OpcionInvalida("valor no válido para --" + opcion + ": \"" + valor + "\"");
}

// Un entero decimal sin signo ni espacios, dentro de [minimo, maximo].
long LeerEntero(const std::string& opcion, const std::string& texto, long minimo, long maximo) {
  if (texto.empty() || texto.find_first_not_of("0123456789") != std::string::npos) {
    Rechazar(opcion, texto);
  }
  errno = 0;
  const long valor = std::strtol(texto.c_str(), nullptr, 10);
  if (errno == ERANGE || valor < minimo || valor > maximo) Rechazar(opcion, texto);
  return valor;
}

uint8_t LeerId(const std::string& opcion, const std::string& texto) {
  return static_cast<uint8_t>(LeerEntero(opcion, texto, 0, 255));
}

// "1,3,5-8": IDs sueltos y rangos, cada ID una vez en el orden dado. La misma regla que la
// --id del programa: un ID repetido nombra al mismo indicador.
std::vector<uint8_t> LeerListaDeIds(const std::string& opcion, const std::string& texto) {
  std::vector<uint8_t> ids;
  size_t desde = 0;
  for (;;) {
    const size_t coma = texto.find(',', desde);
    const std::string elemento = texto.substr(desde, coma - desde);
    const size_t guion = elemento.find('-');
    const uint8_t primero = LeerId(opcion, elemento.substr(0, guion));
    const uint8_t ultimo =
        guion == std::string::npos ? primero : LeerId(opcion, elemento.substr(guion + 1));
    if (ultimo < primero) Rechazar(opcion, texto);
    for (unsigned id = primero; id <= ultimo; ++id) {
      if (std::find(ids.begin(), ids.end(), id) == ids.end()) {
        ids.push_back(static_cast<uint8_t>(id));
      }
    }
    if (coma == std::string::npos) return ids;
    desde = coma + 1;
  }
}

Asignacion LeerAsignacion(const std::string& texto) {
  const size_t dos_puntos = texto.find(':');
  const size_t igual = texto.find('=');
  if (igual == std::string::npos) Rechazar("registro", texto);
  Asignacion asignacion{};
  size_t desde = 0;
  if (dos_puntos != std::string::npos && dos_puntos < igual) {
    asignacion.id = LeerId("registro", texto.substr(0, dos_puntos));
    desde = dos_puntos + 1;
  }
  asignacion.registro =
      static_cast<uint16_t>(LeerEntero("registro", texto.substr(desde, igual - desde), 0, 65535));
  asignacion.valor =
      static_cast<uint16_t>(LeerEntero("registro", texto.substr(igual + 1), 0, 65535));
  return asignacion;
}

std::chrono::milliseconds LeerSegundos(const std::string& texto) {
  if (texto.empty() || texto.find_first_not_of("0123456789.") != std::string::npos) {
    Rechazar("vida", texto);
  }
  char* fin = nullptr;
  const double segundos = std::strtod(texto.c_str(), &fin);
  if (*fin != '\0' || segundos > 1e9) Rechazar("vida", texto);
  return std::chrono::milliseconds(std::llround(segundos * 1000));
}

long LeerBaudios(const std::string& texto) {
  const long baudios = LeerEntero("baudios", texto, 1, 4000000);
  if (!VelocidadTermios(baudios)) Rechazar("baudios", texto);
  return baudios;
}

constexpr long kSinLimite = 1000000000;

// Las averías de "una de cada K", todas con K de 1 en adelante.
struct CadaK {
  int clave;
  const char* nombre;
  long Opciones::*campo;
};
constexpr CadaK kCadaK[] = {
    {kPerder, "perder", &Opciones::perder},
    {kCorromper, "corromper", &Opciones::corromper},
    {kEcoOtroValor, "eco-otro-valor", &Opciones::eco_otro_valor},
    {kEcoOtroRegistro, "eco-otro-registro", &Opciones::eco_otro_registro},
    {kOtroId, "otro-id", &Opciones::otro_id},
    {kEcoTardio, "eco-tardio", &Opciones::eco_tardio},
    {kIgnorarEscrituras, "ignorar-escrituras", &Opciones::ignorar_escrituras},
};

const CadaK* BuscarCadaK(int clave) {
  for (const CadaK& cada_k : kCadaK) {
    if (cada_k.clave == clave) return &cada_k;
  }
  return nullptr;
}

[[noreturn]] void FueraDelBus(const std::string& opcion, uint8_t id) {
  throw OpcionInvalida("--" + opcion + ": el ID " + std::to_string(id) + " no está en --id");
}

// Los IDs que nombran --callar y --registro tienen que estar en el bus.
void ComprobarIds(const Opciones& o) {
  const auto en_el_bus = [&o](uint8_t id) {
    return std::find(o.ids.begin(), o.ids.end(), id) != o.ids.end();
  };
  for (const uint8_t id : o.callados) {
    if (!en_el_bus(id)) FueraDelBus("callar", id);
  }
  for (const Asignacion& asignacion : o.asignaciones) {
    if (asignacion.id && !en_el_bus(*asignacion.id)) {
      FueraDelBus("registro", *asignacion.id);
    }
  }
}

}  // namespace

Opciones LeerOpciones(int argc, char** argv) {
  Opciones o;
  opterr = 0;  // los mensajes los da OpcionInvalida, en castellano
  optind = 1;
  for (;;) {
    const int clave = getopt_long(argc, argv, "", kAceptadas, nullptr);
    if (clave == -1) break;
    const std::string valor = optarg ? optarg : "";
    if (const CadaK* averia = BuscarCadaK(clave)) {
      o.*averia->campo = LeerEntero(averia->nombre, valor, 1, kSinLimite);
      continue;
    }
    switch (clave) {
      case kId:
        o.ids = LeerListaDeIds("id", valor);
        break;
      case kCallar:
        o.callados = LeerListaDeIds("callar", valor);
        break;
      case kContestarDifusion:
        o.contestar_difusion = true;
        break;
      case kRegistro:
        o.asignaciones.push_back(LeerAsignacion(valor));
        break;
      case kSoloLinea:
        o.solo_ordenes = true;
        break;
      case kSoloRegistros:
        o.solo_modbus = true;
        break;
      case kSetup:
        o.setup = SetupDeHex(valor);
        if (!o.setup) Rechazar("setup", valor);
        break;
      case kRetardo:
        o.retardo = std::chrono::milliseconds(LeerEntero("retardo", valor, 0, kSinLimite));
        break;
      case kBaudios:
        o.baudios = LeerBaudios(valor);
        break;
      case kEcoLinea:
        o.eco_del_bus = true;
        break;
      case kSemiduplex:
        o.semiduplex = true;
        break;
      case kColisiones:
        o.archivo_colisiones = valor;
        break;
      case kUnaVelocidad:
        o.una_velocidad = true;
        break;
      case kPerderDesde:
        o.perder_desde = LeerEntero("perder-desde", valor, 0, kSinLimite);
        break;
      case kExcepcion:
        o.excepcion = true;
        break;
      case kNegarLectura:
        o.negar_lectura = true;
        break;
      case kBasura:
        o.basura = LeerEntero("basura", valor, 0, 65536);
        break;
      case kRuido:
        o.ruido = LeerEntero("ruido", valor, 0, 65536);
        break;
      case kParcial:
        o.parcial = LeerEntero("parcial", valor, 0, kSinLimite);
        break;
      case kDesenchufarTras:
        o.desenchufar_tras = LeerEntero("desenchufar-tras", valor, 0, kSinLimite);
        break;
      case kVolverTras:
        o.volver_tras = std::chrono::milliseconds(LeerEntero("volver-tras", valor, 0, kSinLimite));
        break;
      case kCerrarTras:
        o.cerrar_tras = LeerEntero("cerrar-tras", valor, 1, kSinLimite);
        break;
      case kVida:
        o.vida = LeerSegundos(valor);
        break;
      case kVolcado:
        o.archivo_volcado = valor;
        break;
      case kMembrete:
        o.archivo_membrete = valor;
        break;
      case kEscrituras:
        o.archivo_escrituras = valor;
        break;
      case kEnlace:
        o.enlace = valor;
        break;
      case kMudo:
        o.mudo = true;
        break;
      case kAyuda:
        o.ayuda = true;
        break;
      default:
        throw OpcionInvalida(std::string("opción no válida o sin valor: ") + argv[optind - 1]);
    }
  }
  if (optind < argc) throw OpcionInvalida(std::string("argumento de más: ") + argv[optind]);
  ComprobarIds(o);
  if (o.solo_ordenes && o.solo_modbus) {
    throw OpcionInvalida("--solo-linea y --solo-registros no van juntas");
  }
  return o;
}

const char* Ayuda() {
  return kTextoDeAyuda;
}

}  // namespace simulador
