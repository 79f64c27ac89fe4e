// Dibuja la ventana del programa en un PNG, sin pantalla, para la documentación.
// Uso: captura_ventana ESCENA ARCHIVO.png
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPixmap>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <map>
#include <string>

#include "caja_mensaje.h"
#include "frm_Carga.h"

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

const std::map<std::string, std::function<QPixmap(frm_Carga&)>> kEscenas = {
    {"inicio", Inicio},
    {"principal", Principal},
    {"cierre", Cierre},
};

}  // namespace

int main(int argc, char* argv[]) {
  QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
  QApplication app(argc, argv);
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
  frm_Carga ventana;
  ventana.show();
  QApplication::processEvents();

  if (!escena->second(ventana).save(destino)) {
    std::fprintf(stderr, "no se pudo guardar %s\n", qPrintable(destino));
    return 1;
  }
  return 0;
}
