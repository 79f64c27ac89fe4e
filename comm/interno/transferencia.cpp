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

using namespace almacen;

namespace comm {

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

// `pedir(intento)` con intento de 1 a kIntentos, hasta que salga bien; si no, vale el motivo del
// último intento.
template <typename Pedir>
Entrega ConReintentos(Pedir pedir) {
  Entrega respuesta = pedir(1);
  for (int intento = 2; intento <= kIntentos && !respuesta.motivo.Exito(); ++intento) {
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
  if (cancelado && avance.traza) avance.traza->Anotar(TextoMotivo({Causa::Cancelado}));
  return cancelado;
}

}  // namespace

Intento IntentoAnotado(Puerto& comm1, const PeticionModbus& peticion, int intento, int intentos,
                       Traza* traza, EcoDelPuerto& eco, PrimerByte primerByte) {
  GuardarSilencio(comm1);
  if (traza) AnotarEnvio(*traza, peticion, intento, intentos);
  Intento resultado = Intentar(comm1, peticion, eco.Sabido(), primerByte);
  if (const std::optional<bool> visto = EcoVisto(peticion, resultado)) eco.Aprender(*visto);
  if (traza) AnotarIntento(*traza, peticion, resultado);
  return resultado;
}

Transferencia::Transferencia(Puerto& comm1, long id, Avance avance, EcoDelPuerto eco)
    : comm1_(comm1), id_(id), avance_(std::move(avance)), eco_(std::move(eco)) {}

Entrega Transferencia::Intercambio(const PeticionModbus& peticion, int intento) {
  const Intento resultado =
      IntentoAnotado(comm1_, peticion, intento, kIntentos, avance_.traza, eco_);
  return {resultado.examen.datos, MotivoDelIntento(resultado)};
}

Entrega Transferencia::RxD(long id, long direccion, long longitud, int intento) {
  const auto esclavo = EnRango<std::uint8_t>(id);
  const auto inicio = EnRango<std::uint16_t>(direccion);
  const auto registros = Registros::De(longitud);
  if (!esclavo || !inicio || !registros) return {{}, {Causa::Invalida}};
  return Intercambio(PeticionLectura(*esclavo, *inicio, *registros), intento);
}

Entrega Transferencia::TxD(long id, long direccion, const std::string& dato, int intento) {
  const auto esclavo = EnRango<std::uint8_t>(id);
  const auto registro = EnRango<std::uint16_t>(direccion);
  if (!esclavo || !registro || dato.size() != 2) return {{}, {Causa::Invalida}};
  return Intercambio(PeticionEscritura(*esclavo, *registro, dato[0], dato[1]), intento);
}

Entrega Transferencia::Leer(const std::string& direccion, const std::string& longitud) {
  const auto id = EnRango<std::uint8_t>(id_);
  const auto inicio = EnteroDe(direccion);
  const auto total = EnteroDe(longitud);
  if (!id || !inicio || !total || *total < 0 || !RangoValido(*inicio, *total)) {
    return {{}, {Causa::Invalida}};
  }
  if (*total == 0) return {{}, {Causa::Exito}};  // nada que leer: ya está completa

  const long bloques = (*total - 1) / kRegistrosPorBloque + 1;
  Entrega lectura;
  for (long b = 1; b <= bloques; ++b) {
    const long desde = *inicio + kRegistrosPorBloque * (b - 1);
    const long cantidad =
        b < bloques ? kRegistrosPorBloque : *total - kRegistrosPorBloque * (b - 1);
    const Entrega bloque =
        ConReintentos([&](int intento) { return RxD(*id, desde, cantidad, intento); });
    lectura.datos += bloque.datos;
    lectura.motivo = bloque.motivo;
    const bool cancelado = Avanzar(avance_, b, bloques);
    if (!bloque.motivo.Exito()) break;
    // Cancelar tras el último bloque ya no quita nada a la lectura.
    if (cancelado && b < bloques) {
      lectura.motivo = {Causa::Cancelado};
      break;
    }
  }
  return lectura;
}

Entrega Transferencia::Escribir(const std::string& direccion, std::string& dato) {
  const auto id = EnRango<std::uint8_t>(id_);
  if (dato.size() % 2 != 0) dato.push_back('\0');
  const long registros = static_cast<long>(dato.size() / 2);
  const auto inicio = EnteroDe(direccion);
  if (!id || !inicio || registros == 0 || !RangoValido(*inicio, registros)) {
    return {{}, {Causa::Invalida}};
  }

  std::string ecos;
  for (long i = 1; i <= registros; ++i) {
    const std::string par = dato.substr(2 * (i - 1), 2);
    const Entrega eco =
        ConReintentos([&](int intento) { return TxD(*id, *inicio + i - 1, par, intento); });
    ecos += eco.datos;
    const bool cancelado = Avanzar(avance_, i, registros);
    if (!eco.motivo.Exito()) return {{}, eco.motivo};
    if (cancelado) return {{}, {Causa::Cancelado}};
  }
  return {ecos, {Causa::Exito}};
}

}  // namespace comm
