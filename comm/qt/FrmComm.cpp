#include "FrmComm.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <cmath>

#include "ajustes.h"
#include "linea.h"
#include "numero.h"
#include "twips.h"

namespace {

constexpr long kVelocidadBase = 1200;
constexpr long kIndiceVelocidadMaximo = 4;  // 1200 · 2^4 = 19200

// Un "R" está completo cuando trae dos caracteres por cada registro pedido.
bool LecturaCompleta(const std::string& datos, const std::string& longitud) {
  const std::optional<long> registros = EnteroDe(longitud);
  return registros && *registros >= 0 &&
         datos.size() == 2 * static_cast<unsigned long long>(*registros);
}

}  // namespace

FrmComm::FrmComm(QWidget* dueno)
    : QDialog(dueno),
      Label1(new QLabel(this)),
      ProgBar(new QProgressBar(this)),
      CmdCancel(new QPushButton(this)),
      TimerOn(new QTimer(this)) {
  setFixedSize(Twips(5190, this), Twips(1980, this));
  Label1->setObjectName("Label1");
  Label1->setGeometry(TwipsRect(1800, 360, 1695, 255, this));
  ProgBar->setObjectName("ProgBar");
  ProgBar->setGeometry(TwipsRect(360, 960, 4455, 255, this));
  ProgBar->setRange(0, 100);
  ProgBar->setTextVisible(false);
  CmdCancel->setObjectName("CmdCancel");
  CmdCancel->setGeometry(TwipsRect(2040, 1440, 1095, 375, this));
  // Intro no cancela: solo el clic.
  CmdCancel->setAutoDefault(false);
  TimerOn->setObjectName("TimerOn");
  TimerOn->setInterval(100);
  // Se apaga en su primer tic: una petición por cada vez que se muestra.
  TimerOn->setSingleShot(true);

  connect(TimerOn, &QTimer::timeout, this, &FrmComm::TimerOn_Timer);
  connect(CmdCancel, &QPushButton::clicked, this, &FrmComm::CmdCancel_Click);
}

void FrmComm::showEvent(QShowEvent* evento) {
  QDialog::showEvent(evento);
  // Los espontáneos vienen del sistema (restaurar la ventana), no de quien la muestra.
  if (!evento->spontaneous()) Form_Load();
}

// Cerrar desde el marco o con Escape es pedir que pare; el diálogo se cierra solo al acabar.
void FrmComm::closeEvent(QCloseEvent* evento) {
  evento->ignore();
  reject();
}

void FrmComm::reject() {
  if (enCurso_) CmdCancel_Click();
}

void FrmComm::Form_Load() {
  setWindowTitle("Comunicando");
  CmdCancel->setText("Cancelar");
  // Los controles empiezan cada carga como recién hechos.
  Label1->setText("Enviando datos...");
  ProgBar->setValue(0);
  if (!comm1_.PortOpen()) AbrirPuerto();
  TimerOn->start();
}

// Cada paso que falla se salta: la petición fallará después por su resultado.
void FrmComm::AbrirPuerto() {
  comm1_.SetRTSEnable(true);
  if (const std::optional<long> numero = EnteroDe(LeerIni("global", "Comm", 2))) {
    comm1_.SetCommPort(*numero);
  }
  comm1_.SetHandshaking(0);
  const std::optional<long> indice = EnteroDe(LeerIni("global", "Baudios", 4));
  if (indice && *indice >= 0 && *indice <= kIndiceVelocidadMaximo) {
    comm1_.SetSettings(std::to_string(kVelocidadBase << *indice) + ",n,8,1");
  }
  comm1_.SetPortOpen(true);
}

void FrmComm::TimerOn_Timer() {
  enCurso_ = true;
  xCancel = false;
  ProgBar->setValue(0);
  Despachar();
  if (comm1_.PortOpen()) comm1_.SetPortOpen(false);
  ProgBar->setValue(100);
  enCurso_ = false;
  done(QDialog::Accepted);
}

// Los procedimientos reciben copias: el relleno de "T" y el marco de "C" no llegan a los campos.
void FrmComm::Despachar() {
  Transferencia transferencia(comm1_, Ganchos());
  if (xFnc == "R") {
    TextoDeEstado("Recibiendo datos...");
    const std::string direccion = xDire;
    const std::string longitud = xLong;
    const std::string datos = transferencia.Leer(direccion, longitud);
    xOK = LecturaCompleta(datos, longitud);
    xDato = datos;
  } else if (xFnc == "T") {
    TextoDeEstado("Enviando datos...");
    const std::string direccion = xDire;
    std::string dato = xDato;
    xOK = !transferencia.Escribir(direccion, dato).empty();
  } else if (xFnc == "C") {
    xDato = TRxC(comm1_, xDato);
  }
}

void FrmComm::CmdCancel_Click() {
  xCancel = true;
}

Avance FrmComm::Ganchos() {
  return Avance{
      [this](float valor) { ProgBar->setValue(static_cast<int>(std::lround(valor))); },
      [] { QCoreApplication::processEvents(); },
      [this] { return xCancel; },
  };
}

void FrmComm::TextoDeEstado(const char* porDefecto) {
  Label1->setText(xText.empty() ? QString(porDefecto) : QString::fromStdString(xText));
}
