#pragma once

#include <QRect>
#include <QWidget>
#include <QtGlobal>

// Layouts are given in twips (1440 per inch); converting by the logical DPI keeps the
// windows' proportions on high-DPI screens.
inline int Twips(int twips, const QWidget* w) {
  return qRound(twips * w->logicalDpiX() / 1440.0);
}

inline QRect TwipsRect(int left, int top, int width, int height, const QWidget* w) {
  return QRect(Twips(left, w), Twips(top, w), Twips(width, w), Twips(height, w));
}
