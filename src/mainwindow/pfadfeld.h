#pragma once
// The label that holds a chosen directory. The path is kept as the bytes the
// file system knows; the caption shows it, lossily where it is not UTF-8.

#include <QLabel>

#include <string>

namespace tarvendo {

class Pfadfeld final : public QLabel {
public:
    explicit Pfadfeld(QWidget* eltern = nullptr) : QLabel(eltern) { setTextFormat(Qt::PlainText); }

    [[nodiscard]] const std::string& pfad() const { return pfad_; }
    void setze_pfad(std::string pfad) {
        pfad_ = std::move(pfad);
        const QString anzeige =
            QString::fromUtf8(pfad_.data(), static_cast<qsizetype>(pfad_.size()));
        setText(anzeige);
        setAccessibleName(anzeige);
        setToolTip(anzeige);
    }

private:
    std::string pfad_;
};

}  // namespace tarvendo
