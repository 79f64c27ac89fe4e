#include "servidor.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>

namespace simulador {

namespace {

// Tras este silencio, lo recibido sin completar una petición se cierra o se descarta. Corto
// frente a los 2000 ms que el programa espera, largo para no partir una trama que el sistema
// entregue en dos trozos.
constexpr std::chrono::milliseconds kSilencio{20};

// Al cortar con --cerrar-tras se espera a que el programa lea la última respuesta (al
// cerrar el maestro se pierde lo no leído), pero no más de lo que él mismo la esperaría.
constexpr std::chrono::milliseconds kPlazoDeLectura{2000};
constexpr std::chrono::milliseconds kVistazoDeLectura{10};

// Entre el eco viejo de --eco-tardio y la respuesta buena: se distinguen, y las dos llegan muy
// dentro de los 2000 ms.
constexpr std::chrono::milliseconds kPausaEntreTramas{100};

constexpr char kEscribir = 6;

}  // namespace

Servidor::Servidor(const Opciones& opciones, Bus& bus, Enchufe& enchufe, Senales& senales)
    : opciones_(opciones),
      bus_(bus),
      enchufe_(enchufe),
      senales_(senales),
      fallas_(opciones),
      ocupa_el_bus_(opciones.eco_del_bus || opciones.semiduplex),
      mudo_(opciones.mudo),
      desenchufar_(opciones.desenchufar_tras == 0) {
  if (opciones.baudios) caracter_ = std::chrono::nanoseconds(10'000'000'000LL / *opciones.baudios);
  if (opciones.vida) fin_vida_ = Reloj::now() + *opciones.vida;
  if (opciones.una_velocidad) velocidad_ = VelocidadTermios(opciones.baudios.value_or(9600));
}

void Servidor::Servir() {
  auto ahora = Reloj::now();
  while (!Terminado(ahora)) {
    // Desenchufado no hay pseudoterminal: poll() no vigila los descriptores negativos.
    const bool puesto = enchufe_.Puesto();
    pollfd vigilados[] = {{puesto ? enchufe_.Actual().Maestro() : -1, POLLIN, 0},
                          {puesto ? enchufe_.Actual().Vigia() : -1, POLLIN, 0},
                          {senales_.Descriptor(), POLLIN, 0}};
    // ppoll y no poll: con plazos en milisegundos, cada byte saldría hasta 1 ms tarde.
    const std::optional<timespec> espera = Espera(ahora);
    ppoll(vigilados, 3, espera ? &*espera : nullptr, nullptr);
    ahora = Reloj::now();
    // Siempre: una señal que llegó al volver de poll() aún no figura en revents.
    AtenderSenales(ahora);
    if (enchufe_.Puesto()) {
      if (vigilados[1].revents & POLLIN) enchufe_.Actual().AtenderCierres();
      if (vigilados[0].revents & POLLIN) Leer(ahora);
    }
    Oir(ahora);
    if (!receptor_.Vacio() && ahora - ultimo_byte_ >= kSilencio) {
      if (const auto peticion = receptor_.CerrarPorSilencio()) Atender(*peticion, ahora);
    }
    EnviarVencidos(ahora);
    AtenderEnchufe(ahora);
  }
  if (enchufe_.Puesto()) enchufe_.Actual().CerrarMaestro();
}

void Servidor::AtenderSenales(Reloj::time_point ahora) {
  for (const int senal : senales_.Recibidas()) {
    if (senal == SIGUSR1) {
      mudo_ = !mudo_;
    } else if (senal == SIGUSR2) {
      if (enchufe_.Puesto()) {
        Desenchufar(ahora);
      } else {
        Enchufar();
      }
    } else {
      senal_de_fin_ = true;
    }
  }
}

void Servidor::Leer(Reloj::time_point ahora) {
  Pty& pty = enchufe_.Actual();
  char bloque[512];
  ssize_t leidos;
  // A otra velocidad, un indicador real solo oye basura: ni la guarda como parte de una trama.
  // El eco del adaptador, en cambio, vuelve igual.
  const bool oye = !velocidad_ || pty.Velocidad() == *velocidad_;
  while ((leidos = read(pty.Maestro(), bloque, sizeof bloque)) > 0) {
    for (ssize_t i = 0; i < leidos; ++i) entrantes_.push_back({Paso(ahora), bloque[i], oye});
  }
  // Quien habla tiene el esclavo abierto: si lo cierra y lo vuelve a abrir enseguida, antes de que
  // veamos el cierre, la exclusividad que puso al abrirlo no debe impedírselo.
  pty.QuitarExclusividad();
}

// Cuándo termina de pasar por el bus el siguiente byte del programa. Si no ocupa el bus o sin
// ritmo, al llegar.
Servidor::Reloj::time_point Servidor::Paso(Reloj::time_point ahora) {
  if (!ocupa_el_bus_ || caracter_ == Reloj::duration::zero()) return ahora;
  fin_del_programa_ = std::max(ahora, fin_del_programa_) + caracter_;
  return fin_del_programa_;
}

// Los bytes del programa que ya pasaron por el bus: el indicador los oye, salvo los que
// chocaron; el bus con eco los devuelve, deformados si chocaron.
void Servidor::Oir(Reloj::time_point ahora) {
  while (!entrantes_.empty() && entrantes_.front().cuando <= ahora) {
    const Entrante entrante = entrantes_.front();
    entrantes_.pop_front();
    const bool choca = opciones_.semiduplex && Choca(entrante.cuando);
    if (opciones_.eco_del_bus)
      Devolver(entrante.cuando, choca ? static_cast<char>(~entrante.byte) : entrante.byte);
    if (choca) {
      ++colisiones_;
      continue;
    }
    if (!entrante.oido) continue;
    receptor_.Agregar(std::string(1, entrante.byte));
    ultimo_byte_ = entrante.cuando;
    while (const auto peticion = receptor_.Siguiente()) Atender(*peticion, entrante.cuando);
  }
}

// Un byte del programa ocupa el carácter que acaba en `paso`: choca si se cruza con una respuesta
// que está en el aire, y lo que aún falta de ella sale deformado.
bool Servidor::Choca(Reloj::time_point paso) {
  while (!al_aire_.empty() && al_aire_.front().fin <= paso - caracter_) al_aire_.pop_front();
  if (al_aire_.empty() || al_aire_.front().inicio >= paso) return false;
  Tramo& tramo = al_aire_.front();
  if (!tramo.deformado) {
    for (Envio& envio : cola_) {
      if (envio.eco || envio.cuando <= tramo.inicio || envio.cuando > tramo.fin) continue;
      for (char& byte : envio.bytes) byte = static_cast<char>(~byte);
    }
    tramo.deformado = true;
  }
  return true;
}

// El eco sale cuando el byte termina de pasar, aunque haya respuestas esperando en la cola.
void Servidor::Devolver(Reloj::time_point cuando, char byte) {
  const auto despues = std::upper_bound(
      cola_.begin(), cola_.end(), cuando,
      [](Reloj::time_point momento, const Envio& envio) { return momento < envio.cuando; });
  cola_.insert(despues, Envio{cuando, std::string(1, byte), true});
}

void Servidor::Atender(const Peticion& peticion, Reloj::time_point llegada) {
  if (peticion.clase == Clase::Modbus && peticion.bytes[1] == kEscribir) ++escrituras_oidas_;
  if (cerrando_ || desenchufar_ || !bus_.Dirigida(peticion)) return;
  ++peticiones_;
  // Se guarda también estando mudo: solo calla.
  const std::string respuesta = bus_.Atender(fallas_.Desviar(peticion));
  if (!mudo_) {
    // Con --baudios, el silencio de 3,5 caracteres que separa las tramas en el bus.
    Programar(fallas_.Aplicar(peticiones_, peticion.clase, respuesta),
              llegada + opciones_.retardo + caracter_ * 7 / 2);
  }
  if (opciones_.cerrar_tras && peticiones_ >= *opciones_.cerrar_tras) cerrando_ = true;
  if (opciones_.desenchufar_tras && peticiones_ == *opciones_.desenchufar_tras) desenchufar_ = true;
}

void Servidor::Programar(const std::vector<std::string>& tramas, Reloj::time_point desde) {
  for (const std::string& trama : tramas) {
    // --parcial 0 deja tramas vacías: nada que enviar.
    if (!trama.empty()) desde = Encolar(trama, desde) + kPausaEntreTramas;
  }
}

// Pone `bytes` en la cola a partir de `desde`; devuelve cuándo sale el último.
Servidor::Reloj::time_point Servidor::Encolar(const std::string& bytes, Reloj::time_point desde) {
  // Una trama no adelanta a la anterior en el bus.
  if (!cola_.empty()) desde = std::max(desde, cola_.back().cuando);
  if (caracter_ == Reloj::duration::zero()) {
    cola_.push_back({desde, bytes});
    return desde;
  }
  // Cada byte sale cuando un bus real lo habría entregado: al final de su carácter.
  for (size_t i = 0; i < bytes.size(); ++i) {
    cola_.push_back({desde + caracter_ * static_cast<long>(i + 1), bytes.substr(i, 1)});
  }
  if (opciones_.semiduplex) al_aire_.push_back({desde, cola_.back().cuando});
  return cola_.back().cuando;
}

void Servidor::EnviarVencidos(Reloj::time_point ahora) {
  while (!cola_.empty() && cola_.front().cuando <= ahora) {
    const std::string& bytes = cola_.front().bytes;
    // Lo que no cabe se pierde, como en un bus donde nadie escucha.
    (void)!write(enchufe_.Actual().Maestro(), bytes.data(), bytes.size());
    cola_.pop_front();
    ultimo_envio_ = ahora;
  }
}

void Servidor::AtenderEnchufe(Reloj::time_point ahora) {
  if (desenchufar_ && enchufe_.Puesto() && cola_.empty() && Leido(ahora)) Desenchufar(ahora);
  if (vuelta_ && ahora >= *vuelta_) Enchufar();
}

// Lo que estaba en camino se pierde con el adaptador; los registros quedan.
void Servidor::Desenchufar(Reloj::time_point ahora) {
  enchufe_.Desenchufar();
  cola_.clear();
  entrantes_.clear();
  al_aire_.clear();
  receptor_ = Receptor();
  desenchufar_ = false;
  if (opciones_.volver_tras) vuelta_ = ahora + *opciones_.volver_tras;
}

void Servidor::Enchufar() {
  enchufe_.Enchufar();
  vuelta_.reset();
}

std::optional<timespec> Servidor::Espera(Reloj::time_point ahora) const {
  std::optional<Reloj::time_point> hasta = fin_vida_;
  const auto antes = [&hasta](Reloj::time_point otro) {
    hasta = hasta ? std::min(*hasta, otro) : otro;
  };
  if (!cola_.empty()) antes(cola_.front().cuando);
  if (!entrantes_.empty()) antes(entrantes_.front().cuando);
  if (!receptor_.Vacio()) antes(ultimo_byte_ + kSilencio);
  if ((cerrando_ || desenchufar_) && cola_.empty()) antes(ahora + kVistazoDeLectura);
  if (vuelta_) antes(*vuelta_);
  if (!hasta) return std::nullopt;  // nada pendiente: solo despierta el tráfico o una señal
  const auto espera = std::max<std::chrono::nanoseconds>(
      std::chrono::nanoseconds::zero(),
      std::chrono::ceil<std::chrono::nanoseconds>(*hasta - ahora));
  return timespec{static_cast<time_t>(espera.count() / 1'000'000'000),
                  static_cast<long>(espera.count() % 1'000'000'000)};
}

bool Servidor::Leido(Reloj::time_point ahora) const {
  // Lo recién escrito tarda un poco en contarse como pendiente de lectura en el esclavo.
  const auto desde_el_envio = ahora - ultimo_envio_;
  return desde_el_envio >= kPlazoDeLectura ||
         (desde_el_envio >= kVistazoDeLectura && enchufe_.Actual().SinLeer() == 0);
}

bool Servidor::Terminado(Reloj::time_point ahora) const {
  if (senal_de_fin_ || (fin_vida_ && ahora >= *fin_vida_)) return true;
  if (!cerrando_ || !cola_.empty()) return false;
  return !enchufe_.Puesto() || Leido(ahora);
}

}  // namespace simulador
