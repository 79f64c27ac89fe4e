#include "recepcion.h"

#include <algorithm>
#include <initializer_list>

namespace comm {

namespace {

// Largo de la trama con bytes de control correctos que empieza en `resto`, o 0. Primero el de
// la respuesta esperada, para que una trama más corta no la tape.
std::size_t LargoDeTrama(const PeticionModbus& peticion, std::string_view resto) {
  const std::size_t cuenta =
      resto.size() > 2 ? static_cast<unsigned char>(resto[2]) + std::size_t{5} : 0;
  for (const std::size_t largo :
       {peticion.largoRespuesta, kLargoExcepcion, std::size_t{8}, cuenta}) {
    if (largo > 0 && largo <= resto.size() && ControlCorrecto(resto.substr(0, largo))) return largo;
  }
  return 0;
}

bool Decide(Veredicto veredicto) {
  return veredicto == Veredicto::Aceptada || veredicto == Veredicto::Excepcion;
}

// Dónde empieza, entre `desde` y `hasta`, una respuesta o excepción a la petición que una
// trama ajena taparía si se la saltara entera (sus bytes de control coincidieron por azar).
std::size_t RespuestaTapada(const PeticionModbus& peticion, std::string_view recibido,
                            std::size_t desde, std::size_t hasta) {
  for (std::size_t q = desde; q < hasta; ++q) {
    const std::string_view resto = recibido.substr(q);
    const std::size_t largo = LargoComoRespuesta(peticion, resto);
    if (largo > 0 && largo <= resto.size() &&
        Decide(Juzgar(peticion, resto.substr(0, largo)).veredicto)) {
      return q;
    }
  }
  return hasta;
}

}  // namespace

Examen Examinar(const PeticionModbus& peticion, std::string_view recibido) {
  Examen examen;
  // Una respuesta o una excepción entera tras lo recibido.
  examen.faltan = std::min(peticion.largoRespuesta, kLargoExcepcion);
  std::size_t basura = 0;  // inicio de los bytes sin trama que van
  const auto anotar = [&](std::size_t desde, std::size_t largo) {
    if (basura < desde) {
      const std::string_view bytes = recibido.substr(basura, desde - basura);
      examen.trozos.push_back({basura, bytes.size(), Juzgar(peticion, bytes)});
    }
    basura = desde + largo;
  };
  bool estropeada = false;

  for (std::size_t p = 0; p < recibido.size(); ++p) {
    const std::string_view resto = recibido.substr(p);
    if (const std::size_t largo = LargoDeTrama(peticion, resto)) {
      const std::string_view trama = resto.substr(0, largo);
      const Juicio juicio = Juzgar(peticion, trama);
      if (Decide(juicio.veredicto)) {
        anotar(p, largo);
        examen.trozos.push_back({p, largo, juicio});
        examen.terminado = true;
        examen.datos = Aceptar(peticion, trama);
        return examen;
      }
      const std::size_t tapada = RespuestaTapada(peticion, recibido, p + 1, p + largo);
      if (tapada == p + largo) {
        anotar(p, largo);
        examen.trozos.push_back({p, largo, juicio});
      }
      p = tapada - 1;  // con una respuesta tapada, lo de antes queda como basura
      continue;
    }
    const std::size_t propio = LargoComoRespuesta(peticion, resto);
    if (propio > resto.size()) {
      examen.faltan = std::min(examen.faltan, propio - resto.size());
    } else if (propio > 0) {
      // La cabecera de la respuesta, completa y sin control válido: llegó estropeada, y no
      // se espera más salvo que detrás ya esté la buena.
      estropeada = true;
    }
  }
  anotar(recibido.size(), 0);
  examen.terminado = estropeada;
  return examen;
}

}  // namespace comm
