#pragma once

#include <QDialog>
#include <string>

#include "peticion.h"
#include "puerto_serie.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

// Diálogo "Comunicando": cada vez que se muestra abre el puerto con la selección de la petición,
// hace la petición (xFnc "R" lee registros, "T" los escribe, "C" envía una orden de línea),
// cierra el puerto y se cierra solo. El resultado queda en los campos x… del mismo objeto.
class FrmComm : public QDialog, public comm::Peticion {
  Q_OBJECT

 public:
  explicit FrmComm(QWidget* dueno = nullptr);

  const PuertoSerie& Comm1() const { return comm1_; }

 public slots:
  void reject() override;

 protected:
  void showEvent(QShowEvent* evento) override;
  void closeEvent(QCloseEvent* evento) override;

 private:
  void Form_Load();
  void TimerOn_Timer();
  void CmdCancel_Click();

  QLabel* Label1;
  QProgressBar* ProgBar;
  QPushButton* CmdCancel;
  QTimer* TimerOn;
  PuertoSerie comm1_;
  bool enCurso_ = false;
};
