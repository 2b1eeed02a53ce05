#include "einstellungen/registry.h"

#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

namespace tarvendo {
namespace {

std::unique_ptr<QSettings> öffne_speicher() {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("Morvanhalder"), QStringLiteral("Tarvendo"));
}

QString als_qstring(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The key of a value inside its section.
QString schlüssel(std::string_view abschnitt, std::string_view name) {
    return als_qstring(abschnitt) + u'/' + als_qstring(name);
}

bool ist_utf8(std::string_view text) {
    const QString umgewandelt = als_qstring(text);
    const QByteArray zurück = umgewandelt.toUtf8();
    return std::string_view(zurück.constData(), static_cast<std::size_t>(zurück.size())) == text;
}

std::int32_t status_von(QSettings& speicher) {
    speicher.sync();
    return static_cast<std::int32_t>(speicher.status());
}

}  // namespace

std::string gib_einstellung(std::string_view abschnitt, std::string_view name,
                            std::string_view vorgabe) {
    const auto speicher = öffne_speicher();
    const QVariant wert = speicher->value(schlüssel(abschnitt, name));
    switch (wert.typeId()) {
        case QMetaType::QString:
            return wert.toString().toStdString();
        case QMetaType::QByteArray: {
            const QByteArray bytes = wert.toByteArray();
            return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        }
        case QMetaType::QStringList:
            // An unquoted text with commas, written by hand: read it back as written.
            return wert.toStringList().join(QStringLiteral(", ")).toStdString();
        default:
            // Missing, or an entry that could not be decoded.
            if (wert.isValid() && wert.canConvert<QString>()) return wert.toString().toStdString();
            return std::string(vorgabe);
    }
}

std::int32_t setze_einstellung(std::string_view abschnitt, std::string_view name,
                               std::string_view wert) {
    const auto speicher = öffne_speicher();
    if (ist_utf8(wert)) {
        speicher->setValue(schlüssel(abschnitt, name), als_qstring(wert));
    } else {
        speicher->setValue(schlüssel(abschnitt, name),
                           QByteArray(wert.data(), static_cast<qsizetype>(wert.size())));
    }
    return status_von(*speicher);
}

std::int32_t lösche_abschnitt(std::string_view abschnitt) {
    const auto speicher = öffne_speicher();
    if (!abschnitt.empty()) speicher->remove(als_qstring(abschnitt));
    return status_von(*speicher);
}

}  // namespace tarvendo
