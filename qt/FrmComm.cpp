#include "FrmComm.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <cmath>

#include "comunicacion.h"
#include "disposicion.h"
#include "fuente.h"
#include "textos.h"
#include "twips.h"

using namespace comm;
using namespace carga;

FrmComm::FrmComm(QWidget* dueno)
    : QDialog(dueno),
      Label1(new QLabel(this)),
      ProgBar(new QProgressBar(this)),
      CmdCancel(new QPushButton(this)),
      TimerOn(new QTimer(this)) {
  // Una ventana no hereda la letra de su dueña: sin esto tomaría la del escritorio.
  setFont(FuenteVentana());
  setFixedSize(Twips(disposicion::kAnchoComunicando, this),
               Twips(disposicion::kAltoComunicando, this));
  Label1->setObjectName("Label1");
  Label1->setGeometry(TwipsRect(disposicion::ComLabel1, this));
  ProgBar->setObjectName("ProgBar");
  ProgBar->setGeometry(TwipsRect(disposicion::ProgBar, this));
  ProgBar->setRange(0, 100);
  ProgBar->setTextVisible(false);
  CmdCancel->setObjectName("CmdCancel");
  CmdCancel->setGeometry(TwipsRect(disposicion::CmdCancel, this));
  TimerOn->setObjectName("TimerOn");
  TimerOn->setInterval(kMsTimerOn);
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
  setWindowTitle(QString::fromUtf8(textos::kComunicando));
  CmdCancel->setText(QString::fromUtf8(textos::kCancelar));
  // Los controles empiezan cada carga como recién hechos.
  Label1->setText(QString::fromUtf8(textos::kEnviando));
  ProgBar->setValue(0);
  AbrirPuerto(comm1_, *this);
  TimerOn->start();
}

void FrmComm::TimerOn_Timer() {
  enCurso_ = true;
  HacerPeticion(
      *this, comm1_,
      VistaComunicando{
          [this](const std::string& texto) { Label1->setText(QString::fromStdString(texto)); },
          [this](float valor) { ProgBar->setValue(static_cast<int>(std::lround(valor))); },
          [] { QCoreApplication::processEvents(); }});
  enCurso_ = false;
  done(QDialog::Accepted);
}

void FrmComm::CmdCancel_Click() {
  xCancel = true;
}
