#include "widgets/pfadkuerzung.h"

#include <QList>
#include <QTextBoundaryFinder>

namespace tarvendo {
namespace {

// Positions in text where it may be cut without splitting a character.
QList<qsizetype> schnittstellen(const QString& text) {
    QList<qsizetype> stellen;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    for (qsizetype stelle = 0; stelle >= 0 && stelle < text.size();
         stelle = finder.toNextBoundary()) {
        stellen.push_back(stelle);
    }
    return stellen;
}

}  // namespace

QString kürze_pfad(QString pfad, const QFontMetrics& fm, int breite) {
    if (pfad.size() > 1 && pfad.endsWith(u'/')) pfad.chop(1);
    if (fm.horizontalAdvance(pfad) <= breite) return pfad;

    const qsizetype letzter = pfad.lastIndexOf(u'/');
    if (letzter <= 0) return pfad;
    const QString kopf = pfad.left(letzter);
    const QString ende = QStringLiteral("...") + pfad.mid(letzter);

    // The longest beginning of kopf that still fits in front of ".../last".
    const QList<qsizetype> stellen = schnittstellen(kopf);
    qsizetype unten = 0;  // stellen[unten] fits unless even the empty beginning does not
    qsizetype oben = stellen.size();
    while (oben - unten > 1) {
        const qsizetype mitte = unten + (oben - unten) / 2;
        if (fm.horizontalAdvance(kopf.left(stellen[mitte]) + ende) <= breite) {
            unten = mitte;
        } else {
            oben = mitte;
        }
    }
    return kopf.left(stellen[unten]) + ende;
}

}  // namespace tarvendo
