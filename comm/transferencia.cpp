#include "transferencia.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <utility>

#include "intercambio.h"
#include "numero.h"
#include "silencio.h"
#include "sucesos.h"
#include "tramas.h"
#include "traza.h"

namespace {

constexpr int kIntentos = 3;
constexpr long kRegistrosPorBloque = 8;
constexpr long kUltimoRegistro = 65535;

template <typename T>
std::optional<T> EnRango(long valor) {
  if (valor < std::numeric_limits<T>::min() || valor > std::numeric_limits<T>::max()) {
    return std::nullopt;
  }
  return static_cast<T>(valor);
}

// Todos los registros de `inicio` a `inicio + cantidad - 1` caben en 0..65535.
bool RangoValido(long inicio, long cantidad) {
  return inicio >= 0 && inicio <= kUltimoRegistro && cantidad <= kUltimoRegistro + 1 - inicio;
}

// Un intercambio Modbus: silencio en la línea, petición y el texto de su respuesta, o vacío.
std::string Intercambio(Puerto& comm1, const PeticionModbus& peticion, int intento, Traza* traza) {
  GuardarSilencio(comm1);
  if (traza) AnotarEnvio(*traza, peticion, intento, kIntentos);
  const Intento resultado = Intentar(comm1, peticion);
  if (traza) AnotarIntento(*traza, peticion, resultado);
  return resultado.examen.datos;
}

// `pedir(intento)` con intento de 1 a kIntentos, hasta que devuelva algo.
template <typename Pedir>
std::string ConReintentos(Pedir pedir) {
  std::string respuesta;
  for (int intento = 1; intento <= kIntentos && respuesta.empty(); ++intento) {
    respuesta = pedir(intento);
  }
  return respuesta;
}

// Mueve la barra a `hecho` de `total`, procesa los eventos una vez y dice si se pidió cancelar.
bool Avanzar(const Avance& avance, long hecho, long total) {
  if (avance.progreso) {
    avance.progreso(100.0f * static_cast<float>(hecho) / static_cast<float>(total));
  }
  if (avance.procesarEventos) avance.procesarEventos();
  const bool cancelado = avance.cancelado && avance.cancelado();
  if (cancelado && avance.traza) avance.traza->Anotar("cancelado");
  return cancelado;
}

}  // namespace

Transferencia::Transferencia(Puerto& comm1, long id, Avance avance)
    : comm1_(comm1), id_(id), avance_(std::move(avance)) {}

std::string Transferencia::RxD(long id, long direccion, long longitud, int intento) {
  const auto esclavo = EnRango<std::uint8_t>(id);
  const auto inicio = EnRango<std::uint16_t>(direccion);
  const auto registros = Registros::De(longitud);
  if (!esclavo || !inicio || !registros) return {};
  return Intercambio(comm1_, PeticionLectura(*esclavo, *inicio, *registros), intento,
                     avance_.traza);
}

std::string Transferencia::TxD(long id, long direccion, const std::string& dato, int intento) {
  const auto esclavo = EnRango<std::uint8_t>(id);
  const auto registro = EnRango<std::uint16_t>(direccion);
  if (!esclavo || !registro || dato.size() != 2) return {};
  return Intercambio(comm1_, PeticionEscritura(*esclavo, *registro, dato[0], dato[1]), intento,
                     avance_.traza);
}

std::string Transferencia::Leer(const std::string& direccion, const std::string& longitud) {
  const auto id = EnRango<std::uint8_t>(id_);
  const auto inicio = EnteroDe(direccion);
  const auto total = EnteroDe(longitud);
  if (!id || !inicio || !total || *total <= 0 || !RangoValido(*inicio, *total)) return {};

  const long bloques = (*total - 1) / kRegistrosPorBloque + 1;
  std::string resultado;
  for (long b = 1; b <= bloques; ++b) {
    const long desde = *inicio + kRegistrosPorBloque * (b - 1);
    const long cantidad =
        b < bloques ? kRegistrosPorBloque : *total - kRegistrosPorBloque * (b - 1);
    const std::string respuesta =
        ConReintentos([&](int intento) { return RxD(*id, desde, cantidad, intento); });
    resultado += respuesta;
    const bool cancelado = Avanzar(avance_, b, bloques);
    if (respuesta.empty() || cancelado) break;
  }
  return resultado;
}

std::string Transferencia::Escribir(const std::string& direccion, std::string& dato) {
  const auto id = EnRango<std::uint8_t>(id_);
  if (dato.size() % 2 != 0) dato.push_back('\0');
  const long registros = static_cast<long>(dato.size() / 2);
  const auto inicio = EnteroDe(direccion);
  if (!id || !inicio || registros == 0 || !RangoValido(*inicio, registros)) return {};

  std::string resultado;
  for (long i = 1; i <= registros; ++i) {
    const std::string par = dato.substr(2 * (i - 1), 2);
    const std::string respuesta =
        ConReintentos([&](int intento) { return TxD(*id, *inicio + i - 1, par, intento); });
    resultado += respuesta;
    const bool cancelado = Avanzar(avance_, i, registros);
    if (respuesta.empty() || cancelado) return {};
  }
  return resultado;
}
