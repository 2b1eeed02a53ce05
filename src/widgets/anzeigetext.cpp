#include "widgets/anzeigetext.h"

namespace tarvendo {

QString anzeigetext(std::string_view bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

}  // namespace tarvendo
