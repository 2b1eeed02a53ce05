#pragma once
// The dialog behind ordner_wählen: a prompt, the folder tree of the whole file
// system, "Neuer Ordner", OK and Abbrechen.

#include <QDialog>
#include <QString>

class QDialogButtonBox;
class QFileSystemModel;
class QLabel;
class QPushButton;
class QTreeView;

namespace tarvendo {

class Ordnerauswahl final : public QDialog {
    Q_OBJECT

public:
    Ordnerauswahl(QWidget* besitzer, const QString& titel, const QString& hinweis,
                  const QString& startpfad);

    // The selected directory; "" when none is selected.
    [[nodiscard]] QString gewählt() const;
    void wähle(const QString& pfad);
    // Creates a new folder below the selected one and lets the user name it.
    void neuer_ordner();

protected:
    void showEvent(QShowEvent* ereignis) override;

private:
    void auswahl_geändert();

    QFileSystemModel* modell_;
    QLabel* hinweis_;
    QTreeView* baum_;
    QPushButton* neu_;
    QDialogButtonBox* knöpfe_;
    bool folgen_ = true;  // keep the selection in view while folders arrive
};

}  // namespace tarvendo
