#pragma once
// Read access to a compiled HTML help file (CHM) through chmlib.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

struct chmFile;

namespace tarvendo {

class Chmdatei {
public:
    // nullopt when the file is missing or not a help file.
    [[nodiscard]] static std::optional<Chmdatei> öffne(const std::string& pfad);

    // The bytes of an entry by its path inside the file ("/index.html");
    // nullopt when there is none or it cannot be read.
    [[nodiscard]] std::optional<std::string> lies(std::string_view pfad) const;
    // The page the file opens with, as an absolute path inside the file
    // ("/index.html"); empty when the file names none.
    [[nodiscard]] const std::string& standardthema() const { return standardthema_; }
    // The title the help was compiled with; may be empty.
    [[nodiscard]] const std::string& titel() const { return titel_; }

private:
    struct Schliesser {
        void operator()(chmFile* datei) const;
    };

    explicit Chmdatei(chmFile* datei);
    void lies_systemangaben();

    std::unique_ptr<chmFile, Schliesser> datei_;
    std::string standardthema_;
    std::string titel_;
};

}  // namespace tarvendo
