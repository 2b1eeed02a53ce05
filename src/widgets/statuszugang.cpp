#include "widgets/statuszugang.h"

#include <QAccessibleValueInterface>
#include <QAccessibleWidget>

#include "widgets/status.h"

namespace tarvendo {
namespace {

class Statuszugang final : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit Statuszugang(Status* status) : QAccessibleWidget(status, QAccessible::ProgressBar) {}

    void* interface_cast(QAccessible::InterfaceType art) override {
        if (art == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(art);
    }

    QString text(QAccessible::Text art) const override {
        if (art == QAccessible::Value || art == QAccessible::Description)
            return status().beschriftung();
        return QAccessibleWidget::text(art);
    }

    QVariant currentValue() const override { return status().aktwert(); }
    void setCurrentValue(const QVariant&) override {}  // shown, not edited
    QVariant maximumValue() const override { return status().maxwert(); }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

private:
    const Status& status() const { return *static_cast<const Status*>(widget()); }
};

QAccessibleInterface* fabrik(const QString& klasse, QObject* objekt) {
    if (klasse == QLatin1String("tarvendo::Status") && objekt && objekt->isWidgetType())
        return new Statuszugang(static_cast<Status*>(objekt));
    return nullptr;
}

}  // namespace

void melde_statuszugang_an() {
    static const bool einmal = [] {
        QAccessible::installFactory(fabrik);
        return true;
    }();
    (void)einmal;
}

void melde_statusänderung(Status& status) {
    if (!QAccessible::isActive()) return;
    QAccessibleValueChangeEvent wert(&status, status.aktwert());
    QAccessible::updateAccessibility(&wert);
    QAccessibleEvent text(&status, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&text);
}

}  // namespace tarvendo
