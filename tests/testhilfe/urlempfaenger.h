#pragma once
// Catches what the program hands to the desktop's browser or mail client:
// installed as QDesktopServices' handler for a scheme, it records the URLs.

#include <QDesktopServices>
#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

namespace tarvendo::test {

// moc reads only ASCII names.
class UrlEmpfaenger : public QObject {
    Q_OBJECT

public:
    explicit UrlEmpfaenger(const QString& schema) : schema_(schema) {
        QDesktopServices::setUrlHandler(schema_, this, "nimm");
    }
    ~UrlEmpfaenger() override { QDesktopServices::unsetUrlHandler(schema_); }

    QList<QUrl> erhalten;

public slots:
    void nimm(const QUrl& url) { erhalten.append(url); }

private:
    QString schema_;
};

}  // namespace tarvendo::test
