#include "servidor.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>

namespace {

// Tras este silencio, lo recibido sin completar una petición se cierra o se descarta. Corto
// frente a los 2000 ms que el maestro espera, largo para no partir una trama que el sistema
// entregue en dos trozos.
constexpr std::chrono::milliseconds kSilencio{20};

// Al cortar la línea con --cerrar-tras se espera a que el programa lea la última respuesta (al
// cerrar el maestro se pierde lo no leído), pero no más de lo que él mismo la esperaría.
constexpr std::chrono::milliseconds kPlazoDeLectura{2000};
constexpr std::chrono::milliseconds kVistazoDeLectura{10};

// Entre el eco viejo de --eco-tardio y la respuesta buena: se distinguen, y las dos llegan muy
// dentro de los 2000 ms.
constexpr std::chrono::milliseconds kPausaEntreTramas{100};

constexpr char kEscribir = 6;

}  // namespace

Servidor::Servidor(const Opciones& opciones, Linea& linea, Pty& pty, Senales& senales)
    : opciones_(opciones),
      linea_(linea),
      pty_(pty),
      senales_(senales),
      fallas_(opciones),
      mudo_(opciones.mudo) {
  if (opciones.baudios) caracter_ = std::chrono::nanoseconds(10'000'000'000LL / *opciones.baudios);
  if (opciones.vida) fin_vida_ = Reloj::now() + *opciones.vida;
  if (opciones.una_velocidad) velocidad_ = VelocidadTermios(opciones.baudios.value_or(9600));
}

void Servidor::Servir() {
  auto ahora = Reloj::now();
  while (!Terminado(ahora)) {
    pollfd vigilados[] = {
        {pty_.Maestro(), POLLIN, 0}, {pty_.Vigia(), POLLIN, 0}, {senales_.Descriptor(), POLLIN, 0}};
    // ppoll y no poll: con plazos en milisegundos, cada byte saldría hasta 1 ms tarde.
    const std::optional<timespec> espera = Espera(ahora);
    ppoll(vigilados, 3, espera ? &*espera : nullptr, nullptr);
    ahora = Reloj::now();
    // Siempre: una señal que llegó al volver de poll() aún no figura en revents.
    AtenderSenales();
    if (vigilados[1].revents & POLLIN) pty_.AtenderCierres();
    if (vigilados[0].revents & POLLIN) Leer(ahora);
    if (!receptor_.Vacio() && ahora - ultimo_byte_ >= kSilencio) {
      if (const auto peticion = receptor_.CerrarPorSilencio()) Atender(*peticion, ahora);
    }
    EnviarVencidos(ahora);
  }
  pty_.CerrarMaestro();
}

void Servidor::AtenderSenales() {
  for (const int senal : senales_.Recibidas()) {
    if (senal == SIGUSR1) {
      mudo_ = !mudo_;
    } else {
      senal_de_fin_ = true;
    }
  }
}

void Servidor::Leer(Reloj::time_point ahora) {
  char bloque[512];
  ssize_t leidos;
  // A otra velocidad, un indicador real solo oye basura: ni la guarda como parte de una trama.
  const bool oye = !velocidad_ || pty_.Velocidad() == *velocidad_;
  while ((leidos = read(pty_.Maestro(), bloque, sizeof bloque)) > 0) {
    if (!oye) continue;
    receptor_.Agregar(std::string(bloque, static_cast<size_t>(leidos)));
    ultimo_byte_ = ahora;
  }
  // Quien habla tiene el esclavo abierto: si lo cierra y lo vuelve a abrir enseguida, antes de que
  // veamos el cierre, la exclusividad que puso al abrirlo no debe impedírselo.
  pty_.QuitarExclusividad();
  while (const auto peticion = receptor_.Siguiente()) Atender(*peticion, ahora);
}

void Servidor::Atender(const Peticion& peticion, Reloj::time_point llegada) {
  if (peticion.clase == Clase::Registro && peticion.bytes[1] == kEscribir) ++escrituras_;
  if (cerrando_ || !linea_.Dirigida(peticion)) return;
  ++peticiones_;
  // Se guarda también estando mudo: solo calla.
  const std::string respuesta = linea_.Atender(fallas_.Desviar(peticion));
  if (!mudo_) {
    // Con --baudios, el silencio de 3,5 caracteres que separa las tramas en la línea.
    Programar(fallas_.Aplicar(peticiones_, peticion.clase, respuesta),
              llegada + opciones_.retardo + caracter_ * 7 / 2);
  }
  if (opciones_.cerrar_tras && peticiones_ >= *opciones_.cerrar_tras) cerrando_ = true;
}

void Servidor::Programar(const std::vector<std::string>& tramas, Reloj::time_point desde) {
  for (const std::string& trama : tramas) {
    // --parcial 0 deja tramas vacías: nada que enviar.
    if (!trama.empty()) desde = Encolar(trama, desde) + kPausaEntreTramas;
  }
}

// Pone `bytes` en la cola a partir de `desde`; devuelve cuándo sale el último.
Servidor::Reloj::time_point Servidor::Encolar(const std::string& bytes, Reloj::time_point desde) {
  // Una trama no adelanta a la anterior en la línea.
  if (!cola_.empty()) desde = std::max(desde, cola_.back().cuando);
  if (caracter_ == Reloj::duration::zero()) {
    cola_.push_back({desde, bytes});
    return desde;
  }
  // Cada byte sale cuando una línea real lo habría entregado: al final de su carácter.
  for (size_t i = 0; i < bytes.size(); ++i) {
    cola_.push_back({desde + caracter_ * static_cast<long>(i + 1), bytes.substr(i, 1)});
  }
  return cola_.back().cuando;
}

void Servidor::EnviarVencidos(Reloj::time_point ahora) {
  while (!cola_.empty() && cola_.front().cuando <= ahora) {
    const std::string& bytes = cola_.front().bytes;
    // Lo que no cabe se pierde, como en una línea donde nadie escucha.
    (void)!write(pty_.Maestro(), bytes.data(), bytes.size());
    cola_.pop_front();
    ultimo_envio_ = ahora;
  }
}

std::optional<timespec> Servidor::Espera(Reloj::time_point ahora) const {
  std::optional<Reloj::time_point> hasta = fin_vida_;
  const auto antes = [&hasta](Reloj::time_point otro) {
    hasta = hasta ? std::min(*hasta, otro) : otro;
  };
  if (!cola_.empty()) antes(cola_.front().cuando);
  if (!receptor_.Vacio()) antes(ultimo_byte_ + kSilencio);
  if (cerrando_ && cola_.empty()) antes(ahora + kVistazoDeLectura);
  if (!hasta) return std::nullopt;  // nada pendiente: solo despierta el tráfico o una señal
  const auto espera = std::max<std::chrono::nanoseconds>(
      std::chrono::nanoseconds::zero(),
      std::chrono::ceil<std::chrono::nanoseconds>(*hasta - ahora));
  return timespec{static_cast<time_t>(espera.count() / 1'000'000'000),
                  static_cast<long>(espera.count() % 1'000'000'000)};
}

bool Servidor::Terminado(Reloj::time_point ahora) const {
  if (senal_de_fin_ || (fin_vida_ && ahora >= *fin_vida_)) return true;
  if (!cerrando_ || !cola_.empty()) return false;
  // Lo recién escrito tarda un poco en contarse como pendiente de lectura en el esclavo.
  const auto desde_el_envio = ahora - ultimo_envio_;
  return desde_el_envio >= kPlazoDeLectura ||
         (desde_el_envio >= kVistazoDeLectura && pty_.SinLeer() == 0);
}
