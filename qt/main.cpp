#include <QApplication>
#include <QFile>
#include <QSerialPortInfo>
#include <iostream>
#include <memory>

#include "ajustes.h"
#include "aplicacion.h"
#include "barra.h"
#include "ecos.h"
#include "frm_Carga.h"
#include "nombre_puerto.h"
#include "ordenes.h"
#include "puerto_serie.h"
#include "traza_archivo.h"

using namespace almacen;
using namespace comm;
using namespace carga;
using namespace ordenes;

namespace {

// Donde Linux nombra cada adaptador serie USB por su fabricante y número de serie.
const char* const kAdaptadores = "/dev/serial/by-id";

std::vector<PuertoDelSistema> PuertosDelSistema() {
  std::vector<PuertoDelSistema> puertos;
  const std::vector<std::string> adaptadores = AdaptadoresEn(kAdaptadores);
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
    QString descripcion = info.description();
    if (!info.manufacturer().isEmpty()) descripcion += " (" + info.manufacturer() + ")";
      // En Windows el programa nombra sus puertos COM<N>, como portName(); en Linux un adaptador
      // USB va por su nombre estable, no por ttyUSB<n>, que cambia con el orden de enchufe.
#ifdef Q_OS_WIN
    const std::string dispositivo = QFile::encodeName(info.portName()).toStdString();
#else
    const std::string dispositivo =
        NombreEstable(QFile::encodeName(info.systemLocation()).toStdString(), adaptadores);
#endif
    puertos.push_back({dispositivo, descripcion.toStdString()});
  }
  return puertos;
}

// Los puertos para la lista de la ventana: en Windows sus COM<n>; en Linux los adaptadores USB
// por su nombre estable.
PuertosPc PuertosDeLaPc() {
  PuertosPc pc;
#ifdef Q_OS_WIN
  for (const PuertoDelSistema& puerto : PuertosDelSistema())
    pc.numeros.push_back(NumeroCom(puerto.dispositivo));
#else
  pc.adaptadores = AdaptadoresEn(kAdaptadores);
#endif
  return pc;
}

// Sin ventana, QSerialPort necesita solo una aplicación de consola.
int SinVentana(int argc, char* argv[], const std::vector<std::string>& argumentos,
               const Ajustes& ajustes) {
  QCoreApplication app(argc, argv);
  PuertoSerie puerto;
  return EjecutarOrdenes(argumentos, Consola{std::cout, std::cerr, ErroresEnTerminal(), puerto,
                                             PuertosDelSistema, ajustes});
}

}  // namespace

int main(int argc, char* argv[]) {
  const std::vector<std::string> argumentos(argv + 1, argv + argc);
  const Ajustes ajustes = Ajustes::DeLaCarpetaActual();
  if (!ConVentana(argumentos)) return SinVentana(argc, argv, argumentos, ajustes);

  // Sin AA_DontUseNativeDialogs: donde el escritorio ofrece su diálogo de archivos se usa ese, y
  // si no, el de Qt, ya en castellano.
  QApplication app(argc, argv);
  PrepararAplicacion();

  // Traza para el técnico: con --traza o con [Diagnostico] Traza = 1 en los ajustes.
  const std::unique_ptr<Traza> traza = AbrirTraza(ajustes, PideTraza(argumentos));
  // Lo que se aprende del eco de cada línea vale mientras el programa corre.
  Ecos ecos;
  frm_Carga ventana(ajustes, ecos, nullptr, traza.get(), PuertosDeLaPc());
  // exit() y no quit(): quit() pediría cerrar la ventana, y la ventana lo rechaza.
  QObject::connect(&ventana, &frm_Carga::Salida, &app, [] { QCoreApplication::exit(0); });
  ventana.show();
  return QApplication::exec();
}
