// Controles de la ventana principal: nombres, textos, posiciones en twips y aspecto.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>
#include <initializer_list>
#include <iterator>

#include "barra_estado.h"
#include "frm_Carga.h"
#include "texto_ayuda.h"
#include "twips.h"

namespace {

// Un control con su nombre, dentro de su contenedor, con posición y tamaño en twips.
template <typename T>
T* Control(QWidget* contenedor, const char* nombre, int left, int top, int width, int height) {
  auto* control = new T(contenedor);
  control->setObjectName(QString::fromLatin1(nombre));
  control->setGeometry(TwipsRect(left, top, width, height, contenedor));
  return control;
}

// Fuentes clásicas de Windows. Donde faltan, primero una de medidas parecidas, para que los
// textos entren en los controles, y si no la sans-serif de la plataforma.
QFont Fuente(const char* familia, qreal puntos, bool negrita) {
  QFont fuente;
  fuente.setFamilies({QString::fromLatin1(familia), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                      QStringLiteral("Nimbus Sans")});
  fuente.setStyleHint(QFont::SansSerif);
  fuente.setPointSizeF(puntos);
  fuente.setBold(negrita);
  return fuente;
}

void Destacar(QLabel* etiqueta) {
  etiqueta->setFont(Fuente("MS Sans Serif", 13.5, true));
  QPalette colores = etiqueta->palette();
  colores.setColor(QPalette::WindowText, Qt::blue);
  etiqueta->setPalette(colores);
}

QPushButton* Boton(QWidget* contenedor, const char* nombre, const QString& texto, int left, int top,
                   int width, int height) {
  auto* boton = Control<QPushButton>(contenedor, nombre, left, top, width, height);
  boton->setText(texto);
  return boton;
}

QLabel* Etiqueta(QWidget* contenedor, const char* nombre, const QString& texto, int left, int top,
                 int width, int height) {
  auto* etiqueta = Control<QLabel>(contenedor, nombre, left, top, width, height);
  etiqueta->setText(texto);
  return etiqueta;
}

// Si la fuente de reemplazo es más ancha que la original, el texto no se corta: el control
// crece hacia la derecha, donde estos textos tienen lugar libre.
void Ensanchar(QWidget* control) {
  control->resize(std::max(control->width(), control->sizeHint().width()), control->height());
}

}  // namespace

void frm_Carga::CrearControles() {
  setWindowTitle(QStringLiteral("Brun - Kesta"));
  setFont(Fuente("MS Sans Serif", 8.25, false));
  setFixedSize(Twips(5280, this), Twips(4740, this));

  CrearAyuda();
  sbStatusBar = Control<BarraEstado>(this, "sbStatusBar", 0, 4485, 5280, 255);
  CrearPrincipal();
  Frame2->raise();
  for (QWidget* texto : std::initializer_list<QWidget*>{Label1, LblPuerto, LblBaudios, Chk_inicio})
    Ensanchar(texto);

  OrdenarTabulacion();
  CmdConect->setFocus();
}

void frm_Carga::CrearAyuda() {
  Frame2 = Control<QGroupBox>(this, "Frame2", 5600, 0, 5295, 4455);
  Frame2->setTitle(QStringLiteral("Ayuda"));
  // Opaco: al mostrarse tapa el contenido principal.
  Frame2->setAutoFillBackground(true);

  Text1 = Control<QPlainTextEdit>(Frame2, "Text1", 180, 240, 4995, 3615);
  Text1->setFont(Fuente("MS Sans Serif", 9.75, false));
  Text1->setPlainText(QString::fromUtf8(kTextoAyuda));
  Text1->setReadOnly(true);
  Text1->setTabChangesFocus(true);
  Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

  Chk_inicio = Control<QCheckBox>(Frame2, "Chk_inicio", 240, 4020, 1635, 255);
  Chk_inicio->setText(QStringLiteral("No mostrar al inicio"));
  CmdCerrar = Boton(Frame2, "CmdCerrar", QStringLiteral("Cerrar"), 3000, 3960, 1335, 375);
}

void frm_Carga::CrearPrincipal() {
  Frame1 = Control<QGroupBox>(this, "Frame1", 0, 0, 5295, 4455);

  Label2 = Etiqueta(Frame1, "Label2", QStringLiteral("Cargador de Membrete para Kesta"), 146, 240,
                    5000, 375);
  Label2->setAlignment(Qt::AlignCenter);
  Destacar(Label2);

  CrearSerie();

  Cmd_Salir = Boton(Frame1, "Cmd_Salir", QStringLiteral("Salir"), 3720, 840, 1335, 375);
  CmdHelp = Boton(Frame1, "CmdHelp", QStringLiteral("Ayuda"), 3720, 2220, 1335, 375);

  Lbl_Fin =
      Etiqueta(Frame1, "Lbl_Fin", QStringLiteral("FINALIZADO con EXITO"), 900, 2880, 3495, 375);
  Destacar(Lbl_Fin);
  Lbl_Fin->hide();

  CmdConect = Boton(Frame1, "CmdConect", QStringLiteral("Conectar Kesta"), 240, 3360, 1400, 500);
  CmdBuscar = Boton(Frame1, "CmdBuscar", QStringLiteral("Buscar Archivo"), 1920, 3360, 1400, 500);
  CmdBuscar->setEnabled(false);
  CmdSubir = Boton(Frame1, "CmdSubir", QStringLiteral("Subir a Indicador"), 3600, 3360, 1400, 500);
  CmdSubir->setEnabled(false);

  lblVersion = Etiqueta(Frame1, "lblVersion", QString(), 720, 4080, 3855, 255);
}

void frm_Carga::CrearSerie() {
  fraSerie = Control<QGroupBox>(Frame1, "fraSerie", 240, 720, 3375, 1935);
  fraSerie->setTitle(QString::fromUtf8("Comunicación con Indicador"));

  Label1 = Etiqueta(fraSerie, "Label1", QStringLiteral("ID (Indicador):"), 360, 420, 1005, 195);

  LabelId0 = Etiqueta(fraSerie, "LabelId0", QStringLiteral("0"), 1440, 420, 1095, 315);
  LabelId0->setAlignment(Qt::AlignCenter);
  LabelId0->setFrameStyle(QFrame::Box | QFrame::Plain);
  LabelId0->setFont(Fuente("Arial", 9.75, true));
  QPalette fondo = LabelId0->palette();
  fondo.setColor(QPalette::Window, fondo.color(QPalette::HighlightedText));
  LabelId0->setPalette(fondo);
  LabelId0->setAutoFillBackground(true);

  HScrollId0 = Control<QScrollBar>(fraSerie, "HScrollId0", 1440, 735, 1095, 200);
  HScrollId0->setOrientation(Qt::Horizontal);
  HScrollId0->setRange(0, 255);
  HScrollId0->setPageStep(16);
  // El ID cambia al soltar el cursor, no mientras se arrastra.
  HScrollId0->setTracking(false);
  HScrollId0->setFocusPolicy(Qt::StrongFocus);
  // Que la flecha derecha suba el ID (QScrollBar invierte las teclas de fábrica).
  HScrollId0->setInvertedControls(false);

  LblPuerto = Etiqueta(fraSerie, "LblPuerto", QStringLiteral("Puerto:"), 360, 1080, 510, 195);
  ListaPuerto = Control<QComboBox>(fraSerie, "ListaPuerto", 1440, 1020, 1500, 315);
  LblBaudios = Etiqueta(fraSerie, "LblBaudios", QStringLiteral("Baudios:"), 360, 1500, 615, 195);
  ListaBaudios = Control<QComboBox>(fraSerie, "ListaBaudios", 1440, 1440, 1500, 315);
}

void frm_Carga::OrdenarTabulacion() {
  QWidget* const orden[] = {CmdConect,  CmdSubir, CmdBuscar, Cmd_Salir, ListaPuerto, ListaBaudios,
                            HScrollId0, CmdHelp,  CmdCerrar, Text1,     Chk_inicio};
  for (std::size_t i = 1; i < std::size(orden); ++i) setTabOrder(orden[i - 1], orden[i]);
}
