#pragma once
// The program's own version block, embedded at build time from the project's
// version and read when the title is built.

#include <QString>

namespace quoteshow {

struct VersionInfo {
    QString ProductName;
    QString FileDescription;
    QString CompanyName;
    QString InternalName;
    QString OriginalFilename;
    QString FileVersion;     // "2.00.0004"
    QString ProductVersion;
    int Major = 0;
    int Minor = 0;
    int Revision = 0;
};

VersionInfo ReadVersionInfo();

} // namespace quoteshow
