// Respuesta de un comando de línea a través de TRxC con un puerto falso, con o sin el eco de la
// línea delante. La entrada es: el
// largo del comando (0-8) y sus bytes, luego trozos [demora][largo][bytes]. El primer trozo ya
// espera en el puerto antes de enviar (bytes viejos); los demás llegan `demora` x 10 ms después
// del envío, así que hay llegadas antes, justo en y después del plazo de 2000 ms.

#include "orden_de_linea.h"

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "exigir.h"
#include "puerto_falso.h"

using namespace comm;

namespace {

constexpr std::size_t kLargoRespuesta = 90;
constexpr std::chrono::milliseconds kPlazo{2000};

struct Pedazo {
  std::chrono::milliseconds demora;
  std::string bytes;
};

class Lector {
 public:
  Lector(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool Quedan() const { return pos_ < size_; }
  std::uint8_t Byte() { return Quedan() ? data_[pos_++] : 0; }
  std::string Texto(std::size_t largo) {
    largo = std::min(largo, size_ - pos_);
    std::string texto(reinterpret_cast<const char*>(data_ + pos_), largo);
    pos_ += largo;
    return texto;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

Pedazo LeerPedazo(Lector& lector) {
  const std::chrono::milliseconds demora(10 * lector.Byte());
  return {demora, lector.Texto(lector.Byte())};
}

// Lo llegado empieza como la orden enviada: puede ser el eco de la línea.
bool ComoEco(const std::string& recibido, const std::string& orden) {
  const std::size_t n = std::min(recibido.size(), orden.size());
  return n > 0 && recibido.compare(0, n, orden, 0, n) == 0;
}

// Lo que hay en el búfer cuando termina la espera: llegan trozos, en orden de tiempo y todos
// los de un mismo instante juntos, hasta juntar 90 bytes (tras el eco de la orden, si lo llegado
// empieza como él) o pasar el plazo.
std::string Recibido(std::vector<Pedazo> trozos, const std::string& orden) {
  std::stable_sort(trozos.begin(), trozos.end(),
                   [](const Pedazo& a, const Pedazo& b) { return a.demora < b.demora; });
  std::string recibido;
  for (std::size_t i = 0; i < trozos.size() && trozos[i].demora <= kPlazo; ++i) {
    const bool otroInstante = i > 0 && trozos[i].demora != trozos[i - 1].demora;
    const std::size_t esperados = kLargoRespuesta + (ComoEco(recibido, orden) ? orden.size() : 0);
    if (otroInstante && recibido.size() >= esperados) break;
    recibido += trozos[i].bytes;
  }
  return recibido;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Lector lector(data, size);
  const std::string comando = lector.Texto(lector.Byte() % 9);
  const std::string viejos = LeerPedazo(lector).bytes;
  std::vector<Pedazo> trozos;
  while (lector.Quedan()) trozos.push_back(LeerPedazo(lector));

  PuertoFalso puerto;
  puerto.Llegar({}, viejos);
  puerto.responder = [&](const std::string&, std::size_t) {
    for (const Pedazo& trozo : trozos) puerto.Llegar(trozo.demora, trozo.bytes);
  };
  const auto inicio = puerto.Ahora();
  const Entrega entrega = TRxC(puerto, comando);
  const std::string& respuesta = entrega.datos;

  Exigir(respuesta.empty() || respuesta.size() == kLargoRespuesta,
         "la respuesta está vacía o tiene exactamente 90 bytes");
  const std::string orden = ":" + comando + "\r\n";
  const std::string recibido = Recibido(trozos, orden);
  const bool conEco = recibido.size() >= orden.size() && ComoEco(recibido, orden);
  const std::string tras = recibido.substr(conEco ? orden.size() : 0);
  Exigir(respuesta == (tras.size() == kLargoRespuesta ? tras : std::string()),
         "la respuesta son los 90 bytes llegados tras el envío y tras el eco de la orden, si la "
         "línea lo devuelve, y nada más");
  Exigir(entrega.motivo.Exito() == (tras.size() == kLargoRespuesta),
         "la orden sale bien si y solo si llegaron sus 90 bytes");
  Exigir(entrega.motivo.causa != Causa::LargoDeOrden ||
             entrega.motivo.numero == static_cast<long>(tras.size()),
         "una respuesta de otro largo dice cuántos bytes trajo");
  Exigir(puerto.escritos.size() == 1 && puerto.escritos[0].trama == orden,
         "se envía una sola línea \":\" + comando + CR LF");
  Exigir(puerto.Ahora() - inicio <= kPlazo, "la espera no pasa del plazo");
  return 0;
}
