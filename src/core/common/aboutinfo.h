#pragma once

// What the About window shows: version text, web pages, the system information tool.

#include <QString>
#include <QStringList>
#include <QUrl>

namespace vlm {

// major.minor.revision of this build.
QString velmoraVersion();

// The maker's pages the About window opens.
QUrl registrationPage();
QUrl homePage();

// System-information programs the About window can start, in order of preference.
QStringList systemInfoCandidates();
// Full path of the first of them found on the PATH, or an empty text when none is installed.
QString findSystemInfoTool();

} // namespace vlm
