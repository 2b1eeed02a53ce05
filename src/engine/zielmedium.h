#pragma once
// What the target's medium can hold: letter case, times, names. FAT and
// exFAT sticks, NTFS and SMB mounts and casefolded ext4 differ from the
// source's file system in ways a backup must know to stay stable.

#include <sys/stat.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/dateioperationen.h"

namespace tarvendo {

struct Zieleigenschaften {
    // "a" and "A" name one entry.
    bool ignoriert_schreibweise = false;
    // Times before 1980 or after 2107 do not keep (FAT and exFAT store
    // them clamped or wrapped around).
    bool zeiten_begrenzt = false;
    // Permission bits stick (not so on FAT, exFAT and many FUSE and network
    // file systems), and, as root, owner and group.
    bool hält_rechte = true;
    bool hält_eigentümer = false;
    // A renamed directory keeps what it holds (fusefat loses it).
    bool verschiebt_verzeichnisse = true;
};

// Tries once in the target base: creates a uniquely named file in lower
// case, looks for its upper-case spelling and removes it. Inode numbers
// prove nothing here, because FUSE drivers give each spelling its own. The
// same file must keep two changes of mode (and, as root, one of owner). A
// target that refuses the probe (read-only, gone) counts as case-sensitive
// and as keeping the rights a copy would get (only root has an owner kept).
// Where letter case is ignored, the file also moves into a directory that
// is then renamed, to see whether it is still there.
[[nodiscard]] Zieleigenschaften prüfe_ziel(Dateioperationen& ops, const std::string& zielbasis);

// Renames alt in the directory fd to neu, another spelling of the same
// name. Where letter case does not count (ignoriert_schreibweise) and the
// rename is refused (fusefat, for a directory onto its own other spelling),
// by way of a temporary name, which a killed run leaves to the next.
[[nodiscard]] Ausgang ändere_schreibweise(Dateioperationen& ops, int fd, const std::string& alt,
                                          const std::string& neu, bool ignoriert_schreibweise);

// The error code of a copy whose target name the medium refused. It is no
// errno value, so that no system text can stand for it.
inline constexpr int name_abgelehnt = -3;
inline constexpr std::string_view name_abgelehnt_text =
    "Das Zielverzeichnis kann diesen Namen nicht aufnehmen (unzulässige Zeichen oder zu lang).";
// Whether an entry's creation or rename under name failed with code because
// the medium refuses the name. Only for calls whose directory was open, so
// that "not found" can only mean the name.
[[nodiscard]] bool ist_namensablehnung(int code, std::string_view name);

// A file's date (days since 1899-12-30, local) moved into the range every
// such medium keeps; a date inside it is returned unchanged.
[[nodiscard]] double datum_im_medium(double datum);
// The same for a time to be set, given the offset of local time from UTC.
[[nodiscard]] timespec zeit_im_medium(timespec zeit, std::int64_t utc_versatz);

}  // namespace tarvendo
