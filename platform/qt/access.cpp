// Accessibility on Qt Widgets: names, roles and descriptions of the widgets
// with their change events, the status line as the description of the
// focused control, announcements, the focus mark around the focused control
// while the keyboard is in use, and the keyboard's use and the focus moves
// handed to the shell.
//
// Announcements: Qt 6.4 sends a changed description or name with the object
// instead of its text, and Orca 43 drops such an event ("bad content sent to
// speak()"); it has no event for an alert. What Orca speaks by itself is a
// notification that is shown: a widget with that role, one transparent pixel
// in the window's corner, named with the values and described with what
// changed, hidden and shown again for every announcement. Orca says the role
// word, the name, a pause and the description, cutting short what it was
// saying.
#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QComboBox>
#include <QFocusFrame>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleHintReturnMask>
#include <QStyleOption>


#include "platform/marks.h"
#include "platform/qt/internal.h"

namespace platform {

namespace qt {

namespace {

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
// suits the mark: it is a drawing for the eye only.

// The margin and the ring-shaped mask of the focus mark.
class MarkStyle : public QProxyStyle {
public:
    explicit MarkStyle(const WindowWidget* window) : window_(window) {}
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        if (metric == PM_FocusFrameHMargin || metric == PM_FocusFrameVMargin)
            return marks::focusWidth(window_->zoom);
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget, QStyleHintReturn* data) const override
    {
        if (hint == SH_FocusFrame_Mask && option) {
            if (auto* mask = qstyleoption_cast<QStyleHintReturnMask*>(data)) {
                const int w = marks::focusWidth(window_->zoom);
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
    const WindowWidget* window_;
};

// The focus mark around the focused control, outside its edges.
class FocusMark : public QFocusFrame {
public:
    explicit FocusMark(WindowWidget* window) : QFocusFrame(window), style_(window)
    {
        setStyle(&style_);
        hide();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), toQColor(marks::kFocus));  // the mask leaves the ring
    }

private:
    MarkStyle style_;
};

// The property of a described picture box: its description says what the
// status line would.
constexpr char kDescribed[] = "kansuDescribed";

// The control that carries the status line.
QPointer<QWidget>& holder()
{
    static QPointer<QWidget> widget;
    return widget;
}

// Tells the shell when a window's keyboard is used or a pointer pressed in
// it, and when the focus moves; the status line stays with the control it
// was said on.
class AccessWatch : public QObject {
public:
    explicit AccessWatch(WindowWidget* window) : QObject(window), window_(window)
    {
        static const bool watching = (connect(qApp, &QApplication::focusChanged, qApp, [](QWidget* old, QWidget*) {
                                          if (holder() && holder() == old) {
                                              holder()->setAccessibleDescription({});
                                              holder() = nullptr;
                                          }
                                          shell::focusMoved();
                                      }),
                                      true);
        (void)watching;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const bool key = event->type() == QEvent::KeyPress, press = event->type() == QEvent::MouseButtonPress;
        if ((key || press) && watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == window_)
            shell::keyboardUsed(nativeOf(window_), key);
        return false;
    }

private:
    WindowWidget* window_;
};

}  // namespace

void watchAccess(WindowWidget* window)
{
    static const bool factory = (QAccessible::installFactory(roleFactory), true);
    (void)factory;
    setRole(window, QAccessible::Window);  // a frame with the window's caption as its name
    window->focusMark = new FocusMark(window);
    auto* notice = new QWidget(window);  // paints nothing: the window shows through
    notice->setAttribute(Qt::WA_TransparentForMouseEvents);
    notice->setFocusPolicy(Qt::NoFocus);
    notice->setGeometry(0, 0, 1, 1);
    notice->hide();
    setRole(notice, QAccessible::Notification);
    window->notice = notice;
    window->access = new AccessWatch(window);
    qApp->installEventFilter(window->access);
}

}  // namespace qt

namespace backend {

using namespace qt;

void accessibleName(Native control, const std::string& name)
{
    QWidget* w = widget(control);
    w->setAccessibleName(q(name));
    if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->lineEdit()) {
        combo->lineEdit()->setAccessibleName(q(name));
        setRole(combo, QAccessible::ComboBox);
    }
}

void accessibleRole(Native box, Accessibility::Role role)
{
    setRole(widget(box), role == Accessibility::Role::Canvas  ? QAccessible::Canvas
                         : role == Accessibility::Role::Chart ? QAccessible::Chart
                                                              : QAccessible::Graphic);
}

void toolTip(Native control, const std::string& text) { widget(control)->setToolTip(q(text)); }

void describe(Native box, const std::string& text)
{
    QWidget* w = widget(box);
    w->setProperty(kDescribed, true);
    // The toolkit sends every setting to assistive technology as a change.
    if (w->accessibleDescription() != q(text))
        w->setAccessibleDescription(q(text));
}

// The status line becomes the description of the focused widget (unless
// that is a described picture box, whose own description says it).
void status(const std::string& text, Native focus)
{
    QWidget* w = QApplication::focusWidget();
    if (!focus || !w || w->property(kDescribed).toBool())
        return;
    if (holder() && holder() != w)
        holder()->setAccessibleDescription({});
    holder() = w;
    w->setAccessibleDescription(q(text));
}

// Qt 6.4 sends the object with a description's change, and Orca 43 drops it.
const bool kDescriptionChangesSpoken = false;

void announce(Native window, const std::string& first, const std::string& rest)
{
    QWidget* notice = widget<WindowWidget>(window)->notice;
    notice->setAccessibleName(q(first));
    notice->setAccessibleDescription(q(rest));
    notice->hide();
    notice->show();  // "showing": Orca speaks the notification
}

void showFocusMark(Native window, bool show)
{
    auto* w = widget<WindowWidget>(window);
    auto* mark = static_cast<QFocusFrame*>(w->focusMark);
    QWidget* focused = show ? widget(controlOf(QApplication::focusWidget())) : nullptr;
    if (focused && focused->window() != w)
        focused = nullptr;
    mark->setWidget(focused);
    if (focused)
        mark->show();
}

}  // namespace backend

}  // namespace platform
