#include "barra_estado.h"

#include <QDateTime>
#include <QLabel>
#include <QLocale>

BarraEstado::BarraEstado(QWidget* padre) : QStatusBar(padre) {
  setSizeGripEnabled(false);
  addWidget(NuevoPanel(1, QStringLiteral("Estado")), 1);
  addPermanentWidget(NuevoPanel(2, QString()));
  addPermanentWidget(NuevoPanel(3, QString()));
  ActualizarFechaHora();
  // Cada segundo: la hora corta cambia de minuto en minuto y así nunca queda atrasada.
  connect(&reloj_, &QTimer::timeout, this, &BarraEstado::ActualizarFechaHora);
  reloj_.start(1000);
}

QLabel* BarraEstado::Panel(int numero) const {
  return paneles_[numero - 1];
}

QLabel* BarraEstado::NuevoPanel(int numero, const QString& texto) {
  auto* panel = new QLabel(texto, this);
  panel->setObjectName(QStringLiteral("Panel%1").arg(numero));
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  paneles_[numero - 1] = panel;
  return panel;
}

void BarraEstado::ActualizarFechaHora() {
  const QDateTime ahora = QDateTime::currentDateTime();
  const QLocale local = QLocale::system();
  Panel(2)->setText(local.toString(ahora.date(), QLocale::ShortFormat));
  Panel(3)->setText(local.toString(ahora.time(), QLocale::ShortFormat));
}
