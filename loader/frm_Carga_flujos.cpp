// The three workflows of the main window: connect, choose the letterhead, upload it.
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include "FrmComm.h"
#include "ajustes.h"
#include "archivo_membrete.h"
#include "barra_estado.h"
#include "bloque_setup.h"
#include "frm_Carga.h"

namespace {

constexpr std::size_t kLargoMaximo = 75;
constexpr std::size_t kLargoSondeo = 16;  // eight registers
const char* const kRegistroMembrete = "26";

void Error(QWidget* dueno, QMessageBox::Icon icono, const char* texto) {
  QMessageBox caja(icono, QStringLiteral("Error"), QString::fromUtf8(texto), QMessageBox::Ok,
                   dueno);
  caja.exec();
}

std::filesystem::path Ruta(const QString& archivo) {
#ifdef _WIN32
  return std::filesystem::path(archivo.toStdWString());
#else
  return std::filesystem::path(QFile::encodeName(archivo).toStdString());
#endif
}

}  // namespace

void frm_Carga::CmdConect_Click() {
  Lbl_Fin->hide();
  sbStatusBar->Panel(1)->setText(QStringLiteral("Conectando..."));
  if (conec() == 1) {
    sbStatusBar->Panel(1)->setText(QStringLiteral("Estado: Conectado"));
    CmdBuscar->setEnabled(true);
  } else {
    Error(this, QMessageBox::Critical, "No se puede establecer la comunicacion con el indicador");
    sbStatusBar->Panel(1)->setText(QStringLiteral("Estado: Desconectado"));
  }
}

// A register probe first; only when it does not bring eight registers, the setup block.
int frm_Carga::conec() {
  FrmComm dialogo(this);
  dialogo.linea = GuardarSeleccion();
  dialogo.xFnc = "R";
  dialogo.xDire = kRegistroMembrete;
  dialogo.xLong = "8";
  Centrar(dialogo);
  dialogo.exec();
  if (dialogo.xDato.size() == kLargoSondeo) return 1;

  dialogo.xFnc = "C";
  dialogo.xDato = "M";
  Centrar(dialogo);
  dialogo.exec();
  auto valores = ValoresSetup(dialogo.xDato);
  if (valores.empty()) return 0;
  for (const auto& [clave, valor] : valores) EscribirIni("Setup", clave, valor);
  return 1;
}

void frm_Carga::Centrar(QWidget& dialogo) const {
  QRect ventana = frameGeometry();
  dialogo.move(ventana.left() + ventana.width() / 2 - dialogo.width() / 2,
               ventana.top() + ventana.height() / 2 - dialogo.height() / 2);
}

void frm_Carga::CmdBuscar_Click() {
  Lbl_Fin->hide();
  buscar();
  if (!Membrete.empty()) CmdSubir->setEnabled(true);
}

void frm_Carga::buscar() {
  Membrete.clear();
  QFileDialog Dialogo(this, QString(), QDir::current().absoluteFilePath(QStringLiteral("ticket")),
                      QStringLiteral("Archivos de Texto (*.txt)"));
  Dialogo.setAcceptMode(QFileDialog::AcceptOpen);
  Dialogo.setFileMode(QFileDialog::ExistingFile);
  bool elegido = Dialogo.exec() == QDialog::Accepted && !Dialogo.selectedFiles().isEmpty();
  QDir::setCurrent(CarpetaPrograma);
  if (!elegido) return;

  LecturaMembrete lectura = Tx(Ruta(Dialogo.selectedFiles().constFirst()), kLargoMaximo);
  switch (lectura.estado) {
    case EstadoLectura::Leido:
      Membrete = lectura.texto + '\0';
      break;
    case EstadoLectura::DemasiadoLargo:
      Error(this, QMessageBox::Warning, "La longitud del formulario es mayor a 75 bytes");
      break;
    case EstadoLectura::Error:
      break;
  }
}

void frm_Carga::CmdSubir_Click() {
  Lbl_Fin->hide();
  subir();
}

void frm_Carga::subir() {
  FrmComm dialogo(this);
  dialogo.linea = GuardarSeleccion();
  dialogo.xFnc = "T";
  dialogo.xDire = kRegistroMembrete;
  dialogo.xDato = Membrete;
  dialogo.exec();
  if (dialogo.xOK) {
    Lbl_Fin->show();
  } else {
    Error(this, QMessageBox::Critical, "Error al cargar el Ticket");
  }
}
