#pragma once

#include "engine/pfadklasse.h"
#include "engine/schnittstellen.h"

namespace tarvendo {

// Adds the ticked file tasks below pfad (pfad included) to the counts and the
// work total of zustand: a copy weighs the file's size, a deletion 1.
// Nothing inside an unticked directory counts; directories never count.
// The caller resets the values first.
void erstelle_aufgabensumme(const Pfadklasse& pfad, Programmzustand& zustand);

}  // namespace tarvendo
