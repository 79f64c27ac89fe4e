#pragma once

#include <QWidget>
#include <filesystem>
#include <string>

#include "cargador.h"
#include "disposicion.h"

class BarraEstado;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;

namespace comm {
class Ecos;
class Traza;
}  // namespace comm

// Ventana principal en Qt: dibuja los controles, pasa sus eventos a Cargador y cumple lo que
// este le pide.
class frm_Carga : public QWidget, private carga::PantallaCarga {
  Q_OBJECT

 public:
  // `ajustes`: los de esta ejecución; `ecos` dura lo que el programa; `pc`: los puertos de esta
  // PC para la lista.
  frm_Carga(almacen::Ajustes ajustes, comm::Ecos& ecos, QWidget* parent = nullptr,
            comm::Traza* traza = nullptr, carga::PuertosPc pc = {});

  carga::Cargador& Flujos() { return cargador_; }

 signals:
  // Se salió con "Salir" y las elecciones ya están guardadas: el programa debe terminar.
  void Salida();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void CrearControles();
  void CrearAyuda();
  void CrearPrincipal();
  void CrearSerie();
  template <typename Control, typename Ventana>
  friend std::array<Control, carga::disposicion::kParadasTabulacion>
  carga::disposicion::OrdenTabulacion(const Ventana& v);
  void OrdenarTabulacion();
  void EnlazarEventos();

  void HScrollId0_Change();

  // PantallaCarga
  comm::Seleccion Eleccion() const override;
  void MostrarPuertos(const std::vector<std::string>& nombres) override;
  void MostrarEleccion(const comm::Seleccion& eleccion) override;
  bool NoMostrar() const override;
  void MarcarNoMostrar(bool marcada) override;
  void MostrarAyuda(bool visible) override;
  void Version(const std::string& texto) override;
  void Estado(const std::string& texto) override;
  void Aviso(const std::string& texto) override;
  void MostrarFin(bool visible) override;
  void HabilitarBuscar() override;
  void HabilitarSubir() override;
  void Caja(const std::string& titulo, const std::string& texto, Icono icono) override;
  std::optional<std::filesystem::path> ElegirArchivo(const std::filesystem::path& carpeta) override;
  void Comunicar(comm::Peticion& peticion) override;
  void Terminar() override;  // emite Salida

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

  carga::Cargador cargador_;
};
