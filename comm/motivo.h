#pragma once

#include <string>
#include <utility>

namespace comm {

struct Intento;
struct Juicio;

// Cómo terminó una petición. Tras varios intentos vale el del último: es lo que la línea hacía
// cuando se dejó de insistir.
enum class Causa {
  Exito,
  SinRespuesta,    // venció el plazo sin nada, o solo con bytes que no forman trama
  SoloEco,         // volvió la copia de la petición que devuelve la línea, y nada más
  Excepcion,       // `numero`: el código de la excepción del indicador
  ControlErroneo,  // llegó la respuesta con los bytes de control mal
  OtroEsclavo,
  Ajena,         // una trama del esclavo pedido que no responde a esta petición
  LargoErroneo,  // una trama del esclavo con el largo mal
  LargoDeOrden,  // `numero`: los bytes de la respuesta a la orden de línea, que no son 90
  Cancelado,     // el operador pulsó "Cancelar"
  SinPuerto,     // `detalle`: el puerto y por qué no abrió
  Invalida,      // dirección, cantidad o ID fuera de rango: no se envió nada
  Distinto,      // `numero`: el registro que, leído de vuelta, no trae lo escrito
};

struct Motivo {
  Motivo(Causa c = Causa::SinRespuesta, long n = 0, std::string d = {})
      : causa(c), numero(n), detalle(std::move(d)) {}

  Causa causa;
  long numero;
  std::string detalle;

  bool Exito() const { return causa == Causa::Exito; }
};

// El motivo en castellano, en minúsculas, como lo dice la traza: "excepción 2".
std::string TextoMotivo(const Motivo& motivo);

// "no se pudo abrir /dev/ttyS0: el puerto no existe".
Motivo SinPuerto(const std::string& dispositivo, const std::string& error);

// Lo que dice del final de un intento una trama juzgada; Aceptada es Exito.
Motivo MotivoDelJuicio(const Juicio& juicio);
// Cómo terminó un intento Modbus, de lo que ya examinó.
Motivo MotivoDelIntento(const Intento& intento);

// Lo que trajo una petición: sus datos, vacíos si falló, y cómo terminó.
struct Entrega {
  std::string datos;
  Motivo motivo;
};

}  // namespace comm
