#pragma once
// The window that shows the help file: a browser with buttons to go back,
// forward and to the start page.

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
    Hilfebrowser* browser_;
};

}  // namespace tarvendo
