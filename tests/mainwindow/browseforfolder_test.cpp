#include "mainwindow/browseforfolder.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

#include "mainwindow/ordnerauswahl.h"
#include "testhilfe/tempverzeichnis.h"

namespace tarvendo {
namespace {

// Runs ordner_wählen and lets handle act on the open dialog; what it returns.
QString wähle_mit(QWidget& besitzer, const QString& start, const QString& titel,
                  const std::function<void(Ordnerauswahl&)>& handle) {
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<Ordnerauswahl*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        handle(*dialog);
        if (dialog->isVisible()) dialog->reject();
    });
    return ordner_wählen(&besitzer, start, QStringLiteral("Bitte Zielverzeichnis auswählen"),
                         titel);
}

TEST(BrowseForFolder, WählenAbbrechenUndNeuerOrdner) {
    test::TempVerzeichnis tmp;
    test::erstelle_verzeichnis(tmp / "unter");
    const QString basis = QString::fromStdString(tmp.pfad());
    QWidget besitzer;
    besitzer.setGeometry(100, 100, 800, 600);
    besitzer.show();

    // Preselected start path, title, prompt, centred; the choice comes back without "/".
    EXPECT_EQ(
        wähle_mit(besitzer, basis, QStringLiteral("Zielverzeichnis"),
                  [&](Ordnerauswahl& d) {
                      EXPECT_EQ(d.windowTitle(), "Tarvendo - Zielverzeichnis");
                      EXPECT_EQ(d.findChild<QLabel*>()->text(), "Bitte Zielverzeichnis auswählen");
                      EXPECT_EQ(d.gewählt(), basis);
                      EXPECT_LE((d.frameGeometry().center() - besitzer.frameGeometry().center())
                                    .manhattanLength(),
                                2);
                      d.wähle(basis + "/unter/");
                      d.accept();
                  }),
        basis + "/unter");
    EXPECT_EQ(dialogtitel, "Zielverzeichnis");

    // Cancelled, and a start that does not exist: nothing can be confirmed.
    EXPECT_EQ(wähle_mit(besitzer, basis + "/fehlt", QStringLiteral("Quellverzeichnis"),
                        [](Ordnerauswahl& d) {
                            EXPECT_EQ(d.gewählt(), "");
                            auto* ok =
                                d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
                            EXPECT_FALSE(ok->isEnabled());
                        }),
              "");

    // The root can be chosen.
    EXPECT_EQ(wähle_mit(besitzer, QString(), QString(), [](Ordnerauswahl& d) { d.accept(); }), "/");

    // A new folder below the selected one.
    EXPECT_EQ(wähle_mit(besitzer, basis, QStringLiteral("Quellverzeichnis"),
                        [](Ordnerauswahl& d) {
                            d.neuer_ordner();
                            d.accept();
                        }),
              basis + "/Neuer Ordner");
    EXPECT_TRUE(QDir(basis + "/Neuer Ordner").exists());
}

}  // namespace
}  // namespace tarvendo
