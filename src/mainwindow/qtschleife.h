#pragma once
// How the engine yields to the window's event loop during a command.

#include <QElapsedTimer>

#include "engine/schnittstellen.h"

namespace tarvendo {

// Yields to the event loop; this is where a cancel request comes in and
// where the displays paint what the run told them.
class Qtschleife final : public Ereignisschleife {
public:
    // A run of small files yields after every file; serving the event loop
    // (and painting) each time would cost more than the files. Sixty times a
    // second keeps the window live and a cancel is still seen at once.
    void ereignisse_verarbeiten() override;

private:
    static constexpr qint64 abstand_ms = 16;
    QElapsedTimer zuletzt_;
};

}  // namespace tarvendo
