#include "about/inform.h"

#include <unistd.h>

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

#include "support/betriebssystem.h"
#include "testhilfe/tempverzeichnis.h"
#include "testhilfe/urlempfaenger.h"

namespace tarvendo {
namespace {

QLabel* label(const QWidget& dialog, const char* name) {
    return dialog.findChild<QLabel*>(QLatin1String(name));
}

TEST(Inform, ZeilenMitVersionenErfundenerBibliotheken) {
    const test::TempVerzeichnis tmp;
    test::schreibe_datei(tmp / "libdemo.so.6.0.2900.5512", "x");
    test::schreibe_datei(tmp / "libQt6Widgets.so.40000.1", "x");
    // As the dynamic linker names a library: a link to the real file.
    ASSERT_EQ(::symlink("libQt6Widgets.so.40000.1", (tmp / "libQt6Widgets.so.6").c_str()), 0);
    const Komponenten komponenten{.laufzeit = tmp / "libdemo.so.6.0.2900.5512",
                                  .qt_widgets = tmp / "libQt6Widgets.so.6",
                                  .chm_hilfe = tmp / "libchm.so.1"};
    // A wide font pushes the captions past their designed columns.
    const struct BreiteSchrift {
        QFont alt = QApplication::font();
        BreiteSchrift() {
            QFont breit = alt;
            breit.setLetterSpacing(QFont::AbsoluteSpacing, 8);
            QApplication::setFont(breit);
        }
        ~BreiteSchrift() { QApplication::setFont(alt); }
    } breite_schrift;
    const Inform dialog(nullptr, komponenten, "Ubuntu 24.04.1 LTS (Noble Numbat), Service Pack 3");

    EXPECT_EQ(dialog.windowTitle(), "Informationen zu Tarvendo");
    EXPECT_TRUE(QRegularExpression("^Version \\d+\\.\\d+\\.\\d+$")
                    .match(label(dialog, "Version")->text())
                    .hasMatch());

    const struct {
        const char* beschriftung;
        const char* text;
        const char* wert;
        QString erwartet;
    } zeilen[] = {
        {"Label7", "System:", "BS_Version", "Ubuntu 24.04.1 LTS (Noble Numbat), Service Pack 3"},
        {"Label2", "C++-Laufzeit:", "Runtime_Version", "Version 6.0.2900.5512"},
        {"Label3", "Qt Widgets:", "QtWidgets_Version", "Version 40000.1.0.0"},
        {"Label4", "CHM-Hilfe:", "HELP_Version", "Version NV"},
        {"label6", "WWW:", "hlink", "https://www.example.org/tarvendo/"},
        {"Label1", "eMail:", "mail", "tarvendo@example.org"},
    };
    for (const auto& zeile : zeilen) {
        const QLabel* beschriftung = label(dialog, zeile.beschriftung);
        const QLabel* wert = label(dialog, zeile.wert);
        ASSERT_TRUE(beschriftung && wert) << zeile.beschriftung;
        EXPECT_EQ(beschriftung->text(), zeile.text);
        QTextDocument dokument;
        dokument.setHtml(wert->text());
        EXPECT_EQ(dokument.toPlainText(), zeile.erwartet) << zeile.wert;
        // On the caption's line, 120 twips (8 px at 96 dpi) or more to its
        // right, and whole inside the dialog.
        EXPECT_EQ(wert->y(), beschriftung->y()) << zeile.wert;
        EXPECT_GE(wert->x() - (beschriftung->x() + beschriftung->width()), 8) << zeile.wert;
        EXPECT_GE(wert->width(), wert->sizeHint().width()) << zeile.wert;
        EXPECT_LE(wert->geometry().right(), dialog.width()) << zeile.wert;
    }
    // The long system name widens the dialog; OK keeps its place at the right edge.
    const auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("OK"));
    ASSERT_TRUE(ok && dialog.width() > 376);
    EXPECT_EQ(dialog.width() - ok->x(), 76);  // 1140 twips at 96 dpi
}

// A system known by its version record, or one the tables do not know.
struct FestesSystem final : Systemabfrage {
    Versionssatz satz;
    Versionssatz versionssatz() const override { return satz; }
    std::uint16_t sprachkennung() const override { return 0x407; }
    std::string sprachname(std::uint16_t) const override { return "Deutsch"; }
    std::uint32_t produktinfo(std::uint32_t, std::uint32_t, std::uint16_t,
                              std::uint16_t) const override {
        return 0;
    }
    std::int32_t systemmetrik(int) const override { return 0; }
    bool ist_32bit_prozess_auf_64bit_system() const override { return false; }
    std::string eigener_name() const override { return "Debian GNU/Linux 12 (bookworm)"; }
};

TEST(gib_systemname, ServicePackNurWennVorhanden) {
    // major, minor, build, platform, service pack, its numbers, suite, product type
    const std::pair<Versionssatz, std::string> fälle[] = {
        {{5, 1, 0, plattform_windows_nt, "Service Pack 3", 0, 0, 0, produkttyp_workstation},
         "XP Professional, Service Pack 3"},
        {{0, 0, 0, 7, {}, 0, 0, 0, 0}, "Debian GNU/Linux 12 (bookworm)"},
    };
    for (const auto& [satz, erwartet] : fälle) {
        auto quelle = std::make_unique<FestesSystem>();
        quelle->satz = satz;
        EXPECT_EQ(gib_systemname(OperatingSystem(std::move(quelle))), erwartet);
    }
}

TEST(Inform, ModalÜberDemHauptfensterUndLinksÖffnen) {
    QWidget hauptfenster;
    hauptfenster.setGeometry(200, 150, 800, 600);
    hauptfenster.show();
    Inform* const dialog = Inform::zeige(&hauptfenster);
    const QPointer<Inform> offen = dialog;
    EXPECT_TRUE(dialog->isVisible() && dialog->isModal());
    EXPECT_EQ(dialog->parentWidget(), &hauptfenster);

    const test::UrlEmpfaenger mail("mailto");
    const test::UrlEmpfaenger web("https");
    for (const char* name : {"mail", "hlink"}) {
        QLabel* link = label(*dialog, name);
        QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(4, link->height() / 2));
    }
    EXPECT_EQ(mail.erhalten, QList{QUrl("mailto:tarvendo@example.org")});
    EXPECT_EQ(web.erhalten, QList{QUrl("https://www.example.org/tarvendo/")});

    QTest::mouseClick(dialog->findChild<QPushButton*>("OK"), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(offen) << "closed and deleted";
}

}  // namespace
}  // namespace tarvendo
