#include "hilfe/hilfefenster.h"

#include <QAction>
#include <QIcon>
#include <QKeySequence>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

#include "hilfe/hilfebrowser.h"

namespace tarvendo {

QIcon Hilfefenster::symbol(const char* thema, QStyle::StandardPixmap ersatz) const {
    return QIcon::fromTheme(QLatin1String(thema), style()->standardIcon(ersatz));
}

Hilfefenster::Hilfefenster(const std::string& hilfedatei, QWidget* eltern)
    : QWidget(eltern), browser_(new Hilfebrowser(this)) {
    auto* leiste = new QToolBar(this);
    leiste->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    auto* zurück = leiste->addAction(symbol("go-previous", QStyle::SP_ArrowBack),
                                     QStringLiteral("&Zurück"), browser_, &QTextBrowser::backward);
    zurück->setShortcut(QKeySequence::Back);
    auto* vor = leiste->addAction(symbol("go-next", QStyle::SP_ArrowForward),
                                  QStringLiteral("&Vor"), browser_, &QTextBrowser::forward);
    vor->setShortcut(QKeySequence::Forward);
    auto* start = leiste->addAction(symbol("go-home", QStyle::SP_DirHomeIcon),
                                    QStringLiteral("&Startseite"), browser_, &QTextBrowser::home);
    start->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));
    zurück->setEnabled(false);
    vor->setEnabled(false);
    connect(browser_, &QTextBrowser::backwardAvailable, zurück, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, vor, &QAction::setEnabled);

    auto* schliessen = new QAction(this);
    schliessen->setShortcuts({QKeySequence(Qt::Key_Escape), QKeySequence::Close});
    connect(schliessen, &QAction::triggered, this, &QWidget::close);
    addAction(schliessen);

    auto* spalte = new QVBoxLayout(this);
    spalte->setContentsMargins(0, 0, 0, 0);
    spalte->setSpacing(0);
    spalte->addWidget(leiste);
    spalte->addWidget(browser_);

    browser_->document()->setDocumentMargin(10);
    const bool gelesen = browser_->setze_hilfedatei(hilfedatei);
    const QString titel = browser_->titel();
    setWindowTitle(gelesen && !titel.isEmpty() ? titel : QStringLiteral("Tarvendo-Hilfe"));
    // About 80 characters wide at any screen resolution.
    const double massstab = logicalDpiX() / 96.0;
    resize(qRound(640 * massstab), qRound(560 * massstab));
    browser_->setFocus();
}

}  // namespace tarvendo
