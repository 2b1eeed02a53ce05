#include "mainwindow/baumansicht.h"

#include <QApplication>
#include <QKeyEvent>

#include <gtest/gtest.h>

#include <vector>

#include "mainwindow/bildliste.h"
#include "mainwindow/sprache.h"

namespace tarvendo {
namespace {

class BaumansichtTest : public ::testing::Test {
protected:
    static Baumansicht::Neu neu(std::string key, const char* text, bool haken = false) {
        return {std::move(key), QString::fromUtf8(text), "Datei_kopieren", {}, haken};
    }
    static std::vector<std::string> texte(const Knoten& k) {
        std::vector<std::string> t;
        for (int i = 0; i < k.Children(); ++i) t.push_back(k.Child(i)->text(0).toStdString());
        return t;
    }

    Bildliste bilder;
    Baumansicht baum{bilder, true};
};

TEST_F(BaumansichtTest, SchlüsselSindBytesUndEinBelegterSchlüsselFügtNichtsHinzu) {
    Knoten* wurzel = baum.füge_hinzu(neu("/z", "/z"));
    ASSERT_NE(wurzel, nullptr);
    EXPECT_EQ(baum.füge_hinzu(neu("/z", "/z")), nullptr);

    // Case twins and names that are not UTF-8 (which display alike) stay apart.
    std::vector<Baumansicht::Neu> kinder = {neu("/z/a.txt", "a.txt"), neu("/z/A.txt", "A.txt"),
                                            neu("/z/\xe9", "\xe9"), neu("/z/\xe8", "\xe8")};
    EXPECT_EQ(baum.füge_kinder_hinzu(*wurzel, kinder), std::nullopt);
    EXPECT_EQ(texte(*wurzel), (std::vector<std::string>{"a.txt", "A.txt", "\ufffd", "\ufffd"}));
    EXPECT_EQ(baum.gib("/z/\xe8")->Key(), "/z/\xe8");

    // One used key in a batch: nothing of the batch is added.
    std::vector<Baumansicht::Neu> belegt = {neu("/z/neu", "neu"), neu("/z/A.txt", "A.txt")};
    EXPECT_EQ(baum.füge_kinder_hinzu(*wurzel, belegt), 1u);
    EXPECT_EQ(baum.gib("/z/neu"), nullptr);

    baum.entferne(baum.gib("/z/a.txt"));
    EXPECT_TRUE(!baum.gib("/z/a.txt") && baum.gib("/z/A.txt"));
    baum.leere();  // frees the keys too
    EXPECT_NE(baum.füge_hinzu(neu("/z", "/z")), nullptr);
}

TEST_F(BaumansichtTest, NurDerBenutzerLöstNodeCheckAus) {
    Knoten* k = baum.füge_hinzu(neu("k", "k", true));
    int meldungen = 0;
    QObject::connect(&baum, &Baumansicht::NodeCheck, [&](Knoten*) { ++meldungen; });
    baum.setze_haken(*k, false);
    baum.setze_haken(*k, true);
    k->setText(0, QStringLiteral("anders"));  // other changes are not check changes
    EXPECT_EQ(meldungen, 0);
    k->setCheckState(0, Qt::Unchecked);  // what a click on the box does
    ASSERT_EQ(meldungen, 1);

    // The space key toggles the current node's box, as a click does.
    baum.show();
    baum.setCurrentItem(k);
    QKeyEvent leertaste(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QApplication::sendEvent(&baum, &leertaste);
    EXPECT_EQ(meldungen, 2);
    EXPECT_TRUE(k->Checked());
}

TEST(Sprache, StandardknöpfeSprechenDeutsch) {
    ASSERT_TRUE(lade_übersetzungen());
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Abbrechen");
}

TEST(Bildliste, JederSchlüsselHatEinBild) {
    const Bildliste bilder;
    for (int i = 0; i < Bildliste::anzahl; ++i) {
        EXPECT_FALSE(bilder.bild(i).pixmap(16, 16).isNull()) << i;
        const std::string_view name = bildangaben[i].schlüssel;
        EXPECT_TRUE(name.empty() || Bildliste::index(name) == i) << i;
    }
    EXPECT_TRUE(bilder.bild("Verzeichnis_loeschen").isNull());
    EXPECT_FALSE(Bildliste::programmsymbol().pixmap(48, 48).isNull());
}

}  // namespace
}  // namespace tarvendo
