#include "opciones.h"

#include <getopt.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "pty.h"
#include "setup.h"

namespace {

const char kAyuda[] =
    "Uso: simulador [opciones]\n"
    "Indicador de pesaje simulado en un pseudoterminal. Escribe una línea\n"
    "\"PTY <ruta del esclavo>\" y atiende peticiones Modbus RTU (funciones 3 y 6) y la orden\n"
    "de línea \":M\" CR LF hasta recibir SIGTERM o SIGINT. SIGUSR1 lo calla o lo hace volver.\n"
    "\n"
    "  --id N              ID de esclavo, 0 a 255 (por omisión 1)\n"
    "  --registro A=V      pone el registro A al valor V antes de empezar (repetible; decimal)\n"
    "  --solo-linea        contesta solo órdenes de línea, nunca tramas de registros\n"
    "  --setup HEX         el bloque de configuración de 90 bytes, en 180 cifras hexadecimales\n"
    "  --retardo MS        espera MS ms tras una petición completa antes de contestar\n"
    "  --baudios N         contesta al ritmo de N baudios: 3,5 caracteres de silencio y luego\n"
    "                      byte a byte, 10 bits por byte; también la velocidad del pseudoterminal\n"
    "  --perder K          no contesta una de cada K peticiones (1: ninguna)\n"
    "  --perder-desde N    contesta las N primeras peticiones y después ninguna\n"
    "  --corromper K       cambia un bit del control de una de cada K respuestas de registros\n"
    "  --excepcion         contesta toda trama de registros con la excepción 04\n"
    "  --basura N          añade N bytes de basura tras cada respuesta\n"
    "  --ruido N           envía N bytes de basura antes de cada respuesta\n"
    "  --parcial N         envía solo los N primeros bytes de cada respuesta\n"
    "  --cerrar-tras N     cierra el pseudoterminal y termina tras N peticiones\n"
    "  --vida S            termina a los S segundos (admite decimales)\n"
    "  --volcado ARCHIVO   al terminar escribe el banco de registros: 131072 bytes, el registro\n"
    "                      r en la posición 2r, el byte bajo primero\n"
    "  --membrete ARCHIVO  al terminar escribe el membrete: los bytes desde el registro 26 (bajo\n"
    "                      y luego alto) hasta el primer NUL, sin él\n"
    "  --enlace RUTA       crea el enlace simbólico RUTA al esclavo (se quita al terminar)\n"
    "  --mudo              empieza callado\n"
    "  --help              muestra esta ayuda\n"
    "\n"
    "Las peticiones se cuentan desde 1: las tramas para este ID con control correcto y todas\n"
    "las órdenes de línea. Las respuestas de --corromper se cuentan aparte.\n";

enum Codigo {
  kId = 1000,
  kRegistro,
  kSoloLinea,
  kSetup,
  kRetardo,
  kBaudios,
  kPerder,
  kPerderDesde,
  kCorromper,
  kExcepcion,
  kBasura,
  kRuido,
  kParcial,
  kCerrarTras,
  kVida,
  kVolcado,
  kMembrete,
  kEnlace,
  kMudo,
  kAyudaCodigo,
};

const option kOpciones[] = {
    {"id", required_argument, nullptr, kId},
    {"registro", required_argument, nullptr, kRegistro},
    {"solo-linea", no_argument, nullptr, kSoloLinea},
    {"setup", required_argument, nullptr, kSetup},
    {"retardo", required_argument, nullptr, kRetardo},
    {"baudios", required_argument, nullptr, kBaudios},
    {"perder", required_argument, nullptr, kPerder},
    {"perder-desde", required_argument, nullptr, kPerderDesde},
    {"corromper", required_argument, nullptr, kCorromper},
    {"excepcion", no_argument, nullptr, kExcepcion},
    {"basura", required_argument, nullptr, kBasura},
    {"ruido", required_argument, nullptr, kRuido},
    {"parcial", required_argument, nullptr, kParcial},
    {"cerrar-tras", required_argument, nullptr, kCerrarTras},
    {"vida", required_argument, nullptr, kVida},
    {"volcado", required_argument, nullptr, kVolcado},
    {"membrete", required_argument, nullptr, kMembrete},
    {"enlace", required_argument, nullptr, kEnlace},
    {"mudo", no_argument, nullptr, kMudo},
    {"help", no_argument, nullptr, kAyudaCodigo},
    {nullptr, 0, nullptr, 0},
};

[[noreturn]] void Rechazar(const std::string& opcion, const std::string& valor) {
  throw OpcionInvalida("valor no válido para --" + opcion + ": \"" + valor + "\"");
}

// Un entero decimal sin signo ni espacios, dentro de [minimo, maximo].
long Entero(const std::string& opcion, const std::string& texto, long minimo, long maximo) {
  if (texto.empty() || texto.find_first_not_of("0123456789") != std::string::npos) {
    Rechazar(opcion, texto);
  }
  errno = 0;
  const long valor = std::strtol(texto.c_str(), nullptr, 10);
  if (errno == ERANGE || valor < minimo || valor > maximo) Rechazar(opcion, texto);
  return valor;
}

std::pair<uint16_t, uint16_t> Asignacion(const std::string& texto) {
  const size_t igual = texto.find('=');
  if (igual == std::string::npos) Rechazar("registro", texto);
  return {static_cast<uint16_t>(Entero("registro", texto.substr(0, igual), 0, 65535)),
          static_cast<uint16_t>(Entero("registro", texto.substr(igual + 1), 0, 65535))};
}

std::chrono::milliseconds Segundos(const std::string& texto) {
  if (texto.empty() || texto.find_first_not_of("0123456789.") != std::string::npos) {
    Rechazar("vida", texto);
  }
  char* fin = nullptr;
  const double segundos = std::strtod(texto.c_str(), &fin);
  if (*fin != '\0' || segundos > 1e9) Rechazar("vida", texto);
  return std::chrono::milliseconds(std::llround(segundos * 1000));
}

long Baudios(const std::string& texto) {
  const long baudios = Entero("baudios", texto, 1, 4000000);
  if (!VelocidadTermios(baudios)) Rechazar("baudios", texto);
  return baudios;
}

constexpr long kSinLimite = 1000000000;

}  // namespace

Opciones LeerOpciones(int argc, char** argv) {
  Opciones o;
  opterr = 0;  // los mensajes los da OpcionInvalida, en castellano
  optind = 1;
  for (;;) {
    const int codigo = getopt_long(argc, argv, "", kOpciones, nullptr);
    if (codigo == -1) break;
    const std::string valor = optarg ? optarg : "";
    switch (codigo) {
      case kId:
        o.id = static_cast<uint8_t>(Entero("id", valor, 0, 255));
        break;
      case kRegistro:
        o.registros.push_back(Asignacion(valor));
        break;
      case kSoloLinea:
        o.solo_linea = true;
        break;
      case kSetup:
        o.setup = SetupDeHex(valor);
        if (!o.setup) Rechazar("setup", valor);
        break;
      case kRetardo:
        o.retardo = std::chrono::milliseconds(Entero("retardo", valor, 0, kSinLimite));
        break;
      case kBaudios:
        o.baudios = Baudios(valor);
        break;
      case kPerder:
        o.perder = Entero("perder", valor, 1, kSinLimite);
        break;
      case kPerderDesde:
        o.perder_desde = Entero("perder-desde", valor, 0, kSinLimite);
        break;
      case kCorromper:
        o.corromper = Entero("corromper", valor, 1, kSinLimite);
        break;
      case kExcepcion:
        o.excepcion = true;
        break;
      case kBasura:
        o.basura = Entero("basura", valor, 0, 65536);
        break;
      case kRuido:
        o.ruido = Entero("ruido", valor, 0, 65536);
        break;
      case kParcial:
        o.parcial = Entero("parcial", valor, 0, kSinLimite);
        break;
      case kCerrarTras:
        o.cerrar_tras = Entero("cerrar-tras", valor, 1, kSinLimite);
        break;
      case kVida:
        o.vida = Segundos(valor);
        break;
      case kVolcado:
        o.volcado = valor;
        break;
      case kMembrete:
        o.membrete = valor;
        break;
      case kEnlace:
        o.enlace = valor;
        break;
      case kMudo:
        o.mudo = true;
        break;
      case kAyudaCodigo:
        o.ayuda = true;
        break;
      default:
        throw OpcionInvalida(std::string("opción no válida o sin valor: ") + argv[optind - 1]);
    }
  }
  if (optind < argc) throw OpcionInvalida(std::string("argumento de más: ") + argv[optind]);
  return o;
}

const char* Ayuda() {
  return kAyuda;
}
