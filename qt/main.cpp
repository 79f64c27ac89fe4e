#include <QApplication>
#include <QFile>
#include <QSerialPortInfo>
#include <iostream>

#include "barra.h"
#include "frm_Carga.h"
#include "ordenes.h"
#include "puerto_serie.h"
#include "textos.h"

namespace {

std::vector<PuertoDelSistema> PuertosDelSistema() {
  std::vector<PuertoDelSistema> puertos;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
    QString descripcion = info.description();
    if (!info.manufacturer().isEmpty()) descripcion += " (" + info.manufacturer() + ")";
      // En Windows el programa nombra sus puertos COM<N>, como portName().
#ifdef Q_OS_WIN
    const QString dispositivo = info.portName();
#else
    const QString dispositivo = info.systemLocation();
#endif
    puertos.push_back({QFile::encodeName(dispositivo).toStdString(), descripcion.toStdString()});
  }
  return puertos;
}

// Con argumentos no hay ventana: QSerialPort necesita solo una aplicación de consola.
int SinVentana(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  PuertoSerie puerto;
  const std::vector<std::string> argumentos(argv + 1, argv + argc);
  return EjecutarOrdenes(
      argumentos, Consola{std::cout, std::cerr, ErroresEnTerminal(), puerto, PuertosDelSistema});
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc > 1) return SinVentana(argc, argv);

  QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(textos::kTituloPrograma));

  frm_Carga ventana;
  // exit() y no quit(): quit() pediría cerrar la ventana, y la ventana lo rechaza.
  QObject::connect(&ventana, &frm_Carga::Salida, &app, [] { QCoreApplication::exit(0); });
  ventana.show();
  return QApplication::exec();
}
