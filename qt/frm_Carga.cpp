#include "frm_Carga.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <utility>

#include "disposicion.h"
#include "twips.h"

using namespace almacen;
using namespace comm;
using namespace carga;

frm_Carga::frm_Carga(Ajustes ajustes, Ecos& ecos, QWidget* parent, Traza* traza, PuertosPc pc)
    : QWidget(parent), cargador_(*this, std::move(ajustes), traza, ecos, std::move(pc)) {
  CrearControles();
  EnlazarEventos();
  cargador_.Form_Load();
}

void frm_Carga::EnlazarEventos() {
  connect(HScrollId0, &QScrollBar::valueChanged, this, &frm_Carga::HScrollId0_Change);
  connect(CmdHelp, &QPushButton::clicked, this, [this] { MostrarAyuda(true); });
  connect(CmdCerrar, &QPushButton::clicked, this, [this] { MostrarAyuda(false); });
  connect(Chk_inicio, &QCheckBox::toggled, this, [this] { cargador_.Chk_inicio_Click(); });
  connect(Cmd_Salir, &QPushButton::clicked, this, [this] { cargador_.Cmd_Salir_Click(); });
  connect(CmdConect, &QPushButton::clicked, this, [this] { cargador_.CmdConect_Click(); });
  connect(CmdBuscar, &QPushButton::clicked, this, [this] { cargador_.CmdBuscar_Click(); });
  connect(CmdSubir, &QPushButton::clicked, this, [this] { cargador_.CmdSubir_Click(); });
}

void frm_Carga::HScrollId0_Change() {
  LabelId0->setText(QString::number(HScrollId0->value()));
}

void frm_Carga::closeEvent(QCloseEvent* event) {
  std::int16_t cancel = 0;
  cargador_.Form_Unload(cancel);
  event->setAccepted(cancel == 0);
}

Seleccion frm_Carga::Eleccion() const {
  return Seleccion{ListaPuerto->currentIndex() + 1, ListaBaudios->currentIndex(),
                   HScrollId0->value()};
}

void frm_Carga::MostrarPuertos(const std::vector<std::string>& nombres) {
  ListaPuerto->clear();
  for (const std::string& nombre : nombres) ListaPuerto->addItem(QString::fromStdString(nombre));
}

void frm_Carga::MostrarEleccion(const Seleccion& eleccion) {
  HScrollId0->setValue(static_cast<int>(eleccion.id));
  ListaPuerto->setCurrentIndex(static_cast<int>(eleccion.puerto) - 1);
  ListaBaudios->setCurrentIndex(static_cast<int>(eleccion.baudios));
}

bool frm_Carga::NoMostrar() const {
  return Chk_inicio->isChecked();
}

void frm_Carga::MarcarNoMostrar(bool marcada) {
  Chk_inicio->setChecked(marcada);
}

void frm_Carga::MostrarAyuda(bool visible) {
  Frame2->move(visible ? 0 : Twips(disposicion::kAyudaOculta, this), Frame2->y());
}

void frm_Carga::Version(const std::string& texto) {
  lblVersion->setText(QString::fromStdString(texto));
}

void frm_Carga::MostrarFin(bool visible) {
  Lbl_Fin->setVisible(visible);
}

void frm_Carga::HabilitarBuscar() {
  CmdBuscar->setEnabled(true);
}

void frm_Carga::HabilitarSubir() {
  CmdSubir->setEnabled(true);
}

void frm_Carga::Terminar() {
  while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
  emit Salida();
}
