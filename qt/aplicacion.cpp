#include "aplicacion.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QTranslator>

#include "textos.h"

using namespace comm;
using namespace carga;

namespace {

// El catálogo de Qt es el castellano de España; el programa dice "archivo", no "fichero" (las
// dos palabras son masculinas, así que el cambio no toca el resto de la frase).
class TraductorQt : public QTranslator {
 public:
  using QTranslator::QTranslator;

  QString translate(const char* contexto, const char* texto, const char* desambiguacion,
                    int n) const override {
    QString traducido = QTranslator::translate(contexto, texto, desambiguacion, n);
    traducido.replace(QStringLiteral("fichero"), QStringLiteral("archivo"));
    return traducido.replace(QStringLiteral("Fichero"), QStringLiteral("Archivo"));
  }
};

}  // namespace

void PrepararAplicacion() {
  QCoreApplication::setApplicationName(QString::fromLatin1(textos::kTituloPrograma));
  TraducirQt(QCoreApplication::applicationDirPath());
}

QString TraducirQt(const QString& carpetaPrograma) {
  for (const QString& carpeta :
       {carpetaPrograma, QLibraryInfo::path(QLibraryInfo::TranslationsPath)}) {
    const QString ruta = QDir(carpeta).filePath(QStringLiteral(NOMBRE_CATALOGO_QT));
    // Comprobar antes: load() probaría también nombres recortados ("qtbase.qm").
    if (!QFile::exists(ruta)) continue;
    auto* traductor = new TraductorQt(QCoreApplication::instance());
    if (traductor->load(ruta) && QCoreApplication::installTranslator(traductor)) return ruta;
    delete traductor;
  }
  return {};
}
