// Pieces of the Qt side of the surface that its files share.
#pragma once

#include <QGuiApplication>
#include <QMessageBox>
#include <QPainter>
#include <QRect>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <functional>
#include <string>

#include "platform/qt/bridge.h"

namespace platform::qt {

inline QString q(const std::string& s) { return QString::fromStdString(s); }
inline QRect toRect(const Box& b) { return QRect(b.left, b.top, b.width, b.height); }

// Brings what assistive technology is told up to date with the state the
// handlers left (qt_access.cpp).
void settled();

// Runs a handler, then settled(). A run-time error (an overflow, an index out
// of bounds) that escapes them is reported and ends the program, rather than
// unwinding through the toolkit.
template <typename F>
void guarded(F&& handler)
{
    try {
        handler();
        settled();
    } catch (const std::exception& e) {
        const QString message = QStringLiteral("Run-time error: %1").arg(QString::fromUtf8(e.what()));
        std::fprintf(stderr, "%s\n", message.toUtf8().constData());
        if (QGuiApplication::platformName() != QLatin1String("offscreen"))
            QMessageBox::critical(nullptr, QString(), message);
        std::exit(1);
    }
}

// What the toolkit does not tell about an X11 display (x11.cpp).
namespace x11 {
// Whether windows are placed by a window manager that can show them full
// screen: always, but on an X11 display without one that follows the
// freedesktop hints (a bare X session, where a window takes the size it asks
// for and nothing more).
bool windowManaged();
// Calls `gone` when another client destroys the window's X window (a session
// manager, a crashed compositor), which leaves the program without a window.
void onDestroyed(QWidget* window, std::function<void()> gone);
}  // namespace x11

// Paints the graphical controls of a container that meet `dirty` (in the
// painter's coordinates), bottom first, `zoom` times as large as laid out.
void paintGraphics(QPainter& p, const Container& c, const QRect& dirty, double zoom = 1);

// A rectangle of the layout's pixels at the given zoom: its edges rounded, so
// that neighbours stay neighbours.
QRect scaled(const QRect& r, double zoom);

}  // namespace platform::qt
