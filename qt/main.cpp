#include <QApplication>

#include "frm_Carga.h"
#include "textos.h"

int main(int argc, char* argv[]) {
  QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(textos::kTituloPrograma));

  frm_Carga ventana;
  // exit() y no quit(): quit() pediría cerrar la ventana, y la ventana lo rechaza.
  QObject::connect(&ventana, &frm_Carga::Salida, &app, [] { QCoreApplication::exit(0); });
  ventana.show();
  return QApplication::exec();
}
