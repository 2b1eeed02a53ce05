// The whole job from the window: compare, untick, synchronise, cancel, answer.

#include <sys/stat.h>
#include <unistd.h>
#include <QApplication>
#include <QDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>

#include "fenstertest.h"
#include "mainwindow/ordnerauswahl.h"
#include "testhilfe/fehlerdateioperationen.h"
#include "testhilfe/verzeichnisinhalt.h"

namespace tarvendo {
namespace {

namespace fs = std::filesystem;
using Texte = std::vector<std::string>;
using test::namen_in;

// "text[image]" of the done tree's nodes, depth first, with their paths.
Texte erledigt(const Baumansicht& baum) {
    Texte z;
    std::function<void(const QTreeWidgetItem*, const std::string&)> geh =
        [&](const QTreeWidgetItem* item, const std::string& pfad) {
            const auto* k = static_cast<const Knoten*>(item);
            const std::string p = pfad + k->text(0).toStdString();
            z.push_back(p + "[" + std::string(k->Image()) + "]");
            for (int i = 0; i < k->childCount(); ++i) geh(k->child(i), p + "/");
        };
    for (int i = 0; i < baum.topLevelItemCount(); ++i) geh(baum.topLevelItem(i), "");
    return z;
}

TEST_F(FensterTest, GanzeSitzungVomVergleichBisZumAbgleich) {
    lege_bäume_an();
    for (const char* d : {"z/A", "z/A/B", "z/alt"}) erstelle_verzeichnis(daten / d);
    schreibe_datei(daten / "z/A/B/3.txt", "alt");
    schreibe_datei(daten / "z/alt/x", "x");
    setze_einstellung("Administration", "version", "1.0");
    setze_einstellung("LastSession", "sourcepath", daten / "q");
    setze_einstellung("LastSession", "destpath", daten / "z");
    starte();  // the paths of the last session

    fenster->CompareButton_Click();
    ASSERT_EQ(info(), "7 kopieren / 2 löschen");
    // Each task tells why it is there, also to a screen reader.
    knoten("/A")->setExpanded(true);
    knoten("/A/B")->setExpanded(true);
    const std::pair<const char*, const char*> gründe[] = {
        {"/weg.txt", "Nicht in der Quelle: wird gelöscht"},
        {"/A", "Enthält Aufgaben"},
        {"/A/B/3.txt", "Größe 3 → 1 Bytes"},
    };
    for (const auto& [pfad, grund] : gründe) {
        EXPECT_EQ(knoten(pfad)->data(0, Qt::ToolTipRole).toString().toStdString(), grund);
        EXPECT_EQ(knoten(pfad)->data(0, Qt::AccessibleDescriptionRole).toString().toStdString(),
                  grund);
    }
    klicke(knoten("/A/B"));    // a branch
    klicke(knoten("/f.txt"));  // and a file stay as they are
    EXPECT_EQ(info(), "5 kopieren / 2 löschen");
    // A is ticked with a branch below it that is not.
    EXPECT_EQ(knoten("/A")->checkState(0), Qt::PartiallyChecked);

    fenster->SyncButton_Click();
    EXPECT_TRUE(meldungen.empty()) << meldungen.front();
    EXPECT_EQ(t().Arbeitsbaum->topLevelItemCount(), 0);
    EXPECT_EQ(fenster->stand().aufgabenbaum, nullptr);
    EXPECT_EQ(t().SyncButton->text(), "synchronisieren");
    // The step display names where the run's versions and record are.
    EXPECT_EQ(t().Arbeitsschritt->beschriftung().toStdString().rfind(
                  "Versionen und Protokoll: " + daten / "z/.tarvendo/versionen/", 0),
              0u);
    for (const Status* s : {t().Arbeitsverzeichnis, t().Arbeitsdatei, t().Arbeitsinfo})
        EXPECT_EQ(s->beschriftung(), "");
    Texte knoten = erledigt(*t().Aufgaben_erledigt);
    std::sort(knoten.begin(), knoten.end());  // in listing order, which varies
    EXPECT_EQ(knoten, (Texte{"A[Verzeichnis_diesdas]", "alt[Verzeichnis_löschen]",
                             "leer[Verzeichnis_kopieren]"}));

    // Unticked tasks are left, the others done.
    EXPECT_EQ(test::lies_datei(daten / "z/A/B/3.txt"), "alt");
    EXPECT_FALSE(test::existiert(daten / "z/f.txt") || test::existiert(daten / "z/alt"));
    EXPECT_EQ(test::lies_datei(daten / "z/n\xe8.txt"), "x");

    // A second click needs a new comparison, which finds just what was left.
    fenster->SyncButton_Click();
    EXPECT_EQ(meldungen, Texte{"Bitte zuerst den Verzeichnisvergleich durchführen"});
    fenster->CompareButton_Click();
    EXPECT_EQ(info(), "2 kopieren / 0 löschen");

    // The menu takes the run back after a question that names it.
    meldungen.clear();
    auto* rückgängig = fenster->findChild<QAction*>(QStringLiteral("MenüRückgängig"));
    ASSERT_NE(rückgängig, nullptr);
    rückgängig->trigger();
    ASSERT_EQ(meldungen.size(), 2u);
    EXPECT_NE(meldungen[0].find(": 5 Dateien erstellt, 0 Dateien ersetzt, 2 Einträge gelöscht, "
                                "1 Verzeichnis erstellt\n\nDiesen Lauf rückgängig machen?"),
              std::string::npos)
        << meldungen[0];
    EXPECT_TRUE(meldungen[1].ends_with("Der Lauf wurde rückgängig gemacht.")) << meldungen[1];
    EXPECT_EQ(test::lies_datei(daten / "z/alt/x"), "x");
    EXPECT_EQ(test::lies_datei(daten / "z/A/B/3.txt"), "alt");
    EXPECT_EQ(fenster->stand().aufgabenbaum, nullptr);
}

// A long copy cancelled by the button: no partial target, the old one intact,
// the message once, the window idle again. A tick meanwhile changes nothing.
TEST_F(FensterTest, AbbruchWährendEinerLangenKopie) {
    for (const char* d : {"q", "z"}) erstelle_verzeichnis(daten / d);
    if (const int code = test::belege_datei(daten / "q/gross", 1L << 30); code != 0)
        GTEST_SKIP() << "no room for 1 GiB: " << std::strerror(code);
    schreibe_datei(daten / "z/gross", "alt");
    starte_mit("q", "z");
    fenster->CompareButton_Click();
    const Dateiklasse* gross = std::get<Dateiklasse*>(knoten("/gross")->Tag.eintrag);

    QTimer wache;
    QObject::connect(&wache, &QTimer::timeout, [&] {
        if (namen_in(daten / "z").size() < 3) return;  // the temporary file is there
        wache.stop();
        EXPECT_FALSE(t().CompareButton->isEnabled() || t().Arbeitsbaum->isEnabled());
        klicke(knoten("/gross"));
        EXPECT_TRUE(gross->checked);  // the tasks belong to the run now
        t().SyncButton->click();
    });
    wache.start(1);
    fenster->SyncButton_Click();

    EXPECT_EQ(meldungen, Texte{"Aufgaben durchführen abgebrochen"});
    EXPECT_EQ(namen_in(daten / "z"), (Texte{".tarvendo", "gross"}));
    EXPECT_EQ(test::lies_datei(daten / "z/gross"), "alt");
    EXPECT_EQ(t().SyncButton->text(), "synchronisieren");
    EXPECT_TRUE(t().CompareButton->isEnabled() && t().Arbeitsbaum->isEnabled());
    EXPECT_TRUE(fenster->isVisible());
}

// Failures are asked about: Abbrechen after a failed copy stops before the
// next file; a failed flush is reported, never silent.
TEST_F(FensterTest, FehlerWerdenGefragtUndGemeldet) {
    for (const char* d : {"q", "z"}) erstelle_verzeichnis(daten / d);
    for (const char* f : {"q/a", "q/b", "q/c"}) schreibe_datei(daten / f, "neu");
    test::FehlerDateioperationen ops;
    ops.scheitere("kopiere_bereich", 0, EIO);
    ops.scheitere("lies", 0, EIO);
    ops.scheitere("synchronisiere", 0, EIO);
    antwort = [](const Meldung& m) {
        return m.knöpfe == Knöpfe::OKAbbrechen ? Antwort::Abbrechen : Antwort::OK;
    };
    starte_mit("q", "z");
    fenster->setze_dateioperationen(&ops);
    fenster->CompareButton_Click();
    fenster->SyncButton_Click();

    // One file of three was tried: Abbrechen stopped the run there.
    ASSERT_EQ(meldungen.size(), 3u);
    EXPECT_EQ(meldungen[0].substr(0, 7 + (daten / "q/").size()), "Datei \n" + daten / "q/");
    EXPECT_NE(meldungen[0].find("\nkonnte nicht kopiert werden\n\n"), std::string::npos);
    EXPECT_EQ(meldungen[1].substr(0, 17 + (daten / "z").size()),
              "Zielverzeichnis \n" + daten / "z");
    EXPECT_NE(meldungen[1].find("konnte nicht auf den Datenträger geschrieben werden"),
              std::string::npos);
    EXPECT_EQ(meldungen[2], "Aufgaben durchführen abgebrochen");
    const Texte knoten = erledigt(*t().Aufgaben_erledigt);
    ASSERT_EQ(knoten.size(), 1u);
    EXPECT_TRUE(knoten[0].ends_with("[Datei_kopieren_fehler]"));
    // After the run the crossed-out entry still tells why.
    const QTreeWidgetItem* fehler = t().Aufgaben_erledigt->topLevelItem(0);
    EXPECT_EQ(fehler->data(0, Qt::ToolTipRole).toString().toStdString(), meldungen[0]);
    EXPECT_EQ(fehler->data(0, Qt::AccessibleDescriptionRole).toString().toStdString(),
              meldungen[0]);
    EXPECT_EQ(namen_in(daten / "z"), Texte{".tarvendo"});
}

// A run that would empty the target, or that the target has no room for,
// needs a second thought; Abbrechen changes nothing.
TEST_F(FensterTest, GewagterLaufWirdErfragt) {
    for (const char* d : {"q", "z", "riesig", "z2"}) erstelle_verzeichnis(daten / d);
    for (const char* f : {"z/1", "z/2", "riesig/datei"}) schreibe_datei(daten / f, "");
    ASSERT_EQ(::truncate((daten / "riesig/datei").c_str(), off_t{1} << 42), 0);  // a hole
    const struct {
        std::string quelle, ziel;
        std::string frage;             // its beginning
        std::optional<Texte> nach_ok;  // the target after a run that is let go
    } fälle[] = {
        {"q", "z",
         "Das Quellverzeichnis ist leer.\nDer Lauf würde 2 Dateien im Zielverzeichnis löschen.\n"
         "Die gelöschten Dateien werden 7 Tage als Versionen im Zielverzeichnis aufbewahrt.",
         Texte{".tarvendo"}},
        {"riesig", "z2",
         "Im Zielverzeichnis ist zu wenig Platz.\nDie Kopien brauchen 4398046,5 MB, verfügbar "
         "sind höchstens ",
         std::nullopt},
    };
    for (const auto& fall : fälle) {
        SCOPED_TRACE(fall.quelle);
        const std::size_t vorher = namen_in(daten / fall.ziel).size();
        Meldung frage;
        antwort = [&](const Meldung& m) {
            frage = m;
            return Antwort::Abbrechen;
        };
        starte_mit(fall.quelle, fall.ziel);
        // The days to keep versions, asked through the menu, are what the question names.
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            dialog->setIntValue(7);
            dialog->accept();
        });
        fenster->findChild<QAction*>(QStringLiteral("MenüVersionen"))->trigger();
        fenster->CompareButton_Click();
        fenster->SyncButton_Click();
        EXPECT_EQ(frage.text.rfind(fall.frage, 0), 0u) << frage.text;
        EXPECT_TRUE(frage.text.ends_with(".\n\nTrotzdem synchronisieren?")) << frage.text;
        EXPECT_TRUE(frage.symbol == Symbol::Hinweis && frage.knöpfe == Knöpfe::OKAbbrechen);
        // The box itself shows the exclamation mark, offers "Abbrechen", and Enter chooses it.
        QTimer::singleShot(0, [] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->icon(), QMessageBox::Warning);
            EXPECT_EQ(box->standardButtons(), QMessageBox::Ok | QMessageBox::Cancel);
            QTest::keyClick(box, Qt::Key_Return);
        });
        EXPECT_EQ(zeige_meldungsbox(fenster.get(), frage), Antwort::Abbrechen);
        EXPECT_EQ(namen_in(daten / fall.ziel).size(), vorher);
        EXPECT_NE(t().Arbeitsbaum->wurzel(), nullptr);

        antwort = nullptr;
        if (!fall.nach_ok) continue;
        fenster->SyncButton_Click();
        EXPECT_EQ(namen_in(daten / fall.ziel), *fall.nach_ok);
    }
}

// Every use of a chooser, confirmed or cancelled, drops the tasks.
TEST_F(FensterTest, VerzeichniswahlVerwirftDieAufgaben) {
    lege_bäume_an();
    erstelle_verzeichnis(daten / "anders");
    starte_mit("q", "z");
    for (const bool bestätigen : {false, true}) {
        fenster->CompareButton_Click();
        ASSERT_NE(t().Arbeitsbaum->wurzel(), nullptr);
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<Ordnerauswahl*>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            EXPECT_EQ(d->windowTitle(), "Tarvendo - Zielverzeichnis");
            EXPECT_EQ(d->gewählt(), QString::fromStdString(daten / "z"));
            d->wähle(QString::fromStdString(daten / "anders"));
            bestätigen ? d->accept() : d->reject();
        });
        fenster->Zielverzeichnis_Festlegen_Click();
        EXPECT_EQ(t().Zielbasisverzeichnis->pfad(), daten / (bestätigen ? "anders" : "z"));
        EXPECT_EQ(t().Arbeitsbaum->topLevelItemCount(), 0);
        EXPECT_EQ(fenster->stand().aufgabenbaum, nullptr);
    }
}

}  // namespace
}  // namespace tarvendo
