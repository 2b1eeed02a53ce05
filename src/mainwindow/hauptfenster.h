#pragma once
// The main window: two directories, the views of pending and done tasks, the
// two commands and four progress displays. It wires the parts together; the
// layout, the tree views and the commands live in their own files.

#include <QMainWindow>

#include <functional>
#include <memory>
#include <string>

#include "engine/dateioperationen.h"
#include "engine/schnittstellen.h"
#include "engine/vergleich.h"
#include "mainwindow/anordnung.h"
#include "mainwindow/bildliste.h"
#include "mainwindow/fenstermass.h"
#include "mainwindow/fensterteile.h"
#include "mainwindow/meldung.h"

class QAction;
class QGroupBox;

namespace tarvendo {

class Aufgabenansicht;
class Qtschleife;
class Synchronisierbefehl;
class Versionsbefehle;
class Vergleichsbefehl;

class verzeichnis final : public QMainWindow {
    Q_OBJECT

public:
    explicit verzeichnis(QWidget* eltern = nullptr);
    ~verzeichnis() override;

    // Start-up: checks, session and size restore, then shows the window.
    void Form_Load();

    void CompareButton_Click();
    void SyncButton_Click();
    void Quellverzeichnis_Festlegen_Click();
    void Zielverzeichnis_Festlegen_Click();
    // Empties both views and the displays; refused while a command runs.
    void bäume_reset();
    // The session ends (logout, shutdown, a signal): a run is cancelled, no
    // box waits for an answer, and the window closes and saves as soon as
    // the run has stopped.
    void sitzungsende();

    // Seams for tests: how messages are shown, and how the program ends at
    // once after a fatal error.
    void setze_meldungsweg(Meldungsweg weg) { meldungsweg_ = std::move(weg); }
    void setze_sofortende(std::function<void()> ende) { sofortende_ = std::move(ende); }
    void setze_dateisystem(Verzeichnisquelle* quelle);
    void setze_dateioperationen(Dateioperationen* ops);

    [[nodiscard]] const Fensterteile& teile() const { return teile_; }
    [[nodiscard]] const Programmzustand& zustand() const { return zustand_; }
    [[nodiscard]] const Vergleichsstand& stand() const { return stand_; }
    [[nodiscard]] const Anordnung& anordnung() const { return anordnung_; }
    [[nodiscard]] const std::string& systemverzeichnis() const { return systemverzeichnis_; }
    [[nodiscard]] std::int32_t os_version() const { return os_version_; }
    // Twips per pixel of this screen, across and down.
    [[nodiscard]] double twips_x() const;
    [[nodiscard]] double twips_y() const;

protected:
    void resizeEvent(QResizeEvent* ereignis) override;
    void changeEvent(QEvent* ereignis) override;
    void closeEvent(QCloseEvent* ereignis) override;

private:
    void erstelle_elemente();
    void erstelle_aktionen();
    void lege_tabfolge_fest();
    void ordne_elemente_an();
    void wende_an(QWidget* element, const Rechteck& r);
    void lies_pfad(const char* name, Pfadfeld* feld, std::string_view schritt);
    void alle_anzeigen(std::string_view schritt);
    void sichere_sitzung();
    void schwerer_fehler(const std::string& text);
    [[nodiscard]] Befehlsumgebung umgebung();
    // Lets the user choose the directory of feld; drops the tasks in any case.
    void wähle_verzeichnis(Pfadfeld* feld, const char* hinweis, const char* titel);

    Bildliste bilder_;
    Fensterteile teile_;
    QGroupBox* Rahmen_Quellverzeichnis_ = nullptr;
    QGroupBox* Rahmen_Zielverzeichnis_ = nullptr;
    QGroupBox* Rahmen_Aufgaben_ = nullptr;
    QGroupBox* Rahmen_Erledigt_ = nullptr;
    QWidget* Inforahmen_ = nullptr;
    QAction* MenüInfo_ = nullptr;
    QAction* MenüHilfe_ = nullptr;
    QAction* MenüBeenden_ = nullptr;
    QAction* MenüRückgängig_ = nullptr;
    QAction* MenüVersionen_ = nullptr;

    Anordnung anordnung_;
    Fenstermaß maß_{*this};
    std::string systemverzeichnis_;
    std::int32_t os_version_ = 0;

    Programmzustand zustand_;
    Vergleichsstand stand_;
    std::unique_ptr<Anzeigen> anzeigen_;
    std::unique_ptr<Qtschleife> schleife_;
    std::unique_ptr<Aufgabenansicht> ansicht_;
    std::unique_ptr<Vergleichsbefehl> vergleich_;
    std::unique_ptr<Synchronisierbefehl> synchron_;
    std::unique_ptr<Versionsbefehle> versionen_;
    Dateioperationen* dateioperationen_ = nullptr;
    Verzeichnisquelle* dateisystem_ = nullptr;
    Meldungsweg meldungsweg_;
    Meldungsweg befehlsmeldung_;  // meldungsweg_, silent once the session ends
    bool sitzungsende_ = false;
    std::function<void()> sofortende_;
};

}  // namespace tarvendo
