// Controles de la ventana principal: nombres, textos, posiciones en twips y aspecto.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>
#include <initializer_list>
#include <iterator>
#include <map>

#include "barra_estado.h"
#include "disposicion.h"
#include "frm_Carga.h"
#include "fuente.h"
#include "texto_ayuda.h"
#include "textos.h"
#include "twips.h"

using namespace almacen;
using namespace comm;
using namespace carga;

namespace {

// Un control con su nombre, dentro de su contenedor, con posición y tamaño en twips.
template <typename T>
T* Control(QWidget* contenedor, const char* nombre, const Lugar& lugar) {
  auto* control = new T(contenedor);
  control->setObjectName(QString::fromLatin1(nombre));
  control->setGeometry(TwipsRect(lugar, contenedor));
  return control;
}

QString Texto(const char* utf8) {
  return QString::fromUtf8(utf8);
}

void Destacar(QLabel* etiqueta) {
  etiqueta->setFont(Fuente(disposicion::kLetraVentana, disposicion::kPuntosDestacado, true));
  QPalette colores = etiqueta->palette();
  colores.setColor(QPalette::WindowText, Qt::blue);
  etiqueta->setPalette(colores);
}

// La barra horizontal con las teclas de Windows: izquierda, arriba y RePág bajan el valor;
// derecha, abajo y AvPág lo suben. QScrollBar sube con arriba y RePág.
class BarraHorizontal : public QScrollBar {
 public:
  using QScrollBar::QScrollBar;

 protected:
  void keyPressEvent(QKeyEvent* evento) override {
    static const std::map<int, SliderAction> kComoWindows = {
        {Qt::Key_Up, SliderSingleStepSub},
        {Qt::Key_Down, SliderSingleStepAdd},
        {Qt::Key_PageUp, SliderPageStepSub},
        {Qt::Key_PageDown, SliderPageStepAdd},
    };
    const auto accion = kComoWindows.find(evento->key());
    if (accion == kComoWindows.end()) {
      QScrollBar::keyPressEvent(evento);
      return;
    }
    triggerAction(accion->second);
  }
};

template <typename T>
T* ConTexto(QWidget* contenedor, const char* nombre, const char* texto, const Lugar& lugar) {
  auto* control = Control<T>(contenedor, nombre, lugar);
  control->setText(Texto(texto));
  return control;
}

// Si la fuente de reemplazo es más ancha que la original, el texto no se corta: el control
// crece hacia la derecha, donde estos textos tienen lugar libre.
void Ensanchar(QWidget* control) {
  control->resize(std::max(control->width(), control->sizeHint().width()), control->height());
}

}  // namespace

void frm_Carga::CrearControles() {
  setWindowTitle(Texto(textos::kTitulo));
  setFont(FuenteVentana());
  setFixedSize(Twips(disposicion::kAnchoVentana, this), Twips(disposicion::kAltoVentana, this));

  CrearAyuda();
  sbStatusBar = Control<BarraEstado>(this, "sbStatusBar", disposicion::sbStatusBar);
  CrearPrincipal();
  Frame2->raise();
  for (QWidget* texto : std::initializer_list<QWidget*>{Label1, LblPuerto, LblBaudios, Chk_inicio})
    Ensanchar(texto);

  // Intro pulsa el botón que tiene el foco, como en Windows (fuera de un diálogo Qt solo lo
  // hace con los botones "por omisión automática").
  for (QPushButton* boton : findChildren<QPushButton*>()) boton->setAutoDefault(true);

  OrdenarTabulacion();
  CmdConect->setFocus();
}

void frm_Carga::CrearAyuda() {
  Frame2 = Control<QGroupBox>(this, "Frame2", disposicion::Frame2);
  Frame2->setTitle(Texto(textos::kAyuda));
  // Opaco: al mostrarse tapa el contenido principal.
  Frame2->setAutoFillBackground(true);

  Text1 = Control<QPlainTextEdit>(Frame2, "Text1", disposicion::Text1);
  Text1->setFont(Fuente(disposicion::kLetraVentana, disposicion::kPuntosAyuda, false));
  Text1->setPlainText(QString::fromUtf8(kTextoAyuda));
  Text1->setReadOnly(true);
  Text1->setTabChangesFocus(true);
  Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

  Chk_inicio =
      ConTexto<QCheckBox>(Frame2, "Chk_inicio", textos::kNoMostrar, disposicion::Chk_inicio);
  CmdCerrar = ConTexto<QPushButton>(Frame2, "CmdCerrar", textos::kCerrar, disposicion::CmdCerrar);
}

void frm_Carga::CrearPrincipal() {
  Frame1 = Control<QGroupBox>(this, "Frame1", disposicion::Frame1);

  Label2 = ConTexto<QLabel>(Frame1, "Label2", textos::kEncabezado, disposicion::Label2);
  Label2->setAlignment(Qt::AlignCenter);
  Destacar(Label2);

  CrearSerie();

  Cmd_Salir = ConTexto<QPushButton>(Frame1, "Cmd_Salir", textos::kSalir, disposicion::Cmd_Salir);
  CmdHelp = ConTexto<QPushButton>(Frame1, "CmdHelp", textos::kAyuda, disposicion::CmdHelp);

  Lbl_Fin = ConTexto<QLabel>(Frame1, "Lbl_Fin", textos::kFin, disposicion::Lbl_Fin);
  Destacar(Lbl_Fin);
  Lbl_Fin->hide();

  CmdConect = ConTexto<QPushButton>(Frame1, "CmdConect", textos::kConectar, disposicion::CmdConect);
  CmdBuscar = ConTexto<QPushButton>(Frame1, "CmdBuscar", textos::kBuscar, disposicion::CmdBuscar);
  CmdBuscar->setEnabled(false);
  CmdSubir = ConTexto<QPushButton>(Frame1, "CmdSubir", textos::kSubir, disposicion::CmdSubir);
  CmdSubir->setEnabled(false);

  lblVersion = ConTexto<QLabel>(Frame1, "lblVersion", "", disposicion::lblVersion);
}

void frm_Carga::CrearSerie() {
  fraSerie = Control<QGroupBox>(Frame1, "fraSerie", disposicion::fraSerie);
  fraSerie->setTitle(Texto(textos::kSerie));

  Label1 = ConTexto<QLabel>(fraSerie, "Label1", textos::kEtiquetaId, disposicion::Label1);

  LabelId0 = ConTexto<QLabel>(fraSerie, "LabelId0", "0", disposicion::LabelId0);
  LabelId0->setAlignment(Qt::AlignCenter);
  LabelId0->setFrameStyle(QFrame::Box | QFrame::Plain);
  LabelId0->setFont(Fuente(disposicion::kLetraId, disposicion::kPuntosId, true));
  QPalette fondo = LabelId0->palette();
  fondo.setColor(QPalette::Window, fondo.color(QPalette::HighlightedText));
  LabelId0->setPalette(fondo);
  LabelId0->setAutoFillBackground(true);

  HScrollId0 = Control<BarraHorizontal>(fraSerie, "HScrollId0", disposicion::HScrollId0);
  HScrollId0->setOrientation(Qt::Horizontal);
  HScrollId0->setRange(0, disposicion::kIdMaximo);
  HScrollId0->setPageStep(disposicion::kPasoPaginaId);
  // El ID cambia al soltar el cursor, no mientras se arrastra.
  HScrollId0->setTracking(false);
  HScrollId0->setFocusPolicy(Qt::StrongFocus);
  // Que izquierda baje y derecha suba (QScrollBar invierte las teclas de fábrica).
  HScrollId0->setInvertedControls(false);

  LblPuerto = ConTexto<QLabel>(fraSerie, "LblPuerto", textos::kPuerto, disposicion::LblPuerto);
  ListaPuerto = Control<QComboBox>(fraSerie, "ListaPuerto", disposicion::ListaPuerto);
  LblBaudios = ConTexto<QLabel>(fraSerie, "LblBaudios", textos::kBaudios, disposicion::LblBaudios);
  ListaBaudios = Control<QComboBox>(fraSerie, "ListaBaudios", disposicion::ListaBaudios);
  for (const char* velocidad : textos::kVelocidades) ListaBaudios->addItem(Texto(velocidad));
}

void frm_Carga::OrdenarTabulacion() {
  const auto orden = disposicion::OrdenTabulacion<QWidget*>(*this);
  for (std::size_t i = 1; i < orden.size(); ++i) setTabOrder(orden[i - 1], orden[i]);
}
