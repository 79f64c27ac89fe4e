#pragma once

#include <QWidget>
#include <cstdint>
#include <string>

#include "peticion.h"

class BarraEstado;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;

// Ventana principal: elección de puerto, velocidad e ID del indicador, panel de ayuda y los
// tres botones de trabajo (conectar, buscar el membrete, subirlo).
class frm_Carga : public QWidget {
  Q_OBJECT

 public:
  // Título del programa: el de la caja que rechaza el cierre.
  static constexpr const char* TituloPrograma = "Brun_Kesta";

  explicit frm_Carga(QWidget* parent = nullptr);

  // Membrete aceptado para subir: el contenido del archivo más un NUL, o vacío si no hay.
  std::string Membrete;

  // Carpeta del programa: el directorio actual vuelve a ella tras cada uso del diálogo de
  // archivos, porque allí está el archivo de ajustes.
  QString CarpetaPrograma;

  // Prueba el indicador: 1 conectado, 0 no.
  int conec();

 signals:
  // Se salió con "Salir" y las elecciones ya están guardadas: el programa debe terminar.
  void Terminar();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void CrearControles();
  void CrearAyuda();
  void CrearPrincipal();
  void CrearSerie();
  void OrdenarTabulacion();
  void EnlazarEventos();

  void Form_Load();
  void HScrollId0_Change();
  void CmdHelp_Click();
  void CmdCerrar_Click();
  void Chk_inicio_Click();
  void Cmd_Salir_Click();
  void Form_Unload(std::int16_t& Cancel);
  Seleccion GuardarSeleccion();

  void CmdConect_Click();
  void CmdBuscar_Click();
  void buscar();
  void CmdSubir_Click();
  void subir();
  void Centrar(QWidget& dialogo) const;

  QGroupBox* Frame2;
  QPlainTextEdit* Text1;
  QCheckBox* Chk_inicio;
  QPushButton* CmdCerrar;
  BarraEstado* sbStatusBar;
  QGroupBox* Frame1;
  QLabel* Label2;
  QGroupBox* fraSerie;
  QLabel* Label1;
  QLabel* LabelId0;
  QScrollBar* HScrollId0;
  QLabel* LblPuerto;
  QComboBox* ListaPuerto;
  QLabel* LblBaudios;
  QComboBox* ListaBaudios;
  QPushButton* Cmd_Salir;
  QPushButton* CmdHelp;
  QLabel* Lbl_Fin;
  QPushButton* CmdConect;
  QPushButton* CmdBuscar;
  QPushButton* CmdSubir;
  QLabel* lblVersion;
};
