#include "puerto_serie.h"

#include <unistd.h>

#include <QFile>

#include "bytes.h"
#include "falla_apertura.h"
#include "plazo.h"

using namespace comm;

namespace {

// Entregar unos pocos bytes al sistema es inmediato; si el controlador no los toma, lo que
// quede sale durante la espera de la respuesta.
constexpr int kEntregaMs = 100;

QSerialPort::Parity Paridad(char letra) {
  switch (letra) {
    case 'e':
      return QSerialPort::EvenParity;
    case 'o':
      return QSerialPort::OddParity;
    case 'm':
      return QSerialPort::MarkParity;
    case 's':
      return QSerialPort::SpaceParity;
    default:
      return QSerialPort::NoParity;
  }
}

// QSerialPort da PermissionError tanto si el puerto está tomado (su archivo de bloqueo, o la
// exclusividad que pone al abrir) como si el usuario no puede abrirlo; access() los separa.
FallaApertura Falla(QSerialPort::SerialPortError error, const std::string& dispositivo) {
  switch (error) {
    case QSerialPort::DeviceNotFoundError:
      return FallaApertura::NoExiste;
    case QSerialPort::PermissionError:
      return access(dispositivo.c_str(), R_OK | W_OK) == 0 ? FallaApertura::EnUso
                                                           : FallaApertura::SinPermiso;
    case QSerialPort::UnsupportedOperationError:
      return FallaApertura::Configuracion;
    default:
      return FallaApertura::Otra;
  }
}

}  // namespace

PuertoSerie::PuertoSerie() {
  // readyRead llega cuando los bytes pasan al búfer, dentro de la espera o en el bucle de eventos.
  QObject::connect(&serie_, &QSerialPort::readyRead, &serie_,
                   [this] { ultimaRecepcion_ = Reloj::now(); });
  AplicarLinea(linea_);
}

bool PuertoSerie::SetPortOpen(bool abrir) {
  if (!abrir) {
    if (PortOpen()) serie_.close();
    return true;
  }
  if (PortOpen()) return false;
  dispositivo_ = DispositivoElegido();
  serie_.setPortName(QFile::decodeName(ABytes(dispositivo_)));
  // Los ajustes guardados con el puerto cerrado se aplican al abrir; si no valen, no abre. Abre en
  // exclusiva (archivo de bloqueo y TIOCEXCL): otro programa, u otra copia de este, no puede
  // mezclar sus bytes con los nuestros y se le dice que el puerto está en uso.
  if (!serie_.open(QIODevice::ReadWrite)) {
    errorApertura_ = MotivoFalla(Falla(serie_.error(), dispositivo_));
    return false;
  }
  errorApertura_.clear();
  // Un pseudoterminal no tiene RTS: el paso se salta y el puerto sirve igual.
  if (rts_) serie_.setRequestToSend(true);
  ultimaRecepcion_ = {};
  return true;
}

std::string PuertoSerie::Input() {
  Recoger();
  return PortOpen() ? ATexto(serie_.readAll()) : std::string();
}

void PuertoSerie::Output(const std::string& datos) {
  Vigilar();
  if (!PortOpen()) return;
  serie_.write(ABytes(datos));
  // write() solo encola: sin una espera no sale nada.
  serie_.waitForBytesWritten(kEntregaMs);
  Vigilar();
}

std::size_t PuertoSerie::InBufferCount() {
  Recoger();
  return Recibidos();
}

void PuertoSerie::Esperar(std::size_t n, Reloj::time_point limite) {
  Recoger();
  // waitForReadyRead solo vuelve con bytes nuevos: lo ya recibido se cuenta antes de esperar.
  while (PortOpen() && Recibidos() < n) {
    const int ms = MsHasta(limite);
    if (ms == 0) break;
    serie_.waitForReadyRead(ms);
    Vigilar();
  }
  // Lo que falte del plazo: menos de un milisegundo, o todo si el puerto se cerró. Lo que
  // llegue mientras tanto se recoge en la lectura siguiente.
  if (!PortOpen() || Recibidos() < n) DormirHasta(limite);
}

bool PuertoSerie::AplicarLinea(const AjustesLinea& linea) {
  return serie_.setBaudRate(static_cast<qint32>(linea.baudios)) &&
         serie_.setParity(Paridad(linea.paridad)) &&
         serie_.setDataBits(static_cast<QSerialPort::DataBits>(linea.bitsDatos)) &&
         serie_.setStopBits(linea.bitsParada == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop) &&
         serie_.setFlowControl(QSerialPort::NoFlowControl);
}

bool PuertoSerie::AplicarRts(bool alto) {
  return serie_.setRequestToSend(alto);
}

std::size_t PuertoSerie::Recibidos() const {
  return PortOpen() ? static_cast<std::size_t>(serie_.bytesAvailable()) : 0;
}

// Pasa al búfer lo que el sistema ya tiene recibido, sin esperar. Antes mira los errores que
// dejó el bucle de eventos desde la última llamada.
void PuertoSerie::Recoger() {
  Vigilar();
  if (PortOpen()) serie_.waitForReadyRead(0);
  Vigilar();
}

// Un adaptador desenchufado deja el puerto abierto, y cada espera vuelve al instante con error:
// se cierra, para que las esperas duerman hasta su plazo en vez de girar. error() no se borra
// solo, así que se limpia tras mirarlo y cada error visto aquí es nuevo.
void PuertoSerie::Vigilar() {
  const QSerialPort::SerialPortError error = serie_.error();
  if (error == QSerialPort::ReadError || error == QSerialPort::ResourceError) serie_.close();
  serie_.clearError();
}
