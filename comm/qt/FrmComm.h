#pragma once

#include <QDialog>
#include <string>

#include "puerto_serie.h"
#include "transferencia.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

// Diálogo "Comunicando": cada vez que se muestra abre el puerto con los ajustes guardados, hace
// una petición (xFnc "R" lee registros, "T" los escribe, "C" envía una orden de línea), cierra
// el puerto y se cierra solo. El resultado queda en los campos x… del mismo objeto.
class FrmComm : public QDialog {
  Q_OBJECT

 public:
  explicit FrmComm(QWidget* dueno = nullptr);

  std::string xFnc;
  std::string xDire;
  std::string xLong;
  std::string xDato;
  std::string xText;
  bool xOK = false;
  bool xCancel = false;

  const PuertoSerie& Comm1() const { return comm1_; }

 public slots:
  void reject() override;

 protected:
  void showEvent(QShowEvent* evento) override;
  void closeEvent(QCloseEvent* evento) override;

 private:
  void Form_Load();
  void AbrirPuerto();
  void TimerOn_Timer();
  void Despachar();
  void CmdCancel_Click();
  Avance Ganchos();
  void TextoDeEstado(const char* porDefecto);

  QLabel* Label1;
  QProgressBar* ProgBar;
  QPushButton* CmdCancel;
  QTimer* TimerOn;
  PuertoSerie comm1_;
  bool enCurso_ = false;
};
