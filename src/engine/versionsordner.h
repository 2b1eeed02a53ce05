#pragma once
// The version folders in the target base: .tarvendo/versionen/<run time>/,
// one per run that changed something, each holding what that run deleted or
// replaced under its path below the base, and the run's record. Every level
// is opened without following a link, so nothing is ever put or removed
// through one.

#include <sys/types.h>

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/dateioperationen.h"
#include "engine/ergebnis.h"

namespace tarvendo {

// The name at the target base that belongs to the program, not to the backup.
inline constexpr std::string_view reservierter_ordner = ".tarvendo";
inline constexpr std::string_view versionen_ordner = "versionen";
inline constexpr int standard_versionen_tage = 30;

// The full path of the version folder of the run lauf below zielbasis.
[[nodiscard]] std::string versionspfad(std::string_view zielbasis, std::string_view lauf);

// "2026-12-07T19-05-33Z": the run's start in UTC; names sort as times do.
[[nodiscard]] std::string versionsname(std::time_t zeit);
// The time a version folder's name stands for (a suffix "-NN" after the
// "Z" allowed); none for any other name.
[[nodiscard]] std::optional<std::time_t> versionszeit(std::string_view name);
// "07.12.2026 20:05:33", the local time of a version folder's run.
[[nodiscard]] std::string versionszeit_text(std::string_view name);

// Opens the directory name in fd without following a link; with erstellen,
// makes it first (0700) unless it is there.
[[nodiscard]] Ergebnis<int> öffne_stufe(Dateioperationen& ops, int fd, const std::string& name,
                                        bool erstellen);

// Opens .tarvendo/versionen below the open target base; with erstellen, the
// missing levels are made (0700). ELOOP or ENOTDIR when a level is a link.
[[nodiscard]] Ergebnis<int> öffne_versionen(Dateioperationen& ops, int basis, bool erstellen);

// The names of the version folders in the open directory versionen, oldest first.
[[nodiscard]] std::vector<std::string> versionsordner(int versionen);

// Removes name in the directory fd with all it holds; links are removed,
// never followed, and nothing on another file system than gerät is touched.
Ausgang entferne_baum(int fd, const std::string& name, dev_t gerät);
// The bytes that name in fd takes on the medium (no link followed).
[[nodiscard]] std::int64_t belegung(int fd, const std::string& name);

// The entries of the open directory fd, without "." and "..".
[[nodiscard]] std::vector<std::string> verzeichniseinträge(int fd);
// Reads a whole small file; none when it cannot be read.
[[nodiscard]] std::optional<std::string> lies_datei(int verzeichnis, const std::string& name);

}  // namespace tarvendo
