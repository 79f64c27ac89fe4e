// Lo que la ventana principal muestra por pedido de Cargador: estado, cajas y diálogos.
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>

#include "FrmComm.h"
#include "barra_estado.h"
#include "frm_Carga.h"
#include "textos.h"

using namespace almacen;
using namespace comm;
using namespace carga;

namespace {

QMessageBox::Icon IconoQt(PantallaCarga::Icono icono) {
  switch (icono) {
    case PantallaCarga::Icono::Critico:
      return QMessageBox::Critical;
    case PantallaCarga::Icono::Exclamacion:
      return QMessageBox::Warning;
    case PantallaCarga::Icono::Ninguno:
      break;
  }
  return QMessageBox::NoIcon;
}

std::filesystem::path Ruta(const QString& archivo) {
  return std::filesystem::path(QFile::encodeName(archivo).toStdString());
}

}  // namespace

void frm_Carga::Estado(const std::string& texto) {
  sbStatusBar->Panel(1)->setText(QString::fromStdString(texto));
}

// Tapa el panel 1 un rato; después vuelve a verse el estado.
void frm_Carga::Aviso(const std::string& texto) {
  sbStatusBar->showMessage(QString::fromStdString(texto), kMsAviso);
}

void frm_Carga::Caja(const std::string& titulo, const std::string& texto, Icono icono) {
  QMessageBox caja(IconoQt(icono), QString::fromStdString(titulo), QString::fromStdString(texto),
                   QMessageBox::Ok, this);
  caja.setWindowModality(Qt::WindowModal);
  // Con texto seleccionable la caja dibuja cada CR como salto de línea.
  caja.setTextInteractionFlags(Qt::TextSelectableByMouse);
  caja.exec();
}

std::optional<std::filesystem::path> frm_Carga::ElegirArchivo(
    const std::filesystem::path& carpeta) {
  const QString filtro = QString::fromUtf8(textos::kFiltroNombre) + QStringLiteral(" (") +
                         QString::fromUtf8(textos::kFiltroPatron) + QStringLiteral(")");
  QFileDialog Dialogo(this, QString(), QFile::decodeName(carpeta.string().c_str()), filtro);
  Dialogo.setAcceptMode(QFileDialog::AcceptOpen);
  Dialogo.setFileMode(QFileDialog::ExistingFile);
  // La lista de tipos muestra solo "Archivos de Texto", como el diálogo de Windows; el patrón
  // sigue filtrando.
  Dialogo.setOption(QFileDialog::HideNameFilterDetails);
  if (Dialogo.exec() != QDialog::Accepted || Dialogo.selectedFiles().isEmpty()) return {};
  return Ruta(Dialogo.selectedFiles().constFirst());
}

void frm_Carga::Comunicar(Peticion& peticion) {
  FrmComm dialogo(this);
  static_cast<Peticion&>(dialogo) = peticion;
  const QRect ventana = frameGeometry();
  dialogo.move(ventana.left() + ventana.width() / 2 - dialogo.width() / 2,
               ventana.top() + ventana.height() / 2 - dialogo.height() / 2);
  dialogo.exec();
  peticion = static_cast<Peticion&>(dialogo);
}
