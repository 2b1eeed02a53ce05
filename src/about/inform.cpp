#include "about/inform.h"

#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

#include <algorithm>
#include <span>
#include <utility>

#include "support/betriebssystem.h"
#include "support/dateiversion.h"
#include "support/programmversion.h"

namespace tarvendo {
namespace {

QString text(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QString version_von(const std::string& datei) {
    return QStringLiteral("Version ") + text(gib_dateiversion(datei));
}

// Positions and sizes are designed in twips, 1440 to the inch.
class Raster {
public:
    explicit Raster(const QWidget& fenster)
        : pro_twip_x_(fenster.logicalDpiX() / 1440.0),
          pro_twip_y_(fenster.logicalDpiY() / 1440.0) {}
    [[nodiscard]] int x(int twips) const { return qRound(twips * pro_twip_x_); }
    [[nodiscard]] int y(int twips) const { return qRound(twips * pro_twip_y_); }

private:
    double pro_twip_x_;
    double pro_twip_y_;
};

QLabel* beschriftung(QWidget* dialog, const char* name, const QString& inhalt, double punkte,
                     bool fett = false) {
    auto* label = new QLabel(inhalt, dialog);
    label->setObjectName(QLatin1String(name));
    QFont schrift = QApplication::font();
    schrift.setPointSizeF(punkte);
    schrift.setBold(fett);
    label->setFont(schrift);
    return label;
}

// A label sized to its text, at least as high as designed.
void platziere(QLabel* label, const Raster& raster, int links, int oben, int höhe = 195) {
    const QSize passend = label->sizeHint();
    label->setGeometry(raster.x(links), raster.y(oben), passend.width(),
                       std::max(raster.y(höhe), passend.height()));
}

QString als_link(const QString& ziel, const QString& anzeige) {
    return QStringLiteral("<a href=\"%1\" style=\"color:#ff0000;\">%2</a>")
        .arg(ziel.toHtmlEscaped(), anzeige.toHtmlEscaped());
}

int rechter_rand(const QWidget* w) {
    return w->x() + w->width();
}

}  // namespace

Inform::Inform(QWidget* eigentümer, const Komponenten& komponenten, const std::string& systemname)
    : QDialog(eigentümer, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("Inform"));
    setWindowTitle(QStringLiteral("Informationen zu Tarvendo"));
    const Raster raster(*this);
    constexpr double normal = 8.25;

    auto* picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setGeometry(raster.x(135), raster.y(135), raster.x(480), raster.y(480));
    picIcon->setPixmap(QIcon(QStringLiteral(":/about/tarvendo.png")).pixmap(picIcon->size()));
    picIcon->setAccessibleName(QStringLiteral("Programmsymbol"));

    auto* lblTitle = beschriftung(this, "lblTitle", QStringLiteral("Tarvendo"), 26.25, true);
    lblTitle->setStyleSheet(QStringLiteral("color: #000000;"));
    lblTitle->setGeometry(raster.x(810), 0, std::max(raster.x(2925), lblTitle->sizeHint().width()),
                          std::max(raster.y(825), lblTitle->sizeHint().height()));

    platziere(beschriftung(this, "Version", QStringLiteral("Version ") + text(programm::version),
                           normal, true),
              raster, 810, 915);
    platziere(beschriftung(this, "Copyright", text(programm::copyright), normal, true), raster, 810,
              1155);

    // Rows of a caption with its value to the right; the values start in one
    // column, moved right when a caption is wider than designed.
    struct Zeile {
        QLabel* beschriftung;
        QLabel* wert;
        int oben;
    };
    const Zeile zeilen[] = {
        {beschriftung(this, "Label7", QStringLiteral("System:"), normal),
         beschriftung(this, "BS_Version", text(systemname), normal), 1530},
        {beschriftung(this, "Label2", QStringLiteral("C++-Laufzeit:"), normal),
         beschriftung(this, "Runtime_Version", version_von(komponenten.laufzeit), normal), 1740},
        {beschriftung(this, "Label3", QStringLiteral("Qt Widgets:"), normal),
         beschriftung(this, "QtWidgets_Version", version_von(komponenten.qt_widgets), normal),
         1950},
        {beschriftung(this, "Label4", QStringLiteral("CHM-Hilfe:"), normal),
         beschriftung(this, "HELP_Version", version_von(komponenten.chm_hilfe), normal), 2160},
    };
    const QString webseite = text(programm::webseite);
    const QString email = text(programm::email);
    const Zeile links[] = {
        {beschriftung(this, "label6", QStringLiteral("WWW:"), normal),
         beschriftung(this, "hlink", als_link(webseite, webseite), normal), 2565},
        {beschriftung(this, "Label1", QStringLiteral("eMail:"), normal),
         beschriftung(this, "mail", als_link(QStringLiteral("mailto:") + email, email), normal),
         2775},
    };
    for (const Zeile& link : links) {
        link.wert->setTextInteractionFlags(Qt::TextBrowserInteraction);
        link.wert->setOpenExternalLinks(true);
        QFont schrift = link.wert->font();
        schrift.setUnderline(true);
        link.wert->setFont(schrift);
    }

    const int abstand = raster.x(120);
    int breite = raster.x(5640);
    for (const auto& [gruppe, spalte] : {std::pair{std::span<const Zeile>(zeilen), 1935},
                                         std::pair{std::span<const Zeile>(links), 1530}}) {
        int wertspalte = raster.x(spalte);
        for (const Zeile& zeile : gruppe) {
            platziere(zeile.beschriftung, raster, 810, zeile.oben);
            wertspalte = std::max(wertspalte, rechter_rand(zeile.beschriftung) + abstand);
        }
        for (const Zeile& zeile : gruppe) {
            platziere(zeile.wert, raster, 0, zeile.oben);
            zeile.wert->move(wertspalte, zeile.wert->y());
            breite = std::max(breite, rechter_rand(zeile.wert) + raster.x(135));
        }
    }

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OK"));
    ok->setDefault(true);
    ok->setGeometry(breite - raster.x(5640 - 4500), raster.y(3060), raster.x(1095), raster.y(330));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    setFixedSize(breite, raster.y(3450));
}

Inform* Inform::zeige(QWidget* eigentümer) {
    auto* dialog =
        new Inform(eigentümer, gib_geladene_komponenten(), gib_systemname(OperatingSystem()));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    if (eigentümer != nullptr) {
        // setGeometry places the client area, as geometry() reports it for both.
        const QRect über = eigentümer->window()->geometry();
        dialog->setGeometry(dialog->rect().translated(über.center() - dialog->rect().center()));
    }
    dialog->open();
    return dialog;
}

}  // namespace tarvendo
