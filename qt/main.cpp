#include <QApplication>
#include <QFile>
#include <QSerialPortInfo>
#include <filesystem>
#include <iostream>
#include <memory>

#include "aplicacion.h"
#include "barra.h"
#include "ecos.h"
#include "frm_Carga.h"
#include "ordenes.h"
#include "puerto_serie.h"
#include "traza_archivo.h"

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

std::filesystem::path CarpetaPrograma() {
  return QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
}

// Sin ventana, QSerialPort necesita solo una aplicación de consola.
int SinVentana(int argc, char* argv[], const std::vector<std::string>& argumentos) {
  QCoreApplication app(argc, argv);
  PuertoSerie puerto;
  return EjecutarOrdenes(
      argumentos, Consola{std::cout, std::cerr, ErroresEnTerminal(), puerto, PuertosDelSistema,
                          CarpetaPrograma(), std::filesystem::current_path()});
}

}  // namespace

int main(int argc, char* argv[]) {
  const std::vector<std::string> argumentos(argv + 1, argv + argc);
  if (!ConVentana(argumentos)) return SinVentana(argc, argv, argumentos);

  // Sin AA_DontUseNativeDialogs: donde el escritorio ofrece su diálogo de archivos se usa ese, y
  // si no, el de Qt, ya en castellano.
  QApplication app(argc, argv);
  PrepararAplicacion();

  // Traza para el técnico: con --traza o con [Diagnostico] Traza = 1 en los ajustes.
  const std::unique_ptr<Traza> traza = AbrirTraza(CarpetaPrograma(), !argumentos.empty());
  // Lo que se aprende del eco de cada línea vale mientras el programa corre.
  Ecos ecos;
  frm_Carga ventana(ecos, nullptr, traza.get());
  // exit() y no quit(): quit() pediría cerrar la ventana, y la ventana lo rechaza.
  QObject::connect(&ventana, &frm_Carga::Salida, &app, [] { QCoreApplication::exit(0); });
  ventana.show();
  return QApplication::exec();
}
