#include <QApplication>

#include "aplicacion.h"
#include "frm_Carga.h"

int main(int argc, char* argv[]) {
  // Sin AA_DontUseNativeDialogs: donde el escritorio ofrece su diálogo de archivos se usa ese, y
  // si no, el de Qt, ya en castellano.
  QApplication app(argc, argv);
  PrepararAplicacion();

  frm_Carga ventana;
  // exit() y no quit(): quit() pediría cerrar la ventana, y la ventana lo rechaza.
  QObject::connect(&ventana, &frm_Carga::Salida, &app, [] { QCoreApplication::exit(0); });
  ventana.show();
  return QApplication::exec();
}
