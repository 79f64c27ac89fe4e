// Archivos de membrete que no son archivos de texto chicos y comunes, elegidos en la ventana
// real: cada uno termina con el aviso de largo o sin membrete, nunca colgado ni caído, y la
// ventana no toca el directorio actual.
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <memory>

#include "caja_mensaje.h"
#include "ecos.h"
#include "frm_Carga.h"

using namespace almacen;
using namespace comm;
using namespace carga;

namespace {

struct Caja {
  QString titulo, texto;
  QMessageBox::Icon icono;
  bool delDialogo;  // la abrió el propio diálogo de archivos, no la ventana
};

// Lo que pasó en una elección: las cajas de mensaje vistas y si el diálogo de archivos no se
// cerró con el nombre, así que la prueba tuvo que cancelarlo.
struct Eleccion {
  QList<Caja> cajas;
  bool dialogoSiguioAbierto = false;
};

// Cierra y anota cada caja de mensaje que aparezca mientras viva `contexto`.
void CerrarCajas(QObject* contexto, std::shared_ptr<Eleccion> eleccion) {
  auto* reloj = new QTimer(contexto);
  QObject::connect(reloj, &QTimer::timeout, reloj, [eleccion] {
    auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (caja == nullptr) return;
    bool del_dialogo = qobject_cast<QFileDialog*>(caja->parentWidget()) != nullptr;
    eleccion->cajas.append({caja->windowTitle(), caja->text(), caja->icon(), del_dialogo});
    caja->buttons().constFirst()->click();
  });
  reloj->start(10);
}

// Escribe `ruta` en el próximo diálogo de archivos y lo acepta; si sigue abierto, lo cancela.
void ResponderDialogo(QObject* contexto, const QString& ruta, std::shared_ptr<Eleccion> eleccion) {
  AtenderDialogoArchivos(contexto, [ruta, eleccion](QFileDialog* dialogo) {
    dialogo->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(ruta);
    QMetaObject::invokeMethod(dialogo, "accept");
    if (dialogo->isVisible()) {
      eleccion->dialogoSiguioAbierto = true;
      dialogo->reject();
    }
  });
}

// Root abre cualquier archivo; sin estas capacidades el hilo queda sujeto a los permisos.
class SinSaltarPermisos {
 public:
  SinSaltarPermisos() {
    valido_ = syscall(SYS_capget, &cabecera_, antes_) == 0;
    __user_cap_data_struct menos[2] = {antes_[0], antes_[1]};
    menos[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
    valido_ = valido_ && syscall(SYS_capset, &cabecera_, menos) == 0;
  }
  ~SinSaltarPermisos() {
    if (valido_) syscall(SYS_capset, &cabecera_, antes_);
  }

 private:
  __user_cap_header_struct cabecera_{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct antes_[2]{};
  bool valido_;
};

}  // namespace

class ArchivosRarosTest : public QObject {
  Q_OBJECT

 private slots:
  // La carpeta del programa, y otra carpeta de trabajo con su "ticket" para los archivos. La
  // ventana empieza con un membrete aceptado, para que se note si se descarta.
  void init() {
    raiz_ = std::make_unique<QTemporaryDir>();
    QDir(raiz_->path()).mkpath(QStringLiteral("programa"));
    QDir(raiz_->path()).mkpath(QStringLiteral("trabajo/ticket"));
    ventana_ = std::make_unique<frm_Carga>(
        Ajustes(QFile::encodeName(Ruta(QStringLiteral("programa"))).toStdString()), ecos_);
    ventana_->show();
    Boton("CmdBuscar")->setEnabled(true);  // como tras conectar

    Elegir(Archivo("bueno.txt", "AB"));
    QCOMPARE(ventana_->Flujos().Membrete, std::string("AB\0", 3));
    QVERIFY(Boton("CmdSubir")->isEnabled());
  }

  void cleanup() {
    ventana_.reset();
    QDir::setCurrent(QDir::tempPath());
    raiz_.reset();
  }

  void unArchivoEnormeDaElMensajeDeLongitud() {
    QString ruta = Archivo("enorme.txt", {});
    QVERIFY(QFile::resize(ruta, qint64{6} << 30));
    Eleccion eleccion = Elegir(ruta);
    QCOMPARE(eleccion.cajas.size(), 1);
    QCOMPARE(eleccion.cajas[0].titulo, QStringLiteral("Error"));
    QCOMPARE(eleccion.cajas[0].texto,
             QStringLiteral("La longitud del formulario es mayor a 75 bytes"));
    QCOMPARE(eleccion.cajas[0].icono, QMessageBox::Warning);
    QVERIFY(!eleccion.cajas[0].delDialogo);
    QVERIFY(!eleccion.dialogoSiguioAbierto);
    SinMembrete();
  }

  void unArchivoIlegibleNoDaMembrete() {
    QString ruta = Archivo("ilegible.txt", "AB");
    QVERIFY(QFile::setPermissions(ruta, {}));
    SinSaltarPermisos sin_saltar;
    if (QFile(ruta).open(QIODevice::ReadOnly)) QSKIP("no se puede quitar el permiso de lectura");
    Eleccion eleccion = Elegir(ruta);
    QVERIFY(eleccion.cajas.isEmpty());
    QVERIFY(!eleccion.dialogoSiguioAbierto);
    SinMembrete();
  }

  // El diálogo abre la carpeta en vez de elegirla.
  void unaCarpetaNoSeEligeYNoDaMembrete() {
    QDir(Ruta("trabajo/ticket")).mkpath(QStringLiteral("carpeta.txt"));
    Eleccion eleccion = Elegir(Ruta("trabajo/ticket/carpeta.txt"));
    QVERIFY(eleccion.cajas.isEmpty());
    QVERIFY(eleccion.dialogoSiguioAbierto);
    SinMembrete();
  }

  // Abrir un FIFO para leer esperaría para siempre a quien escriba.
  void unaFifoNoSeAbreYNoDaMembrete() {
    QString ruta = Ruta("trabajo/ticket/fifo.txt");
    QCOMPARE(::mkfifo(QFile::encodeName(ruta).constData(), 0600), 0);
    Eleccion eleccion = Elegir(ruta);
    QVERIFY(eleccion.cajas.isEmpty());
    QVERIFY(!eleccion.dialogoSiguioAbierto);
    SinMembrete();
  }

  // Un enlace a sí mismo no existe para el diálogo: lo dice y sigue abierto.
  void unEnlaceEnBucleNoDaMembrete() {
    QString ruta = Ruta("trabajo/ticket/lazo.txt");
    std::filesystem::create_symlink(QFile::encodeName(ruta).toStdString(),
                                    QFile::encodeName(ruta).toStdString());
    Eleccion eleccion = Elegir(ruta);
    QCOMPARE(eleccion.cajas.size(), 1);
    QVERIFY(eleccion.cajas[0].delDialogo);
    QVERIFY(eleccion.dialogoSiguioAbierto);
    SinMembrete();
  }

  void unNombreNoAsciiSeLeeEntero() {
    QByteArray bytes("Se\xF1or\r\n\0\xFF", 9);
    Eleccion eleccion = Elegir(Archivo(QStringLiteral("Señal_ñandú €.txt"), bytes));
    QVERIFY(eleccion.cajas.isEmpty());
    QCOMPARE(ventana_->Flujos().Membrete, bytes.toStdString() + '\0');
    QCOMPARE(QDir::current(), QDir(Ruta("trabajo")));
  }

 private:
  QString Ruta(const QString& relativa) const { return raiz_->filePath(relativa); }

  QString Archivo(const QString& nombre, const QByteArray& bytes) const {
    QFile archivo(Ruta(QStringLiteral("trabajo/ticket/") + nombre));
    archivo.open(QIODevice::WriteOnly);
    archivo.write(bytes);
    return archivo.fileName();
  }

  QPushButton* Boton(const char* nombre) const {
    return ventana_->findChild<QPushButton*>(QString::fromLatin1(nombre));
  }

  // Un clic en "Buscar Archivo" desde la otra carpeta de trabajo, respondido con `ruta`.
  Eleccion Elegir(const QString& ruta) {
    QDir::setCurrent(Ruta("trabajo"));
    auto eleccion = std::make_shared<Eleccion>();
    QObject paso;
    CerrarCajas(&paso, eleccion);
    ResponderDialogo(&paso, ruta, eleccion);
    QTest::mouseClick(Boton("CmdBuscar"), Qt::LeftButton);
    return *eleccion;
  }

  // El membrete elegido antes se descarta, el botón de subir queda como estaba y el directorio
  // actual sigue donde estaba.
  void SinMembrete() const {
    QVERIFY(ventana_->Flujos().Membrete.empty());
    QVERIFY(Boton("CmdSubir")->isEnabled());
    QCOMPARE(QDir::current(), QDir(Ruta("trabajo")));
  }

  std::unique_ptr<QTemporaryDir> raiz_;
  Ecos ecos_;
  std::unique_ptr<frm_Carga> ventana_;
};

QTEST_MAIN(ArchivosRarosTest)
#include "archivos_raros_test.moc"
