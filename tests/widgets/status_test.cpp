#include "widgets/status.h"

#include <QAccessible>
#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "widgets/balkenrechnung.h"

namespace tarvendo {
namespace {

class StatusTest : public ::testing::Test {
protected:
    StatusTest() {
        anzeige.resize(200, 19);
        anzeige.show();
    }
    [[nodiscard]] Farbe farbe(int x) const {
        const QRgb p = anzeige.balkenbild().pixel(x, 18);  // balkenlänge() reads the top row
        return {qRed(p), qGreen(p), qBlue(p)};
    }
    // Columns drawn from the left; -1 if one is drawn after a gap.
    [[nodiscard]] int balkenlänge() const {
        const QImage& bild = anzeige.balkenbild();
        const QRgb grund = anzeige.palette().color(QPalette::Button).rgb();
        int länge = 0;
        while (länge < bild.width() && bild.pixel(länge, 0) != grund) ++länge;
        for (int x = länge; x < bild.width(); ++x)
            if (bild.pixel(x, 0) != grund) return -1;
        return länge;
    }
    [[nodiscard]] std::string beschriftung() const { return anzeige.beschriftung().toStdString(); }
    [[nodiscard]] int breite(const QString& text) const {
        return anzeige.fontMetrics().horizontalAdvance(text);
    }

    Status anzeige;
};

TEST_F(StatusTest, SpaltenHabenIhreRampenfarbe) {
    anzeige.setze_maxwert(1000);
    anzeige.setze_aktwert(52);  // 10.4 pixels: columns 0 to 10
    EXPECT_EQ(balkenlänge(), 11);
    anzeige.erhöhe_aktwert(948);
    EXPECT_EQ(balkenlänge(), 200);
    const std::pair<int, Farbe> spalten[] = {
        {0, {255, 0, 0}},     {50, {255, 128, 0}}, {99, {255, 252, 0}},
        {150, {128, 255, 0}}, {199, {3, 255, 0}},
    };
    for (const auto& [x, f] : spalten) EXPECT_EQ(farbe(x), f) << x;
    anzeige.erhöhe_aktwert(-2000);  // nothing is erased
    EXPECT_EQ(anzeige.aktwert(), -1000);
    EXPECT_EQ(balkenlänge(), 200);
}

TEST_F(StatusTest, BeschriftungFolgtDerProzentzahl) {
    anzeige.text("zwei\nZeilen\r<b>&amp;\xff");  // one line, no markup, lossy
    EXPECT_EQ(anzeige.beschriftung(), QStringLiteral(u"zwei Zeilen <b>&amp;\uFFFD"));
    anzeige.text("kopiere");
    anzeige.mit_prozentzahl(true);
    anzeige.setze_aktwert(5);  // maxwert 0: nothing drawn, 0 %
    EXPECT_EQ(balkenlänge(), 0);
    EXPECT_EQ(beschriftung(), "0% - kopiere");
    anzeige.setze_maxwert(1000);
    const std::pair<std::int32_t, const char*> schritte[] = {
        {5, "0% - kopiere"},  // 0.5 rounds to 0
        {15, "2% - kopiere"},   {425, "42% - kopiere"},
        {435, "44% - kopiere"}, {2000, "100% - kopiere"},  // above maxwert: a full bar
        {100, "10% - kopiere"},  // smaller: the bar stays, the caption follows
    };
    for (const auto& [wert, erwartet] : schritte) {
        anzeige.setze_aktwert(wert);
        EXPECT_EQ(beschriftung(), erwartet) << wert;
    }
    EXPECT_EQ(balkenlänge(), 200);

    // A text while the percentage is on shows alone until the percentage changes.
    anzeige.text("neu");
    anzeige.setze_aktwert(104);
    EXPECT_EQ(beschriftung(), "neu");
    anzeige.setze_aktwert(110);
    EXPECT_EQ(beschriftung(), "11% - neu");
    anzeige.mit_prozentzahl(false);
    anzeige.setze_aktwert(500);
    EXPECT_EQ(beschriftung(), "neu");

    // A screen reader hears the display's name, its text and the bar's value.
    anzeige.setAccessibleName(QStringLiteral("Gesamtfortschritt"));
    QAccessibleInterface* zugang = QAccessible::queryAccessibleInterface(&anzeige);
    ASSERT_TRUE(zugang && zugang->valueInterface());
    EXPECT_EQ(zugang->role(), QAccessible::ProgressBar);
    EXPECT_EQ(zugang->text(QAccessible::Name), "Gesamtfortschritt");
    EXPECT_EQ(zugang->text(QAccessible::Value), anzeige.beschriftung());
    EXPECT_EQ(zugang->valueInterface()->currentValue(), 500);
    EXPECT_EQ(zugang->valueInterface()->maximumValue(), 1000);
}

TEST_F(StatusTest, ResetGrößenänderungUndÜberlaufLeerenNurDenBalken) {
    anzeige.setze_maxwert(1000);
    anzeige.mit_prozentzahl(true);
    anzeige.text("datei");
    anzeige.setze_aktwert(500);
    anzeige.Reset();
    EXPECT_EQ(balkenlänge(), 0);
    EXPECT_EQ(beschriftung(), "50% - datei");
    anzeige.setze_aktwert(500);  // unchanged value: nothing at all
    EXPECT_EQ(balkenlänge(), 0);
    anzeige.mit_prozentzahl(true);  // the stored percentage went back to 0
    EXPECT_EQ(beschriftung(), "0% - datei");
    anzeige.erhöhe_aktwert(1);  // redrawn from the left
    EXPECT_EQ(balkenlänge(), 101);

    anzeige.resize(300, 19);
    EXPECT_EQ(balkenlänge(), 0);
    EXPECT_EQ(beschriftung(), "50% - datei");
    anzeige.setze_aktwert(600);  // the new scale
    EXPECT_EQ(balkenlänge(), 180);
    EXPECT_EQ(farbe(150), (Farbe{255, 255, 0}));

    // A step whose sum leaves 32 bits is dropped.
    anzeige.Reset();
    anzeige.setze_maxwert(INT_MAX);
    anzeige.setze_aktwert(INT_MAX / 2);
    EXPECT_EQ(beschriftung(), "50% - datei");
    anzeige.erhöhe_aktwert(INT_MAX);
    EXPECT_EQ(anzeige.aktwert(), INT_MAX / 2);
    EXPECT_EQ(balkenlänge(), 150);
    anzeige.setze_maxwert(1000);
    anzeige.erhöhe_aktwert(INT_MIN);
    anzeige.setze_aktwert(1000);  // 1000 - INT_MIN does not fit
    EXPECT_EQ(anzeige.aktwert(), INT_MIN);
}

// What is on the screen: the text drawn over the bar, where the alignment puts it.
TEST_F(StatusTest, TextLiegtDurchsichtigÜberDemBalken) {
    anzeige.setze_maxwert(1000);
    anzeige.setze_aktwert(400);
    anzeige.text("Wort");
    anzeige.setze_ausrichtung(1);
    anzeige.setze_ausrichtung(3);  // rejected: stays right
    const QImage bild = anzeige.grab().toImage().convertToFormat(QImage::Format_RGB32);
    int links = 0, rechts = 0;  // pixels where the text covers the bar
    for (int y = 0; y < bild.height(); ++y)
        for (int x = 0; x < bild.width(); ++x)
            if (bild.pixel(x, y) != anzeige.balkenbild().pixel(x, y)) ++(x < 100 ? links : rechts);
    EXPECT_EQ(links, 0);
    EXPECT_GT(rechts, 0);
}

TEST_F(StatusTest, PfadWirdInDerMitteGekürzt) {
    const std::string lang(80, 'x');
    const std::pair<std::string, std::string> fälle[] = {
        {"/home/daten/", "/home/daten"},
        {"/home/daten//", "/home/daten/"},
        {"/", "/"},
        {"//", "/"},
        {"/home/a/" + lang + "/", ".../" + lang},  // wider than the bar: the display cuts it
        {"/" + lang, "/" + lang},                  // nothing in the middle to give up
    };
    for (const auto& [pfad, erwartet] : fälle) {
        anzeige.textpfad(pfad);
        EXPECT_EQ(beschriftung(), erwartet) << pfad;
    }

    // A long path keeps as much of its beginning as fits in 97 % of 200 pixels, and its end.
    const QString pfad = QStringLiteral("/home/benutzer/Dokumente/Projekte/2024/Wochenende/b.txt");
    anzeige.textpfad(pfad.toStdString());
    const QString gekürzt = anzeige.beschriftung();
    ASSERT_TRUE(gekürzt.endsWith(QStringLiteral(".../b.txt"))) << gekürzt.toStdString();
    const QString anfang = gekürzt.chopped(9);
    EXPECT_TRUE(!anfang.isEmpty() && pfad.startsWith(anfang));
    EXPECT_LE(breite(gekürzt), 194);
    EXPECT_GT(breite(pfad.left(anfang.size() + 1) + QStringLiteral(".../b.txt")), 194);
    anzeige.mit_prozentzahl(true);  // the shortened path is the display's text
    EXPECT_EQ(anzeige.beschriftung(), QStringLiteral("0% - ") + gekürzt);

    const QString kurz = QStringLiteral("/srv/archiv/fotos/2023");
    int bar = 1;  // the narrowest bar whose 97 % (halves to even) holds the path
    while (std::nearbyint(0.97 * bar) < breite(kurz)) ++bar;
    for (const int b : {bar, bar - 1}) {
        anzeige.resize(b, 19);
        anzeige.textpfad(kurz.toStdString());
        EXPECT_EQ(anzeige.beschriftung() == kurz, b == bar) << b;
    }
}

}  // namespace
}  // namespace tarvendo
