// Dibuja la ventana del programa en un PNG, sin pantalla, para la documentación.
// Uso: captura_ventana ESCENA ARCHIVO.png
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QPixmap>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <map>
#include <string>

#include "aplicacion.h"
#include "caja_mensaje.h"
#include "ecos.h"
#include "entorno_prueba.h"
#include "frm_Carga.h"

using namespace almacen;
using namespace comm;
using namespace carga;

namespace {

// Primer arranque, sin archivo de ajustes: el panel de ayuda a la vista.
QPixmap Inicio(frm_Carga& ventana) {
  return ventana.grab();
}

// El contenido principal, con el panel de ayuda cerrado.
QPixmap Principal(frm_Carga& ventana) {
  ventana.findChild<QAbstractButton*>(QStringLiteral("CmdCerrar"))->click();
  return ventana.grab();
}

// La caja que rechaza cerrar la ventana sin "Salir".
QPixmap Cierre(frm_Carga& ventana) {
  QPixmap imagen;
  QObject paso;
  AtenderCaja(&paso, [&imagen](QMessageBox* caja) {
    imagen = caja->grab();
    caja->button(QMessageBox::Ok)->click();
  });
  ventana.close();
  return imagen;
}

// Conecta con un indicador simulado, elige un membrete de ejemplo y lo sube; `durante`
// corre mientras el diálogo de comunicación trabaja.
void Subir(frm_Carga& ventana, const QStringList& opciones, const std::function<void()>& durante) {
  Simulador indicador(opciones);
  QFile ajustes(QStringLiteral("Brun_Kqt.ini"));
  ajustes.open(QIODevice::WriteOnly);
  ajustes.write(AjustesHacia(indicador.Pty()));
  ajustes.close();
  QFile membrete(QStringLiteral("membrete.txt"));
  membrete.open(QIODevice::WriteOnly);
  membrete.write("BALANZAS DEL SUR S.A.\r\nRuta 9 km 12 - Tel 555-0100\r\n");
  membrete.close();

  ventana.findChild<QAbstractButton*>(QStringLiteral("CmdCerrar"))->click();
  ventana.findChild<QAbstractButton*>(QStringLiteral("CmdConect"))->click();
  ElegirArchivo(&ventana, QFileInfo(membrete).absoluteFilePath());
  ventana.findChild<QAbstractButton*>(QStringLiteral("CmdBuscar"))->click();
  QTimer::singleShot(800, &ventana, durante);
  ventana.findChild<QAbstractButton*>(QStringLiteral("CmdSubir"))->click();
}

// El diálogo de archivos, en la carpeta "ticket" con los membretes de ejemplo.
QPixmap Dialogo(frm_Carga& ventana) {
  QDir().mkpath(QStringLiteral("ticket"));
  for (const QString& ejemplo : QDir(QStringLiteral(EJEMPLOS)).entryList({"*.txt"}))
    QFile::copy(QStringLiteral(EJEMPLOS "/") + ejemplo, QStringLiteral("ticket/") + ejemplo);
  ventana.findChild<QAbstractButton*>(QStringLiteral("CmdCerrar"))->click();
  ventana.findChild<QAbstractButton*>(QStringLiteral("CmdBuscar"))->setEnabled(true);
  QPixmap imagen;
  AtenderDialogoArchivos(&ventana, [&imagen](QFileDialog* dialogo) {
    // La lista se llena en otro hilo: se espera a que estén los tres ejemplos.
    auto* lista = dialogo->findChild<QFileSystemModel*>();
    QElapsedTimer reloj;
    reloj.start();
    while (lista->rowCount(lista->index(lista->rootPath())) < 3 && reloj.elapsed() < 5000)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    imagen = dialogo->grab();
    dialogo->reject();
  });
  ventana.findChild<QAbstractButton*>(QStringLiteral("CmdBuscar"))->click();
  return imagen;
}

// La ventana tras una subida que terminó bien.
QPixmap Subida(frm_Carga& ventana) {
  Subir(ventana, {}, [] {});
  return ventana.grab();
}

// El diálogo "Comunicando" a mitad de una subida lenta (1200 baudios).
QPixmap Comunicando(frm_Carga& ventana) {
  QPixmap imagen;
  Subir(ventana, {QStringLiteral("--baudios"), QStringLiteral("1200")},
        [&imagen] { imagen = QApplication::activeModalWidget()->grab(); });
  return imagen;
}

const std::map<std::string, std::function<QPixmap(frm_Carga&)>> kEscenas = {
    {"inicio", Inicio}, {"principal", Principal},     {"cierre", Cierre},
    {"subida", Subida}, {"comunicando", Comunicando}, {"dialogo", Dialogo},
};

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  PrepararAplicacion();
  const auto escena = argc == 3 ? kEscenas.find(argv[1]) : kEscenas.end();
  if (escena == kEscenas.end()) {
    std::string nombres;
    for (const auto& [nombre, captura] : kEscenas) nombres += " " + nombre;
    std::fprintf(stderr, "uso: captura_ventana ESCENA ARCHIVO.png\nescenas:%s\n", nombres.c_str());
    return 2;
  }
  const QString destino = QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath();

  // Carpeta vacía como carpeta actual: sin archivo de ajustes, como en el primer arranque.
  QTemporaryDir carpeta;
  QDir::setCurrent(carpeta.path());
  Ecos ecos;
  frm_Carga ventana{Ajustes::DeLaCarpetaActual(), ecos};
  ventana.show();
  QApplication::processEvents();

  if (!escena->second(ventana).save(destino)) {
    std::fprintf(stderr, "no se pudo guardar %s\n", qPrintable(destino));
    return 1;
  }
  return 0;
}
