#pragma once

#include <QStatusBar>
#include <QTimer>

class QLabel;

// Barra de estado de tres paneles: 1 el texto de estado, 2 la fecha y 3 la hora del sistema
// en sus formatos cortos, que la barra mantiene al día por sí misma.
class BarraEstado : public QStatusBar {
  Q_OBJECT

 public:
  explicit BarraEstado(QWidget* padre);

  // Panel `numero`, contado desde 1.
  QLabel* Panel(int numero) const;

 private:
  QLabel* NuevoPanel(int numero, const QString& texto);
  void ActualizarFechaHora();

  QLabel* paneles_[3];
  QTimer reloj_;
};
