#include "mainwindow/anordnung.h"
#include "mainwindow/fenstergroesse.h"

#include <gtest/gtest.h>

namespace tarvendo {
namespace {

// The two columns share the width less the margins; what follows them moves with them.
TEST(Anordnung, EntwurfsgrößeErgibtDieBekanntenMaße) {
    const Anordnung a = ordne_an({}, entwurfsbreite, entwurfshöhe);
    const std::pair<Rechteck, Rechteck> fälle[] = {
        {a.Rahmen_Aufgaben, {15, 675, 3900, 3180}},
        {a.Rahmen_Erledigt, {3930, 675, 3900, 3180}},
        {a.Basisverzeichnis, {585, 315, 3225, 195}},
        {a.Arbeitsbaum, {90, 270, 3720, 2820}},
        {a.Inforahmen, {0, 3870, 7815, 1320}},
        {a.SyncButton, {5190, 135, 1500, 375}},
        {a.Arbeitsverzeichnis, {3907.5, 675, 3907.5, 285}},
        {a.Arbeitsdatei, {3907.5, 990, 3907.5, 285}},
        // A column rounds halves to even: (7846 - 45) / 2 = 3900.5, (7848 - 45) / 2 = 3901.5.
        {ordne_an({}, 7846, entwurfshöhe).Rahmen_Aufgaben, {15, 675, 3900, 3180}},
        {ordne_an({}, 7848, entwurfshöhe).Rahmen_Aufgaben, {15, 675, 3902, 3180}},
    };
    for (std::size_t i = 0; i < std::size(fälle); ++i)
        EXPECT_EQ(fälle[i].first, fälle[i].second)
            << "Fall " << i << ": " << fälle[i].first.links << "," << fälle[i].first.oben << " "
            << fälle[i].first.breite << "x" << fälle[i].first.höhe;
    EXPECT_EQ(ordne_an(a, entwurfsbreite, entwurfshöhe), a);  // laid out again: unchanged
}

TEST(Anordnung, PixelFolgenDenGerundetenKanten) {
    // 22.5 twips start at 1.5 -> 2, end at 37.5 -> 2: nothing left of 15 twips.
    EXPECT_EQ(in_pixeln({22.5f, 0, 15, 30}, 15, 15), (Pixelrechteck{2, 0, 0, 2}));
    EXPECT_EQ(in_pixeln({3907.5f, 675, 3907.5f, 285}, 15, 15), (Pixelrechteck{260, 45, 261, 19}));
}

// The window comes back maximised or wholly on the screen, never past its edge.
TEST(Fenstergröße, WiederherstellungBleibtAufDemBildschirm) {
    using Zahl = std::optional<std::int32_t>;
    const QRect schirm(0, 0, 1280, 800);
    const QRect entwurf(378, 218, 523, 364);  // centred at its design size
    const struct {
        QRect fläche;
        Zahl breite, höhe;
        bool maximiert;
        QRect außen;
    } fälle[] = {
        {schirm, {}, {}, false, {378, 218, 523, 582}},  // first start: down to the bottom
        {schirm, 7845, 5475, false, {378, 218, 523, 365}},
        {schirm, 19170, 11910, false, {2, 6, 1278, 794}},  // larger than designed
        {{0, 30, 800, 570}, 15000, 7500, false, {0, 100, 800, 500}},
    };
    for (const auto& f : fälle) {
        const Größenwahl w = wähle_größe(f.fläche, entwurf, 15, 15, f.breite, f.höhe);
        EXPECT_EQ(w.maximiert, f.maximiert) << f.breite.value_or(0);
        if (!f.maximiert) {
            EXPECT_EQ(w.außen, f.außen) << f.breite.value_or(0);
        }
    }
    // A maximised window whose frame falls short of the screen still stores it.
    EXPECT_EQ(zu_speichernde_größe({1278, 794}, true, schirm.size(), 15, 15), QSize(19200, 12000));
    EXPECT_EQ(zu_speichernde_größe({600, 400}, false, schirm.size(), 15, 15), QSize(9000, 6000));
}

}  // namespace
}  // namespace tarvendo
