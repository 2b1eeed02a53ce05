#include "mainwindow/anordnung.h"

#include <gtest/gtest.h>

namespace tarvendo {
namespace {

TEST(Anordnung, EntwurfsgrößeErgibtDieBekanntenMaße) {
    const Anordnung a = ordne_an({}, entwurfsbreite, entwurfshöhe);
    const std::pair<Rechteck, Rechteck> fälle[] = {
        {a.Rahmen_Quellverzeichnis, {15, 15, 3900, 645}},
        {a.Rahmen_Zielverzeichnis, {3930, 15, 3900, 645}},
        {a.Rahmen_Aufgaben, {15, 675, 3900, 3180}},
        {a.Rahmen_Erledigt, {3930, 675, 3900, 3180}},
        {a.Basisverzeichnis, {585, 315, 3225, 195}},
        {a.Zielbasisverzeichnis, {585, 315, 3225, 195}},
        {a.Arbeitsbaum, {90, 270, 3720, 2820}},
        {a.Aufgaben_erledigt, {90, 270, 3720, 2820}},
        {a.Inforahmen, {0, 3870, 7815, 1320}},
        {a.CompareButton, {1125, 135, 1500, 375}},
        {a.SyncButton, {5190, 135, 1500, 375}},
        {a.Arbeitsschritt, {0, 675, 3907.5, 285}},
        {a.Arbeitsverzeichnis, {3907.5, 675, 3907.5, 285}},
        {a.Arbeitsinfo, {0, 990, 3907.5, 285}},
        {a.Arbeitsdatei, {3907.5, 990, 3907.5, 285}},
        // A column rounds halves to even: (7846 - 45) / 2 = 3900.5, (7848 - 45) / 2 = 3901.5.
        {ordne_an({}, 7846, entwurfshöhe).Rahmen_Aufgaben, {15, 675, 3900, 3180}},
        {ordne_an({}, 7848, entwurfshöhe).Rahmen_Aufgaben, {15, 675, 3902, 3180}},
        {a.Quellverzeichnis_Festlegen, Anordnung{}.Quellverzeichnis_Festlegen},
    };
    for (std::size_t i = 0; i < std::size(fälle); ++i)
        EXPECT_EQ(fälle[i].first, fälle[i].second)
            << "Fall " << i << ": " << fälle[i].first.links << "," << fälle[i].first.oben << " "
            << fälle[i].first.breite << "x" << fälle[i].first.höhe;
    EXPECT_EQ(ordne_an(a, entwurfsbreite, entwurfshöhe), a);  // laid out again: unchanged
}

TEST(Anordnung, WinzigesFensterBleibtOhneNegativeMaße) {
    for (const float seite : {0.0f, 100.0f, 2000.0f}) {
        const Anordnung a = ordne_an({}, seite, seite);
        for (const Rechteck& r : {a.Rahmen_Aufgaben, a.Arbeitsbaum, a.Aufgaben_erledigt,
                                  a.Basisverzeichnis, a.Inforahmen, a.Arbeitsdatei}) {
            EXPECT_GE(r.breite, 0) << seite;
            EXPECT_GE(r.höhe, 0) << seite;
        }
    }
}

}  // namespace
}  // namespace tarvendo
