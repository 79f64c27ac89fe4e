// Letterhead files that are not plain small text files, chosen through the real window: each
// ends with the length message or with no letterhead, never with a hang or a crash, and the
// working folder is the program's folder again afterwards.
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
#include "frm_Carga.h"

namespace {

struct Caja {
  QString titulo, texto;
  QMessageBox::Icon icono;
  bool delDialogo;  // raised by the file dialog itself, not by the window
};

// What happened to one choice: the message boxes seen and whether the file dialog refused to
// close on the name, so that the test had to cancel it.
struct Eleccion {
  QList<Caja> cajas;
  bool dialogoSiguioAbierto = false;
};

// Closes every message box that comes up while `contexto` lives, noting it.
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

// Types `ruta` into the next file dialog and accepts it; a dialog that stays open is cancelled.
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

// Root opens any file; without these capabilities this thread is held to the file modes.
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
  // The program's folder, and another working folder with its "ticket" folder for the files.
  // The window starts with an accepted letterhead, so that dropping it shows.
  void init() {
    raiz_ = std::make_unique<QTemporaryDir>();
    QDir(raiz_->path()).mkpath(QStringLiteral("programa"));
    QDir(raiz_->path()).mkpath(QStringLiteral("trabajo/ticket"));
    ventana_ = std::make_unique<frm_Carga>();
    ventana_->Flujos().CarpetaPrograma = (Ruta("programa")).toStdString();
    ventana_->show();
    Boton("CmdBuscar")->setEnabled(true);  // as after a successful connect

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

  // The dialog opens a folder instead of choosing it.
  void unaCarpetaNoSeEligeYNoDaMembrete() {
    QDir(Ruta("trabajo/ticket")).mkpath(QStringLiteral("carpeta.txt"));
    Eleccion eleccion = Elegir(Ruta("trabajo/ticket/carpeta.txt"));
    QVERIFY(eleccion.cajas.isEmpty());
    QVERIFY(eleccion.dialogoSiguioAbierto);
    SinMembrete();
  }

  // Opening a FIFO to read would wait for a writer for ever.
  void unaFifoNoSeAbreYNoDaMembrete() {
    QString ruta = Ruta("trabajo/ticket/fifo.txt");
    QCOMPARE(::mkfifo(QFile::encodeName(ruta).constData(), 0600), 0);
    Eleccion eleccion = Elegir(ruta);
    QVERIFY(eleccion.cajas.isEmpty());
    QVERIFY(!eleccion.dialogoSiguioAbierto);
    SinMembrete();
  }

  // A link to itself does not exist for the dialog: it says so and stays open.
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
    QCOMPARE(QDir::current(), QDir(Ruta("programa")));
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

  // One click on "Buscar Archivo" from the other working folder, answered with `ruta`.
  Eleccion Elegir(const QString& ruta) {
    QDir::setCurrent(Ruta("trabajo"));
    auto eleccion = std::make_shared<Eleccion>();
    QObject paso;
    CerrarCajas(&paso, eleccion);
    ResponderDialogo(&paso, ruta, eleccion);
    QTest::mouseClick(Boton("CmdBuscar"), Qt::LeftButton);
    return *eleccion;
  }

  // The letterhead chosen before is dropped, the upload button keeps its state, and the
  // working folder is the program's.
  void SinMembrete() const {
    QVERIFY(ventana_->Flujos().Membrete.empty());
    QVERIFY(Boton("CmdSubir")->isEnabled());
    QCOMPARE(QDir::current(), QDir(Ruta("programa")));
  }

  std::unique_ptr<QTemporaryDir> raiz_;
  std::unique_ptr<frm_Carga> ventana_;
};

QTEST_MAIN(ArchivosRarosTest)
#include "archivos_raros_test.moc"
