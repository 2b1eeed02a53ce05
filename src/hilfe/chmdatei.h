#pragma once
// Read access to a compiled HTML help file (CHM) through chmlib.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

struct chmFile;

namespace tarvendo {

// What a help file's "#SYSTEM" entry names: the page it opens with, as an
// absolute path inside the file ("/index.html"), empty when it names none;
// and the title it was compiled with, which may be empty.
struct Systemangaben {
    std::string standardthema;
    std::string titel;
};
[[nodiscard]] Systemangaben lies_systemangaben(std::string_view system);

class Chmdatei {
public:
    // nullopt when the file is missing or not a help file.
    [[nodiscard]] static std::optional<Chmdatei> öffne(const std::string& pfad);

    // The bytes of an entry by its path inside the file ("/index.html");
    // nullopt when there is none or it cannot be read.
    [[nodiscard]] std::optional<std::string> lies(std::string_view pfad) const;
    [[nodiscard]] const std::string& standardthema() const { return angaben_.standardthema; }
    [[nodiscard]] const std::string& titel() const { return angaben_.titel; }

private:
    struct Schliesser {
        void operator()(chmFile* datei) const;
    };

    explicit Chmdatei(chmFile* datei);

    std::unique_ptr<chmFile, Schliesser> datei_;
    Systemangaben angaben_;
};

}  // namespace tarvendo
