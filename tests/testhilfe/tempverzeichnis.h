#pragma once
// A scratch directory below $TMPDIR that is removed with everything in it.

#include <string>
#include <string_view>

namespace tarvendo::test {

class TempVerzeichnis {
public:
    TempVerzeichnis();
    ~TempVerzeichnis();
    TempVerzeichnis(const TempVerzeichnis&) = delete;
    TempVerzeichnis& operator=(const TempVerzeichnis&) = delete;

    [[nodiscard]] const std::string& pfad() const { return pfad_; }
    // pfad() + "/" + relativ
    [[nodiscard]] std::string operator/(std::string_view relativ) const;

private:
    std::string pfad_;
};

// Small helpers that abort the test on failure.
void schreibe_datei(const std::string& pfad, std::string_view inhalt);
[[nodiscard]] std::string lies_datei(const std::string& pfad);
void erstelle_verzeichnis(const std::string& pfad);
// Sets the modification time (seconds since the epoch, nanoseconds).
void setze_zeit(const std::string& pfad, long sekunden, long nanosekunden = 0);
// A file of größe bytes, allocated but never written, so that making it is
// quick and copying it is not (a sparse file is copied at once); 0 or the
// errno of posix_fallocate, for the caller to skip on.
[[nodiscard]] int belege_datei(const std::string& pfad, long größe);
[[nodiscard]] bool existiert(const std::string& pfad);  // without following links
// A chain pfad/d/d/... of tiefe directories, made level by level through
// descriptors, since its paths exceed PATH_MAX.
void erstelle_kette(const std::string& pfad, int tiefe);

}  // namespace tarvendo::test
