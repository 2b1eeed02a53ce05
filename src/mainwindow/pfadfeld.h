#pragma once
// The label that holds a chosen directory. The path is kept as the bytes the
// file system knows; the caption shows it, lossily where it is not UTF-8,
// shortened in its middle when it is too wide, so that two paths that differ
// only at their end still look different. The tool tip holds it whole.

#include <QLabel>

#include <string>

namespace tarvendo {

class Pfadfeld final : public QLabel {
public:
    explicit Pfadfeld(QWidget* eltern = nullptr);

    [[nodiscard]] const std::string& pfad() const { return pfad_; }
    // A path the user chose; it replaces a stored one that was missing.
    void setze_pfad(std::string pfad);
    // A stored directory that is not there at start (a stick not plugged
    // in): the label stays empty, but the session keeps the path until the
    // user chooses another one.
    void setze_abwesend(std::string gespeichert);
    // What the session stores.
    [[nodiscard]] const std::string& zu_speichern() const {
        return pfad_.empty() && !abwesend_.empty() ? abwesend_ : pfad_;
    }

protected:
    void resizeEvent(QResizeEvent* ereignis) override;

private:
    void zeige();

    std::string pfad_;
    std::string abwesend_;
    QString voll_;
};

}  // namespace tarvendo
