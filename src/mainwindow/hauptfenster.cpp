#include "mainwindow/hauptfenster.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QGroupBox>
#include <QInputDialog>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "about/inform.h"
#include "einstellungen/registry.h"
#include "hilfe/html_help.h"
#include "mainwindow/aufgabenansicht.h"
#include "mainwindow/baumansicht.h"
#include "mainwindow/browseforfolder.h"
#include "mainwindow/fenstermass.h"
#include "mainwindow/komponentenpruefung.h"
#include "mainwindow/pfadfeld.h"
#include "mainwindow/qtschleife.h"
#include "mainwindow/sitzung.h"
#include "mainwindow/synchronisierbefehl.h"
#include "mainwindow/tastatur.h"
#include "mainwindow/vergleichsbefehl.h"
#include "mainwindow/versionsbefehle.h"
#include "widgets/anzeigetext.h"
#include "widgets/status.h"

namespace tarvendo {

namespace {

int ganz(double x) {
    return static_cast<int>(std::nearbyint(x));
}

}  // namespace

verzeichnis::verzeichnis(QWidget* eltern) : QMainWindow(eltern) {
    setObjectName(QStringLiteral("verzeichnis"));
    setWindowTitle(QStringLiteral("Tarvendo"));
    // The layout's twips were drawn for an 8.25-point dialog font; the
    // desktop's larger default would cut the path labels' descenders.
    QFont schrift = font();
    schrift.setPointSizeF(8.25);
    setFont(schrift);
    setWindowIcon(Bildliste::programmsymbol());
    meldungsweg_ = [this](const Meldung& m) { return zeige_meldungsbox(this, m); };
    sofortende_ = [] { std::_Exit(EXIT_FAILURE); };
    befehlsmeldung_ = [this](const Meldung& m) {
        return sitzungsende_ ? Antwort::Abbrechen : meldungsweg_(m);
    };

    erstelle_elemente();
    erstelle_aktionen();
    lege_tabfolge_fest();

    anzeigen_ =
        std::make_unique<Anzeigen>(Anzeigen{*teile_.Arbeitsschritt, *teile_.Arbeitsverzeichnis,
                                            *teile_.Arbeitsdatei, *teile_.Arbeitsinfo});
    schleife_ = std::make_unique<Qtschleife>();
    ansicht_ = std::make_unique<Aufgabenansicht>(
        *teile_.Arbeitsbaum, *teile_.Arbeitsinfo, zustand_, stand_.aufgabenbaum,
        [this](const std::string& text) { schwerer_fehler(text); });
    setze_dateisystem(nullptr);
    setze_dateioperationen(nullptr);

    // Centred on the screen at the size it was designed for.
    const QSize innen(ganz(entwurfsbreite / twips_x()), ganz(entwurfshöhe / twips_y()));
    resize(innen.width(), innen.height() + menuBar()->sizeHint().height());
    if (const QScreen* bildschirm = screen()) {
        const QRect fläche = bildschirm->availableGeometry();
        move(fläche.center() - QPoint(width() / 2, height() / 2));
    }
}

// The views point into the model's trees: empty them before the trees go.
verzeichnis::~verzeichnis() {
    teile_.Arbeitsbaum->leere();
    teile_.Aufgaben_erledigt->leere();
}

void verzeichnis::setze_dateisystem(Verzeichnisquelle* quelle) {
    dateisystem_ = quelle;
    vergleich_ = std::make_unique<Vergleichsbefehl>(
        Vergleichsbefehl::Dienste{umgebung(), *ansicht_, dateisystem_});
}

Befehlsumgebung verzeichnis::umgebung() {
    return {teile_, *anzeigen_, *schleife_, zustand_, stand_, befehlsmeldung_, [this] { close(); }};
}

void verzeichnis::setze_dateioperationen(Dateioperationen* ops) {
    dateioperationen_ = ops;
    synchron_ = std::make_unique<Synchronisierbefehl>(
        Synchronisierbefehl::Dienste{umgebung(), dateioperationen_});
    versionen_ = std::make_unique<Versionsbefehle>(Versionsbefehle::Dienste{
        umgebung(), dateioperationen_, [this](int tage) -> std::optional<int> {
            bool ok = false;
            const int neu = QInputDialog::getInt(
                this, QStringLiteral("Tarvendo"),
                QStringLiteral("Was ein Lauf löscht oder ersetzt, als Version aufbewahren für\n"
                               "Tage (0: gar nicht):"),
                tage, 0, 36500, 1, &ok);
            return ok ? std::optional<int>(neu) : std::nullopt;
        }});
}

double verzeichnis::twips_x() const {
    return twips_je_pixel(logicalDpiX());
}

double verzeichnis::twips_y() const {
    return twips_je_pixel(logicalDpiY());
}

void verzeichnis::erstelle_elemente() {
    auto* fläche = new QWidget(this);
    setCentralWidget(fläche);
    Fensterteile& t = teile_;

    const auto rahmen = [&](const char* name, const char* titel) {
        auto* r = new QGroupBox(QString::fromUtf8(titel), fläche);
        r->setObjectName(QString::fromUtf8(name));
        return r;
    };
    const auto bildknopf = [&](QWidget* in, const char* name, const char* tipp) {
        auto* k = new QToolButton(in);
        k->setObjectName(QString::fromUtf8(name));
        k->setToolTip(QString::fromUtf8(tipp));
        k->setAccessibleName(QString::fromUtf8(tipp));  // not the frame's caption
        k->setAutoRaise(false);
        return k;
    };
    const auto pfadfeld = [&](QWidget* in, const char* name) {
        auto* f = new Pfadfeld(in);
        f->setObjectName(QString::fromUtf8(name));
        f->setze_pfad("Arbeitsplatz");
        return f;
    };

    Rahmen_Quellverzeichnis_ = rahmen("Rahmen_Quellverzeichnis", "Quellverzeichnis");
    t.Quellverzeichnis_Festlegen = bildknopf(Rahmen_Quellverzeichnis_, "Quellverzeichnis_Festlegen",
                                             "Quellverzeichnis festlegen");
    t.Basisverzeichnis = pfadfeld(Rahmen_Quellverzeichnis_, "Basisverzeichnis");
    Rahmen_Zielverzeichnis_ = rahmen("Rahmen_Zielverzeichnis", "Zielverzeichnis");
    t.Zielverzeichnis_Festlegen = bildknopf(Rahmen_Zielverzeichnis_, "Zielverzeichnis_Festlegen",
                                            "Zielverzeichnis festlegen");
    t.Zielbasisverzeichnis = pfadfeld(Rahmen_Zielverzeichnis_, "Zielbasisverzeichnis");

    Rahmen_Aufgaben_ = rahmen("Rahmen_Aufgaben", "anstehende Aufgaben");
    t.Arbeitsbaum = new Baumansicht(bilder_, true, Rahmen_Aufgaben_);
    t.Arbeitsbaum->setObjectName(QStringLiteral("Arbeitsbaum"));
    t.Arbeitsbaum->setAccessibleName(QStringLiteral("anstehende Aufgaben"));
    t.Arbeitsbaum->setHeaderLabel(QStringLiteral("anstehende Aufgaben"));
    Rahmen_Erledigt_ = rahmen("Rahmen_Erledigt", "erledigte Aufgaben");
    t.Aufgaben_erledigt = new Baumansicht(bilder_, false, Rahmen_Erledigt_);
    t.Aufgaben_erledigt->setObjectName(QStringLiteral("Aufgaben_erledigt"));
    t.Aufgaben_erledigt->setAccessibleName(QStringLiteral("erledigte Aufgaben"));
    t.Aufgaben_erledigt->setHeaderLabel(QStringLiteral("erledigte Aufgaben"));

    Inforahmen_ = new QWidget(fläche);
    Inforahmen_->setObjectName(QStringLiteral("Inforahmen"));
    const auto knopf = [&](const char* name, const char* text) {
        auto* k = new QPushButton(QString::fromUtf8(text), Inforahmen_);
        k->setObjectName(QString::fromUtf8(name));
        k->setEnabled(false);  // until start-up is done
        return k;
    };
    t.CompareButton = knopf("CompareButton", "vergleichen");
    t.SyncButton = knopf("SyncButton", "synchronisieren");
    const auto anzeige = [&](const char* name, const char* rolle) {
        auto* s = new Status(Inforahmen_);
        s->setObjectName(QString::fromUtf8(name));
        s->setAccessibleName(QString::fromUtf8(rolle));
        return s;
    };
    t.Arbeitsschritt = anzeige("Arbeitsschritt", "Arbeitsschritt");
    t.Arbeitsverzeichnis = anzeige("Arbeitsverzeichnis", "Verzeichnis in Arbeit");
    t.Arbeitsinfo = anzeige("Arbeitsinfo", "Gesamtfortschritt");
    t.Arbeitsdatei = anzeige("Arbeitsdatei", "Datei in Arbeit");

    for (QToolButton* k : {t.Quellverzeichnis_Festlegen, t.Zielverzeichnis_Festlegen})
        k->setIconSize(QSize(16, 16));
    for (QAbstractButton* k : {static_cast<QAbstractButton*>(t.CompareButton),
                               static_cast<QAbstractButton*>(t.SyncButton),
                               static_cast<QAbstractButton*>(t.Quellverzeichnis_Festlegen),
                               static_cast<QAbstractButton*>(t.Zielverzeichnis_Festlegen)})
        drücke_mit_eingabetaste(*k);
    setze_kürzel(*this, *t.CompareButton, QKeySequence(Qt::ALT | Qt::Key_V));
    setze_kürzel(*this, *t.SyncButton, QKeySequence(Qt::ALT | Qt::Key_S));
    connect(t.CompareButton, &QPushButton::clicked, this, [this] { CompareButton_Click(); });
    connect(t.SyncButton, &QPushButton::clicked, this, [this] { SyncButton_Click(); });
    connect(t.Quellverzeichnis_Festlegen, &QToolButton::clicked, this,
            [this] { Quellverzeichnis_Festlegen_Click(); });
    connect(t.Zielverzeichnis_Festlegen, &QToolButton::clicked, this,
            [this] { Zielverzeichnis_Festlegen_Click(); });
}

// A menu for the versions, then three entries right in the menu bar.
void verzeichnis::erstelle_aktionen() {
    QMenu* versionen = menuBar()->addMenu(QStringLiteral("Ve&rsionen"));
    versionen->setObjectName(QStringLiteral("MenüVersionenleiste"));
    MenüRückgängig_ = versionen->addAction(QStringLiteral("Letzten Lauf rückgängig machen…"));
    MenüRückgängig_->setObjectName(QStringLiteral("MenüRückgängig"));
    MenüVersionen_ = versionen->addAction(QStringLiteral("Versionen aufbewahren…"));
    MenüVersionen_->setObjectName(QStringLiteral("MenüVersionen"));
    connect(MenüRückgängig_, &QAction::triggered, this,
            [this] { versionen_->MenüRückgängig_Click(); });
    connect(MenüVersionen_, &QAction::triggered, this,
            [this] { versionen_->MenüVersionen_Click(); });
    MenüInfo_ = menuBar()->addAction(QStringLiteral("&Info"));
    MenüInfo_->setObjectName(QStringLiteral("MenüInfo"));
    MenüHilfe_ = menuBar()->addAction(QStringLiteral("&Hilfe"));
    MenüHilfe_->setObjectName(QStringLiteral("MenüHilfe"));
    MenüBeenden_ = menuBar()->addAction(QStringLiteral("B&eenden"));
    MenüBeenden_->setObjectName(QStringLiteral("MenüBeenden"));
    connect(MenüBeenden_, &QAction::triggered, this, [this] { close(); });
    connect(MenüInfo_, &QAction::triggered, this, [this] { Inform::zeige(this); });
    connect(MenüHilfe_, &QAction::triggered, this, [] { hilfe_anzeigen(); });
    // F1 opens the help wherever the focus is in the window.
    auto* f1 = new QAction(this);
    f1->setShortcut(QKeySequence::HelpContents);
    f1->setShortcutContext(Qt::WindowShortcut);
    addAction(f1);
    connect(f1, &QAction::triggered, this, [] { hilfe_anzeigen(); });
}

void verzeichnis::lege_tabfolge_fest() {
    const Fensterteile& t = teile_;
    QWidget* folge[] = {t.CompareButton,
                        t.SyncButton,
                        t.Zielverzeichnis_Festlegen,
                        t.Quellverzeichnis_Festlegen,
                        t.Arbeitsbaum,
                        t.Aufgaben_erledigt};
    for (std::size_t i = 1; i < std::size(folge); ++i) setTabOrder(folge[i - 1], folge[i]);
}

void verzeichnis::Form_Load() {
    const Komponentenprüfung k = prüfe_komponenten();
    os_version_ = k.os_version;
    systemverzeichnis_ = k.systemverzeichnis;
    if (!k.vorhanden) meldungsweg_({komponentenmeldung(k.komponente), Symbol::Fehler, Knöpfe::OK});
    setze_hilfedatei(suche_hilfedatei(gib_programmverzeichnis()));

    for (QToolButton* knopf : {teile_.Quellverzeichnis_Festlegen, teile_.Zielverzeichnis_Festlegen})
        knopf->setIcon(bilder_.bild(Bildnr::Suche));

    prüfe_version();
    const auto zahl = [](const char* name) {
        return als_ganzzahl(gib_einstellung("Administration", name, ""));
    };
    maß_.stelle_wieder_her(zahl("fwidth"), zahl("fheigth"));
    if (windowState() & Qt::WindowMaximized)
        showMaximized();
    else
        show();
    maß_.nach_dem_zeigen();

    for (Status* s : {teile_.Arbeitsschritt, teile_.Arbeitsverzeichnis, teile_.Arbeitsdatei,
                      teile_.Arbeitsinfo})
        s->setze_ausrichtung(0);
    lies_pfad("sourcepath", teile_.Basisverzeichnis, "Quellverzeichnisstruktur auslesen");
    lies_pfad("destpath", teile_.Zielbasisverzeichnis, "Zielverzeichnisstruktur auslesen");
    alle_anzeigen("");
    teile_.CompareButton->setEnabled(true);
    teile_.SyncButton->setEnabled(true);
}

void verzeichnis::alle_anzeigen(std::string_view schritt) {
    anzeigen_->Arbeitsschritt.text(schritt);
    anzeigen_->Arbeitsverzeichnis.text("");
    anzeigen_->Arbeitsdatei.text("");
    anzeigen_->Arbeitsinfo.text("");
}

void verzeichnis::lies_pfad(const char* name, Pfadfeld* feld, std::string_view schritt) {
    alle_anzeigen(schritt);
    const std::string pfad = gib_einstellung("LastSession", name, "/");
    if (ist_verzeichnis(pfad))
        feld->setze_pfad(pfad);
    else
        feld->setze_abwesend(pfad);
}

void verzeichnis::resizeEvent(QResizeEvent* ereignis) {
    QMainWindow::resizeEvent(ereignis);
    ordne_elemente_an();
}

void verzeichnis::changeEvent(QEvent* ereignis) {
    QMainWindow::changeEvent(ereignis);
    if (ereignis->type() == QEvent::WindowStateChange) ordne_elemente_an();
}

void verzeichnis::ordne_elemente_an() {
    if (isMinimized()) return;
    const QWidget* fläche = centralWidget();
    anordnung_ = ordne_an(anordnung_, static_cast<float>(fläche->width() * twips_x()),
                          static_cast<float>(fläche->height() * twips_y()));
    const Anordnung& a = anordnung_;
    const Fensterteile& t = teile_;
    wende_an(Rahmen_Quellverzeichnis_, a.Rahmen_Quellverzeichnis);
    wende_an(t.Quellverzeichnis_Festlegen, a.Quellverzeichnis_Festlegen);
    wende_an(t.Basisverzeichnis, a.Basisverzeichnis);
    wende_an(Rahmen_Zielverzeichnis_, a.Rahmen_Zielverzeichnis);
    wende_an(t.Zielverzeichnis_Festlegen, a.Zielverzeichnis_Festlegen);
    wende_an(t.Zielbasisverzeichnis, a.Zielbasisverzeichnis);
    wende_an(Rahmen_Aufgaben_, a.Rahmen_Aufgaben);
    wende_an(t.Arbeitsbaum, a.Arbeitsbaum);
    wende_an(Rahmen_Erledigt_, a.Rahmen_Erledigt);
    wende_an(t.Aufgaben_erledigt, a.Aufgaben_erledigt);
    wende_an(Inforahmen_, a.Inforahmen);
    wende_an(t.CompareButton, a.CompareButton);
    wende_an(t.SyncButton, a.SyncButton);
    wende_an(t.Arbeitsschritt, a.Arbeitsschritt);
    wende_an(t.Arbeitsverzeichnis, a.Arbeitsverzeichnis);
    wende_an(t.Arbeitsinfo, a.Arbeitsinfo);
    wende_an(t.Arbeitsdatei, a.Arbeitsdatei);
}

void verzeichnis::wende_an(QWidget* element, const Rechteck& r) {
    const Pixelrechteck p = in_pixeln(r, twips_x(), twips_y());
    element->setGeometry(p.links, p.oben, p.breite, p.höhe);
}

void verzeichnis::CompareButton_Click() {
    vergleich_->CompareButton_Click();
    if (sitzungsende_) close();
}

void verzeichnis::SyncButton_Click() {
    synchron_->SyncButton_Click();
    if (sitzungsende_) close();
}

void verzeichnis::sitzungsende() {
    sitzungsende_ = true;
    // A box or chooser open now would keep the run, or the close, waiting.
    if (QWidget* dialog = QApplication::activeModalWidget()) dialog->close();
    close();
}

void verzeichnis::Quellverzeichnis_Festlegen_Click() {
    wähle_verzeichnis(teile_.Basisverzeichnis, "Bitte Quellverzeichnis auswählen",
                      "Quellverzeichnis");
}

void verzeichnis::Zielverzeichnis_Festlegen_Click() {
    wähle_verzeichnis(teile_.Zielbasisverzeichnis, "Bitte Zielverzeichnis auswählen",
                      "Zielverzeichnis");
}

void verzeichnis::wähle_verzeichnis(Pfadfeld* feld, const char* hinweis, const char* titel) {
    if (zustand_.läuft) return;  // only a cancel may act during a command
    const std::string& alt = feld->pfad();
    const QString neu =
        ordner_wählen(this, anzeigetext(alt), QString::fromUtf8(hinweis), QString::fromUtf8(titel));
    if (!neu.isEmpty()) feld->setze_pfad(QFile::encodeName(neu).toStdString());
    // Tasks determined for the old directories must neither show nor run.
    teile_.Arbeitsbaum->leere();
    teile_.Aufgaben_erledigt->leere();
    stand_.aufgabenbaum.reset();
}

void verzeichnis::bäume_reset() {
    if (zustand_.läuft) return;  // the run still shows into the views
    teile_.CompareButton->setEnabled(false);
    teile_.SyncButton->setEnabled(false);
    teile_.Arbeitsbaum->leere();
    teile_.Aufgaben_erledigt->leere();
    alle_anzeigen("");
    teile_.CompareButton->setEnabled(true);
    teile_.SyncButton->setEnabled(true);
}

// A close request while a command runs cancels the command instead.
void verzeichnis::closeEvent(QCloseEvent* ereignis) {
    if (liest_abbrechen(*teile_.CompareButton) || liest_abbrechen(*teile_.SyncButton)) {
        ereignis->ignore();
        zustand_.abbruch = true;
        zustand_.kopierabbruch = 1;
        return;
    }
    alle_anzeigen("Speicher freigeben");
    sichere_sitzung();
    teile_.Arbeitsbaum->leere();
    teile_.Aufgaben_erledigt->leere();
    stand_ = Vergleichsstand{};
    ereignis->accept();
}

void verzeichnis::sichere_sitzung() {
    const QSize außen = maß_.zu_speichern();
    (void)setze_einstellung("Administration", "fwidth", außen.width());
    (void)setze_einstellung("Administration", "fheigth", außen.height());
    (void)setze_einstellung("LastSession", "sourcepath", teile_.Basisverzeichnis->zu_speichern());
    (void)setze_einstellung("LastSession", "destpath", teile_.Zielbasisverzeichnis->zu_speichern());
}

// A node that cannot be added leaves the view unusable. The stored paths go,
// so that the next start does not open the same directories again.
void verzeichnis::schwerer_fehler(const std::string& text) {
    meldungsweg_({text, Symbol::Ohne, Knöpfe::OK});
    (void)lösche_abschnitt("LastSession");
    sofortende_();
}

}  // namespace tarvendo
