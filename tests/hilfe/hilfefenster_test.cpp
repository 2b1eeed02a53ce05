#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "hilfe/hilfebrowser.h"
#include "hilfe/hilfefenster.h"
#include "hilfe/html_help.h"
#include "testhilfe/urlempfaenger.h"

namespace tarvendo {
namespace {

QList<Hilfefenster*> offene_hilfefenster() {
    QList<Hilfefenster*> fenster;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* h = qobject_cast<Hilfefenster*>(w); h && h->isVisible()) fenster.append(h);
    return fenster;
}

class HilfeTest : public ::testing::Test {
protected:
    void TearDown() override {
        for (Hilfefenster* fenster : offene_hilfefenster()) fenster->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        setze_hilfedatei({});
    }
};

TEST_F(HilfeTest, ZeigtDieStartseiteUndFolgtLinks) {
    setze_hilfedatei({});
    hilfe_anzeigen();  // without a help file: nothing
    EXPECT_TRUE(offene_hilfefenster().isEmpty());
    setze_hilfedatei(TARVENDO_HILFEDATEI);
    hilfe_anzeigen();
    ASSERT_EQ(offene_hilfefenster().size(), 1);
    Hilfefenster* fenster = offene_hilfefenster().front();
    EXPECT_EQ(fenster->parentWidget(), nullptr);
    EXPECT_EQ(fenster->windowTitle(), "Tarvendo-Hilfe");
    Hilfebrowser& browser = fenster->browser();
    EXPECT_EQ(browser.source(), QUrl("chm:/index.html"));
    EXPECT_TRUE(browser.toPlainText().contains("Quellverzeichnis"));
    // Screen readers get the page's text.
    QAccessibleInterface* zugang = QAccessible::queryAccessibleInterface(&browser);
    QAccessibleTextInterface* text = zugang ? zugang->textInterface() : nullptr;
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->text(0, text->characterCount()).contains("Quellverzeichnis"));
    // The page's image and style sheet come from the help file too.
    const auto bild =
        browser.document()->resource(QTextDocument::ImageResource, QUrl("tarvendo.png"));
    EXPECT_EQ(bild.value<QImage>().size(), QSize(48, 48));
    EXPECT_TRUE(browser.loadResource(QTextDocument::StyleSheetResource, QUrl("hilfe.css"))
                    .toByteArray()
                    .contains("font-family"));

    // The keyboard reaches the first link, "Quell- und Zielverzeichnis wählen".
    QTest::keyClick(&browser, Qt::Key_Tab);
    QTest::keyClick(&browser, Qt::Key_Return);
    EXPECT_EQ(browser.source(), QUrl("chm:/verzeichnisse.html"));
    EXPECT_TRUE(browser.toPlainText().startsWith("Verzeichnisse wählen"));
    browser.backward();
    EXPECT_EQ(browser.source(), QUrl("chm:/index.html"));

    // Addresses outside the file go to the desktop's browser; the page stays.
    const test::UrlEmpfaenger web("https");
    browser.setSource(QUrl("https://www.example.org/"));
    EXPECT_EQ(web.erhalten, QList{QUrl("https://www.example.org/")});
    EXPECT_EQ(browser.source(), QUrl("chm:/index.html"));

    // A page the file lacks is reported on the page.
    browser.setSource(QUrl("chm:/fehlt.html"));
    EXPECT_TRUE(browser.toPlainText().contains("fehlt in der Hilfedatei"));
}

// Last: ends the application's event loop.
TEST_F(HilfeTest, OffeneHilfeHältDasProgrammNichtAuf) {
    QWidget hauptfenster;
    hauptfenster.show();
    setze_hilfedatei(TARVENDO_HILFEDATEI);
    hilfe_anzeigen();
    QPointer<Hilfefenster> hilfe = offene_hilfefenster().value(0);
    ASSERT_TRUE(hilfe);

    bool hängt = false;
    QTimer::singleShot(0, &hauptfenster, &QWidget::close);
    QTimer::singleShot(10000, [&] {
        hängt = true;
        QCoreApplication::exit(1);
    });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(hängt);
    EXPECT_FALSE(hilfe) << "the help window outlives the program";
}

}  // namespace
}  // namespace tarvendo
