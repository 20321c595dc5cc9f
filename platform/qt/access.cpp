// Accessibility on Qt Widgets: names, roles and descriptions of the controls
// with their change events, the focus mark around the focused control while
// the keyboard is in use, the keyboard cursor frame and the selection drawn
// above the blackboard, and a larger hit area for a small check box.
#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFocusFrame>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleHintReturnMask>
#include <QStyleOption>

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/access.h"
#include "platform/marks.h"
#include "platform/qt/internal.h"

namespace platform {

namespace qt {

namespace {

// The marks' colours and widths are platform/marks.h's.
const QColor kFocusMark = toQColor(marks::kFocus), kCursor = toQColor(marks::kCursor), kSelection = toQColor(marks::kSelection);
int markWidth(double zoom) { return marks::focusWidth(zoom); }

// Fills a band `width` pixels wide just inside `outer`.
void band(QPainter& p, const QRect& outer, int width, const QColor& colour)
{
    const QRegion ring = QRegion(outer) - QRegion(outer.adjusted(width, width, -width, -width));
    for (const QRect& r : ring)
        p.fillRect(r, colour);
}

// An editable combo box that a screen reader names by its accessible name.
// On this platform the toolkit names a combo box by its text and expects a
// label widget to name it through a relation; the pace box's caption is
// painted, so the box is named directly and keeps its text as its value.
class NamedComboBox : public QAccessibleWidget {
public:
    explicit NamedComboBox(QComboBox* combo) : QAccessibleWidget(combo, QAccessible::ComboBox) {}
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? combo()->currentText() : QAccessibleWidget::text(t);
    }
    // The list, and the line edit in which the pace is typed.
    int childCount() const override { return 2; }
    QAccessibleInterface* child(int index) const override
    {
        QWidget* w = index == 0 ? static_cast<QWidget*>(combo()->view()) : index == 1 ? combo()->lineEdit() : nullptr;
        return w ? QAccessible::queryAccessibleInterface(w) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* c) const override
    {
        return c->object() == combo()->view() ? 0 : c->object() == combo()->lineEdit() ? 1 : -1;
    }
    // The box is the focus proxy of its line edit, which is where typing goes.
    QAccessibleInterface* focusChild() const override { return child(1); }
    QStringList actionNames() const override { return QStringList{showMenuAction()} + QAccessibleWidget::actionNames(); }
    void doAction(const QString& action) override
    {
        action == showMenuAction() ? combo()->showPopup() : QAccessibleWidget::doAction(action);
    }

private:
    QComboBox* combo() const { return static_cast<QComboBox*>(widget()); }
};

// The property that gives a control the accessible role chosen here.
constexpr char kRoleProperty[] = "kansuAccessibleRole";

QAccessibleInterface* roleFactory(const QString&, QObject* object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    const QVariant role = object->property(kRoleProperty);
    if (!role.isValid())
        return nullptr;
    if (auto* combo = qobject_cast<QComboBox*>(object); combo && combo->lineEdit())
        return new NamedComboBox(combo);
    return new QAccessibleWidget(static_cast<QWidget*>(object), static_cast<QAccessible::Role>(role.toInt()));
}

// Gives a widget its role through the factory above. An interface the
// toolkit made before (they are kept once made) is dropped, to be made anew.
void setRole(QWidget* w, QAccessible::Role role)
{
    w->setProperty(kRoleProperty, static_cast<int>(role));
    if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(w))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

// Focus frames are left out of the accessibility tree by the toolkit, which
// suits both marks: they are drawings for the eye only.

// The margin and the ring-shaped mask of the focus mark.
class MarkStyle : public QProxyStyle {
public:
    explicit MarkStyle(const Window& window) : window_(window) {}
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        if (metric == PM_FocusFrameHMargin || metric == PM_FocusFrameVMargin)
            return markWidth(window_.zoom());
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override
    {
        if (hint == SH_FocusFrame_Mask && option) {
            if (auto* mask = qstyleoption_cast<QStyleHintReturnMask*>(data)) {
                const int w = markWidth(window_.zoom());
                mask->region = QRegion(option->rect) - QRegion(option->rect.adjusted(w, w, -w, -w));
            }
            return 1;
        }
        // Kept in the window, above every control: the marks of the small box
        // and of the distance box would be cut at the blackboard's edge.
        if (hint == SH_FocusFrame_AboveWidget)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }

private:
    const Window& window_;
};

// The focus mark around the focused control, outside its edges.
class FocusMark : public QFocusFrame {
public:
    FocusMark(QWidget* parent, const Window& window) : QFocusFrame(parent), style_(window)
    {
        setStyle(&style_);
        hide();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), kFocusMark);  // the mask leaves the ring
    }

private:
    MarkStyle style_;
};

// The marks above a picture box: a transparent layer over its drawing area.
class BoxMarks : public QFocusFrame {
public:
    BoxMarks(QWidget* canvas, const Window& window) : QFocusFrame(canvas), window_(window)
    {
        setGeometry(canvas->rect());
        hide();
    }
    QRect cursor, selection;  ///< the marks' outer edges, in the box's pixels; an empty one is not drawn
    bool showCursor = false;

    void refresh()
    {
        const bool any = (showCursor && !cursor.isEmpty()) || !selection.isEmpty();
        if (any) {
            raise();
            update();
        }
        setVisible(any);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.scale(window_.zoom(), window_.zoom());
        if (showCursor && !cursor.isEmpty())
            band(p, cursor, marks::kBand, kCursor);
        if (!selection.isEmpty())
            band(p, selection, marks::kBand, kSelection);
    }

private:
    const Window& window_;
};

class QtAccessibility;
std::vector<QtAccessibility*>& bridges()
{
    static std::vector<QtAccessibility*> all;
    return all;
}

class QtAccessibility : public QObject, public Accessibility {
public:
    explicit QtAccessibility(Window& window) : window_(window), top_(widgetOf(window))
    {
        static const bool factory = (QAccessible::installFactory(roleFactory), true);
        (void)factory;
        setRole(top_, QAccessible::Window);  // a frame with the window's caption as its name
        mark_ = new FocusMark(top_, window);
        qApp->installEventFilter(this);
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget*) { focusMoved(old); });
        bridges().push_back(this);
    }
    ~QtAccessibility() override
    {
        std::erase(bridges(), this);
        delete mark_.data();
        delete marks_.data();
    }

    void name(AnyControl c, const std::string& text) override
    {
        QWidget* w = widgetFor(c);
        w->setAccessibleName(q(text));
        if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->lineEdit()) {
            combo->lineEdit()->setAccessibleName(q(text));
            setRole(combo, QAccessible::ComboBox);
        }
    }

    void role(const PictureBox& box, Role role) override
    {
        setRole(frameOf(box), role == Role::Canvas  ? QAccessible::Canvas
                              : role == Role::Chart ? QAccessible::Chart
                                                    : QAccessible::Graphic);
    }

    void toolTip(AnyControl c, const std::string& text) override { widgetFor(c)->setToolTip(q(text)); }

    const void* focus() const override { return controlOf(window_, QApplication::focusWidget()); }

    void describe(const PictureBox& box, const std::string& text) override
    {
        QWidget* w = frameOf(box);
        if (std::find(described_.begin(), described_.end(), w) == described_.end())
            described_.push_back(w);
        // The toolkit sends every setting to assistive technology as a change.
        if (w->accessibleDescription() != q(text))
            w->setAccessibleDescription(q(text));
    }

    void status(const std::string& text) override
    {
        if (text == status_)
            return;
        status_ = text;
        if (quiet_)  // a focus move: the control just reached has no status line yet
            return;
        QWidget* w = QApplication::focusWidget();
        if (!w || w->window() != top_ || std::find(described_.begin(), described_.end(), w) != described_.end())
            return;
        if (holder_ && holder_ != w)
            holder_->setAccessibleDescription({});
        holder_ = w;
        w->setAccessibleDescription(q(text));
    }

    void marks(const PictureBox& box, Box cursor, Box selection) override
    {
        if (!marks_) {
            marksBox_ = &box;
            marks_ = new BoxMarks(widgetOf(box), window_);
        }
        marks_->cursor = cursor.empty() ? QRect() : toRect(marks::cursorFrame(cursor));
        marks_->selection = selection.empty() ? QRect() : toRect(marks::selectionFrame(selection));
        showMarks();
    }

    void hitArea(const CheckBox& check, const PictureBox& box, Box area) override
    {
        hitCheck_ = qobject_cast<QAbstractButton*>(widgetOf(check));
        hitCanvas_ = widgetOf(box);
        hitArea_ = toRect(area);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
            if (!keyboard_ && inWindow(watched))
                keyboardUsed(true);
            return false;
        case QEvent::MouseButtonPress:
            if (keyboard_ && inWindow(watched))
                keyboardUsed(false);
            return watched == hitCanvas_ && hit(static_cast<QMouseEvent*>(event), true);
        case QEvent::MouseMove:
            return watched == hitCanvas_ && hitPressed_;
        case QEvent::MouseButtonRelease:
            return watched == hitCanvas_ && hit(static_cast<QMouseEvent*>(event), false);
        case QEvent::Resize:
            if (marks_ && watched == marks_->parent())
                marks_->setGeometry(static_cast<QWidget*>(watched)->rect());
            return false;
        default:
            return false;
        }
    }

private:
    QWidget* widgetFor(AnyControl c) const { return widgetOfControl(window_, c.control()); }
    QWidget* focusedControl() const { return widgetOfControl(window_, focus()); }
    bool inWindow(QObject* o) const { return o->isWidgetType() && static_cast<QWidget*>(o)->window() == top_; }

    void keyboardUsed(bool used)
    {
        keyboard_ = used;
        showMarks();
    }

    // The focus mark around the focused control and the keyboard cursor on
    // the box, both only while the keyboard is in use.
    void showMarks()
    {
        QWidget* focused = keyboard_ ? focusedControl() : nullptr;
        mark_->setWidget(focused);
        if (focused)
            mark_->show();
        if (marks_) {
            marks_->showCursor = keyboard_ && focus() == marksBox_;
            marks_->refresh();
        }
    }

    void focusMoved(QWidget* old)
    {
        if (holder_ && holder_ == old) {  // the status line stays with the control it was said on
            holder_->setAccessibleDescription({});
            holder_ = nullptr;
        }
        showMarks();
        quiet_ = true;
        guarded([this] {
            if (Refresh)
                Refresh();
        });
        quiet_ = false;
    }

    // A press and release inside the hit area but beside the check box toggle it.
    bool hit(QMouseEvent* e, bool press)
    {
        if (!hitCheck_ || !hitCanvas_)
            return false;
        const QPointF at = e->position() / window_.zoom();
        const bool inside = QRectF(hitArea_).contains(at);
        if (press) {
            hitPressed_ = inside;
            return inside;
        }
        if (!hitPressed_)
            return false;
        hitPressed_ = false;
        if (inside) {
            hitCheck_->setFocus(Qt::MouseFocusReason);
            hitCheck_->click();
        }
        return true;
    }

    Window& window_;
    QWidget* top_;
    std::vector<QWidget*> described_;
    QPointer<FocusMark> mark_;
    QPointer<BoxMarks> marks_;
    const void* marksBox_ = nullptr;
    QPointer<QWidget> holder_;  ///< the control that carries the status line
    std::string status_;
    bool keyboard_ = false, quiet_ = false;
    QPointer<QAbstractButton> hitCheck_;
    QPointer<QWidget> hitCanvas_;
    QRect hitArea_;
    bool hitPressed_ = false;
};

}  // namespace

void settled()
{
    for (QtAccessibility* b : bridges())
        if (b->Refresh)
            b->Refresh();
}

}  // namespace qt

std::unique_ptr<Accessibility> Accessibility::create(Window& window)
{
    return std::make_unique<qt::QtAccessibility>(window);
}

}  // namespace platform
