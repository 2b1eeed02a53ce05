#pragma once

namespace tarvendo {

// Raises the soft limit of open descriptors to the hard one: a walk holds a
// descriptor per level of each tree, and the usual soft limit of 1024 would
// cut deep trees short.
void erhöhe_dateigrenze() noexcept;

}  // namespace tarvendo
