#pragma once
// Extended attributes and ACLs of a file or directory carried into its copy.

#include <sys/stat.h>

#include "engine/dateioperationen.h"
#include "engine/ergebnis.h"

namespace tarvendo {

// Gives the open ziel the extended attributes of the open quelle (status
// quellstatus): user.* and the ACLs (system.posix_acl_*) always, security.*
// and trusted.* as root only. A file capability (security.capability) only
// when ziel has quelle's owner and ohne_vorrechte is false, so that a copy
// never becomes a privileged program the source did not make one. A medium
// that keeps no attributes, or refuses one, is silent; another error of
// reading or writing one is returned.
[[nodiscard]] Ausgang übernimm_attribute(Dateioperationen& ops, int quelle, int ziel,
                                         const struct stat& quellstatus, bool als_root,
                                         bool ohne_vorrechte);

}  // namespace tarvendo
