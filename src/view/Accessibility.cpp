// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/Accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include "view/GradientButton.h"

namespace {

class AccessibleGradientButton : public QAccessibleWidget {
public:
    explicit AccessibleGradientButton(TGradButton* button) : QAccessibleWidget(button, QAccessible::Button) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty())
            return button()->Caption();
        return QAccessibleWidget::text(kind);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.pressed = button()->isPressed();
        return state;
    }

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString& action) override {
        if (action == pressAction() && button()->isEnabled())
            emit button()->clicked();
    }

private:
    TGradButton* button() const { return static_cast<TGradButton*>(widget()); }
};

// Asked for every class of an object's hierarchy, most derived first.
QAccessibleInterface* GameInterfaces(const QString& className, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr || className != QLatin1String(object->metaObject()->className()))
        return nullptr;
    if (auto* button = qobject_cast<TGradButton*>(widget))
        return new AccessibleGradientButton(button);
    // A window of the game's own made straight from QWidget; Qt would call it a client area.
    if (widget->isWindow() && widget->metaObject()->superClass() == &QWidget::staticMetaObject)
        return new QAccessibleWidget(widget, QAccessible::Window);
    return nullptr;
}

} // namespace

// Qt keeps a factory once however often it is installed.
void InstallAccessibleInterfaces() {
    QAccessible::installFactory(GameInterfaces);
}
