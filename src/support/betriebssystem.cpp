#include "support/betriebssystem.h"

#include "support/linuxsystem.h"
#include "support/versionstabellen.h"

namespace tarvendo {

OperatingSystem::OperatingSystem() : OperatingSystem(std::make_unique<Linuxsystem>()) {}

OperatingSystem::OperatingSystem(std::unique_ptr<Systemabfrage> quelle)
    : quelle_(std::move(quelle)),
      satz_(wirksamer_versionssatz(quelle_->versionssatz())),
      sprachkennung_(quelle_->sprachkennung()),
      sprachname_(quelle_->sprachname(sprachkennung_)) {
    if (hat_produktinfo(satz_)) {
        produktinfo_ = quelle_->produktinfo(satz_.major, satz_.minor, satz_.servicepack_major,
                                            satz_.servicepack_minor);
    }
    if (!tabellen_kennen_plattform()) {
        eigener_name_ = quelle_->eigener_name();
        eigener_versionstext_ = quelle_->eigener_versionstext();
    }
}

bool OperatingSystem::tabellen_kennen_plattform() const {
    return satz_.plattform == plattform_windows_9x || satz_.plattform == plattform_windows_nt;
}

std::string OperatingSystem::ToString() const {
    if (versionstext_.empty()) {
        versionstext_ = eigener_versionstext_.empty() ? versionstext(satz_) : eigener_versionstext_;
    }
    return versionstext_;
}

bool OperatingSystem::Is64BitOS() const {
    return quelle_->ist_32bit_prozess_auf_64bit_system();
}

std::int16_t OperatingSystem::LangID() const {
    return static_cast<std::int16_t>(sprachkennung_);
}

std::int32_t OperatingSystem::Platform() const {
    return static_cast<std::int32_t>(satz_.plattform);
}

std::int32_t OperatingSystem::Version() const {
    return versionscode(satz_);
}

bool OperatingSystem::IsWindowsServer2003R2() const {
    return quelle_->systemmetrik(metrik_server_r2) != 0;
}

bool OperatingSystem::IsWindowsHomeServer() const {
    return Version() == version_server2003 && (satz_.suite & suite_home_server) != 0;
}

std::string OperatingSystem::Name() const {
    if (!tabellen_kennen_plattform()) return eigener_name_;
    return editionsname(satz_, produktinfo_, *quelle_);
}

std::int32_t OperatingSystem::Major() const {
    return static_cast<std::int32_t>(satz_.major);
}

std::int32_t OperatingSystem::Minor() const {
    return static_cast<std::int32_t>(satz_.minor);
}

std::int32_t OperatingSystem::Revision() const {
    return revision(satz_);
}

std::string OperatingSystem::ServicePack() const {
    return servicepack_text(satz_);
}

std::int16_t OperatingSystem::ServicePackMajor() const {
    return static_cast<std::int16_t>(satz_.servicepack_major);
}

std::int16_t OperatingSystem::ServicePackMinor() const {
    return static_cast<std::int16_t>(satz_.servicepack_minor);
}

std::int32_t OperatingSystem::ProductInfo() const {
    return static_cast<std::int32_t>(produktinfo_);
}

std::string OperatingSystem::ProductInfoString() const {
    return produktinfo_name(produktinfo_);
}

std::int32_t OperatingSystem::ProductType() const {
    return satz_.produkttyp;
}

std::int32_t OperatingSystem::SuiteMask() const {
    return suitemaske(satz_);
}

std::int32_t OperatingSystem::Edition() const {
    return editionscode(satz_, *quelle_);
}

}  // namespace tarvendo
