#include <QApplication>
#include <memory>

#include "frm_Carga.h"
#include "textos.h"
#include "traza_archivo.h"

int main(int argc, char* argv[]) {
  QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(textos::kTituloPrograma));

  // Traza para el técnico: con --traza o con [Diagnostico] Traza = 1 en los ajustes.
  const std::unique_ptr<Traza> traza =
      AbrirTraza(QCoreApplication::applicationDirPath().toStdString(),
                 QCoreApplication::arguments().contains(QStringLiteral("--traza")));
  frm_Carga ventana(nullptr, traza.get());
  // exit() y no quit(): quit() pediría cerrar la ventana, y la ventana lo rechaza.
  QObject::connect(&ventana, &frm_Carga::Salida, &app, [] { QCoreApplication::exit(0); });
  ventana.show();
  return QApplication::exec();
}
