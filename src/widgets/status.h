#pragma once
// A one-line progress display: a bar that fills from the left, each column in
// its own colour from red through yellow to green, with a line of text over it.

#include <QImage>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <string_view>

#include "engine/schnittstellen.h"

class QLabel;

namespace tarvendo {

class Status : public QWidget, public Statusanzeige {
    Q_OBJECT

public:
    explicit Status(QWidget* eltern = nullptr);
    ~Status() override;

    // Texts arrive as UTF-8 bytes and are shown lossily where they are not.
    // The value operations never throw: a step whose sum leaves the 32-bit
    // range is dropped and the value stays as it was.
    void text(std::string_view s) override;
    void textpfad(std::string_view s) override;
    void setze_maxwert(std::int32_t wert) override;
    void setze_aktwert(std::int32_t wert) override;
    void erhöhe_aktwert(std::int32_t wert) override;
    void Reset() override;
    void mit_prozentzahl(bool schalter) override;
    // 0 left, 1 right, 2 centred; any other value is ignored.
    void setze_ausrichtung(std::int32_t ausrichtung) override;

    [[nodiscard]] QSize sizeHint() const override;

    [[nodiscard]] std::int32_t maxwert() const { return maxwert_; }
    [[nodiscard]] std::int32_t aktwert() const { return aktwert_; }
    [[nodiscard]] std::int32_t ausrichtung() const { return ausrichtung_; }
    // The line of text as it is shown.
    [[nodiscard]] QString beschriftung() const;
    // The bar as drawn so far, one pixel per column.
    [[nodiscard]] const QImage& balkenbild() const;

protected:
    void resizeEvent(QResizeEvent* ereignis) override;

private:
    class Leinwand;

    // Throws std::overflow_error when the sum leaves the 32-bit range; then
    // nothing has changed.
    void erhöhe_geprüft(std::int32_t wert);
    void zeichne_bis(float ende);
    void leere_balken();
    void zeige_text(const QString& s);
    void setze_beschriftung(const QString& beschriftung);
    void zeige_beschriftung();
    void passe_info_an();
    [[nodiscard]] QString prozentbeschriftung() const;

    Leinwand* bar_;  // owned through the Qt parent
    QLabel* info_;   // inside bar_

    std::int32_t maxwert_ = 0;
    std::int32_t aktwert_ = 0;
    bool mit_prozent_ = false;
    QString anzeigetext_;
    QString beschriftung_;             // the line as it is to be shown
    bool beschriftung_offen_ = false;  // the label has yet to take it
    std::int32_t prozentwert_ = 0;
    int zeichenpos_ = 0;  // the next column to draw; all left of it are drawn
    std::int32_t ausrichtung_ = 0;
};

}  // namespace tarvendo
