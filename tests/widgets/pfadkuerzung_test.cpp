#include "widgets/pfadkuerzung.h"

#include <QApplication>
#include <QFontMetrics>

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "widgets/status.h"

namespace tarvendo {
namespace {

class Pfadkürzung : public ::testing::Test {
protected:
    Pfadkürzung() {
        anzeige.resize(200, 19);
        anzeige.show();
    }
    [[nodiscard]] int breite(const QString& text) const {
        return anzeige.fontMetrics().horizontalAdvance(text);
    }
    [[nodiscard]] std::string gezeigt(const std::string& pfad) {
        anzeige.textpfad(pfad);
        return anzeige.beschriftung().toStdString();
    }

    Status anzeige;
    const int platz = 194;  // 97 % of 200 pixels
};

TEST_F(Pfadkürzung, EinSchrägstrichWenigerUndDerLetzteTeilBleibt) {
    const struct {
        const char* pfad;
        const char* erwartet;
    } fälle[] = {
        {"/home/daten/", "/home/daten"},
        {"/home/daten//", "/home/daten/"},
        {"/home/a.txt", "/home/a.txt"},
        {"/", "/"},  // the root stays visible
        {"//", "/"},
        {"", ""},
    };
    for (const auto& fall : fälle) EXPECT_EQ(gezeigt(fall.pfad), fall.erwartet) << fall.pfad;

    // A last component longer than the bar stays whole; the display cuts it.
    const std::string lang(80, 'x');
    EXPECT_EQ(gezeigt("/home/a/" + lang + "/"), ".../" + lang);
    EXPECT_EQ(gezeigt("/" + lang), "/" + lang);  // nothing in the middle to give up
}

TEST_F(Pfadkürzung, LangerPfadBehältAnfangUndLetztenTeil) {
    const QString pfad =
        QStringLiteral("/home/benutzer/Dokumente/Projekte/2024/Sicherungen/Wochenende/bericht.txt");
    ASSERT_GT(breite(pfad), platz);
    const QString gekürzt = QString::fromStdString(gezeigt(pfad.toStdString()));

    EXPECT_LE(breite(gekürzt), platz);
    ASSERT_TRUE(gekürzt.endsWith(QStringLiteral(".../bericht.txt"))) << gekürzt.toStdString();
    const QString anfang = gekürzt.chopped(15);
    EXPECT_TRUE(pfad.startsWith(anfang));
    EXPECT_FALSE(anfang.isEmpty());
    // As much of the beginning as fits: one character more would not.
    EXPECT_GT(breite(pfad.left(anfang.size() + 1) + QStringLiteral(".../bericht.txt")), platz);

    // The shortened path is what the display keeps as its text.
    anzeige.mit_prozentzahl(true);
    EXPECT_EQ(anzeige.beschriftung(), QStringLiteral("0% - ") + gekürzt);
}

TEST_F(Pfadkürzung, GemessenWirdAn97ProzentDerBreite) {
    const QString pfad = QStringLiteral("/srv/archiv/fotos/2023");
    const int nötig = breite(pfad);
    // The narrowest bar whose 97 % (rounded, halves to even) still holds the path.
    int bar = 1;
    while (std::nearbyint(0.97 * bar) < nötig) ++bar;
    anzeige.resize(bar, 19);
    EXPECT_EQ(gezeigt(pfad.toStdString()), pfad.toStdString());
    anzeige.resize(bar - 1, 19);
    EXPECT_NE(gezeigt(pfad.toStdString()), pfad.toStdString());
    EXPECT_EQ(kürze_pfad(pfad, anzeige.fontMetrics(), nötig), pfad);
}

TEST_F(Pfadkürzung, SchneidetKeineZeichenEntzwei) {
    QString kopf = QStringLiteral("/");
    for (int i = 0; i < 40; ++i) kopf += QStringLiteral(u"\U0001F600e\u0301");
    const QString pfad = kopf + QStringLiteral("/z.txt");
    for (int platz_ = 80; platz_ < breite(pfad); platz_ += 7) {
        const QString gekürzt = kürze_pfad(pfad, anzeige.fontMetrics(), platz_);
        // Whole characters only: after the emoji (two code units) or after the accent.
        const qsizetype rest = (gekürzt.size() - 10) % 4;
        EXPECT_TRUE(rest == 0 || rest == 2) << gekürzt.toStdString();
    }
}

}  // namespace
}  // namespace tarvendo
