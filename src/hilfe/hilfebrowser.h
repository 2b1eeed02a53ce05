#pragma once
// A text browser that reads its pages, style sheets and images from a help
// file. Pages inside the file have URLs of the scheme "chm" ("chm:/index.html");
// links to anything else open in the desktop's browser or mail client.

#include <QTextBrowser>

#include <optional>
#include <string>

#include "hilfe/chmdatei.h"

namespace tarvendo {

class Hilfebrowser : public QTextBrowser {
    Q_OBJECT

public:
    // A browser without a help file shows what setze_hilfedatei leaves.
    explicit Hilfebrowser(QWidget* eltern = nullptr);

    // Opens the help file and shows its default topic, or a notice when the
    // file cannot be read or names no default topic. False in both cases.
    bool setze_hilfedatei(const std::string& pfad);
    // The title the help file was compiled with; empty without a file.
    [[nodiscard]] QString titel() const;

    [[nodiscard]] static QUrl url_von(const std::string& pfad_in_datei);

    QVariant loadResource(int typ, const QUrl& name) override;

protected:
    void doSetSource(const QUrl& name, QTextDocument::ResourceType typ) override;

private:
    void zeige_hinweis(const QString& text);

    std::optional<Chmdatei> datei_;
};

}  // namespace tarvendo
