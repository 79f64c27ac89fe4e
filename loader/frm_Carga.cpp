#include "frm_Carga.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>

#include "ajuste_entero.h"
#include "ajustes.h"
#include "twips.h"

frm_Carga::frm_Carga(QWidget* parent)
    : QWidget(parent), CarpetaPrograma(QCoreApplication::applicationDirPath()) {
  CrearControles();
  EnlazarEventos();
  Form_Load();
}

void frm_Carga::EnlazarEventos() {
  connect(HScrollId0, &QScrollBar::valueChanged, this, &frm_Carga::HScrollId0_Change);
  connect(CmdHelp, &QPushButton::clicked, this, &frm_Carga::CmdHelp_Click);
  connect(CmdCerrar, &QPushButton::clicked, this, &frm_Carga::CmdCerrar_Click);
  connect(Chk_inicio, &QCheckBox::toggled, this, &frm_Carga::Chk_inicio_Click);
  connect(Cmd_Salir, &QPushButton::clicked, this, &frm_Carga::Cmd_Salir_Click);
  connect(CmdConect, &QPushButton::clicked, this, &frm_Carga::CmdConect_Click);
  connect(CmdBuscar, &QPushButton::clicked, this, &frm_Carga::CmdBuscar_Click);
  connect(CmdSubir, &QPushButton::clicked, this, &frm_Carga::CmdSubir_Click);
}

// Los valores guardados fuera de lo que la ventana admite valen como ausentes; -1 en
// "Baudios" y 0 en "Comm" dejan la lista sin elección.
void frm_Carga::Form_Load() {
  Chk_inicio->setChecked(AjusteEntero("Global", "Mostrar", 0, 0, 1) == 1);
  HScrollId0->setValue(static_cast<int>(AjusteEntero("global", "ID_1", 1, 0, 255)));

  for (int puerto = 1; puerto <= 8; ++puerto)
    ListaPuerto->addItem(QStringLiteral("Com%1").arg(puerto));
  ListaPuerto->setCurrentIndex(static_cast<int>(AjusteEntero("Global", "Comm", 1, 0, 8)) - 1);

  ListaBaudios->addItems({QStringLiteral("1200"), QStringLiteral("2400"), QStringLiteral("4800"),
                          QStringLiteral("9600")});
  ListaBaudios->setCurrentIndex(static_cast<int>(AjusteEntero("Global", "Baudios", 3, -1, 3)));

  lblVersion->setText(QString::fromUtf8("Versión %1.%2.%3")
                          .arg(VERSION_MAYOR)
                          .arg(VERSION_MENOR)
                          .arg(VERSION_REVISION));

  if (!Chk_inicio->isChecked()) CmdHelp_Click();
}

void frm_Carga::HScrollId0_Change() {
  LabelId0->setText(QString::number(HScrollId0->value()));
}

void frm_Carga::CmdHelp_Click() {
  Frame2->move(0, Frame2->y());
}

void frm_Carga::CmdCerrar_Click() {
  Frame2->move(Twips(5600, this), Frame2->y());
}

void frm_Carga::Chk_inicio_Click() {
  EscribirIni("Global", "Mostrar", Chk_inicio->isChecked() ? 1L : 0L);
}

void frm_Carga::Cmd_Salir_Click() {
  GuardarSeleccion();
  std::int16_t cancel = 1;
  Form_Unload(cancel);
}

// La comunicación lee puerto, velocidad e ID del archivo de ajustes: se guardan al salir y
// antes de cada conexión y subida, para que valga lo que el operador ve en pantalla.
Seleccion frm_Carga::GuardarSeleccion() {
  const Seleccion eleccion{ListaPuerto->currentIndex() + 1, ListaBaudios->currentIndex(),
                           HScrollId0->value()};
  EscribirIni("Global", "Comm", eleccion.puerto);
  EscribirIni("Global", "Baudios", eleccion.baudios);
  EscribirIni("global", "ID_1", eleccion.id);
  return eleccion;
}

// Cancel distinto de 0 al entrar (solo desde "Salir") termina el programa; cualquier otro
// pedido de cierre se rechaza con un aviso y deja Cancel en 1.
void frm_Carga::Form_Unload(std::int16_t& Cancel) {
  if (Cancel != 0) {
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    emit Terminar();
    return;
  }
  const QString aviso = QString::fromUtf8("Debe utilizar el botón SALIR") + QStringLiteral("\r\r") +
                        QString::fromUtf8(" Para cerrar su sesión");
  QMessageBox caja(QMessageBox::NoIcon, QString::fromLatin1(TituloPrograma), aviso, QMessageBox::Ok,
                   this);
  caja.setWindowModality(Qt::WindowModal);
  // Con texto seleccionable la caja dibuja cada CR como salto de línea.
  caja.setTextInteractionFlags(Qt::TextSelectableByMouse);
  caja.exec();
  Cancel = 1;
}

void frm_Carga::closeEvent(QCloseEvent* event) {
  std::int16_t cancel = 0;
  Form_Unload(cancel);
  event->setAccepted(cancel == 0);
}
