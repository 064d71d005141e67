#pragma once

#include <QColor>
#include <QPixmap>
#include <QString>

namespace dorvane {

// The picture of an application, `size` points square: its icon file when that loads as
// an image, else a rounded square in a colour of its own with the first letter of its name.
QPixmap applicationIcon(const QString& iconPath, const QString& name, double size, double devicePixelRatio = 1);

// The stand-in's colour: the same for the same name on every run.
QColor applicationIconColor(const QString& name);

}  // namespace dorvane
