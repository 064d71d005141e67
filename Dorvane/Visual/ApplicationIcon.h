#pragma once

#include <cstddef>
#include <functional>

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QString>

class QObject;

namespace dorvane {

// Icon files are named by paths from outside the program (a bundle, the host folder, the
// settings): only regular files this large are read, and only pictures this wide and high
// decoded.
inline constexpr std::size_t kApplicationIconFileLimit = 8 * 1024 * 1024;
inline constexpr int kApplicationIconSideLimit = 4096;

// The picture in the icon file at `iconPath`, `pixels` square, in full colour whatever the
// file's own format; a null image when the path names no regular file within the limits or
// the file holds no picture within them. Any thread; it never waits on a pipe.
QImage readApplicationIcon(const QString& iconPath, int pixels);

// The stand-in for an application without a picture, `size` points square: a rounded
// square in a colour of its own with the first letter of its name. Main thread.
QPixmap applicationIconStandIn(const QString& name, double size, double devicePixelRatio = 1);

// The stand-in's colour: the same for the same name on every run.
QColor applicationIconColor(const QString& name);

// What reads an icon file into a picture `pixels` square: readApplicationIcon, or a stand-in.
using ApplicationIconReader = std::function<QImage(const QString& iconPath, int pixels)>;

// Reads the icon file at `iconPath` with `read` on a worker thread and hands the
// application's picture, `size` points square, to `shown` on the main thread: the file's
// picture, or the stand-in when there is none. Nothing is handed over once `owner` has
// gone. Returns at once; the caller shows the stand-in meanwhile if it likes.
void loadApplicationIcon(const QString& iconPath, const QString& name, double size, double devicePixelRatio,
                         QObject* owner, std::function<void(const QPixmap&)> shown,
                         ApplicationIconReader read = readApplicationIcon);

}  // namespace dorvane
