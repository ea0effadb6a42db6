#include "core/common/aboutinfo.h"

#include <QStandardPaths>

namespace vlm {

QString velmoraVersion() {
    return QStringLiteral("%1.%2.%3")
        .arg(VELMORA_VERSION_MAJOR)
        .arg(VELMORA_VERSION_MINOR)
        .arg(VELMORA_VERSION_PATCH);
}

QUrl registrationPage() {
    return QUrl(QStringLiteral("https://velmora.example.org/registration.html"));
}

QUrl homePage() {
    return QUrl(QStringLiteral("https://velmora.example.org/"));
}

QStringList systemInfoCandidates() {
    return {QStringLiteral("hardinfo2"), QStringLiteral("hardinfo"), QStringLiteral("kinfocenter"),
            QStringLiteral("lshw-gtk")};
}

QString findSystemInfoTool() {
    for (const QString& name : systemInfoCandidates()) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty()) return path;
    }
    return {};
}

} // namespace vlm
