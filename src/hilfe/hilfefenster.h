#pragma once
// The window that shows the help file: a browser with buttons to go back,
// forward and to the start page.

#include <QIcon>
#include <QStyle>
#include <QWidget>

#include <string>

namespace tarvendo {

class Hilfebrowser;

class Hilfefenster : public QWidget {
    Q_OBJECT

public:
    // A window of its own: pass no parent, so it stays beside the main window.
    explicit Hilfefenster(const std::string& hilfedatei, QWidget* eltern = nullptr);

    [[nodiscard]] Hilfebrowser& browser() const { return *browser_; }

private:
    // The desktop theme's icon, or the style's own.
    [[nodiscard]] QIcon symbol(const char* thema, QStyle::StandardPixmap ersatz) const;

    Hilfebrowser* browser_;
};

}  // namespace tarvendo
