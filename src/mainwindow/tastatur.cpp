#include "mainwindow/tastatur.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QShortcut>

namespace tarvendo {
namespace {

class Eingabetaste final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override {
        if (ereignis->type() != QEvent::KeyPress) return false;
        const auto* taste = static_cast<QKeyEvent*>(ereignis);
        if (taste->key() != Qt::Key_Return && taste->key() != Qt::Key_Enter) return false;
        if (taste->modifiers() & ~Qt::KeypadModifier) return false;
        static_cast<QAbstractButton*>(objekt)->click();
        return true;
    }
};

}  // namespace

void drücke_mit_eingabetaste(QAbstractButton& knopf) {
    knopf.installEventFilter(new Eingabetaste(&knopf));
}

void setze_kürzel(QWidget& fenster, QAbstractButton& knopf, const QKeySequence& kürzel) {
    auto* k = new QShortcut(kürzel, &fenster);
    k->setContext(Qt::WindowShortcut);
    QObject::connect(k, &QShortcut::activated, &knopf, [&knopf] { knopf.click(); });
    knopf.setToolTip(kürzel.toString(QKeySequence::NativeText));
}

}  // namespace tarvendo
