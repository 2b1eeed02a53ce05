#include "widgets/status.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>
#include <string>
#include <utility>

#include "widgets/balkenrechnung.h"

namespace tarvendo {
namespace {

class StatusTest : public ::testing::Test {
protected:
    StatusTest() { zeige(200); }

    void zeige(int breite) {
        anzeige.resize(breite, 19);
        anzeige.show();
    }
    [[nodiscard]] QRgb grund() const { return anzeige.palette().color(QPalette::Button).rgb(); }
    [[nodiscard]] Farbe farbe(int x, int y = 9) const {
        const QRgb p = anzeige.balkenbild().pixel(x, y);
        return {qRed(p), qGreen(p), qBlue(p)};
    }
    // Columns drawn from the left; -1 if one is drawn after a gap.
    [[nodiscard]] int balkenlänge() const {
        const QImage& bild = anzeige.balkenbild();
        int länge = 0;
        while (länge < bild.width() && bild.pixel(länge, 0) != grund()) ++länge;
        for (int x = länge; x < bild.width(); ++x) {
            if (bild.pixel(x, 0) != grund()) return -1;
        }
        return länge;
    }
    [[nodiscard]] std::string beschriftung() const { return anzeige.beschriftung().toStdString(); }

    Status anzeige;
};

TEST_F(StatusTest, SpaltenHabenIhreRampenfarbe) {
    EXPECT_EQ(beschriftung(), "Text");
    EXPECT_EQ(anzeige.balkenbild().size(), QSize(200, 19));
    anzeige.setze_maxwert(1000);
    anzeige.setze_aktwert(52);  // 10.4 pixels: columns 0 to 10
    EXPECT_EQ(balkenlänge(), 11);
    anzeige.setze_aktwert(500);
    EXPECT_EQ(balkenlänge(), 100);
    EXPECT_EQ(farbe(0), (Farbe{255, 0, 0}));
    EXPECT_EQ(farbe(50, 0), (Farbe{255, 128, 0}));
    EXPECT_EQ(farbe(50, 18), (Farbe{255, 128, 0}));
    EXPECT_EQ(farbe(99), (Farbe{255, 252, 0}));

    anzeige.erhöhe_aktwert(500);
    EXPECT_EQ(balkenlänge(), 200);
    EXPECT_EQ(farbe(150), (Farbe{128, 255, 0}));
    EXPECT_EQ(farbe(199), (Farbe{3, 255, 0}));
    anzeige.erhöhe_aktwert(-2000);  // nothing is erased
    EXPECT_EQ(anzeige.aktwert(), -1000);
    EXPECT_EQ(balkenlänge(), 200);
}

TEST_F(StatusTest, BeschriftungFolgtDerProzentzahl) {
    anzeige.setze_maxwert(1000);
    anzeige.text("kopiere a.txt");
    EXPECT_EQ(beschriftung(), "kopiere a.txt");
    anzeige.mit_prozentzahl(true);
    EXPECT_EQ(beschriftung(), "0% - kopiere a.txt");

    const struct {
        std::int32_t wert;
        const char* erwartet;
    } schritte[] = {
        {5, "0% - kopiere a.txt"},  // 0.5 rounds to 0
        {15, "2% - kopiere a.txt"},   {425, "42% - kopiere a.txt"},
        {435, "44% - kopiere a.txt"}, {2000, "100% - kopiere a.txt"},  // above maxwert: a full bar
        {100, "10% - kopiere a.txt"},  // smaller: the bar stays, the caption follows
    };
    for (const auto& schritt : schritte) {
        anzeige.setze_aktwert(schritt.wert);
        EXPECT_EQ(beschriftung(), schritt.erwartet) << schritt.wert;
    }
    EXPECT_EQ(anzeige.aktwert(), 100);
    EXPECT_EQ(balkenlänge(), 200);

    // A text while the percentage is on shows alone until the percentage changes.
    anzeige.text("neu");
    EXPECT_EQ(beschriftung(), "neu");
    anzeige.setze_aktwert(104);
    EXPECT_EQ(beschriftung(), "neu");
    anzeige.setze_aktwert(110);
    EXPECT_EQ(beschriftung(), "11% - neu");

    anzeige.mit_prozentzahl(false);
    EXPECT_EQ(beschriftung(), "neu");
    anzeige.setze_aktwert(500);
    EXPECT_EQ(beschriftung(), "neu");
}

TEST_F(StatusTest, ResetUndGrößenänderungLeerenNurDenBalken) {
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

    zeige(300);
    EXPECT_EQ(anzeige.balkenbild().size(), QSize(300, 19));
    EXPECT_EQ(balkenlänge(), 0);
    EXPECT_EQ(beschriftung(), "50% - datei");
    anzeige.setze_aktwert(600);  // the new scale
    EXPECT_EQ(balkenlänge(), 180);
    EXPECT_EQ(farbe(150), (Farbe{255, 255, 0}));
}

TEST_F(StatusTest, ÜberlaufUndLeereSkalaÄndernNichts) {
    anzeige.text("x");
    anzeige.mit_prozentzahl(true);
    anzeige.setze_aktwert(5);  // maxwert 0: nothing drawn, 0 %
    anzeige.erhöhe_aktwert(-5);
    EXPECT_EQ(anzeige.aktwert(), -5);
    EXPECT_EQ(balkenlänge(), 0);
    EXPECT_EQ(beschriftung(), "0% - x");

    anzeige.setze_maxwert(INT_MAX);
    anzeige.setze_aktwert(INT_MAX / 2);
    EXPECT_EQ(beschriftung(), "50% - x");
    EXPECT_NO_THROW(anzeige.erhöhe_aktwert(INT_MAX));
    EXPECT_EQ(anzeige.aktwert(), INT_MAX / 2);
    EXPECT_EQ(balkenlänge(), 100);

    anzeige.setze_maxwert(1000);
    anzeige.erhöhe_aktwert(INT_MIN);
    EXPECT_NO_THROW(anzeige.setze_aktwert(1000));  // 1000 - INT_MIN does not fit
    EXPECT_EQ(anzeige.aktwert(), INT_MIN);
}

TEST_F(StatusTest, TexteWerdenEinzeiligUndVerlustbehaftetGezeigt) {
    anzeige.text("zwei\nZeilen\r");
    EXPECT_EQ(beschriftung(), "zwei Zeilen ");
    anzeige.text("<b>kein</b> &amp; HTML");
    EXPECT_EQ(beschriftung(), "<b>kein</b> &amp; HTML");
    anzeige.text(
        "\xff"
        "abc");
    EXPECT_EQ(anzeige.beschriftung(), QStringLiteral(u"\uFFFDabc"));
}

// What is on the screen: the bar with the text drawn over it.
TEST_F(StatusTest, TextLiegtDurchsichtigÜberDemBalken) {
    anzeige.setze_maxwert(1000);
    anzeige.setze_aktwert(400);
    anzeige.text("Wort");
    // Pixels where the text covers the bar, left and right of the middle.
    const auto textpixel = [&] {
        const QImage bild = anzeige.grab().toImage().convertToFormat(QImage::Format_RGB32);
        int links = 0;
        int rechts = 0;
        for (int y = 0; y < bild.height(); ++y) {
            for (int x = 0; x < bild.width(); ++x) {
                if (bild.pixel(x, y) == anzeige.balkenbild().pixel(x, y)) continue;
                EXPECT_TRUE(y >= 1 && y < 14) << "text outside the label at " << x << "," << y;
                (x < 100 ? links : rechts)++;
            }
        }
        return std::pair(links, rechts);
    };
    const auto [links, rechts] = textpixel();
    EXPECT_GT(links, 0);
    EXPECT_EQ(rechts, 0);

    anzeige.setze_ausrichtung(1);
    anzeige.setze_ausrichtung(3);  // rejected: stays right
    EXPECT_EQ(anzeige.ausrichtung(), 1);
    const auto [links2, rechts2] = textpixel();
    EXPECT_EQ(links2, 0);
    EXPECT_GT(rechts2, 0);
}

// The rounding corners of the arithmetic behind the display.
TEST(Balkenrechnung, HalbeRundenZurGeradenZahl) {
    EXPECT_EQ(spaltenfarbe(101, 200), (Farbe{252, 255, 0}));   // t = 257.55
    EXPECT_EQ(spaltenfarbe(511, 1020), (Farbe{254, 255, 0}));  // t = 255.5 -> 256; 254.5 -> 254
    EXPECT_EQ(prozentzahl(425, 1000), 42);
    EXPECT_EQ(prozentzahl(435, 1000), 44);
    EXPECT_EQ(prozentzahl(INT_MAX / 2, INT_MAX), 50);  // no overflow on the way
    EXPECT_EQ(prozentzahl(INT_MIN, 1), INT_MIN);
}

TEST(Balkenrechnung, ÜberlaufWirftStattUmzubrechen) {
    EXPECT_EQ(summe32(INT_MAX - 1, 1), INT_MAX);
    EXPECT_THROW((void)summe32(INT_MAX, 1), std::overflow_error);
    EXPECT_THROW((void)summe32(INT_MIN, -1), std::overflow_error);
    EXPECT_THROW((void)differenz32(1000, INT_MIN), std::overflow_error);
}

}  // namespace
}  // namespace tarvendo
