#include "mainwindow/ordnerauswahl.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeView>
#include <QVBoxLayout>

namespace tarvendo {

Ordnerauswahl::Ordnerauswahl(QWidget* besitzer, const QString& titel, const QString& hinweis,
                             const QString& startpfad)
    : QDialog(besitzer),
      modell_(new QFileSystemModel(this)),
      hinweis_(new QLabel(hinweis, this)),
      baum_(new QTreeView(this)),
      neu_(new QPushButton(QStringLiteral("&Neuer Ordner"), this)),
      knöpfe_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)) {
    setWindowTitle(titel);
    setModal(true);
    // Hidden folders are backed up too, so they can be chosen.
    modell_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::Drives);
    modell_->setReadOnly(false);  // a new folder gets its name in place
    modell_->setRootPath(QStringLiteral("/"));
    baum_->setModel(modell_);
    for (int spalte = 1; spalte < modell_->columnCount(); ++spalte) baum_->hideColumn(spalte);
    baum_->header()->hide();
    baum_->setEditTriggers(QAbstractItemView::EditKeyPressed);
    baum_->setAccessibleName(hinweis);
    hinweis_->setWordWrap(true);
    hinweis_->setBuddy(baum_);
    neu_->setAccessibleName(QStringLiteral("Neuer Ordner"));

    auto* spalte = new QVBoxLayout(this);
    spalte->addWidget(hinweis_);
    spalte->addWidget(baum_, 1);
    auto* unten = new QHBoxLayout;
    unten->addWidget(neu_);
    unten->addStretch(1);
    unten->addWidget(knöpfe_);
    spalte->addLayout(unten);
    resize(420, 480);

    connect(knöpfe_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(knöpfe_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(neu_, &QPushButton::clicked, this, &Ordnerauswahl::neuer_ordner);
    connect(baum_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &Ordnerauswahl::auswahl_geändert);
    // The folders load in the background, and every folder that arrives
    // above the selection pushes it down: it is brought back at once, until
    // the user moves in the tree.
    const auto folge = [this] {
        if (folgen_ && baum_->currentIndex().isValid())
            baum_->scrollTo(baum_->currentIndex(), QAbstractItemView::PositionAtCenter);
    };
    connect(modell_, &QFileSystemModel::rowsInserted, this, folge);
    connect(modell_, &QFileSystemModel::layoutChanged, this, folge);
    connect(modell_, &QFileSystemModel::directoryLoaded, this, folge);
    connect(baum_->verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this] { folgen_ = false; });
    wähle(startpfad);
    auswahl_geändert();
}

QString Ordnerauswahl::gewählt() const {
    const QModelIndex aktuell = baum_->currentIndex();
    if (!aktuell.isValid()) return {};
    const QString pfad = modell_->filePath(aktuell);
    return QFileInfo(pfad).isDir() ? pfad : QString();
}

void Ordnerauswahl::wähle(const QString& pfad) {
    const QModelIndex index = modell_->index(QDir::cleanPath(pfad));
    if (!index.isValid()) return;
    folgen_ = true;
    baum_->setCurrentIndex(index);
    baum_->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void Ordnerauswahl::neuer_ordner() {
    const QModelIndex eltern = baum_->currentIndex();
    if (!eltern.isValid()) return;
    const QDir ort(modell_->filePath(eltern));
    QString name = QStringLiteral("Neuer Ordner");
    for (int n = 2; ort.exists(name); ++n) name = QStringLiteral("Neuer Ordner (%1)").arg(n);
    const QModelIndex neu = modell_->mkdir(eltern, name);
    if (!neu.isValid()) return;
    baum_->expand(eltern);
    baum_->setCurrentIndex(neu);
    baum_->edit(neu);
}

void Ordnerauswahl::showEvent(QShowEvent* ereignis) {
    QDialog::showEvent(ereignis);
    // Centred over the main window, whole pixels rounded down.
    if (const QWidget* besitzer = parentWidget()) {
        const QRect h = besitzer->frameGeometry();
        const QRect d = frameGeometry();
        move(h.left() + h.width() / 2 - d.width() / 2, h.top() + h.height() / 2 - d.height() / 2);
    }
}

void Ordnerauswahl::auswahl_geändert() {
    if (baum_->hasFocus()) folgen_ = false;  // the user's own choice
    const bool gültig = !gewählt().isEmpty();
    knöpfe_->button(QDialogButtonBox::Ok)->setEnabled(gültig);
    neu_->setEnabled(gültig);
}

}  // namespace tarvendo
