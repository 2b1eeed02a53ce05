#pragma once
// What a screen reader learns of a status display: its name, the line of
// text, and the bar's value as a progress bar's.

namespace tarvendo {

class Status;

// Makes every Status answer a screen reader; once is enough per program.
void melde_statuszugang_an();

// Tells a listening screen reader that the text or the value changed.
void melde_statusänderung(Status& status);

}  // namespace tarvendo
