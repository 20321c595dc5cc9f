// Shared helpers of the tests: a window in its start state, clicks, drags and
// pixels of the drawing layers.
#pragma once

#include <QApplication>
#include <QTest>
#include <array>

#include "app/form1.h"
#include "platform/qt/bridge.h"

namespace testutil {

inline QWidget* widget(platform::PictureBox* box) { return platform::qt::widgetOf(*box); }
inline QWidget* widget(platform::CommandButton* b) { return platform::qt::widgetOf(*b); }
inline QWidget* widget(platform::CheckBox* c) { return platform::qt::widgetOf(*c); }

// A click as the pupil makes it (nothing happens on a disabled control).
inline void click(platform::CommandButton* b) { QTest::mouseClick(widget(b), Qt::LeftButton); }
inline void click(platform::CheckBox* c)
{
    QWidget* w = widget(c);
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(8, w->height() / 2));
}

// A drag on the blackboard with real mouse events: press, moves, release.
inline void drag(Form1& f, QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton)
{
    QWidget* w = widget(f.kokuban);
    QTest::mousePress(w, button, {}, from);
    const QPoint mid = (from + to) / 2;
    for (QPoint p : {from, mid, to}) {
        QMouseEvent move(QEvent::MouseMove, QPointF(p), w->mapToGlobal(QPointF(p)), Qt::NoButton, button, {});
        QApplication::sendEvent(w, &move);
    }
    QTest::mouseRelease(w, button, {}, to);
}

// Drags block kind n (1..3) from the tray into column k (0..4).
inline void dropBlock(Form1& f, int kind, int column)
{
    const int trayX = 370 + 50 * (kind - 1);
    drag(f, QPoint(trayX, 100), QPoint(320 + 40 * column, 240));
}

// Builds a figure of block kinds, column 0 first, by dragging from the tray.
inline void build(Form1& f, const std::array<int, 5>& kinds)
{
    for (int k = 0; k < 5; ++k)
        if (kinds[k] != 0)
            dropBlock(f, kinds[k], k);
}

inline void steps(Form1& f, int n)
{
    for (int i = 0; i < n; ++i)
        f.susumu_Click();
}

// The drawing layers of the table and the graph pane as the initial screen of
// a fresh window leaves them, with both shown or both hidden: the table's
// χ = 0 column alone, the pane's grid and labels with the trace's start point
// (which lies under the axes).
struct Panes {
    QImage table, graph;
};
inline Panes initialPanes(bool shown)
{
    Form1 fresh;
    if (shown)
        click(fresh.Check2), click(fresh.Check3);
    click(fresh.Command1);
    return {platform::qt::layerOf(*fresh.hyo).copy(), platform::qt::layerOf(*fresh.gamen).copy()};
}

inline platform::Colour pixel(platform::PictureBox* box, int x, int y) { return box->Point(x, y); }

}  // namespace testutil
