#include "hilfe/hilfebrowser.h"

#include <QDesktopServices>
#include <QImage>
#include <QUrl>

#include "widgets/anzeigetext.h"

namespace tarvendo {
namespace {

const QString schema = QStringLiteral("chm");

QString als_html_text(const QString& text) {
    return QStringLiteral("<html><body><p>%1</p></body></html>").arg(text.toHtmlEscaped());
}

}  // namespace

Hilfebrowser::Hilfebrowser(QWidget* eltern) : QTextBrowser(eltern) {
    setOpenLinks(true);
    setOpenExternalLinks(false);
}

QUrl Hilfebrowser::url_von(const std::string& pfad_in_datei) {
    QUrl url;
    url.setScheme(schema);
    url.setPath(QString::fromStdString(pfad_in_datei));
    return url;
}

bool Hilfebrowser::setze_hilfedatei(const std::string& pfad) {
    datei_ = Chmdatei::öffne(pfad);
    const QString name = anzeigetext(pfad);
    clearHistory();
    if (!datei_) {
        zeige_hinweis(QStringLiteral("Die Hilfedatei %1 kann nicht gelesen werden.").arg(name));
        return false;
    }
    if (datei_->standardthema().empty()) {
        zeige_hinweis(QStringLiteral("Die Hilfedatei %1 nennt keine Startseite.").arg(name));
        return false;
    }
    setSource(url_von(datei_->standardthema()));
    return true;
}

QString Hilfebrowser::titel() const {
    return datei_ ? QString::fromStdString(datei_->titel()) : QString();
}

void Hilfebrowser::zeige_hinweis(const QString& text) {
    setHtml(als_html_text(text));
}

QVariant Hilfebrowser::loadResource(int typ, const QUrl& name) {
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    if (url.scheme() != schema || !datei_) return QTextBrowser::loadResource(typ, name);
    const auto inhalt = datei_->lies(url.path(QUrl::FullyDecoded).toStdString());
    if (!inhalt) {
        if (typ != QTextDocument::HtmlResource) return {};
        return als_html_text(
            QStringLiteral("Die Seite %1 fehlt in der Hilfedatei.").arg(url.path()));
    }
    const QByteArray bytes(inhalt->data(), static_cast<qsizetype>(inhalt->size()));
    if (typ == QTextDocument::ImageResource) return QImage::fromData(bytes);
    return bytes;
}

void Hilfebrowser::doSetSource(const QUrl& name, QTextDocument::ResourceType typ) {
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    if (url.scheme() != schema) {
        QDesktopServices::openUrl(url);
        return;
    }
    QTextBrowser::doSetSource(url, typ);
}

}  // namespace tarvendo
